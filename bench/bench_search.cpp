// bench_search: how long the search page takes to search every chapter file.
//
// Generates a folder of Windows-1250 chapter files with CR LF line ends (2,000 files
// of about 30 kB by default): a head with style sheet and script, navigation tables,
// headings, paragraphs with inline markup and entities, <pre> listings, tables,
// lists and a footer. About one file in ten holds the phrase "dynamické pole"
// (written with either initial case); others hold near misses ("dynamické poli",
// "dynamického pole"). Then, with a warm cache (each run once untimed), it alternates:
//   - the search page's loop: for every file in name order, ChapterFileToText and
//     TextHasPattern, RawLinesHavePattern when the file cannot be read; whole words,
//     case not significant;
//   - grep -F -i -l "dynamické pole" folder/*.htm: the standard tool answering the
//     same question about the same files (in the C locale, see below);
// and prints the median of each, both hit counts, their ratio against the target,
// and where the search's time goes (reading, extraction, matching).
//
// Run:  build/bench/bench_search [files] [runs]
//       (defaults: 2000 files, 5 timed runs; TAVIO_BENCH_KEEP=1 keeps the folder)

#include "ChapterText.h"
#include "Cp1250.h"
#include "TextFile.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
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
constexpr int HitEvery = 10;

double median(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    const size_t n = v.size();
    return n == 0 ? 0 : n % 2 ? v[n / 2] : (v[n / 2 - 1] + v[n / 2]) / 2;
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

std::vector<QByteArray> encodeAll(const QStringList& list)
{
    std::vector<QByteArray> out;
    for (const QString& s : list)
        out.push_back(cp(s));
    return out;
}

const std::vector<QByteArray>& sentences()
{
    static const std::vector<QByteArray> list = encodeAll({
        QStringLiteral("V minulém díle jsme si ukázali, jak založit nový projekt a přidat do něj formulář."),
        QStringLiteral("Dnes se podíváme na to, jak s komponentami pracovat za běhu programu."),
        QStringLiteral("Každá třída má svůj konstruktor, který se volá při vytváření objektu."),
        QStringLiteral("Příliš žluťoučký kůň úpěl ďábelské ódy, což je věta se všemi háčky a čárkami."),
        QStringLiteral("Pokud proměnná ukazuje na neplatné místo v paměti, program skončí chybou."),
        QStringLiteral("Vlastnost <code>Caption</code> určuje text, který se zobrazí v záhlaví okna."),
        QStringLiteral("Události zpracováváme v obslužných metodách, které nám vývojové prostředí připraví."),
        QStringLiteral("Čtenáři se často ptají, proč jejich příklad nejde přeložit; odpověď najdete níže."),
        QStringLiteral("Řetězec lze rozdělit na části funkcí, která hledá oddělovač (viz &quot;Pos&quot;)."),
        QStringLiteral("Zkuste si příklad upravit tak, aby četl data ze souboru místo z klávesnice."),
        QStringLiteral("Šikovný programátor si všimne, že cyklus lze zapsat i <b>kratším</b> způsobem."),
        QStringLiteral("Ve výpisu níže je celá jednotka, kterou si můžete stáhnout i&nbsp;s projektem."),
        QStringLiteral("Podmínka <code>i &lt; Count</code> zajistí, že nesáhneme mimo rozsah pole."),
        QStringLiteral("Hodnota 2&nbsp;&times;&nbsp;3 se spočítá už při překladu &ndash; překladač je chytrý."),
        QStringLiteral("Záznam (record) sdružuje několik položek různých typů pod jedno jméno."),
        QStringLiteral("Velikost pole se určuje při deklaraci a za běhu programu ji už nezměníme."),
        QStringLiteral("Obsluha výjimky v bloku <i>try ... except</i> zachytí chybu a program pokračuje."),
        QStringLiteral("Mezi „uvozovkami“ stojí text, který program vypíše beze změny."),
    });
    return list;
}

const std::vector<QByteArray>& codeLines()
{
    static const std::vector<QByteArray> list = encodeAll({
        QStringLiteral("procedure TForm1.Button1Click(Sender: TObject);"),
        QStringLiteral("var"),
        QStringLiteral("  i, Soucet: Integer;"),
        QStringLiteral("begin"),
        QStringLiteral("  Soucet := 0;"),
        QStringLiteral("  for i := Low(Pole) to High(Pole) do"),
        QStringLiteral("    if Pole[i] &gt; 0 then Soucet := Soucet + Pole[i];  { jen kladná čísla }"),
        QStringLiteral("  Label1.Caption := &quot;Součet: &quot; + IntToStr(Soucet);"),
        QStringLiteral("  if (a &lt;&gt; b) and (c &lt;= d) then Exit;"),
        QStringLiteral("  ShowMessage('Hotovo &amp; uloženo');"),
        QStringLiteral("end;"),
    });
    return list;
}

QByteArray head(int chapter)
{
    return cp(QStringLiteral(
        "<!DOCTYPE HTML PUBLIC \"-//W3C//DTD HTML 4.01 Transitional//EN\">\r\n<html>\r\n<head>\r\n"
        "<meta http-equiv=\"Content-Type\" content=\"text/html; charset=windows-1250\">\r\n"
        "<meta name=\"keywords\" content=\"programování, seriál, Pascal, komponenty\">\r\n"
        "<title>Kódovna - Programujeme v Pascalu, díl %1</title>\r\n"
        "<style type=\"text/css\">\r\n<!--\r\n"
        "body { font-family: Verdana, Arial, sans-serif; font-size: 10pt; margin: 12px; }\r\n"
        "h2 { font-size: 16pt; color: #1F3A68; }\r\n"
        "pre { font-family: \"Courier New\", monospace; background-color: #F4F4F4; padding: 6px; }\r\n"
        ".paticka { font-size: 8pt; color: #808080; }\r\n-->\r\n</style>\r\n"
        "<SCRIPT LANGUAGE=\"JavaScript\" TYPE=\"text/javascript\">\r\n<!--\r\n"
        "function nastavStatus() {\r\n  window.status = \"Kódovna - tisková verze\";\r\n  return true;\r\n}\r\n"
        "//-->\r\n</SCRIPT>\r\n</head>\r\n<body onLoad=\"window.print()\">\r\n")
                  .arg(chapter));
}

QByteArray navigation(int chapter)
{
    QByteArray f = "<table width=\"100%\" border=\"0\" cellpadding=\"2\" cellspacing=\"0\"><tr>\r\n";
    for (int i = 0; i < 6; ++i)
        f += "<td class=\"navigace\"><a href=\"http://www.kodovna.example/rubrika/" + QByteArray::number(i) + "/\">"
            + cp(QStringLiteral("Rubrika č. ")) + QByteArray::number(i) + "</a></td>\r\n";
    f += "</tr></table>\r\n<h2>Lekce " + QByteArray::number(chapter) + " - " + cp(QStringLiteral("Pole a záznamy"))
        + "</h2>\r\n";
    return f;
}

QByteArray pre(std::mt19937& rng)
{
    QByteArray f = "<pre>";
    const auto& lines = codeLines();
    const size_t first = rng() % lines.size();
    for (size_t i = 0; i < 8; ++i)
        f += lines[(first + i) % lines.size()] + "\r\n";
    f += "</pre>\r\n";
    return f;
}

QByteArray table(std::mt19937& rng)
{
    QByteArray f = "<table border=\"1\" cellpadding=\"4\" cellspacing=\"0\">\r\n<tr><th>"
        + cp(QStringLiteral("Vlastnost")) + "</th><th>Typ</th><th>" + cp(QStringLiteral("Popis")) + "</th></tr>\r\n";
    const int rows = 3 + int(rng() % 5);
    for (int r = 0; r < rows; ++r)
        f += "<tr><td><code>Items[" + QByteArray::number(r) + "]</code></td><td>TStrings</td><td>"
            + sentences()[rng() % sentences().size()] + "</td></tr>\r\n";
    f += "</table>\r\n";
    return f;
}

// A paragraph of sentences broken over lines as an editor wraps them; a phrase, when
// given, goes in at a random sentence boundary.
QByteArray paragraph(std::mt19937& rng, const QByteArray& phrase)
{
    const auto& s = sentences();
    const int n = 3 + int(rng() % 6);
    const int phraseAt = phrase.isEmpty() ? -1 : int(rng() % n);
    QByteArray f = "<p>";
    for (int i = 0; i < n; ++i) {
        if (i == phraseAt)
            f += phrase;
        f += s[rng() % s.size()];
        f += (i % 2) ? "\r\n" : " ";
    }
    f += "</p>\r\n";
    return f;
}

QByteArray footer()
{
    return cp(
        QStringLiteral("<hr size=\"1\" noshade>\r\n<p class=\"navigace\"><a href=\"x.htm\">&laquo; Předchozí díl</a>"
                       " | <a href=\"y.htm\">Následující díl &raquo;</a></p>\r\n"
                       "<p class=\"paticka\">&copy; 2003 Kódovna &ndash; magazín o programování. "
                       "Všechna práva vyhrazena.</p>\r\n</body>\r\n</html>\r\n"));
}

// Writes the chapter files; returns their paths in name order and how many hold the phrase.
QStringList generate(const QString& folder, int fileCount, int* withPhrase)
{
    std::mt19937 rng(20041);
    const std::vector<QByteArray> hits = encodeAll({QStringLiteral("Proto použijeme dynamické pole, které roste. "),
        QStringLiteral("Dynamické pole (TList) zvětšíme za běhu. ")});
    const std::vector<QByteArray> nearMisses = encodeAll(
        {QStringLiteral("Prvek dynamické poli nepřidáme. "), QStringLiteral("Délka dynamického pole se mění. ")});
    QStringList paths;
    *withPhrase = 0;
    for (int i = 0; i < fileCount; ++i) {
        const int chapter = 1 + i;
        const bool hit = i % HitEvery == 3;
        const bool nearMiss = i % HitEvery == 7;
        *withPhrase += hit;
        QByteArray f = head(chapter) + navigation(chapter);
        f.reserve(TargetFileSize + 4096);
        int block = 0;
        // The phrase lands in the first, middle or last part of a file.
        const int phraseBlock = hit || nearMiss ? 1 + int(rng() % 40) : -1;
        while (f.size() < TargetFileSize) {
            ++block;
            QByteArray phrase;
            if (block == phraseBlock || (phraseBlock >= 0 && f.size() + 2000 > TargetFileSize && block < phraseBlock))
                phrase = hit ? hits[rng() % hits.size()] : nearMisses[rng() % nearMisses.size()];
            if (block % 6 == 0)
                f += pre(rng);
            else if (block % 11 == 0)
                f += table(rng);
            else if (block % 9 == 0)
                f += "<ul>\r\n<li>" + sentences()[rng() % sentences().size()] + "</li>\r\n<li>"
                    + sentences()[rng() % sentences().size()] + "</li>\r\n</ul>\r\n";
            if (block % 4 == 0)
                f += "<h3>" + cp(QStringLiteral("Část ")) + QByteArray::number(block) + "</h3>\r\n";
            f += paragraph(rng, phrase);
        }
        f += footer();
        const QString path = folder + QStringLiteral("%1.htm").arg(chapter, 4, 10, QLatin1Char('0'));
        QFile out(path);
        if (!out.open(QIODevice::WriteOnly) || out.write(f) != f.size()) {
            std::fprintf(stderr, "cannot write %s\n", qUtf8Printable(path));
            std::exit(2);
        }
        paths.append(path);
    }
    paths.sort();
    return paths;
}

// A byte string as a bash $'...' word, so that grep gets the Windows-1250 bytes.
QString bashBytes(const QByteArray& bytes)
{
    QString s = QStringLiteral("$'");
    for (const char c : bytes) {
        const uchar u = uchar(c);
        if (u >= 0x20 && u < 0x7F && c != '\'' && c != '\\')
            s += QLatin1Char(c);
        else
            s += QStringLiteral("\\%1").arg(u, 3, 8, QLatin1Char('0'));
    }
    return s + QLatin1Char('\'');
}

} // namespace

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    const int fileCount = argc > 1 ? std::max(1, std::atoi(argv[1])) : 2000;
    const int runs = argc > 2 ? std::max(1, std::atoi(argv[2])) : 5;

    QTemporaryDir tmp;
    if (!tmp.isValid()) {
        std::fprintf(stderr, "cannot create a temporary folder\n");
        return 2;
    }
    if (qEnvironmentVariableIsSet("TAVIO_BENCH_KEEP"))
        tmp.setAutoRemove(false);
    const QString folder = tmp.path() + QStringLiteral("/Htm/");
    QDir().mkpath(folder);

    int generatedHits = 0;
    QElapsedTimer gen;
    gen.start();
    const QStringList paths = generate(folder, fileCount, &generatedHits);
    qint64 bytes = 0;
    for (const QString& p : paths)
        bytes += QFileInfo(p).size();
    std::printf("Search benchmark: %d chapter files, %.1f MB, average %.1f kB, in %s\n", int(paths.size()),
        double(bytes) / 1e6, double(bytes) / 1024.0 / double(paths.size()), qUtf8Printable(folder));
    std::printf("  generated in %lld ms (%d files hold the phrase); %d timed runs each, median reported, warm cache\n",
        gen.elapsed(), generatedHits, runs);

    const QString searchText = QStringLiteral("dynamické pole");
    const bool wholeWords = true;
    const bool caseSensitive = false;

    // The search page's loop over the check tree's files (the paths come from the
    // catalogue there, so the listing is not part of the search).
    int searchHits = 0;
    int fallbacks = 0;
    int failures = 0;
    auto runSearch = [&] {
        searchHits = fallbacks = failures = 0;
        const QByteArray pattern = tavio::MakeSearchPattern(searchText, wholeWords, caseSensitive);
        for (const QString& path : paths) {
            bool hit = false;
            if (const auto text = tavio::ChapterFileToText(path, searchText)) {
                hit = tavio::TextHasPattern(*text, pattern, caseSensitive);
            } else {
                ++fallbacks;
                const auto raw = tavio::RawLinesHavePattern(path, pattern, caseSensitive);
                if (!raw) {
                    ++failures;
                    break;
                }
                hit = *raw;
            }
            searchHits += hit;
        }
    };

    // grep gets the folder listed by the shell and the phrase as Windows-1250 bytes.
    // Those bytes are not UTF-8, so in a UTF-8 locale grep would take the files for
    // binary ones and fold case the slow multibyte way: it runs in the C locale, its
    // fastest, where -i folds ASCII letters only (the phrase's accented letter is
    // lower-case in every file, so both answer the same question).
    const QString grepCommand = QStringLiteral("grep -F -i -l ") + bashBytes(cp(searchText));
    QProcessEnvironment grepEnv = QProcessEnvironment::systemEnvironment();
    grepEnv.insert(QStringLiteral("LC_ALL"), QStringLiteral("C"));
    int grepHits = 0;
    auto runGrep = [&] {
        QProcess p;
        p.setProcessEnvironment(grepEnv);
        p.start(QStringLiteral("/bin/bash"),
            {QStringLiteral("-c"), QStringLiteral("exec ") + grepCommand + QStringLiteral(" \"$0\"/*.htm"),
                tmp.path() + QStringLiteral("/Htm")});
        if (!p.waitForFinished(120000) || p.exitStatus() != QProcess::NormalExit || p.exitCode() > 1) {
            std::fprintf(stderr, "grep failed: %s\n", p.readAllStandardError().constData());
            std::exit(2);
        }
        grepHits = int(p.readAllStandardOutput().count('\n'));
    };

    runSearch();
    runGrep();
    std::vector<double> searchMs, grepMs;
    for (int i = 0; i < runs; ++i) {
        searchMs.push_back(timeMs(runSearch));
        grepMs.push_back(timeMs(runGrep));
    }
    const double s = median(searchMs), g = median(grepMs);
    const double ratio = g > 0 ? s / g : 0;
    std::printf("search loop: %.1f ms, %d hits   %s (LC_ALL=C): %.1f ms, %d hits   ratio %.2f (target <= %.0f)%s\n", s,
        searchHits, qUtf8Printable(grepCommand), g, grepHits, ratio, TargetRatio,
        ratio <= TargetRatio ? "" : "   OVER TARGET");
    std::printf("  search runs: min %.1f  max %.1f ms;  grep runs: min %.1f  max %.1f ms\n",
        *std::min_element(searchMs.begin(), searchMs.end()), *std::max_element(searchMs.begin(), searchMs.end()),
        *std::min_element(grepMs.begin(), grepMs.end()), *std::max_element(grepMs.begin(), grepMs.end()));
    if (fallbacks || failures)
        std::printf("  %d files read line by line, %d unreadable\n", fallbacks, failures);

    // Where the search's time goes, stage by stage over the same files; each stage
    // discards its output as the search does, except what the next stage needs.
    std::vector<QByteArray> contents;
    std::vector<QByteArray> texts;
    for (const QString& path : paths)
        contents.push_back(tavio::ReadFileBytes(path, tavio::MaxChapterFileBytes).value_or(QByteArray()));
    const QByteArray searchBytes = cp(searchText);
    for (const QByteArray& c : contents) {
        texts.push_back(tavio::ChapterBytesToText(c, searchBytes));
        texts.back().squeeze();
    }
    qint64 textBytes = 0;
    for (const QByteArray& t : texts)
        textBytes += t.size();
    const QByteArray pattern = tavio::MakeSearchPattern(searchText, wholeWords, caseSensitive);
    std::vector<double> readMs, extractMs, matchMs;
    qint64 sink = 0;
    for (int i = 0; i < runs; ++i) {
        readMs.push_back(timeMs([&] {
            for (const QString& path : paths)
                sink += tavio::ReadFileBytes(path, tavio::MaxChapterFileBytes).value_or(QByteArray()).size();
        }));
        extractMs.push_back(timeMs([&] {
            for (const QByteArray& c : contents)
                sink += tavio::ChapterBytesToText(c, searchBytes).size();
        }));
        matchMs.push_back(timeMs([&] {
            for (const QByteArray& t : texts)
                sink += tavio::TextHasPattern(t, pattern, caseSensitive);
        }));
    }
    std::printf("  breakdown: reading %.1f ms, extraction %.1f ms (%.2f ns per byte), matching %.1f ms;"
                " extracted text %.1f MB%s\n",
        median(readMs), median(extractMs), median(extractMs) * 1e6 / double(bytes), median(matchMs),
        double(textBytes) / 1e6, sink ? "" : " ");

    // The same files with the case kept and without whole words, for comparison.
    std::vector<double> otherMs;
    int otherHits = 0;
    for (int i = 0; i < runs; ++i) {
        otherMs.push_back(timeMs([&] {
            otherHits = 0;
            const QByteArray p = tavio::MakeSearchPattern(searchText, false, true);
            for (const QString& path : paths) {
                if (const auto text = tavio::ChapterFileToText(path, searchText))
                    otherHits += tavio::TextHasPattern(*text, p, true);
            }
        }));
    }
    std::printf("  case kept, not whole words: %.1f ms, %d hits\n", median(otherMs), otherHits);

    const bool agree = searchHits == grepHits && searchHits == generatedHits;
    std::printf("  hits %s (generated %d, search %d, grep %d)\n", agree ? "agree" : "DIFFER", generatedHits, searchHits,
        grepHits);
    return agree && !failures ? 0 : 1;
}
