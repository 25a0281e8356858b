#include "PageControl.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QStyle>
#include <QStyleOptionTab>
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

QSize PageControl::minimumSizeHint() const
{
    QSize least = QTabWidget::minimumSizeHint();
    const QFontMetrics fm = tabBar()->fontMetrics();
    const auto textWidth = [&fm](const QString& caption) {
        return fm.size(Qt::TextShowMnemonic, caption).width();
    };
    int widest = 0;
    for (const QString& caption : m_captions)
        widest = std::max(widest, textWidth(caption));
    int tabs = 0;
    for (const QString& caption : m_captions) {
        QStyleOptionTab option;
        option.initFrom(tabBar());
        option.shape = tabBar()->shape();
        option.text = caption.isEmpty() ? QStringLiteral("x") : caption;
        const int width = caption.isEmpty() ? widest : textWidth(caption);
        const QSize contents(width + style()->pixelMetric(QStyle::PM_TabBarTabHSpace, &option, tabBar()),
                             fm.height() + style()->pixelMetric(QStyle::PM_TabBarTabVSpace, &option, tabBar()));
        tabs += style()->sizeFromContents(QStyle::CT_TabBarTab, &option, contents, tabBar()).width();
    }
    // The tab bar sits inside the pane's frame and overlaps it a little at both ends.
    const int frame = 2 * style()->pixelMetric(QStyle::PM_DefaultFrameWidth, nullptr, this)
        + 2 * style()->pixelMetric(QStyle::PM_TabBarBaseOverlap, nullptr, this);
    least.setWidth(std::max(least.width(), tabs + frame));
    return least;
}

void PageControl::tabInserted(int index)
{
    QTabWidget::tabInserted(index);
    m_captions.insert(index, tabText(index));
    updateGeometry();
}

void PageControl::tabRemoved(int index)
{
    QTabWidget::tabRemoved(index);
    if (index >= 0 && index < m_captions.size())
        m_captions.removeAt(index);
    updateGeometry();
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
