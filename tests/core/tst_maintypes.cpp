#include "Cp1250.h"
#include "MainTypes.h"
#include "TextFile.h"
#include "TestFiles.h"

#include <QTemporaryDir>
#include <QTest>

using namespace tavio;

class TestMainTypes final : public QObject
{
    Q_OBJECT
private slots:
    void escapeAmpersands_data();
    void escapeAmpersands();
    void captions_data();
    void captions();
    void removeFileExt_data();
    void removeFileExt();
    void decodeAmpEntities_data();
    void decodeAmpEntities();
    void fileUrlToPath_data();
    void fileUrlToPath();
    void version();
    void deleteFolderTree();
    void deleteFolderTreeKeepsLinkTargets();
    void textFiles();
    void textFileWriteFailureKeepsOldFile();
};

void TestMainTypes::escapeAmpersands_data()
{
    QTest::addColumn<QString>("in");
    QTest::addColumn<QString>("out");
    QTest::newRow("single") << "Menu & okna" << "Menu && okna";
    QTest::newRow("pair stays") << "A&&B" << "A&&B";
    QTest::newRow("alone") << "&" << "&& ";
    QTest::newRow("only pair") << "&&" << "";
    QTest::newRow("trailing") << "Konec&" << "Konec";
    QTest::newRow("trailing three") << "Konec&&&" << "Konec";
    QTest::newRow("inner and trailing") << "a&b&" << "a&&b";
    QTest::newRow("none") << "Bez ampersandu" << "Bez ampersandu";
    QTest::newRow("leading") << "&a" << "&&a";
    QTest::newRow("three inner") << "a&&&b" << "a&&&&b";
}

void TestMainTypes::escapeAmpersands()
{
    QFETCH(QString, in);
    QFETCH(QString, out);
    QCOMPARE(EscapeAmpersands(in), out);
}

void TestMainTypes::captions_data()
{
    QTest::addColumn<QString>("caption");
    QTest::addColumn<QString>("fileName");
    QTest::addColumn<QString>("title");
    QTest::addColumn<QString>("ext");
    QTest::newRow("chapter") << "0005-01.htm [ Title ]" << "0005-01.htm" << "Title" << ".htm";
    QTest::newRow("amp") << "0005-01.htm [ Lekce &amp; text ]" << "0005-01.htm" << "Lekce & text" << ".htm";
    QTest::newRow("no leading blank") << "x.htm [Abc ]" << "x.htm" << "Abc" << ".htm";
    QTest::newRow("no blank, czech") << "0011.htm [Řetězce ]" << "0011.htm" << "Řetězce" << ".htm";
    QTest::newRow("two leading blanks") << "x.htm [  Abc ]" << "x.htm" << " Abc" << ".htm";
    QTest::newRow("folder") << "Moje kapitoly" << "" << "Moje kapito" << "";
    QTest::newRow("folder with dot") << "Díl 5." << "" << "Díl " << "";
    QTest::newRow("upper ext") << "a.HTM [ x ]" << "a.HTM" << "x" << ".HTM";
    QTest::newRow("empty title") << "0001.htm [ ]" << "0001.htm" << "" << ".htm";
    QTest::newRow("czech") << "0003.htm [ Proměnné ]" << "0003.htm" << "Proměnné" << ".htm";
}

void TestMainTypes::captions()
{
    QFETCH(QString, caption);
    QFETCH(QString, fileName);
    QFETCH(QString, title);
    QFETCH(QString, ext);
    QCOMPARE(CaptionToFileName(caption), fileName);
    QCOMPARE(CaptionToTitle(caption), title);
    QCOMPARE(CaptionFileExt(caption), ext);
}

void TestMainTypes::removeFileExt_data()
{
    QTest::addColumn<QString>("in");
    QTest::addColumn<QString>("out");
    QTest::newRow("ext") << "0005-01.htm" << "0005-01";
    QTest::newRow("none") << "0005-01" << "0005-01";
    QTest::newRow("dot in folder") << "C:\\a.b\\c" << "C:\\a";
    QTest::newRow("two dots") << "a.tar.gz" << "a.tar";
}

void TestMainTypes::removeFileExt()
{
    QFETCH(QString, in);
    QFETCH(QString, out);
    QCOMPARE(RemoveFileExt(in), out);
}

void TestMainTypes::decodeAmpEntities_data()
{
    QTest::addColumn<QString>("in");
    QTest::addColumn<QString>("out");
    QTest::newRow("nested") << "a &amp;amp; b" << "a & b";
    QTest::newRow("deep") << "&amp;amp;amp;amp;" << "&";
    QTest::newRow("two") << "x &amp; y &amp; z" << "x & y & z";
    QTest::newRow("other entity kept") << "&lt;b&gt; &amp;lt;" << "&lt;b&gt; &lt;";
    QTest::newRow("broken") << "&am p;" << "&am p;";
    QTest::newRow("adjacent") << "&amp;&amp;" << "&&";
}

void TestMainTypes::decodeAmpEntities()
{
    QFETCH(QString, in);
    QFETCH(QString, out);
    QCOMPARE(DecodeAmpEntities(in), out);
    // The same result as replacing the first occurrence until none is left.
    QString slow = in;
    for (qsizetype i; (i = slow.indexOf(QStringLiteral("&amp;"))) >= 0;)
        slow.replace(i, 5, QStringLiteral("&"));
    QCOMPARE(DecodeAmpEntities(in), slow);
}

void TestMainTypes::fileUrlToPath_data()
{
    QTest::addColumn<QString>("url");
    QTest::addColumn<QString>("path");
    QTest::addColumn<bool>("ok");
    QTest::newRow("plain") << "file:///home/u/Htm/0005-01.htm" << "/home/u/Htm/0005-01.htm" << true;
    QTest::newRow("blank") << "file:///home/u/Program%20Files/X/Htm/0005-01.htm"
                           << "/home/u/Program Files/X/Htm/0005-01.htm" << true;
    QTest::newRow("percent once") << "file:///tmp/a%2541.htm" << "/tmp/a%41.htm" << true;
    QTest::newRow("utf8 bytes") << "file:///tmp/kapitoly%20%C4%8Desky/0001.htm" << "/tmp/kapitoly česky/0001.htm" << true;
    QTest::newRow("bad escape") << "file:///tmp/a%zz.htm" << "" << false;
    QTest::newRow("cut escape") << "file:///tmp/a%4" << "" << false;
}

void TestMainTypes::fileUrlToPath()
{
    QFETCH(QString, url);
    QFETCH(QString, path);
    QFETCH(bool, ok);
    const auto result = FileUrlToPath(url);
    QCOMPARE(result.has_value(), ok);
    if (ok)
        QCOMPARE(*result, path);
}

void TestMainTypes::version()
{
    const TProgramVersion v = GetProgramVersion();
    QCOMPARE(v, (TProgramVersion{1, 0, 12, 550}));
    QCOMPARE(VersionText(), QStringLiteral("1.0.12.550"));
    QCOMPARE(VersionText(TProgramVersion{}), QStringLiteral("0.0.0.0"));
}

void TestMainTypes::deleteFolderTree()
{
    QTemporaryDir tmp;
    const QString root = tmp.filePath(QStringLiteral("0001_soubory"));
    testfiles::write(root + QStringLiteral("/obr1.png"), "x");
    testfiles::write(root + QStringLiteral("/.hidden"), "x");
    testfiles::write(root + QStringLiteral("/sub/deeper/a.gif"), "x");
    QVERIFY(DeleteFolderTree(root + QLatin1Char('/')));
    QVERIFY(!QFileInfo::exists(root));
    QVERIFY(QFileInfo::exists(tmp.path()));

    QString error;
    QVERIFY(!DeleteFolderTree(tmp.filePath(QStringLiteral("missing")), &error));
    QVERIFY(!error.isEmpty());
}

void TestMainTypes::deleteFolderTreeKeepsLinkTargets()
{
    QTemporaryDir tmp;
    const QString outside = tmp.filePath(QStringLiteral("outside"));
    testfiles::write(outside + QStringLiteral("/precious.txt"), "keep me");
    const QString root = tmp.filePath(QStringLiteral("assets"));
    testfiles::write(root + QStringLiteral("/a.png"), "x");
    QVERIFY(QFile::link(outside, root + QStringLiteral("/link-to-folder")));
    QVERIFY(QFile::link(outside + QStringLiteral("/precious.txt"), root + QStringLiteral("/link-to-file")));
    QVERIFY(DeleteFolderTree(root));
    QVERIFY(!QFileInfo::exists(root));
    QCOMPARE(testfiles::read(outside + QStringLiteral("/precious.txt")), QByteArray("keep me"));

    // A link given as the folder itself is removed, its target stays.
    const QString link = tmp.filePath(QStringLiteral("link"));
    QVERIFY(QFile::link(outside, link));
    QVERIFY(DeleteFolderTree(link));
    QVERIFY(!QFileInfo(link).isSymLink());
    QVERIFY(QFileInfo::exists(outside + QStringLiteral("/precious.txt")));
}

void TestMainTypes::textFiles()
{
    QTemporaryDir tmp;
    const QString path = tmp.filePath(QStringLiteral("a.txt"));
    QVERIFY(WriteTextLines(path, {QStringLiteral("Příliš žluťoučký kůň"), QString(), QStringLiteral("€ – „x“")}));
    QCOMPARE(testfiles::read(path), QByteArray("P\xf8\xedli\x9a \x9elu\x9dou\xe8k\xfd k\xf9\xf2\r\n\r\n\x80 \x96 \x84x\x93\r\n"));
    QCOMPARE(*ReadTextLines(path),
             (QStringList{QStringLiteral("Příliš žluťoučký kůň"), QString(), QStringLiteral("€ – „x“")}));
    // Characters the code page lacks become question marks, nothing else changes.
    QCOMPARE(cp1250::fromUnicode(QStringLiteral("a→b😀c")), QByteArray("a?b?c"));
    // Every line end the platform knows splits lines.
    QCOMPARE(SplitLines("a\r\nb\rc\nd"), (QStringList{QStringLiteral("a"), QStringLiteral("b"), QStringLiteral("c"), QStringLiteral("d")}));
    QCOMPARE(SplitLines("a\n\nb\n"), (QStringList{QStringLiteral("a"), QString(), QStringLiteral("b")}));
    // A bounded read refuses a larger file instead of reading part of it.
    FileError error;
    QVERIFY(!ReadFileBytes(path, 4, &error));
    QVERIFY(!error.message.isEmpty());
}

void TestMainTypes::textFileWriteFailureKeepsOldFile()
{
    QTemporaryDir tmp;
    const QString path = tmp.filePath(QStringLiteral("Custom.trw"));
    QVERIFY(WriteTextLines(path, {QStringLiteral("old")}));
    QFile::setPermissions(path, QFileDevice::ReadOwner | QFileDevice::ReadGroup);
    FileError error;
    QVERIFY(!WriteTextLines(path, {QStringLiteral("new")}, &error));
    QVERIFY(!error.message.isEmpty());
    QCOMPARE(testfiles::read(path), QByteArray("old\r\n"));
    // A target in a folder that does not exist fails without leaving anything.
    QVERIFY(!WriteTextLines(tmp.filePath(QStringLiteral("no/such/file.txt")), {QStringLiteral("x")}));
}

QTEST_GUILESS_MAIN(TestMainTypes)
#include "tst_maintypes.moc"
