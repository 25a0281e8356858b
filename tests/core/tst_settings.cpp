#include "AppSettings.h"
#include "FileLayout.h"
#include "MainTypes.h"
#include "Profile.h"
#include "SettingsStore.h"
#include "TestFiles.h"

#include <QTemporaryDir>
#include <QTest>

#include <unistd.h>

using namespace tavio;

class TestSettings final : public QObject
{
    Q_OBJECT
private slots:
    void typesRoundTrip();
    void keyExistenceAndDelete();
    void persistsAcrossInstances();
    void damagedFileIsKept();
    void unwritableFile();
    void batchWritesOnce();
    void options();
    void filesPathAndLastProject();
    void geometry();
    void profile();
    void colourNames_data();
    void colourNames();
    void twoCopiesKeepEachOthersValues();
    void installedLayout_data();
    void installedLayout();
};

void TestSettings::typesRoundTrip()
{
    QTemporaryDir tmp;
    SettingsStore s(tmp.filePath(QStringLiteral("hive.ini")));
    const QString key = QStringLiteral("\\Software\\Marrowick\\Tavio\\");
    QVERIFY(s.writeString(key, QStringLiteral("FilesPath"), QStringLiteral("/tmp/kapitoly česky/")));
    QVERIFY(s.writeInteger(key, QStringLiteral("IEFontSize"), 4));
    QVERIFY(s.writeInteger(key, QStringLiteral("Negative"), -7));
    QVERIFY(s.writeBool(key + QStringLiteral("Settings\\"), QStringLiteral("ShowHints"), false));
    const QByteArray bytes("\x03\x00\x00\x00", 4);
    QVERIFY(s.writeBinary(QStringLiteral("\\Software\\Marrowick\\"), QStringLiteral("IEFontSize"), bytes));
    QVERIFY(s.writeString(key, QStringLiteral("Odd"), QStringLiteral("@ByteArray(no)")));

    QCOMPARE(*s.readString(key, QStringLiteral("FilesPath")), QStringLiteral("/tmp/kapitoly česky/"));
    QCOMPARE(*s.readInteger(key, QStringLiteral("IEFontSize")), 4);
    QCOMPARE(*s.readInteger(key, QStringLiteral("Negative")), -7);
    QCOMPARE(*s.readBool(key + QStringLiteral("Settings\\"), QStringLiteral("ShowHints")), false);
    QCOMPARE(*s.readBinary(QStringLiteral("\\Software\\Marrowick\\"), QStringLiteral("IEFontSize")), bytes);
    QCOMPARE(*s.readString(key, QStringLiteral("Odd")), QStringLiteral("@ByteArray(no)"));
    // Missing values and values of another type give nothing.
    QVERIFY(!s.readString(key, QStringLiteral("Missing")));
    QVERIFY(!s.readInteger(key, QStringLiteral("FilesPath")));
    QVERIFY(!s.readBinary(key, QStringLiteral("IEFontSize")));
    QVERIFY(!s.readInteger(QStringLiteral("\\Software\\Marrowick\\"), QStringLiteral("IEFontSize")));
}

void TestSettings::keyExistenceAndDelete()
{
    QTemporaryDir tmp;
    SettingsStore s(tmp.filePath(QStringLiteral("hive.ini")));
    const QString root = QStringLiteral("\\Software\\Marrowick\\Tavio\\");
    QVERIFY(!s.keyExists(root));
    s.writeString(root + QStringLiteral("Marks\\0\\"), QStringLiteral("Name"), QStringLiteral("mark_1"));
    s.writeString(root + QStringLiteral("Marks\\1\\"), QStringLiteral("Name"), QStringLiteral("mark_2"));
    s.writeInteger(root + QStringLiteral("Version\\"), QStringLiteral("Major"), 1);
    // A key with only subkeys exists too.
    QVERIFY(s.keyExists(root));
    QVERIFY(s.keyExists(root + QStringLiteral("Marks")));
    QVERIFY(s.keyExists(QStringLiteral("Software/Marrowick/Tavio/Marks/1")));
    QCOMPARE(s.subKeys(root + QStringLiteral("Marks\\")), (QStringList{QStringLiteral("0"), QStringLiteral("1")}));
    QVERIFY(s.deleteKey(root + QStringLiteral("Marks\\")));
    QVERIFY(!s.keyExists(root + QStringLiteral("Marks\\")));
    QVERIFY(!s.keyExists(root + QStringLiteral("Marks\\0\\")));
    QVERIFY(s.keyExists(root + QStringLiteral("Version\\")));
    // Deleting a key leaves a sibling whose name starts the same.
    s.writeInteger(root + QStringLiteral("Versions\\"), QStringLiteral("x"), 1);
    s.deleteKey(root + QStringLiteral("Version\\"));
    QVERIFY(s.keyExists(root + QStringLiteral("Versions\\")));
}

void TestSettings::persistsAcrossInstances()
{
    QTemporaryDir tmp;
    const QString file = tmp.filePath(QStringLiteral("hive.ini"));
    {
        SettingsStore s(file);
        s.writeInteger(QStringLiteral("\\A\\B\\"), QStringLiteral("n"), 42);
        s.writeString(QStringLiteral("\\Software\\Microsoft\\Internet Explorer\\International\\Scripts\\3"),
                      QStringLiteral("Value With Blanks"), QStringLiteral("x"));
    }
    SettingsStore again(file);
    QCOMPARE(*again.readInteger(QStringLiteral("\\A\\B\\"), QStringLiteral("n")), 42);
    QCOMPARE(*again.readString(QStringLiteral("\\Software\\Microsoft\\Internet Explorer\\International\\Scripts\\3\\"),
                               QStringLiteral("Value With Blanks")),
             QStringLiteral("x"));
}

void TestSettings::damagedFileIsKept()
{
    QTemporaryDir tmp;
    const QString file = tmp.filePath(QStringLiteral("hive.ini"));
    QByteArray garbage("[Software]\nMarrowick\\Tavio\\FilesPath=/x/\n[\x01\x02\xff broken\n=\n\x00\x00", 48);
    testfiles::write(file, garbage);
    SettingsStore s(file);
    // Whatever the store makes of it, the user's file survives beside it.
    if (!s.damagedCopy().isEmpty())
        QCOMPARE(testfiles::read(s.damagedCopy()), garbage);
    s.writeInteger(QStringLiteral("\\X\\"), QStringLiteral("y"), 1);
    QCOMPARE(*s.readInteger(QStringLiteral("\\X\\"), QStringLiteral("y")), 1);
}

void TestSettings::unwritableFile()
{
    QTemporaryDir tmp;
    const QString dir = tmp.filePath(QStringLiteral("ro"));
    QDir().mkpath(dir);
    SettingsStore s(dir + QStringLiteral("/hive.ini"));
    QFile::setPermissions(dir, QFileDevice::ReadOwner | QFileDevice::ExeOwner);
    const bool wrote = s.writeInteger(QStringLiteral("\\A\\"), QStringLiteral("n"), 1);
    QFile::setPermissions(dir, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    if (::geteuid() != 0)
        QVERIFY(!wrote);
}

void TestSettings::batchWritesOnce()
{
    QTemporaryDir tmp;
    const QString file = tmp.filePath(QStringLiteral("hive.ini"));
    SettingsStore s(file);
    s.beginBatch();
    s.beginBatch();
    QVERIFY(s.writeInteger(QStringLiteral("\\A\\"), QStringLiteral("n"), 1));
    QVERIFY(s.deleteKey(QStringLiteral("\\B\\")));
    // Readers of the same store see the values at once, the file only at the end.
    QCOMPARE(*s.readInteger(QStringLiteral("\\A\\"), QStringLiteral("n")), 1);
    QVERIFY(s.endBatch());
    QVERIFY(!testfiles::read(file).contains("n=1"));
    QVERIFY(s.endBatch());
    QVERIFY(testfiles::read(file).contains("n=1"));
    // Unbalanced ends do no harm.
    QVERIFY(s.endBatch());
    QVERIFY(s.writeInteger(QStringLiteral("\\A\\"), QStringLiteral("n"), 2));
    QVERIFY(testfiles::read(file).contains("n=2"));
}

void TestSettings::options()
{
    QTemporaryDir tmp;
    SettingsStore s(tmp.filePath(QStringLiteral("hive.ini")));
    AppSettings a(s);
    StartOptions o = a.readOptions();
    QVERIFY(o.firstRun);
    QVERIFY(o.OneInstance && o.ShowHints && !o.OpenLastProject);
    a.writeOption(QStringLiteral("ShowHints"), false);
    o = a.readOptions();
    QVERIFY(!o.firstRun);
    QVERIFY(!o.ShowHints);
    QVERIFY(o.OneInstance); // missing values keep their defaults
    QCOMPARE(*s.readInteger(QStringLiteral("\\Software\\Marrowick\\Tavio\\Settings\\"), QStringLiteral("ShowHints")), 0);
    // Any value but 0 reads as true.
    s.writeInteger(AppSettings::settingsKey(), QStringLiteral("OpenLastProject"), 7);
    QVERIFY(a.readOptions().OpenLastProject);
}

void TestSettings::filesPathAndLastProject()
{
    QTemporaryDir tmp;
    SettingsStore s(tmp.filePath(QStringLiteral("hive.ini")));
    AppSettings a(s);
    QVERIFY(a.ReadFilesPath().isEmpty());
    QVERIFY(!a.hasLastProject());
    a.WriteFilesPath(QStringLiteral("/data/Htm/"));
    QCOMPARE(a.ReadFilesPath(), QStringLiteral("/data/Htm/"));
    a.writeLastProject(QString());
    QVERIFY(a.hasLastProject());
    QVERIFY(a.readLastProject().isEmpty());
    a.WriteVersionValues(GetProgramVersion());
    QCOMPARE(*s.readInteger(QStringLiteral("\\Software\\Marrowick\\Tavio\\Version\\"), QStringLiteral("Build")), 550);
    QCOMPARE(*s.readInteger(QStringLiteral("\\Software\\Marrowick\\Tavio\\Version\\"), QStringLiteral("Release")), 12);
}

void TestSettings::geometry()
{
    QTemporaryDir tmp;
    SettingsStore s(tmp.filePath(QStringLiteral("hive.ini")));
    AppSettings a(s);
    QVERIFY(!a.readGeometry());
    a.writeGeometry(false, QRect(10, 20, 800, 600));
    a.writeGeometry(true, QRect(0, 0, 1920, 1080)); // maximized: the normal bounds stay
    const auto g = a.readGeometry();
    QVERIFY(g);
    QVERIFY(g->maximized);
    QCOMPARE(*g->left, 10);
    QCOMPARE(*g->width, 800);
    // A key with only some values gives just those.
    s.deleteKey(AppSettings::formSettingsKey());
    s.writeInteger(AppSettings::formSettingsKey(), QStringLiteral("Width"), 900);
    const auto partial = a.readGeometry();
    QVERIFY(partial && !partial->left && *partial->width == 900 && !partial->maximized);
}

void TestSettings::profile()
{
    const Profile& p = Profile::instance();
    QCOMPARE(p.text(ProfileId::ApplicationTitle), QStringLiteral("Tavio"));
    QCOMPARE(p.text(QStringLiteral("RegistryRoot")), QStringLiteral("\\Software\\Marrowick\\Tavio\\"));
    QCOMPARE(p.text(ProfileId::LineBreak), QStringLiteral("\r\n"));
    QCOMPARE(*p.idOf(QStringLiteral("MutexName")), ProfileId::MutexName);
    QCOMPARE(p.integer(ProfileId::HelpWindowHistoryHeight), 518);
    QCOMPARE(p.boolean(ProfileId::SerialFinished, true), false);
    // The name of the program file less its last letter.
    QCOMPARE(p.text(ProfileId::ExeNameShort), p.text(ProfileId::ExeName).chopped(1));

    QString error;
    const Profile other = Profile::fromJson(R"({"entries":[{"id":65091,"name":"LogoFontSize","value":"x"},
        {"id":65098,"name":"SerialFinished","value":"1"}]})", &error);
    QVERIFY(error.isEmpty());
    QCOMPARE(other.integer(ProfileId::LogoFontSize, 30), 30);
    QVERIFY(other.boolean(ProfileId::SerialFinished));
    QVERIFY(other.text(ProfileId::ApplicationTitle).isEmpty());
    Profile::fromJson("{ not json", &error);
    QVERIFY(!error.isEmpty());
}

void TestSettings::colourNames_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<int>("rgb"); // -1: not a colour
    QTest::newRow("black") << "clBlack" << 0x000000;
    QTest::newRow("red") << "clRed" << 0xFF0000;
    QTest::newRow("navy") << "clNavy" << 0x000080;
    QTest::newRow("case") << "CLTEAL" << 0x008080;
    QTest::newRow("hex bgr") << "$0000FF" << 0xFF0000;
    QTest::newRow("decimal") << "255" << 0xFF0000;
    QTest::newRow("unknown") << "clRainbow" << -1;
    QTest::newRow("empty") << "" << -1;
}

void TestSettings::colourNames()
{
    QFETCH(QString, name);
    QFETCH(int, rgb);
    const auto c = ColourFromName(name);
    QCOMPARE(c ? int(*c) : -1, rgb);
}

void TestSettings::twoCopiesKeepEachOthersValues()
{
    // Two running copies of the program share one settings file.
    QTemporaryDir tmp;
    const QString file = tmp.filePath(QStringLiteral("hive.ini"));
    const QString key = QStringLiteral("\\Software\\T\\");
    SettingsStore first(file);
    SettingsStore second(file);
    QVERIFY(first.writeString(key, QStringLiteral("A"), QStringLiteral("první")));
    QVERIFY(second.writeString(key, QStringLiteral("B"), QStringLiteral("druhá")));
    QVERIFY(first.deleteValue(key, QStringLiteral("Gone")));
    SettingsStore reader(file);
    QCOMPARE(reader.readString(key, QStringLiteral("A")), QStringLiteral("první"));
    QCOMPARE(reader.readString(key, QStringLiteral("B")), QStringLiteral("druhá"));
}

void TestSettings::installedLayout_data()
{
    QTest::addColumn<bool>("htmBeside");
    QTest::addColumn<bool>("htmInShare");
    QTest::addColumn<bool>("writable");
    QTest::addColumn<bool>("installed");
    QTest::addColumn<QString>("shipped"); // relative to the test folder
    QTest::newRow("build folder") << true << false << true << false << QStringLiteral("bin/Htm/");
    QTest::newRow("build folder beside an old install") << true << true << true << false << QStringLiteral("bin/Htm/");
    QTest::newRow("installed under a prefix") << false << true << true << true << QStringLiteral("share/tavio/Htm/");
    QTest::newRow("read-only program folder") << true << false << false << true << QStringLiteral("bin/Htm/");
    QTest::newRow("read-only, shipped under share") << true << true << false << true << QStringLiteral("share/tavio/Htm/");
}

void TestSettings::installedLayout()
{
    QFETCH(bool, htmBeside);
    QFETCH(bool, htmInShare);
    QFETCH(bool, writable);
    QFETCH(bool, installed);
    QFETCH(QString, shipped);
    QTemporaryDir tmp;
    const QString root = tmp.path() + QLatin1Char('/');
    if (htmBeside)
        QVERIFY(QDir().mkpath(root + QStringLiteral("bin/Htm")));
    if (htmInShare)
        QVERIFY(QDir().mkpath(root + QStringLiteral("share/tavio/Htm")));
    const FileLayout layout =
        FileLayout::choose(root + QStringLiteral("bin"), root + QStringLiteral("data"), root + QStringLiteral("share/tavio"), writable);
    QCOMPARE(layout.isInstalled(), installed);
    QCOMPARE(layout.shippedChapterFolder(), root + shipped);
    QCOMPARE(layout.defaultChapterFolder(),
             installed ? layout.dataFolder() + QStringLiteral("Htm/") : root + QStringLiteral("bin/Htm/"));
    QCOMPARE(layout.programFile().section(QLatin1Char('/'), 0, -2), root + QStringLiteral("bin"));

    // The user's folder gets what was shipped, once; what the user has stays.
    testfiles::write(layout.shippedChapterFolder() + QStringLiteral("0001.htm"), "shipped 1");
    testfiles::write(layout.shippedChapterFolder() + QStringLiteral("0001_soubory/a.png"), "picture");
    if (!installed)
        return;
    QVERIFY(AddShippedChapters(layout.shippedChapterFolder(), layout.defaultChapterFolder()));
    testfiles::write(layout.defaultChapterFolder() + QStringLiteral("0001.htm"), "updated by the user");
    testfiles::write(layout.shippedChapterFolder() + QStringLiteral("0002.htm"), "shipped later");
    QVERIFY(AddShippedChapters(layout.shippedChapterFolder(), layout.defaultChapterFolder()));
    QCOMPARE(testfiles::read(layout.defaultChapterFolder() + QStringLiteral("0001.htm")), QByteArray("updated by the user"));
    QCOMPARE(testfiles::read(layout.defaultChapterFolder() + QStringLiteral("0001_soubory/a.png")), QByteArray("picture"));
    QCOMPARE(testfiles::read(layout.defaultChapterFolder() + QStringLiteral("0002.htm")), QByteArray("shipped later"));
}

QTEST_GUILESS_MAIN(TestSettings)
#include "tst_settings.moc"
