#pragma once

#include <QString>

#include <functional>
#include <memory>
#include <vector>

// The plain node tree behind every tree of the program (the catalogue, the custom
// tree, the search check tree and the results). A node carries what it shows:
// caption, image index, selected image index and a check mark.
namespace tavio {

class ChapterTree;

class TreeNode final
{
public:
    TreeNode(const TreeNode&) = delete;
    TreeNode& operator=(const TreeNode&) = delete;

    QString caption;
    int imageIndex = 0;
    int selectedIndex = 0;
    bool checked = false;

    TreeNode* parent() const { return m_parent; }
    int childCount() const { return int(m_children.size()); }
    TreeNode* child(int row) const { return m_children[size_t(row)].get(); }
    bool hasChildren() const { return !m_children.empty(); }
    // Position among the parent's children.
    int row() const;
    int level() const;
    bool isDescendantOf(const TreeNode* ancestor) const;

private:
    friend class ChapterTree;
    TreeNode() = default;
    TreeNode* m_parent = nullptr;
    std::vector<std::unique_ptr<TreeNode>> m_children;
};

class ChapterTree final
{
public:
    ChapterTree();
    ChapterTree(const ChapterTree&) = delete;
    ChapterTree& operator=(const ChapterTree&) = delete;

    // The invisible root; its children are the top-level nodes.
    TreeNode* root() const { return m_root.get(); }
    bool isEmpty() const { return !m_root->hasChildren(); }
    int topLevelCount() const { return m_root->childCount(); }
    TreeNode* topLevel(int row) const { return m_root->child(row); }

    void clear();
    // Exchanges the nodes of the two trees.
    void swap(ChapterTree& other) { m_root.swap(other.m_root); }
    // Appends a node as the last child of parent (nullptr: top level).
    TreeNode* addChild(TreeNode* parent, const QString& caption, int image);
    TreeNode* insertChild(TreeNode* parent, int row, const QString& caption, int image);
    void remove(TreeNode* node);
    // Moves node with its subtree to parent at row (counted after the node is taken out).
    void move(TreeNode* node, TreeNode* newParent, int row);

    // Stable sort of every level by the comparison.
    void sortAll(const std::function<bool(const QString&, const QString&)>& less);

    // All nodes in display order (pre-order), the absolute index being the position.
    int count() const;
    int absoluteIndex(const TreeNode* node) const;
    TreeNode* nodeAt(int absoluteIndex) const;
    void forEach(const std::function<void(TreeNode*)>& visit) const;
    std::vector<TreeNode*> nodes() const;

    // Replaces this tree's nodes with a copy of other's.
    void copyFrom(const ChapterTree& other);

private:
    std::unique_ptr<TreeNode> m_root;
};

} // namespace tavio
