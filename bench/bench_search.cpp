// bench_search: how long the search page takes to search every chapter file, run as
// the page runs it (message pump, status texts, results tree and panel), beside
// grep -F -i -l on the same files in the same run.
//
// The chapters come from a folder given with --folder, or are generated (see
// tests/support/ChapterCorpus.h): the plain kind by default, --web for pages as
// the web writes them (long lines, large inline scripts and styles, many entities).
// The first run of each is taken with the files dropped from the page cache (cold),
// then the given number of runs alternate (warm, median reported). Printed too: the
// GUI thread's longest stretch without running its messages, how long Stop takes to
// end a search, memory, and whether the hits are the plain sequential rule's, in
// catalogue order.
//
// Run:  build/bench/bench_search [--web] [--folder DIR] [--text PHRASE] [files] [runs]
//       (defaults: 2000 files, 5 timed runs; TAVIO_BENCH_KEEP=1 keeps a generated folder)

#include "ChapterCorpus.h"
#include "ChapterSearch.h"
#include "ChapterText.h"
#include "ChapterTree.h"
#include "Cp1250.h"
#include "MessageService.h"
#include "SettingsStore.h"
#include "TextFile.h"
#include "search/SearchPage.h"
#include "widgets/TreeModel.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>
#include <QTimer>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <vector>

#include <fcntl.h>
#include <sys/resource.h>
#include <unistd.h>

using namespace tavio;

namespace {

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

// The message boxes (no hits) answer at once.
class SilentMessages final : public MessageService
{
public:
    MsgResult show(QWidget*, const QString&, MsgIcon, MsgButtons, const QString&) override { return MsgResult::Ok; }
};

// Drops the files from the page cache, so that the next run reads them from disk.
void evict(const QStringList& paths)
{
    for (const QString& p : paths) {
        const int fd = ::open(QFile::encodeName(p).constData(), O_RDONLY);
        if (fd >= 0) {
            ::fdatasync(fd);
            ::posix_fadvise(fd, 0, 0, POSIX_FADV_DONTNEED);
            ::close(fd);
        }
    }
}

double residentMb()
{
    QFile statm(QStringLiteral("/proc/self/statm"));
    if (!statm.open(QIODevice::ReadOnly))
        return 0;
    const QList<QByteArray> fields = statm.readAll().split(' ');
    return fields.size() > 1 ? double(fields[1].toLongLong()) * double(::sysconf(_SC_PAGESIZE)) / 1e6 : 0;
}

double peakMb()
{
    rusage u{};
    ::getrusage(RUSAGE_SELF, &u);
    return double(u.ru_maxrss) / 1024.0;
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

struct PageRun
{
    double ms = 0;
    int hits = 0;
    double longestGapMs = 0;
    QStringList captions;
};

} // namespace

int main(int argc, char* argv[])
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QStringList args = app.arguments().mid(1);
    const bool web = args.removeAll(QStringLiteral("--web")) > 0;
    QString given;
    QString searchText = QStringLiteral("dynamické pole");
    for (int i = 0; i + 1 < args.size();) {
        if (args[i] == QLatin1String("--folder")) {
            given = args[i + 1];
            args.remove(i, 2);
        } else if (args[i] == QLatin1String("--text")) {
            searchText = args[i + 1];
            args.remove(i, 2);
        } else {
            ++i;
        }
    }
    const int fileCount = !args.isEmpty() ? std::max(1, args[0].toInt()) : 2000;
    const int runs = args.size() > 1 ? std::max(1, args[1].toInt()) : 5;
    const bool wholeWords = true;
    const bool caseSensitive = false;

    QTemporaryDir tmp;
    if (!tmp.isValid()) {
        std::fprintf(stderr, "cannot create a temporary folder\n");
        return 2;
    }
    if (qEnvironmentVariableIsSet("TAVIO_BENCH_KEEP"))
        tmp.setAutoRemove(false);

    QString folder;
    QStringList paths;
    int generatedHits = -1;
    if (!given.isEmpty()) {
        folder = QDir(given).absolutePath() + QLatin1Char('/');
        const QStringList names = QDir(folder).entryList({QStringLiteral("*.htm")}, QDir::Files, QDir::Name);
        for (const QString& n : names)
            paths.append(folder + n);
        if (paths.isEmpty()) {
            std::fprintf(stderr, "no *.htm files in %s\n", qUtf8Printable(folder));
            return 2;
        }
    } else {
        folder = tmp.path() + QStringLiteral("/Htm/");
        QDir().mkpath(folder);
        generatedHits = 0;
        paths = web ? corpus::generateWeb(folder, fileCount, &generatedHits)
                    : corpus::generatePlain(folder, fileCount, &generatedHits);
    }
    qint64 bytes = 0;
    for (const QString& p : paths)
        bytes += QFileInfo(p).size();
    std::printf("Search benchmark: %d chapter files (%s), %.1f MB, average %.1f kB, in %s\n", int(paths.size()),
                given.isEmpty() ? (web ? "generated, web pages" : "generated, plain") : "given folder",
                double(bytes) / 1e6, double(bytes) / 1024.0 / double(paths.size()), qUtf8Printable(folder));
    std::printf("  phrase \"%s\", whole words, case not significant; %d warm runs each after one cold, median\n",
                qUtf8Printable(searchText), runs);

    // The real page over a catalogue of the files, in name order as the catalogue has them.
    SilentMessages messages;
    MessageService::setInstance(&messages);
    SettingsStore store(tmp.path() + QStringLiteral("/settings.ini"));
    ChapterTree catalogue;
    for (const QString& p : paths)
        catalogue.addChild(nullptr, QFileInfo(p).fileName() + QStringLiteral(" [Díl ]"), 0);
    SearchPage page(store, catalogue, [folder] { return folder; }, tmp.path() + QStringLiteral("/FindHistory.txt"),
                    nullptr);
    page.resize(900, 700);
    page.show();
    page.RefreshFileCheckTree();
    page.chbCopyToClipboard()->setChecked(false);
    page.edtFindText()->setEditText(searchText);
    page.chbWholeWordsOnly()->setChecked(wholeWords);
    page.chbCaseSensitive()->setChecked(caseSensitive);
    QApplication::processEvents();

    auto runPage = [&](double stopAfterMs, double* stopLatencyMs) {
        PageRun r;
        // Enter in the results tree would open a hit instead of searching.
        page.edtFindText()->setFocus();
        QElapsedTimer clock;
        qint64 last = 0;
        QTimer tick;
        tick.setInterval(0);
        QObject::connect(&tick, &QTimer::timeout, [&] {
            const qint64 now = clock.nsecsElapsed();
            r.longestGapMs = std::max(r.longestGapMs, double(now - last) / 1e6);
            last = now;
        });
        QTimer stop;
        stop.setSingleShot(true);
        qint64 stoppedAt = -1;
        if (stopAfterMs >= 0) {
            stop.setInterval(int(stopAfterMs));
            QObject::connect(&stop, &QTimer::timeout, [&] {
                stoppedAt = clock.nsecsElapsed();
                page.btnStopClick();
            });
            stop.start();
        }
        tick.start();
        clock.start();
        page.btnStartClick();
        const qint64 end = clock.nsecsElapsed();
        tick.stop();
        r.ms = double(end) / 1e6;
        r.hits = page.hitCount();
        page.findResultsModel()->tree().forEach([&](TreeNode* n) { r.captions.append(n->caption); });
        if (stopLatencyMs)
            *stopLatencyMs = stoppedAt < 0 ? -1 : double(end - stoppedAt) / 1e6;
        return r;
    };

    const QString grepCommand = QStringLiteral("grep -F -i -l ") + bashBytes(cp1250::fromUnicode(searchText));
    QProcessEnvironment grepEnv = QProcessEnvironment::systemEnvironment();
    // In a UTF-8 locale grep would take the Windows-1250 files for binary and fold the
    // slow multibyte way: the C locale is its fastest (-i folds ASCII letters only).
    grepEnv.insert(QStringLiteral("LC_ALL"), QStringLiteral("C"));
    int grepHits = 0;
    auto runGrep = [&] {
        QProcess p;
        p.setProcessEnvironment(grepEnv);
        p.start(QStringLiteral("/bin/bash"), {QStringLiteral("-c"),
                                              QStringLiteral("exec ") + grepCommand + QStringLiteral(" \"$0\"/*.htm"),
                                              QDir::cleanPath(folder)});
        if (!p.waitForFinished(300000) || p.exitStatus() != QProcess::NormalExit || p.exitCode() > 1) {
            std::fprintf(stderr, "grep failed: %s\n", p.readAllStandardError().constData());
            std::exit(2);
        }
        grepHits = int(p.readAllStandardOutput().count('\n'));
    };

    // The plain sequential rule, one file after the other on one thread, no page.
    const QByteArray pattern = MakeSearchPattern(searchText, wholeWords, caseSensitive);
    QStringList sequentialCaptions;
    auto runSequential = [&] {
        sequentialCaptions.clear();
        for (const QString& path : paths) {
            bool hit = false;
            if (const auto text = ChapterFileToText(path, searchText))
                hit = TextHasPattern(*text, pattern, caseSensitive);
            else
                hit = RawLinesHavePattern(path, pattern, caseSensitive).value_or(false);
            if (hit)
                sequentialCaptions.append(QFileInfo(path).fileName() + QStringLiteral(" [Díl ]"));
        }
    };

    // The same verdicts without the page: the workers' pace, which the page cannot beat.
    auto runWorkers = [&] {
        std::vector<ChapterSearchRun::Job> jobs;
        for (const QString& path : paths)
            jobs.push_back({path, {}});
        ChapterSearchRun run(std::move(jobs), SearchQuery::make(searchText, wholeWords, caseSensitive),
                             std::max(1, QThread::idealThreadCount()));
        for (int i = 0; i < paths.size(); ++i)
            run.take(size_t(i), 60000);
    };

    const double rssBefore = residentMb();
    evict(paths);
    const PageRun cold = runPage(-1, nullptr);
    evict(paths);
    const double grepCold = timeMs(runGrep);
    runSequential();

    std::vector<double> pageMs, grepMs, seqMs, gaps, workerMs;
    PageRun warm;
    for (int i = 0; i < runs; ++i) {
        warm = runPage(-1, nullptr);
        pageMs.push_back(warm.ms);
        gaps.push_back(warm.longestGapMs);
        grepMs.push_back(timeMs(runGrep));
        seqMs.push_back(timeMs(runSequential));
        workerMs.push_back(timeMs(runWorkers));
    }
    const double rssAfter = residentMb();

    const double p = median(pageMs), g = median(grepMs), s = median(seqMs);
    std::printf("cold: search page %.1f ms, %s %.1f ms, ratio %.2f\n", cold.ms, qUtf8Printable(grepCommand), grepCold,
                grepCold > 0 ? cold.ms / grepCold : 0);
    std::printf("warm: search page %.1f ms, grep %.1f ms, ratio %.2f (target <= 1.00)%s;"
                "  plain sequential rule (one thread, no page) %.1f ms\n",
                p, g, g > 0 ? p / g : 0, g > 0 && p / g <= 1.0 ? "" : "   OVER TARGET", s);
    std::printf("  the workers alone (%d threads, prefilter, no page): %.1f ms\n", QThread::idealThreadCount(),
                median(workerMs));
    std::printf("  page runs: min %.1f  max %.1f ms;  grep runs: min %.1f  max %.1f ms\n",
                *std::min_element(pageMs.begin(), pageMs.end()), *std::max_element(pageMs.begin(), pageMs.end()),
                *std::min_element(grepMs.begin(), grepMs.end()), *std::max_element(grepMs.begin(), grepMs.end()));
    std::printf("  GUI thread's longest gap between message runs: cold %.1f ms, warm median %.1f ms, warm max %.1f ms"
                " (target < 30)\n",
                cold.longestGapMs, median(gaps), *std::max_element(gaps.begin(), gaps.end()));

    // Stop a third of the way through: how long until the page is idle again.
    std::vector<double> stops;
    for (int i = 0; i < 3; ++i) {
        double latency = -1;
        runPage(std::max(1.0, p / 3), &latency);
        if (latency >= 0)
            stops.push_back(latency);
    }
    if (!stops.empty())
        std::printf("  Stop: the search ended %.1f ms after it (max of %d; target <= 50)\n",
                    *std::max_element(stops.begin(), stops.end()), int(stops.size()));
    // Part of every search with hits: the history file, written through the atomic
    // save (flushed to disk), as the page writes it when a search ends.
    std::vector<double> historyMs;
    for (int i = 0; i < 3; ++i)
        historyMs.push_back(timeMs([&] { page.SaveFindHistory(); }));
    std::printf("  of a page run, the history file's write when it ends: %.1f ms\n", median(historyMs));
    std::printf("  memory: resident %.1f MB before the runs, %.1f MB after; peak %.1f MB\n", rssBefore, rssAfter,
                peakMb());

    const bool identical = warm.captions == sequentialCaptions && cold.captions == sequentialCaptions;
    std::printf("  hits %s: page %d, sequential rule %d, grep %d%s\n",
                identical ? "identical to the sequential rule, in catalogue order" : "DIFFER from the sequential rule",
                warm.hits, int(sequentialCaptions.size()), grepHits,
                generatedHits >= 0 ? qPrintable(QStringLiteral(", generated %1\n").arg(generatedHits)) : "\n");
    if (web)
        std::printf("  (grep answers another question on web pages: it sees markup, entities and line breaks)\n");
    MessageService::setInstance(nullptr);
    return identical ? 0 : 1;
}
