#include "Cp1250.h"
#include "DelPrint.h"
#include "Profile.h"
#include "RecordingMessages.h"
#include "TestFiles.h"
#include "tools/TfrmDelPrint.h"
#include "tools/TfrmLogView.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QLabel>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPointer>
#include <QProgressBar>
#include <QPushButton>
#include <QScrollBar>
#include <QStatusBar>
#include <QStatusTipEvent>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBlock>
#include <QTimer>
#include <QToolButton>

using namespace tavio;

namespace {

const QByteArray Tag = "<BODY onload=window.print()>";

// A log as written: Windows-1250, CR LF after every line.
QByteArray logBytes(const QStringList& lines)
{
    QByteArray out;
    for (const QString& line : lines)
        out += cp1250::fromUnicode(line) + "\r\n";
    return out;
}

// A chapter folder with a few files and a log folder that does not exist yet.
struct World
{
    World()
    {
        chapters = dir.filePath(QStringLiteral("Htm")) + QLatin1Char('/');
        logs = dir.filePath(QStringLiteral("data/Logs/DelPrint")) + QLatin1Char('/');
        testfiles::write(chapters + QStringLiteral("0002.htm"), "a\r\n" + Tag + "\r\nb\r\n");
        testfiles::write(chapters + QStringLiteral("0001.htm"), "<SCRIPT>\r\nx\r\n</SCRIPT>\r\nc\r\n");
        testfiles::write(chapters + QStringLiteral("0003-01.HTM"), "d\r\n");
        testfiles::write(chapters + QStringLiteral("notes.txt"), "e\r\n");
    }
    std::unique_ptr<TfrmDelPrint> open(bool showHints = true) { return openOn(chapters, showHints); }
    std::unique_ptr<TfrmDelPrint> openOn(const QString& folder, bool showHints = true)
    {
        auto w = std::make_unique<TfrmDelPrint>(folder, logs, showHints);
        w->setClock([] { return QDateTime(QDate(2024, 5, 6), QTime(7, 8, 9)); });
        w->show();
        return w;
    }
    QString logPath() const { return logs + QStringLiteral("2024-05-06-07-08-09.log"); }

    QTemporaryDir dir;
    QString chapters;
    QString logs;
};

} // namespace

class TestDelPrintWindow final : public QObject
{
    Q_OBJECT
private slots:
    void controls();
    void hints_data();
    void hints();
    void listAndFolder();
    void marks_data();
    void marks();
    void nothingMarked();
    void runShowsLog_data();
    void runShowsLog();
    void windowHoldsDuringRun();
    void failingFileReported();
    void logCannotBeWritten();
    void escapeAndCloseButton();
    void sampleChapters();
    void menuCommand();
    void logViewer();
};

void TestDelPrintWindow::controls()
{
    World world;
    auto w = world.open();
    QCOMPARE(w->windowTitle(), P(ProfileId::ApplicationTitle) + QStringLiteral(" - vyčistit soubory"));
    QCOMPARE(w->minimumWidth(), 550);
    QCOMPARE(w->maximumWidth(), 550);
    QCOMPARE(w->width(), 550);
    QCOMPARE(w->minimumHeight(), 350);
    QVERIFY(w->windowFlags() & Qt::WindowContextHelpButtonHint);
    QVERIFY(!(w->windowFlags() & Qt::WindowMaximizeButtonHint));

    QVERIFY(w->btnStart()->isDefault());
    QVERIFY(w->chbShowLogFile()->isChecked());
    QVERIFY(w->chbInstall()->isHidden());
    QVERIFY(!w->chbInstall()->isChecked());
    QCOMPARE(w->property("helpContext").toInt(), 8);
}

void TestDelPrintWindow::hints_data()
{
    QTest::addColumn<bool>("showHints");
    QTest::newRow("hints on") << true;
    QTest::newRow("hints off") << false;
}

void TestDelPrintWindow::hints()
{
    QFETCH(bool, showHints);
    World world;
    auto w = world.open(showHints);
    for (QToolButton* b : {w->btnPlus(), w->btnMinus(), w->btnInvert()}) {
        QCOMPARE(b->toolTip().isEmpty(), !showHints);
        QVERIFY(!b->statusTip().isEmpty());
    }
    // The status bar shows the folder, a hint over it, and the folder again.
    const QLabel* folderLabel = w->stBar()->findChild<QLabel*>();
    QVERIFY(folderLabel);
    QCOMPARE(folderLabel->text(), world.chapters);
    QStatusTipEvent tip(w->btnPlus()->statusTip());
    QApplication::sendEvent(w->btnPlus(), &tip);
    QCOMPARE(w->stBar()->currentMessage(), w->btnPlus()->statusTip());
    QStatusTipEvent none{QString()};
    QApplication::sendEvent(w->btnPlus(), &none);
    QVERIFY(w->stBar()->currentMessage().isEmpty());
    QVERIFY(folderLabel->isVisible());
}

void TestDelPrintWindow::listAndFolder()
{
    World world;
    auto w = world.openOn(world.dir.filePath(QStringLiteral("Htm")));
    QCOMPARE(w->folder(), world.chapters);
    QCOMPARE(w->entries(),
             QStringList({QStringLiteral("0001.htm"), QStringLiteral("0002.htm"), QStringLiteral("0003-01.HTM")}));
    QVERIFY(w->markedEntries().isEmpty());
    QCOMPARE(w->chlFiles()->currentRow(), -1);

    // Reload picks up a new file and clears the marks.
    w->setMarked(QStringLiteral("0001.htm"), true);
    testfiles::write(world.chapters + QStringLiteral("0000.htm"), "z");
    w->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(w.get()));
    QTest::keyClick(w->chlFiles(), Qt::Key_R, Qt::ControlModifier);
    QCOMPARE(w->entries().size(), 4);
    QCOMPARE(w->entries().first(), QStringLiteral("0000.htm"));
    QVERIFY(w->markedEntries().isEmpty());

    // The folder dialog: cancelling keeps everything, a choice refills the list.
    const QString other = world.dir.filePath(QStringLiteral("other"));
    testfiles::write(other + QStringLiteral("/0100.htm"), "y");
    QString offered;
    QString answer;
    w->setFolderPicker([&](QWidget*, const QString& current) {
        offered = current;
        return answer;
    });
    w->btnSelDirClick();
    QCOMPARE(offered, world.chapters);
    QCOMPARE(w->folder(), world.chapters);
    QCOMPARE(w->entries().size(), 4);
    answer = other;
    w->btnSelDirClick();
    QCOMPARE(w->folder(), other + QLatin1Char('/'));
    QCOMPARE(w->entries(), QStringList{QStringLiteral("0100.htm")});
    QCOMPARE(w->stBar()->findChild<QLabel*>()->text(), other + QLatin1Char('/'));

    // Without a chapter folder nothing is listed, not even from the root folder.
    auto empty = world.openOn(QString());
    QVERIFY(empty->folder().isEmpty());
    QVERIFY(empty->entries().isEmpty());
}

void TestDelPrintWindow::marks_data()
{
    QTest::addColumn<QString>("action");
    QTest::addColumn<QStringList>("marked");
    const QString a = QStringLiteral("0001.htm"), b = QStringLiteral("0002.htm"), c = QStringLiteral("0003-01.HTM");
    QTest::newRow("mark all button") << "btnPlus" << QStringList{a, b, c};
    QTest::newRow("clear all button") << "btnMinus" << QStringList{};
    QTest::newRow("invert button") << "btnInvert" << QStringList{a, c};
    QTest::newRow("Insert") << "Insert" << QStringList{a, c};
    QTest::newRow("keypad plus") << "KeypadPlus" << QStringList{a, b, c};
    QTest::newRow("keypad minus") << "KeypadMinus" << QStringList{};
    QTest::newRow("plus of the main keys") << "Plus" << QStringList{b};
    QTest::newRow("minus of the main keys") << "Minus" << QStringList{b};
}

void TestDelPrintWindow::marks()
{
    QFETCH(QString, action);
    QFETCH(QStringList, marked);
    World world;
    auto w = world.open();
    w->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(w.get()));
    w->chlFiles()->setFocus();
    w->setMarked(QStringLiteral("0002.htm"), true);

    if (action == QLatin1String("btnPlus"))
        QTest::mouseClick(w->btnPlus(), Qt::LeftButton);
    else if (action == QLatin1String("btnMinus"))
        QTest::mouseClick(w->btnMinus(), Qt::LeftButton);
    else if (action == QLatin1String("btnInvert"))
        QTest::mouseClick(w->btnInvert(), Qt::LeftButton);
    else if (action == QLatin1String("Insert"))
        QTest::keyClick(w->chlFiles(), Qt::Key_Insert);
    else if (action == QLatin1String("KeypadPlus"))
        QTest::keyClick(w->chlFiles(), Qt::Key_Plus, Qt::KeypadModifier);
    else if (action == QLatin1String("KeypadMinus"))
        QTest::keyClick(w->chlFiles(), Qt::Key_Minus, Qt::KeypadModifier);
    else if (action == QLatin1String("Plus"))
        QTest::keyClick(w->chlFiles(), Qt::Key_Plus);
    else if (action == QLatin1String("Minus"))
        QTest::keyClick(w->chlFiles(), Qt::Key_Minus);
    QCOMPARE(w->markedEntries(), marked);
}

void TestDelPrintWindow::nothingMarked()
{
    RecordingMessages messages;
    World world;
    auto w = world.open();
    w->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(w.get()));
    // Enter starts the run from the list too.
    QTest::keyClick(w->chlFiles(), Qt::Key_Return);
    QCOMPARE(messages.texts(), QStringList{QStringLiteral("Nebyly vybrány žádné položky")});
    QCOMPARE(messages.shown.first().icon, MsgIcon::Error);
    QVERIFY(!QDir(world.logs).exists());
    QVERIFY(w->logFilePath().isEmpty());
    QVERIFY(!w->running());
    QVERIFY(w->btnStart()->isEnabled());
    QVERIFY(w->chlFiles()->isEnabled());
}

void TestDelPrintWindow::runShowsLog_data()
{
    QTest::addColumn<bool>("showLog");
    QTest::newRow("log shown") << true;
    QTest::newRow("log not shown") << false;
}

void TestDelPrintWindow::runShowsLog()
{
    QFETCH(bool, showLog);
    RecordingMessages messages;
    World world;
    auto w = world.open();
    w->chbShowLogFile()->setChecked(showLog);
    w->setMarked(QStringLiteral("0001.htm"), true);
    w->setMarked(QStringLiteral("0002.htm"), true);
    w->btnStartClick();

    QCOMPARE(messages.texts(), QStringList{QStringLiteral("Dokončeno. Výsledky uloženy v ") + world.logPath()});
    QCOMPARE(messages.shown.first().icon, MsgIcon::Information);
    QCOMPARE(w->logFilePath(), world.logPath());
    const QString p1 = world.chapters + QStringLiteral("0001.htm");
    const QString p2 = world.chapters + QStringLiteral("0002.htm");
    const QStringList log{LogBodyTagNotFound(p1), LogScriptDeleted(p1), LogBodyTagDeleted(p2), LogScriptNotFound(p2)};
    QCOMPARE(w->log(), log);
    QCOMPARE(testfiles::read(world.logPath()), logBytes(log));

    // The controls are back; the bars and the selection show where the run ended.
    QVERIFY(!w->running());
    for (QWidget* c : std::initializer_list<QWidget*>{w->chlFiles(), w->btnStart(), w->btnSelDir(), w->btnPlus(),
                                                      w->btnMinus(), w->btnInvert(), w->btnClose()})
        QVERIFY(c->isEnabled());
    QCOMPARE(w->pgbAllProcess()->value(), 2);
    QCOMPARE(w->pgbAllProcess()->maximum(), 2);
    QCOMPARE(w->chlFiles()->currentRow(), 1);
    QCOMPARE(w->stBar()->currentMessage(), QStringLiteral("Probíhá čtení souboru \"") + p2 + QStringLiteral("\" ..."));

    QCOMPARE(w->logViews().size(), showLog ? 1 : 0);
    if (!showLog)
        return;
    QPointer<TfrmLogView> view = w->logViews().first();
    QVERIFY(view->isVisible());
    QVERIFY(view->isWindow());
    QCOMPARE(view->windowTitle(), QStringLiteral("2024-05-06-07-08-09.log"));
    QCOMPARE(view->reLogFile()->toPlainText(), log.join(QLatin1Char('\n')) + QLatin1Char('\n'));

    // A second run in the same second replaces the log and opens a second viewer.
    w->setMarked(QStringLiteral("0002.htm"), false);
    w->btnStartClick();
    QCOMPARE(QDir(world.logs).entryList(QDir::Files).size(), 1);
    QCOMPARE(w->log(), QStringList({LogBodyTagNotFound(p1), LogScriptNotFound(p1)}));
    QCOMPARE(w->logViews().size(), 2);
    QPointer<TfrmLogView> second = w->logViews().last();

    // Closing the window takes its viewers with it.
    w.reset();
    QVERIFY(view.isNull());
    QVERIFY(second.isNull());
}

void TestDelPrintWindow::windowHoldsDuringRun()
{
    RecordingMessages messages;
    World world;
    auto w = world.open();
    w->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(w.get()));
    w->setMarked(QStringLiteral("0001.htm"), true);
    w->setMarked(QStringLiteral("0003-01.HTM"), true);
    testfiles::write(world.chapters + QStringLiteral("0000.htm"), "new");

    bool ran = false;
    bool runningInside = false;
    bool visibleInside = false;
    bool controlsDisabled = false;
    QString tipInside;
    QStringList marksInside;
    QTimer::singleShot(0, w.get(), [&] {
        ran = true;
        runningInside = w->running();
        controlsDisabled = !w->btnClose()->isEnabled() && !w->chlFiles()->isEnabled() && !w->btnStart()->isEnabled();
        w->close();
        QTest::keyClick(w.get(), Qt::Key_Escape);
        QTest::keyClick(w.get(), Qt::Key_Insert);
        QTest::keyClick(w.get(), Qt::Key_Plus, Qt::KeypadModifier);
        QTest::keyClick(w.get(), Qt::Key_R, Qt::ControlModifier);
        w->btnMinusClick();
        w->mnuFilesRefreshClick();
        QStatusTipEvent tip(QStringLiteral("nápověda"));
        QApplication::sendEvent(w->btnPlus(), &tip);
        tipInside = w->stBar()->currentMessage();
        visibleInside = w->isVisible();
        marksInside = w->markedEntries();
    });
    w->btnStartClick();

    QVERIFY(ran);
    QVERIFY(runningInside);
    QVERIFY(controlsDisabled);
    QVERIFY(visibleInside);
    QVERIFY(tipInside != QStringLiteral("nápověda"));
    const QStringList marked{QStringLiteral("0001.htm"), QStringLiteral("0003-01.HTM")};
    QCOMPARE(marksInside, marked);
    QCOMPARE(w->markedEntries(), marked);
    QVERIFY(!w->entries().contains(QStringLiteral("0000.htm")));
    QVERIFY(w->isVisible());
    QCOMPARE(messages.shown.size(), 1);

    // Once idle, the window closes.
    QVERIFY(w->close());
    QVERIFY(!w->isVisible());
}

void TestDelPrintWindow::failingFileReported()
{
    RecordingMessages messages;
    World world;
    const QString locked = world.chapters + QStringLiteral("0002.htm");
    QFile::setPermissions(locked, QFileDevice::ReadOwner | QFileDevice::ReadGroup);
    auto w = world.open();
    w->btnPlusClick();
    w->btnStartClick();

    const QString p1 = world.chapters + QStringLiteral("0001.htm");
    QCOMPARE(messages.texts(),
             QStringList({QStringLiteral("Dokončeno. Výsledky uloženy v ") + world.logPath(),
                          QStringLiteral("Soubor <") + locked
                              + QStringLiteral("> nelze zpracovat: Soubor je jen pro čtení.")}));
    QCOMPARE(messages.shown[0].icon, MsgIcon::Information);
    QCOMPARE(messages.shown[1].icon, MsgIcon::Error);
    QCOMPARE(w->log(), QStringList({LogBodyTagNotFound(p1), LogScriptDeleted(p1)}));
    QCOMPARE(testfiles::read(world.logPath()), logBytes(w->log()));
    QCOMPARE(testfiles::read(locked), QByteArray("a\r\n" + Tag + "\r\nb\r\n"));
    QCOMPARE(testfiles::read(world.chapters + QStringLiteral("0003-01.HTM")), QByteArray("d\r\n"));
    QVERIFY(!w->running());
    QVERIFY(w->btnClose()->isEnabled());
    QCOMPARE(w->logViews().size(), 1);
}

void TestDelPrintWindow::logCannotBeWritten()
{
    RecordingMessages messages;
    World world;
    testfiles::write(world.dir.filePath(QStringLiteral("data/Logs")), "not a folder");
    auto w = world.open();
    w->setMarked(QStringLiteral("0003-01.HTM"), true);
    w->btnStartClick();
    QCOMPARE(messages.shown.size(), 1);
    QVERIFY2(
        messages.texts().first().startsWith(QStringLiteral("Výsledky nelze uložit do souboru <") + world.logPath()),
        qPrintable(messages.texts().first()));
    QCOMPARE(messages.shown.first().icon, MsgIcon::Error);
    QVERIFY(w->logFilePath().isEmpty());
    QVERIFY(w->logViews().isEmpty());
}

void TestDelPrintWindow::escapeAndCloseButton()
{
    World world;
    auto w = world.open();
    w->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(w.get()));
    QTest::keyClick(w->chlFiles(), Qt::Key_Escape);
    QVERIFY(!w->isVisible());

    w->show();
    QTest::mouseClick(w->btnClose(), Qt::LeftButton);
    QVERIFY(!w->isVisible());
}

void TestDelPrintWindow::sampleChapters()
{
    RecordingMessages messages;
    World world;
    const QString source = QStringLiteral(TAVIO_SOURCE_DIR "/data/Htm/");
    const QString folder = world.dir.filePath(QStringLiteral("samples")) + QLatin1Char('/');
    QDir().mkpath(folder);
    const QStringList names = QDir(source).entryList({QStringLiteral("*.htm")}, QDir::Files, QDir::Name);
    QVERIFY(names.size() > 10);
    for (const QString& name : names)
        QVERIFY(QFile::copy(source + name, folder + name));

    auto w = world.openOn(folder);
    QCOMPARE(w->entries(), names);
    w->btnPlusClick();
    w->btnStartClick();
    QCOMPARE(messages.texts(), QStringList{QStringLiteral("Dokončeno. Výsledky uloženy v ") + world.logPath()});
    QCOMPARE(w->log().size(), 2 * names.size());

    int withBackup = 0;
    for (const QString& name : names) {
        const QByteArray original = testfiles::read(source + name);
        const QByteArray cleaned = testfiles::read(folder + name);
        const QList<QByteArray> before = SplitLineBytes(original);
        const QList<QByteArray> after = SplitLineBytes(cleaned);

        // CR LF after every line and nothing else changed: the cleaned lines are the
        // original ones in order, some of them left out.
        QCOMPARE(cleaned, JoinLineBytes(after));
        qsizetype j = 0;
        QList<QByteArray> removed;
        for (const QByteArray& line : before) {
            if (j < after.size() && after[j] == line)
                ++j;
            else
                removed.append(line);
        }
        QVERIFY2(j == after.size(), qPrintable(name));
        for (const QByteArray& line : after) {
            QVERIFY2(!line.toLower().contains("window.print()"), qPrintable(name));
            QVERIFY2(!line.contains("<SCRIPT") && !line.contains("</SCRIPT>"), qPrintable(name));
        }

        const QString backup = folder + name.left(name.size() - 4) + QStringLiteral(".bak");
        QCOMPARE(QFile::exists(backup), !removed.isEmpty());
        if (removed.isEmpty())
            continue;
        ++withBackup;
        // A body tag moves the file aside as it was; scripts alone copy it after its
        // line ends were settled.
        const QByteArray saved = testfiles::read(backup);
        const bool bodyTag = w->log().contains(LogBodyTagDeleted(folder + name));
        if (bodyTag)
            QCOMPARE(saved, original);
        else
            QCOMPARE(saved, JoinLineBytes(before));
    }
    QCOMPARE(withBackup, 10);
    // The lower-case script of the samples stays.
    QVERIFY(testfiles::read(folder + QStringLiteral("0015.htm")).contains("<script type=\"text/javascript\">"));
}

void TestDelPrintWindow::menuCommand()
{
    RecordingMessages messages;
    World world;
    QWidget main;
    int destroyed = 0;

    TfrmDelPrint::run(&main, true, world.chapters, world.logs, true, [&] { ++destroyed; });
    QCOMPARE(messages.texts(),
             QStringList{QStringLiteral("Funkce \"Vyčistit soubory\" není aktivní, protože seriál ")
                         + P(ProfileId::ApplicationTitle)
                         + QStringLiteral(" byl ukončen a součástí jeho instalace jsou všechny jeho díly.")});
    QCOMPARE(messages.shown.first().icon, MsgIcon::Information);
    QCOMPARE(destroyed, 0);
    QVERIFY(main.findChildren<TfrmDelPrint*>().isEmpty());

    QPointer<TfrmDelPrint> seen;
    QStringList listed;
    QTimer::singleShot(0, &main, [&] {
        seen = qobject_cast<TfrmDelPrint*>(QApplication::activeModalWidget());
        if (seen) {
            listed = seen->entries();
            seen->close();
        }
    });
    TfrmDelPrint::run(&main, false, world.chapters, world.logs, true, [&] { ++destroyed; });
    QCOMPARE(listed.size(), 3);
    QVERIFY(seen.isNull());
    QCOMPARE(destroyed, 1);
    QCOMPARE(messages.shown.size(), 1);
}

void TestDelPrintWindow::logViewer()
{
    QTemporaryDir tmp;
    const QString path = tmp.filePath(QStringLiteral("2024-05-06-07-08-09.log"));
    QStringList lines;
    for (int i = 0; i < 400; ++i)
        lines.append(QStringLiteral("Skript nebyl v souboru <") + QString(300, QLatin1Char('x'))
                     + QStringLiteral("> nalezen. ") + QString::number(i));
    testfiles::write(path, logBytes(lines));

    QWidget owner;
    QPointer<TfrmLogView> view = new TfrmLogView(path, &owner);
    view->show();
    QVERIFY(QTest::qWaitForWindowExposed(view.data()));
    QCOMPARE(view->windowTitle(), QStringLiteral("2024-05-06-07-08-09.log"));
    QCOMPARE(view->size(), QSize(550, 350));
    QCOMPARE(view->minimumSize(), QSize(550, 350));
    QVERIFY(view->windowFlags() & Qt::WindowMaximizeButtonHint);
    QVERIFY(view->reLogFile()->isReadOnly());
    QCOMPARE(view->reLogFile()->lineWrapMode(), QPlainTextEdit::NoWrap);
    QCOMPARE(view->reLogFile()->horizontalScrollBarPolicy(), Qt::ScrollBarAlwaysOff);
    QVERIFY(view->reLogFile()->verticalScrollBar()->maximum() > 0);
    QCOMPARE(view->reLogFile()->document()->blockCount(), 401);
    QCOMPARE(view->reLogFile()->document()->firstBlock().text(), lines.first());

    view->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(view.data()));
    QTest::keyClick(view->reLogFile(), Qt::Key_Escape);
    QVERIFY(!view->isVisible());
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QVERIFY(view.isNull());
}

QTEST_MAIN(TestDelPrintWindow)
#include "tst_delprint_window.moc"
