#include "TfrmAll.h"

#include "Catalogue.h"
#include "ChapterTree.h"
#include "FindDialog.h"
#include "ImageList.h"
#include "MessageService.h"
#include "Profile.h"
#include "SettingsStore.h"
#include "ShellOpener.h"
#include "SingleInstanceLock.h"
#include "about/AboutBox.h"
#include "about/TfrmHelp.h"
#include "about/TfrmSplash.h"
#include "help/HelpRouter.h"
#include "HtmlView.h"
#include "TextSize.h"
#include "CustomTree.h"
#include "CustomTreeEditor.h"
#include "custom/CustomTreePage.h"
#include "custom/TreePopupMenu.h"
#include "library/CataloguePage.h"
#include "library/ChapterPage.h"
#include "marks/BookmarkMenu.h"
#include "notes/NotesPage.h"
#include "search/SearchPage.h"
#include "tools/TfrmDelPrint.h"
#include "update/TfrmIniViewer.h"
#include "update/TfrmUpdate.h"
#include "update/UpdateHost.h"
#include "widgets/HintedToolBar.h"
#include "widgets/PageControl.h"
#include "widgets/StatusBar.h"
#include "widgets/TreeModel.h"
#include "widgets/WindowSize.h"

#include <QApplication>
#include <QCloseEvent>
#include <QDir>
#include <QFileInfo>
#include <QFile>
#include <QKeyEvent>
#include <QLabel>
#include <QMenuBar>
#include <QScreen>
#include <QShortcut>
#include <QTabWidget>
#include <QThread>
#include <QTime>
#include <QTimer>
#include <QToolButton>
#include <QTreeView>
#include <QVBoxLayout>

namespace tavio {

namespace {
constexpr int DesignWidth = 673;
constexpr int DesignHeight = 457;
} // namespace

TfrmAll::TfrmAll(const Environment& env)
    : m_env(env)
    , m_ownStore(env.store ? nullptr : std::make_unique<SettingsStore>(SettingsStore::defaultFile()))
    , m_settings(env.store ? *env.store : *m_ownStore)
{
    setObjectName(QStringLiteral("frmAll"));
    setProperty("helpContext", 76);

    m_pgcFiles = new PageControl(this);
    m_pgcFiles->setObjectName(QStringLiteral("pgcFiles"));
    setCentralWidget(m_pgcFiles);

    m_dlgFindNodeText = new FindDialog(this);
    connect(m_dlgFindNodeText, &FindDialog::shown, this, [this] { m_findFlag = true; });
    connect(m_dlgFindNodeText, &FindDialog::findNext, this, &TfrmAll::dlgFindNodeTextFind);

    createPages();
    createMenus();
    setMinimumSize(GrownLeastSize(this, {DesignWidth, DesignHeight}));

    // The INI viewer lives for the whole run, hidden until the update needs it.
    m_frmIniViewer = new TfrmIniViewer(this, &m_settings.store());
    connect(action(QStringLiteral("mnuUpdate")), &QAction::triggered, this, &TfrmAll::mnuUpdateClick);

    m_helpRouter = new HelpRouter(this);
    m_helpRouter->install();
    connect(action(QStringLiteral("mnuHelpIndex")), &QAction::triggered, m_helpRouter, &HelpRouter::mnuHelpIndexClick);
    connect(action(QStringLiteral("mnuWhatsThis")), &QAction::triggered, m_helpRouter, &HelpRouter::mnuWhatsThisClick);
    connect(action(QStringLiteral("mnuVersionHistory")), &QAction::triggered, this, [this] {
        TfrmHelp::mnuVersionHistoryClick(this, action(QStringLiteral("mnuShowHints"))->isChecked(),
                                         [this] { ActivateChapterView(); });
    });
    connect(action(QStringLiteral("mnuAbout")), &QAction::triggered, this, [this] {
        tavio::mnuAboutClick(this, {[this](bool on) { m_aboutWindow = on; }, [this] { ActivateChapterView(); }});
    });

    m_marks = new BookmarkMenu(m_settings.store(), menuBar()->findChild<QMenu*>(QStringLiteral("mnuMarks")), this);
    m_marks->bookmarkFlag = &m_bookmarkFlag;
    m_marks->showHints = [this] { return action(QStringLiteral("mnuShowHints"))->isChecked(); };
    m_marks->activateChapterView = [this] { ActivateChapterView(); };
    connect(m_marks, &BookmarkMenu::addMarkRequested, this, &TfrmAll::mnuAddMarkClick);
    connect(m_marks, &BookmarkMenu::openBookmark, this, [this](int, const QString& f) { OpenBookmark(f); });
    connect(m_marks, &BookmarkMenu::menuRebuilt, this, [this] { pageShown(m_pgcFiles->currentIndex()); });
    connect(m_catalogue, &CataloguePage::folderChangeFinished, m_marks, &BookmarkMenu::MoveToFolder);

    m_tmrTime = new QTimer(this);
    m_tmrTime->setInterval(1000);
    connect(m_tmrTime, &QTimer::timeout, this, &TfrmAll::tmrTimeTimer);
    m_tmrTime->start();
    tmrTimeTimer();
    qApp->installEventFilter(this);
}

TfrmAll::~TfrmAll()
{
    qApp->removeEventFilter(this);
    FormDestroy();
}

QAction* TfrmAll::action(const QString& name) const
{
    return m_actions.value(name);
}

QAction* TfrmAll::addCommand(QMenu* menu, const QString& name, const QString& caption, const QKeySequence& shortcut,
                             int helpContext, const QString& icon)
{
    QAction* a = menu->addAction(caption);
    a->setObjectName(name);
    if (!shortcut.isEmpty())
        a->setShortcut(shortcut);
    if (helpContext)
        a->setProperty("helpContext", helpContext);
    if (!icon.isEmpty())
        a->setIcon(ImageList::named(icon));
    m_actions.insert(name, a);
    return a;
}

Page* TfrmAll::page(int index) const
{
    return qobject_cast<Page*>(m_pgcFiles->widget(index));
}

void TfrmAll::createPages()
{
    m_catalogue = new CataloguePage(m_settings, this, m_pgcFiles);
    m_catalogue->findFlag = &m_findFlag;
    m_catalogue->bookmarkFlag = &m_bookmarkFlag;
    m_chapter = new ChapterPage(m_settings.store(), [this] { return m_catalogue->folder(); }, m_pgcFiles);
    // The custom tree, search and notes pages show their contents as their features join.
    m_customPage = new CustomTreePage(m_catalogue->tree(), this, m_pgcFiles);
    m_customPage->findFlag = &m_findFlag;
    m_customPage->bookmarkFlag = &m_bookmarkFlag;
    m_searchPage = new SearchPage(m_settings.store(), m_catalogue->tree(), [this] {
        return QDir::fromNativeSeparators(m_catalogue->folder());
    }, m_env.layout.findHistoryPath(), this, m_pgcFiles);
    m_chapter->pnlFile()->addWidget(m_searchPage->pnlFindResults());
    m_notesPage = new NotesPage(m_env.layout, this, m_pgcFiles);
    m_notesPage->aboutWindowFlag = &m_aboutWindow;

    m_pgcFiles->addTab(m_catalogue, QStringLiteral("Seznam souborů"));
    m_pgcFiles->addTab(m_chapter, QString());
    m_pgcFiles->addTab(m_customPage, QStringLiteral("Vlastní seznam souborů"));
    m_pgcFiles->addTab(m_searchPage, QStringLiteral("Vyhledat text v souborech"));
    m_pgcFiles->addTab(m_notesPage, QStringLiteral("Poznámky ke kapitole"));
    m_pgcFiles->setTabVisible(PageChapter, false);
    m_pgcFiles->setTabVisible(PageNotes, false);
    m_pgcFiles->setChangeGuard([this](int from, int to) { return pageChangeAllowed(from, to); });
    connect(m_pgcFiles, &QTabWidget::currentChanged, this, [this](int index) {
        pageHidden(m_shownPage);
        m_shownPage = index;
        pageShown(index);
    });

    connect(m_catalogue, &CataloguePage::findRequested, this, &TfrmAll::tlbFindNodeClick);
    connect(m_catalogue, &CataloguePage::findNextRequested, this, &TfrmAll::tlbFindNextNodeClick);
    connect(m_catalogue, &CataloguePage::findDialogCloseRequested, m_dlgFindNodeText, &QDialog::close);
    connect(m_catalogue, &CataloguePage::openRequested, this,
            [this](TreeNode* n) { OpenChapterNode(m_catalogue->trwFiles(), m_catalogue->model(), n); });
    connect(m_catalogue, &CataloguePage::catalogueRebuilt, m_searchPage, &SearchPage::RefreshFileCheckTree);
    connect(m_searchPage, &SearchPage::openNodeRequested, this, [this](TreeNode* n) {
        OpenChapterNode(m_searchPage->trwFindResults(), m_searchPage->findResultsModel(), n);
        m_chapter->setPendingHighlight(m_searchPage->highlightOptions());
    });
    connect(m_searchPage, &SearchPage::openPathRequested, this, [this](const QString& path) {
        m_currentChapterPath = path;
        OpenChapterFile(path);
        m_chapter->setPendingHighlight(m_searchPage->highlightOptions());
    });
    connect(m_searchPage, &SearchPage::searchFinished, this, [this] {
        if (m_closeAfterSearch)
            QMetaObject::invokeMethod(this, &QWidget::close, Qt::QueuedConnection);
    });
    // Ctrl+Del anywhere in the window removes the selected hit from the panel.
    auto* acDeleteFromList = new QAction(QStringLiteral("Smazat ze seznamu nalezených"), this);
    acDeleteFromList->setObjectName(QStringLiteral("acDeleteFromList"));
    acDeleteFromList->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Delete));
    addAction(acDeleteFromList);
    m_actions.insert(QStringLiteral("acDeleteFromList"), acDeleteFromList);
    connect(acDeleteFromList, &QAction::triggered, this,
            [this] { m_searchPage->acDeleteFromListExecute(m_pgcFiles->currentIndex() == PageChapter); });
    connect(m_catalogue, &CataloguePage::selectionChanged, this, [this](TreeNode* n) {
        if (n)
            setAddMarkEnabled(n->imageIndex == image::Chapter);
    });
    connect(m_chapter, &ChapterPage::openFileRequested, this, [this](const QString& path) {
        m_currentChapterPath = path;
        OpenChapterFile(path);
    });
    connect(m_chapter, &ChapterPage::findOnPageRequested, this, &TfrmAll::tlbFindIEClick);

    m_treePopup = new TreePopupMenu(*m_catalogue, *m_customPage, [this] { return m_pgcFiles->currentIndex(); }, this);
    connect(m_treePopup->item(QStringLiteral("popAddTab")), &QAction::triggered, this, &TfrmAll::mnuAddMarkClick);
    connect(m_customPage, &CustomTreePage::openRequested, this, [this](TreeNode* n) {
        OpenChapterNode(m_customPage->trwCustom(), m_customPage->model(), n);
    });
    connect(m_customPage, &CustomTreePage::findRequested, this, &TfrmAll::tlbFindNodeClick);
    connect(m_customPage, &CustomTreePage::findNextRequested, this, &TfrmAll::tlbFindNextNodeClick);
    connect(m_customPage, &CustomTreePage::findDialogCloseRequested, m_dlgFindNodeText, &QDialog::close);
    connect(m_customPage, &CustomTreePage::selectionChanged, this, [this](TreeNode* n) {
        if (n && m_pgcFiles->currentIndex() == PageCustomTree)
            setAddMarkEnabled(IsChapter(n));
    });
    connect(m_customPage->action(QStringLiteral("tlbAddMark")), &QAction::triggered, this, [this] {
        TreeNode* n = m_customPage->selectedNode();
        m_marks->addBookmarkCommand(n ? MarkFromTreeNode(ttCustom, n->caption, m_customPage->tree().absoluteIndex(n),
                                                         QDir::fromNativeSeparators(m_catalogue->folder()))
                                      : TTreeMark{});
    });
    connect(m_catalogue, &CataloguePage::folderChanged, m_customPage, &CustomTreePage::setFolder);
    connect(m_notesPage, &NotesPage::findRequested, this, [this] { m_notesPage->findInNotes(m_dlgFindNodeText); });
    connect(m_notesPage, &NotesPage::findNextRequested, this, [this] { m_notesPage->findNext(m_dlgFindNodeText); });
    // Ctrl+S saves the notes from every page.
    auto* acSaveNotes = new QAction(QStringLiteral("Uložit poznámky"), this);
    acSaveNotes->setObjectName(QStringLiteral("AcSaveNotes"));
    acSaveNotes->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_S));
    addAction(acSaveNotes);
    m_actions.insert(QStringLiteral("AcSaveNotes"), acSaveNotes);
    connect(acSaveNotes, &QAction::triggered, m_notesPage, &NotesPage::AcSaveNotes);

    // Status bars: the hint follows the pointer; a double click on the right part finds.
    // The notes' status bar: the hint of the custom tree's bar, a double click finds.
    connect(m_notesPage->statusBar(), &StatusBar::mouseMoved, this, [this](int) {
        m_customPage->statusBar()->setToolTip(QStringLiteral("Nápovědný text"));
    });
    connect(m_notesPage->statusBar(), &StatusBar::doubleClicked, this, [this](int x) {
        if (x > m_notesPage->statusBar()->panel0Width())
            tlbFindNodeClick();
    });
}

void TfrmAll::hintByPosition(Page* page, int x, const QString& right, const QString& left)
{
    const QString hint = x > page->statusBar()->panel0Width() ? right : left;
    page->statusBar()->setToolTip(hint);
    page->statusBar()->setStatusTip(hint);
    page->statusBar()->setText(0, hint);
}

bool TfrmAll::pageChangeAllowed(int from, int)
{
    if (m_searchPage->searching())
        return false;
    // Leaving the notes asks about unsaved changes; Cancel stays.
    return from != PageNotes || m_notesPage->tbshNotesHide();
}

void TfrmAll::setAddMarkEnabled(bool on)
{
    action(QStringLiteral("mnuAddMark"))->setEnabled(on);
}

void TfrmAll::mnuAddMarkClick()
{
    const int pageIndex = m_pgcFiles->currentIndex();
    const QString folder = QDir::fromNativeSeparators(m_catalogue->folder());
    if (pageIndex == PageFiles) {
        m_catalogue->trwFiles()->setFocus();
        TreeNode* n = m_catalogue->selectedNode();
        m_marks->addBookmarkCommand(
            n ? MarkFromTreeNode(ttFiles, n->caption, m_catalogue->tree().absoluteIndex(n), folder)
              : TTreeMark{});
    } else if (pageIndex == PageChapter) {
        m_marks->addBookmarkCommand(m_marks->proposalFromChapterView(m_chapter->wbFile()->locationName()));
    } else if (pageIndex == PageCustomTree) {
        m_customPage->trwCustom()->setFocus();
        TreeNode* n = m_customPage->selectedNode();
        m_marks->addBookmarkCommand(
            n ? MarkFromTreeNode(ttCustom, n->caption, m_customPage->tree().absoluteIndex(n), folder) : TTreeMark{});
    }
}

bool TfrmAll::showChapterPage()
{
    m_pgcFiles->setTabVisible(PageChapter, true);
    m_pgcFiles->setTabVisible(PageNotes, true);
    return m_pgcFiles->changePage(PageChapter);
}

void TfrmAll::OpenBookmark(const QString& f)
{
    if (!showChapterPage())
        return; // the user stayed with unsaved notes
    m_pgcFiles->setTabText(PageChapter, DecodeAmpEntities(EscapeAmpersands(ReadChapterTitle(f).title)));
    // The chapter shown is the bookmark's: later steps (notes, the last chapter) rely on it.
    m_currentChapterPath = f;
    m_chapter->navigate(f);
    StatusBar* bar = m_chapter->statusBar();
    bar->setText(0, QStringLiteral("Čekejte, nahrávám soubor \"") + QDir::toNativeSeparators(f) + QStringLiteral("\" ..."));
    bar->repaint();
    bar->setText(0, QDir::toNativeSeparators(f));
    m_notesPage->OpenChapterNotes(f);
}

void TfrmAll::pageShown(int index)
{
    QAction* find = action(QStringLiteral("mnuFind"));
    QAction* findNext = action(QStringLiteral("mnuFindNext"));
    switch (index) {
    case PageFiles:
        find->setEnabled(true);
        findNext->setEnabled(true);
        if (TreeNode* n = m_catalogue->selectedNode())
            setAddMarkEnabled(n->imageIndex == image::Chapter);
        m_catalogue->trwFiles()->setFocus();
        break;
    case PageChapter:
        // tbshSelFileShow
        if (!m_pgcFiles->isTabVisible(PageChapter)) {
            m_pgcFiles->setTabVisible(PageChapter, true);
            m_pgcFiles->setTabVisible(PageNotes, true);
        }
        findNext->setEnabled(false);
        m_dlgFindNodeText->close();
        setAddMarkEnabled(true);
        ActivateChapterView();
        break;
    case PageCustomTree:
        find->setEnabled(true);
        findNext->setEnabled(true);
        m_customPage->tbshCustomTreeShow();
        if (TreeNode* n = m_customPage->selectedNode())
            setAddMarkEnabled(IsChapter(n));
        break;
    case PageFinding:
        m_dlgFindNodeText->close();
        find->setEnabled(false);
        findNext->setEnabled(false);
        setAddMarkEnabled(false);
        m_searchPage->focusOnShow();
        break;
    case PageNotes:
        find->setEnabled(true);
        findNext->setEnabled(true);
        setAddMarkEnabled(false);
        break;
    default: break;
    }
}

void TfrmAll::pageHidden(int index)
{
    if (index == PageFinding)
        action(QStringLiteral("mnuFind"))->setEnabled(true);
}

bool TfrmAll::OpenChapterNode(QTreeView* view, TreeModel* model, TreeNode* node)
{
    if (!node)
        return false;
    view->setCurrentIndex(model->indexOf(node));
    if (node->hasChildren() || node->imageIndex != image::Chapter)
        return true;
    node->selectedIndex = node->imageIndex;
    if (!showChapterPage())
        return false; // the user stayed with unsaved notes
    m_pgcFiles->setTabText(PageChapter, EscapeAmpersands(CaptionToTitle(node->caption)));
    m_currentChapterPath = QDir::fromNativeSeparators(m_catalogue->folder()) + CaptionToFileName(node->caption);
    const bool result = QFileInfo::exists(m_currentChapterPath);
    StatusBar* bar = m_chapter->statusBar();
    bar->setText(0, QStringLiteral("Čekejte, načítám soubor \"") + QDir::toNativeSeparators(m_currentChapterPath)
                        + QStringLiteral("\" ..."));
    bar->repaint();
    m_chapter->navigate(m_currentChapterPath);
    bar->setText(0, QDir::toNativeSeparators(m_currentChapterPath));
    bar->repaint();
    m_notesPage->OpenChapterNotes(m_currentChapterPath);
    return result;
}

bool TfrmAll::OpenChapterFile(const QString& path)
{
    // Leaving unsaved notes is asked first; staying opens nothing.
    if (m_pgcFiles->currentIndex() == PageNotes && !m_pgcFiles->changePage(PageChapter))
        return false;
    m_chapter->navigate(m_currentChapterPath);
    m_notesPage->OpenChapterNotes(path);
    const ChapterTitle title = ReadChapterTitle(path);
    if (title.status == TitleStatus::NotFound)
        ShowMessage(this, QStringLiteral("Soubor nebyl nalezen"), MsgIcon::Error);
    m_pgcFiles->setTabText(PageChapter, EscapeAmpersands(DecodeAmpEntities(title.title)));
    showChapterPage();
    return true;
}

void TfrmAll::openLastChapter()
{
    if (!m_settings.hasLastProject() || !action(QStringLiteral("mnuOpenLastProject"))->isChecked())
        return;
    m_currentChapterPath = m_settings.readLastProject();
    if (m_currentChapterPath.isEmpty() || !QFileInfo::exists(m_currentChapterPath))
        return;
    OpenChapterFile(m_currentChapterPath);
}

void TfrmAll::FormShow()
{
    if (action(QStringLiteral("mnuOpenLastProject"))->isChecked())
        openLastChapter();
    m_searchPage->pgcResults()->setCurrentIndex(0);
    const QString hint = QStringLiteral("Kliknutím na text otevřete složku se soubory *.htm");
    m_customPage->lblDir()->setToolTip(hint);
    m_customPage->lblDir()->setStatusTip(hint);
}

void TfrmAll::showEvent(QShowEvent* event)
{
    QMainWindow::showEvent(event);
    if (!m_shown) {
        m_shown = true;
        FormShow();
    }
    ActivateChapterView();
}

void TfrmAll::mnuUpdateClick()
{
    UpdateHost h;
    h.layout = m_env.layout;
    h.showHints = action(QStringLiteral("mnuShowHints"))->isChecked();
    h.serialFinished = SerialFinished();
    h.chapterFolder = [this] { return QDir::fromNativeSeparators(m_catalogue->folder()); };
    h.catalogueTree = [this] { return &m_catalogue->tree(); };
    // Rebuilding the catalogue refills the search page's list as well.
    h.rebuildCatalogue = [this](const QString& folder) { m_catalogue->BuildCatalogue(folder); };
    h.refreshSearchList = [this] { m_searchPage->RefreshFileCheckTree(); };
    h.enableNextChapter = [this] { m_chapter->tlbNextCap()->setEnabled(true); };
    h.showIniFile = [this](const QString& path) { m_frmIniViewer->showFile(path); };
    h.releaseInstanceLock = [this] {
        if (m_lock)
            m_lock->release();
    };
    h.activateChapterView = [this] { ActivateChapterView(); };
    if (updateHostOverride)
        updateHostOverride(h);
    TfrmUpdate::run(this, h);
}

void TfrmAll::changeEvent(QEvent* event)
{
    QMainWindow::changeEvent(event);
    // FormActivate: back in the window, the keys scroll the chapter shown at once.
    if (event->type() == QEvent::ActivationChange && isActiveWindow() && m_pgcFiles->currentIndex() == PageChapter)
        ActivateChapterView();
}

bool TfrmAll::eventFilter(QObject* watched, QEvent* event)
{
    // Key preview: F7 is the window's own, whichever control has the focus.
    if (event->type() == QEvent::KeyRelease && watched->isWidgetType()
        && static_cast<QWidget*>(watched)->window() == this) {
        auto* key = static_cast<QKeyEvent*>(event);
        if (key->key() == Qt::Key_F7 && !key->isAutoRepeat()) {
            const int pageIndex = m_pgcFiles->currentIndex();
            if (key->modifiers() != Qt::NoModifier || QGuiApplication::mouseButtons() != Qt::NoButton
                || pageIndex == PageChapter || pageIndex == PageFinding)
                tlbFindIEClick();
            else
                tlbFindNodeClick();
            return true;
        }
    }
    return QMainWindow::eventFilter(watched, event);
}

void TfrmAll::mnuFindClick()
{
    switch (m_pgcFiles->currentIndex()) {
    case PageFiles:
    case PageCustomTree: tlbFindNodeClick(); break;
    case PageChapter: tlbFindIEClick(); break;
    case PageNotes: m_notesPage->findInNotes(m_dlgFindNodeText); break;
    default: break;
    }
}

void TfrmAll::mnuFindNextClick()
{
    switch (m_pgcFiles->currentIndex()) {
    case PageFiles:
    case PageCustomTree: tlbFindNextNodeClick(); break;
    case PageNotes: m_notesPage->findNext(m_dlgFindNodeText); break;
    default: break;
    }
}

void TfrmAll::tlbFindIEClick()
{
    moveHelpMenuRight();
    if (m_pgcFiles->currentIndex() == PageChapter && m_chapter->wbFile()->hasDocument())
        m_chapter->wbFile()->showFindDialog();
}

void TfrmAll::tmrTimeTimer()
{
    // The user's long time format, without the time zone that Qt's long format adds.
    static const QString format = [] {
        QString f = QLocale().timeFormat(QLocale::LongFormat);
        f.remove(QLatin1Char('t'));
        return f.trimmed();
    }();
    if (m_helpRouter)
        m_helpRouter->clockTick();
    m_chapter->statusBar()->setText(
        1, QStringLiteral("Aktuální čas: [") + QLocale().toString(QTime::currentTime(), format) + QStringLiteral("]"));
}

void TfrmAll::createMenus()
{
    QMenuBar* bar = menuBar();
    QMenu* file = bar->addMenu(QStringLiteral("&Soubor"));
    QAction* konec = addCommand(file, QStringLiteral("mnuKonec"), QStringLiteral("&Konec"),
                                QKeySequence(Qt::ALT | Qt::Key_F4), 51, QStringLiteral("exit"));
    connect(konec, &QAction::triggered, this, &QWidget::close);

    QMenu* tools = bar->addMenu(QStringLiteral("&Nástroje"));
    addCommand(tools, QStringLiteral("mnuDelPrint"), QStringLiteral("Vyčistit soubory ..."),
               QKeySequence(Qt::CTRL | Qt::Key_T), 9, QStringLiteral("clean-files"));
    addCommand(tools, QStringLiteral("mnuUpdate"), QStringLiteral("Aktualizace ..."), QKeySequence(Qt::CTRL | Qt::Key_U),
               48, QStringLiteral("update"));
    connect(action(QStringLiteral("mnuDelPrint")), &QAction::triggered, this, [this] {
        TfrmDelPrint::run(this, SerialFinished(), QDir::fromNativeSeparators(m_catalogue->folder()),
                          m_env.layout.logFolder(), action(QStringLiteral("mnuShowHints"))->isChecked(),
                          [this] { ActivateChapterView(); });
    });
    QMenu* notes = tools->addMenu(QStringLiteral("Poznámky"));
    notes->setIcon(ImageList::named(QStringLiteral("notes-export")));
    notes->menuAction()->setObjectName(QStringLiteral("mnuPoznamky"));
    m_actions.insert(QStringLiteral("mnuPoznamky"), notes->menuAction());
    addCommand(notes, QStringLiteral("mnuPoznamkyImport"), QStringLiteral("Importovat poznámky ..."),
               QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_I), 135, QStringLiteral("notes-import"));
    addCommand(notes, QStringLiteral("mnuPoznamkyExport"), QStringLiteral("Exportovat poznámky ..."),
               QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_E), 136, QStringLiteral("notes-export"));
    connect(action(QStringLiteral("mnuPoznamkyImport")), &QAction::triggered, this,
            [this] { m_notesPage->mnuPoznamkyImportClick(); });
    connect(action(QStringLiteral("mnuPoznamkyExport")), &QAction::triggered, this,
            [this] { m_notesPage->mnuPoznamkyExportClick(); });

    QMenu* edit = bar->addMenu(QStringLiteral("&Editace"));
    QAction* find = addCommand(edit, QStringLiteral("mnuFind"), QStringLiteral("Hledat ..."),
                               QKeySequence(Qt::CTRL | Qt::Key_F), 54, QStringLiteral("find-in-tree"));
    QAction* findNext = addCommand(edit, QStringLiteral("mnuFindNext"), QStringLiteral("Najít další"),
                                   QKeySequence(Qt::Key_F3), 55, QStringLiteral("find-next"));
    QAction* findText = addCommand(edit, QStringLiteral("mnuFindText"), QStringLiteral("Vyhledat text v souborech"),
               QKeySequence(Qt::ALT | Qt::Key_F7), 137, QStringLiteral("search-start"));
    connect(findText, &QAction::triggered, this, [this] {
        if (m_pgcFiles->changePage(PageFinding))
            m_searchPage->mnuFindTextClick();
    });
    connect(find, &QAction::triggered, this, &TfrmAll::mnuFindClick);
    connect(findNext, &QAction::triggered, this, &TfrmAll::mnuFindNextClick);

    QMenu* marks = bar->addMenu(QStringLiteral("&Záložky"));
    marks->setObjectName(QStringLiteral("mnuMarks"));
    addCommand(marks, QStringLiteral("mnuAddMark"), QStringLiteral("Přidat záložku ..."),
               QKeySequence(Qt::CTRL | Qt::Key_B), 49, ImageList::nameOf(26));
    addCommand(marks, QStringLiteral("mnuEditMark"), QStringLiteral("Editovat záložky ..."),
               QKeySequence(Qt::CTRL | Qt::Key_E), 50, ImageList::nameOf(35));
    addCommand(marks, QStringLiteral("mnuMarksImport"), QStringLiteral("Importovat záložky ..."),
               QKeySequence(Qt::CTRL | Qt::Key_I), 46, ImageList::nameOf(37));
    addCommand(marks, QStringLiteral("mnuMarksExport"), QStringLiteral("Exportovat záložky ..."),
               QKeySequence(Qt::CTRL | Qt::Key_X), 47, ImageList::nameOf(38));
    QAction* separ = marks->addSeparator();
    separ->setObjectName(QStringLiteral("mnuSeparMark"));
    m_actions.insert(QStringLiteral("mnuSeparMark"), separ);

    QMenu* setting = bar->addMenu(QStringLiteral("Nas&tavení"));
    setting->setObjectName(QStringLiteral("mnuSetting"));
    auto* settingShortcut = new QShortcut(QKeySequence(Qt::CTRL | Qt::Key_H), this);
    connect(settingShortcut, &QShortcut::activated, this,
            [this, setting] { setting->popup(menuBar()->mapToGlobal(menuBar()->actionGeometry(setting->menuAction()).bottomLeft())); });
    QAction* hints = addCommand(setting, QStringLiteral("mnuShowHints"),
                                QStringLiteral("Zobrazovat u tlačítek nápovědný text"), QKeySequence(Qt::CTRL | Qt::Key_G), 87);
    QAction* one = addCommand(setting, QStringLiteral("mnuOneInstance"),
                              QStringLiteral("Povolit spuštění pouze jedné instance programu"),
                              QKeySequence(Qt::CTRL | Qt::Key_J), 88);
    QAction* last = addCommand(setting, QStringLiteral("mnuOpenLastProject"),
                               QStringLiteral("Po spuštění otevřít naposledy otevřenou kapitolu"),
                               QKeySequence(Qt::CTRL | Qt::Key_K), 89);
    for (QAction* a : {hints, one, last})
        a->setCheckable(true);
    hints->setChecked(true);
    one->setChecked(true);
    connect(hints, &QAction::triggered, this, &TfrmAll::mnuShowHintsClick);
    connect(one, &QAction::triggered, this, &TfrmAll::mnuOneInstanceClick);
    connect(last, &QAction::triggered, this, &TfrmAll::mnuOpenLastProjectClick);

    // The Help menu stands at the right end of the menu bar, as a corner button
    // that keeps its drop-down whatever happens to the other menus.
    m_mnuHelp = new QMenu(QStringLiteral("Ná&pověda"), this);
    m_mnuHelp->setObjectName(QStringLiteral("mnuHelp"));
    addCommand(m_mnuHelp, QStringLiteral("mnuHelpIndex"), QStringLiteral("Témata nápovědy"), {}, 90,
               QStringLiteral("help-topics"));
    addCommand(m_mnuHelp, QStringLiteral("mnuWhatsThis"), QStringLiteral("Co je to?"), QKeySequence(Qt::SHIFT | Qt::Key_F1),
               0, QStringLiteral("whats-this"));
    m_mnuHelp->addSeparator();
    QAction* home = addCommand(m_mnuHelp, QStringLiteral("mnuHomePage"), QStringLiteral("Domovská stránka programu"), {},
                               141, QStringLiteral("home-page"));
    QAction* forum = addCommand(m_mnuHelp, QStringLiteral("mnuForum"),
                                QStringLiteral("Fórum k seriálu a jeho offline verzi"), {}, 142, QStringLiteral("forum"));
    m_mnuHelp->addSeparator();
    addCommand(m_mnuHelp, QStringLiteral("mnuVersionHistory"), QStringLiteral("Popis a historie verzí programu ..."), {},
               92, QStringLiteral("version-history"));
    addCommand(m_mnuHelp, QStringLiteral("mnuAbout"), QStringLiteral("O programu ..."), {}, 93, QStringLiteral("about"));
    connect(home, &QAction::triggered, this, [] { ShellOpener::openAddress(P(ProfileId::HomePageUrl)); });
    connect(forum, &QAction::triggered, this, [] { ShellOpener::openAddress(P(ProfileId::ForumUrl)); });

    m_helpButton = new QToolButton(bar);
    m_helpButton->setObjectName(QStringLiteral("mnuHelpButton"));
    m_helpButton->setText(QStringLiteral("Ná&pověda"));
    m_helpButton->setMenu(m_mnuHelp);
    m_helpButton->setPopupMode(QToolButton::InstantPopup);
    m_helpButton->setAutoRaise(true);
    m_helpButton->setToolButtonStyle(Qt::ToolButtonTextOnly);
    m_helpButton->setStyleSheet(QStringLiteral("QToolButton::menu-indicator { image: none; width: 0px; }"));
    moveHelpMenuRight();

    // Commands whose windows are not part of this build yet stay visible but disabled.
    // Nothing is selected yet, so no bookmark can be made.
    action(QStringLiteral("mnuAddMark"))->setEnabled(false);
}

void TfrmAll::moveHelpMenuRight()
{
    menuBar()->setCornerWidget(m_helpButton, Qt::TopRightCorner);
    m_helpButton->show();
}

void TfrmAll::wait(int ms)
{
    if (m_env.fixedWaits)
        QThread::msleep(ulong(ms));
}

void TfrmAll::FormCreate(TfrmSplash* splash)
{
    m_aboutWindow = false;                                                     // 1
    m_serialFinished = Profile::instance().boolean(ProfileId::SerialFinished); // 2
    m_defaultNotesPath = m_env.layout.defaultNotesPath();                      // 3
    moveHelpMenuRight();                                                       // 4
    setWindowTitle(P(ProfileId::ApplicationTitle));                            // 5

    m_customTreePath = m_env.layout.customTreePath(); // 6
    m_findHistoryPath = m_env.layout.findHistoryPath();
    QDir().mkpath(m_env.layout.dataFolder());

    m_chapter->textSize().startupPrepare(); // 7

    const StartOptions options = m_settings.readOptions(); // 8
    if (options.firstRun) {
        QFile::remove(m_customTreePath);
        QFile::remove(m_findHistoryPath);
    }
    action(QStringLiteral("mnuShowHints"))->setChecked(options.ShowHints); // 9
    applyShowHints();
    action(QStringLiteral("mnuOneInstance"))->setChecked(options.OneInstance);
    action(QStringLiteral("mnuOpenLastProject"))->setChecked(options.OpenLastProject);

    m_secondInstance = false; // 10
    m_lock = std::make_unique<SingleInstanceLock>(P(ProfileId::MutexName), m_env.lockFolder);
    if (m_lock->existsElsewhere() && options.OneInstance) {
        ShowMessage(this,
                    QStringLiteral("Program je již spuštěn.") + P(ProfileId::LineBreak)
                        + QStringLiteral("Chcete-li umožnit vícenásobné spuštění aplikace, zrušte volbu \"Povolit "
                                         "spuštění pouze jedné instance programu\" v menu \"Nastavení\"."),
                    MsgIcon::Error);
        m_secondInstance = true;
        if (splash)
            splash->setProgress(QStringLiteral("Ukončuji aplikaci ..."));
        QMetaObject::invokeMethod(qApp, &QCoreApplication::quit, Qt::QueuedConnection);
    }

    m_chapter->textSize().startupSaveViewSetting(); // 11

    m_lock->create(); // 12
    QApplication::setOverrideCursor(Qt::WaitCursor); // 13

    QString folder = m_settings.ReadFilesPath(); // 14
    if (folder.isEmpty())
        folder = m_env.layout.defaultChapterFolder();

    RestoreWindowGeometry(); // 15
    m_searchPage->LoadFindSettings(); // 16
    m_searchPage->LoadFindHistory();
    m_pgcFiles->setCurrentIndex(PageFiles); // 17

    if (splash) { // 18
        splash->move(geometry().center() - QPoint(splash->width() / 2, splash->height() / 2));
        splash->show();
        splash->raise();
    }
    QApplication::processEvents();

    auto progress = [&](const QString& text, bool always) {
        if (splash) {
            if (always || !m_secondInstance)
                splash->setProgress(text);
            splash->repaintProgress();
        }
    };
    progress(QStringLiteral("Načítám seznam ..."), false); // 19
    m_catalogue->setFolder(WithTrailingSeparator(QDir::fromNativeSeparators(folder))); // 20

    progress(QStringLiteral("Načítám záložky ..."), false); // 21
    wait(500);
    m_marks->LoadBookmarks(QDir::fromNativeSeparators(m_catalogue->folder()));
    QApplication::processEvents();
    progress(QString(), false);
    QApplication::processEvents();

    progress(QStringLiteral("Načítám vlastní seznam ..."), false); // 22
    wait(500);
    if (m_customPage->loadAtStart(m_customTreePath))
        m_settings.WriteFilesPath(m_catalogue->folder());

    QApplication::processEvents(); // 23
    QApplication::restoreOverrideCursor();

    progress(QStringLiteral("Dokončeno. Spouštím aplikaci ..."), true); // 24
    wait(250);
    if (splash) {
        splash->setOnDestroy([this] {
            ActivateChapterView();
            m_aboutWindow = false;
        });
        delete splash;
    }

    m_notesPage->FillFontList(); // 25
    raise(); // 26
    activateWindow();
    m_helpRouter->setHelpFile(m_env.layout.helpFile()); // 27

    if (QFile::remove(m_env.layout.oldProgramFile())) // 28
        ShowMessage(this, QStringLiteral("Aktualizace nové verze programu byla dokončena."), MsgIcon::Information);

    action(QStringLiteral("mnuForum"))->setVisible(!P(ProfileId::ForumUrl).isEmpty()); // 29
    m_created = true;
}

void TfrmAll::closeEvent(QCloseEvent* event)
{
    if (!m_notesPage->FormCloseQuery()) {
        event->ignore();
        return;
    }
    // A running search ends before the next file; the window closes after it.
    if (m_searchPage->searching()) {
        m_closeAfterSearch = true;
        m_searchPage->btnStopClick();
        event->ignore();
        return;
    }
    // The question about unsaved notes joins here with the notes page.
    event->accept();
}

void TfrmAll::FormDestroy()
{
    if (m_destroyed)
        return;
    m_destroyed = true;
    // A window that never started (or a refused second copy) has nothing of its own to save.
    if (m_secondInstance || !m_created)
        return;
    m_marks->SaveBookmarks();
    m_searchPage->SaveFindSettings();
    SaveWindowGeometry();
    m_settings.WriteVersionValues(GetProgramVersion());
    WriteLastProject();
    m_chapter->SaveChosenTextSize();
    if (!m_customPage->saveAtExit(m_customTreePath))
        ShowMessage(this, CustomTreePage::saveAtExitWarning(m_customTreePath), MsgIcon::Warning);
}

void TfrmAll::RestoreWindowGeometry()
{
    const auto g = m_settings.readGeometry();
    if (!g) {
        resize(DesignWidth, DesignHeight);
        if (const QScreen* screen = QGuiApplication::primaryScreen()) {
            const QRect area = screen->availableGeometry();
            move(area.center() - rect().center());
        }
        return;
    }
    QRect r = geometry();
    if (g->left)
        r.moveLeft(*g->left);
    if (g->top)
        r.moveTop(*g->top);
    if (g->width)
        r.setWidth(std::max(*g->width, DesignWidth));
    if (g->height)
        r.setHeight(std::max(*g->height, DesignHeight));
    setGeometry(r);
    setWindowState(g->maximized ? (windowState() | Qt::WindowMaximized) : (windowState() & ~Qt::WindowMaximized));
}

void TfrmAll::SaveWindowGeometry()
{
    const bool maximized = isMaximized();
    m_settings.writeGeometry(maximized, maximized ? normalGeometry() : geometry());
}

void TfrmAll::WriteLastProject()
{
    QString folder = m_settings.ReadFilesPath();
    folder = WithTrailingSeparator(folder);
    const QString locationName = m_chapter->wbFile()->hasDocument() ? m_chapter->wbFile()->locationName() : QString();
    const bool open = !locationName.isEmpty() && action(QStringLiteral("mnuOpenLastProject"))->isChecked();
    m_settings.writeLastProject(open ? folder + RemoveFileExt(locationName) + QStringLiteral(".htm") : QString());
}

void TfrmAll::applyShowHints()
{
    const bool on = action(QStringLiteral("mnuShowHints"))->isChecked();
    for (HintedToolBar* bar : findChildren<HintedToolBar*>())
        bar->setShowHints(on);
    m_settings.writeOption(QStringLiteral("ShowHints"), on);
}

void TfrmAll::mnuShowHintsClick()
{
    applyShowHints();
}

void TfrmAll::mnuOneInstanceClick()
{
    m_settings.writeOption(QStringLiteral("OneInstance"), action(QStringLiteral("mnuOneInstance"))->isChecked());
}

void TfrmAll::mnuOpenLastProjectClick()
{
    m_settings.writeOption(QStringLiteral("OpenLastProject"),
                           action(QStringLiteral("mnuOpenLastProject"))->isChecked());
}

void TfrmAll::ActivateChapterView()
{
    m_chapter->ActivateChapterView();
}

void TfrmAll::tlbFindNodeClick()
{
    if (m_pgcFiles->currentIndex() == PageNotes) {
        m_notesPage->findInNotes(m_dlgFindNodeText);
        return;
    }
    if (m_pgcFiles->currentIndex() == PageFiles)
        m_catalogue->trwFiles()->setFocus();
    else if (m_pgcFiles->currentIndex() == PageCustomTree)
        m_customPage->trwCustom()->setFocus();
    m_dlgFindNodeText->show();
    m_dlgFindNodeText->raise();
    m_dlgFindNodeText->activateWindow();
}

void TfrmAll::tlbFindNextNodeClick()
{
    if (m_pgcFiles->currentIndex() == PageChapter)
        return;
    if (m_catalogue->statusBar()->text(1).trimmed().isEmpty()) {
        tlbFindNodeClick();
        return;
    }
    dlgFindNodeTextFind();
}

void TfrmAll::dlgFindNodeTextFind()
{
    if (m_pgcFiles->currentIndex() == PageNotes) {
        m_notesPage->searchNotes(m_dlgFindNodeText);
        return;
    }
    // The catalogue on its own page, the custom tree on every other.
    const bool onCatalogue = m_pgcFiles->currentIndex() == PageFiles;
    ChapterTree& tree = onCatalogue ? m_catalogue->tree() : m_customPage->tree();
    TreeNode* selected = onCatalogue ? m_catalogue->selectedNode() : m_customPage->selectedNode();
    QWidget* view = onCatalogue ? static_cast<QWidget*>(m_catalogue->trwFiles()) : m_customPage->trwCustom();
    const QString text = m_dlgFindNodeText->findText();
    TreeNode* found = FindTreeNode(tree, tree.absoluteIndex(selected), text, m_dlgFindNodeText->wholeWords(),
                                   m_dlgFindNodeText->matchCase(), m_dlgFindNodeText->upward());
    m_dlgFindNodeText->close();
    if (found) {
        if (onCatalogue)
            m_catalogue->selectNode(found);
        else
            m_customPage->selectNode(found);
        m_catalogue->statusBar()->setText(1, text);
        m_customPage->statusBar()->setText(1, text);
    } else {
        raise();
        activateWindow();
        ShowMessage(this, QStringLiteral("Nenalezeno!"), MsgIcon::Warning, MsgButtons::Ok, QStringLiteral("Chyba"));
        m_findFlag = true;
        m_dlgFindNodeText->setFindText(m_catalogue->statusBar()->text(1));
    }
    view->setFocus();
}

} // namespace tavio
