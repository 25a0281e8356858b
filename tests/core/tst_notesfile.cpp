#include "NotesFile.h"
#include "NotesStyles.h"
#include "TestFiles.h"

#include <QElapsedTimer>
#include <QFile>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTest>
#include <QtEndian>

using namespace tavio;

namespace {

NotesRun text(int style, const QString& t)
{
    NotesRun r;
    r.StyleNo = style;
    r.Text = t;
    return r;
}

NotesRun picture(int index, int w, int h)
{
    NotesRun r;
    r.kind = NotesRun::Kind::Picture;
    r.Picture = index;
    r.Width = w;
    r.Height = h;
    return r;
}

// Every property set away from its default, text outside Windows-1250, pictures.
NotesContent richContent()
{
    NotesContent c;
    TextStyle s;
    s.Name = QStringLiteral("Nadpis");
    s.FontName = QStringLiteral("DejaVu Serif");
    s.Size = 18;
    s.Bold = s.Italic = s.Underline = s.StrikeOut = true;
    s.Color = 0x123456;
    s.BackColor = 0xFFEE00;
    s.Standard = false;
    c.TextStyles.append(s);
    ParaStyle p;
    p.Name = QStringLiteral("Odsazený");
    p.Alignment = ParaAlignment::Justify;
    p.LeftIndent = 140;
    p.Background = 0x00FF80;
    p.Standard = false;
    c.ParaStyles.append(p);
    c.Pictures.append(NotesPicture{"png", QByteArray(3000, 'p')});
    c.Pictures.append(NotesPicture{"jpeg", QByteArray(5000, 'j')});
    c.Paragraphs.append(NotesParagraph{1, {text(1, QStringLiteral("Příliš žluťoučký kůň")), text(0, QStringLiteral(" – 日本語 ✓ €\tkonec"))}});
    c.Paragraphs.append(NotesParagraph{0, {}});
    c.Paragraphs.append(NotesParagraph{0, {picture(1, 40, 30), text(0, QStringLiteral("mezi")), picture(0, 10, 20), picture(1, 40, 30)}});
    c.Background = 0xF0F0F0;
    c.Margin = 12;
    return c;
}

// What every read must give, damaged or not.
void checkSettled(const NotesContent& c)
{
    QVERIFY(!c.TextStyles.isEmpty());
    QVERIFY(!c.ParaStyles.isEmpty());
    for (const NotesParagraph& p : c.Paragraphs) {
        QVERIFY(p.ParaStyleNo >= 0 && p.ParaStyleNo < c.ParaStyles.size());
        for (const NotesRun& r : p.Runs) {
            if (r.kind == NotesRun::Kind::Text) {
                QVERIFY(r.StyleNo >= 0 && r.StyleNo < c.TextStyles.size());
                QVERIFY(!r.Text.contains(QChar::ParagraphSeparator));
            } else {
                QVERIFY(r.Picture >= 0 && r.Picture < c.Pictures.size());
                QVERIFY(r.Width >= 0 && r.Width <= MaxPictureSide);
            }
        }
    }
}

QByteArray withU32At(QByteArray bytes, qsizetype at, quint32 value)
{
    qToLittleEndian(value, bytes.data() + at);
    return bytes;
}

} // namespace

class TestNotesFile final : public QObject
{
    Q_OBJECT
private slots:
    void alignmentFollowsTheDownButton();
    void fontSize_data();
    void fontSize();
    void notesFileOfChapter_data();
    void notesFileOfChapter();
    void roundTrip();
    void picturesAreWrittenOncePerUse();
    void notNotesFiles_data();
    void notNotesFiles();
    void truncatedFileKeepsItsText();
    void fuzzedFilesReadSafely();
    void liedCountsAreRefused();
    void laterAdditionsAreSkipped();
    void failedSaveKeepsTheOldFile();
};

void TestNotesFile::alignmentFollowsTheDownButton()
{
    // Alignment: left wins over right, right over centre; none down is justify.
    ParaConversionInput p;
    p.LeftDown = false;
    p.RightDown = true;
    p.CenterDown = true;
    QCOMPARE(ConvertParaStyle({}, ParaConversion::Alignment, p).Alignment, ParaAlignment::Right);
    p.RightDown = false;
    QCOMPARE(ConvertParaStyle({}, ParaConversion::Alignment, p).Alignment, ParaAlignment::Center);
    p.CenterDown = false;
    QCOMPARE(ConvertParaStyle({}, ParaConversion::Alignment, p).Alignment, ParaAlignment::Justify);
}

void TestNotesFile::fontSize_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("size");
    QTest::newRow("abc") << QStringLiteral("abc") << 10;
    QTest::newRow("number") << QStringLiteral("14") << 14;
    QTest::newRow("blanks") << QStringLiteral(" 16 ") << 16;
    QTest::newRow("no bound") << QStringLiteral("0") << 0;
    QTest::newRow("too long") << QStringLiteral("99999999999") << 10;
    QTest::newRow("decimal") << QStringLiteral("11,5") << 10;
}

void TestNotesFile::fontSize()
{
    QFETCH(QString, text);
    QFETCH(int, size);
    QCOMPARE(FontSizeFromText(text), size);
}

void TestNotesFile::notesFileOfChapter_data()
{
    QTest::addColumn<QString>("chapter");
    QTest::addColumn<QString>("notes");
    QTest::newRow("chapter") << QStringLiteral("/a/Htm/0002-01.htm") << QStringLiteral("/n/0002-01.rtn");
    QTest::newRow("other folder, same name") << QStringLiteral("/b/c/0002-01.htm") << QStringLiteral("/n/0002-01.rtn");
    QTest::newRow("no extension") << QStringLiteral("/a/abc") << QStringLiteral("/n/abc.rtn");
    QTest::newRow("two dots") << QStringLiteral("/a/x.y.htm") << QStringLiteral("/n/x.y.rtn");
}

void TestNotesFile::notesFileOfChapter()
{
    QFETCH(QString, chapter);
    QFETCH(QString, notes);
    QCOMPARE(NotesFileOf(QStringLiteral("/n/"), chapter), notes);
}

void TestNotesFile::roundTrip()
{
    const NotesContent c = richContent();
    const NotesReadResult r = ReadNotes(WriteNotes(c));
    QCOMPARE(r.status, NotesReadStatus::Ok);
    QCOMPARE(r.content.TextStyles, c.TextStyles);
    QCOMPARE(r.content.ParaStyles, c.ParaStyles);
    QCOMPARE(r.content.Background, c.Background);
    QCOMPARE(r.content.Margin, c.Margin);
    QCOMPARE(r.content.Paragraphs.size(), 3);
    QCOMPARE(r.content.Paragraphs.at(0).Runs.at(1).Text, c.Paragraphs.at(0).Runs.at(1).Text);
    QCOMPARE(r.content.Paragraphs.at(0).ParaStyleNo, 1);
    QVERIFY(r.content.Paragraphs.at(1).Runs.isEmpty());
    const NotesRun& pic = r.content.Paragraphs.at(2).Runs.at(0);
    QCOMPARE(pic.kind, NotesRun::Kind::Picture);
    QCOMPARE(r.content.Pictures.at(pic.Picture).Data, c.Pictures.at(1).Data);
    QCOMPARE(r.content.Pictures.at(pic.Picture).Format, QByteArray("jpeg"));
    QCOMPARE(QSize(pic.Width, pic.Height), QSize(40, 30));
    // Transparent survives as its own value.
    QCOMPARE(r.content.ParaStyles.at(0).Background, TransparentColor);
}

void TestNotesFile::picturesAreWrittenOncePerUse()
{
    NotesContent c = richContent();
    c.Pictures.append(NotesPicture{"bmp", QByteArray(100000, 'u')}); // never shown
    const QByteArray bytes = WriteNotes(c);
    QVERIFY(bytes.size() < 3000 + 5000 + 2000);
    const NotesReadResult r = ReadNotes(bytes);
    QCOMPARE(r.content.Pictures.size(), 2);
    // The same picture shown twice is one picture.
    QCOMPARE(r.content.Paragraphs.at(2).Runs.at(0).Picture, r.content.Paragraphs.at(2).Runs.at(3).Picture);
}

void TestNotesFile::notNotesFiles_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<int>("status");
    const QByteArray good = WriteNotes(richContent());
    QTest::newRow("empty") << QByteArray() << int(NotesReadStatus::Foreign);
    QTest::newRow("rich text of another program") << QByteArray("{\\rtf1\\ansi Ahoj}") << int(NotesReadStatus::Foreign);
    QTest::newRow("half a magic") << good.left(5) << int(NotesReadStatus::Foreign);
    QTest::newRow("text-mode transfer") << QByteArray(good).replace("\r\n", "\n") << int(NotesReadStatus::Foreign);
    QByteArray later = good;
    qToLittleEndian(quint16(NotesFormatMajor + 1), later.data() + 8);
    QTest::newRow("later major version") << later << int(NotesReadStatus::TooNew);
    QByteArray minor = good;
    qToLittleEndian(quint16(NotesFormatMinor + 5), minor.data() + 10);
    QTest::newRow("later minor version") << minor << int(NotesReadStatus::Ok);
    QTest::newRow("header only") << good.left(12) << int(NotesReadStatus::Damaged);
}

void TestNotesFile::notNotesFiles()
{
    QFETCH(QByteArray, bytes);
    QFETCH(int, status);
    const NotesReadResult r = ReadNotes(bytes);
    QCOMPARE(int(r.status), status);
    checkSettled(r.content);
    if (r.status != NotesReadStatus::Ok) {
        QVERIFY(r.content.Paragraphs.isEmpty());
        QCOMPARE(r.content.TextStyles, DefaultTextStyles());
    }
}

void TestNotesFile::truncatedFileKeepsItsText()
{
    const NotesContent c = richContent();
    const QByteArray bytes = WriteNotes(c);
    // Cut inside the picture table, which comes last: the jpeg (used first, so
    // written first) is whole, the png is cut.
    const NotesReadResult r = ReadNotes(bytes.left(bytes.size() - 1000));
    QCOMPARE(r.status, NotesReadStatus::Damaged);
    QCOMPARE(r.content.TextStyles, c.TextStyles);
    QCOMPARE(r.content.Paragraphs.size(), 3);
    QCOMPARE(r.content.Paragraphs.at(0).Runs.at(0).Text, QStringLiteral("Příliš žluťoučký kůň"));
    // Only the uses of the cut picture go.
    checkSettled(r.content);
    QCOMPARE(r.content.Paragraphs.at(2).Runs.size(), 3);
    QCOMPARE(r.content.Pictures.size(), 1);
}

void TestNotesFile::fuzzedFilesReadSafely()
{
    const QByteArray good = WriteNotes(richContent());
    QElapsedTimer timer;
    timer.start();
    for (qsizetype n = 0; n < good.size(); n += 97) {
        const NotesReadResult r = ReadNotes(good.left(n));
        checkSettled(r.content);
        QVERIFY2(r.status != NotesReadStatus::Ok, qPrintable(QString::number(n)));
    }
    // Every byte of the structure flipped on its own, then random damage.
    for (qsizetype i = 0; i < good.size(); ++i) {
        if (i > 400 && i % 101)
            continue; // inside the picture bytes one in a hundred is enough
        QByteArray bad = good;
        bad[i] = char(bad[i] ^ 0xFF);
        checkSettled(ReadNotes(bad).content);
    }
    QRandomGenerator random(1997);
    for (int round = 0; round < 500; ++round) {
        QByteArray bad = good;
        for (int k = 0; k < 8; ++k)
            bad[random.bounded(int(bad.size()))] = char(random.bounded(256));
        checkSettled(ReadNotes(bad).content);
    }
    QVERIFY(timer.elapsed() < 20000);
}

void TestNotesFile::liedCountsAreRefused()
{
    const QByteArray good = WriteNotes(richContent());
    // Header 12 bytes; the "DOC " chunk holds 8 bytes; then "TSTY", its length, its count.
    const qsizetype tsty = good.indexOf("TSTY");
    const qsizetype body = good.indexOf("BODY");
    QVERIFY(tsty > 0 && body > 0);
    for (const QByteArray& bad : {withU32At(good, tsty + 8, 0xFFFFFFFF), withU32At(good, tsty + 4, 0xFFFFFFF0),
                                  withU32At(good, body + 8, 0x7FFFFFFF), withU32At(good, body + 16, 0xFFFFFFFF)}) {
        QElapsedTimer timer;
        timer.start();
        const NotesReadResult r = ReadNotes(bad);
        QCOMPARE(r.status, NotesReadStatus::Damaged);
        checkSettled(r.content);
        QVERIFY(timer.elapsed() < 1000);
    }
    // A style number beyond the table falls back to the first style.
    NotesContent c = richContent();
    c.Paragraphs[0].Runs[0].StyleNo = 7;
    c.Paragraphs[0].ParaStyleNo = 9;
    const NotesReadResult r = ReadNotes(WriteNotes(c));
    QCOMPARE(r.content.Paragraphs.at(0).Runs.at(0).StyleNo, 0);
    QCOMPARE(r.content.Paragraphs.at(0).ParaStyleNo, 0);
}

void TestNotesFile::laterAdditionsAreSkipped()
{
    NotesContent c;
    c.Paragraphs.append(NotesParagraph{0, {text(0, QStringLiteral("před")), text(0, QStringLiteral("po"))}});
    QByteArray bytes = WriteNotes(c);
    // A chunk of a later version before the end ...
    const qsizetype end = bytes.indexOf("END ");
    bytes.insert(end, QByteArray("XTRA") + QByteArray("\x03\x00\x00\x00", 4) + "abc");
    // ... and an item of an unknown kind: kind 1 (text) of the second run becomes 9.
    const qsizetype second = bytes.indexOf("po") - 4 - 4 - 1;
    QCOMPARE(bytes.at(second), '\x01');
    bytes[second] = '\x09';
    const NotesReadResult r = ReadNotes(bytes);
    QCOMPARE(r.status, NotesReadStatus::Ok);
    QCOMPARE(r.content.Paragraphs.at(0).Runs.size(), 1);
    QCOMPARE(r.content.Paragraphs.at(0).Runs.at(0).Text, QStringLiteral("před"));
}

void TestNotesFile::failedSaveKeepsTheOldFile()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("0001.rtn"));
    NotesContent old;
    old.Paragraphs.append({0, {text(0, QStringLiteral("staré"))}});
    QVERIFY(SaveNotesFile(path, old));
    QFile::setPermissions(path, QFileDevice::ReadOwner | QFileDevice::ReadGroup);
    FileError error;
    QVERIFY(!SaveNotesFile(path, richContent(), &error));
    QVERIFY(!error.message.isEmpty());
    const NotesReadResult r = LoadNotesFile(path);
    QCOMPARE(r.status, NotesReadStatus::Ok);
    QCOMPARE(r.content.Paragraphs.at(0).Runs.at(0).Text, QStringLiteral("staré"));

    testfiles::write(dir.filePath(QStringLiteral("file")), "x");
    QVERIFY(!SaveNotesFile(dir.filePath(QStringLiteral("file/sub/0001.rtn")), old, &error));
    QCOMPARE(LoadNotesFile(dir.filePath(QStringLiteral("missing.rtn"))).status, NotesReadStatus::Unreadable);
}

QTEST_GUILESS_MAIN(TestNotesFile)
#include "tst_notesfile.moc"
