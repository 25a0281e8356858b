#include "IniFile.h"
#include "TestFiles.h"

#include <QTemporaryDir>
#include <QTest>

using namespace tavio;

class TestIniFile final : public QObject
{
    Q_OBJECT
private slots:
    void value_data();
    void value();
    void intValue_data();
    void intValue();
    void listing();
    void notAnIniFile_data();
    void notAnIniFile();
    void load();
};

void TestIniFile::value_data()
{
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<QString>("section");
    QTest::addColumn<QString>("key");
    QTest::addColumn<QString>("expected"); // "<default>" when the key is not found

    QTest::newRow("plain") << QByteArray("[last_version]\r\nmajor=1\r\n") << "last_version" << "major" << "1";
    QTest::newRow("case of names") << QByteArray("[Last_Version]\r\nMAJOR=2") << "LAST_version" << "Major" << "2";
    QTest::newRow("czech case") << QByteArray("[\xc8\xe1st]\r\n\x8e\xe1k=ano") << "\u010d\u00c1ST" << "\u017e\u00e1K"
                                << "ano";
    QTest::newRow("blanks trimmed") << QByteArray("  [ s ]  \r\n \t k  =   v  v \t \r\n") << "s" << "k" << "v  v";
    QTest::newRow("first section wins") << QByteArray("[s]\r\nk=1\r\n[S]\r\nk=2\r\nj=3") << "s" << "k" << "1";
    QTest::newRow("second section unseen") << QByteArray("[s]\r\nk=1\r\n[S]\r\nk=2\r\nj=3") << "s" << "j"
                                           << "<default>";
    QTest::newRow("first key wins") << QByteArray("[s]\r\nk=1\r\nK=2") << "s" << "k" << "1";
    QTest::newRow("equals in value") << QByteArray("[s]\r\nk=a=b") << "s" << "k" << "a=b";
    QTest::newRow("empty value") << QByteArray("[s]\r\nk=\r\n") << "s" << "k" << "";
    QTest::newRow("no escapes") << QByteArray("[s]\r\nk=a\\tb\\n") << "s" << "k" << "a\\tb\\n";
    QTest::newRow("no continuation") << QByteArray("[s]\r\nk=a\\\r\nb=c") << "s" << "k" << "a\\";
    QTest::newRow("comment line") << QByteArray("[s]\r\n;k=1\r\n  ; k=2\r\nk=3") << "s" << "k" << "3";
    QTest::newRow("semicolon inside value") << QByteArray("[s]\r\nk=1 ; pozn") << "s" << "k" << "1 ; pozn";
    QTest::newRow("commented section") << QByteArray(";[s]\r\nk=1") << "s" << "k" << "<default>";
    QTest::newRow("double quotes") << QByteArray("[s]\r\nk=\"  a b \"") << "s" << "k" << "  a b ";
    QTest::newRow("single quotes") << QByteArray("[s]\r\nk='x'") << "s" << "k" << "x";
    QTest::newRow("unmatched quotes") << QByteArray("[s]\r\nk=\"x'") << "s" << "k" << "\"x'";
    QTest::newRow("key before any section") << QByteArray("k=1\r\n[s]\r\n") << "s" << "k" << "<default>";
    QTest::newRow("line without equals") << QByteArray("[s]\r\nk\r\nk=2") << "s" << "k" << "2";
    QTest::newRow("empty key") << QByteArray("[s]\r\n=1") << "s" << "" << "<default>";
    QTest::newRow("unclosed header") << QByteArray("[s]\r\n[t\r\nj=2") << "s" << "j" << "2";
    QTest::newRow("windows-1250 value") << QByteArray("[s]\r\nk=\xe8\xedslo") << "s" << "k" << "\u010d\u00edslo";
    QTest::newRow("cr ends") << QByteArray("[s]\rk=1\r") << "s" << "k" << "1";
    QTest::newRow("utf-8 mark") << QByteArray("\xef\xbb\xbf[s]\r\nk=1") << "s" << "k" << "1";
}

void TestIniFile::value()
{
    QFETCH(QByteArray, content);
    QFETCH(QString, section);
    QFETCH(QString, key);
    QFETCH(QString, expected);
    const IniFile ini = IniFile::parse(content);
    QCOMPARE(ini.value(section, key, QStringLiteral("<default>")), expected);
}

void TestIniFile::intValue_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("expected");
    QTest::newRow("number") << "120" << 120;
    QTest::newRow("negative") << "-3" << -3;
    QTest::newRow("plus") << "+4" << 4;
    QTest::newRow("blanks around") << "  7 " << 7;
    QTest::newRow("trailing text") << "12abc" << -1;
    QTest::newRow("inner blank") << "1 2" << -1;
    QTest::newRow("empty") << "" << -1;
    QTest::newRow("hex") << "0x10" << -1;
    QTest::newRow("too large") << "2147483648" << -1;
    QTest::newRow("largest") << "2147483647" << 2147483647;
}

void TestIniFile::intValue()
{
    QFETCH(QString, text);
    QFETCH(int, expected);
    const IniFile ini = IniFile::parse(QByteArray("[last_file_index]\r\nvalue=" + text.toLatin1() + "\r\n"));
    QCOMPARE(ini.intValue(QStringLiteral("Last_File_Index"), QStringLiteral("VALUE"), -1), expected);
    QCOMPARE(ini.intValue(QStringLiteral("last_file_index"), QStringLiteral("missing"), -1), -1);
}

void TestIniFile::listing()
{
    const IniFile ini = IniFile::parse("[1]\r\nfile=0107.htm\r\ndir=0107_soubory\\\r\nfile1=a.gif\r\nFILE=x\r\n"
                                       "[prazdna]\r\n\r\n[2]\r\nfile=0108.htm\r\n[PRAZDNA]\r\nk=v\r\n");
    QCOMPARE(ini.sections(), (QStringList{QStringLiteral("1"), QStringLiteral("prazdna"), QStringLiteral("2")}));
    QCOMPARE(ini.keys(QStringLiteral("1")),
             (QStringList{QStringLiteral("file"), QStringLiteral("dir"), QStringLiteral("file1")}));
    QCOMPARE(ini.value(QStringLiteral("1"), QStringLiteral("dir")), QStringLiteral("0107_soubory\\"));
    QVERIFY(ini.hasSection(QStringLiteral("Prazdna")));
    QVERIFY(ini.keys(QStringLiteral("prazdna")).isEmpty());
    QVERIFY(!ini.hasSection(QStringLiteral("3")));
    QVERIFY(ini.keys(QStringLiteral("3")).isEmpty());
}

void TestIniFile::notAnIniFile_data()
{
    QTest::addColumn<QByteArray>("content");
    QTest::newRow("empty") << QByteArray();
    QTest::newRow("html page") << QByteArray("<html>\r\n<head><title>404 Not Found</title></head>\r\n"
                                             "<body>[last_version] not here; major=1</body>\r\n</html>\r\n");
    QByteArray picture("\x89PNG\r\n\x1a\n\0\0\0\rIHDR", 16);
    for (int i = 0; i < 5000; ++i)
        picture += char((i * 7919 + 13) % 256 == '[' ? 0 : (i * 7919 + 13) % 256);
    QTest::newRow("binary") << picture;
    QTest::newRow("keys without section") << QByteArray("major=1\r\nminor=2\r\n");
}

void TestIniFile::notAnIniFile()
{
    QFETCH(QByteArray, content);
    const IniFile ini = IniFile::parse(content);
    QVERIFY(ini.sections().isEmpty());
    QVERIFY(!ini.hasSection(QStringLiteral("last_version")));
    QCOMPARE(ini.value(QStringLiteral("last_version"), QStringLiteral("major"), QStringLiteral("d")),
             QStringLiteral("d"));
}

void TestIniFile::load()
{
    QTemporaryDir tmp;
    const QString path = tmp.filePath(QStringLiteral("update.ini"));
    testfiles::write(path, "[last_version]\r\nmajor=1\r\n");
    const auto ini = IniFile::load(path);
    QVERIFY(ini);
    QCOMPARE(ini->value(QStringLiteral("last_version"), QStringLiteral("major")), QStringLiteral("1"));

    FileError error;
    QVERIFY(!IniFile::load(tmp.filePath(QStringLiteral("missing.ini")), &error));
    QVERIFY(!error.message.isEmpty());
    // An oversized file is refused, not read in part.
    testfiles::write(path, "[s]\r\nk=1\r\n" + QByteArray(IniFile::MaxBytes, ' '));
    QVERIFY(!IniFile::load(path));
}

QTEST_GUILESS_MAIN(TestIniFile)
#include "tst_inifile.moc"
