#pragma once

#include <QAbstractItemModel>

namespace tavio {

class ChapterTree;
class TreeNode;

// Shows a ChapterTree in a view. Changes made through the model are announced to
// the views; a bulk change (a rebuild) is announced once as a reset.
class TreeModel final : public QAbstractItemModel
{
    Q_OBJECT
public:
    explicit TreeModel(ChapterTree& tree, QObject* parent = nullptr);

    ChapterTree& tree() const { return m_tree; }
    void setCheckable(bool on) { m_checkable = on; }

    void beginBulk();
    void endBulk();

    TreeNode* nodeOf(const QModelIndex& index) const;
    QModelIndex indexOf(const TreeNode* node) const;

    TreeNode* addChild(TreeNode* parent, const QString& caption, int image);
    TreeNode* insertChild(TreeNode* parent, int row, const QString& caption, int image);
    void removeNode(TreeNode* node);
    bool moveNode(TreeNode* node, TreeNode* newParent, int row);
    void setImage(TreeNode* node, int image);
    void setSelectedImage(TreeNode* node, int image);
    void setCaption(TreeNode* node, const QString& caption);
    void setChecked(TreeNode* node, bool checked);

    QModelIndex index(int row, int column, const QModelIndex& parent = {}) const override;
    QModelIndex parent(const QModelIndex& child) const override;
    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    bool setData(const QModelIndex& index, const QVariant& value, int role) override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;

private:
    void changed(TreeNode* node, const QList<int>& roles);

    ChapterTree& m_tree;
    bool m_checkable = false;
    int m_bulk = 0;
};

} // namespace tavio
