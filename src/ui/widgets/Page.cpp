#include "Page.h"

#include "StatusBar.h"

#include <QStatusTipEvent>
#include <QVBoxLayout>

namespace tavio {

Page::Page(QWidget* parent)
    : QWidget(parent)
{
    auto* outer = new QVBoxLayout(this);
    outer->setContentsMargins(0, 0, 0, 0);
    outer->setSpacing(0);
    m_layout = new QVBoxLayout;
    m_layout->setContentsMargins(0, 0, 0, 0);
    m_layout->setSpacing(0);
    outer->addLayout(m_layout, 1);
    m_statusBar = new StatusBar(this);
    outer->addWidget(m_statusBar);
}

bool Page::event(QEvent* event)
{
    if (event->type() == QEvent::StatusTip) {
        m_statusBar->setText(0, static_cast<QStatusTipEvent*>(event)->tip());
        return true;
    }
    return QWidget::event(event);
}

} // namespace tavio
