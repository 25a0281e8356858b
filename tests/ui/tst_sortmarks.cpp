#include "Bookmarks.h"
#include "RecordingMessages.h"
#include "SettingsStore.h"
#include "TestFiles.h"
#include "TfrmAll.h"
#include "marks/BookmarkMenu.h"
#include "marks/TfrmSortMarks.h"

#include <QAction>
#include <QApplication>
#include <QEventLoop>
#include <QListWidget>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QMouseEvent>
#include <QPointer>
#include <QPushButton>
#include <QSignalSpy>
#include <QStatusBar>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

using namespace tavio;

namespace {

const QString FormKey = QStringLiteral("\\Software\\Marrowick\\Tavio\\FormSettings\\frmSortMarks\\");

// A main window with the bookmark menu as the program makes it, a settings store
// and a chapter folder; the dialogs answer from lists.
struct Host
{
    Host()
    {
        store = std::make_unique<SettingsStore>(dir.filePath(QStringLiteral("hive.ini")));
        folder = dir.filePath(QStringLiteral("Htm")) + QLatin1Char('/');
        for (const char* name : {"0001.htm", "0002-01.htm", "0003.htm"})
            testfiles::write(folder + QLatin1String(name), "<H2>Lekce - Kapitola</H2>\r\n");
        window.setGeometry(100, 100, 700, 500);
        QMenu* menu = window.menuBar()->addMenu(QStringLiteral("&Záložky"));
        menu->setObjectName(QStringLiteral("mnuMarks"));
        const QList<TMarkMenuItem> fixed = Bookmarks::fixedItems();
        for (int i = 0; i < 4; ++i) {
            QAction* a = menu->addAction(fixed[i].Caption);
            a->setObjectName(fixed[i].Name);
            a->setShortcut(QKeySequence(ShortCutToKey(fixed[i].ShortCut)));
        }
        menu->addSeparator()->setObjectName(QStringLiteral("mnuSeparMark"));
        marks = new BookmarkMenu(*store, menu, &window);
        marks->dialogs.inputText = [this](QWidget*, const QString& caption, const QString&,
                                          const QString& text) -> std::optional<QString> {
            asked.append(caption + QStringLiteral(": ") + text);
            return answers.isEmpty() ? std::nullopt : answers.takeFirst();
        };
        marks->dialogs.saveFile = [this](QWidget*) { ++fileDialogs; return fileAnswer; };
        marks->dialogs.openFile = [this](QWidget*) { ++fileDialogs; return fileAnswer; };
        marks->dialogs.runManager = [this](TfrmSortMarks& m) {
            ++managers;
            if (onManager)
                onManager(m);
        };
        marks->bookmarkFlag = &bookmarkFlag;
        marks->LoadBookmarks(folder);
    }

    // Adds a bookmark to a chapter of the catalogue under the given name.
    void add(const QString& file, const QString& name)
    {
        answers.append(name);
        QVERIFY(marks->AddBookmark(
            MarkFromTreeNode(ttFiles, file + QStringLiteral(" [ Kapitola ]"), 1, folder)));
    }

    QMenu* menu() const { return marks->mnuMarks(); }
    QStringList texts() const
    {
        QStringList out;
        for (QAction* a : menu()->actions())
            out.append(a->isSeparator() ? QStringLiteral("-") : a->text());
        return out;
    }

    QTemporaryDir dir;
    std::unique_ptr<SettingsStore> store;
    QString folder;
    QMainWindow window;
    BookmarkMenu* marks = nullptr;
    QList<std::optional<QString>> answers;
    QStringList asked;
    QString fileAnswer;
    int fileDialogs = 0;
    int managers = 0;
    std::function<void(TfrmSortMarks&)> onManager;
    bool bookmarkFlag = false;
};

void hover(TfrmSortMarks& m, int row)
{
    QWidget* vp = m.lbMarks()->viewport();
    const QPoint pos
        = row < 0 ? QPoint(5, vp->height() - 2) : m.lbMarks()->visualItemRect(m.lbMarks()->item(row)).center();
    QMouseEvent move(QEvent::MouseMove, pos, vp->mapToGlobal(pos), Qt::NoButton, Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(vp, &move);
}

} // namespace

class TestSortMarks final : public QObject
{
    Q_OBJECT
private slots:
    void qtRunsReplacedCommandOnce_data();
    void qtRunsReplacedCommandOnce();
    void importByShortcutInMainWindow();
    void menuItems();
    void importedShortcuts();
    void addBookmark_data();
    void addBookmark();
    void openBookmark();
    void exportAndImportCommands();
    void managerWindow();
    void managerMoves();
    void managerRename_data();
    void managerRename();
    void managerDelete();
    void managerDeleteAllThenOk();
    void managerStornoChangesNothing();
    void managerHint();
};

// A command whose own menu item is replaced while it runs: with a modal dialog's
// event loop in between or not, through its shortcut, its menu or a direct call.
void TestSortMarks::qtRunsReplacedCommandOnce_data()
{
    QTest::addColumn<QString>("how");
    QTest::addColumn<bool>("nestedLoop");
    for (const char* how : {"shortcut", "menu", "trigger"}) {
        QTest::newRow(how) << QString::fromLatin1(how) << false;
        QTest::newRow(qPrintable(QLatin1String(how) + QLatin1String(" with a dialog")))
            << QString::fromLatin1(how) << true;
    }
}

void TestSortMarks::qtRunsReplacedCommandOnce()
{
    QFETCH(QString, how);
    QFETCH(bool, nestedLoop);
    QMainWindow window;
    QMenu* menu = window.menuBar()->addMenu(QStringLiteral("&Záložky"));
    int runs = 0;
    QPointer<QAction> current;
    std::function<void()> handler;
    auto makeItem = [&] {
        QAction* a = menu->addAction(QStringLiteral("Importovat záložky ..."));
        a->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_I));
        QObject::connect(a, &QAction::triggered, &window, [&] { handler(); });
        current = a;
    };
    handler = [&] {
        ++runs;
        if (nestedLoop) {
            QEventLoop loop;
            QTimer::singleShot(30, &loop, &QEventLoop::quit);
            loop.exec();
        }
        // The rebuild: the running command's item goes, an equal one takes its place.
        QAction* old = current;
        menu->removeAction(old);
        old->deleteLater();
        makeItem();
    };
    makeItem();
    window.show();
    QApplication::setActiveWindow(&window);
    QVERIFY(QTest::qWaitForWindowActive(&window));

    for (int round = 1; round <= 2; ++round) {
        QPointer<QAction> before = current;
        if (how == QStringLiteral("shortcut")) {
            QTest::keyClick(&window, Qt::Key_I, Qt::ControlModifier);
        } else if (how == QStringLiteral("menu")) {
            menu->popup(window.mapToGlobal(QPoint(10, 30)));
            QVERIFY(QTest::qWaitForWindowExposed(menu));
            const QPoint at = menu->actionGeometry(current).center();
            QTest::mouseClick(menu, Qt::LeftButton, {}, at);
        } else {
            current->trigger();
        }
        QTest::qWait(100);
        QCOMPARE(runs, round);
        QVERIFY(!before);  // the old item is gone
        QVERIFY(current);
        QCOMPARE(menu->actions().size(), 1);
    }
}

// The same through the main window's own menu: Ctrl+I imports once.
void TestSortMarks::importByShortcutInMainWindow()
{
    QTemporaryDir dir;
    SettingsStore store(dir.filePath(QStringLiteral("hive.ini")));
    const QString program = dir.filePath(QStringLiteral("program")) + QLatin1Char('/');
    testfiles::write(program + QStringLiteral("Htm/0001.htm"), "<H2>Lekce 1 - A</H2>\r\n");
    TfrmAll w(Environment{FileLayout(program, dir.filePath(QStringLiteral("data"))), &store,
                          dir.filePath(QStringLiteral("run")), false});
    QMenu* menu = w.findChild<QMenu*>(QStringLiteral("mnuMarks"));
    QVERIFY(menu);
    BookmarkMenu* marks = w.bookmarkMenu();
    QCOMPARE(marks->fixedAction(mpAddMark), w.action(QStringLiteral("mnuAddMark")));
    QCOMPARE(marks->fixedAction(mpSeparMark), w.action(QStringLiteral("mnuSeparMark")));
    marks->LoadBookmarks(program + QStringLiteral("Htm/"));

    Bookmarks source;
    source.AddBookmark(MarkFromTreeNode(ttFiles, QStringLiteral("0001.htm [ A ]"), 0, program), QStringLiteral("A"));
    const QString file = dir.filePath(QStringLiteral("a.mrk"));
    QCOMPARE(source.ExportBookmarks(file), Bookmarks::ExportResult::Ok);

    RecordingMessages messages;
    int dialogs = 0;
    marks->dialogs.openFile = [&](QWidget*) {
        ++dialogs;
        return file;
    };
    w.show();
    QApplication::setActiveWindow(&w);
    QVERIFY(QTest::qWaitForWindowActive(&w));
    QTest::keyClick(&w, Qt::Key_I, Qt::ControlModifier);
    QTest::qWait(100);
    QCOMPARE(dialogs, 1);
    QCOMPARE(messages.texts(), QStringList{QStringLiteral("Záložky byly načteny")});
    QCOMPARE(menu->actions().size(), 6);
    // The next choice of the command is not swallowed.
    QTest::keyClick(&w, Qt::Key_I, Qt::ControlModifier);
    QTest::qWait(50);
    QCOMPARE(dialogs, 2);
}

void TestSortMarks::menuItems()
{
    Host h;
    h.add(QStringLiteral("0001.htm"), QStringLiteral("Vstup & výstup"));
    h.add(QStringLiteral("0002-01.htm"), QStringLiteral("Menu && okna"));
    const QList<QAction*> items = h.menu()->actions();
    QCOMPARE(items.size(), 7);
    QCOMPARE(items[5]->text(), QStringLiteral("Vstup && výstup"));
    QCOMPARE(items[6]->text(), QStringLiteral("Menu && okna"));
    QCOMPARE(items[6]->objectName(), QStringLiteral("mark_2"));
    QVERIFY(items[5]->shortcut().isEmpty());
    QVERIFY(!items[5]->icon().isNull());
    // A bookmark made during the run carries its path as hint at once.
    const QString hint = QStringLiteral("<< Záložka >> ") + h.folder + QStringLiteral("0001.htm");
    QCOMPARE(items[5]->statusTip(), hint);
    QCOMPARE(items[5]->toolTip(), hint);

    h.marks->MoveToFolder(h.dir.filePath(QStringLiteral("jinde/")));
    QCOMPARE(
        items[6]->statusTip(), QStringLiteral("<< Záložka >> ") + h.dir.filePath(QStringLiteral("jinde/0002-01.htm")));

}

void TestSortMarks::importedShortcuts()
{
    Host h;
    h.add(QStringLiteral("0001.htm"), QStringLiteral("Jedna"));
    const QString file = h.dir.filePath(QStringLiteral("keys.mrk"));
    QCOMPARE(h.marks->bookmarks().ExportBookmarks(file), Bookmarks::ExportResult::Ok);
    QByteArray b = testfiles::read(file);
    const QKeyCombination keys[] = {QKeyCombination(Qt::ControlModifier, Qt::Key_F5),
                                    QKeyCombination(Qt::ControlModifier | Qt::ShiftModifier, Qt::Key_M),
                                    QKeyCombination(Qt::AltModifier, Qt::Key_9),
                                    QKeyCombination(Qt::ShiftModifier, Qt::Key_Insert)};
    for (int r = 0; r < 4; ++r) {
        const quint16 code = KeyToShortCut(keys[r]);
        b[r * 827 + 825] = char(code & 0xFF);
        b[r * 827 + 826] = char(code >> 8);
    }
    testfiles::write(file, b);
    RecordingMessages messages;
    h.fileAnswer = file;
    h.marks->mnuMarksImportClick();
    QCOMPARE(messages.texts(), QStringList{QStringLiteral("Záložky byly načteny")});
    for (int r = 0; r < 4; ++r)
        QCOMPARE(h.marks->fixedAction(r)->shortcut(), QKeySequence(keys[r]));
    // A later export hands them on.
    const QString again = h.dir.filePath(QStringLiteral("again.mrk"));
    QCOMPARE(h.marks->bookmarks().ExportBookmarks(again), Bookmarks::ExportResult::Ok);
    QCOMPARE(testfiles::read(again), b);

    // The commands answer to their new keys, and no longer to the old ones.
    h.window.show();
    QApplication::setActiveWindow(&h.window);
    QVERIFY(QTest::qWaitForWindowActive(&h.window));
    QSignalSpy add(h.marks, &BookmarkMenu::addMarkRequested);
    QTest::keyClick(&h.window, Qt::Key_B, Qt::ControlModifier);
    QTest::keyClick(&h.window, Qt::Key_E, Qt::ControlModifier);
    QCOMPARE(add.size(), 0);
    QCOMPARE(h.managers, 0);
    QTest::keyClick(&h.window, Qt::Key_F5, Qt::ControlModifier);
    QTest::keyClick(&h.window, Qt::Key_M, Qt::ControlModifier | Qt::ShiftModifier);
    QCOMPARE(add.size(), 1);
    QCOMPARE(h.managers, 1);
}

void TestSortMarks::addBookmark_data()
{
    QTest::addColumn<std::optional<QString>>("answer");
    QTest::addColumn<QString>("message");
    QTest::addColumn<QString>("stored"); // empty: nothing added
    QTest::newRow("as proposed") << std::optional<QString>(QStringLiteral("Kapitola")) << QString() << "Kapitola";
    QTest::newRow("blanks kept") << std::optional<QString>(QStringLiteral("  Moje  ")) << QString() << "  Moje  ";
    QTest::newRow("blanks only") << std::optional<QString>(QStringLiteral("   ")) << "Nebyl zadán název záložky"
                                 << QString();
    QTest::newRow("cancel") << std::optional<QString>() << QString() << QString();
}

void TestSortMarks::addBookmark()
{
    QFETCH(std::optional<QString>, answer);
    QFETCH(QString, message);
    QFETCH(QString, stored);
    Host h;
    RecordingMessages messages;
    h.answers.append(answer);
    TTreeMark proposal = MarkFromTreeNode(ttCustom, QStringLiteral("0003.htm [  Kapitola  ]"), 4, h.folder);
    QVERIFY(h.marks->AddBookmark(proposal));
    QCOMPARE(h.asked, QStringList{QStringLiteral("Vytvořit novou záložku: Kapitola")});
    QCOMPARE(messages.texts(), message.isEmpty() ? QStringList() : QStringList{message});
    if (!message.isEmpty())
        QCOMPARE(messages.shown[0].icon, MsgIcon::Error);
    QCOMPARE(h.bookmarkFlag, !stored.isEmpty());
    if (stored.isEmpty()) {
        QCOMPARE(h.menu()->actions().size(), 5);
        QVERIFY(h.marks->bookmarks().list().isEmpty());
        return;
    }
    const TTreeMark& m = h.marks->bookmarks().list().at(5);
    QCOMPARE(m.Caption, stored);
    QCOMPARE(m.FileName, h.folder + QStringLiteral("0003.htm"));
    QCOMPARE(m.AbsolutId, 4);
    QCOMPARE(m.TreeType, TTreeTypes(ttCustom));
    QCOMPARE(h.menu()->actions().size(), 6);
}

void TestSortMarks::openBookmark()
{
    Host h;
    RecordingMessages messages;
    h.add(QStringLiteral("0001.htm"), QStringLiteral("Jedna"));
    h.add(QStringLiteral("0003.htm"), QStringLiteral("Tři"));
    QSignalSpy opened(h.marks, &BookmarkMenu::openBookmark);
    h.menu()->actions()[6]->trigger();
    QCOMPARE(opened.size(), 1);
    QCOMPARE(opened[0][0].toInt(), 6);
    QCOMPARE(opened[0][1].toString(), h.folder + QStringLiteral("0003.htm"));

    // A deleted chapter: the message, and the bookmark stays.
    QFile::remove(h.folder + QStringLiteral("0001.htm"));
    const QStringList before = h.texts();
    h.menu()->actions()[5]->trigger();
    QCOMPARE(opened.size(), 1);
    QCOMPARE(messages.texts(), QStringList{QStringLiteral("Soubor nebyl nalezen")});
    QCOMPARE(messages.shown[0].icon, MsgIcon::Error);
    QCOMPARE(h.texts(), before);
    // A folder in the chapter's place is not a chapter either.
    QDir().mkpath(h.folder + QStringLiteral("0001.htm"));
    h.menu()->actions()[5]->trigger();
    QCOMPARE(opened.size(), 1);

    // A proposal without a chapter file makes no bookmark.
    h.marks->addBookmarkCommand(MarkFromTreeNode(ttFiles, QStringLiteral("0002"), 2, h.folder));
    QCOMPARE(messages.texts().last(), QStringLiteral("Záložku nelze vytvořit"));
    QCOMPARE(h.menu()->actions().size(), 7);
}

void TestSortMarks::exportAndImportCommands()
{
    Host h;
    RecordingMessages messages;
    h.marks->mnuMarksExportClick();
    QCOMPARE(h.fileDialogs, 0);
    QCOMPARE(messages.texts().last(), QStringLiteral("Nebyly vytvořeny žádné záložky => není co exportovat"));

    h.add(QStringLiteral("0001.htm"), QStringLiteral("Jedna"));
    h.add(QStringLiteral("0002-01.htm"), QStringLiteral("Dvě"));
    h.fileAnswer.clear(); // cancel
    h.marks->mnuMarksExportClick();
    QCOMPARE(messages.shown.size(), 1);

    h.fileAnswer = h.dir.filePath(QStringLiteral("moje.mrk"));
    h.marks->mnuMarksExportClick();
    QCOMPARE(messages.texts().last(), QStringLiteral("Záložky byly uloženy"));
    QCOMPARE(messages.shown.last().icon, MsgIcon::Information);
    QCOMPARE(QFileInfo(h.fileAnswer).size(), 7 * 827);

    h.fileAnswer = h.dir.path();
    h.marks->mnuMarksExportClick();
    QVERIFY(messages.texts().last().contains(QDir::toNativeSeparators(h.dir.path())));
    QCOMPARE(messages.shown.last().icon, MsgIcon::Error);

    // A foreign file: the message, and the menu and list as they were.
    QByteArray foreign = testfiles::read(h.dir.filePath(QStringLiteral("moje.mrk")));
    foreign.replace(6 * 827 + 2, 5, "Jiný!");
    h.fileAnswer = h.dir.filePath(QStringLiteral("cizi.mrk"));
    testfiles::write(h.fileAnswer, foreign);
    const QStringList before = h.texts();
    const QList<TTreeMark> list = h.marks->bookmarks().list();
    h.marks->mnuMarksImportClick();
    QCOMPARE(messages.texts().last(), QStringLiteral("Chyba při čtení záložek."));
    QCOMPARE(messages.shown.last().icon, MsgIcon::Error);
    QCOMPARE(h.texts(), before);
    QCOMPARE(h.marks->bookmarks().list(), list);

    // Another program's own file replaces everything at once.
    Host other;
    other.add(QStringLiteral("0003.htm"), QStringLiteral("A & B"));
    other.marks->bookmarks().ExportBookmarks(h.fileAnswer);
    QSignalSpy rebuilt(h.marks, &BookmarkMenu::menuRebuilt);
    h.marks->mnuMarksImportClick();
    QCOMPARE(messages.texts().last(), QStringLiteral("Záložky byly načteny"));
    QCOMPARE(rebuilt.size(), 1);
    QCOMPARE(h.menu()->actions().size(), 6);
    QCOMPARE(h.menu()->actions()[5]->text(), QStringLiteral("A && B"));
    QCOMPARE(
        h.menu()->actions()[5]->statusTip(), QStringLiteral("<< Záložka >> ") + h.folder + QStringLiteral("0003.htm"));
    QVERIFY(h.menu()->actions()[4]->isSeparator());
}

void TestSortMarks::managerWindow()
{
    Host h;
    h.window.show();
    {
        TfrmSortMarks m(*h.marks, true, &h.window);
        QCOMPARE(m.size(), QSize(300, 350));
        QCOMPARE(m.geometry().center(), h.window.geometry().center());
        m.show();
        QVERIFY(QTest::qWaitForWindowExposed(&m));
        m.setGeometry(40, 60, 420, 480);
        m.reject();
    }
    // Its bounds are kept whichever way it closed, and used the next time.
    QCOMPARE(*h.store->readInteger(FormKey, QStringLiteral("Left")), 40);
    QCOMPARE(*h.store->readInteger(FormKey, QStringLiteral("Height")), 480);
    h.store->deleteValue(FormKey, QStringLiteral("Top"));
    h.store->writeInteger(FormKey, QStringLiteral("Width"), 100);
    {
        TfrmSortMarks again(*h.marks, true, &h.window);
        QCOMPARE(again.x(), 40);
        QCOMPARE(again.size(), QSize(300, 480));
    }

    // The edit command runs the manager and hands the keyboard back once it is gone.
    bool ran = false;
    int activated = 0;
    h.onManager = [&](TfrmSortMarks&) { ran = true; };
    h.marks->activateChapterView = [&] { activated += ran ? 1 : 0; };
    h.marks->fixedAction(mpEditMark)->trigger();
    QCOMPARE(h.managers, 1);
    QCOMPARE(activated, 1);
}

void TestSortMarks::managerMoves()
{
    Host h;
    h.add(QStringLiteral("0001.htm"), QStringLiteral("První"));
    h.add(QStringLiteral("0002-01.htm"), QStringLiteral("Druhá"));
    h.add(QStringLiteral("0003.htm"), QStringLiteral("Třetí"));
    TfrmSortMarks m(*h.marks, true, &h.window);
    m.show();
    QCOMPARE(m.lines(), (QStringList{QStringLiteral("První"), QStringLiteral("Druhá"), QStringLiteral("Třetí")}));
    QCOMPARE(m.lbMarks()->currentRow(), 0);
    m.btnUpClick(); // the first line stays first
    QCOMPARE(m.lbMarksInv(), (QList<int>{5, 6, 7}));

    m.lbMarks()->setCurrentRow(1);
    m.btnUpClick();
    QCOMPARE(m.lbMarks()->currentRow(), 0);
    QCOMPARE(m.lines(), (QStringList{QStringLiteral("Druhá"), QStringLiteral("První"), QStringLiteral("Třetí")}));
    QCOMPARE(m.lbMarksInv(), (QList<int>{6, 5, 7}));
    hover(m, 0);
    QCOMPARE(m.statusText(), QDir::toNativeSeparators(h.folder + QStringLiteral("0002-01.htm")));
    hover(m, -1);
    QCOMPARE(m.statusText(), QString());

    m.lbMarks()->setCurrentRow(1);
    m.btnDownClick();
    m.btnDownClick(); // the last line stays last
    QCOMPARE(m.lbMarks()->currentRow(), 2);
    QCOMPARE(m.lbMarksInv(), (QList<int>{6, 7, 5}));
    m.accept();

    const QStringList moved{QStringLiteral("Druhá"), QStringLiteral("Třetí"), QStringLiteral("První")};
    QCOMPARE(h.texts().mid(5), moved);
    const QList<TTreeMark>& list = h.marks->bookmarks().list();
    QCOMPARE(list[5].Name, QStringLiteral("mark_0"));
    QCOMPARE(list[7].Name, QStringLiteral("mark_2"));
    QCOMPARE(list[5].FileName, h.folder + QStringLiteral("0002-01.htm"));
    QCOMPARE(list[7].FileName, h.folder + QStringLiteral("0001.htm"));
    QCOMPARE(h.menu()->actions()[5]->objectName(), QStringLiteral("mark_0"));
    // The command entries are made from the fixed items.
    for (int i = 0; i < 5; ++i) {
        QCOMPARE(list[i].Name, Bookmarks::fixedItems()[i].Name);
        QCOMPARE(list[i].ShortCut, Bookmarks::fixedItems()[i].ShortCut);
        QCOMPARE(list[i].TreeType, TTreeTypes(ttCommand));
        QCOMPARE(list[i].AbsolutId, -1);
    }
    QCOMPARE(h.marks->fixedAction(mpEditMark)->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_E));
    QVERIFY(h.marks->fixedAction(mpSeparMark)->isSeparator());
}

void TestSortMarks::managerRename_data()
{
    QTest::addColumn<std::optional<QString>>("answer");
    QTest::addColumn<QString>("line");
    QTest::addColumn<QString>("message");
    QTest::newRow("ampersand") << std::optional<QString>(QStringLiteral("Menu & okna")) << "Menu & okna" << QString();
    QTest::newRow("trimmed") << std::optional<QString>(QStringLiteral("  Nový  ")) << "Nový" << QString();
    QTest::newRow("empty") << std::optional<QString>(QStringLiteral(" ")) << "  Stará  "
                           << "Nebyl zadán název záložky";
    QTest::newRow("cancel trims") << std::optional<QString>() << "Stará" << QString();
}

void TestSortMarks::managerRename()
{
    QFETCH(std::optional<QString>, answer);
    QFETCH(QString, line);
    QFETCH(QString, message);
    Host h;
    RecordingMessages messages;
    h.add(QStringLiteral("0001.htm"), QStringLiteral("  Stará  "));
    h.asked.clear();
    TfrmSortMarks m(*h.marks, true, &h.window);
    m.show();
    QVERIFY(QTest::qWaitForWindowExposed(&m));
    h.answers.append(answer);
    // A double click on the line renames it too.
    const QRect r = m.lbMarks()->visualItemRect(m.lbMarks()->item(0));
    QTest::mouseClick(m.lbMarks()->viewport(), Qt::LeftButton, {}, r.center());
    QTest::mouseDClick(m.lbMarks()->viewport(), Qt::LeftButton, {}, r.center());
    QCOMPARE(h.asked, QStringList{QStringLiteral("Změnit název záložky:   Stará  ")});
    QCOMPARE(m.lines(), QStringList{line});
    QCOMPARE(messages.texts(), message.isEmpty() ? QStringList() : QStringList{message});
    m.accept();
    // Stored escaped, shown in the menu and in the manager as typed.
    QCOMPARE(h.marks->bookmarks().list()[5].Caption, EscapeAmpersands(line));
    QCOMPARE(h.menu()->actions()[5]->text(), EscapeAmpersands(line));
    TfrmSortMarks again(*h.marks, true, &h.window);
    again.show();
    QCOMPARE(again.lines(), QStringList{line});
}

void TestSortMarks::managerDelete()
{
    Host h;
    for (const char* name : {"A", "B", "C", "D"})
        h.add(QStringLiteral("0001.htm"), QLatin1String(name));
    TfrmSortMarks m(*h.marks, true, &h.window);
    m.show();
    m.lbMarks()->setCurrentRow(1);
    m.btnDeleteClick();
    QCOMPARE(m.lines(), (QStringList{QStringLiteral("A"), QStringLiteral("C"), QStringLiteral("D")}));
    QCOMPARE(m.lbMarksInv(), (QList<int>{5, 7, 8}));
    QCOMPARE(m.lbMarks()->currentRow(), 1);
    m.lbMarks()->setCurrentRow(2);
    m.btnDeleteClick();
    QCOMPARE(m.lbMarks()->currentRow(), 1);
    QCOMPARE(m.lbMarksInv(), (QList<int>{5, 7}));
    m.btnDeleteClick();
    m.btnDeleteClick();
    QCOMPARE(m.lbMarks()->currentRow(), -1);
    m.btnDeleteClick(); // nothing left to delete
    QVERIFY(m.lbMarksInv().isEmpty());
}

void TestSortMarks::managerDeleteAllThenOk()
{
    Host h;
    RecordingMessages messages;
    h.add(QStringLiteral("0001.htm"), QStringLiteral("A"));
    h.add(QStringLiteral("0003.htm"), QStringLiteral("B"));
    h.onManager = [](TfrmSortMarks& m) {
        m.show();
        m.btnDeleteAllClick();
        QVERIFY(m.lines().isEmpty());
        m.btnOK()->click();
    };
    h.marks->mnuEditMarkClick();
    const QStringList fixed{QStringLiteral("Přidat záložku ..."), QStringLiteral("Editovat záložky ..."),
                            QStringLiteral("Importovat záložky ..."), QStringLiteral("Exportovat záložky ..."),
                            QStringLiteral("-")};
    QCOMPARE(h.texts(), fixed);
    QCOMPARE(h.marks->bookmarks().list().size(), 5);
    h.marks->mnuMarksExportClick();
    QCOMPARE(messages.texts(), QStringList{QStringLiteral("Nebyly vytvořeny žádné záložky => není co exportovat")});
}

void TestSortMarks::managerStornoChangesNothing()
{
    Host h;
    h.add(QStringLiteral("0001.htm"), QStringLiteral("A & B"));
    h.add(QStringLiteral("0003.htm"), QStringLiteral("C"));
    const QList<TTreeMark> list = h.marks->bookmarks().list();
    const QList<TMarkMenuItem> items = h.marks->bookmarks().menu();
    const QList<QAction*> actions = h.menu()->actions();
    const QStringList texts = h.texts();
    h.onManager = [&](TfrmSortMarks& m) {
        m.show();
        m.lbMarks()->setCurrentRow(1);
        m.btnUpClick();
        h.answers.append(QStringLiteral("Jiné"));
        m.btnEditClick();
        m.btnDeleteClick();
        QTest::keyClick(&m, Qt::Key_Escape);
        QVERIFY(!m.isVisible());
        m.btnDeleteAllClick();
        m.btnStorno()->click();
    };
    h.marks->mnuEditMarkClick();
    QCOMPARE(h.marks->bookmarks().list(), list);
    QCOMPARE(h.marks->bookmarks().menu(), items);
    QCOMPARE(h.menu()->actions(), actions);
    QCOMPARE(h.texts(), texts);
}

void TestSortMarks::managerHint()
{
    Host h;
    h.add(QStringLiteral("0001.htm"), QStringLiteral("Krátká"));
    h.add(QStringLiteral("0002-01.htm"), QString(80, QLatin1Char('W')));
    for (bool showHints : {true, false}) {
        TfrmSortMarks m(*h.marks, showHints, &h.window);
        m.show();
        hover(m, 0);
        QCOMPARE(m.hint(), QString());
        hover(m, 1);
        QCOMPARE(m.hint(), showHints ? QString(80, QLatin1Char('W')) : QString());
        QCOMPARE(m.lbMarks()->item(1)->toolTip(), m.hint());
        QCOMPARE(m.statusText(), QDir::toNativeSeparators(h.folder + QStringLiteral("0002-01.htm")));
    }
}

QTEST_MAIN(TestSortMarks)
#include "tst_sortmarks.moc"
