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
#include "about/TfrmSplash.h"
#include "library/CataloguePage.h"
#include "widgets/HintedToolBar.h"
#include "widgets/StatusBar.h"
#include "widgets/TreeModel.h"

#include <QApplication>
#include <QCloseEvent>
#include <QDir>
#include <QFile>
#include <QKeyEvent>
#include <QMenuBar>
#include <QScreen>
#include <QShortcut>
#include <QTabWidget>
#include <QThread>
#include <QToolButton>
#include <QTreeView>

namespace tavio {

namespace {
constexpr int DesignWidth = 673;
constexpr int DesignHeight = 457;

enum PageIndex { PageFiles = 0 };
} // namespace

TfrmAll::TfrmAll(const Environment& env)
    : m_env(env)
    , m_ownStore(env.store ? nullptr : std::make_unique<SettingsStore>(SettingsStore::defaultFile()))
    , m_settings(env.store ? *env.store : *m_ownStore)
{
    setObjectName(QStringLiteral("frmAll"));
    setMinimumSize(DesignWidth, DesignHeight);
    setProperty("helpContext", 76);

    m_pgcFiles = new QTabWidget(this);
    m_pgcFiles->setObjectName(QStringLiteral("pgcFiles"));
    m_pgcFiles->tabBar()->setAttribute(Qt::WA_Hover);
    setCentralWidget(m_pgcFiles);

    m_catalogue = new CataloguePage(m_settings, this, m_pgcFiles);
    m_catalogue->findFlag = &m_findFlag;
    m_catalogue->bookmarkFlag = &m_bookmarkFlag;
    m_pgcFiles->addTab(m_catalogue, QStringLiteral("Seznam souborů"));

    m_dlgFindNodeText = new FindDialog(this);
    connect(m_dlgFindNodeText, &FindDialog::shown, this, [this] { m_findFlag = true; });
    connect(m_dlgFindNodeText, &FindDialog::findNext, this, &TfrmAll::dlgFindNodeTextFind);

    createMenus();

    connect(m_catalogue, &CataloguePage::findRequested, this, &TfrmAll::tlbFindNodeClick);
    connect(m_catalogue, &CataloguePage::findNextRequested, this, &TfrmAll::tlbFindNextNodeClick);
    connect(m_catalogue, &CataloguePage::findDialogCloseRequested, m_dlgFindNodeText, &QDialog::close);
    connect(m_catalogue, &CataloguePage::selectionChanged, this, [this](TreeNode* n) {
        action(QStringLiteral("mnuAddMark"))->setEnabled(n && n->imageIndex == image::Chapter && false);
    });
    connect(m_pgcFiles, &QTabWidget::currentChanged, this, [this](int index) {
        if (index == PageFiles) {
            action(QStringLiteral("mnuFind"))->setEnabled(true);
            action(QStringLiteral("mnuFindNext"))->setEnabled(true);
            m_catalogue->trwFiles()->setFocus();
        }
    });
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
    QMenu* notes = tools->addMenu(QStringLiteral("Poznámky"));
    notes->menuAction()->setObjectName(QStringLiteral("mnuPoznamky"));
    m_actions.insert(QStringLiteral("mnuPoznamky"), notes->menuAction());
    addCommand(notes, QStringLiteral("mnuPoznamkyImport"), QStringLiteral("Importovat poznámky ..."),
               QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_I), 135, QStringLiteral("notes-import"));
    addCommand(notes, QStringLiteral("mnuPoznamkyExport"), QStringLiteral("Exportovat poznámky ..."),
               QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_E), 136, QStringLiteral("notes-export"));

    QMenu* edit = bar->addMenu(QStringLiteral("&Editace"));
    QAction* find = addCommand(edit, QStringLiteral("mnuFind"), QStringLiteral("Hledat ..."),
                               QKeySequence(Qt::CTRL | Qt::Key_F), 54, QStringLiteral("find-in-tree"));
    QAction* findNext = addCommand(edit, QStringLiteral("mnuFindNext"), QStringLiteral("Najít další"),
                                   QKeySequence(Qt::Key_F3), 55, QStringLiteral("find-next"));
    addCommand(edit, QStringLiteral("mnuFindText"), QStringLiteral("Vyhledat text v souborech"),
               QKeySequence(Qt::ALT | Qt::Key_F7), 137, QStringLiteral("search-start"));
    connect(find, &QAction::triggered, this, [this] {
        if (m_pgcFiles->currentIndex() == PageFiles)
            tlbFindNodeClick();
    });
    connect(findNext, &QAction::triggered, this, [this] {
        if (m_pgcFiles->currentIndex() == PageFiles)
            tlbFindNextNodeClick();
    });

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
    for (const char* name : {"mnuDelPrint", "mnuUpdate", "mnuPoznamkyImport", "mnuPoznamkyExport", "mnuFindText",
                             "mnuAddMark", "mnuEditMark", "mnuMarksImport", "mnuMarksExport", "mnuHelpIndex",
                             "mnuWhatsThis", "mnuVersionHistory", "mnuAbout"})
        action(QLatin1String(name))->setEnabled(false);
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

    // 7: the text-size preparation joins here with the chapter view.

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

    // 11: the view's own text size is saved here with the chapter view.

    m_lock->create(); // 12
    QApplication::setOverrideCursor(Qt::WaitCursor); // 13

    QString folder = m_settings.ReadFilesPath(); // 14
    if (folder.isEmpty())
        folder = m_env.layout.defaultChapterFolder();

    RestoreWindowGeometry(); // 15
    // 16: the search options and history are loaded here with the search page.
    m_pgcFiles->setCurrentIndex(PageFiles); // 17

    if (splash) { // 18
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
    // The bookmarks are loaded here with the bookmark menu.
    QApplication::processEvents();
    progress(QString(), false);
    QApplication::processEvents();

    progress(QStringLiteral("Načítám vlastní seznam ..."), false); // 22
    wait(500);
    // The custom tree is loaded here with its page.

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

    // 25: the notes font list is filled here with the notes page.
    raise(); // 26
    activateWindow();
    // 27: the help file is handed to the help router here.

    if (QFile::remove(m_env.layout.oldProgramFile())) // 28
        ShowMessage(this, QStringLiteral("Aktualizace nové verze programu byla dokončena."), MsgIcon::Information);

    action(QStringLiteral("mnuForum"))->setVisible(!P(ProfileId::ForumUrl).isEmpty()); // 29
}

void TfrmAll::closeEvent(QCloseEvent* event)
{
    // The question about unsaved notes joins here with the notes page.
    event->accept();
}

void TfrmAll::FormDestroy()
{
    if (m_destroyed)
        return;
    m_destroyed = true;
    if (m_secondInstance)
        return;
    // The bookmarks and the search options are saved first, with their features.
    SaveWindowGeometry();
    m_settings.WriteVersionValues(GetProgramVersion());
    WriteLastProject();
    // Then the chosen text size and the custom tree, with theirs.
}

void TfrmAll::RestoreWindowGeometry()
{
    const auto g = m_settings.readGeometry();
    if (!g) {
        resize(DesignWidth, DesignHeight);
        if (const QScreen* screen = QGuiApplication::primaryScreen()) {
            const QRect area = screen->availableGeometry();
            move(area.center() - QPoint(DesignWidth / 2, DesignHeight / 2));
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
    // The chapter view joins here: with a shown chapter and the option on, its path.
    const QString locationName;
    const bool open = !locationName.isEmpty() && action(QStringLiteral("mnuOpenLastProject"))->isChecked();
    m_settings.writeLastProject(open ? folder + RemoveFileExt(locationName) + QStringLiteral(".htm") : QString());
}

void TfrmAll::applyShowHints()
{
    const bool on = action(QStringLiteral("mnuShowHints"))->isChecked();
    m_catalogue->tlbarSeznam()->setShowHints(on);
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
    // The chapter view takes the keyboard when it holds a document.
}

void TfrmAll::tlbFindNodeClick()
{
    if (m_pgcFiles->currentIndex() == PageFiles)
        m_catalogue->trwFiles()->setFocus();
    m_dlgFindNodeText->show();
    m_dlgFindNodeText->raise();
    m_dlgFindNodeText->activateWindow();
}

void TfrmAll::tlbFindNextNodeClick()
{
    if (m_catalogue->statusBar()->text(1).trimmed().isEmpty()) {
        tlbFindNodeClick();
        return;
    }
    dlgFindNodeTextFind();
}

void TfrmAll::dlgFindNodeTextFind()
{
    CataloguePage* page = m_catalogue;
    ChapterTree& tree = page->tree();
    const int start = tree.absoluteIndex(page->selectedNode());
    const QString text = m_dlgFindNodeText->findText();
    TreeNode* found = FindTreeNode(tree, start, text, m_dlgFindNodeText->wholeWords(), m_dlgFindNodeText->matchCase(),
                                   m_dlgFindNodeText->upward());
    m_dlgFindNodeText->close();
    if (found) {
        page->selectNode(found);
        page->statusBar()->setText(1, text);
    } else {
        raise();
        activateWindow();
        ShowMessage(this, QStringLiteral("Nenalezeno!"), MsgIcon::Warning, MsgButtons::Ok, QStringLiteral("Chyba"));
        m_findFlag = true;
        m_dlgFindNodeText->setFindText(page->statusBar()->text(1));
    }
    page->trwFiles()->setFocus();
}

} // namespace tavio
