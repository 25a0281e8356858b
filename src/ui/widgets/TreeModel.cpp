#include "TreeModel.h"

#include "ChapterTree.h"
#include "ImageList.h"

namespace tavio {

TreeModel::TreeModel(ChapterTree& tree, QObject* parent)
    : QAbstractItemModel(parent)
    , m_tree(tree)
{
}

void TreeModel::beginBulk()
{
    if (m_bulk++ == 0)
        beginResetModel();
}

void TreeModel::endBulk()
{
    if (m_bulk > 0 && --m_bulk == 0)
        endResetModel();
}

TreeNode* TreeModel::nodeOf(const QModelIndex& index) const
{
    return index.isValid() ? static_cast<TreeNode*>(index.internalPointer()) : nullptr;
}

QModelIndex TreeModel::indexOf(const TreeNode* node) const
{
    if (!node || node == m_tree.root())
        return {};
    return createIndex(node->row(), 0, const_cast<TreeNode*>(node));
}

TreeNode* TreeModel::addChild(TreeNode* parent, const QString& caption, int image)
{
    TreeNode* p = parent ? parent : m_tree.root();
    return insertChild(p, p->childCount(), caption, image);
}

TreeNode* TreeModel::insertChild(TreeNode* parent, int row, const QString& caption, int image)
{
    TreeNode* p = parent ? parent : m_tree.root();
    row = std::clamp(row, 0, p->childCount());
    if (m_bulk)
        return m_tree.insertChild(p, row, caption, image);
    beginInsertRows(indexOf(p), row, row);
    TreeNode* node = m_tree.insertChild(p, row, caption, image);
    endInsertRows();
    return node;
}

void TreeModel::removeNode(TreeNode* node)
{
    if (!node || node == m_tree.root())
        return;
    if (m_bulk) {
        m_tree.remove(node);
        return;
    }
    const int row = node->row();
    beginRemoveRows(indexOf(node->parent()), row, row);
    m_tree.remove(node);
    endRemoveRows();
}

bool TreeModel::moveNode(TreeNode* node, TreeNode* newParent, int row)
{
    TreeNode* target = newParent ? newParent : m_tree.root();
    if (!node || node == m_tree.root() || node == target || target->isDescendantOf(node))
        return false;
    const int from = node->row();
    row = std::clamp(row, 0, target->childCount() - (node->parent() == target ? 1 : 0));
    if (m_bulk) {
        m_tree.move(node, target, row);
        return true;
    }
    // Qt counts the destination before the node is taken out.
    const int destination = (node->parent() == target && row > from) ? row + 1 : row;
    if (node->parent() == target && (destination == from || destination == from + 1))
        return true;
    if (!beginMoveRows(indexOf(node->parent()), from, from, indexOf(target), destination))
        return false;
    m_tree.move(node, target, row);
    endMoveRows();
    return true;
}

void TreeModel::changed(TreeNode* node, const QList<int>& roles)
{
    if (m_bulk)
        return;
    const QModelIndex i = indexOf(node);
    emit dataChanged(i, i, roles);
}

void TreeModel::setImage(TreeNode* node, int image)
{
    node->imageIndex = image;
    changed(node, {Qt::DecorationRole});
}

void TreeModel::setSelectedImage(TreeNode* node, int image)
{
    node->selectedIndex = image;
}

void TreeModel::setCaption(TreeNode* node, const QString& caption)
{
    node->caption = caption;
    changed(node, {Qt::DisplayRole});
}

void TreeModel::setChecked(TreeNode* node, bool checked)
{
    node->checked = checked;
    changed(node, {Qt::CheckStateRole});
}

QModelIndex TreeModel::index(int row, int column, const QModelIndex& parent) const
{
    if (column != 0 || row < 0)
        return {};
    const TreeNode* p = parent.isValid() ? nodeOf(parent) : m_tree.root();
    if (row >= p->childCount())
        return {};
    return createIndex(row, 0, p->child(row));
}

QModelIndex TreeModel::parent(const QModelIndex& child) const
{
    const TreeNode* n = nodeOf(child);
    if (!n || !n->parent() || n->parent() == m_tree.root())
        return {};
    return indexOf(n->parent());
}

int TreeModel::rowCount(const QModelIndex& parent) const
{
    if (parent.column() > 0)
        return 0;
    const TreeNode* p = parent.isValid() ? nodeOf(parent) : m_tree.root();
    return p->childCount();
}

int TreeModel::columnCount(const QModelIndex&) const
{
    return 1;
}

QVariant TreeModel::data(const QModelIndex& index, int role) const
{
    const TreeNode* n = nodeOf(index);
    if (!n)
        return {};
    switch (role) {
    case Qt::DisplayRole: return n->caption;
    case Qt::DecorationRole: return ImageList::icon(n->imageIndex);
    case Qt::CheckStateRole:
        if (m_checkable)
            return n->checked ? Qt::Checked : Qt::Unchecked;
        return {};
    default: return {};
    }
}

bool TreeModel::setData(const QModelIndex& index, const QVariant& value, int role)
{
    TreeNode* n = nodeOf(index);
    if (!n || role != Qt::CheckStateRole || !m_checkable)
        return false;
    setChecked(n, value.toInt() == Qt::Checked);
    return true;
}

Qt::ItemFlags TreeModel::flags(const QModelIndex& index) const
{
    if (!index.isValid())
        return Qt::ItemIsDropEnabled;
    Qt::ItemFlags f = Qt::ItemIsEnabled | Qt::ItemIsSelectable;
    if (m_checkable)
        f |= Qt::ItemIsUserCheckable;
    return f;
}

} // namespace tavio
