#include "AppSettings.h"
#include "ChapterTree.h"
#include "FindDialog.h"
#include "Profile.h"
#include "RecordingMessages.h"
#include "SettingsStore.h"
#include "SingleInstanceLock.h"
#include "TestFiles.h"
#include "TestWorld.h"
#include "TfrmAll.h"
#include "about/TfrmSplash.h"
#include "custom/CustomTreePage.h"
#include "custom/TreePopupMenu.h"
#include "library/CataloguePage.h"
#include "widgets/HintedToolBar.h"
#include "widgets/PageControl.h"
#include "widgets/StatusBar.h"

#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QMenuBar>
#include <QProcess>
#include <QScreen>
#include <QSignalSpy>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QToolButton>
#include <QTreeView>

using namespace tavio;

namespace {

const QString Root = QStringLiteral("\\Software\\Marrowick\\Tavio\\");

QStringList topCaptions(TfrmAll& w)
{
    QStringList out;
    ChapterTree& t = w.catalogue()->tree();
    for (int i = 0; i < t.topLevelCount(); ++i)
        out.append(t.topLevel(i)->caption);
    return out;
}

} // namespace

class TestMainWindow final : public QObject
{
    Q_OBJECT
private slots:
    void firstRun();
    void optionsAreStoredAtOnce();
    void geometryRoundTrip();
    void secondCopyInProcess();
    void splashTexts_data();
    void splashTexts();
    void twoProcesses_data();
    void twoProcesses();
    void finishedUpdateIsReportedOnce();
    void folderChange();
    void treeFind();
    void enterGuardAndEmptyList();
    void rebuildShowsProgress();
    void helpMenuStaysRight();
};

void TestMainWindow::firstRun()
{
    World world;
    testfiles::write(world.dataFolder() + QStringLiteral("Custom.trw"), "old tree\r\n");
    testfiles::write(world.dataFolder() + QStringLiteral("FindHistory.txt"), "old\r\n");
    RecordingMessages messages;
    {
        auto w = world.start();
        QVERIFY(!w->SecondInstance());
        QVERIFY(!QFile::exists(world.dataFolder() + QStringLiteral("Custom.trw")));
        QVERIFY(!QFile::exists(world.dataFolder() + QStringLiteral("FindHistory.txt")));
        QVERIFY(w->action(QStringLiteral("mnuShowHints"))->isChecked());
        QVERIFY(w->action(QStringLiteral("mnuOneInstance"))->isChecked());
        QVERIFY(!w->action(QStringLiteral("mnuOpenLastProject"))->isChecked());
        QVERIFY(world.store->keyExists(Root + QStringLiteral("Settings\\")));
        QCOMPARE(w->windowTitle(), QStringLiteral("Tavio"));
        // The design size, grown to what the page tabs and toolbars need.
        QCOMPARE(w->size(), w->minimumSize());
        QVERIFY(w->width() >= 673 && w->height() >= 457);
        QCOMPARE(w->geometry().center(), QGuiApplication::primaryScreen()->availableGeometry().center());
        QCOMPARE(w->catalogue()->folder(), world.program + QStringLiteral("Htm/"));
        QCOMPARE(topCaptions(*w), (QStringList{QStringLiteral("0001.htm [ Úvod ]"), QStringLiteral("0002"),
                                               QStringLiteral("0003.htm [ Úvod znovu ]")}));
        QCOMPARE(*world.store->readString(Root, QStringLiteral("FilesPath")), world.program + QStringLiteral("Htm/"));
        QCOMPARE(w->pgcFiles()->currentIndex(), 0);
        QVERIFY(w->action(QStringLiteral("mnuForum"))->isVisible());
        QCOMPARE(w->DefaultNotesPath(), world.program + QStringLiteral("Default.rtn"));
        // A later start is no first run: the files stay.
    }
    QVERIFY(messages.shown.isEmpty());
    QCOMPARE(*world.store->readInteger(Root + QStringLiteral("Version\\"), QStringLiteral("Major")), 1);
    QCOMPARE(*world.store->readInteger(Root + QStringLiteral("Version\\"), QStringLiteral("Build")), 550);
    QCOMPARE(*world.store->readString(Root, QStringLiteral("LastProject")), QString());
    QCOMPARE(*world.store->readBool(Root + QStringLiteral("FormSettings\\"), QStringLiteral("Maximized")), false);
    testfiles::write(world.dataFolder() + QStringLiteral("Custom.trw"), "kept\r\n");
    world.start();
    QVERIFY(QFile::exists(world.dataFolder() + QStringLiteral("Custom.trw")));
    QVERIFY(messages.shown.isEmpty());

    // A custom tree that cannot be read is reported once, with where its backup went.
    const QString custom = QDir::toNativeSeparators(world.dataFolder() + QStringLiteral("Custom.trw"));
    testfiles::write(world.dataFolder() + QStringLiteral("Custom.trw"), "A\r\n\t\tB\r\n");
    world.start();
    QCOMPARE(messages.texts(),
             QStringList{QStringLiteral("Vlastní seznam souborů se nepodařilo načíst (soubor ") + custom
                         + QStringLiteral(").\r\nMísto něj je zobrazen seznam z karty \"Seznam souborů\".\r\n\r\n"
                                          "Původní soubor je zálohován jako ")
                         + custom + QStringLiteral(".bak.")});
    QCOMPARE(messages.shown[0].icon, MsgIcon::Warning);
    messages.shown.clear();
    world.start(); // the catalogue copy was saved at the end
    QVERIFY(messages.shown.isEmpty());
}

void TestMainWindow::optionsAreStoredAtOnce()
{
    World world;
    {
        auto w = world.start();
        w->action(QStringLiteral("mnuOneInstance"))->trigger();
        w->action(QStringLiteral("mnuOpenLastProject"))->trigger();
        w->action(QStringLiteral("mnuShowHints"))->trigger();
        const QString key = Root + QStringLiteral("Settings\\");
        QCOMPARE(*world.store->readBool(key, QStringLiteral("OneInstance")), false);
        QCOMPARE(*world.store->readBool(key, QStringLiteral("OpenLastProject")), true);
        QCOMPARE(*world.store->readBool(key, QStringLiteral("ShowHints")), false);
        QVERIFY(!w->catalogue()->tlbarSeznam()->showHints());
    }
    auto w = world.start();
    QVERIFY(!w->action(QStringLiteral("mnuOneInstance"))->isChecked());
    QVERIFY(w->action(QStringLiteral("mnuOpenLastProject"))->isChecked());
    QVERIFY(!w->action(QStringLiteral("mnuShowHints"))->isChecked());
    // With no chapter shown the last chapter is stored empty, option or not.
    w.reset();
    QCOMPARE(*world.store->readString(Root, QStringLiteral("LastProject")), QString());
}

void TestMainWindow::geometryRoundTrip()
{
    World world;
    {
        auto w = world.start();
        w->setGeometry(40, 50, 900, 640);
        w->show();
        QVERIFY(QTest::qWaitForWindowExposed(w.get()));
    }
    {
        auto w = world.start();
        QCOMPARE(w->geometry(), QRect(40, 50, 900, 640));
        QVERIFY(!w->isMaximized());
        w->show();
        w->showMaximized();
        QTRY_VERIFY(w->isMaximized());
    }
    // A maximised window leaves the last normal bounds in place.
    const QString key = Root + QStringLiteral("FormSettings\\");
    QCOMPARE(*world.store->readBool(key, QStringLiteral("Maximized")), true);
    QCOMPARE(*world.store->readInteger(key, QStringLiteral("Left")), 40);
    QCOMPARE(*world.store->readInteger(key, QStringLiteral("Width")), 900);
    {
        auto w = world.start();
        QVERIFY(w->windowState() & Qt::WindowMaximized);
        w->show();
        w->showNormal();
        QTRY_COMPARE(w->geometry(), QRect(40, 50, 900, 640));
    }
    // Bounds below the design size are raised to it.
    world.store->writeInteger(key, QStringLiteral("Width"), 100);
    world.store->writeBool(key, QStringLiteral("Maximized"), false);
    auto w = world.start();
    QCOMPARE(w->width(), std::max(673, w->minimumWidth()));
}

void TestMainWindow::secondCopyInProcess()
{
    World world;
    SingleInstanceLock other(Profile::instance().text(ProfileId::MutexName), world.lock);
    QVERIFY(other.create());
    RecordingMessages messages;
    {
        auto w = world.start();
        QVERIFY(w->SecondInstance());
        QCOMPARE(messages.shown.size(), 1);
        QCOMPARE(messages.shown[0].text,
                 QStringLiteral("Program je již spuštěn.\r\nChcete-li umožnit vícenásobné spuštění aplikace, zrušte "
                                "volbu \"Povolit spuštění pouze jedné instance programu\" v menu \"Nastavení\"."));
        QCOMPARE(messages.shown[0].icon, MsgIcon::Error);
        w->setGeometry(10, 10, 700, 500);
    }
    // Nothing is saved by a refused copy.
    QVERIFY(!world.store->keyExists(Root + QStringLiteral("Version\\")));
    QVERIFY(!world.store->keyExists(Root + QStringLiteral("FormSettings\\")));
    QVERIFY(!world.store->valueExists(Root, QStringLiteral("LastProject")));

    // With the option off the second copy runs like the first.
    world.store->writeBool(Root + QStringLiteral("Settings\\"), QStringLiteral("OneInstance"), false);
    messages.shown.clear();
    {
        auto w = world.start();
        QVERIFY(!w->SecondInstance());
    }
    QVERIFY(messages.shown.isEmpty());
    QVERIFY(world.store->keyExists(Root + QStringLiteral("Version\\")));
}

void TestMainWindow::splashTexts_data()
{
    QTest::addColumn<bool>("secondCopy");
    QTest::addColumn<QStringList>("texts");
    QTest::newRow("start") << false
                           << QStringList{QStringLiteral("Načítám seznam ..."), QStringLiteral("Načítám záložky ..."),
                                          QStringLiteral("Načítám vlastní seznam ..."),
                                          QStringLiteral("Dokončeno. Spouštím aplikaci ...")};
    QTest::newRow("refused second copy") << true
                                         << QStringList{QStringLiteral("Ukončuji aplikaci ..."),
                                                        QStringLiteral("Dokončeno. Spouštím aplikaci ...")};
}

// The texts the splash's progress line shows while the window starts, in order.
void TestMainWindow::splashTexts()
{
    QFETCH(bool, secondCopy);
    QFETCH(QStringList, texts);
    World world;
    std::unique_ptr<SingleInstanceLock> other;
    if (secondCopy) {
        other = std::make_unique<SingleInstanceLock>(Profile::instance().text(ProfileId::MutexName), world.lock);
        QVERIFY(other->create());
    }
    RecordingMessages messages;
    auto* splash = new TfrmSplash;
    QStringList painted;
    struct PaintWatch final : QObject
    {
        QStringList* painted;
        bool eventFilter(QObject* watched, QEvent* event) override
        {
            if (event->type() == QEvent::Paint) {
                // The line is empty until the first progress text; after that it never is.
                const QString text = static_cast<QLabel*>(watched)->text();
                if (painted->isEmpty() ? !text.isEmpty() : painted->last() != text)
                    painted->append(text);
            }
            return false;
        }
    } watch;
    watch.painted = &painted;
    splash->progressLabel()->installEventFilter(&watch);
    TfrmAll w(world.env());
    w.FormCreate(splash); // destroys the splash
    QCOMPARE(painted, texts);
    QCOMPARE(w.SecondInstance(), secondCopy);
}

void TestMainWindow::twoProcesses_data()
{
    QTest::addColumn<bool>("oneInstance");
    QTest::newRow("one copy only") << true;
    QTest::newRow("several copies") << false;
}

void TestMainWindow::twoProcesses()
{
    QFETCH(bool, oneInstance);
    World world;
    world.store->writeBool(Root + QStringLiteral("Settings\\"), QStringLiteral("OneInstance"), oneInstance);
    world.store.reset();
    const QStringList args{world.program, world.appData, world.ini, world.lock};
    auto readAll = [](QProcess& p, const char* marker) {
        QByteArray out;
        QElapsedTimer t;
        t.start();
        while (!out.contains(marker) && t.elapsed() < 60000) {
            p.waitForReadyRead(1000);
            out += p.readAllStandardOutput();
        }
        return out;
    };
    QProcess first;
    first.start(QStringLiteral(TAVIO_INSTANCE_HOST), args);
    const QByteArray firstOut = readAll(first, "READY");
    QVERIFY2(firstOut.contains("SECOND 0"), firstOut.constData());

    QProcess second;
    second.start(QStringLiteral(TAVIO_INSTANCE_HOST), args);
    const QByteArray secondOut = readAll(second, "READY");
    if (oneInstance) {
        QVERIFY2(secondOut.contains("SECOND 1"), secondOut.constData());
        QCOMPARE(secondOut.count("MESSAGE Program je již spuštěn.|"), 1);
        QVERIFY(second.waitForFinished(30000));
    } else {
        QVERIFY2(secondOut.contains("SECOND 0"), secondOut.constData());
        QVERIFY(!secondOut.contains("MESSAGE"));
        second.closeWriteChannel();
        QVERIFY(second.waitForFinished(30000));
    }
    QCOMPARE(second.exitCode(), 0);
    first.closeWriteChannel();
    QVERIFY(first.waitForFinished(30000));
    QVERIFY(first.readAllStandardOutput().contains("ENDED"));

    // After both ended, a new copy runs: the marker went with its holders.
    QProcess third;
    third.start(QStringLiteral(TAVIO_INSTANCE_HOST), args);
    QVERIFY(readAll(third, "READY").contains("SECOND 0"));
    third.closeWriteChannel();
    QVERIFY(third.waitForFinished(30000));
}

void TestMainWindow::finishedUpdateIsReportedOnce()
{
    World world;
    testfiles::write(world.program + Profile::instance().text(ProfileId::OldExeName), "old program");
    RecordingMessages messages;
    world.start();
    QCOMPARE(messages.texts(), QStringList{QStringLiteral("Aktualizace nové verze programu byla dokončena.")});
    QCOMPARE(messages.shown[0].icon, MsgIcon::Information);
    QVERIFY(!QFile::exists(world.program + Profile::instance().text(ProfileId::OldExeName)));
    messages.shown.clear();
    world.start();
    QVERIFY(messages.shown.isEmpty());
}

void TestMainWindow::folderChange()
{
    World world;
    RecordingMessages messages;
    auto w = world.start();
    const QString stored = world.program + QStringLiteral("Htm/");
    const QString empty = world.dir.filePath(QStringLiteral("empty")) + QLatin1Char('/');
    QDir().mkpath(empty);

    // Yes returns to the stored folder and lists it again.
    messages.answers = {MsgResult::Yes};
    w->catalogue()->setFolder(empty);
    QCOMPARE(messages.shown.size(), 1);
    QCOMPARE(messages.shown[0].text, QStringLiteral("Ve vybraném adresáři nebyly nalezeny žádné soubory. Chcete se "
                                                    "vrátit do předchozího adresáře ?"));
    QCOMPARE(messages.shown[0].buttons, MsgButtons::YesNo);
    QCOMPARE(w->catalogue()->folder(), stored);
    QCOMPARE(topCaptions(*w).size(), 3);

    // No keeps the empty folder and stores it.
    messages.shown.clear();
    messages.answers = {MsgResult::No};
    w->catalogue()->setFolder(empty);
    QCOMPARE(w->catalogue()->folder(), empty);
    QVERIFY(w->catalogue()->tree().isEmpty());
    QCOMPARE(*world.store->readString(Root, QStringLiteral("FilesPath")), empty);

    // Without a stored folder there is nothing to go back to.
    world.store->writeString(Root, QStringLiteral("FilesPath"), QString());
    messages.shown.clear();
    w->catalogue()->setFolder(world.dir.filePath(QStringLiteral("nowhere")) + QLatin1Char('/'));
    QCOMPARE(messages.texts(), QStringList{QStringLiteral("Ve vybraném adresáři nebyly nalezeny žádné soubory.")});
    QCOMPARE(messages.shown[0].icon, MsgIcon::Error);

    // Setting the text the field already holds does nothing.
    messages.shown.clear();
    w->catalogue()->setFolder(w->catalogue()->folder());
    QVERIFY(messages.shown.isEmpty());
}

void TestMainWindow::treeFind()
{
    World world;
    RecordingMessages messages;
    auto w = world.start();
    w->show();
    CataloguePage* page = w->catalogue();
    // F3 before any successful search opens the dialog.
    w->action(QStringLiteral("mnuFindNext"))->trigger();
    QVERIFY(w->dlgFindNodeText()->isVisible());
    w->dlgFindNodeText()->setFindText(QStringLiteral("ÚVOD"));
    w->dlgFindNodeTextFind();
    QVERIFY(!w->dlgFindNodeText()->isVisible());
    QCOMPARE(page->selectedNode()->caption, QStringLiteral("0001.htm [ Úvod ]"));
    QCOMPARE(page->statusBar()->text(1), QStringLiteral("ÚVOD"));
    // Find next goes on from the selection.
    w->action(QStringLiteral("mnuFindNext"))->trigger();
    QCOMPARE(page->selectedNode()->caption, QStringLiteral("0003.htm [ Úvod znovu ]"));
    // At the end: the not-found message, and the last found text back in the dialog.
    w->dlgFindNodeText()->setFindText(QStringLiteral("nic takového"));
    w->dlgFindNodeTextFind();
    QCOMPARE(messages.shown.size(), 1);
    QCOMPARE(messages.shown[0].text, QStringLiteral("Nenalezeno!"));
    QCOMPARE(messages.shown[0].caption, QStringLiteral("Chyba"));
    QCOMPARE(messages.shown[0].icon, MsgIcon::Warning);
    QCOMPARE(w->dlgFindNodeText()->findText(), QStringLiteral("ÚVOD"));
    QCOMPARE(page->selectedNode()->caption, QStringLiteral("0003.htm [ Úvod znovu ]"));
}

void TestMainWindow::enterGuardAndEmptyList()
{
    World world;
    auto w = world.start();
    w->show();
    QVERIFY(QTest::qWaitForWindowActive(w.get()));
    CataloguePage* page = w->catalogue();
    // The catalogue page's show rules ran at start: the tree has the keys.
    QCOMPARE(QApplication::focusWidget(), page->trwFiles());
    QVERIFY(w->action(QStringLiteral("mnuFind"))->isEnabled());
    // Only whether the tree asks to open counts here; the chapter page stays away.
    QObject::disconnect(page, &CataloguePage::openRequested, w.get(), nullptr);
    QSignalSpy opened(page, &CataloguePage::openRequested);
    page->selectNode(page->tree().topLevel(0));

    // The Enter that closes a message box over the tree is pressed in the box; its
    // release on the tree opens nothing. A real box, closed by a real key.
    TreeNode* chapter = page->tree().topLevel(0);
    QVERIFY(w->customPage()->IsInCustomTree(chapter->caption));
    QTimer::singleShot(0, this, [] {
        QWidget* box = QApplication::activeModalWidget();
        QVERIFY(box);
        QTest::keyPress(box->focusWidget() ? box->focusWidget() : box, Qt::Key_Return);
    });
    w->treePopup()->popmnuCustomTreePopup();
    w->treePopup()->item(QStringLiteral("popAddToMainList"))->trigger();
    w->activateWindow(); // what the window manager does when the box has gone
    QVERIFY(QTest::qWaitForWindowActive(w.get()));
    QCOMPARE(QApplication::focusWidget(), page->trwFiles());
    QTest::keyRelease(QApplication::focusWidget(), Qt::Key_Return);
    QCOMPARE(opened.size(), 0);

    RecordingMessages messages;
    // The Enter that closed the find dialog opens nothing, even when pressed on the tree.
    w->action(QStringLiteral("mnuFind"))->trigger();
    QVERIFY(w->dlgFindNodeText()->isVisible());
    w->dlgFindNodeText()->close();
    page->trwFiles()->setFocus();
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    QCOMPARE(opened.size(), 0);
    // The next Enter opens the selected chapter.
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    QCOMPARE(opened.size(), 1);
    // With a modifier it does nothing.
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return, Qt::ShiftModifier);
    QCOMPARE(opened.size(), 1);
    // A double click below the nodes opens the selected one.
    const QPoint below(20, page->trwFiles()->viewport()->height() - 5);
    QVERIFY(!page->trwFiles()->indexAt(below).isValid());
    QTest::mouseDClick(page->trwFiles()->viewport(), Qt::LeftButton, {}, below);
    QCOMPARE(opened.size(), 2);

    // An empty list answers Enter and a double click with its message.
    const QString empty = world.dir.filePath(QStringLiteral("empty")) + QLatin1Char('/');
    QDir().mkpath(empty);
    messages.answers = {MsgResult::No};
    page->setFolder(empty);
    const QString emptyList = QStringLiteral("Seznam souborů je prázdný - proveďte nejprve aktualizaci souborů pomocí "
                                             "menu \"Nástroje -> Aktualizace\"");
    messages.shown.clear();
    w->activateWindow(); // back from the progress window
    QVERIFY(QTest::qWaitForWindowActive(w.get()));
    page->trwFiles()->setFocus();
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    QCOMPARE(messages.texts(), QStringList{emptyList});
    QTest::mouseDClick(page->trwFiles()->viewport(), Qt::LeftButton, {}, QPoint(20, 20));
    QCOMPARE(messages.texts(), (QStringList{emptyList, emptyList}));
}

void TestMainWindow::rebuildShowsProgress()
{
    World world;
    auto w = world.start();
    w->show();
    CataloguePage* page = w->catalogue();
    QVERIFY(page->firstBuildDone());
    testfiles::write(world.program + QStringLiteral("Htm/0004.htm"), "<H2>Lekce 4 - Nov\xe1</H2>");
    bool disabledDuring = false;
    QString textDuring;
    connect(page, &CataloguePage::catalogueRebuilt, this, [&] {
        disabledDuring = !w->isEnabled();
        textDuring = page->statusBar()->text(0);
    });
    QVERIFY(page->BuildCatalogue(page->folder()));
    QVERIFY(disabledDuring);
    QVERIFY(w->isEnabled());
    QCOMPARE(textDuring, QStringLiteral("Probíhá načítání seznamu souborů ..."));
    QCOMPARE(page->statusBar()->text(0), QString());
    QCOMPARE(topCaptions(*w).last(), QStringLiteral("0004.htm [ Nová ]"));
}

void TestMainWindow::helpMenuStaysRight()
{
    World world;
    auto w = world.start();
    w->resize(900, 600);
    w->show();
    QVERIFY(QTest::qWaitForWindowExposed(w.get()));
    w->menuBar()->addMenu(QStringLiteral("Přidaná"));
    QToolButton* help = w->helpButton();
    QCOMPARE(w->menuBar()->cornerWidget(Qt::TopRightCorner), help);
    QTRY_VERIFY(help->isVisible());
    QVERIFY(help->geometry().right() >= w->menuBar()->width() - 10);
    QCOMPARE(help->menu()->actions().size(), 8);
}

QTEST_MAIN(TestMainWindow)
#include "tst_mainwindow.moc"
