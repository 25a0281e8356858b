#include "CustomTreeEditor.h"

#include "Catalogue.h"
#include "ChapterTree.h"
#include "MainTypes.h"

namespace tavio {

namespace {

bool isBlank(const QString& text)
{
    for (const QChar c : text) {
        if (c.unicode() > 0x20)
            return false;
    }
    return true;
}

TreeNode* nextSibling(const TreeNode* node)
{
    const TreeNode* parent = node->parent();
    const int row = node->row();
    return row + 1 < parent->childCount() ? parent->child(row + 1) : nullptr;
}

} // namespace

TreeNode* ChapterTreeEdits::addChild(TreeNode* parent, const QString& caption, int image)
{
    return m_tree.addChild(parent, caption, image);
}

void ChapterTreeEdits::remove(TreeNode* node)
{
    m_tree.remove(node);
}

void ChapterTreeEdits::move(TreeNode* node, TreeNode* parent, int row)
{
    m_tree.move(node, parent, row);
}

void ChapterTreeEdits::setImage(TreeNode* node, int image)
{
    node->imageIndex = image;
    node->selectedIndex = image;
}

void ChapterTreeEdits::setCaption(TreeNode* node, const QString& caption)
{
    node->caption = caption;
}

TreeNode* NodeBefore(const TreeNode* node)
{
    if (!node || !node->parent())
        return nullptr;
    TreeNode* parent = node->parent();
    const int row = node->row();
    if (row == 0)
        return parent->parent() ? parent : nullptr; // the invisible root is no node
    TreeNode* n = parent->child(row - 1);
    while (n->hasChildren())
        n = n->child(n->childCount() - 1);
    return n;
}

TreeNode* NodeAfter(const TreeNode* node)
{
    if (!node)
        return nullptr;
    if (node->hasChildren())
        return node->child(0);
    for (const TreeNode* n = node; n->parent(); n = n->parent()) {
        if (TreeNode* next = nextSibling(n))
            return next;
    }
    return nullptr;
}

std::optional<MoveTarget> MoveUpTarget(const TreeNode* selected)
{
    TreeNode* p = NodeBefore(selected);
    if (!p)
        return std::nullopt;
    // An empty, unmarked folder above takes the node in.
    if (p->imageIndex == image::FolderClosed && !p->hasChildren())
        return MoveTarget{p, Placement::LastChild};
    return MoveTarget{p, Placement::Before};
}

std::optional<MoveTarget> MoveDownTarget(const TreeNode* selected)
{
    if (!selected || !selected->parent())
        return std::nullopt;
    TreeNode* n = nextSibling(selected);
    if (!n)
        n = NodeAfter(selected);
    if (!n)
        return std::nullopt;
    if (n->imageIndex == image::FolderClosed && !n->hasChildren())
        return MoveTarget{n, Placement::LastChild};
    if (TreeNode* m = NodeAfter(n))
        return MoveTarget{m, Placement::Before};
    return MoveTarget{n, Placement::EndOfSiblings};
}

MoveTarget DropTarget(TreeNode* over)
{
    // A chapter takes the node in front of it. Its caption's ".htm" decides, and so
    // does its kind: a chapter written "X.HTM" must not become a parent either.
    if (CaptionFileExt(over->caption) == QLatin1String(".htm") || IsChapter(over))
        return {over, Placement::Before};
    return {over, Placement::LastChild};
}

QString FolderNameExtension(const QString& name)
{
    const qsizetype dot = name.lastIndexOf(QLatin1Char('.'));
    if (dot < 0)
        return {};
    const QString tail = name.mid(dot);
    if (tail.contains(QLatin1Char('\\')) || tail.contains(QLatin1Char(':')))
        return {};
    return tail;
}

QString NormalizedFolderName(const QString& name)
{
    QString out = name;
    for (QChar& c : out) {
        if (c == QLatin1Char('\r') || c == QLatin1Char('\n') || c == QChar(0))
            c = QLatin1Char(' ');
    }
    qsizetype start = 0;
    while (start < out.size() && (out[start] == QLatin1Char(' ') || out[start] == QLatin1Char('\t')))
        ++start;
    return out.mid(start);
}

QString CreateFolderMessage(CreateFolderResult result)
{
    switch (result) {
    case CreateFolderResult::Created: return {};
    case CreateFolderResult::Empty: return QStringLiteral("Nebyl zadán název složky");
    case CreateFolderResult::Extension: return QStringLiteral("Přípona v názvu složky není povolena");
    case CreateFolderResult::Failed: return QStringLiteral("Složku nelze vytvořit");
    }
    return {};
}

bool IsChapter(const TreeNode* node)
{
    return node && node->imageIndex == image::Chapter;
}

int FolderImage(bool expanded, bool marked)
{
    if (marked)
        return expanded ? image::MarkedFolderOpen : image::MarkedFolderClosed;
    return expanded ? image::FolderOpen : image::FolderClosed;
}

CustomTreeEnables CustomTreeEnableRules(const TreeNode* selected, const TreeNode* marked)
{
    CustomTreeEnables e;
    if (!selected)
        return e; // nothing to act on: every command that needs a node is off
    const bool chapter = IsChapter(selected);
    e.popRenameDir = !chapter;
    e.popAddTab = chapter;
    e.tlbDelDir = !chapter && !selected->hasChildren();
    e.tlbAddMark = chapter;
    e.addMarkMenu = chapter;
    e.tlbRenameDir = !chapter;
    e.tlbSelUnselDir = !chapter;
    e.markButtonImage = selected == marked ? 20 : 21;
    e.tlbMoveToSelDir = marked && selected != marked && selected->parent() != marked;
    return e;
}

CustomTreeEditor::CustomTreeEditor(TreeEdits& edits)
    : m_edits(edits)
{
}

QString CustomTreeEditor::moveHint() const
{
    static const QString hint = QStringLiteral("Přesunout do označené složky");
    return m_marked ? hint + QLatin1Char(' ') + m_marked->caption : hint;
}

void CustomTreeEditor::forgetMark()
{
    m_marked = nullptr;
    m_markButtonImage = 21;
}

CustomTreeEnables CustomTreeEditor::selectionChanged(const TreeNode* selected)
{
    const CustomTreeEnables e = CustomTreeEnableRules(selected, m_marked);
    if (e.tlbSelUnselDir)
        m_markButtonImage = e.markButtonImage;
    return e;
}

int CustomTreeEditor::expansionImage(const TreeNode* node, bool expanded) const
{
    // A leaf is never expanded, whatever the view reports for it.
    if (!node->hasChildren())
        return node->imageIndex;
    return FolderImage(expanded, node == m_marked);
}

void CustomTreeEditor::setMarkedImage(TreeNode* node, bool marked)
{
    const bool open = node->imageIndex == image::FolderOpen || node->imageIndex == image::MarkedFolderOpen;
    m_edits.setImage(node, FolderImage(open, marked));
}

bool CustomTreeEditor::moveNode(TreeNode* node, const MoveTarget& target)
{
    TreeNode* d = target.destination;
    if (!node || !d || d == node || d->isDescendantOf(node))
        return false;
    TreeNode* parent = nullptr;
    int row = 0;
    switch (target.placement) {
    case Placement::Before:
        parent = d->parent();
        row = d->row();
        if (node->parent() == parent && node->row() < row)
            --row;
        break;
    case Placement::LastChild:
        parent = d;
        row = d->childCount() - (node->parent() == d ? 1 : 0);
        break;
    case Placement::EndOfSiblings:
        parent = d->parent();
        row = parent->childCount() - (node->parent() == parent ? 1 : 0);
        break;
    }
    TreeNode* former = node->parent();
    m_edits.move(node, parent, row);
    const TreeNode* root = m_edits.tree().root();
    if (parent != root) {
        m_edits.setExpanded(parent, true);
        m_edits.setImage(parent, FolderImage(true, parent == m_marked));
    }
    if (former != root && former != parent && !former->hasChildren()) {
        m_edits.setExpanded(former, false);
        m_edits.setImage(former, FolderImage(false, former == m_marked));
    }
    return true;
}

CreateFolderResult CustomTreeEditor::createFolder(TreeNode* selected, const QString& name, TreeNode** made)
{
    if (made)
        *made = nullptr;
    if (FolderNameExtension(name).left(4) == QLatin1String(".htm"))
        return CreateFolderResult::Extension;
    if (isBlank(name))
        return CreateFolderResult::Empty;
    if (!selected)
        return CreateFolderResult::Failed;
    // The node below the selected one is taken before the folder exists.
    TreeNode* after = NodeAfter(selected);
    TreeNode* folder = m_edits.addChild(nullptr, NormalizedFolderName(name), image::FolderClosed);
    if (after)
        moveNode(folder, {after, Placement::Before});
    if (made)
        *made = folder;
    return CreateFolderResult::Created;
}

bool CustomTreeEditor::renameFolder(TreeNode* node, const QString& name)
{
    if (!node || IsChapter(node) || isBlank(name))
        return false;
    m_edits.setCaption(node, NormalizedFolderName(name));
    return true;
}

bool CustomTreeEditor::deleteEmptyFolder(TreeNode* node)
{
    if (!node || !node->parent() || IsChapter(node) || node->hasChildren())
        return false;
    // Forgotten first: the view reports the new selection while the node goes.
    if (node == m_marked)
        m_marked = nullptr;
    TreeNode* former = node->parent();
    m_edits.remove(node);
    // A folder without children shows as collapsed.
    if (former != m_edits.tree().root() && !former->hasChildren()) {
        m_edits.setExpanded(former, false);
        m_edits.setImage(former, FolderImage(false, former == m_marked));
    }
    return true;
}

void CustomTreeEditor::toggleMark(TreeNode* selected)
{
    if (m_markButtonImage == 21) {
        if (!selected || IsChapter(selected))
            return;
        if (m_marked)
            setMarkedImage(m_marked, false);
        m_marked = selected;
        setMarkedImage(selected, true);
        m_markButtonImage = 20;
    } else {
        if (m_marked)
            setMarkedImage(m_marked, false);
        m_marked = nullptr;
        m_markButtonImage = 21;
    }
}

CustomTreeEditor::MoveResult CustomTreeEditor::moveToMarkedFolder(TreeNode* selected, TreeNode** nextSelection)
{
    if (nextSelection)
        *nextSelection = nullptr;
    if (!selected || !m_marked)
        return MoveResult::Failed;
    TreeNode* p = NodeBefore(selected);
    const bool moved = moveNode(selected, {m_marked, Placement::LastChild});
    if (nextSelection)
        *nextSelection = p;
    return moved ? MoveResult::Moved : MoveResult::Unchanged;
}

bool CustomTreeEditor::moveUp(TreeNode* selected)
{
    const auto target = MoveUpTarget(selected);
    return target && moveNode(selected, *target);
}

bool CustomTreeEditor::moveDown(TreeNode* selected)
{
    const auto target = MoveDownTarget(selected);
    return target && moveNode(selected, *target);
}

bool CustomTreeEditor::drop(TreeNode* dragged, TreeNode* over)
{
    return dragged && over && moveNode(dragged, DropTarget(over));
}

} // namespace tavio
