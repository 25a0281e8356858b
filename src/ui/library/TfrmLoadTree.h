#pragma once

#include <QWidget>

#include <functional>

namespace tavio {

// The small "please wait" window of a catalogue rebuild. While it exists the main
// window takes no input; the user cannot close it.
class TfrmLoadTree final : public QWidget
{
    Q_OBJECT
public:
    // onShow runs when the window appears (it writes the status text).
    TfrmLoadTree(QWidget* mainWindow, std::function<void()> onShow);
    ~TfrmLoadTree() override;

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    QWidget* m_main;
    std::function<void()> m_onShow;
};

} // namespace tavio
