// The main window's start and end: the start-up sequence, the first show, closing and the saves.
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
#include "search/SearchPage.h"
#include "tools/TfrmDelPrint.h"
#include "update/TfrmIniViewer.h"
#include "update/TfrmUpdate.h"
#include "UpdateHost.h"
#include "widgets/HintedToolBar.h"
#include "widgets/PageControl.h"
#include "widgets/Accessibility.h"
#include "widgets/StatusBar.h"
#include "widgets/TreeModel.h"

#include <QApplication>
#include <QCloseEvent>
#include <QElapsedTimer>
#include <QLoggingCategory>
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

Q_LOGGING_CATEGORY(lcStartup, "tavio.startup", QtWarningMsg)

namespace {

// How long each step of the start-up takes, on stderr when "tavio.startup.debug" is on.
class StepClock
{
public:
    StepClock() { m_timer.start(); }
    void done(const char* step)
    {
        if (lcStartup().isDebugEnabled())
            qCDebug(lcStartup, "step %s %.1f ms", step, double(m_timer.nsecsElapsed()) / 1e6);
        m_timer.restart();
    }

private:
    QElapsedTimer m_timer;
};

} // namespace

void TfrmAll::openLastChapter()
{
    if (!m_settings.hasLastProject() || !action(QStringLiteral("mnuOpenLastProject"))->isChecked())
        return;
    const QString path = m_settings.readLastProject();
    m_state->setCurrentChapterPath(path);
    if (path.isEmpty() || !QFileInfo::exists(path))
        return;
    OpenChapterFile(path);
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

void TfrmAll::wait(int ms)
{
    if (m_env.fixedWaits)
        QThread::msleep(ulong(ms));
}

void TfrmAll::FormCreate(TfrmSplash* splash)
{
    // Every window shown from now on names its unnamed controls for screen readers.
    accessibility::install();
    StepClock clock;
    m_state->aboutWindowFlag = false;                                          // 1
    m_serialFinished = Profile::instance().boolean(ProfileId::SerialFinished); // 2
    m_defaultNotesPath = m_env.layout.defaultNotesPath();                      // 3
    moveHelpMenuRight();                                                       // 4
    setWindowTitle(P(ProfileId::ApplicationTitle));                            // 5

    m_customTreePath = m_env.layout.customTreePath(); // 6
    m_findHistoryPath = m_env.layout.findHistoryPath();
    QDir().mkpath(m_env.layout.dataFolder());
    // The reader's own state; a damaged file is put aside and costs only that.
    m_state->loadReading(m_env.layout.readingStatePath());

    // The values that steps 7 to 12 store reach the disk in one write at the end of
    // step 12, not one synced write each; each step still stores them in its turn.
    m_settings.store().beginBatch();
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
    clock.done("1-9 profile, folders, text size, options");

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
    m_settings.store().endBatch();
    QApplication::setOverrideCursor(Qt::WaitCursor); // 13
    clock.done("10-13 single instance");

    QString folder = m_settings.ReadFilesPath(); // 14
    if (folder.isEmpty())
        folder = m_env.layout.defaultChapterFolder();

    RestoreWindowGeometry(); // 15
    m_searchPage->LoadFindSettings(); // 16
    m_searchPage->LoadFindHistory();
    // 17: the page is already the current one when the window is new; its show rules
    // (the focus in the tree, the menu states) run all the same.
    if (m_pgcFiles->currentIndex() == PageFiles)
        pageShown(PageFiles);
    else
        m_pgcFiles->setCurrentIndex(PageFiles);

    if (splash) { // 18
        splash->move(geometry().center() - QPoint(splash->width() / 2, splash->height() / 2));
        splash->show();
        splash->raise();
    }
    QApplication::processEvents();
    clock.done("14-18 geometry, search options and history, splash shown");

    auto progress = [&](const QString& text, bool always) {
        if (splash) {
            if (always || !m_secondInstance)
                splash->setProgress(text);
            splash->repaintProgress();
        }
    };
    auto repaintProgress = [&] {
        if (splash)
            splash->repaintProgress();
    };
    progress(QStringLiteral("Načítám seznam ..."), false); // 19
    m_catalogue->setFolder(WithTrailingSeparator(QDir::fromNativeSeparators(folder))); // 20
    clock.done("19-20 catalogue");

    progress(QStringLiteral("Načítám záložky ..."), false); // 21
    wait(500);
    m_marks->LoadBookmarks(m_state->chapterFolder());
    QApplication::processEvents();
    repaintProgress();
    QApplication::processEvents();
    clock.done("21 bookmarks");

    progress(QStringLiteral("Načítám vlastní seznam ..."), false); // 22
    wait(500);
    if (m_customPage->loadAtStart(m_customTreePath))
        m_settings.WriteFilesPath(m_catalogue->folder());

    clock.done("22 custom tree");
    QApplication::processEvents(); // 23
    QApplication::restoreOverrideCursor();

    progress(QStringLiteral("Dokončeno. Spouštím aplikaci ..."), true); // 24
    wait(250);
    if (splash) {
        splash->setOnDestroy([this] {
            ActivateChapterView();
            m_state->aboutWindowFlag = false;
        });
        delete splash;
    }
    clock.done("23-24 splash closed");

    // A custom tree file that did not load is reported once the splash has gone.
    if (const QString warning = m_customPage->startUpWarning(); !warning.isEmpty())
        ShowMessage(this, warning, MsgIcon::Warning);

    m_notesPage->FillFontList(); // 25
    clock.done("25 notes font list");
    raise(); // 26
    activateWindow();
    m_helpRouter->setHelpFile(m_env.layout.helpFile()); // 27

    if (QFile::remove(m_env.layout.oldProgramFile())) // 28
        ShowMessage(this, QStringLiteral("Aktualizace nové verze programu byla dokončena."), MsgIcon::Information);

    action(QStringLiteral("mnuForum"))->setVisible(!P(ProfileId::ForumUrl).isEmpty()); // 29
    clock.done("26-29 help file, finished update, forum");
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
    m_state->saveReading();
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
    // No view yet: no chapter was shown.
    const QString locationName
        = m_chapter->hasView() && m_chapter->wbFile()->hasDocument() ? m_chapter->wbFile()->locationName() : QString();
    const bool open = !locationName.isEmpty() && action(QStringLiteral("mnuOpenLastProject"))->isChecked();
    m_settings.writeLastProject(open ? folder + RemoveFileExt(locationName) + QStringLiteral(".htm") : QString());
}

} // namespace tavio
