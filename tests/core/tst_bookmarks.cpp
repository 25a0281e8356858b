#include "Bookmarks.h"
#include "Cp1250.h"
#include "SettingsStore.h"
#include "TestFiles.h"

#include <QElapsedTimer>
#include <QTemporaryDir>
#include <QTest>
#include <QtEndian>

using namespace tavio;

namespace {

const QString Marks = QStringLiteral("\\Software\\Marrowick\\Tavio\\Marks\\");

QStringList strings(std::initializer_list<const char*> texts)
{
    QStringList out;
    for (const char* t : texts)
        out.append(QString::fromUtf8(t));
    return out;
}

QString sub(int i)
{
    return Marks + QString::number(i) + QLatin1Char('\\');
}

TTreeMark source(TTreeTypes type, qint32 absolutId, const QString& file)
{
    TTreeMark m;
    m.TreeType = type;
    m.AbsolutId = absolutId;
    m.FileName = file;
    return m;
}

// Three bookmarks made in a store without bookmarks.
void addThree(Bookmarks& marks, const QString& folder)
{
    marks.AddBookmark(source(ttFiles, 1234567, folder + QStringLiteral("0001.htm")), QStringLiteral("Úvod"));
    marks.AddBookmark(source(ttView, -1, folder + QStringLiteral("0002-01.htm")), QStringLiteral("Proměnné & pole"));
    marks.AddBookmark(source(ttCustom, 7, folder + QStringLiteral("0003.htm")), QStringLiteral("  Třetí  "));
}

QByteArray field(const QByteArray& file, int record, int offset, int size)
{
    return file.mid(record * 827 + offset, size);
}

// The text of a short string at an offset.
QByteArray shortString(const QByteArray& file, int record, int offset)
{
    const int n = quint8(file[record * 827 + offset]);
    return file.mid(record * 827 + offset + 1, n);
}

void writeStore(SettingsStore& s, int i, const QString& name, std::optional<int> treeType, const QString& file,
                std::optional<int> absolutId)
{
    s.writeString(sub(i), QStringLiteral("Name"), name);
    if (treeType)
        s.writeInteger(sub(i), QStringLiteral("TreeType"), *treeType);
    s.writeString(sub(i), QStringLiteral("Caption"), QStringLiteral("Záložka ") + QString::number(i));
    s.writeString(sub(i), QStringLiteral("FileName"), file);
    if (absolutId)
        s.writeInteger(sub(i), QStringLiteral("AbsolutId"), *absolutId);
}

} // namespace

class TestBookmarks final : public QObject
{
    Q_OBJECT
private slots:
    void shortCutCodes_data();
    void shortCutCodes();
    void proposals();
    void registryRoundTrip();
    void loadStopsAtGap();
    void loadOddValues_data();
    void loadOddValues();
    void loadRefusesPathsOutsideFolder();
    void renumbering();
    void exportLayout();
    void exportFailures();
    void importRoundTrip();
    void importRefused_data();
    void importRefused();
    void hugeFileIsReadRecordByRecord();
    void textsOutsideCodePage();

private:
    QTemporaryDir m_tmp;
};

void TestBookmarks::shortCutCodes_data()
{
    QTest::addColumn<int>("code");
    QTest::addColumn<QKeyCombination>("key");
    QTest::newRow("Ctrl+B") << 16450 << QKeyCombination(Qt::ControlModifier, Qt::Key_B);
    QTest::newRow("Ctrl+E") << 16453 << QKeyCombination(Qt::ControlModifier, Qt::Key_E);
    QTest::newRow("Ctrl+I") << 16457 << QKeyCombination(Qt::ControlModifier, Qt::Key_I);
    QTest::newRow("Ctrl+X") << 16472 << QKeyCombination(Qt::ControlModifier, Qt::Key_X);
    QTest::newRow("Shift+F2") << (0x2000 | 0x71) << QKeyCombination(Qt::ShiftModifier, Qt::Key_F2);
    QTest::newRow("Ctrl+Alt+Del") << (0xC000 | 0x2E)
                                  << QKeyCombination(Qt::ControlModifier | Qt::AltModifier, Qt::Key_Delete);
    QTest::newRow("Ctrl+Shift+7") << (0x6000 | '7')
                                  << QKeyCombination(Qt::ControlModifier | Qt::ShiftModifier, Qt::Key_7);
    QTest::newRow("none") << 0 << QKeyCombination(Qt::Key(0));
}

void TestBookmarks::shortCutCodes()
{
    QFETCH(int, code);
    QFETCH(QKeyCombination, key);
    QCOMPARE(ShortCutToKey(quint16(code)), key);
    QCOMPARE(KeyToShortCut(key), quint16(code));
    // A virtual key without a key of ours gives no shortcut at all.
    QCOMPARE(ShortCutToKey(0x4000 | 0xFF), QKeyCombination(Qt::Key(0)));
}

void TestBookmarks::proposals()
{
    const QString folder = m_tmp.filePath(QStringLiteral("prop/"));
    const TTreeMark node =
        MarkFromTreeNode(ttCustom, QStringLiteral("0005-01.htm [ Vstup &amp; výstup ]"), 12, folder);
    QCOMPARE(node.Caption, QStringLiteral("Vstup & výstup"));
    QCOMPARE(node.FileName, folder + QStringLiteral("0005-01.htm"));
    QCOMPARE(node.AbsolutId, 12);
    QCOMPARE(node.TreeType, TTreeTypes(ttCustom));

    testfiles::write(folder + QStringLiteral("0006.htm"), "<H2>Lekce 6 - Soubory &amp;amp; slo\x9eky</H2>\r\n");
    bool notFound = true;
    const TTreeMark view = MarkFromChapterView(folder, QStringLiteral("0006"), &notFound);
    QVERIFY(!notFound);
    QCOMPARE(view.Caption, QStringLiteral("Soubory & složky"));
    QCOMPARE(view.FileName, folder + QStringLiteral("0006.htm"));
    QCOMPARE(view.AbsolutId, -1);
    QCOMPARE(view.TreeType, TTreeTypes(ttView));

    // A chapter deleted under the view proposes no name, and says why.
    QFile::remove(folder + QStringLiteral("0006.htm"));
    const TTreeMark gone = MarkFromChapterView(folder, QStringLiteral("0006.htm"), &notFound);
    QVERIFY(notFound);
    QCOMPARE(gone.Caption, QString());
    QCOMPARE(gone.FileName, folder + QStringLiteral("0006.htm"));
}

void TestBookmarks::registryRoundTrip()
{
    SettingsStore store(m_tmp.filePath(QStringLiteral("first.ini")));
    Bookmarks marks;
    marks.LoadBookmarks(store, QStringLiteral("/old/"));
    QVERIFY(marks.list().isEmpty());
    QCOMPARE(marks.menu(), Bookmarks::fixedItems());

    // The first bookmark fills in the command entries from the fixed items.
    QCOMPARE(marks.AddBookmark(source(ttView, -1, QStringLiteral("/old/0002-01.htm")), QStringLiteral("Pole")), 5);
    QCOMPARE(marks.list()[5].Name, QStringLiteral("mark_1"));
    marks.MoveToFolder(QStringLiteral("/new"));
    QCOMPARE(marks.list()[5].FileName, QStringLiteral("/new/0002-01.htm"));
    QCOMPARE(marks.menu()[5].Hint, QStringLiteral("<< Záložka >> /new/0002-01.htm"));
    QCOMPARE(marks.list()[0].FileName, QStringLiteral("/new/")); // a command entry: the folder alone
    store.writeString(sub(9), QStringLiteral("Name"), QStringLiteral("stale"));
    QVERIFY(marks.SaveBookmarks(store));

    QStringList keys = store.subKeys(Marks);
    keys.sort();
    QCOMPARE(keys, strings({"0", "1", "2", "3", "4", "5"}));
    const QList<TMarkMenuItem> fixed = Bookmarks::fixedItems();
    for (int i = 0; i < 5; ++i) {
        QCOMPARE(*store.readString(sub(i), QStringLiteral("Name")), fixed[i].Name);
        QCOMPARE(*store.readString(sub(i), QStringLiteral("Caption")), fixed[i].Caption);
        QCOMPARE(*store.readInteger(sub(i), QStringLiteral("TreeType")), 0);
        QCOMPARE(*store.readInteger(sub(i), QStringLiteral("AbsolutId")), 0);
        QCOMPARE(*store.readString(sub(i), QStringLiteral("FileName")), QString());
    }
    // A bookmark of the chapter view is stored as 0 and -1 and read back as {ttCustom}.
    QCOMPARE(*store.readInteger(sub(5), QStringLiteral("TreeType")), 0);
    QCOMPARE(*store.readInteger(sub(5), QStringLiteral("AbsolutId")), -1);
    QCOMPARE(*store.readString(sub(5), QStringLiteral("FileName")), QStringLiteral("0002-01.htm"));
    Bookmarks again;
    again.LoadBookmarks(store, QStringLiteral("/b/"));
    QCOMPARE(again.list().size(), 6);
    QCOMPARE(again.list()[5].TreeType, TTreeTypes(ttCustom));
    QCOMPARE(again.list()[5].AbsolutId, -1);
    QCOMPARE(again.list()[5].FileName, QStringLiteral("/b/0002-01.htm"));
    QCOMPARE(again.list()[5].Caption, QStringLiteral("Pole"));
}

void TestBookmarks::loadStopsAtGap()
{
    SettingsStore store(m_tmp.filePath(QStringLiteral("gap.ini")));
    store.beginBatch();
    for (int i : {0, 1, 2, 3, 4, 5, 6, 7, 9})
        writeStore(store, i, QStringLiteral("mark_") + QString::number(i), 1,
                   QStringLiteral("%1.htm").arg(i, 4, 10, QLatin1Char('0')), i);
    store.endBatch();
    Bookmarks marks;
    marks.LoadBookmarks(store, QStringLiteral("/htm/"));
    QCOMPARE(marks.list().size(), 8);
    QCOMPARE(marks.bookmarkCount(), 3);
    // The fixed items stay as they were; the bookmarks carry their paths as hints.
    QCOMPARE(marks.menu().mid(0, 5), Bookmarks::fixedItems());
    QCOMPARE(marks.menu()[7].Caption, QStringLiteral("Záložka 7"));
    QCOMPARE(marks.menu()[7].Hint, QStringLiteral("<< Záložka >> /htm/0007.htm"));
    QCOMPARE(marks.list()[7].FileName, QStringLiteral("/htm/0007.htm"));
    QCOMPARE(marks.list()[7].ShortCut, quint16(0));
    QVERIFY(!marks.entryAt(8));
}

void TestBookmarks::loadOddValues_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QVariant>("value"); // invalid: the value is missing
    QTest::addColumn<int>("treeType");
    QTest::addColumn<int>("absolutId");
    QTest::newRow("no TreeType") << "TreeType" << QVariant() << int(ttCustom) << 42;
    QTest::newRow("no AbsolutId") << "AbsolutId" << QVariant() << int(ttFiles) << -1;
    QTest::newRow("TreeType text") << "TreeType" << QVariant(QStringLiteral("ano")) << int(ttCustom) << 42;
    QTest::newRow("AbsolutId binary") << "AbsolutId" << QVariant(QByteArray("\x01", 1)) << int(ttFiles) << -1;
    QTest::newRow("TreeType 5") << "TreeType" << QVariant(5) << int(ttFiles) << 42;
    QTest::newRow("TreeType 0") << "TreeType" << QVariant(0) << int(ttCustom) << 42;
}

void TestBookmarks::loadOddValues()
{
    QFETCH(QString, name);
    QFETCH(QVariant, value);
    QFETCH(int, treeType);
    QFETCH(int, absolutId);
    SettingsStore store(m_tmp.filePath(QString::fromLatin1(QTest::currentDataTag()) + QStringLiteral(".ini")));
    store.beginBatch();
    for (int i = 0; i < 6; ++i)
        writeStore(store, i, QStringLiteral("n"), 1, QStringLiteral("0001.htm"), 42);
    store.deleteValue(sub(5), name);
    store.deleteValue(sub(5), QStringLiteral("Caption"));
    if (value.metaType().id() == QMetaType::QString)
        store.writeString(sub(5), name, value.toString());
    else if (value.metaType().id() == QMetaType::QByteArray)
        store.writeBinary(sub(5), name, value.toByteArray());
    else if (value.isValid())
        store.writeInteger(sub(5), name, value.toInt());
    QVERIFY(store.endBatch());
    Bookmarks marks;
    marks.LoadBookmarks(store, QStringLiteral("/htm/"));
    QCOMPARE(marks.list().size(), 6);
    QCOMPARE(marks.list()[5].TreeType.toInt(), treeType);
    QCOMPARE(marks.list()[5].AbsolutId, absolutId);
    QCOMPARE(marks.list()[5].Caption, QString());
}

void TestBookmarks::loadRefusesPathsOutsideFolder()
{
    SettingsStore store(m_tmp.filePath(QStringLiteral("outside.ini")));
    const QStringList files = {QStringLiteral("../x.htm"), QString(), QString(), QString(), QString(),
                               QStringLiteral("0001.htm"), QStringLiteral("../../../../etc/passwd"),
                               QStringLiteral("/etc/passwd"), QStringLiteral("a\\..\\..\\b.htm"),
                               QStringLiteral(".."), QStringLiteral("0002.htm")};
    store.beginBatch();
    for (int i = 0; i < files.size(); ++i)
        writeStore(store, i, QStringLiteral("mark_") + QString::number(i), 1, files[i], i);
    QVERIFY(store.endBatch());
    Bookmarks marks;
    marks.LoadBookmarks(store, QStringLiteral("/htm/"));
    QCOMPARE(marks.list().size(), 7);
    QCOMPARE(marks.list()[0].FileName, QStringLiteral("/htm/"));
    QCOMPARE(marks.list()[5].FileName, QStringLiteral("/htm/0001.htm"));
    QCOMPARE(marks.list()[6].FileName, QStringLiteral("/htm/0002.htm"));
    QCOMPARE(marks.menu().size(), 7);
}

void TestBookmarks::renumbering()
{
    SettingsStore store(m_tmp.filePath(QStringLiteral("renumber.ini")));
    const QStringList names = strings({"mnuAddMark", "mnuEditMark", "mnuMarksImport", "mnuMarksExport",
                                       "mnuSeparMark", "mark_7", "x", "mark_1"});
    store.beginBatch();
    for (int i = 0; i < names.size(); ++i)
        writeStore(store, i, names[i], 0, QStringLiteral("000%1.htm").arg(i), i);
    store.endBatch();
    Bookmarks marks;
    marks.LoadBookmarks(store, QStringLiteral("/htm/"));
    QCOMPARE(marks.AddBookmark(source(ttFiles, 0, QStringLiteral("/htm/0009.htm")), QStringLiteral("Čtvrtá")), 8);
    QStringList got, items;
    for (int i = 5; i < 9; ++i) {
        got.append(marks.list()[i].Name);
        items.append(marks.menu()[i].Name);
    }
    QCOMPARE(got, strings({"mark_1", "mark_2", "mark_3", "mark_4"}));
    QCOMPARE(items, got);
    QCOMPARE(marks.list()[0].Name, QStringLiteral("mnuAddMark"));
    QCOMPARE(marks.list()[6].Caption, QStringLiteral("Záložka 6"));
}

void TestBookmarks::exportLayout()
{
    Bookmarks marks;
    addThree(marks, QStringLiteral("/htm/"));
    const QString file = m_tmp.filePath(QStringLiteral("three.mrk"));
    QCOMPARE(marks.ExportBookmarks(file), Bookmarks::ExportResult::Ok);
    const QByteArray b = testfiles::read(file);
    QCOMPARE(b.size(), 6616);

    const QByteArray title = QByteArray("\x05Tavio") + QByteArray(45, '\0');
    const int shortCuts[] = {16450, 16453, 16457, 16472, 0, 0, 0, 0};
    for (int r = 0; r < 8; ++r) {
        QCOMPARE(quint8(b[r * 827]), quint8(111));
        QCOMPARE(field(b, r, 1, 51), title);
        QCOMPARE(qFromLittleEndian<quint16>(b.constData() + r * 827 + 825), quint16(shortCuts[r]));
    }
    QCOMPARE(shortString(b, 0, 52), QByteArray("mnuAddMark"));
    QCOMPARE(shortString(b, 0, 309), cp1250::fromUnicode(u"Přidat záložku ..."));
    QCOMPARE(shortString(b, 4, 309), QByteArray("-"));
    QCOMPARE(shortString(b, 4, 52), QByteArray("mnuSeparMark"));
    QCOMPARE(shortString(b, 0, 569), QByteArray());
    // The bookmarks: names, flag bytes, numbers, file names without folders.
    QCOMPARE(shortString(b, 5, 52), QByteArray("mark_1"));
    QCOMPARE(shortString(b, 7, 52), QByteArray("mark_3"));
    QCOMPARE(quint8(b[5 * 827 + 308]), quint8(ttFiles));
    QCOMPARE(quint8(b[6 * 827 + 308]), quint8(ttView));
    QCOMPARE(quint8(b[7 * 827 + 308]), quint8(ttCustom));
    QCOMPARE(shortString(b, 6, 309), cp1250::fromUnicode(u"Proměnné & pole"));
    QCOMPARE(shortString(b, 7, 309), QByteArray("  T\xf8" "et\xed  "));
    QCOMPARE(field(b, 5, 565, 4), QByteArray("\x87\xd6\x12\x00", 4));
    QCOMPARE(field(b, 6, 565, 4), QByteArray("\xff\xff\xff\xff", 4));
    QCOMPARE(shortString(b, 5, 569), QByteArray("0001.htm"));
    QCOMPARE(shortString(b, 6, 569), QByteArray("0002-01.htm"));
    // The room after each text is zero-filled.
    QCOMPARE(field(b, 5, 569 + 9, 247), QByteArray(247, '\0'));
    QCOMPARE(field(b, 5, 52 + 7, 249), QByteArray(249, '\0'));
}

void TestBookmarks::exportFailures()
{
    Bookmarks marks;
    addThree(marks, QStringLiteral("/htm/"));
    QString error;
    QCOMPARE(marks.ExportBookmarks(m_tmp.path(), &error), Bookmarks::ExportResult::CreateError);
    QVERIFY(error.contains(QDir::toNativeSeparators(m_tmp.path())));
    // A read-only file is not replaced, even where the folder would allow it.
    const QString ro = m_tmp.filePath(QStringLiteral("ro.mrk"));
    testfiles::write(ro, "keep");
    QFile::setPermissions(ro, QFileDevice::ReadOwner);
    QCOMPARE(marks.ExportBookmarks(ro), Bookmarks::ExportResult::CreateError);
    QCOMPARE(testfiles::read(ro), QByteArray("keep"));
}

void TestBookmarks::importRoundTrip()
{
    Bookmarks marks;
    addThree(marks, QStringLiteral("/htm/"));
    const QString file = m_tmp.filePath(QStringLiteral("round.mrk"));
    QCOMPARE(marks.ExportBookmarks(file), Bookmarks::ExportResult::Ok);
    // A trailing part shorter than a record is ignored.
    QFile f(file);
    QVERIFY(f.open(QIODevice::Append));
    f.write("\x01\x02\x03\x04", 4);
    f.close();
    QCOMPARE(f.size(), 6620);

    Bookmarks other;
    QVERIFY(other.ImportBookmarks(file, QStringLiteral("/jinde/")));
    QCOMPARE(other.list().size(), 8);
    QCOMPARE(other.menu().size(), 8);
    for (int i = 0; i < 8; ++i) {
        TTreeMark expected = marks.list()[i];
        expected.FileName = QStringLiteral("/jinde/") + FileNamePart(expected.FileName);
        expected.ShortCut = i < 4 ? marks.menu()[i].ShortCut : quint16(0);
        QCOMPARE(other.list()[i], expected);
    }
    QCOMPARE(other.menu()[6].Caption, QStringLiteral("Proměnné && pole"));
    QCOMPARE(other.menu()[6].Hint, QStringLiteral("<< Záložka >> /jinde/0002-01.htm"));
    QCOMPARE(other.menu()[4].Caption, QStringLiteral("-"));
    QVERIFY(other.menu()[3].Hint.isEmpty());
}

void TestBookmarks::importRefused_data()
{
    QTest::addColumn<QString>("what");
    QTest::newRow("foreign title") << "title";
    QTest::newRow("wrong tag in a bookmark") << "tag";
    QTest::newRow("title length past its field") << "titleLength";
    QTest::newRow("four records") << "four";
    QTest::newRow("empty file") << "empty";
    QTest::newRow("a few bytes") << "few";
    QTest::newRow("folder") << "folder";
    QTest::newRow("missing") << "missing";
    QTest::newRow("file name with parent folder") << "dotdot";
    QTest::newRow("file name with backslash") << "backslash";
}

void TestBookmarks::importRefused()
{
    QFETCH(QString, what);
    Bookmarks good;
    addThree(good, QStringLiteral("/htm/"));
    QString file = m_tmp.filePath(what + QStringLiteral(".mrk"));
    good.ExportBookmarks(file);
    QByteArray b = testfiles::read(file);
    auto putText = [&](int record, int offset, const QByteArray& text) {
        b[record * 827 + offset] = char(text.size());
        b.replace(record * 827 + offset + 1, text.size(), text);
    };
    if (what == QStringLiteral("title"))
        putText(2, 1, "Jiný");
    else if (what == QStringLiteral("tag"))
        b[6 * 827] = char(112);
    else if (what == QStringLiteral("titleLength"))
        b[1] = char(51);
    else if (what == QStringLiteral("four"))
        b.truncate(4 * 827 + 826);
    else if (what == QStringLiteral("empty"))
        b.clear();
    else if (what == QStringLiteral("few"))
        b = "\x6f\x05Tav";
    else if (what == QStringLiteral("dotdot"))
        putText(5, 569, "../0001.htm");
    else if (what == QStringLiteral("backslash"))
        putText(7, 569, "..\\0003.htm");
    if (what == QStringLiteral("folder")) {
        file = m_tmp.filePath(QStringLiteral("folder.mrk"));
        QFile::remove(file);
        QVERIFY(QDir().mkpath(file));
    } else if (what == QStringLiteral("missing")) {
        QFile::remove(file);
    } else {
        testfiles::write(file, b);
    }

    // The list and the menu that were there stay as they were.
    Bookmarks marks;
    marks.AddBookmark(source(ttFiles, 0, QStringLiteral("/htm/0009.htm")), QStringLiteral("Jediná"));
    const QList<TTreeMark> list = marks.list();
    const QList<TMarkMenuItem> menu = marks.menu();
    QVERIFY(!marks.ImportBookmarks(file, QStringLiteral("/htm/")));
    QCOMPARE(marks.list(), list);
    QCOMPARE(marks.menu(), menu);
}

void TestBookmarks::hugeFileIsReadRecordByRecord()
{
    Bookmarks good;
    addThree(good, QStringLiteral("/htm/"));
    const QString file = m_tmp.filePath(QStringLiteral("huge.mrk"));
    good.ExportBookmarks(file);
    {
        // A sparse gigabyte behind eight good records.
        QFile f(file);
        QVERIFY(f.open(QIODevice::ReadWrite));
        QVERIFY(f.resize(qint64(1) << 30));
    }
    QElapsedTimer timer;
    timer.start();
    QString error;
    QVERIFY(!Bookmarks::ReadBookmarkFile(file, QStringLiteral("/htm/"), &error));
    // The first empty record ends the reading; nothing past it was touched.
    QVERIFY2(error.startsWith(QStringLiteral("record 8:")), qPrintable(error));
    QVERIFY(timer.elapsed() < 5000);
}

void TestBookmarks::textsOutsideCodePage()
{
    Bookmarks marks;
    addThree(marks, QStringLiteral("/htm/"));
    const QString file = m_tmp.filePath(QStringLiteral("bytes.mrk"));
    marks.ExportBookmarks(file);
    QByteArray b = testfiles::read(file);
    // Bytes the code page leaves unassigned, control bytes and a NUL survive a round trip.
    const QByteArray odd("\x81\x83\x88\x90\x98 \x01\x00\x1f\xff", 10);
    b[5 * 827 + 309] = char(odd.size());
    b.replace(5 * 827 + 310, odd.size(), odd);
    testfiles::write(file, b);
    QVERIFY(marks.ImportBookmarks(file, QStringLiteral("/htm/")));
    QCOMPARE(marks.list()[5].Caption.size(), 10);
    const QString again = m_tmp.filePath(QStringLiteral("bytes2.mrk"));
    marks.ExportBookmarks(again);
    QCOMPARE(testfiles::read(again), b);

    // Characters the code page lacks become '?'; long texts are cut to 255.
    Bookmarks wide;
    wide.AddBookmark(source(ttFiles, 0, QStringLiteral("/htm/0001.htm")), QStringLiteral("日本 ž") + QString(300, u'x'));
    wide.ExportBookmarks(file);
    const QByteArray w = testfiles::read(file);
    QCOMPARE(quint8(w[5 * 827 + 309]), quint8(255));
    QCOMPARE(field(w, 5, 310, 5), QByteArray("?? \x9e" "x"));
    QCOMPARE(w.size(), 6 * 827);
}

QTEST_GUILESS_MAIN(TestBookmarks)
#include "tst_bookmarks.moc"
