#include "ReadingMarks.h"

#include "ChapterTree.h"
#include "CustomTreeEditor.h"
#include "FrameState.h"
#include "MainTypes.h"
#include "widgets/TreeModel.h"

#include <QHelpEvent>
#include <QPainter>
#include <QToolTip>
#include <QTreeView>

namespace tavio {

ReadingMarkDelegate::ReadingMarkDelegate(FrameState& state, TreeModel* model, QTreeView* view)
    : QStyledItemDelegate(view)
    , m_state(state)
    , m_model(model)
{
    connect(&state, &FrameState::readMarksChanged, view->viewport(), qOverload<>(&QWidget::update));
}

QString ReadingMarkDelegate::newChapterHint()
{
    return QStringLiteral("Nová kapitola z poslední aktualizace");
}

QString ReadingMarkDelegate::chapterFileName(const TreeNode* node)
{
    return IsChapter(node) ? CaptionToFileName(node->caption) : QString();
}

void ReadingMarkDelegate::initStyleOption(QStyleOptionViewItem* option, const QModelIndex& index) const
{
    QStyledItemDelegate::initStyleOption(option, index);
    const QString name = chapterFileName(m_model->nodeOf(index));
    if (!name.isEmpty() && !m_state.reading().isRead(name))
        option->font.setBold(true);
}

void ReadingMarkDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const
{
    QStyledItemDelegate::paint(painter, option, index);
    const QString name = chapterFileName(m_model->nodeOf(index));
    if (name.isEmpty() || !m_state.reading().isNew(name))
        return;
    // A dot just after the caption.
    QStyleOptionViewItem opt = option;
    initStyleOption(&opt, index);
    const QFontMetrics metrics(opt.font);
    const int iconWidth = opt.icon.isNull() ? 0 : opt.decorationSize.width() + 6;
    const int x = std::min(option.rect.left() + iconWidth + metrics.horizontalAdvance(opt.text) + 10,
                           option.rect.right() - 8);
    const int d = std::max(6, option.rect.height() / 3);
    painter->save();
    painter->setRenderHint(QPainter::Antialiasing);
    painter->setPen(Qt::NoPen);
    painter->setBrush(QColor(0xe0, 0x6c, 0x00));
    painter->drawEllipse(QRect(x, option.rect.center().y() - d / 2, d, d));
    painter->restore();
}

bool ReadingMarkDelegate::helpEvent(QHelpEvent* event, QAbstractItemView* view, const QStyleOptionViewItem& option,
                                    const QModelIndex& index)
{
    if (event->type() == QEvent::ToolTip) {
        const QString name = chapterFileName(m_model->nodeOf(index));
        if (!name.isEmpty() && m_state.reading().isNew(name)) {
            QToolTip::showText(event->globalPos(), newChapterHint(), view);
            return true;
        }
    }
    return QStyledItemDelegate::helpEvent(event, view, option, index);
}

QString ReadCountText(const FrameState& state, const TreeModel& model)
{
    QStringList names;
    model.tree().forEach([&](TreeNode* n) {
        if (const QString name = ReadingMarkDelegate::chapterFileName(n); !name.isEmpty())
            names.append(name);
    });
    return QStringLiteral("Přečteno %1 z %2 kapitol").arg(state.reading().readCount(names)).arg(names.size());
}

} // namespace tavio
