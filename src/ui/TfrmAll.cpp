#include "TfrmAll.h"

#include "Catalogue.h"
#include "ChapterTree.h"
#include "FindDialog.h"
#include "FrameState.h"
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
#include "notes/RichEdit.h"
#include "search/SearchPage.h"
#include "tools/TfrmDelPrint.h"
#include "update/TfrmIniViewer.h"
#include "update/TfrmUpdate.h"
#include "UpdateHost.h"
#include "UpdateServer.h"
#include "UpdateSignature.h"
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
#include <QLineEdit>
#include <QListWidget>
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

TfrmAll::TfrmAll(const Environment& env)
    : m_env(env)
    , m_ownStore(env.store ? nullptr : std::make_unique<SettingsStore>(SettingsStore::defaultFile()))
    , m_settings(env.store ? *env.store : *m_ownStore)
    , m_state(new FrameState(this))
{
    setObjectName(QStringLiteral("frmAll"));
    setProperty("helpContext", 76);

    m_pgcFiles = new PageControl(this);
    m_pgcFiles->setObjectName(QStringLiteral("pgcFiles"));
    setCentralWidget(m_pgcFiles);

    m_dlgFindNodeText = new FindDialog(this);
    connect(m_dlgFindNodeText, &FindDialog::shown, this, [this] { m_state->findFlag = true; });
    connect(m_dlgFindNodeText, &FindDialog::findNext, this, &TfrmAll::dlgFindNodeTextFind);

    createPages();
    createMenus();
    createReadingWiring();
    setMinimumSize(GrownLeastSize(this, {DesignWidth, DesignHeight}));

    // The INI viewer lives for the whole run, hidden until the update needs it.
    m_frmIniViewer = new TfrmIniViewer(this, &m_settings.store());
    connect(action(QStringLiteral("mnuUpdate")), &QAction::triggered, this, &TfrmAll::mnuUpdateClick);

    m_helpRouter = new HelpRouter(this);
    m_helpRouter->install();
    connect(action(QStringLiteral("mnuHelpIndex")), &QAction::triggered, m_helpRouter, &HelpRouter::mnuHelpIndexClick);
    connect(action(QStringLiteral("mnuWhatsThis")), &QAction::triggered, m_helpRouter, &HelpRouter::mnuWhatsThisClick);
    connect(action(QStringLiteral("mnuVersionHistory")), &QAction::triggered, this, [this] {
        TfrmHelp::mnuVersionHistoryClick(this, m_state->showHints(), [this] { ActivateChapterView(); },
                                         m_state->theme());
    });
    connect(action(QStringLiteral("mnuAbout")), &QAction::triggered, this, [this] {
        tavio::mnuAboutClick(this, {[this](bool on) { m_state->aboutWindowFlag = on; }, [this] { ActivateChapterView(); }});
    });

    m_marks = new BookmarkMenu(m_settings.store(), menuBar()->findChild<QMenu*>(QStringLiteral("mnuMarks")), this);
    m_marks->bookmarkFlag = &m_state->bookmarkFlag;
    m_marks->showHints = [this] { return m_state->showHints(); };
    m_marks->activateChapterView = [this] { ActivateChapterView(); };
    connect(m_marks, &BookmarkMenu::addMarkRequested, this, &TfrmAll::mnuAddMarkClick);
    connect(m_marks, &BookmarkMenu::openBookmark, this, [this](int, const QString& f) { OpenBookmark(f); });
    connect(m_marks, &BookmarkMenu::menuRebuilt, this, [this] { pageShown(m_pgcFiles->currentIndex()); });
    connect(m_catalogue, &CataloguePage::folderChangeFinished, m_marks, &BookmarkMenu::MoveToFolder);

    // The chapter being opened leads, before its page has even loaded into the history.
    recentChapters = [this] {
        QStringList paths = m_state->recentChapterPaths();
        if (const QString current = m_state->currentChapterPath(); !current.isEmpty()) {
            paths.removeAll(current);
            paths.prepend(current);
        }
        return paths;
    };

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

QString TfrmAll::CurrentChapterPath() const
{
    return m_state->currentChapterPath();
}

QAction* TfrmAll::action(const QString& name) const
{
    return m_actions.value(name);
}

Page* TfrmAll::page(int index) const
{
    return qobject_cast<Page*>(m_pgcFiles->widget(index));
}

void TfrmAll::createPages()
{
    m_catalogue = new CataloguePage(m_settings, *m_state, this, m_pgcFiles);
    connect(m_catalogue->edtBrowseDir(), &QLineEdit::textChanged, m_state, &FrameState::setChapterFolder);
    m_chapter = new ChapterPage(m_settings.store(), *m_state, m_pgcFiles);
    m_customPage = new CustomTreePage(m_catalogue->tree(), this, m_pgcFiles);
    m_customPage->setFrameState(m_state);
    m_searchPage = new SearchPage(m_settings.store(), m_catalogue->tree(), [this] { return m_state->chapterFolder(); },
                                  m_env.layout.findHistoryPath(), this, m_pgcFiles);
    m_chapter->pnlFile()->addWidget(m_searchPage->pnlFindResults());
    m_notesPage = new NotesPage(m_env.layout, this, m_pgcFiles);
    m_notesPage->aboutWindowFlag = &m_state->aboutWindowFlag;
    m_notesPage->reNotes()->setTheme(m_state->theme());
    connect(m_state, &FrameState::themeChanged, m_notesPage->reNotes(), &RichEdit::setTheme);
    // An export of all notes takes the chapters in the catalogue's order, each under its caption.
    m_notesPage->exportList = [this] {
        QList<NotesExportChapter> list;
        const QString folder = m_state->chapterFolder();
        m_catalogue->tree().forEach([&](TreeNode* n) {
            const QString name = CaptionToFileName(n->caption);
            if (!name.isEmpty())
                list.append({n->caption, NotesFileOf(m_env.layout.notesFolder(), folder + name), std::nullopt});
        });
        return list;
    };

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
    // A hit highlights the phrase in its chapter once loaded; an opening that showed
    // nothing (the notes stayed, say) leaves no phrase behind for a later chapter.
    connect(m_searchPage, &SearchPage::openNodeRequested, this, [this](TreeNode* n) {
        const int before = m_chapter->navigations();
        OpenChapterNode(m_searchPage->trwFindResults(), m_searchPage->findResultsModel(), n);
        if (m_chapter->navigations() != before)
            m_chapter->setPendingHighlight(m_searchPage->highlightOptions());
    });
    connect(m_searchPage, &SearchPage::openPathRequested, this, [this](const QString& path) {
        const int before = m_chapter->navigations();
        m_state->setCurrentChapterPath(path);
        OpenChapterFile(path);
        if (m_chapter->navigations() != before)
            m_chapter->setPendingHighlight(m_searchPage->highlightOptions());
    });
    // A hit in the notes opens the chapter, then its notes with the phrase selected.
    m_searchPage->setNotesFileOf(
        [this](const QString& chapterPath) { return NotesFileOf(m_env.layout.notesFolder(), chapterPath); });
    connect(m_searchPage, &SearchPage::openNotesRequested, this, [this](const QString& path) {
        m_state->setCurrentChapterPath(path);
        if (OpenChapterFile(path) && m_pgcFiles->changePage(PageNotes))
            m_notesPage->showFoundPhrase(m_searchPage->highlightOptions());
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
    // The same action is the list's pop-up item: one shortcut, wherever the focus is.
    m_searchPage->pnlFindResults()->lbFindResults()->addAction(acDeleteFromList);
    connect(m_catalogue, &CataloguePage::selectionChanged, this, [this](TreeNode* n) {
        if (n)
            setAddMarkEnabled(n->imageIndex == image::Chapter);
    });
    connect(m_chapter, &ChapterPage::openFileRequested, this, [this](const QString& path) {
        m_state->setCurrentChapterPath(path);
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
                                                         m_state->chapterFolder())
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
    const QString folder = m_state->chapterFolder();
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

QString TfrmAll::chapterTabCaption(const QString& title, const QString& path)
{
    // A chapter without a title (an empty file, say) is named by its file; a missing
    // one keeps the empty caption.
    if (!title.trimmed().isEmpty() || !QFileInfo::exists(path))
        return title;
    return EscapeAmpersands(QFileInfo(path).fileName());
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
    m_pgcFiles->setTabText(PageChapter, chapterTabCaption(DecodeAmpEntities(EscapeAmpersands(ReadChapterTitle(f).title)), f));
    // The chapter shown is the bookmark's: later steps (notes, the last chapter) rely on it.
    m_state->setCurrentChapterPath(f);
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
    m_state->setCurrentChapterPath(m_state->chapterFolder() + CaptionToFileName(node->caption));
    const QString path = m_state->currentChapterPath();
    m_pgcFiles->setTabText(PageChapter,
                           chapterTabCaption(EscapeAmpersands(CaptionToTitle(node->caption)), path));
    const bool result = QFileInfo::exists(path);
    StatusBar* bar = m_chapter->statusBar();
    bar->setText(0, QStringLiteral("Čekejte, načítám soubor \"") + QDir::toNativeSeparators(path)
                        + QStringLiteral("\" ..."));
    bar->repaint();
    m_chapter->navigate(path);
    bar->setText(0, QDir::toNativeSeparators(path));
    bar->repaint();
    m_notesPage->OpenChapterNotes(path);
    return result;
}

bool TfrmAll::OpenChapterFile(const QString& path, const QString& anchor)
{
    // Leaving unsaved notes is asked first; staying opens nothing.
    if (m_pgcFiles->currentIndex() == PageNotes && !m_pgcFiles->changePage(PageChapter))
        return false;
    m_chapter->navigate(m_state->currentChapterPath(), anchor);
    m_notesPage->OpenChapterNotes(path);
    const ChapterTitle title = ReadChapterTitle(path);
    if (title.status == TitleStatus::NotFound)
        ShowMessage(this, QStringLiteral("Soubor nebyl nalezen"), MsgIcon::Error);
    m_pgcFiles->setTabText(PageChapter, chapterTabCaption(EscapeAmpersands(DecodeAmpEntities(title.title)), path));
    showChapterPage();
    return true;
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

void TfrmAll::ActivateChapterView()
{
    m_chapter->ActivateChapterView();
}

} // namespace tavio
