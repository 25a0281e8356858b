#include "EnterRelease.h"

#include <QEvent>
#include <QKeyEvent>
#include <QWidget>

namespace tavio {

EnterRelease::EnterRelease(QWidget* tree)
    : QObject(tree)
{
    tree->installEventFilter(this);
}

bool EnterRelease::isEnter(const QKeyEvent* event)
{
    return event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
}

bool EnterRelease::takePress(const QKeyEvent* release)
{
    if (!isEnter(release))
        return false;
    const bool own = m_pressed;
    m_pressed = false;
    return own;
}

bool EnterRelease::eventFilter(QObject* watched, QEvent* event)
{
    switch (event->type()) {
    case QEvent::KeyPress:
        if (isEnter(static_cast<QKeyEvent*>(event)))
            m_pressed = true;
        break;
    case QEvent::FocusOut:
        // The release of a press that went elsewhere meanwhile is not the tree's.
        m_pressed = false;
        break;
    default: break;
    }
    return QObject::eventFilter(watched, event);
}

} // namespace tavio
