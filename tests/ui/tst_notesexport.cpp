#include "FileLayout.h"
#include "NotesFile.h"
#include "RecordingMessages.h"
#include "TestFiles.h"
#include "notes/NotesDocument.h"
#include "notes/NotesExport.h"
#include "notes/NotesPage.h"
#include "notes/RichEdit.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QTemporaryDir>
#include <QTest>
#include <QTextDocument>

using namespace tavio;

namespace {

QByteArray png(const QColor& color)
{
    QImage image(6, 4, QImage::Format_RGB32);
    image.fill(color);
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    return bytes;
}

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

// Plain, bold and italic text, a centred paragraph, a picture shown at its own size
// and one scaled.
NotesContent sample(const QString& word)
{
    NotesContent c;
    TextStyle bold = c.TextStyles.at(0);
    bold.Bold = true;
    bold.Standard = false;
    TextStyle italic = c.TextStyles.at(0);
    italic.Italic = true;
    italic.Color = 0x0000FF;
    italic.Standard = false;
    c.TextStyles << bold << italic;
    ParaStyle centred = c.ParaStyles.at(0);
    centred.Alignment = ParaAlignment::Center;
    centred.Standard = false;
    c.ParaStyles << centred;
    c.Pictures.append({"png", png(Qt::red)});
    c.Paragraphs.append({0, {text(0, word + QStringLiteral(" je ")), text(1, QStringLiteral("tučně")),
                             text(0, QStringLiteral(" a ")), text(2, QStringLiteral("šikmo →"))}});
    c.Paragraphs.append({1, {picture(0, 0, 0), text(0, QStringLiteral(" obrázek ")), picture(0, 12, 8)}});
    return c;
}

} // namespace

class TestNotesExport : public QObject
{
    Q_OBJECT
private slots:
    void documentRoundTrip();
    void html();
    void markdown();
    void failedWritesLeaveNothingHalfWritten();
    void fromThePage();
};

// The document without an editor gives back what it was given.
void TestNotesExport::documentRoundTrip()
{
    const NotesContent in = sample(QStringLiteral("Pole"));
    NotesDocument doc;
    doc.setContent(in);
    QCOMPARE(doc.plainText(), QStringLiteral("Pole je tučně a šikmo →\n") + QStringLiteral(" obrázek "));
    QCOMPARE(doc.pictures().size(), 1);
    const NotesContent out = doc.content();
    QCOMPARE(out.TextStyles, in.TextStyles);
    QCOMPARE(out.ParaStyles, in.ParaStyles);
    QCOMPARE(out.Pictures.size(), 1);
    QCOMPARE(out.Pictures.at(0).Data, in.Pictures.at(0).Data);
    QCOMPARE(out.Paragraphs.size(), 2);
    QCOMPARE(out.Paragraphs.at(1).ParaStyleNo, 1);
    QCOMPARE(out.Paragraphs.at(0).Runs.size(), 4);
    QCOMPARE(out.Paragraphs.at(0).Runs.at(1).StyleNo, 1);
    QCOMPARE(out.Paragraphs.at(1).Runs.at(2).Width, 12);
    // Written and read back as a file's bytes, the same again.
    const NotesReadResult read = ReadNotes(WriteNotes(out));
    QCOMPARE(read.status, NotesReadStatus::Ok);
    NotesDocument again;
    again.setContent(read.content);
    QCOMPARE(again.document()->toHtml(), doc.document()->toHtml());

    // Pasted HTML takes its formatting into the style tables; pictures only from inside it.
    const NotesContent pasted = doc.contentFromHtml(
        QStringLiteral("<p align=\"right\"><i>kurzíva</i><img src=\"file:///etc/passwd\"></p>"), 0, 0);
    QCOMPARE(pasted.Paragraphs.size(), 1);
    QCOMPARE(pasted.Paragraphs.at(0).Runs.size(), 1);
    QVERIFY(pasted.TextStyles.at(pasted.Paragraphs.at(0).Runs.at(0).StyleNo).Italic);
    QCOMPARE(pasted.ParaStyles.at(pasted.Paragraphs.at(0).ParaStyleNo).Alignment, ParaAlignment::Right);
    QVERIFY(pasted.Pictures.isEmpty());
}

void TestNotesExport::html()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("poznamky.htm"));
    const NotesExportResult r = ExportNotes(
        {{QStringLiteral("0001.htm [Úvod ]"), {}, sample(QStringLiteral("První"))},
         {QStringLiteral("0002.htm [Chybí ]"), dir.filePath(QStringLiteral("none.rtn")), std::nullopt},
         {QStringLiteral("0003.htm [Pole <a> & ]"), {}, sample(QStringLiteral("Třetí"))}},
        NotesExportFormat::Html, path);
    QVERIFY2(r.ok, qPrintable(r.error));
    QCOMPARE(r.chapters, 2);
    const QByteArray bytes = testfiles::read(path);
    // One file: Windows-1250 with CR LF, headings in the given order, escaped; the
    // pictures inside it; the styles kept; what the code page lacks as a reference.
    QVERIFY(bytes.contains("charset=windows-1250"));
    QVERIFY(!bytes.contains("\n\n") && bytes.count("\r\n") == bytes.count('\n'));
    const qsizetype first = bytes.indexOf("<h1>0001.htm [\xda" "vod ]</h1>");
    const qsizetype third = bytes.indexOf("<h1>0003.htm [Pole &lt;a&gt; &amp; ]</h1>");
    QVERIFY(first >= 0 && third > first);
    QVERIFY(!bytes.contains("Chyb\xed"));
    QCOMPARE(bytes.count("src=\"data:image/png;base64,"), 4);
    QVERIFY(bytes.contains("font-weight:700") || bytes.contains("font-weight:600"));
    QVERIFY(bytes.contains("font-style:italic"));
    QVERIFY(bytes.contains("align=\"center\""));
    QVERIFY(bytes.contains("\x9aikmo &#8594;"));
    QVERIFY(!bytes.contains("tavio-picture"));
}

void TestNotesExport::markdown()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("poznamky.md"));
    QCOMPARE(NotesExportFormatOf(path), NotesExportFormat::Markdown);
    QCOMPARE(NotesExportFormatOf(dir.filePath(QStringLiteral("p.html"))), NotesExportFormat::Html);
    // An older export's pictures are replaced, not mixed with the new ones.
    const QString folder = NotesPictureFolder(path);
    QCOMPARE(folder, dir.filePath(QStringLiteral("poznamky_obrazky")));
    QVERIFY(QDir().mkpath(folder));
    testfiles::write(folder + QStringLiteral("/stary.png"), "old");
    NotesContent second = sample(QStringLiteral("Druhá"));
    second.Pictures[0].Data = png(Qt::blue);
    const NotesExportResult r = ExportNotes({{QStringLiteral("A"), {}, sample(QStringLiteral("První"))},
                                             {QStringLiteral("B"), {}, second}},
                                            NotesExportFormat::Markdown, path);
    QVERIFY2(r.ok, qPrintable(r.error));
    const QByteArray md = testfiles::read(path);
    QVERIFY(md.startsWith("# A\r\n"));
    QVERIFY(md.indexOf("# B\r\n") > 0);
    QVERIFY(md.contains("**tu\xe8n\xec**"));
    QVERIFY(md.contains("*\x9aikmo &#8594;*"));
    // Each picture once, in the folder beside, named from the text.
    QVERIFY(md.contains("poznamky_obrazky/obrazek-001.png"));
    QVERIFY(md.contains("poznamky_obrazky/obrazek-002.png"));
    QCOMPARE(QDir(folder).entryList(QDir::Files), (QStringList{QStringLiteral("obrazek-001.png"),
                                                               QStringLiteral("obrazek-002.png")}));
    QCOMPARE(testfiles::read(folder + QStringLiteral("/obrazek-002.png")), second.Pictures[0].Data);
    QCOMPARE(QDir(dir.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot).size(), 2);
}

void TestNotesExport::failedWritesLeaveNothingHalfWritten()
{
    QTemporaryDir dir;
    const QList<NotesExportChapter> chapters{{QStringLiteral("A"), {}, sample(QStringLiteral("X"))}};
    for (const QString& name : {QStringLiteral("stare.htm"), QStringLiteral("stare.md")}) {
        // A read-only earlier export stays as it was; no picture folder is left behind.
        const QString path = dir.filePath(name);
        testfiles::write(path, "earlier");
        QVERIFY(QFile::setPermissions(path, QFileDevice::ReadOwner));
        const NotesExportResult r = ExportNotes(chapters, NotesExportFormatOf(path), path);
        QVERIFY(!r.ok);
        QVERIFY(!r.error.isEmpty());
        QCOMPARE(testfiles::read(path), QByteArray("earlier"));
    }
    QCOMPARE(QDir(dir.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot).size(), 2);
    // A folder that cannot exist: nothing at all.
    testfiles::write(dir.filePath(QStringLiteral("soubor")), "x");
    const QString inside = dir.filePath(QStringLiteral("soubor/p.md"));
    QVERIFY(!ExportNotes(chapters, NotesExportFormat::Markdown, inside).ok);
    QCOMPARE(QDir(dir.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot).size(), 3);
}

void TestNotesExport::fromThePage()
{
    QTemporaryDir dir;
    const FileLayout layout(dir.filePath(QStringLiteral("program")) + QLatin1Char('/'),
                            dir.filePath(QStringLiteral("appdata")) + QLatin1Char('/'));
    QDir().mkpath(layout.notesFolder());
    RecordingMessages messages;
    NotesPage page(layout, nullptr);
    QString asked;
    QString answer;
    page.dialogs().exportFile = [&](QWidget*, const QString& title) {
        asked = title;
        return answer;
    };
    const QString chapter = dir.filePath(QStringLiteral("program/Htm/0002.htm"));
    page.exportList = [&] {
        return QList<NotesExportChapter>{
            {QStringLiteral("0001.htm [Jedna ]"), NotesFileOf(layout.notesFolder(), QStringLiteral("0001.htm")), {}},
            {QStringLiteral("0002.htm [Dva ]"), NotesFileOf(layout.notesFolder(), chapter), {}}};
    };
    // Nothing to export: said so, no file asked for.
    page.exportAllNotes();
    QCOMPARE(messages.texts(), QStringList{QStringLiteral("Žádná kapitola nemá poznámky.")});
    QVERIFY(asked.isEmpty());

    // This chapter's notes as the editor holds them, unsaved, under its caption.
    page.OpenChapterNotes(chapter);
    page.reNotes()->setContent(sample(QStringLiteral("Neuloženo")));
    answer = dir.filePath(QStringLiteral("kapitola.htm"));
    page.exportChapterNotes();
    QCOMPARE(asked, QStringLiteral("Exportovat poznámky kapitoly"));
    QCOMPARE(messages.shown.last().text, QStringLiteral("Poznámky byly vyexportovány do souboru:\r\n")
                                             + QDir::toNativeSeparators(answer));
    const QByteArray html = testfiles::read(answer);
    QVERIFY(html.contains("<h1>0002.htm [Dva ]</h1>"));
    QVERIFY(html.contains("Neulo\x9e" "eno"));

    // A failed write is said in Czech, with the file's name.
    answer = dir.filePath(QStringLiteral("chybi/kapitola.htm"));
    testfiles::write(dir.filePath(QStringLiteral("chybi")), "a file, not a folder");
    page.exportChapterNotes();
    QCOMPARE(messages.shown.last().icon, MsgIcon::Error);
    QVERIFY(messages.shown.last().text.startsWith(QStringLiteral("Poznámky se nepodařilo vyexportovat do souboru ")
                                                  + QDir::toNativeSeparators(answer)));
}

QTEST_MAIN(TestNotesExport)
#include "tst_notesexport.moc"
