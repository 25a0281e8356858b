#include "HintedToolBar.h"

#include <QActionEvent>
#include <QEvent>
#include <QToolButton>

namespace tavio {

HintedToolBar::HintedToolBar(QWidget* parent)
    : QToolBar(parent)
{
    setMovable(false);
    setFloatable(false);
    setIconSize(QSize(16, 16));
    setToolButtonStyle(Qt::ToolButtonIconOnly);
}

QAction* HintedToolBar::addHintedAction(const QIcon& icon, const QString& hint)
{
    QAction* action = addAction(icon, hint);
    action->setToolTip(hint);
    action->setStatusTip(hint);
    return action;
}

QSize HintedToolBar::minimumSizeHint() const
{
    return sizeHint();
}

void HintedToolBar::actionEvent(QActionEvent* event)
{
    QToolBar::actionEvent(event);
    if (event->type() == QEvent::ActionAdded) {
        if (QWidget* w = widgetForAction(event->action()))
            w->installEventFilter(this);
    }
}

bool HintedToolBar::event(QEvent* event)
{
    if (event->type() == QEvent::ToolTip && !m_showHints)
        return true;
    return QToolBar::event(event);
}

bool HintedToolBar::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::ToolTip && !m_showHints)
        return true;
    return QToolBar::eventFilter(watched, event);
}

} // namespace tavio
