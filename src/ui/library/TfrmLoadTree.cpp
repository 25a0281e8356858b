#include "TfrmLoadTree.h"

#include <QCloseEvent>
#include <QHBoxLayout>
#include <QLabel>

namespace tavio {

TfrmLoadTree::TfrmLoadTree(QWidget* mainWindow, std::function<void()> onShow)
    : QWidget(mainWindow, Qt::Tool | Qt::FramelessWindowHint)
    , m_main(mainWindow)
    , m_onShow(std::move(onShow))
{
    auto* frame = new QLabel(QStringLiteral("Čekejte prosím, načítám seznam ..."), this);
    QFont bold = frame->font();
    bold.setBold(true);
    frame->setFont(bold);
    frame->setAlignment(Qt::AlignCenter);
    frame->setFrameStyle(QFrame::Panel | QFrame::Raised);
    frame->setLineWidth(2);
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(frame);
    setFixedSize(300, 60);
    if (mainWindow)
        move(mainWindow->frameGeometry().center() - QPoint(width() / 2, height() / 2));
}

TfrmLoadTree::~TfrmLoadTree()
{
    if (m_main)
        m_main->setEnabled(true);
}

void TfrmLoadTree::showEvent(QShowEvent* event)
{
    if (m_main)
        m_main->setEnabled(false);
    if (m_onShow)
        m_onShow();
    QWidget::showEvent(event);
}

void TfrmLoadTree::closeEvent(QCloseEvent* event)
{
    event->ignore();
}

} // namespace tavio
