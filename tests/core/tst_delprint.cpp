#include "Cp1250.h"
#include "DelPrint.h"
#include "TestFiles.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <sys/stat.h>

using namespace tavio;

namespace {

const QByteArray Tag = "<BODY onload=window.print()>";

// Log lines of one file by letter: D body tag deleted, N no body tag, S script
// deleted, s no script.
QStringList expandLog(const QString& codes, const QString& path)
{
    QStringList out;
    for (QChar c : codes) {
        switch (c.toLatin1()) {
        case 'D':
            out.append(LogBodyTagDeleted(path));
            break;
        case 'N':
            out.append(LogBodyTagNotFound(path));
            break;
        case 'S':
            out.append(LogScriptDeleted(path));
            break;
        case 's':
            out.append(LogScriptNotFound(path));
            break;
        }
    }
    return out;
}

void makeReadOnly(const QString& path)
{
    QFile::setPermissions(path, QFileDevice::ReadOwner | QFileDevice::ReadGroup | QFileDevice::ReadOther);
}

} // namespace

class TestDelPrint final : public QObject
{
    Q_OBJECT
private slots:
    void cleanFile_data();
    void cleanFile();
    void logTexts();
    void secondRunFindsNothing();
    void installerList();
    void stopsAtFailingFile_data();
    void stopsAtFailingFile();
    void runCallbacks();
    void logFile();
    void sameSecondWritesOneLog();
    void logFolderCannotBeMade();
    void listChapterFiles();
};

void TestDelPrint::cleanFile_data()
{
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<QByteArray>("cleaned");
    QTest::addColumn<QString>("log");
    // '-': no backup; 'm': moved aside, the file as it was; 'c': copied, its lines with CR LF.
    QTest::addColumn<char>("backup");

    const QByteArray plain = "<html>\r\n<p>text</p>\r\n</html>\r\n";
    QTest::newRow("lower-case body tag") << QByteArray("<html>\r\n<body onload=window.print()>\r\n<p>x</p>\r\n")
                                         << QByteArray("<html>\r\n<p>x</p>\r\n") << "Ds" << 'm';
    QTest::newRow("quoted, mixed case, indented")
        << QByteArray("a\r\n  \t<body onLoad=\"window.print()\">  \r\nb") << QByteArray("a\r\nb\r\n") << "Ds" << 'm';
    QTest::newRow("tag inside a longer line")
        << QByteArray("x<BODY ONLOAD=WINDOW.PRINT()>y\r\nz\r\n") << QByteArray("z\r\n") << "Ds" << 'm';
    QTest::newRow("blanks around equals") << QByteArray("<BODY onload = window.print()>\r\n")
                                          << QByteArray("<BODY onload = window.print()>\r\n") << "Ns" << '-';
    QTest::newRow("other body tag") << QByteArray("<BODY bgcolor=white>\r\n") << QByteArray("<BODY bgcolor=white>\r\n")
                                    << "Ns" << '-';
    QTest::newRow("two consecutive tags")
        << QByteArray("a\r\n" + Tag + "\r\n" + Tag + "\r\nb\r\n") << QByteArray("a\r\nb\r\n") << "DDs" << 'm';
    QTest::newRow("tag on the last line") << QByteArray("a\r\n" + Tag) << QByteArray("a\r\n") << "Ds" << 'm';
    QTest::newRow("only a tag") << QByteArray(Tag + "\n") << QByteArray() << "Ds" << 'm';
    QTest::newRow("lower-case script kept") << QByteArray("<script>x()</script>\r\n<Script>\r\n")
                                            << QByteArray("<script>x()</script>\r\n<Script>\r\n") << "Ns" << '-';
    QTest::newRow("script block") << QByteArray("a\r\n<SCRIPT LANGUAGE=\"JavaScript\">\r\nvar x;\r\n</SCRIPT>\r\nb\r\n")
                                  << QByteArray("a\r\nb\r\n") << "NS" << 'c';
    QTest::newRow("scripts only, LF file")
        << QByteArray("a\n<SCRIPT>\nx\n</SCRIPT>\nb") << QByteArray("a\r\nb\r\n") << "NS" << 'c';
    QTest::newRow("text around markers goes too")
        << QByteArray("a<SCRIPT>x\r\ny</SCRIPT>b\r\nc\r\n") << QByteArray("c\r\n") << "NS" << 'c';
    QTest::newRow("one-line script, two blocks")
        << QByteArray("<SCRIPT SRC=x.js></SCRIPT>\r\nk\r\n<SCRIPT>\r\n</SCRIPT>\r\nz\r\n") << QByteArray("k\r\nz\r\n")
        << "NS" << 'c';
    QTest::newRow("unclosed script") << QByteArray("a\r\n<SCRIPT>\r\nb\r\nc\r\n") << QByteArray("a\r\n") << "NS" << 'c';
    // A stray closing line is dropped; the file keeps a backup all the same.
    QTest::newRow("stray closing marker")
        << QByteArray("a\r\n</SCRIPT>\r\nb\r\n") << QByteArray("a\r\nb\r\n") << "Ns" << 'c';
    QTest::newRow("body tag and script") << QByteArray("<SCRIPT>\r\nx\r\n</SCRIPT>\r\n" + Tag + "\nq")
                                         << QByteArray("q\r\n") << "DS" << 'm';
    QTest::newRow("LF only, nothing found") << QByteArray("a\nb\n") << QByteArray("a\r\nb\r\n") << "Ns" << '-';
    QTest::newRow("lone CR and LF CR") << QByteArray("a\rb\n\rc") << QByteArray("a\r\nb\r\n\r\nc\r\n") << "Ns" << '-';
    QTest::newRow("blank lines kept") << QByteArray("\r\n\r\n" + plain) << QByteArray("\r\n\r\n" + plain) << "Ns"
                                      << '-';
    QTest::newRow("empty file") << QByteArray() << QByteArray() << "Ns" << '-';
    // Bytes the code page leaves undefined, a NUL and Czech letters stay as they are.
    const QByteArray odd("\x81\x83\x88\x90\x98 \xe8\xed\x9a\x8a\xf8 \x00 \xff", 15);
    QTest::newRow("bytes pass through") << QByteArray(odd + "\r\n" + Tag + "\xe8\r\n" + odd)
                                        << QByteArray(odd + "\r\n" + odd + "\r\n") << "Ds" << 'm';
    QTest::newRow("bytes pass through a script")
        << QByteArray(odd + "\n<SCRIPT>\n" + odd) << QByteArray(odd + "\r\n") << "NS" << 'c';
}

void TestDelPrint::cleanFile()
{
    QFETCH(QByteArray, content);
    QFETCH(QByteArray, cleaned);
    QFETCH(QString, log);
    QFETCH(char, backup);

    QTemporaryDir tmp;
    const QString path = tmp.filePath(QStringLiteral("0001.htm"));
    const QString bak = tmp.filePath(QStringLiteral("0001.bak"));
    testfiles::write(path, content);

    QStringList lines;
    FileError error;
    QVERIFY2(CleanChapterFile(path, lines, {}, &error), qPrintable(error.message));
    QCOMPARE(testfiles::read(path), cleaned);
    QCOMPARE(lines, expandLog(log, path));
    QCOMPARE(QFile::exists(bak), backup != '-');
    if (backup == 'm')
        QCOMPARE(testfiles::read(bak), content);
    else if (backup == 'c')
        QCOMPARE(testfiles::read(bak), JoinLineBytes(SplitLineBytes(content)));
    QCOMPARE(QDir(tmp.path()).entryList(QDir::Files).size(), backup == '-' ? 1 : 2);
}

void TestDelPrint::logTexts()
{
    const QString p = QStringLiteral("/data/Htm/0001.htm");
    QCOMPARE(LogBodyTagDeleted(p),
             QStringLiteral("Kód pro automatický tisk stránky byl ze souboru </data/Htm/0001.htm> smazán."));
    QCOMPARE(LogBodyTagNotFound(p),
             QStringLiteral("Kód pro vyvolání tisku nebyl v souboru </data/Htm/0001.htm> nalezen."));
    QCOMPARE(LogScriptDeleted(p), QStringLiteral("Skript byl ze souboru </data/Htm/0001.htm> smazán."));
    QCOMPARE(LogScriptNotFound(p), QStringLiteral("Skript nebyl v souboru </data/Htm/0001.htm> nalezen."));
}

void TestDelPrint::secondRunFindsNothing()
{
    QTemporaryDir tmp;
    const QString path = tmp.filePath(QStringLiteral("0003.htm"));
    const QString bak = tmp.filePath(QStringLiteral("0003.bak"));
    const QByteArray original = "a\n" + Tag + "\n<SCRIPT>\nx\n</SCRIPT>\nb\n";
    testfiles::write(path, original);

    QStringList first;
    QVERIFY(CleanChapterFile(path, first));
    QCOMPARE(first, expandLog(QStringLiteral("DS"), path));
    const QByteArray once = testfiles::read(path);
    QCOMPARE(once, QByteArray("a\r\nb\r\n"));

    QStringList second;
    QVERIFY(CleanChapterFile(path, second));
    QCOMPARE(second, expandLog(QStringLiteral("Ns"), path));
    QCOMPARE(testfiles::read(path), once);
    QCOMPARE(testfiles::read(bak), original);

    // A later body tag finds the backup taken: the file is cleaned, the backup stays.
    testfiles::write(path, Tag + "\r\nc\r\n");
    QStringList third;
    QVERIFY(CleanChapterFile(path, third));
    QCOMPARE(testfiles::read(path), QByteArray("c\r\n"));
    QCOMPARE(testfiles::read(bak), original);
}

void TestDelPrint::installerList()
{
    QTemporaryDir tmp;
    const QString folder = tmp.path() + QLatin1Char('/');
    testfiles::write(folder + QStringLiteral("0004-01.htm"), "a\n" + Tag + "\n<SCRIPT>\nx\n</SCRIPT>\n");
    testfiles::write(folder + QStringLiteral("0005.htm"), "b\n");

    const DelPrintResult r
        = RunDelPrint(folder, {{QStringLiteral("0004-01.htm"), true}, {QStringLiteral("0005.htm"), true}}, true);
    QVERIFY(!r.failed());
    QCOMPARE(
        r.log,
        QStringList(
            {QStringLiteral("Source: \"C:\\Program Files\\Marrowick\\Tavio\\Instalace\\Htm\\0004-01_soubory\\*.*\"; "
                            "DestDir: \"{app}\\Htm\\0004-01_soubory\"; Flags: ignoreversion"),
             QStringLiteral("Source: \"C:\\Program Files\\Marrowick\\Tavio\\Instalace\\Htm\\0005_soubory\\*.*\"; "
                            "DestDir: \"{app}\\Htm\\0005_soubory\"; Flags: ignoreversion")}));
    // Body tags still go, with their backup; scripts stay.
    QCOMPARE(testfiles::read(folder + QStringLiteral("0004-01.htm")),
             QByteArray("a\r\n<SCRIPT>\r\nx\r\n</SCRIPT>\r\n"));
    QVERIFY(QFile::exists(folder + QStringLiteral("0004-01.bak")));
    QCOMPARE(testfiles::read(folder + QStringLiteral("0005.htm")), QByteArray("b\r\n"));
    QVERIFY(!QFile::exists(folder + QStringLiteral("0005.bak")));
}

void TestDelPrint::stopsAtFailingFile_data()
{
    QTest::addColumn<bool>("missing");
    QTest::newRow("read-only file") << false;
    QTest::newRow("file gone since listing") << true;
}

void TestDelPrint::stopsAtFailingFile()
{
    QFETCH(bool, missing);
    QTemporaryDir tmp;
    const QString folder = tmp.path() + QLatin1Char('/');
    const QByteArray bad = Tag + "\n<SCRIPT>\n</SCRIPT>\n";
    testfiles::write(folder + QStringLiteral("0001.htm"), Tag + "\r\nok\r\n");
    if (!missing) {
        testfiles::write(folder + QStringLiteral("0002.htm"), bad);
        makeReadOnly(folder + QStringLiteral("0002.htm"));
    }
    testfiles::write(folder + QStringLiteral("0003.htm"), bad);

    const DelPrintResult r = RunDelPrint(
        folder,
        {{QStringLiteral("0001.htm"), true}, {QStringLiteral("0002.htm"), true}, {QStringLiteral("0003.htm"), true}},
        false);
    QVERIFY(r.failed());
    QCOMPARE(r.failedPath, folder + QStringLiteral("0002.htm"));
    QVERIFY(!r.error.isEmpty());
    QCOMPARE(r.markedCount, 2);
    QCOMPARE(r.log, expandLog(QStringLiteral("Ds"), folder + QStringLiteral("0001.htm")));
    QCOMPARE(testfiles::read(folder + QStringLiteral("0001.htm")), QByteArray("ok\r\n"));
    // Neither the failing file nor the ones after it are touched.
    if (!missing)
        QCOMPARE(testfiles::read(folder + QStringLiteral("0002.htm")), bad);
    QVERIFY(!QFile::exists(folder + QStringLiteral("0002.bak")));
    QCOMPARE(testfiles::read(folder + QStringLiteral("0003.htm")), bad);
    QVERIFY(!QFile::exists(folder + QStringLiteral("0003.bak")));
}

void TestDelPrint::runCallbacks()
{
    QTemporaryDir tmp;
    const QString folder = tmp.path() + QLatin1Char('/');
    testfiles::write(folder + QStringLiteral("a.htm"), "1\n2\n3\n");
    testfiles::write(folder + QStringLiteral("c.htm"), "1\n2\n");

    int pumps = 0;
    QStringList started;
    QList<QPair<int, int>> progress;
    DelPrintCallbacks callbacks;
    callbacks.pump = [&] { ++pumps; };
    callbacks.fileStarted
        = [&](int index, const QString& path) { started.append(QString::number(index) + QLatin1Char(':') + path); };
    callbacks.lineProgress = [&](int position, int count) { progress.append({position, count}); };

    const DelPrintResult r = RunDelPrint(
        folder, {{QStringLiteral("a.htm"), true}, {QStringLiteral("b.htm"), false}, {QStringLiteral("c.htm"), true}},
        false, callbacks);
    QVERIFY(!r.failed());
    QCOMPARE(r.markedCount, 2);
    QCOMPARE(pumps, 3);
    QCOMPARE(started,
             QStringList({QStringLiteral("0:") + folder + QStringLiteral("a.htm"),
                          QStringLiteral("2:") + folder + QStringLiteral("c.htm")}));
    // Both passes over each file: the body tags, then the scripts.
    const QList<QPair<int, int>> expected{{1, 3}, {2, 3}, {3, 3}, {1, 3}, {2, 3},
                                          {3, 3}, {1, 2}, {2, 2}, {1, 2}, {2, 2}};
    QCOMPARE(progress, expected);
}

void TestDelPrint::logFile()
{
    QTemporaryDir tmp;
    const QString logFolder = tmp.filePath(QStringLiteral("data/Logs/DelPrint/"));
    const QDateTime end(QDate(2024, 3, 5), QTime(7, 8, 9));
    const QString chapter = QStringLiteral("/home/čtenář/Kapitoly/0001.htm");
    const QStringList log{LogBodyTagDeleted(chapter), LogScriptNotFound(chapter)};

    FileError error;
    const auto path = WriteDelPrintLog(logFolder, log, end, &error);
    QVERIFY2(path, qPrintable(error.message));
    QCOMPARE(*path, logFolder + QStringLiteral("2024-03-05-07-08-09.log"));
    const QByteArray expected
        = "K\xf3"
          "d pro automatick\xfd tisk str\xe1nky byl ze souboru </home/\xe8ten\xe1\xf8/Kapitoly/0001.htm> "
          "smaz\xe1n.\r\nSkript nebyl v souboru </home/\xe8ten\xe1\xf8/Kapitoly/0001.htm> nalezen.\r\n";
    QCOMPARE(testfiles::read(*path), expected);
    QCOMPARE(DelPrintLogName(QDateTime(QDate(2031, 12, 31), QTime(23, 59, 58))),
             QStringLiteral("2031-12-31-23-59-58.log"));
}

void TestDelPrint::sameSecondWritesOneLog()
{
    QTemporaryDir tmp;
    const QString logFolder = tmp.filePath(QStringLiteral("Logs/DelPrint/"));
    const QDateTime first(QDate(2024, 1, 2), QTime(10, 0, 0, 100));
    QVERIFY(WriteDelPrintLog(logFolder, {QStringLiteral("first")}, first));
    QVERIFY(WriteDelPrintLog(logFolder, {QStringLiteral("second")}, first.addMSecs(800)));
    QCOMPARE(QDir(logFolder).entryList(QDir::Files), QStringList{QStringLiteral("2024-01-02-10-00-00.log")});
    QCOMPARE(testfiles::read(logFolder + QStringLiteral("2024-01-02-10-00-00.log")), QByteArray("second\r\n"));

    QVERIFY(WriteDelPrintLog(logFolder, {}, first.addSecs(1)));
    QCOMPARE(testfiles::read(logFolder + QStringLiteral("2024-01-02-10-00-01.log")), QByteArray());
    QCOMPARE(QDir(logFolder).entryList(QDir::Files).size(), 2);
}

void TestDelPrint::logFolderCannotBeMade()
{
    QTemporaryDir tmp;
    // A file where a folder should be.
    testfiles::write(tmp.filePath(QStringLiteral("Logs")), "x");
    FileError error;
    QVERIFY(!WriteDelPrintLog(tmp.filePath(QStringLiteral("Logs/DelPrint/")), {QStringLiteral("a")},
                              QDateTime::currentDateTime(), &error));
    QVERIFY(!error.message.isEmpty());
}

void TestDelPrint::listChapterFiles()
{
    QTemporaryDir tmp;
    const QString folder = tmp.path() + QLatin1Char('/');
    for (const char* name : {"0010.htm", "0002-01.htm", "B.htm", "a.HTM", ".hidden.htm", "x.html", "y.txt", "0002.bak"})
        testfiles::write(folder + QLatin1String(name), "x");
    QDir(folder).mkdir(QStringLiteral("dir.htm"));
    const QByteArray fifo = QFile::encodeName(folder + QStringLiteral("pipe.htm"));
    QCOMPARE(mkfifo(fifo.constData(), 0600), 0);

    QCOMPARE(ListChapterFiles(folder),
             QStringList({QStringLiteral(".hidden.htm"), QStringLiteral("0002-01.htm"), QStringLiteral("0010.htm"),
                          QStringLiteral("a.HTM"), QStringLiteral("B.htm")}));
    QVERIFY(ListChapterFiles(tmp.filePath(QStringLiteral("none/"))).isEmpty());
}

QTEST_GUILESS_MAIN(TestDelPrint)
#include "tst_delprint.moc"
