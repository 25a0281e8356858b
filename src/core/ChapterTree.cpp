#include "ChapterTree.h"

#include <algorithm>

namespace tavio {

int TreeNode::row() const
{
    if (!m_parent)
        return 0;
    const auto& siblings = m_parent->m_children;
    for (size_t i = 0; i < siblings.size(); ++i) {
        if (siblings[i].get() == this)
            return int(i);
    }
    return -1;
}

int TreeNode::level() const
{
    int level = -1;
    for (const TreeNode* p = m_parent; p; p = p->m_parent)
        ++level;
    return level;
}

bool TreeNode::isDescendantOf(const TreeNode* ancestor) const
{
    for (const TreeNode* p = m_parent; p; p = p->m_parent) {
        if (p == ancestor)
            return true;
    }
    return false;
}

ChapterTree::ChapterTree()
    : m_root(new TreeNode)
{
}

void ChapterTree::clear()
{
    m_root->m_children.clear();
}

TreeNode* ChapterTree::addChild(TreeNode* parent, const QString& caption, int image)
{
    TreeNode* p = parent ? parent : m_root.get();
    return insertChild(p, p->childCount(), caption, image);
}

TreeNode* ChapterTree::insertChild(TreeNode* parent, int row, const QString& caption, int image)
{
    TreeNode* p = parent ? parent : m_root.get();
    std::unique_ptr<TreeNode> node(new TreeNode);
    node->caption = caption;
    node->imageIndex = image;
    node->selectedIndex = image;
    node->m_parent = p;
    TreeNode* raw = node.get();
    row = std::clamp(row, 0, p->childCount());
    p->m_children.insert(p->m_children.begin() + row, std::move(node));
    return raw;
}

void ChapterTree::remove(TreeNode* node)
{
    if (!node || node == m_root.get())
        return;
    auto& siblings = node->m_parent->m_children;
    siblings.erase(siblings.begin() + node->row());
}

void ChapterTree::move(TreeNode* node, TreeNode* newParent, int row)
{
    TreeNode* target = newParent ? newParent : m_root.get();
    if (!node || node == m_root.get() || target == node || target->isDescendantOf(node))
        return;
    auto& from = node->m_parent->m_children;
    const auto it = from.begin() + node->row();
    std::unique_ptr<TreeNode> owned = std::move(*it);
    from.erase(it);
    owned->m_parent = target;
    row = std::clamp(row, 0, target->childCount());
    target->m_children.insert(target->m_children.begin() + row, std::move(owned));
}

void ChapterTree::sortAll(const std::function<bool(const QString&, const QString&)>& less)
{
    std::vector<TreeNode*> stack{m_root.get()};
    while (!stack.empty()) {
        TreeNode* n = stack.back();
        stack.pop_back();
        std::stable_sort(n->m_children.begin(), n->m_children.end(),
                         [&](const auto& a, const auto& b) { return less(a->caption, b->caption); });
        for (const auto& c : n->m_children)
            stack.push_back(c.get());
    }
}

void ChapterTree::forEach(const std::function<void(TreeNode*)>& visit) const
{
    // Iterative pre-order: a deep tree from a file must not exhaust the stack.
    std::vector<TreeNode*> stack;
    for (auto it = m_root->m_children.rbegin(); it != m_root->m_children.rend(); ++it)
        stack.push_back(it->get());
    while (!stack.empty()) {
        TreeNode* n = stack.back();
        stack.pop_back();
        visit(n);
        for (auto it = n->m_children.rbegin(); it != n->m_children.rend(); ++it)
            stack.push_back(it->get());
    }
}

std::vector<TreeNode*> ChapterTree::nodes() const
{
    std::vector<TreeNode*> all;
    forEach([&](TreeNode* n) { all.push_back(n); });
    return all;
}

int ChapterTree::count() const
{
    int n = 0;
    forEach([&](TreeNode*) { ++n; });
    return n;
}

int ChapterTree::absoluteIndex(const TreeNode* node) const
{
    int index = 0, found = -1;
    forEach([&](TreeNode* n) {
        if (n == node)
            found = index;
        ++index;
    });
    return found;
}

TreeNode* ChapterTree::nodeAt(int absoluteIndex) const
{
    if (absoluteIndex < 0)
        return nullptr;
    int index = 0;
    TreeNode* found = nullptr;
    forEach([&](TreeNode* n) {
        if (index++ == absoluteIndex)
            found = n;
    });
    return found;
}

void ChapterTree::copyFrom(const ChapterTree& other)
{
    clear();
    struct Pair
    {
        const TreeNode* from;
        TreeNode* to;
    };
    std::vector<Pair> stack{{other.root(), m_root.get()}};
    while (!stack.empty()) {
        const Pair p = stack.back();
        stack.pop_back();
        for (const auto& c : p.from->m_children) {
            TreeNode* copy = addChild(p.to, c->caption, c->imageIndex);
            copy->selectedIndex = c->selectedIndex;
            copy->checked = c->checked;
            stack.push_back({c.get(), copy});
        }
    }
}

} // namespace tavio
