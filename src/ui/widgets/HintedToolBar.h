#pragma once

#include <QToolBar>

namespace tavio {

// A toolbar whose tooltips follow the program's hint option.
class HintedToolBar final : public QToolBar
{
    Q_OBJECT
public:
    explicit HintedToolBar(QWidget* parent = nullptr);

    bool showHints() const { return m_showHints; }
    void setShowHints(bool on) { m_showHints = on; }
    // Adds a button whose hint is both its tooltip and its status text.
    QAction* addHintedAction(const QIcon& icon, const QString& hint);
    // The whole toolbar, never less: no command falls into an overflow menu, so the
    // window grows instead.
    QSize minimumSizeHint() const override;

protected:
    bool event(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void actionEvent(QActionEvent* event) override;

private:
    bool m_showHints = true;
};

} // namespace tavio
