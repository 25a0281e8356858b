// The main window's menus and the commands behind them.
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
#include "quickopen/TfrmQuickOpen.h"
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

void TfrmAll::mnuUpdateClick()
{
    UpdateHost h;
    h.layout = m_env.layout;
    h.showHints = m_state->showHints();
    const UpdateServerChoice server = ChooseUpdateServer(
        QCoreApplication::arguments(),
        m_settings.store().readString(AppSettings::settingsKey(), QLatin1String(UpdateServerValueName)).value_or(QString()));
    h.addresses = server.addresses;
    h.serverNote = server.note;
    h.updateKey = BuiltInUpdateKey();
    h.serialFinished = SerialFinished();
    h.chapterFolder = [this] { return m_state->chapterFolder(); };
    h.catalogueTree = [this] { return &m_catalogue->tree(); };
    // Rebuilding the catalogue refills the search page's list as well.
    h.rebuildCatalogue = [this](const QString& folder) { rebuildAfterUpdate(folder); };
    h.refreshSearchList = [this] { m_searchPage->RefreshFileCheckTree(); };
    h.enableNextChapter = [this] { m_chapter->tlbNextCap()->setEnabled(true); };
    h.showIniFile = [this](const QString& path) { m_frmIniViewer->showFile(path); };
    // What closing would ask is asked before a restart; answered once, it is not asked again.
    h.settleCloseQuestions = [this] {
        if (m_searchPage->searching() || !m_notesPage->FormCloseQuery())
            return false;
        m_notesPage->reNotes()->setModified(false);
        return true;
    };
    h.releaseInstanceLock = [this] {
        if (m_lock)
            m_lock->release();
    };
    h.activateChapterView = [this] { ActivateChapterView(); };
    if (updateHostOverride)
        updateHostOverride(h);
    TfrmUpdate::run(this, h);
}

void TfrmAll::mnuQuickOpenClick()
{
    const QString folder = QDir::fromNativeSeparators(m_catalogue->folder());
    TfrmQuickOpen dlg(ChapterMatcher::fromTree(m_catalogue->tree(), folder),
                      recentChapters ? recentChapters() : QStringList(), this);
    const bool taken = dlg.exec() == QDialog::Accepted && dlg.chosen();
    // The catalogue may not change under a modal window; the node is looked up afresh all the same.
    TreeNode* node = nullptr;
    if (taken) {
        m_catalogue->tree().forEach([&](TreeNode* n) {
            if (!node && n->caption == dlg.chosen()->caption && !n->hasChildren())
                node = n;
        });
    }
    if (node)
        OpenChapterNode(m_catalogue->trwFiles(), m_catalogue->model(), node);
    else
        ActivateChapterView();
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
    if (m_pgcFiles->currentIndex() == PageChapter && m_chapter->hasView() && m_chapter->wbFile()->hasDocument())
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
        1, QStringLiteral("Aktuální čas: [") + QLocale().toString(m_state->now().time(), format) + QStringLiteral("]"));
}

void TfrmAll::createMenus()
{
    QMenuBar* bar = menuBar();
    QMenu* file = bar->addMenu(QStringLiteral("&Soubor"));
    connect(addCommand(file, QStringLiteral("mnuExportChapterNotes"), QStringLiteral("Exportovat poznámky kapitoly ..."),
                       {}, 136, QStringLiteral("notes-export")),
            &QAction::triggered, this, [this] { m_notesPage->exportChapterNotes(); });
    connect(addCommand(file, QStringLiteral("mnuExportAllNotes"), QStringLiteral("Exportovat všechny poznámky ..."), {},
                       136, QStringLiteral("notes-export")),
            &QAction::triggered, this, [this] { m_notesPage->exportAllNotes(); });
    file->addSeparator();
    QAction* konec = addCommand(file, QStringLiteral("mnuKonec"), QStringLiteral("&Konec"),
                                QKeySequence(Qt::ALT | Qt::Key_F4), 51, QStringLiteral("exit"));
    connect(konec, &QAction::triggered, this, &QWidget::close);
    QAction* quickOpen = addCommand(file, QStringLiteral("mnuQuickOpen"), QStringLiteral("Rychle otevřít kapitolu ..."),
                                    QKeySequence(Qt::CTRL | Qt::Key_P), 0, QStringLiteral("find-in-tree"));
    file->insertAction(konec, quickOpen);
    file->insertSeparator(konec);
    connect(quickOpen, &QAction::triggered, this, &TfrmAll::mnuQuickOpenClick);

    QMenu* tools = bar->addMenu(QStringLiteral("&Nástroje"));
    addCommand(tools, QStringLiteral("mnuDelPrint"), QStringLiteral("Vyčistit soubory ..."),
               QKeySequence(Qt::CTRL | Qt::Key_T), 9, QStringLiteral("clean-files"));
    addCommand(tools, QStringLiteral("mnuUpdate"), QStringLiteral("Aktualizace ..."), QKeySequence(Qt::CTRL | Qt::Key_U),
               48, QStringLiteral("update"));
    connect(action(QStringLiteral("mnuDelPrint")), &QAction::triggered, this, [this] {
        TfrmDelPrint::run(this, SerialFinished(), m_state->chapterFolder(), m_env.layout.logFolder(),
                          m_state->showHints(),
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
    // A menu of the menu bar like the others: reached with Alt and its letter, not with Tab.
    m_helpButton->setFocusPolicy(Qt::NoFocus);
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

void TfrmAll::applyShowHints()
{
    const bool on = action(QStringLiteral("mnuShowHints"))->isChecked();
    m_state->setShowHints(on);
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
        m_state->findFlag = true;
        m_dlgFindNodeText->setFindText(m_catalogue->statusBar()->text(1));
    }
    view->setFocus();
}

} // namespace tavio
