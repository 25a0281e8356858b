#include "FindResultsPanel.h"

#include "ImageList.h"

#include <QHBoxLayout>
#include <QKeyEvent>
#include <QListWidget>
#include <QToolButton>

namespace tavio {

FindResultsPanel::FindResultsPanel(QWidget* parent)
    : QWidget(parent)
{
    setObjectName(QStringLiteral("pnlFindResults"));
    setProperty("helpContext", 148);
    m_close = new QToolButton(this);
    m_close->setObjectName(QStringLiteral("btnCloseFindResults"));
    m_close->setIcon(ImageList::named(QStringLiteral("close")));
    m_close->setAutoRaise(true);
    m_close->setToolTip(QStringLiteral("Skrýt panel výsledků hledání"));
    m_list = new QListWidget(this);
    m_list->setObjectName(QStringLiteral("lbFindResults"));
    m_list->setProperty("helpContext", 148);
    m_list->setContextMenuPolicy(Qt::ActionsContextMenu);
    m_list->installEventFilter(this);
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 2, 0, 0);
    layout->setSpacing(2);
    layout->addWidget(m_close, 0, Qt::AlignTop);
    layout->addWidget(m_list, 1);
    setFixedHeight(110);
    connect(m_close, &QToolButton::clicked, this, &QWidget::hide);
    connect(m_list, &QListWidget::itemDoubleClicked, this, &FindResultsPanel::openRequested);
}

bool FindResultsPanel::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_list && event->type() == QEvent::KeyPress) {
        const auto* key = static_cast<QKeyEvent*>(event);
        if (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) {
            emit openRequested();
            return true;
        }
        if (key->key() == Qt::Key_Delete && key->modifiers() == Qt::NoModifier) {
            emit deleteRequested();
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

} // namespace tavio
