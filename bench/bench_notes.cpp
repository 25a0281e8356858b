// bench_notes: how long a large notes document takes to save and to load.
//
// Builds a notes document of 500 paragraphs in six text styles and three paragraph
// styles, with 20 pictures of about 100 kB each (2 MB in all: ten JPEG photographs
// with grain and ten BMP screenshots, as the picture dialog inserts them). Then, with a
// warm cache (each operation runs once untimed), it alternates:
//   - save: RichEdit::saveToFile (the document to a notes file through a temporary
//     file that replaces the old one);
//   - load: RichEdit::loadFromFile and the full layout of the loaded document (what
//     a chapter opening costs before the page can be drawn);
//   - cp: the standard tool copying the saved file in the same folder;
// and prints the median of each (target: save and load under 200 ms), their ratios
// to cp, and, apart, the decoding of every picture, which the editor leaves until a
// picture is first drawn.
//
// Run:  build/bench/bench_notes [runs]   (default 5 timed runs; offscreen is chosen
//       when no platform is set; TAVIO_BENCH_KEEP=1 keeps the generated folder)

#include "NotesFile.h"
#include "notes/RichEdit.h"

#include <QAbstractTextDocumentLayout>
#include <QApplication>
#include <QBuffer>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QImage>
#include <QPainter>
#include <QProcess>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTextBlock>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <vector>

using namespace tavio;

namespace {

constexpr int Paragraphs = 500;
constexpr int Pictures = 20;
constexpr double TargetMs = 200.0;

double median(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    const size_t n = v.size();
    return n % 2 ? v[n / 2] : (v[n / 2 - 1] + v[n / 2]) / 2;
}

double timeMs(const std::function<void()>& f)
{
    QElapsedTimer t;
    t.start();
    f();
    return double(t.nsecsElapsed()) / 1e6;
}

// A photograph-like JPEG: gradients with grain, about 100 kB.
QByteArray photo(int seed)
{
    QImage image(560, 420, QImage::Format_RGB32);
    QRandomGenerator random{quint32(seed)};
    for (int y = 0; y < image.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < image.width(); ++x) {
            const int grain = random.bounded(48);
            line[x] = qRgb((x * 255 / image.width() + grain + seed * 30) & 255, (y * 255 / image.height() + grain) & 255,
                           (x + y + grain * 2) & 255);
        }
    }
    QByteArray out;
    QBuffer buffer(&out);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "JPEG", 85);
    return out;
}

// A screenshot-like BMP: flat areas, lines and text, about 100 kB.
QByteArray screenshot(int seed)
{
    QImage image(200, 170, QImage::Format_RGB888);
    image.fill(QColor(240, 240, 240));
    QPainter p(&image);
    p.fillRect(0, 0, 200, 18, QColor(0, 0, 128 + seed * 5));
    p.setPen(Qt::black);
    for (int i = 0; i < 8; ++i)
        p.drawText(8, 36 + i * 16, QStringLiteral("Řádek %1 okna %2").arg(i).arg(seed));
    p.end();
    QByteArray out;
    QBuffer buffer(&out);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "BMP");
    return out;
}

NotesContent makeDocument(qint64* pictureBytes)
{
    static const QStringList sentences = {
        QStringLiteral("Cyklus for opakuje příkazy, dokud platí podmínka."),
        QStringLiteral("Proměnná typu string drží text libovolné délky."),
        QStringLiteral("Ukazatel nikdy nepoužívejte po uvolnění paměti."),
        QStringLiteral("Otázka: proč překladač hlásí chybu u středníku?"),
        QStringLiteral("Úkol: přepsat příklad tak, aby četl data ze souboru."),
        QStringLiteral("Příliš žluťoučký kůň úpěl ďábelské ódy."),
    };
    NotesContent c;
    const TextStyle base = c.TextStyles.at(0);
    for (int i = 1; i < 6; ++i) {
        TextStyle s = base;
        s.Bold = i & 1;
        s.Italic = i & 2;
        s.Size = 10 + i * 2;
        s.Color = quint32(0x100000 * i);
        s.Standard = false;
        c.TextStyles.append(s);
    }
    for (int i = 1; i < 3; ++i) {
        ParaStyle p = c.ParaStyles.at(0);
        p.Alignment = ParaAlignment(i);
        p.LeftIndent = 20 * i;
        p.Standard = false;
        c.ParaStyles.append(p);
    }
    *pictureBytes = 0;
    for (int i = 0; i < Pictures; ++i) {
        NotesPicture pic = i % 2 ? NotesPicture{"bmp", screenshot(i)} : NotesPicture{"jpeg", photo(i)};
        *pictureBytes += pic.Data.size();
        c.Pictures.append(pic);
    }
    for (int i = 0; i < Paragraphs; ++i) {
        NotesParagraph p;
        p.ParaStyleNo = i % 3;
        for (int k = 0; k < 4; ++k) {
            NotesRun r;
            r.StyleNo = (i + k) % 6;
            r.Text = sentences.at((i * 7 + k) % sentences.size()) + QLatin1Char(' ');
            p.Runs.append(r);
        }
        if (i % (Paragraphs / Pictures) == 0 && i / (Paragraphs / Pictures) < Pictures) {
            NotesRun r;
            r.kind = NotesRun::Kind::Picture;
            r.Picture = i / (Paragraphs / Pictures);
            p.Runs.append(r);
        }
        c.Paragraphs.append(p);
    }
    return c;
}

} // namespace

int main(int argc, char* argv[])
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 5;
    QTemporaryDir dir;
    if (!dir.isValid()) {
        std::fprintf(stderr, "cannot create a temporary folder\n");
        return 1;
    }
    dir.setAutoRemove(!qEnvironmentVariableIsSet("TAVIO_BENCH_KEEP"));
    const QString path = dir.filePath(QStringLiteral("0001.rtn"));
    const QString copy = dir.filePath(QStringLiteral("copy.rtn"));

    qint64 pictureBytes = 0;
    const NotesContent content = makeDocument(&pictureBytes);
    RichEdit editor;
    editor.resize(800, 600);
    editor.setContent(content);
    if (!editor.saveToFile(path)) {
        std::fprintf(stderr, "cannot save %s\n", qUtf8Printable(path));
        return 1;
    }
    const qint64 fileSize = QFileInfo(path).size();
    std::printf("Notes benchmark: %d paragraphs, %d pictures (%.2f MB of pictures), file %.2f MB, in %s\n", Paragraphs,
                Pictures, pictureBytes / 1048576.0, fileSize / 1048576.0, qUtf8Printable(dir.path()));
    std::printf("  %d timed runs each, median reported, warm cache\n", runs);

    RichEdit reader;
    reader.resize(800, 600);
    reader.show(); // a shown editor gives its document a page width, and so a layout
    QApplication::processEvents();
    auto save = [&] { editor.saveToFile(path); };
    auto load = [&] {
        reader.loadFromFile(path);
        reader.document()->documentLayout()->documentSize(); // lays out every paragraph
    };
    auto cp = [&] {
        QProcess p;
        p.start(QStringLiteral("cp"), {path, copy});
        p.waitForFinished(-1);
    };
    save();
    load();
    cp();
    std::vector<double> saveMs, loadMs, cpMs, decodeMs;
    for (int i = 0; i < runs; ++i) {
        saveMs.push_back(timeMs(save));
        loadMs.push_back(timeMs(load));
        cpMs.push_back(timeMs(cp));
        // Every picture drawn once: the decoding a full scroll through the notes costs.
        decodeMs.push_back(timeMs([&] {
            for (QTextBlock b = reader.document()->begin(); b.isValid(); b = b.next()) {
                for (auto it = b.begin(); !it.atEnd(); ++it) {
                    const QTextCharFormat f = it.fragment().charFormat();
                    if (f.isImageFormat())
                        reader.document()->resource(QTextDocument::ImageResource, QUrl(f.toImageFormat().name()));
                }
            }
        }));
    }
    const double s = median(saveMs), l = median(loadMs), c = median(cpMs);
    std::printf("save: %.1f ms%s   load: %.1f ms%s   cp: %.1f ms\n", s, s < TargetMs ? "" : " (over 200 ms!)", l,
                l < TargetMs ? "" : " (over 200 ms!)", c);
    std::printf("  ratio to cp: save %.1f, load %.1f\n", s / c, l / c);
    std::printf("  save runs: min %.1f max %.1f ms; load runs: min %.1f max %.1f ms\n",
                *std::min_element(saveMs.begin(), saveMs.end()), *std::max_element(saveMs.begin(), saveMs.end()),
                *std::min_element(loadMs.begin(), loadMs.end()), *std::max_element(loadMs.begin(), loadMs.end()));
    std::printf("  decoding all %d pictures after a load (done when first drawn): %.1f ms\n", Pictures,
                median(decodeMs));
    const bool same = WriteNotes(reader.content()) == WriteNotes(editor.content());
    // Where the load goes: reading and parsing the file, building the document, laying it out.
    std::vector<double> parseMs, buildMs, layoutMs;
    for (int i = 0; i < runs; ++i) {
        NotesReadResult read;
        parseMs.push_back(timeMs([&] { read = LoadNotesFile(path); }));
        buildMs.push_back(timeMs([&] { reader.setContent(read.content); }));
        layoutMs.push_back(timeMs([&] { reader.document()->documentLayout()->documentSize(); }));
    }
    std::printf("  load breakdown: read and parse %.1f ms, build the document %.1f ms, layout %.1f ms "
                "(document %.0f x %.0f px)\n",
                median(parseMs), median(buildMs), median(layoutMs), reader.document()->size().width(),
                reader.document()->size().height());
    std::printf("  loaded document equals the saved one: %s\n", same ? "yes" : "NO");
    return same ? 0 : 1;
}
