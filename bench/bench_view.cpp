// bench_view: how fast the chapter view opens a chapter and highlights a search phrase.
//
// Generates Windows-1250 chapter pages with the markup the series uses (head with a
// style sheet, a logo table, headings, paragraphs with inline markup, code blocks,
// lists, tables, pictures, links within the folder and to the web), then:
//   1. opens a 50 kB chapter: HtmlView::navigate() to documentComplete, two pages taken
//      in turn, median of 10 after 2 warm-ups (target 300 ms); baseline: reading the same
//      file with QFile;
//   2. highlights a phrase with 1,000 matches in a 1 MB page (the page is loaded afresh,
//      untimed, before each run), median of 5 after 1 warm-up (target 500 ms); baseline:
//      grep -o -i -c for the phrase over the same file.
// The engine's start-up (the first view) and the first, cold page load are printed apart.
// The opening is also taken with the reading aids (the scripts behind the reading
// position, the read mark and the copy button) and the dark theme's style sheet against
// the plain view, in blocks taken in turn, and the difference printed (target under 10 ms).
//
// Run:  QT_QPA_PLATFORM=offscreen QTWEBENGINE_CHROMIUM_FLAGS="--disable-gpu --no-sandbox"
//         build/bench/bench_view
//       (as root the engine's sandbox is switched off, as the program does)

#include "Cp1250.h"
#include "HtmlView.h"
#include "PageScripts.h"
#include "SettingsStore.h"

#include <QApplication>
#include <QColor>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTimer>
#include <QWebEnginePage>
#include <QWebEngineView>

#include <algorithm>
#include <cstdio>
#include <random>
#include <vector>

#include <unistd.h>

using tavio::HtmlView;

namespace {

constexpr int LoadTimeoutMs = 60000;
const QString Phrase = QStringLiteral("cyklus");

double median(std::vector<double> v)
{
    if (v.empty())
        return 0;
    std::sort(v.begin(), v.end());
    const size_t n = v.size();
    return n % 2 ? v[n / 2] : (v[n / 2 - 1] + v[n / 2]) / 2;
}

double elapsedMs(const QElapsedTimer& t)
{
    return double(t.nsecsElapsed()) / 1e6;
}

// Czech tutorial prose without the phrase, so that the page holds exactly the matches
// put into it.
const QStringList& words()
{
    static const QStringList list
        = QStringLiteral("proměnná hodnota funkce příkaz podmínka řetězec číslo seznam program soubor řádek "
                         "překladač výraz parametr návratová třída objekt metoda zápis výpis uživatel vstup "
                         "výstup chyba výjimka paměť ukazatel pole index prvek součet průměr desetinné celé "
                         "pravdivostní logický operátor porovnání přiřazení odsazení blok tělo volání knihovna "
                         "modul balíček import slovník klíč dvojice n-tice množina průnik sjednocení rozdíl "
                         "šablona okno tlačítko událost myš klávesnice časovač kreslení plátno barva písmo")
              .split(QLatin1Char(' '));
    return list;
}

class PageWriter
{
public:
    explicit PageWriter(quint32 seed)
        : m_random(seed)
    {
    }

    QString sentence(int wordCount)
    {
        QString s;
        for (int i = 0; i < wordCount; ++i) {
            QString w = words().at(int(m_random() % quint32(words().size())));
            if (i == 0)
                w[0] = w[0].toUpper();
            const quint32 r = m_random() % 20;
            if (r == 0)
                w = QStringLiteral("<b>") + w + QStringLiteral("</b>");
            else if (r == 1)
                w = QStringLiteral("<code>") + w + QStringLiteral("</code>");
            else if (r == 2)
                w = QStringLiteral("<i>") + w + QStringLiteral("</i>");
            s += (i ? QStringLiteral(" ") : QString()) + w;
            if (i && i % 14 == 0)
                s += QStringLiteral("\r\n");
        }
        return s + QStringLiteral(". ");
    }

    // One block of the chapter body; `marked` puts the phrase into it once.
    QString block(int index, bool marked)
    {
        QString text = sentence(12) + sentence(18) + sentence(9);
        if (marked) {
            const QStringList forms = { Phrase, QStringLiteral("<b>") + Phrase + QStringLiteral("</b>"),
                Phrase.toUpper(), QStringLiteral("<code>") + Phrase + QStringLiteral("</code>") };
            text += QStringLiteral("Tady pomůže ") + forms.at(index % forms.size()) + QStringLiteral(" while. ");
        }
        switch (index % 9) {
        case 3:
            return QStringLiteral("<h3>") + sentence(3) + QStringLiteral("</h3>\r\n<p>") + text
                + QStringLiteral("</p>\r\n");
        case 5:
            return QStringLiteral(
                       "<pre>for i in range(10):\r\n    print(&quot;%1&quot;, i)\r\nprint(&quot;Konec.&quot;)"
                       "</pre>\r\n<p>")
                       .arg(words().at(index % words().size()))
                + text + QStringLiteral("</p>\r\n");
        case 7:
            return QStringLiteral("<ul>\r\n<li>") + sentence(8) + QStringLiteral("</li>\r\n<li>") + text
                + QStringLiteral("</li>\r\n</ul>\r\n");
        case 8:
            return QStringLiteral("<table width=\"100%\" border=\"0\" cellpadding=\"6\"><tr><td bgcolor=\"#FFF4D0\">")
                + text
                + QStringLiteral("</td></tr></table>\r\n<p align=\"center\"><img src=\"0005_soubory/obr%1.png\" "
                                 "width=\"440\" height=\"330\" alt=\"Obrázek\"></p>\r\n")
                      .arg(index);
        default:
            return QStringLiteral("<p>") + text
                + QStringLiteral(" Více v <a href=\"0004-02.htm\">minulé lekci</a>.</p>\r\n");
        }
    }

    // A chapter page of at least `size` bytes with `matches` occurrences of the phrase.
    QByteArray page(qsizetype size, int matches)
    {
        const QString head = QStringLiteral(
            "<html>\r\n<head>\r\n<meta http-equiv=\"Content-Type\" content=\"text/html; charset=windows-1250\">\r\n"
            "<title>Kódovna - Programujeme v Pythonu: Cykly</title>\r\n"
            "<link rel=\"stylesheet\" type=\"text/css\" href=\"http://www.kodovna.example/styly/tisk.css\">\r\n"
            "<style type=\"text/css\">\r\nbody { font-family: Verdana, Arial, sans-serif; font-size: 10pt; }\r\n"
            "h3 { font-size: 12pt; color: #1F3A68; }\r\npre { background-color: #F4F4F4; border: 1px solid #C0C0C0; }"
            "\r\n</style>\r\n</head>\r\n<body>\r\n<table width=\"100%\"><tr><td><a "
            "href=\"http://www.kodovna.example/\">"
            "<img src=\"0005_soubory/logo.gif\" width=\"180\" height=\"44\" alt=\"Kódovna\"></a></td></tr></table>\r\n"
            "<H2>Lekce 6 - Cykly</H2>\r\n");
        const QString tail = QStringLiteral(
            "<hr size=\"1\" noshade>\r\n<p class=\"navigace\"><a href=\"0005.htm\">&laquo; Předchozí díl</a> | "
            "<a href=\"http://www.kodovna.example/serialy/python/\">Obsah seriálu</a> | "
            "<a href=\"0007-01.htm\">Následující díl &raquo;</a></p>\r\n</body>\r\n</html>\r\n");
        QByteArray bytes = tavio::cp1250::fromUnicode(head);
        // Spread the matches evenly over the blocks needed for the size.
        const qsizetype blockBytes = tavio::cp1250::fromUnicode(block(0, false)).size();
        const int blocks = int(std::max<qsizetype>(size / std::max<qsizetype>(blockBytes, 1), matches));
        int placed = 0;
        for (int i = 0; bytes.size() < size || placed < matches; ++i) {
            const bool marked = placed < matches && (i >= blocks || qint64(i) * matches / blocks >= placed);
            placed += marked;
            bytes += tavio::cp1250::fromUnicode(block(i, marked));
        }
        return bytes + tavio::cp1250::fromUnicode(tail);
    }

private:
    std::mt19937 m_random;
};

bool writeFile(const QString& path, const QByteArray& bytes)
{
    QFile f(path);
    return f.open(QIODevice::WriteOnly) && f.write(bytes) == bytes.size();
}

// Waits for the view to report the document; false on a timeout.
bool openAndWait(HtmlView& view, const QString& path, double* ms = nullptr)
{
    QEventLoop loop;
    bool done = false;
    const auto c = QObject::connect(&view, &HtmlView::documentComplete, &loop, [&] {
        done = true;
        loop.quit();
    });
    QTimer::singleShot(LoadTimeoutMs, &loop, &QEventLoop::quit);
    QElapsedTimer t;
    t.start();
    view.navigate(path);
    if (!done)
        loop.exec();
    if (ms)
        *ms = elapsedMs(t);
    QObject::disconnect(c);
    return done;
}

bool highlightAndWait(HtmlView& view, double* ms, bool* found)
{
    QEventLoop loop;
    bool done = false;
    QTimer::singleShot(LoadTimeoutMs, &loop, &QEventLoop::quit);
    QElapsedTimer t;
    t.start();
    view.searchAndHighlightText(Phrase, false, false, [&](bool f) {
        *ms = elapsedMs(t);
        *found = f;
        done = true;
        loop.quit();
    });
    if (!done)
        loop.exec();
    return done;
}

int countSpans(HtmlView& view)
{
    QEventLoop loop;
    int count = -1;
    view.engineView()->page()->runJavaScript(
        QStringLiteral("document.querySelectorAll('span[style=\"color:black; background-color: lime; font-weight: "
                       "bolder;\"]').length"),
        [&](const QVariant& r) {
            count = r.toInt();
            loop.quit();
        });
    QTimer::singleShot(LoadTimeoutMs, &loop, &QEventLoop::quit);
    loop.exec();
    return count;
}

void printRow(const char* what, double ms, double targetMs, const char* baselineName, double baselineMs)
{
    std::printf("%-44s %9.1f ms   target %5.0f ms  %s\n", what, ms, targetMs, ms <= targetMs ? "met" : "MISSED");
    std::printf("%-44s %9.3f ms   ratio %.0fx\n", baselineName, baselineMs, baselineMs > 0 ? ms / baselineMs : 0.0);
}

} // namespace

int main(int argc, char* argv[])
{
    if (::geteuid() == 0)
        qputenv("QTWEBENGINE_DISABLE_SANDBOX", "1");
    QApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    QApplication app(argc, argv);

    QTemporaryDir dir;
    if (!dir.isValid())
        return 1;
    PageWriter writer(20090209);
    const QString chapterA = dir.filePath(QStringLiteral("0006.htm"));
    const QString chapterB = dir.filePath(QStringLiteral("0007-01.htm"));
    const QString large = dir.filePath(QStringLiteral("0099.htm"));
    const QByteArray pageA = writer.page(50 * 1024, 3);
    const QByteArray pageL = writer.page(1024 * 1024, 1000);
    if (!writeFile(chapterA, pageA) || !writeFile(chapterB, writer.page(50 * 1024, 3)) || !writeFile(large, pageL))
        return 1;

    tavio::SettingsStore store(dir.filePath(QStringLiteral("hive.ini")));
    QElapsedTimer startUp;
    startUp.start();
    HtmlView view(&store, QStringLiteral("\\Software\\Viewer\\Scripts\\3"),
        QStringLiteral("IEFontSize"));
    view.setNavigationGuard([](const QUrl& target) { return target.isLocalFile(); });
    view.resize(1024, 768);
    view.show();
    const double startUpMs = elapsedMs(startUp);

    std::printf("pages: chapter %lld bytes, large %lld bytes, phrase \"%s\"\n", qint64(pageA.size()),
        qint64(pageL.size()), qPrintable(Phrase));

    // 1. Opening a chapter.
    double coldMs = 0;
    if (!openAndWait(view, chapterA, &coldMs)) {
        std::fprintf(stderr, "the first page did not load\n");
        return 1;
    }
    std::vector<double> opens;
    for (int i = 0; i < 12; ++i) {
        double ms = 0;
        if (!openAndWait(view, i % 2 ? chapterA : chapterB, &ms)) {
            std::fprintf(stderr, "a page did not load\n");
            return 1;
        }
        if (i >= 2)
            opens.push_back(ms);
    }
    // The same openings with the reading aids (position and end reports, the copy button)
    // and the dark theme's style sheet, against plain ones: blocks of five openings
    // each way in turn, the two chapters taken alternately, the first opening of a
    // block (the one that follows the switch, which a reader makes once) left out.
    std::vector<double> plainOpens, aidedOpens;
    for (int block = 0; block < 8; ++block) {
        const bool aided = block % 2 == 1;
        view.setReadingAids(aided);
        view.setUserStyleSheet(aided ? tavio::pagescripts::themeCss(2) : QString(),
                               QColor(tavio::pagescripts::themePageColour(aided ? 2 : 0)));
        for (int i = 0; i < 5; ++i) {
            double ms = 0;
            if (!openAndWait(view, i % 2 ? chapterA : chapterB, &ms)) {
                std::fprintf(stderr, "a page did not load\n");
                return 1;
            }
            if (i > 0)
                (aided ? aidedOpens : plainOpens).push_back(ms);
        }
    }
    view.setReadingAids(true);
    view.setUserStyleSheet({}, QColor(Qt::white));
    std::vector<double> reads;
    for (int i = 0; i < 10; ++i) {
        QElapsedTimer t;
        t.start();
        QFile f(chapterA);
        if (f.open(QIODevice::ReadOnly))
            f.readAll();
        reads.push_back(elapsedMs(t));
    }

    // 2. Highlighting.
    std::vector<double> highlights;
    int spans = -1;
    for (int i = 0; i < 6; ++i) {
        double ms = 0;
        bool found = false;
        if (!openAndWait(view, large) || !highlightAndWait(view, &ms, &found) || !found) {
            std::fprintf(stderr, "highlighting failed\n");
            return 1;
        }
        if (i >= 1)
            highlights.push_back(ms);
        spans = countSpans(view);
    }
    std::vector<double> greps;
    QString grepCount;
    for (int i = 0; i < 6; ++i) {
        QProcess grep;
        QElapsedTimer t;
        t.start();
        grep.start(QStringLiteral("grep"),
            { QStringLiteral("-o"), QStringLiteral("-i"), QStringLiteral("-c"), Phrase, large });
        grep.waitForFinished(LoadTimeoutMs);
        const double ms = elapsedMs(t);
        grepCount = QString::fromLocal8Bit(grep.readAllStandardOutput()).trimmed();
        if (i >= 1)
            greps.push_back(ms);
    }

    std::printf("engine start-up (first view made and shown) %9.1f ms\n", startUpMs);
    std::printf("first page after start-up                   %9.1f ms\n", coldMs);
    printRow("open 50 kB chapter (median of 10)", median(opens), 300, "  baseline: QFile read of it (median of 10)",
        median(reads));
    std::printf("open 50 kB chapter, reading aids and dark theme: %.1f ms, without them: %.1f ms, difference %+.1f ms"
                " (target < +10 ms; medians of 16)\n",
                median(aidedOpens), median(plainOpens), median(aidedOpens) - median(plainOpens));
    printRow("highlight 1,000 matches in 1 MB (median of 5)", median(highlights), 500,
        "  baseline: grep -o -i -c (median of 5)", median(greps));
    std::printf("highlight spans in the page: %d (1,000 expected, more where a match spans elements); grep: %s lines\n",
        spans, qPrintable(grepCount));
    return 0;
}
