#pragma once

#include "widgets/Page.h"

#include "ChapterTree.h"

#include <QHash>

#include <functional>
#include <memory>
#include <optional>

class QAction;
class QKeyEvent;
class QLabel;
class QTreeView;

namespace tavio {

class FrameState;

class CustomTreeEditor;
class EnterRelease;
class HintedToolBar;
class TreeEdits;
class TreeModel;
struct CustomTreeEnables;

// The page "Vlastní seznam souborů": the user's own tree of chapters and folders,
// its file, and its editing commands.
class CustomTreePage final : public Page
{
    Q_OBJECT
public:
    // Asks for a tree file to open (save false) or to save as; empty when cancelled.
    using FileDialog = std::function<QString(QWidget* parent, bool save)>;
    // Asks for a folder name; nothing when cancelled.
    using InputDialog = std::function<std::optional<QString>(QWidget* parent, const QString& caption,
                                                             const QString& prompt, const QString& text)>;

    // catalogue: the chapter list's tree, which a reset copies; it outlives the page.
    CustomTreePage(const ChapterTree& catalogue, QWidget* mainWindow, QWidget* parent = nullptr);
    ~CustomTreePage() override;
    // The main window's shared state: the guard flags and the reading marks.
    void setFrameState(FrameState* state);

    ChapterTree& tree() { return m_tree; }
    const ChapterTree& tree() const { return m_tree; }
    TreeModel* model() const { return m_model; }
    QTreeView* trwCustom() const { return m_trwCustom; }
    HintedToolBar* tlbarCustomTree() const { return m_tlbarCustomTree; }
    HintedToolBar* tlbarCustomTreeRight() const { return m_tlbarCustomTreeRight; }
    QLabel* lblDir() const { return m_lblDir; }
    // The page's commands by name: tlbFindCustomNode, tlbFindNextCustomNode, tlbUp,
    // tlbDown, tlbAddMark, tlbCreateDir, tlbDelDir, tlbSelUnselDir, tlbRenameDir,
    // tlbMoveToSelDir, tlbTreeFullColl, tlbTreeFullExp, tlbResetCustTree, tlbOpenTree,
    // tlbSaveTree.
    QAction* action(const QString& name) const { return m_actions.value(name); }

    void setShowHints(bool on);
    // The chapter folder shown (and opened by a click) in lblDir.
    void setFolder(const QString& folder);

    void setFileDialog(FileDialog dialog) { m_fileDialog = std::move(dialog); }
    void setInputDialog(InputDialog dialog) { m_inputDialog = std::move(dialog); }

    // Start-up: loads the file; when that fails, keeps a file that exists but is broken
    // as CustomTreeBackupPath and copies the catalogue instead. True when loaded.
    bool loadAtStart(const QString& path);
    // What the user is told after a start whose file existed but did not load; empty
    // after any other start.
    QString startUpWarning() const { return m_startUpWarning; }
    // Exit: writes the tree. False, with lastError(), when it cannot; the caller then
    // shows saveAtExitWarning(path).
    bool saveAtExit(const QString& path);
    QString lastError() const { return m_lastError; }
    static QString saveAtExitWarning(const QString& path);

    bool LoadCustomTree(const QString& path);
    bool SaveCustomTree(const QString& path, QString* error = nullptr);
    void CopyCatalogueToCustomTree();
    bool IsInCustomTree(const QString& caption) const;
    // The page has been shown: an empty tree is refilled from the catalogue.
    void tbshCustomTreeShow();

    TreeNode* selectedNode() const;
    // Selects and shows the node (nullptr: no selection).
    void selectNode(TreeNode* node);
    // The node the last selection change reported; the pop-up and rename act on it.
    TreeNode* currentNode() const { return m_current; }
    TreeNode* markedFolder() const;
    int markButtonImage() const;
    QString moveHint() const;
    bool resetFlag() const { return m_resetFlag; }

    // The commands (the pop-up menu runs them too).
    void tlbUpClick();
    void tlbDownClick();
    void tlbCreateDirClick();
    void tlbDelDirClick();
    void tlbSelUnselDirClick();
    void tlbRenameDirClick();
    void tlbMoveToSelDirClick();
    void popTreeExpandClick();
    void popTreeCollapseClick();
    void tlbResetCustTreeClick();
    void tlbOpenTreeClick();
    void tlbSaveTreeClick();

    // Dragging inside trwCustom; positions in its viewport's coordinates.
    void trwCustomStartDrag();
    void trwCustomDragOver(const QPoint& pos);
    void trwCustomDragDrop(const QPoint& pos);
    void trwCustomEndDrag();

public slots:
    // "Přidat do vlastního seznamu" on a catalogue node.
    void popAddToMainListClick(tavio::TreeNode* catalogueNode);

signals:
    void openRequested(tavio::TreeNode* node);
    void selectionChanged(tavio::TreeNode* node);
    void findRequested();
    void findNextRequested();
    void findDialogCloseRequested();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    QAction* addButton(HintedToolBar* bar, const char* name, const QString& icon, const QString& hint,
                       int helpContext);
    void trwCustomChange(TreeNode* selected);
    void applyEnables(const CustomTreeEnables& e);
    void refreshEnables();
    void updateMoveHint();
    void replaceNodes(const std::function<void()>& change);
    void trwCustomDblClick();
    void trwCustomKeyUp(QKeyEvent* event);
    void trwCustomMouseMove(const QPoint& pos);
    void stbCustomTreeMouseMove(int x);
    TreeNode* nodeAt(const QPoint& pos) const;

    const ChapterTree& m_catalogue;
    QWidget* m_main;
    ChapterTree m_tree;
    TreeModel* m_model = nullptr;
    QTreeView* m_trwCustom = nullptr;
    EnterRelease* m_enterRelease = nullptr;
    std::unique_ptr<TreeEdits> m_edits;
    std::unique_ptr<CustomTreeEditor> m_editor;
    HintedToolBar* m_tlbarCustomTree = nullptr;
    HintedToolBar* m_tlbarCustomTreeRight = nullptr;
    QLabel* m_lblDir = nullptr;
    QLabel* m_imgOrba3 = nullptr;
    QHash<QString, QAction*> m_actions;
    FileDialog m_fileDialog;
    InputDialog m_inputDialog;
    TreeNode* m_current = nullptr;
    TreeNode* m_dragged = nullptr;
    bool m_resetFlag = false;
    QString m_lastError;
    // A broken start-up file that could not be backed up is never overwritten.
    QString m_unsavedBrokenFile;
    QString m_startUpWarning;
    FrameState* m_state = nullptr;
};

} // namespace tavio
