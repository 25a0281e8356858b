#pragma once

#include "AppSettings.h"
#include "FileLayout.h"
#include "MainTypes.h"

#include <QMainWindow>

#include <functional>
#include <memory>

class QAction;
class QMenu;
class QTabWidget;
class QTimer;
class QToolButton;
class QTreeView;

namespace tavio {

class BookmarkMenu;
class TfrmIniViewer;
struct UpdateHost;
class HelpRouter;
class CustomTreePage;
class TreePopupMenu;
class CataloguePage;
class ChapterPage;
class ChapterTree;
class NotesPage;
class Page;
class PageControl;
class SearchPage;
class TreeModel;
class FindDialog;
class FrameState;
class SettingsStore;
class SingleInstanceLock;
class TfrmSplash;
class TreeNode;
class TreeModel;

// What a main window needs from its surroundings; tests give it a temporary world.
struct Environment
{
    FileLayout layout = FileLayout::forThisProgram();
    SettingsStore* store = nullptr;
    QString lockFolder;      // empty: the user's runtime folder
    bool fixedWaits = true;  // the pauses that let the splash texts be read
};

// The main window: the pages, the menus and the program's start and end.
class TfrmAll final : public QMainWindow
{
    Q_OBJECT
public:
    explicit TfrmAll(const Environment& env);
    ~TfrmAll() override;

    // The start-up sequence, with the splash showing its progress.
    void FormCreate(TfrmSplash* splash);
    // The saves at the end; runs once, and not at all for a refused second copy.
    void FormDestroy();

    bool SecondInstance() const { return m_secondInstance; }
    bool SerialFinished() const { return m_serialFinished; }
    QString CurrentChapterPath() const;
    // What the pages share: the chapter shown, the folder, the flags, the reading state.
    FrameState& frameState() const { return *m_state; }
    QString CustomTreePath() const { return m_customTreePath; }
    QString FindHistoryPath() const { return m_findHistoryPath; }
    QString DefaultNotesPath() const { return m_defaultNotesPath; }
    const FileLayout& layout() const { return m_env.layout; }
    AppSettings& settings() { return m_settings; }

    enum PageIndex { PageFiles = 0, PageChapter = 1, PageCustomTree = 2, PageFinding = 3, PageNotes = 4 };

    CataloguePage* catalogue() const { return m_catalogue; }
    ChapterPage* chapterPage() const { return m_chapter; }
    SearchPage* searchPage() const { return m_searchPage; }
    BookmarkMenu* bookmarkMenu() const { return m_marks; }
    NotesPage* notesPage() const { return m_notesPage; }
    CustomTreePage* customPage() const { return m_customPage; }
    TreePopupMenu* treePopup() const { return m_treePopup; }
    HelpRouter* helpRouter() const { return m_helpRouter; }
    TfrmIniViewer* iniViewer() const { return m_frmIniViewer; }
    // The update command; hostOverride lets tests change what the window may do.
    void mnuUpdateClick();
    std::function<void(UpdateHost&)> updateHostOverride;
    Page* page(int index) const;
    PageControl* pgcFiles() const { return m_pgcFiles; }
    FindDialog* dlgFindNodeText() const { return m_dlgFindNodeText; }
    QAction* action(const QString& name) const;
    QMenu* helpMenu() const { return m_mnuHelp; }
    QToolButton* helpButton() const { return m_helpButton; }

    // Opening chapters: from a tree node, or by path (CurrentChapterPath set first).
    bool OpenChapterNode(QTreeView* view, TreeModel* model, TreeNode* node);
    bool OpenChapterFile(const QString& path, const QString& anchor = {});
    void openLastChapter();
    void FormShow();

    // "Rychle otevřít kapitolu": a chapter of the catalogue chosen by typing part of its name.
    void mnuQuickOpenClick();
    // The chapters read lately, newest first, ranked up in the quick-open window.
    std::function<QStringList()> recentChapters;

    // The tree find over the active page's tree.
    void tlbFindNodeClick();
    void tlbFindNextNodeClick();
    void dlgFindNodeTextFind();
    void ActivateChapterView();

    void mnuAddMarkClick();
    void OpenBookmark(const QString& fileName);
    bool showChapterPage();
    void mnuFindClick();
    void mnuFindNextClick();
    void tlbFindIEClick();
    void tmrTimeTimer();
    void applyShowHints();

protected:
    void closeEvent(QCloseEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void changeEvent(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // The least size of the window, also its size when no geometry is stored.
    static constexpr int DesignWidth = 673;
    static constexpr int DesignHeight = 457;

    void createMenus();
    QAction* addCommand(QMenu* menu, const QString& name, const QString& caption, const QKeySequence& shortcut,
                        int helpContext, const QString& icon = {});
    void mnuShowHintsClick();
    void mnuOneInstanceClick();
    void mnuOpenLastProjectClick();
    void RestoreWindowGeometry();
    void SaveWindowGeometry();
    void WriteLastProject();
    void wait(int ms);
    void moveHelpMenuRight();
    void createPages();
    void pageShown(int index);
    void pageHidden(int index);
    bool pageChangeAllowed(int from, int to);
    void setAddMarkEnabled(bool on);
    static QString chapterTabCaption(const QString& title, const QString& path);
    void hintByPosition(Page* page, int x, const QString& right, const QString& left);
    void createReadingWiring();
    // Rebuilds the catalogue after an update; the chapters it brought are marked new.
    void rebuildAfterUpdate(const QString& folder);

    Environment m_env;
    std::unique_ptr<SettingsStore> m_ownStore;
    AppSettings m_settings;
    std::unique_ptr<SingleInstanceLock> m_lock;

    bool m_secondInstance = false;
    bool m_serialFinished = false;
    bool m_destroyed = false;
    bool m_created = false;
    FrameState* m_state;
    QString m_customTreePath;
    QString m_findHistoryPath;
    QString m_defaultNotesPath;

    PageControl* m_pgcFiles = nullptr;
    CataloguePage* m_catalogue = nullptr;
    ChapterPage* m_chapter = nullptr;
    CustomTreePage* m_customPage = nullptr;
    TreePopupMenu* m_treePopup = nullptr;
    HelpRouter* m_helpRouter = nullptr;
    TfrmIniViewer* m_frmIniViewer = nullptr;
    SearchPage* m_searchPage = nullptr;
    BookmarkMenu* m_marks = nullptr;
    bool m_closeAfterSearch = false;
    NotesPage* m_notesPage = nullptr;
    QTimer* m_tmrTime = nullptr;
    int m_shownPage = 0;
    bool m_shown = false;
    FindDialog* m_dlgFindNodeText = nullptr;
    QMenu* m_mnuHelp = nullptr;
    QToolButton* m_helpButton = nullptr;
    QHash<QString, QAction*> m_actions;
};

} // namespace tavio
