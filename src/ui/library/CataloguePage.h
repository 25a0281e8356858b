#pragma once

#include "widgets/Page.h"

#include "ChapterTree.h"

#include <memory>

class QAction;
class QLabel;
class QLineEdit;
class QToolButton;
class QTreeView;

namespace tavio {

class AppSettings;
class EnterRelease;
class FrameState;
class HintedToolBar;
class TreeModel;

// The page "Seznam souborů": the chapter folder field and the catalogue tree.
class CataloguePage final : public Page
{
    Q_OBJECT
public:
    CataloguePage(AppSettings& settings, FrameState& state, QWidget* mainWindow, QWidget* parent = nullptr);
    ~CataloguePage() override;

    ChapterTree& tree() { return m_tree; }
    TreeModel* model() const { return m_model; }
    QTreeView* trwFiles() const { return m_trwFiles; }
    HintedToolBar* tlbarSeznam() const { return m_toolbar; }
    QAction* tlbFindNode() const { return m_tlbFindNode; }
    QAction* tlbFindNextNode() const { return m_tlbFindNextNode; }
    QLineEdit* edtBrowseDir() const { return m_edtBrowseDir; }

    QString folder() const;
    // Assigning another text rebuilds the catalogue; the same text does nothing.
    void setFolder(const QString& folder);
    // Rebuilds the tree from the folder; the first build of a run shows no progress window.
    bool BuildCatalogue(const QString& folder);
    bool firstBuildDone() const { return m_firstBuildDone; }

    // "Přečteno X z Y kapitol" at the right end of the status bar's left part, beside
    // (not in) the panel text, which keeps its own rules.
    void showReadCount();
    QString readCountText() const;

    TreeNode* selectedNode() const;
    void selectNode(TreeNode* node);

signals:
    void folderChanged(const QString& folder);
    // The folder change is over; folder is where it ended (the user may have gone back).
    void folderChangeFinished(const QString& folder);
    void catalogueRebuilt();
    void openRequested(TreeNode* node);
    void selectionChanged(TreeNode* node);
    void findRequested();
    void findNextRequested();
    void findDialogCloseRequested();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void edtBrowseDirChange();
    void edtBrowseDirButtonClick();
    void trwFilesDblClick();
    void trwFilesKeyUp(QKeyEvent* event);
    void stbFilesMouseMove(int x);

    AppSettings& m_settings;
    FrameState& m_state;
    QWidget* m_main;
    ChapterTree m_tree;
    TreeModel* m_model;
    HintedToolBar* m_toolbar;
    QAction* m_tlbFindNode;
    QAction* m_tlbFindNextNode;
    QLabel* m_imgOrba1;
    QWidget* m_browse;
    QLineEdit* m_edtBrowseDir;
    QToolButton* m_browseButton;
    QTreeView* m_trwFiles;
    EnterRelease* m_enterRelease;
    bool m_firstBuildDone = false;
    QLabel* m_readCount;
};

} // namespace tavio
