#pragma once

#include <QStyledItemDelegate>

class QTreeView;

namespace tavio {

class FrameState;
class TreeModel;
class TreeNode;

// How a chapter tree shows the reading marks: unread chapters in bold, chapters of the
// last update with a dot of their own and a hint saying so. Only the drawing changes;
// captions, files and the custom tree file stay as they are.
class ReadingMarkDelegate final : public QStyledItemDelegate
{
    Q_OBJECT
public:
    ReadingMarkDelegate(FrameState& state, TreeModel* model, QTreeView* view);

    static QString newChapterHint();
    // The chapter file a node stands for; empty for folders.
    static QString chapterFileName(const TreeNode* node);

    void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override;
    bool helpEvent(QHelpEvent* event, QAbstractItemView* view, const QStyleOptionViewItem& option,
                   const QModelIndex& index) override;

protected:
    void initStyleOption(QStyleOptionViewItem* option, const QModelIndex& index) const override;

private:
    FrameState& m_state;
    TreeModel* m_model;
};

// "Přečteno X z Y kapitol" over the chapters of the tree.
QString ReadCountText(const FrameState& state, const TreeModel& model);

} // namespace tavio
