#pragma once

#include <QWidget>

class QVBoxLayout;

namespace tavio {

class StatusBar;

// A page of the main window: its content above, its own status bar at the bottom.
// The hint of the control under the mouse appears in panel 0 of the bar.
class Page : public QWidget
{
    Q_OBJECT
public:
    explicit Page(QWidget* parent = nullptr);

    StatusBar* statusBar() const { return m_statusBar; }

protected:
    QVBoxLayout* contentLayout() const { return m_layout; }
    bool event(QEvent* event) override;

private:
    QVBoxLayout* m_layout;
    StatusBar* m_statusBar;
};

} // namespace tavio
