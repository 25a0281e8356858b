#include "PageControl.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QTabBar>

namespace tavio {

PageControl::PageControl(QWidget* parent)
    : QTabWidget(parent)
{
    tabBar()->installEventFilter(this);
    tabBar()->setAttribute(Qt::WA_Hover);
    // All five tabs stay in sight at the window's design width: long captions (a
    // chapter's title) are shortened rather than scrolled away.
    setElideMode(Qt::ElideRight);
    setUsesScrollButtons(false);
    installEventFilter(this);
}

bool PageControl::changePage(int index)
{
    if (index == currentIndex())
        return true;
    if (m_guard && !m_guard(currentIndex(), index))
        return false;
    setCurrentIndex(index);
    return currentIndex() == index;
}

bool PageControl::eventFilter(QObject* watched, QEvent* event)
{
    // Clicks, the wheel and the keys of the tab bar go through the guard too.
    if (watched == tabBar()) {
        if (event->type() == QEvent::MouseButtonPress) {
            const int index = tabBar()->tabAt(static_cast<QMouseEvent*>(event)->position().toPoint());
            if (index >= 0 && index != currentIndex()) {
                changePage(index);
                return true;
            }
        } else if (event->type() == QEvent::Wheel) {
            return true;
        }
    }
    if (event->type() == QEvent::KeyPress) {
        const auto* key = static_cast<QKeyEvent*>(event);
        const bool ctrlTab = (key->modifiers() & Qt::ControlModifier)
            && (key->key() == Qt::Key_Tab || key->key() == Qt::Key_Backtab || key->key() == Qt::Key_PageUp
                || key->key() == Qt::Key_PageDown);
        if (ctrlTab || (watched == tabBar() && (key->key() == Qt::Key_Left || key->key() == Qt::Key_Right))) {
            const bool back = key->key() == Qt::Key_Backtab || key->key() == Qt::Key_PageUp || key->key() == Qt::Key_Left
                || (key->modifiers() & Qt::ShiftModifier);
            int index = currentIndex();
            for (int i = 0; i < count(); ++i) {
                index = (index + (back ? count() - 1 : 1)) % count();
                if (isTabVisible(index) && isTabEnabled(index))
                    break;
            }
            changePage(index);
            return true;
        }
    }
    return QTabWidget::eventFilter(watched, event);
}

} // namespace tavio
