#pragma once

#include <QString>

#include <optional>

// Editing the custom tree: folders, the marked folder, moving nodes one row up or
// down, into the marked folder or by dropping them, and which commands apply to a
// selected node. The rules are plain code over ChapterTree; every change goes
// through a TreeEdits so that the page can route it through its item model.
namespace tavio {

class ChapterTree;
class TreeNode;

// The changes an edit makes. ChapterTreeEdits applies them to the tree alone.
class TreeEdits
{
public:
    virtual ~TreeEdits() = default;
    virtual ChapterTree& tree() = 0;
    // parent: nullptr for the top level.
    virtual TreeNode* addChild(TreeNode* parent, const QString& caption, int image) = 0;
    virtual void remove(TreeNode* node) = 0;
    // Moves node with its subtree to parent at row, counted after the node is taken out.
    virtual void move(TreeNode* node, TreeNode* parent, int row) = 0;
    // Sets the image and the selected image alike.
    virtual void setImage(TreeNode* node, int image) = 0;
    virtual void setCaption(TreeNode* node, const QString& caption) = 0;
    // The view's expansion; the editor sets the matching image itself.
    virtual void setExpanded(TreeNode* node, bool expanded) = 0;
};

class ChapterTreeEdits final : public TreeEdits
{
public:
    explicit ChapterTreeEdits(ChapterTree& tree)
        : m_tree(tree)
    {
    }
    ChapterTree& tree() override { return m_tree; }
    TreeNode* addChild(TreeNode* parent, const QString& caption, int image) override;
    void remove(TreeNode* node) override;
    void move(TreeNode* node, TreeNode* parent, int row) override;
    void setImage(TreeNode* node, int image) override;
    void setCaption(TreeNode* node, const QString& caption) override;
    void setExpanded(TreeNode*, bool) override {}

private:
    ChapterTree& m_tree;
};

// The neighbours of a node in pre-order (each node before its children, whatever
// is expanded); nullptr at either end.
TreeNode* NodeBefore(const TreeNode* node);
TreeNode* NodeAfter(const TreeNode* node);

// Where a moved node goes, relative to a destination node D.
enum class Placement {
    Before,        // as D's sibling, directly in front of it
    LastChild,     // as D's last child
    EndOfSiblings, // at the end of D's sibling list
};

struct MoveTarget
{
    TreeNode* destination = nullptr;
    Placement placement = Placement::Before;
};

// The targets of one row up, one row down, and a drop on a node. Nothing when there
// is nowhere to go.
std::optional<MoveTarget> MoveUpTarget(const TreeNode* selected);
std::optional<MoveTarget> MoveDownTarget(const TreeNode* selected);
MoveTarget DropTarget(TreeNode* over);

// The extension of a folder name: from its last '.' to the end, unless a '\' or ':'
// follows that '.'; empty otherwise.
QString FolderNameExtension(const QString& name);
// A folder name as it is stored: line ends and NULs become blanks, and leading
// blanks and TABs go, since the tree file reads them as depth.
QString NormalizedFolderName(const QString& name);

enum class CreateFolderResult { Created, Empty, Extension, Failed };
// The message of a result; empty for Created.
QString CreateFolderMessage(CreateFolderResult result);

// Which commands apply to the selected node (nullptr: none is selected).
struct CustomTreeEnables
{
    bool popRenameDir = false;
    bool popAddTab = false;
    bool tlbDelDir = false;
    bool tlbAddMark = false;
    bool addMarkMenu = false; // the first item of the bookmark menu
    bool tlbRenameDir = false;
    bool tlbSelUnselDir = false;
    bool tlbMoveToSelDir = false;
    int markButtonImage = 21; // what tlbSelUnselDir shows while enabled
};
CustomTreeEnables CustomTreeEnableRules(const TreeNode* selected, const TreeNode* marked);

bool IsChapter(const TreeNode* node);
// The image of a folder when it is expanded or collapsed, marked or not.
int FolderImage(bool expanded, bool marked);

// The editing commands over one tree, with the marked folder and the state of the
// mark button (neither is stored in the tree file).
class CustomTreeEditor final
{
public:
    explicit CustomTreeEditor(TreeEdits& edits);
    CustomTreeEditor(const CustomTreeEditor&) = delete;
    CustomTreeEditor& operator=(const CustomTreeEditor&) = delete;

    TreeNode* markedFolder() const { return m_marked; }
    // 21: the next click marks the selected folder; 20: it unmarks the marked one.
    int markButtonImage() const { return m_markButtonImage; }
    // "Přesunout do označené složky", followed by the marked folder's caption.
    QString moveHint() const;
    // Forgets the mark without touching images, since the nodes are gone (load,
    // reset); the mark button marks again.
    void forgetMark();

    // Applies the selection's enable rules to the mark button and returns them all.
    CustomTreeEnables selectionChanged(const TreeNode* selected);

    // The image of a node the view has just expanded or collapsed.
    int expansionImage(const TreeNode* node, bool expanded) const;

    // The move primitive: the node goes with its subtree; its new parent is expanded
    // and a former parent left without children is collapsed. False when the
    // destination lies inside the node's own subtree, which changes nothing.
    bool moveNode(TreeNode* node, const MoveTarget& target);

    // A new folder right below the selected node in pre-order.
    CreateFolderResult createFolder(TreeNode* selected, const QString& name, TreeNode** made = nullptr);
    // False, changing nothing, for a blank name or a node that is not a folder.
    bool renameFolder(TreeNode* node, const QString& name);
    // Only a folder without children is deleted.
    bool deleteEmptyFolder(TreeNode* node);
    void toggleMark(TreeNode* selected);

    enum class MoveResult { Moved, Unchanged, Failed };
    // Moves the selected node to the end of the marked folder; the node before it
    // in pre-order is the next selection (nullptr: none).
    MoveResult moveToMarkedFolder(TreeNode* selected, TreeNode** nextSelection);
    bool moveUp(TreeNode* selected);
    bool moveDown(TreeNode* selected);
    bool drop(TreeNode* dragged, TreeNode* over);

private:
    void setMarkedImage(TreeNode* node, bool marked);

    TreeEdits& m_edits;
    TreeNode* m_marked = nullptr;
    int m_markButtonImage = 21;
};

} // namespace tavio
