// bench_catalogue: how long the chapter catalogue takes to read a large chapter folder.
//
// Generates a folder of Windows-1250 chapter files (2,000 files of about 30 kB by
// default: single chapters NNNN.htm and multi-part chapters NNNN-PP.htm, each with its
// "_soubory" picture folder; the level-two heading near the top in the forms the
// series uses: hyphen, en dash, two-line heading, no blank after the dash, "&amp;").
// Then, with a warm cache (each operation runs once untimed), it alternates:
//   - tavio::BuildCatalogue(tree, folder): list, read every title, group, sort;
//   - LC_ALL=C grep -m1 -i '^<h2>' folder/*.htm: the standard tool reading each file
//     up to its first heading line (the shell lists the folder, as the catalogue does);
// and prints the median of each, their ratio, a breakdown of the catalogue's time
// (listing, titles, sort), the same build with the per-file event pump of the list
// page, and a check of every caption against what was generated.
//
// Run:  QT_QPA_PLATFORM=offscreen build-bench/bench/bench_catalogue [files] [runs]
//       (defaults: 2000 files, 7 timed runs; offscreen is chosen when unset;
//       TAVIO_BENCH_KEEP=1 keeps the generated folder for a look afterwards)

#include "Catalogue.h"
#include "ChapterTree.h"
#include "Cp1250.h"
#include "MainTypes.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QProcess>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <random>
#include <vector>

namespace {

constexpr qsizetype TargetFileSize = 30 * 1024;
constexpr double TargetRatio = 3.0;

struct Chapter
{
    QString fileName;
    QString expectedCaption;
};

double median(std::vector<double> v)
{
    if (v.empty())
        return 0;
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

QByteArray cp(const QString& s)
{
    return tavio::cp1250::fromUnicode(s);
}

const QStringList& titles()
{
    static const QStringList list = {
        QStringLiteral("Formuláře a dialogy"), QStringLiteral("Práce se soubory"), QStringLiteral("Řetězce a znaky"),
        QStringLiteral("Ukazatele"),           QStringLiteral("Dědičnost tříd"),  QStringLiteral("Výjimky"),
        QStringLiteral("Šablony funkcí"),      QStringLiteral("Čtení vstupu"),    QStringLiteral("Žádosti přes síť"),
        QStringLiteral("Grafika a kreslení"),  QStringLiteral("Ladění programu"), QStringLiteral("Příkazová řádka"),
        QStringLiteral("Dynamická paměť"),     QStringLiteral("Události myši"),   QStringLiteral("Časovače"),
        QStringLiteral("Úvod do databází"),
    };
    return list;
}

const std::vector<QByteArray>& sentences()
{
    static const std::vector<QByteArray> list = [] {
        const QStringList s = {
            QStringLiteral("V minulém díle jsme si ukázali, jak založit nový projekt a přidat do něj formulář."),
            QStringLiteral("Dnes se podíváme na to, jak s komponentami pracovat za běhu programu."),
            QStringLiteral("Každá třída má svůj konstruktor, který se volá při vytváření objektu."),
            QStringLiteral("Příliš žluťoučký kůň úpěl ďábelské ódy, což je věta se všemi háčky a čárkami."),
            QStringLiteral("Pokud proměnná ukazuje na neplatné místo v paměti, program skončí chybou."),
            QStringLiteral("Vlastnost Caption určuje text, který se zobrazí v záhlaví okna."),
            QStringLiteral("Události zpracováváme v obslužných metodách, které nám vývojové prostředí připraví."),
            QStringLiteral("Čtenáři se často ptají, proč jejich příklad nejde přeložit; odpověď najdete níže."),
            QStringLiteral("Řetězec lze rozdělit na části funkcí, která hledá oddělovač."),
            QStringLiteral("Zkuste si příklad upravit tak, aby četl data ze souboru místo z klávesnice."),
            QStringLiteral("Šikovný programátor si všimne, že cyklus lze zapsat i kratším způsobem."),
            QStringLiteral("Ve výpisu níže je celá jednotka, kterou si můžete stáhnout i s projektem."),
        };
        std::vector<QByteArray> out;
        for (const QString& x : s)
            out.push_back(cp(x));
        return out;
    }();
    return list;
}

// The heading line(s) and the title the catalogue should read from them.
struct Heading
{
    QByteArray bytes;
    QString title;
};

Heading makeHeading(int chapter, int form, const QString& name)
{
    const QByteArray lesson = "Lekce " + QByteArray::number(chapter) + ' ';
    switch (form) {
    case 1: // en dash of the code page, lower-case tag
        return {"<h2>" + lesson + '\x96' + ' ' + cp(name) + "</h2>", QLatin1Char(' ') + name};
    case 2: { // heading split over two lines
        const QString more = QStringLiteral("pokračování");
        return {"<H2>" + lesson + "- " + cp(name) + "\r\n      " + cp(more) + "</H2>",
                QLatin1Char(' ') + name + more};
    }
    case 3: { // no blank after the dash: the first letter is upper-cased
        const QString lower = name.toLower();
        QString expected = lower;
        expected[0] = expected[0].toUpper();
        return {"<H2>" + lesson + '-' + cp(lower) + "</H2>", expected};
    }
    case 4: // an ampersand entity
        return {"<H2>" + lesson + "- " + cp(name) + cp(QStringLiteral(" &amp; cvičení</H2>")),
                QLatin1Char(' ') + name + QStringLiteral(" &amp; cvičení")};
    default:
        return {"<H2>" + lesson + "- " + cp(name) + "</H2>", QLatin1Char(' ') + name};
    }
}

QByteArray makeChapterFile(const QString& baseName, int chapter, const Heading& heading, std::mt19937& rng)
{
    const QByteArray assets = baseName.toLatin1() + "_soubory/";
    QByteArray f;
    f.reserve(TargetFileSize + 4096);
    f += "<!DOCTYPE HTML PUBLIC \"-//W3C//DTD HTML 4.01 Transitional//EN\">\r\n<HTML>\r\n<HEAD>\r\n"
         "<META http-equiv=\"Content-Type\" content=\"text/html; charset=windows-1250\">\r\n"
         "<TITLE>Lekce "
        + QByteArray::number(chapter) + "</TITLE>\r\n<LINK rel=\"stylesheet\" type=\"text/css\" href=\"" + assets
        + "styl.css\">\r\n</HEAD>\r\n<BODY bgcolor=\"#FFFFFF\" leftmargin=\"10\">\r\n";
    // The magazine's header: a menu of links of varying length before the heading.
    const int links = int(rng() % 40);
    for (int i = 0; i < links; ++i)
        f += "<A href=\"/clanky/rubrika" + QByteArray::number(i) + ".html\">" + cp(QStringLiteral("Rubrika č. "))
            + QByteArray::number(i) + "</A> |\r\n";
    f += "<P class=\"datum\">" + cp(QStringLiteral("Vydáno ")) + QByteArray::number(1 + chapter % 28) + ". "
        + QByteArray::number(1 + chapter % 12) + ". 2003</P>\r\n";
    f += heading.bytes + "\r\n";

    const auto& s = sentences();
    int paragraph = 0;
    while (f.size() < TargetFileSize) {
        ++paragraph;
        if (paragraph % 5 == 0) {
            f += "<PRE>\r\nprocedure TForm1.Button" + QByteArray::number(paragraph) + "Click(Sender: TObject);\r\n"
                 "var\r\n  i: Integer;\r\nbegin\r\n  for i := 0 to ListBox1.Items.Count - 1 do\r\n"
                 "    Memo1.Lines.Add(ListBox1.Items[i]);  // "
                + cp(QStringLiteral("přidá řádek")) + "\r\nend;\r\n</PRE>\r\n";
        } else if (paragraph % 7 == 0) {
            f += "<P>" + cp(QStringLiteral("Obrázek: ")) + "<IMG src=\"" + assets + "obr" + QByteArray::number(paragraph)
                + ".gif\" alt=\"\"> " + cp(QStringLiteral("viz též ")) + "<A href=\"" + QByteArray::number(chapter + 1)
                + ".htm\">" + cp(QStringLiteral("další díl")) + "</A></P>\r\n";
        } else {
            f += "<P>";
            const int n = 2 + int(rng() % 5);
            for (int i = 0; i < n; ++i) {
                f += s[rng() % s.size()];
                f += (i % 2) ? "\r\n" : " ";
            }
            f += "</P>\r\n";
        }
    }
    f += "<HR>\r\n<P class=\"paticka\">" + cp(QStringLiteral("© Všechna práva vyhrazena")) + "</P>\r\n</BODY>\r\n</HTML>\r\n";
    return f;
}

// Writes the chapter files; returns what the catalogue should show for each.
std::vector<Chapter> generate(const QString& folder, int fileCount, int* groupCount)
{
    std::mt19937 rng(20031);
    std::vector<Chapter> out;
    *groupCount = 0;
    int fileIndex = 0;
    for (int chapter = 1; int(out.size()) < fileCount; ++chapter) {
        // A third of the chapters are single files, the others have two to four parts.
        const int parts = (chapter % 3 == 0) ? 1 : 2 + chapter % 3 + (chapter % 7 == 0 ? 1 : 0);
        const bool grouped = parts > 1;
        if (grouped)
            ++*groupCount;
        for (int part = 1; part <= parts && int(out.size()) < fileCount; ++part, ++fileIndex) {
            const QString number = QStringLiteral("%1").arg(chapter, 4, 10, QLatin1Char('0'));
            const QString base = grouped ? number + QStringLiteral("-%1").arg(part, 2, 10, QLatin1Char('0')) : number;
            const QString fileName = base + QStringLiteral(".htm");
            QString name = titles()[chapter % titles().size()];
            if (grouped)
                name += QStringLiteral(" %1").arg(part);
            const Heading h = makeHeading(chapter, fileIndex % 6, name);
            QFile f(folder + fileName);
            if (!f.open(QIODevice::WriteOnly) || f.write(makeChapterFile(base, chapter, h, rng)) < 0) {
                std::fprintf(stderr, "cannot write %s\n", qUtf8Printable(f.fileName()));
                std::exit(2);
            }
            // Every fourth chapter has its pictures downloaded beside it.
            if (fileIndex % 4 == 0) {
                QDir().mkpath(folder + base + QStringLiteral("_soubory"));
                QFile gif(folder + base + QStringLiteral("_soubory/obr5.gif"));
                if (gif.open(QIODevice::WriteOnly))
                    gif.write("GIF89a\x01\x00\x01\x00\x00\x00\x00;", 14);
            }
            out.push_back({fileName, tavio::ChapterCaption(fileName, h.title, grouped)});
        }
    }
    return out;
}

// Compares every chapter node with what was generated; prints the first mismatch.
int checkCaptions(const tavio::ChapterTree& tree, const std::vector<Chapter>& chapters, int* groups)
{
    QHash<QString, QString> expected;
    for (const Chapter& c : chapters)
        expected.insert(c.fileName, c.expectedCaption);
    int ok = 0;
    bool reported = false;
    *groups = 0;
    tree.forEach([&](tavio::TreeNode* n) {
        if (n->imageIndex != tavio::image::Chapter) {
            ++*groups;
            return;
        }
        const QString file = n->caption.left(n->caption.indexOf(QStringLiteral(" [")));
        if (expected.value(file) == n->caption) {
            ++ok;
        } else if (!reported) {
            reported = true;
            std::printf("  MISMATCH %s\n    got:      '%s'\n    expected: '%s'\n", qUtf8Printable(file),
                        qUtf8Printable(n->caption), qUtf8Printable(expected.value(file)));
        }
    });
    return ok;
}

} // namespace

int main(int argc, char* argv[])
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);

    const int fileCount = argc > 1 ? std::max(1, std::atoi(argv[1])) : 2000;
    const int runs = argc > 2 ? std::max(1, std::atoi(argv[2])) : 7;

    QTemporaryDir tmp;
    if (!tmp.isValid()) {
        std::fprintf(stderr, "cannot create a temporary folder\n");
        return 2;
    }
    if (qEnvironmentVariableIsSet("TAVIO_BENCH_KEEP"))
        tmp.setAutoRemove(false);
    const QString folder = tmp.path() + QStringLiteral("/Htm/");
    QDir().mkpath(folder);

    int groupCount = 0;
    QElapsedTimer gen;
    gen.start();
    const std::vector<Chapter> chapters = generate(folder, fileCount, &groupCount);
    qint64 bytes = 0;
    for (const Chapter& c : chapters)
        bytes += QFileInfo(folder + c.fileName).size();
    std::printf("Catalogue benchmark: %d chapter files (%d grouped chapters), %.1f MB, average %.1f kB, in %s\n",
                int(chapters.size()), groupCount, double(bytes) / 1e6, double(bytes) / 1024.0 / double(chapters.size()),
                qUtf8Printable(folder));
    std::printf("  generated in %lld ms; %d timed runs each, median reported, warm cache\n", gen.elapsed(), runs);

    // grep runs through the shell, which lists the folder for it; the output is
    // taken through a pipe, as the catalogue keeps the titles it read. The files are
    // single-byte text: in a UTF-8 locale grep would take them for binary files, so
    // it runs in the C locale, its fastest and the right one for this data.
    const QString grepLabel = QStringLiteral("LC_ALL=C grep -m1 -i '^<h2>'");
    QProcessEnvironment grepEnv = QProcessEnvironment::systemEnvironment();
    grepEnv.insert(QStringLiteral("LC_ALL"), QStringLiteral("C"));
    int grepLines = 0;
    auto runGrep = [&] {
        QProcess p;
        p.setProcessEnvironment(grepEnv);
        p.start(QStringLiteral("/bin/sh"),
                {QStringLiteral("-c"), QStringLiteral("exec grep -m1 -i '^<h2>' \"$0\"/*.htm"), tmp.path() + QStringLiteral("/Htm")});
        if (!p.waitForFinished(120000) || p.exitStatus() != QProcess::NormalExit || p.exitCode() != 0) {
            std::fprintf(stderr, "grep failed: %s\n", p.readAllStandardError().constData());
            std::exit(2);
        }
        grepLines = int(p.readAllStandardOutput().count('\n'));
    };

    tavio::ChapterTree tree;
    bool built = false;
    auto runCatalogue = [&] { built = tavio::BuildCatalogue(tree, folder); };

    // Warm the cache and the one-time set-up (code page converter, collator).
    runCatalogue();
    runGrep();

    std::vector<double> catalogueMs, grepMs;
    for (int i = 0; i < runs; ++i) {
        catalogueMs.push_back(timeMs(runCatalogue));
        grepMs.push_back(timeMs(runGrep));
    }
    const double c = median(catalogueMs), g = median(grepMs);
    const double ratio = g > 0 ? c / g : 0;
    std::printf("BuildCatalogue: %.0f ms   %s: %.0f ms   ratio %.2f (target <= %.0f)%s\n", c,
                qUtf8Printable(grepLabel), g, ratio, TargetRatio, ratio <= TargetRatio ? "" : "   OVER TARGET");
    std::printf("  catalogue runs: min %.0f  max %.0f ms;  grep runs: min %.0f  max %.0f ms\n",
                *std::min_element(catalogueMs.begin(), catalogueMs.end()),
                *std::max_element(catalogueMs.begin(), catalogueMs.end()),
                *std::min_element(grepMs.begin(), grepMs.end()), *std::max_element(grepMs.begin(), grepMs.end()));

    // Where the catalogue's time goes.
    std::vector<double> listMs, titlesMs, sortMs;
    QStringList names;
    for (int i = 0; i < runs; ++i) {
        listMs.push_back(timeMs([&] {
            QDir dir(folder);
            dir.setNameFilters({QStringLiteral("*.htm")});
            dir.setFilter(QDir::Files | QDir::Hidden | QDir::System);
            dir.setSorting(QDir::Name);
            names = dir.entryList();
        }));
        titlesMs.push_back(timeMs([&] {
            for (const QString& n : names)
                tavio::ReadChapterTitle(folder + n);
        }));
        // The tree comes back sorted; reverse every level so the sort has work to do.
        tavio::ChapterTree reversed;
        reversed.copyFrom(tree);
        reversed.sortAll([](const QString& a, const QString& b) { return a > b; });
        sortMs.push_back(timeMs([&] { tavio::SortByCaption(reversed); }));
    }
    std::printf("  breakdown: listing %.1f ms, reading %d titles %.1f ms (%.1f us per file), sort %.2f ms\n",
                median(listMs), int(names.size()), median(titlesMs), median(titlesMs) * 1000.0 / double(names.size()),
                median(sortMs));

    // The list page runs the same build with the window's messages let through per file.
    tavio::CatalogueCallbacks pump;
    pump.pump = [] { QApplication::processEvents(QEventLoop::ExcludeUserInputEvents); };
    tavio::ChapterTree pumped;
    tavio::BuildCatalogue(pumped, folder, pump);
    std::vector<double> pumpMs;
    for (int i = 0; i < runs; ++i)
        pumpMs.push_back(timeMs([&] { tavio::BuildCatalogue(pumped, folder, pump); }));
    std::printf("  with the per-file event pump of the list page: %.0f ms (ratio to grep %.2f)\n", median(pumpMs),
                g > 0 ? median(pumpMs) / g : 0);

    // Sanity: the tree holds what was generated.
    int groupsSeen = 0;
    const int captionsOk = checkCaptions(tree, chapters, &groupsSeen);
    std::printf("  result %s; nodes %d (top level %d, groups %d of %d expected); grep printed %d heading lines\n",
                built ? "true" : "false", tree.count(), tree.topLevelCount(), groupsSeen, groupCount, grepLines);
    std::printf("  captions as generated: %d of %d%s\n", captionsOk, int(chapters.size()),
                captionsOk == int(chapters.size()) ? "" : "   CHECK FAILED");
    for (const int row : {0, 1}) {
        if (row < tree.topLevelCount()) {
            const tavio::TreeNode* n = tree.topLevel(row);
            std::printf("  sample caption: '%s'\n", qUtf8Printable(n->hasChildren() ? n->child(0)->caption : n->caption));
        }
    }
    return captionsOk == int(chapters.size()) && built ? 0 : 1;
}
