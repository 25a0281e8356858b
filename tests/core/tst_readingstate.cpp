#include "AtomicSave.h"
#include "ReadingState.h"
#include "TestFiles.h"

#include <QTemporaryDir>
#include <QTest>

using namespace tavio;
using namespace Qt::StringLiterals;

class TestReadingState final : public QObject
{
    Q_OBJECT
private slots:
    void history();
    void marksAndFolderChanges();
    void roundTrip();
    void damaged_data();
    void damaged();
    void missingAndUnwritable();
};

void TestReadingState::history()
{
    ReadingState s;
    QVERIFY(!s.backTarget() && !s.forwardTarget() && !s.goBack());
    s.visit({u"0001.htm"_s, {}});
    s.visit({u"0001.htm"_s, {}}); // the same place twice is one entry
    s.visit({u"0002.htm"_s, {}});
    s.visit({u"0002.htm"_s, u"ukol"_s});
    QCOMPARE(s.history().size(), 3);
    QCOMPARE(s.goBack(), (HistoryEntry{u"0002.htm"_s, {}}));
    QCOMPARE(s.goBack(), (HistoryEntry{u"0001.htm"_s, {}}));
    QVERIFY(!s.goBack());
    QCOMPARE(s.forwardTarget(), (HistoryEntry{u"0002.htm"_s, {}}));
    // A new visit from the middle drops what lay ahead.
    s.visit({u"0007.htm"_s, {}});
    QVERIFY(!s.forwardTarget());
    QCOMPARE(s.history().size(), 2);
    QCOMPARE(s.recentChapters(), (QStringList{u"0007.htm"_s, u"0001.htm"_s, u"0002.htm"_s}));
    // Names that could not be kept on one line, or that leave the folder, are not taken.
    s.visit({u"../x.htm"_s, {}});
    s.visit({u"a\tb.htm"_s, {}});
    QCOMPARE(s.history().size(), 2);
    // The history is bounded; the newest entries stay.
    for (int i = 0; i < ReadingState::MaxHistory + 50; ++i)
        s.visit({QString::number(i) + u".htm"_s, {}});
    QCOMPARE(s.history().size(), ReadingState::MaxHistory);
    QCOMPARE(s.history().last().fileName, QString::number(ReadingState::MaxHistory + 49) + u".htm"_s);
    QCOMPARE(s.historyIndex(), ReadingState::MaxHistory - 1);
}

void TestReadingState::marksAndFolderChanges()
{
    ReadingState s;
    s.setRead(u"0001.htm"_s, true);
    s.setRead(u"0002.htm"_s, true);
    s.setRead(u"0002.htm"_s, false);
    s.setPosition(u"0003.htm"_s, 1.7); // clamped
    s.setNewChapters({u"0003.htm"_s, u"0004.htm"_s});
    s.setNewChapters({u"0004.htm"_s}); // only the last update's
    QCOMPARE(s.readCount({u"0001.htm"_s, u"0002.htm"_s, u"0003.htm"_s}), 1);
    QCOMPARE(s.position(u"0003.htm"_s), 1.0);
    QVERIFY(!s.isNew(u"0003.htm"_s) && s.isNew(u"0004.htm"_s));
    s.visit({u"0001.htm"_s, {}});
    s.visit({u"0003.htm"_s, {}});
    s.visit({u"0004.htm"_s, {}});
    s.goBack();
    // 0003.htm is gone from the folder: its marks and its history entries go, the
    // current entry falls back to the nearest earlier one.
    QVERIFY(s.keepOnly({u"0001.htm"_s, u"0004.htm"_s}));
    QVERIFY(!s.position(u"0003.htm"_s));
    QCOMPARE(s.history().size(), 2);
    QCOMPARE(s.history().at(s.historyIndex()).fileName, u"0001.htm"_s);
    QCOMPARE(s.recentChapters(), (QStringList{u"0004.htm"_s, u"0001.htm"_s}));
    QVERIFY(s.isRead(u"0001.htm"_s));
    QVERIFY(!s.keepOnly({u"0001.htm"_s, u"0004.htm"_s}));
}

void TestReadingState::roundTrip()
{
    QTemporaryDir tmp;
    const QString path = tmp.filePath(u"ReadingState.txt"_s);
    ReadingState s;
    s.setTheme(ReadingTheme::Sepia);
    for (int i = 0; i < 2000; ++i) {
        const QString name = u"%1-příliš.htm"_s.arg(i, 4, 10, QLatin1Char('0'));
        if (i % 3 == 0)
            s.setRead(name, true);
        if (i % 7 == 0)
            s.setPosition(name, i / 2000.0);
        if (i % 5 == 0)
            s.visit({name, i % 10 == 0 ? u"úkol"_s : QString()});
    }
    s.setNewChapters({u"0005-příliš.htm"_s});
    s.goBack();
    QVERIFY(s.save(path));
    const QByteArray bytes = testfiles::read(path);
    QVERIFY(bytes.startsWith("TavioReadingState\t1\r\n"));
    QVERIFY(bytes.contains("\xf8\xedli\x9a")); // Windows-1250
    const ReadingState::Loaded loaded = ReadingState::load(path);
    QCOMPARE(loaded.status, ReadingState::LoadStatus::Loaded);
    QCOMPARE(loaded.state.toBytes(), bytes);
    QCOMPARE(loaded.state.theme(), ReadingTheme::Sepia);
    QCOMPARE(loaded.state.historyIndex(), s.historyIndex());
    QCOMPARE(loaded.state.history(), s.history());
    QCOMPARE(loaded.state.recentChapters(), s.recentChapters());
    QVERIFY(loaded.state.isNew(u"0005-příliš.htm"_s));
    QCOMPARE(loaded.state.position(u"0007-příliš.htm"_s), 7 / 2000.0);
    // A line of a kind this version does not know is skipped.
    QVERIFY(ReadingState::fromBytes(bytes + "later\tsomething\r\n"));
}

void TestReadingState::damaged_data()
{
    QTest::addColumn<QByteArray>("bytes");
    const QByteArray head = "TavioReadingState\t1\r\n";
    QTest::newRow("empty") << QByteArray();
    QTest::newRow("other file") << QByteArray("[Options]\r\nShowHints=1\r\n");
    QTest::newRow("later version") << QByteArray("TavioReadingState\t2\r\n");
    QTest::newRow("truncated line") << head + "c\t0001.htm\tr";
    QTest::newRow("bad position") << head + "c\t0001.htm\tr\tnan\r\n";
    QTest::newRow("position past the end") << head + "c\t0001.htm\tr\t3\r\n";
    QTest::newRow("theme out of range") << head + "theme\t9\r\n";
    QTest::newRow("index past the history") << head + "index\t1\r\nh\t0001.htm\t\r\n";
    QTest::newRow("history without index") << head + "h\t0001.htm\t\r\n";
    QTest::newRow("name leaving the folder") << head + "h\t../../etc/passwd\t\r\nindex\t0\r\n";
    QTest::newRow("binary") << head + QByteArray("\0\xff\0c\t", 5);
}

void TestReadingState::damaged()
{
    QFETCH(QByteArray, bytes);
    QTemporaryDir tmp;
    const QString path = tmp.filePath(u"ReadingState.txt"_s);
    testfiles::write(path, bytes);
    testfiles::write(path + u".damaged"_s, "older");
    const ReadingState::Loaded loaded = ReadingState::load(path);
    QCOMPARE(loaded.status, ReadingState::LoadStatus::Damaged);
    QVERIFY(loaded.state.history().isEmpty());
    QCOMPARE(loaded.state.theme(), ReadingTheme::Light);
    // Kept aside, byte for byte; the next start finds no file.
    QVERIFY(!QFile::exists(path));
    QCOMPARE(testfiles::read(path + u".damaged"_s), bytes);
    QCOMPARE(ReadingState::load(path).status, ReadingState::LoadStatus::Missing);
}

void TestReadingState::missingAndUnwritable()
{
    QTemporaryDir tmp;
    const QString path = tmp.filePath(u"ReadingState.txt"_s);
    QCOMPARE(ReadingState::load(path).status, ReadingState::LoadStatus::Missing);
    ReadingState s;
    s.setRead(u"0001.htm"_s, true);
    QVERIFY(s.save(path));
    // A save that cannot happen leaves the previous file as it was.
    ReadingState other;
    FileError error;
    QVERIFY(!other.save(tmp.filePath(u"no/such/folder/ReadingState.txt"_s), &error));
    QVERIFY(!error.message.isEmpty());
    QVERIFY(ReadingState::load(path).state.isRead(u"0001.htm"_s));
}

QTEST_GUILESS_MAIN(TestReadingState)
#include "tst_readingstate.moc"
