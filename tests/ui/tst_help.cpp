#include "Cp1250.h"
#include "HelpFile.h"
#include "Profile.h"
#include "RecordingMessages.h"
#include "SettingsStore.h"
#include "TestFiles.h"
#include "TfrmAll.h"
#include "about/TfrmHelp.h"
#include "help/HelpRouter.h"
#include "help/HelpWindow.h"
#include "marks/BookmarkMenu.h"
#include "marks/TfrmSortMarks.h"
#include "tools/TfrmDelPrint.h"

#include <QAction>
#include <QContextMenuEvent>
#include <QDialog>
#include <QDirIterator>
#include <QHelpEvent>
#include <QLineEdit>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QRegularExpression>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBrowser>
#include <QToolBar>
#include <QToolButton>
#include <QTreeWidget>
#include <QVBoxLayout>
#include <QWhatsThis>

#include <set>

using namespace tavio;

namespace {

// Every help context the program's windows, pages and commands carry.
const std::set<int> ProgramContexts = {
    8,   9,   10,  11,  12,  13,  14,  15,  16,  17,  18,  19,  20,  21,  22,  23,  24,  25,  26,  27,  28,  29,  31,
    32,  34,  35,  36,  37,  38,  39,  40,  41,  42,  43,  46,  47,  48,  49,  50,  51,  54,  55,  56,  57,  60,  61,
    62,  63,  64,  65,  66,  67,  68,  69,  70,  71,  72,  73,  74,  75,  76,  77,  81,  82,  84,  85,  87,  88,  89,
    90,  92,  93,  95,  96,  97,  98,  99,  101, 102, 103, 104, 105, 106, 107, 108, 109, 113, 116, 117, 118, 119, 120,
    121, 123, 124, 125, 126, 127, 128, 129, 130, 131, 132, 133, 134, 135, 136, 137, 140, 141, 142, 148, 149,
};

QString shippedHelpPath()
{
    return QStringLiteral(TAVIO_PROGRAM_DIR "/") + P(ProfileId::HelpFileName);
}

void collectContexts(const QObject* root, std::set<int>& out)
{
    QList<const QObject*> all{root};
    for (const QObject* o : root->findChildren<QObject*>())
        all.append(o);
    for (const QObject* o : all) {
        const int c = o->property("helpContext").toInt();
        if (c > 0)
            out.insert(c);
    }
}

const QByteArray SmallFile = "TAVIO-HELP 1 windows-1250\r\n"
                             "; a test file\r\n"
                             "@section Okna\r\n"
                             "@topic 76 Hlavn\xed okno\r\n"
                             "Prvn\xed \xf8\xe1"
                             "dek\r\n"
                             "pokra\xe8uje.\r\n"
                             "\r\n"
                             "Druh\xfd odstavec.\r\n"
                             "@see 54\r\n"
                             "@topic 54 Hledat\r\n"
                             "Hled\xe1 text.\r\n"
                             "@section Tla\xe8\xed"
                             "tka\r\n"
                             "@topic 17 Start\r\n"
                             "Spust\xed \xe8i\x9at\xecn\xed.\r\n";

// A window with help contexts like the program's: the window 76, a button 17, a field
// 54 inside a panel without one, a toolbar button whose command has 55, a control
// without any, and one with a context menu of its own.
struct Host
{
    Host()
    {
        file = dir.filePath(QStringLiteral("Tavio.hlp"));
        testfiles::write(file, SmallFile + "@topic 55 Naj\xedt dal\x9a\xed\r\nDal\x9a\xed v\xfdskyt.\r\n");
        window.setProperty("helpContext", 76);
        auto* central = new QWidget(&window);
        auto* layout = new QVBoxLayout(central);
        button = new QPushButton(QStringLiteral("Start"), central);
        button->setProperty("helpContext", 17);
        panel = new QWidget(central);
        field = new QLineEdit(panel);
        field->setProperty("helpContext", 54);
        new QVBoxLayout(panel);
        panel->layout()->addWidget(field);
        plain = new QPushButton(QStringLiteral("Bez n\u00e1pov\u011bdy"), central);
        ownMenu = new QPushButton(QStringLiteral("Menu"), central);
        ownMenu->setProperty("helpContext", 17);
        ownMenu->setContextMenuPolicy(Qt::CustomContextMenu);
        QObject::connect(ownMenu, &QWidget::customContextMenuRequested, ownMenu, [this] { ++ownMenus; });
        for (QWidget* w :
             {static_cast<QWidget*>(button), panel, static_cast<QWidget*>(plain), static_cast<QWidget*>(ownMenu)})
            layout->addWidget(w);
        window.setCentralWidget(central);
        QToolBar* bar = window.addToolBar(QStringLiteral("n\u00e1stroje"));
        QAction* findNext = bar->addAction(QStringLiteral("Naj\u00edt dal\u0161\u00ed"));
        findNext->setProperty("helpContext", 55);
        toolButton = qobject_cast<QToolButton*>(bar->widgetForAction(findNext));
        window.resize(500, 400);
        router = new HelpRouter(&window);
        router->setHelpFile(file);
    }
    ~Host() { QWhatsThis::hideText(); }
    void show()
    {
        window.show();
        window.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&window));
    }

    QTemporaryDir dir;
    QString file;
    QMainWindow window;
    QPushButton* button;
    QWidget* panel;
    QLineEdit* field;
    QPushButton* plain;
    QPushButton* ownMenu;
    QToolButton* toolButton;
    HelpRouter* router;
    int ownMenus = 0;
};

void askWhatsThis(QWidget* w)
{
    QHelpEvent e(QEvent::WhatsThis, QPoint(2, 2), w->mapToGlobal(QPoint(2, 2)));
    QApplication::sendEvent(w, &e);
}

} // namespace

class TestHelp final : public QObject
{
    Q_OBJECT
private slots:
    void parse_data();
    void parse();
    void parseContent();
    void shippedHelpFile();
    void topicsForEveryContext();

    void helpContextOf_data();
    void helpContextOf();
    void f1OpensTheActiveWindowsTopic();
    void f1TakesTheFocusedControlsContext();
    void whatsThis_data();
    void whatsThis();
    void whatsThisModeAndShiftF1();
    void contextMenu();
    void helpTopics();
    void unreadableHelpFile_data();
    void unreadableHelpFile();
    void helpWindowOverAModalWindow();
    void changedFileIsReadAgain();
};

void TestHelp::parse_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<int>("topics"); // -1: refused
    QTest::addColumn<QString>("error");
    const QByteArray head = "TAVIO-HELP 1 windows-1250\r\n";
    QTest::newRow("small file") << SmallFile << 3 << QString();
    QTest::newRow("LF only") << QByteArray(SmallFile).replace("\r\n", "\n") << 3 << QString();
    QTest::newRow("utf-8") << QByteArray("TAVIO-HELP 1 utf-8\n@topic 5 \xc3\x9avod\nText\n") << 1 << QString();
    QTest::newRow("utf-8 with a mark") << QByteArray("\xef\xbb\xbfTAVIO-HELP 1 utf-8\n@topic 5 A\n") << 1 << QString();
    QTest::newRow("empty") << QByteArray() << -1 << "není to soubor nápovědy";
    QTest::newRow("another file") << QByteArray("[update]\r\nversion=1\r\n") << -1 << "není to soubor nápovědy";
    QTest::newRow("later version") << QByteArray("TAVIO-HELP 2 utf-8\n@topic 1 A\n") << -1 << "verze";
    QTest::newRow("unknown encoding") << QByteArray("TAVIO-HELP 1 latin-9\n@topic 1 A\n") << -1 << "kódování";
    QTest::newRow("bad utf-8") << QByteArray("TAVIO-HELP 1 utf-8\n@topic 1 A\n\xff\xfe\n") << -1 << "UTF-8";
    QTest::newRow("no topics") << head + "; nothing\r\n" << -1 << "žádné téma";
    QTest::newRow("text before a topic") << head + "loose text\r\n@topic 1 A\r\n" << -1 << "řádek 2";
    QTest::newRow("twice the same number") << head + "@topic 7 A\r\n@topic 7 B\r\n" << -1 << "řádek 3";
    QTest::newRow("number zero") << head + "@topic 0 A\r\n" << -1 << "číslo";
    QTest::newRow("negative number") << head + "@topic -3 A\r\n" << -1 << "číslo";
    QTest::newRow("not a number") << head + "@topic 12a A\r\n" << -1 << "číslo";
    QTest::newRow("too big a number") << head + "@topic 99999999999 A\r\n" << -1 << "číslo";
    QTest::newRow("no title") << head + "@topic 4\r\n" << -1 << "bez názvu";
    QTest::newRow("unknown directive") << head + "@topic 4 A\r\n@include x\r\n" << -1 << "@include";
    QTest::newRow("link to a missing topic") << head + "@topic 4 A\r\n@see 5\r\n" << -1 << "chybějící téma 5";
    QTest::newRow("link outside a topic") << head + "@see 5\r\n@topic 5 A\r\n" << -1 << "mimo téma";
}

void TestHelp::parse()
{
    QFETCH(QByteArray, bytes);
    QFETCH(int, topics);
    QFETCH(QString, error);
    const HelpFile f = HelpFile::parse(bytes);
    QCOMPARE(f.isValid(), topics >= 0);
    QCOMPARE(f.topics().size(), std::max(topics, 0));
    QVERIFY2(f.error().contains(error), qPrintable(f.error()));
    QCOMPARE(f.error().isEmpty(), error.isEmpty());
}

void TestHelp::parseContent()
{
    const HelpFile f = HelpFile::parse(SmallFile);
    QVERIFY(f.isValid());
    const HelpTopic* main = f.topic(76);
    QVERIFY(main);
    QCOMPARE(main->title, QStringLiteral("Hlavní okno"));
    QCOMPARE(main->section, QStringLiteral("Okna"));
    QCOMPARE(main->paragraphs,
             (QStringList{QStringLiteral("První řádek pokračuje."), QStringLiteral("Druhý odstavec.")}));
    QCOMPARE(main->seeAlso, QList<int>{54});
    QCOMPARE(f.topic(54)->section, QStringLiteral("Okna"));
    QCOMPARE(f.topic(17)->section, QStringLiteral("Tlačítka"));
    QCOMPARE(f.topic(17)->paragraphs, QStringList{QStringLiteral("Spustí čištění.")});
    QVERIFY(!f.topic(18));
    QCOMPARE(f.topics().first().context, 76); // file order
}

void TestHelp::shippedHelpFile()
{
    const QByteArray bytes = testfiles::read(shippedHelpPath());
    QVERIFY(!bytes.isEmpty());
    QCOMPARE(bytes, testfiles::read(QStringLiteral(TAVIO_SOURCE_DIR "/data/") + P(ProfileId::HelpFileName)));
    // The update offers a new help file whenever the size differs from the profile's.
    QCOMPARE(QString::number(bytes.size()), P(ProfileId::HelpFileSize));
    // Windows-1250 throughout, CR LF after every line.
    QVERIFY(bytes.startsWith("TAVIO-HELP 1 windows-1250\r\n"));
    QCOMPARE(cp1250::fromUnicode(cp1250::toUnicode(bytes)), bytes);
    QVERIFY(bytes.endsWith("\r\n"));
    QCOMPARE(bytes.count('\n'), bytes.count("\r\n"));

    const HelpFile f = HelpFile::load(shippedHelpPath());
    QVERIFY2(f.isValid(), qPrintable(f.error()));
    for (const HelpTopic& t : f.topics()) {
        QVERIFY2(!t.paragraphs.isEmpty(), qPrintable(t.title));
        QVERIFY(!t.section.isEmpty());
        QVERIFY2(!t.paragraphs.join(QLatin1Char(' ')).contains(QLatin1Char('?'))
                     || t.paragraphs.join(QLatin1Char(' ')).contains(QStringLiteral("Co je to?")),
                 qPrintable(t.title)); // no character lost to the code page
    }
}

void TestHelp::topicsForEveryContext()
{
    std::set<int> contexts = ProgramContexts;

    // Every literal context in the sources.
    static const QRegularExpression literal(QStringLiteral(R"re("helpContext",\s*(\d+)\))re"));
    for (QDirIterator it(QStringLiteral(TAVIO_SOURCE_DIR "/src"), {QStringLiteral("*.cpp")}, QDir::Files,
                         QDirIterator::Subdirectories);
         it.hasNext();) {
        const QString text = QString::fromUtf8(testfiles::read(it.next()));
        for (auto m = literal.globalMatch(text); m.hasNext();)
            contexts.insert(m.next().captured(1).toInt());
    }

    // Every context on the windows as they are built.
    QTemporaryDir dir;
    SettingsStore store(dir.filePath(QStringLiteral("hive.ini")));
    RecordingMessages messages;
    testfiles::write(dir.filePath(QStringLiteral("program/Htm/0001.htm")), "<H2>Lekce 1 - A</H2>\r\n");
    {
        Environment env{FileLayout(dir.filePath(QStringLiteral("program/")), dir.filePath(QStringLiteral("data/"))),
                        &store, dir.filePath(QStringLiteral("run")), false};
        TfrmAll main(env);
        main.FormCreate(nullptr);
        collectContexts(&main, contexts);
        QMenu* menu = main.menuBar()->findChild<QMenu*>(QStringLiteral("mnuMarks"));
        QVERIFY(menu);
        BookmarkMenu marks(store, menu, &main);
        TfrmSortMarks sortMarks(marks, true, &main);
        collectContexts(&sortMarks, contexts);
    }
    TfrmDelPrint delPrint(dir.path(), dir.path(), true);
    collectContexts(&delPrint, contexts);
    TfrmHelp help(true);
    collectContexts(&help, contexts);
    QVERIFY(contexts.size() >= ProgramContexts.size());

    const HelpFile f = HelpFile::load(shippedHelpPath());
    QStringList missing;
    for (int c : contexts) {
        if (!f.topic(c))
            missing.append(QString::number(c));
    }
    QVERIFY2(missing.isEmpty(), qPrintable(missing.join(QLatin1Char(' '))));
}

void TestHelp::helpContextOf_data()
{
    QTest::addColumn<QString>("control");
    QTest::addColumn<int>("context");
    QTest::newRow("its own") << "button" << 17;
    QTest::newRow("inside a panel") << "field" << 54;
    QTest::newRow("the panel: the window's") << "panel" << 76;
    QTest::newRow("none of its own: the window's") << "plain" << 76;
    QTest::newRow("a toolbar button: its command's") << "tool" << 55;
}

void TestHelp::helpContextOf()
{
    QFETCH(QString, control);
    QFETCH(int, context);
    Host host;
    const QHash<QString, QWidget*> controls{{QStringLiteral("button"), host.button},
                                            {QStringLiteral("field"), host.field},
                                            {QStringLiteral("panel"), host.panel},
                                            {QStringLiteral("plain"), host.plain},
                                            {QStringLiteral("tool"), host.toolButton}};
    QCOMPARE(HelpRouter::helpContextOf(controls.value(control)), context);
    QCOMPARE(HelpRouter::helpContextOf(nullptr), 0);
    QWidget alone;
    QCOMPARE(HelpRouter::helpContextOf(&alone), 0);
}

void TestHelp::f1OpensTheActiveWindowsTopic()
{
    Host host;
    host.router->install();
    host.show();
    host.button->setFocus();
    QCOMPARE(host.router->mode(), HelpRouter::Mode::Popup);
    QTest::keyClick(host.button, Qt::Key_F1);
    QCOMPARE(host.router->mode(), HelpRouter::Mode::MainWindow);
    HelpWindow* help = host.router->helpWindow();
    QVERIFY(help && help->isVisible());
    QCOMPARE(help->currentContext(), 76); // the window's, not the button's
    QVERIFY(help->reTopic()->toPlainText().contains(QStringLiteral("Druhý odstavec.")));

    // Until the clock ticks, "What's this?" also goes to the help window.
    askWhatsThis(host.field);
    QCOMPARE(help->currentContext(), 54);
    host.router->clockTick();
    QCOMPARE(host.router->mode(), HelpRouter::Mode::Popup);
    host.router->remove();
    QTest::keyClick(host.button, Qt::Key_F1);
    QCOMPARE(host.router->mode(), HelpRouter::Mode::Popup);
}

void TestHelp::f1TakesTheFocusedControlsContext()
{
    Host host;
    host.window.setProperty("helpContext", QVariant());
    host.show();
    host.field->setFocus();
    QCOMPARE(host.router->wtMainGetContext(&host.window), 54);
    host.router->wtMainF1KeyDown(&host.window);
    QCOMPARE(host.router->helpWindow()->currentContext(), 54);

    // Nothing to go by: the contents.
    host.plain->setFocus();
    host.router->wtMainF1KeyDown(&host.window);
    QCOMPARE(host.router->helpWindow()->currentContext(), 76);
    QCOMPARE(host.router->helpWindow()->trwTopics()->currentItem()->text(0), QStringLiteral("Hlavní okno"));
}

void TestHelp::whatsThis_data()
{
    QTest::addColumn<QString>("control");
    QTest::addColumn<int>("popup"); // 0: none
    QTest::newRow("a button") << "button" << 17;
    QTest::newRow("a field in a panel") << "field" << 54;
    QTest::newRow("a toolbar button") << "tool" << 55;
    QTest::newRow("only the window's topic") << "plain" << 0;
}

void TestHelp::whatsThis()
{
    QFETCH(QString, control);
    QFETCH(int, popup);
    Host host;
    host.router->install();
    host.show();
    QSignalSpy shown(host.router, &HelpRouter::popupShown);
    QWidget* w = control == QLatin1String("button") ? host.button
        : control == QLatin1String("field")         ? static_cast<QWidget*>(host.field)
        : control == QLatin1String("tool")          ? static_cast<QWidget*>(host.toolButton)
                                                    : host.plain;
    askWhatsThis(w);
    QCOMPARE(shown.size(), popup ? 1 : 0);
    if (popup) {
        QCOMPARE(shown[0][0].toInt(), popup);
        QVERIFY(shown[0][1].toString().contains(HelpFile::parse(testfiles::read(host.file)).topic(popup)->title));
    }
    QVERIFY(!host.router->helpWindow());
}

void TestHelp::whatsThisModeAndShiftF1()
{
    Host host;
    host.router->install();
    host.show();
    host.router->mnuWhatsThisClick();
    QVERIFY(QWhatsThis::inWhatsThisMode());
    QSignalSpy shown(host.router, &HelpRouter::popupShown);
    QTest::mouseClick(host.button, Qt::LeftButton);
    QCOMPARE(shown.size(), 1);
    QVERIFY(!QWhatsThis::inWhatsThisMode());
    QWhatsThis::hideText();

    host.field->setFocus();
    QTest::keyClick(host.field, Qt::Key_F1, Qt::ShiftModifier);
    QVERIFY(QWhatsThis::inWhatsThisMode());
    QWhatsThis::leaveWhatsThisMode();
}

void TestHelp::contextMenu()
{
    Host host;
    host.router->install();
    host.show();
    QSignalSpy shown(host.router, &HelpRouter::popupShown);
    auto rightClick = [](QWidget* w) {
        QContextMenuEvent e(QContextMenuEvent::Mouse, QPoint(3, 3), w->mapToGlobal(QPoint(3, 3)));
        QApplication::sendEvent(w, &e);
    };

    rightClick(host.button);
    QMenu* menu = host.router->contextMenu();
    QTRY_VERIFY(menu->isVisible());
    QCOMPARE(menu->actions().size(), 1);
    QCOMPARE(menu->actions().first()->text(), QStringLiteral("Co je to?"));
    menu->actions().first()->trigger();
    menu->close();
    QCOMPARE(shown.size(), 1);
    QCOMPARE(shown[0][0].toInt(), 17);
    QWhatsThis::hideText();

    // A control with a menu of its own keeps it; one without a topic gets none.
    rightClick(host.ownMenu);
    QCOMPARE(host.ownMenus, 1);
    QVERIFY(!menu->isVisible());
    rightClick(host.plain);
    QVERIFY(!menu->isVisible());
}

void TestHelp::helpTopics()
{
    Host host;
    host.show();
    host.router->mnuHelpIndexClick();
    QCOMPARE(host.router->mode(), HelpRouter::Mode::MainWindow);
    HelpWindow* help = host.router->helpWindow();
    QVERIFY(help && help->isVisible());
    QCOMPARE(help->currentContext(), 76);
    QCOMPARE(help->trwTopics()->topLevelItemCount(), 2); // the two sections
    QCOMPARE(help->trwTopics()->topLevelItem(1)->text(0), QStringLiteral("Tlačítka"));
    // A related topic is a link away.
    QVERIFY(help->reTopic()->toHtml().contains(QStringLiteral("#54")));
    emit help->reTopic()->anchorClicked(QUrl(QStringLiteral("#54")));
    QCOMPARE(help->currentContext(), 54);
    // The same window serves the next request.
    host.router->wtMainF1KeyDown(&host.window);
    QCOMPARE(host.router->helpWindow(), help);
    QCOMPARE(help->currentContext(), 76);
}

void TestHelp::unreadableHelpFile_data()
{
    QTest::addColumn<QByteArray>("bytes"); // empty: no file
    QTest::newRow("missing") << QByteArray();
    QTest::newRow("not a help file") << QByteArray("garbage\r\n");
}

void TestHelp::unreadableHelpFile()
{
    QFETCH(QByteArray, bytes);
    RecordingMessages messages;
    Host host;
    QFile::remove(host.file);
    if (!bytes.isEmpty())
        testfiles::write(host.file, bytes);
    host.show();
    host.router->mnuHelpIndexClick();
    host.router->wtMainF1KeyDown(&host.window);
    QCOMPARE(messages.shown.size(), 2);
    QVERIFY(messages.texts().first().startsWith(QStringLiteral("Nápovědu nelze zobrazit")));
    QVERIFY(messages.texts().first().contains(host.file));
    QCOMPARE(messages.shown.first().icon, MsgIcon::Warning);
    QVERIFY(!host.router->helpWindow());
    // "What's this?" reports it only for a control it would have answered for.
    host.router->clockTick();
    QVERIFY(!host.router->showHelpFor(host.plain, QPoint()));
    QCOMPARE(messages.shown.size(), 2);
    QVERIFY(host.router->showHelpFor(host.button, QPoint()));
    QCOMPARE(messages.shown.size(), 3);
}

void TestHelp::helpWindowOverAModalWindow()
{
    Host host;
    host.show();
    QDialog dialog(&host.window);
    dialog.setProperty("helpContext", 54);
    dialog.setWindowModality(Qt::ApplicationModal);
    dialog.show();
    QTRY_COMPARE(QApplication::activeModalWidget(), &dialog);
    host.router->wtMainF1KeyDown(&dialog);
    HelpWindow* help = host.router->helpWindow();
    QCOMPARE(help->parentWidget(), &dialog); // not blocked by the modal window
    QCOMPARE(help->currentContext(), 54);
    QVERIFY(help->isWindow());
    dialog.close();
    host.router->mnuHelpIndexClick();
    QCOMPARE(host.router->helpWindow()->parentWidget(), &host.window);
}

void TestHelp::changedFileIsReadAgain()
{
    Host host;
    QCOMPARE(host.router->topics().topic(17)->title, QStringLiteral("Start"));
    testfiles::write(host.file, "TAVIO-HELP 1 utf-8\n@topic 17 Spustit čištění\nText.\n");
    QCOMPARE(host.router->topics().topic(17)->title, QStringLiteral("Spustit čištění"));
    QVERIFY(!host.router->topics().topic(76));
}

QTEST_MAIN(TestHelp)
#include "tst_help.moc"
