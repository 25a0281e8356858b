#include "Catalogue.h"
#include "ChapterTree.h"
#include "IniFile.h"
#include "UpdateChapterList.h"
#include "UpdateRules.h"
#include "UpdateServer.h"
#include "UpdateStaging.h"

#include <QTemporaryDir>
#include <QTest>

#include <limits>

using namespace tavio;

Q_DECLARE_METATYPE(tavio::TProgramVersion)

namespace {

TProgramVersion v(int a, int b, int c, int d)
{
    return {quint32(a), quint32(b), quint32(c), quint32(d)};
}

const TProgramVersion Running = v(1, 0, 12, 550);

} // namespace

class TestUpdateCore final : public QObject
{
    Q_OBJECT
private slots:
    void newVersion_data();
    void newVersion();
    void descriptor_data();
    void descriptor();
    void countLocalChapters();
    void optionRule();
    void plan_data();
    void plan();
    void sizeText_data();
    void sizeText();
    void logLine();
    void safeNames_data();
    void safeNames();
    void chapterList();
    void server_data();
    void server();
    void stagingPlace();
};

void TestUpdateCore::newVersion_data()
{
    QTest::addColumn<TProgramVersion>("server");
    QTest::addColumn<TProgramVersion>("running");
    QTest::addColumn<bool>("newer");
    QTest::newRow("greater build, smaller release") << v(1, 0, 8, 546) << v(1, 0, 11, 540) << true;
    QTest::newRow("equal") << v(1, 0, 11, 540) << v(1, 0, 11, 540) << false;
    QTest::newRow("major") << v(2, 0, 0, 0) << v(1, 5, 0, 0) << true;
    QTest::newRow("smaller minor, greater release") << v(1, 4, 9, 9) << v(1, 5, 0, 0) << true;
    QTest::newRow("all smaller") << v(1, 0, 11, 540) << v(1, 0, 12, 550) << false;
    // The components are signed: a negative one is smaller, not a huge number.
    QTest::newRow("negative") << v(-1, 0, 12, 550) << v(1, 0, 12, 550) << false;
}

void TestUpdateCore::newVersion()
{
    QFETCH(TProgramVersion, server);
    QFETCH(TProgramVersion, running);
    QFETCH(bool, newer);
    QCOMPARE(IsNewVersion(server, running), newer);
}

void TestUpdateCore::descriptor_data()
{
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<bool>("section");
    QTest::addColumn<QString>("version");
    QTest::addColumn<int>("lastFileIndex");
    QTest::newRow("full") << QByteArray("[last_version]\r\nmajor=1\r\nminor=0\r\nrelease=13\r\nbuild=600\r\n"
                                        "[last_file_index]\r\nvalue=30\r\n")
                          << true << "1.0.13.600" << 30;
    QTest::newRow("only major") << QByteArray("[LAST_VERSION]\nMajor=2\n") << true << "2.0.12.550" << 0;
    QTest::newRow("not numbers") << QByteArray("[last_version]\nmajor=x\nbuild=5 5\n[last_file_index]\nvalue=1e3\n")
                                 << true << "1.0.12.550" << 0;
    QTest::newRow("negative") << QByteArray("[last_version]\nminor=-3\n") << true << "1.-3.12.550" << 0;
    QTest::newRow("no section") << QByteArray("[last_file_index]\nvalue=7\n") << false << "1.0.12.550" << 7;
    QTest::newRow("html page") << QByteArray("<html><body><h1>404 Not Found</h1></body></html>") << false
                               << "1.0.12.550" << 0;
    QTest::newRow("empty") << QByteArray() << false << "1.0.12.550" << 0;
}

void TestUpdateCore::descriptor()
{
    QFETCH(QByteArray, text);
    QFETCH(bool, section);
    QFETCH(QString, version);
    QFETCH(int, lastFileIndex);
    const UpdateDescriptor d = ReadUpdateDescriptor(IniFile::parse(text), Running);
    QCOMPARE(d.hasLastVersion, section);
    QCOMPARE(ServerVersionText(d.version), version);
    QCOMPARE(d.lastFileIndex, lastFileIndex);
}

void TestUpdateCore::countLocalChapters()
{
    ChapterTree tree;
    QCOMPARE(CountLocalChapters(tree), -1);
    tree.addChild(nullptr, QStringLiteral("0001.htm [ Úvod ]"), image::Chapter);
    QCOMPARE(CountLocalChapters(tree), 0);

    // The catalogue's shape: chapters at the top, parts under their group node.
    TreeNode* g2 = tree.addChild(nullptr, QStringLiteral("0002"), image::FolderClosed);
    tree.addChild(g2, QStringLiteral("0002-01.htm [ a ]"), image::Chapter);
    tree.addChild(g2, QStringLiteral("0002-02.htm [ b ]"), image::Chapter);
    TreeNode* g3 = tree.addChild(nullptr, QStringLiteral("0003"), image::FolderOpen);
    tree.addChild(g3, QStringLiteral("0003-01.htm [ c ]"), image::Chapter);
    tree.addChild(nullptr, QStringLiteral("0004.htm [ d ]"), image::Chapter);
    QCOMPARE(CountLocalChapters(tree), 4); // five chapter files, the first not counted

    // A group node first: every chapter file counts.
    ChapterTree grouped;
    TreeNode* g = grouped.addChild(nullptr, QStringLiteral("0001"), image::FolderClosed);
    grouped.addChild(g, QStringLiteral("0001-01.htm [ a ]"), image::Chapter);
    grouped.addChild(g, QStringLiteral("0001-02.htm [ b ]"), image::Chapter);
    QCOMPARE(CountLocalChapters(grouped), 2);
}

void TestUpdateCore::optionRule()
{
    const UpdateOptions start;
    QVERIFY(!start.program);
    QVERIFY(start.files);
    // Whatever is switched, in whatever order, one option stays on.
    for (int mask = 0; mask < 16; ++mask) {
        UpdateOptions o = start;
        for (int step = 0; step < 4; ++step) {
            const bool on = mask & (1 << step);
            o = step % 2 ? o.withFiles(on) : o.withProgram(on);
            QVERIFY2(o.program || o.files, qPrintable(QString::number(mask)));
        }
    }
    QCOMPARE(start.withFiles(false).program, true);
    QCOMPARE(start.withProgram(true).withFiles(false).withProgram(false).files, true);
    const UpdateOptions finished = UpdateOptions::forFinishedSeries();
    QVERIFY(finished.program);
    QVERIFY(!finished.files);
}

void TestUpdateCore::plan_data()
{
    QTest::addColumn<bool>("section");
    QTest::addColumn<TProgramVersion>("server");
    QTest::addColumn<bool>("program");
    QTest::addColumn<bool>("files");
    QTest::addColumn<QString>("expected"); // whatsNew, programDownload, noNewVersion, chapterCheck

    const TProgramVersion newer = v(1, 0, 13, 600);
    QTest::newRow("files only, newer") << true << newer << false << true << "W..C";
    QTest::newRow("files only, same") << true << Running << false << true << "...C";
    QTest::newRow("program, newer") << true << newer << true << false << "WP..";
    QTest::newRow("both, newer") << true << newer << true << true << "WP..";
    QTest::newRow("both, same") << true << Running << true << true << "..NC";
    QTest::newRow("program, same") << true << Running << true << false << "..N.";
    // Without [last_version] nothing is announced and nothing reported missing.
    QTest::newRow("malformed, both") << false << Running << true << true << "....";
    QTest::newRow("malformed, files") << false << Running << false << true << "...C";
}

void TestUpdateCore::plan()
{
    QFETCH(bool, section);
    QFETCH(TProgramVersion, server);
    QFETCH(bool, program);
    QFETCH(bool, files);
    QFETCH(QString, expected);
    UpdateDescriptor d;
    d.hasLastVersion = section;
    d.version = server;
    const UpdatePlan p = PlanUpdate(d, Running, UpdateOptions{program, files});
    const QString got = QString(p.whatsNew ? QLatin1Char('W') : QLatin1Char('.'))
        + (p.programDownload ? QLatin1Char('P') : QLatin1Char('.')) + (p.noNewVersion ? QLatin1Char('N') : QLatin1Char('.'))
        + (p.chapterCheck ? QLatin1Char('C') : QLatin1Char('.'));
    QCOMPARE(got, expected);
}

void TestUpdateCore::sizeText_data()
{
    QTest::addColumn<qint64>("bytes");
    QTest::addColumn<QString>("czech");
    QTest::addColumn<QString>("english");
    QTest::newRow("500") << qint64(500) << "0,50" << "0.50";
    QTest::newRow("help file") << qint64(1462731) << "1462,70" << "1462.70";
    QTest::newRow("zero") << qint64(0) << "0,00" << "0.00";
    QTest::newRow("half up") << qint64(5) << "0,01" << "0.01";
    QTest::newRow("below half") << qint64(4) << "0,00" << "0.00";
    QTest::newRow("three decimals") << qint64(12345) << "12,35" << "12.35";
    QTest::newRow("five digits") << qint64(99999499) << "99999,00" << "99999.00";
    // No group separator, even where the locale has one.
    QTest::newRow("thousands") << qint64(12345678) << "12346,00" << "12346.00";
    QTest::newRow("rounds to six digits") << qint64(99999999) << "1,0000E+05" << "1.0000E+05";
    QTest::newRow("exponent") << qint64(123456789) << "1,2346E+05" << "1.2346E+05";
    QTest::newRow("large exponent") << qint64(2000000000) << "2,0000E+06" << "2.0000E+06";
    QTest::newRow("64-bit limit") << std::numeric_limits<qint64>::max() << "9,2234E+15" << "9.2234E+15";
    QTest::newRow("smallest value") << std::numeric_limits<qint64>::min() << "-9,2234E+15" << "-9.2234E+15";
}

void TestUpdateCore::sizeText()
{
    QFETCH(qint64, bytes);
    QFETCH(QString, czech);
    QFETCH(QString, english);
    QCOMPARE(KilobyteText(bytes, QLocale(QLocale::Czech, QLocale::CzechRepublic)), czech);
    QCOMPARE(KilobyteText(bytes, QLocale(QLocale::English, QLocale::UnitedStates)), english);
}

void TestUpdateCore::logLine()
{
    const QLocale cs(QLocale::Czech, QLocale::CzechRepublic);
    QCOMPARE(SizeText(500, 1462731, cs), QStringLiteral("0,50 kb/1462,70 kb"));
    const QDateTime when(QDate(2024, 5, 6), QTime(7, 8, 9));
    const QString line = LogLineText(when, QStringLiteral("Připojeno k serveru."), cs);
    QCOMPARE(line, cs.toString(when.date(), QLocale::ShortFormat) + QStringLiteral(" [7:08:09] Připojeno k serveru."));
    // An English user gets the English clock, still without a time zone.
    const QString en = LogLineText(when, QStringLiteral("x"), QLocale(QLocale::English, QLocale::UnitedStates));
    QVERIFY2(en.endsWith(QStringLiteral(" [7:08:09 AM] x")), qPrintable(en));
}

void TestUpdateCore::safeNames_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<bool>("safe");
    QTest::newRow("chapter") << "0107.htm" << true;
    QTest::newRow("folder") << "0107_soubory" << true;
    QTest::newRow("blank inside") << "obr 1.gif" << true;
    QTest::newRow("dots inside") << "obr..1.gif" << true;
    QTest::newRow("leading dots") << "..obr.gif" << false;
    QTest::newRow("hidden") << ".htaccess" << false;
    QTest::newRow("czech") << "čtverec.png" << true;
    QTest::newRow("empty") << "" << false;
    QTest::newRow("dot") << "." << false;
    QTest::newRow("dot dot") << ".." << false;
    QTest::newRow("parent, slash") << "../x.htm" << false;
    QTest::newRow("parent, backslash") << "..\\x.htm" << false;
    QTest::newRow("absolute") << "/etc/passwd" << false;
    QTest::newRow("windows absolute") << "\\Windows\\x" << false;
    QTest::newRow("drive") << "C:x.htm" << false;
    QTest::newRow("subfolder") << "a/b.gif" << false;
    QTest::newRow("control") << QStringLiteral("a\nb") << false;
}

void TestUpdateCore::safeNames()
{
    QFETCH(QString, name);
    QFETCH(bool, safe);
    QCOMPARE(IsSafeFileName(name), safe);
}

void TestUpdateCore::chapterList()
{
    const UpdateChapterList list(IniFile::parse("[117]\r\nfile=0117.htm\r\ndir=0117_soubory\\\r\nfile1=a.gif\r\n"
                                                "file2=b.png\r\nfile4=d.png\r\n"
                                                "[118]\r\nfile=0118.htm\r\ndir=0118_soubory\r\nfile1=\r\nfile2=x.gif\r\n"
                                                "[119]\r\ndir=0119_soubory\r\n"));
    QCOMPARE(list.file(117), QStringLiteral("0117.htm"));
    QCOMPARE(AssetFolderName(list.dir(117)), QStringLiteral("0117_soubory"));
    QCOMPARE(list.asset(117, 1), QStringLiteral("a.gif"));
    QCOMPARE(list.asset(117, 2), QStringLiteral("b.png"));
    QCOMPARE(list.asset(117, 3), QString()); // the list ends here; file4 is never reached
    QCOMPARE(list.asset(118, 1), QString());
    QCOMPARE(list.file(119), QString());
    QCOMPARE(list.file(120), QString());

    QCOMPARE(UpdateChapterList::chapterAddress(QStringLiteral("127.0.0.1:8150/htm/"), QStringLiteral("0107.htm")),
             QStringLiteral("127.0.0.1:8150/htm/0107"));
    QCOMPARE(UpdateChapterList::assetAddress(QStringLiteral("127.0.0.1:8150/htm/"), QStringLiteral("0107_soubory\\"),
                                             QStringLiteral("a.gif")),
             QStringLiteral("127.0.0.1:8150/htm/0107_soubory/a.gif"));
    QCOMPARE(AssetFolderName(QStringLiteral("x/")), QStringLiteral("x"));
    QCOMPARE(AssetFolderName(QStringLiteral("x")), QStringLiteral("x"));
}

void TestUpdateCore::server_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QString>("setting");
    QTest::addColumn<QString>("updateIni"); // where update.ini is fetched from
    QTest::addColumn<QString>("chapters");
    QTest::addColumn<QString>("note");
    const QString own = QStringLiteral("127.0.0.1:8150/update.ini");
    QTest::newRow("profile") << QStringList{QStringLiteral("tavio")} << QString() << own << "127.0.0.1:8150/htm/"
                             << QString();
    QTest::newRow("setting") << QStringList{QStringLiteral("tavio")} << "http://kurz.example/python/"
                             << "kurz.example/python/update.ini" << "kurz.example/python/htm/"
                             << "Server aktualizací: http://kurz.example/python/";
    QTest::newRow("option wins")
        << QStringList{QStringLiteral("tavio"), QStringLiteral("--update-server"), QStringLiteral("http://10.0.0.2:8080")}
        << "http://kurz.example/" << "10.0.0.2:8080/update.ini" << "10.0.0.2:8080/htm/"
        << "Server aktualizací: http://10.0.0.2:8080";
    QTest::newRow("option with =") << QStringList{QStringLiteral("tavio"), QStringLiteral("--update-server=HTTP://[::1]:81/a/b")}
                                   << QString() << "[::1]:81/a/b/update.ini" << "[::1]:81/a/b/htm/"
                                   << "Server aktualizací: HTTP://[::1]:81/a/b";
    const QString faulty = QStringLiteral("Neplatná adresa serveru aktualizací, použije se výchozí: ");
    QTest::newRow("https") << QStringList{} << "https://kurz.example/" << own << "127.0.0.1:8150/htm/"
                           << faulty + QStringLiteral("https://kurz.example/");
    QTest::newRow("no host") << QStringList{} << "kurz.example" << own << "127.0.0.1:8150/htm/"
                             << faulty + QStringLiteral("kurz.example");
    QTest::newRow("user") << QStringList{} << "http://a@kurz.example/" << own << "127.0.0.1:8150/htm/"
                          << faulty + QStringLiteral("http://a@kurz.example/");
}

void TestUpdateCore::server()
{
    QFETCH(QStringList, arguments);
    QFETCH(QString, setting);
    QFETCH(QString, updateIni);
    QFETCH(QString, chapters);
    QFETCH(QString, note);
    const UpdateAddresses profile{QStringLiteral("127.0.0.1:8150/update.ini"), QStringLiteral("127.0.0.1:8150/files.ini"),
                                  QStringLiteral("127.0.0.1:8150/tavio"),      QStringLiteral("127.0.0.1:8150/whats.new"),
                                  QStringLiteral("127.0.0.1:8150/user.nfo"),   QStringLiteral("127.0.0.1:8150/htm/"),
                                  QStringLiteral("127.0.0.1:8150/help.zip")};
    const UpdateServerChoice c = ChooseUpdateServer(arguments, setting, profile);
    QCOMPARE(c.addresses.updateIni, updateIni);
    QCOMPARE(c.addresses.chapters, chapters);
    QCOMPARE(c.note, note);
}

void TestUpdateCore::stagingPlace()
{
    // Pictures of the same name are replaced, others stay; the chapter comes last
    // and the staging folder goes.
    QTemporaryDir tmp;
    const QString chapters = tmp.filePath(QStringLiteral("Htm/"));
    QDir().mkpath(chapters + QStringLiteral("d"));
    const auto write = [](const QString& path, const QByteArray& bytes) {
        QFile f(path);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(bytes);
    };
    write(chapters + QStringLiteral("d/old.gif"), "old");
    write(chapters + QStringLiteral("d/a.gif"), "old");
    const UpdateStaging staging(chapters);
    QCOMPARE(staging.path(), tmp.filePath(QStringLiteral(".Htm.update/")));
    QVERIFY(staging.prepare());
    QVERIFY(staging.makeAssetFolder(QStringLiteral("d")));
    write(staging.chapterTarget(QStringLiteral("1.htm")), "new");
    write(staging.assetTarget(QStringLiteral("d"), QStringLiteral("a.gif")), "new");
    QVERIFY(staging.place(QStringLiteral("1.htm"), QStringLiteral("d"), {QStringLiteral("a.gif"), QStringLiteral("a.gif")}));
    QVERIFY(!QFileInfo::exists(staging.path()));
    QStringList got = QDir(chapters + QStringLiteral("d")).entryList(QDir::Files);
    QCOMPARE(got, QStringList({QStringLiteral("a.gif"), QStringLiteral("old.gif")}));
    QFile a(chapters + QStringLiteral("d/a.gif"));
    QVERIFY(a.open(QIODevice::ReadOnly));
    QCOMPARE(a.readAll(), QByteArray("new"));
    QVERIFY(QFileInfo::exists(chapters + QStringLiteral("1.htm")));
    // A picture that never arrived: the chapter does not go in.
    QVERIFY(staging.prepare());
    write(staging.chapterTarget(QStringLiteral("2.htm")), "new");
    QVERIFY(!staging.place(QStringLiteral("2.htm"), QString(), {QStringLiteral("b.gif")}));
    QVERIFY(!QFileInfo::exists(chapters + QStringLiteral("2.htm")));
    QVERIFY(!QFileInfo::exists(staging.path()));
}

QTEST_GUILESS_MAIN(TestUpdateCore)
#include "tst_update_core.moc"
