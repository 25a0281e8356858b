// bench_startup: how long the program takes from start to its main window on screen,
// without the fixed pauses that let the splash texts be read.
//
// Everything runs in a temporary world: HOME and the XDG configuration, data and
// runtime folders point into a temporary folder, the settings store is a file there,
// and the program folder is a temporary copy of the repository's data/ folder (the
// sample chapters in Htm/; when there are none, 25 small chapters are generated and
// the output says so).
//
// In this process (the toolkit is started once):
//   - the program: construct the splash, the main window, run FormCreate(splash)
//     with fixedWaits off, show the window and wait until it is exposed; the first
//     run (one-time costs: resources, fonts, code page, first window) is reported
//     apart from the median of the following runs; the window is destroyed between
//     runs, the settings stay (later runs are a returning user's start);
//   - the baseline: a bare QMainWindow shown and exposed, same wait;
//   - the program with a reading-state file of 2,000 chapters against none (target: under
//     20 ms more), and loading that file alone (target under 5 ms) against reading its bytes;
//   - once, for reference, the program with its fixed pauses on, as shipped.
// As whole processes (this program started again in a child mode), from the launch to
// the child's line saying that its window is exposed:
//   - the program's start-up as above, QApplication and library loading included;
//   - the baseline: a process with only QApplication and a bare QMainWindow.
// Message boxes at start-up are answered at once and listed (none are expected).
//
// Run:  QT_QPA_PLATFORM=offscreen build-bench/bench/bench_startup [runs]
//       DISPLAY=:97 build-bench/bench/bench_startup [runs]      (e.g. under Xvfb :97)
//       (default 5 runs after the first; offscreen is chosen when no display is set)

#include "FileLayout.h"
#include "MessageService.h"
#include "ReadingState.h"
#include "SettingsStore.h"
#include "TfrmAll.h"
#include "about/TfrmSplash.h"
#include "library/CataloguePage.h"
#include "ChapterTree.h"
#include "Cp1250.h"

#include <QApplication>
#include <QDir>
#include <QDirIterator>
#include <QElapsedTimer>
#include <QFile>
#include <QLoggingCategory>
#include <QMainWindow>
#include <QProcess>
#include <QTemporaryDir>
#include <QTimer>
#include <QWindow>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string_view>
#include <vector>

#include <unistd.h>

#ifndef TAVIO_SOURCE_DIR
#error "TAVIO_SOURCE_DIR must name the source tree"
#endif

namespace {

constexpr double TargetMs = 1000;
constexpr double TargetRatio = 2.0; // the whole process against a bare Qt Widgets program
QStringList* startupSteps = nullptr; // collects the program's own step timings while set
constexpr int ExposeTimeoutMs = 20000;

struct Paths
{
    QString programFolder;
    QString appDataFolder;
    QString iniFile;
    QString lockFolder;
};

double median(std::vector<double> v)
{
    if (v.empty())
        return 0;
    std::sort(v.begin(), v.end());
    const size_t n = v.size();
    return n % 2 ? v[n / 2] : (v[n / 2 - 1] + v[n / 2]) / 2;
}

double ms(const QElapsedTimer& t)
{
    return double(t.nsecsElapsed()) / 1e6;
}

// Answers every message box at once and remembers it: a box at start-up would stop
// the program until the user answers, which is a finding of its own.
class RecordingMessages final : public tavio::MessageService
{
public:
    tavio::MsgResult show(QWidget*, const QString& text, tavio::MsgIcon, tavio::MsgButtons buttons,
                          const QString&) override
    {
        messages << text;
        return buttons == tavio::MsgButtons::Ok ? tavio::MsgResult::Ok : tavio::MsgResult::No;
    }
    QStringList messages;
};

// Lets events run until the window is on screen; false after the timeout.
bool waitExposed(QWidget* w)
{
    QWindow* win = w->windowHandle();
    if (!win)
        return false;
    QElapsedTimer t;
    t.start();
    QTimer wake; // wakes the blocking event wait now and then to look at the clock
    wake.start(20);
    while (!win->isExposed()) {
        if (t.elapsed() > ExposeTimeoutMs)
            return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents);
    }
    return true;
}

void settle()
{
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QCoreApplication::processEvents();
}

struct ProgramRun
{
    double ms = 0;
    bool exposed = false;
    bool secondInstance = false;
    int nodes = 0;
};

// steps: when given, the run's breakdown (the program's own step timings) goes there.
ProgramRun runProgram(const Paths& paths, bool fixedWaits = false, QStringList* steps = nullptr)
{
    ProgramRun r;
    QElapsedTimer t;
    t.start();
    auto* splash = new tavio::TfrmSplash; // FormCreate destroys it
    const double splashMs = ms(t);
    tavio::SettingsStore store(paths.iniFile);
    const tavio::Environment env{tavio::FileLayout(paths.programFolder, paths.appDataFolder), &store,
                                 paths.lockFolder, fixedWaits};
    auto frm = std::make_unique<tavio::TfrmAll>(env);
    const double windowMs = ms(t);
    if (steps) {
        steps->append(QStringLiteral("splash window %1 ms").arg(splashMs, 0, 'f', 1));
        steps->append(
            QStringLiteral("main window built (pages, menus, controls) %1 ms").arg(windowMs - splashMs, 0, 'f', 1));
    }
    startupSteps = steps;
    frm->FormCreate(splash);
    startupSteps = nullptr;
    r.secondInstance = frm->SecondInstance();
    const double beforeShow = ms(t);
    frm->show();
    r.exposed = waitExposed(frm.get());
    r.ms = ms(t);
    if (steps)
        steps->append(QStringLiteral("shown until exposed %1 ms").arg(r.ms - beforeShow, 0, 'f', 1));
    r.nodes = frm->catalogue()->tree().count();
    frm.reset(); // the saves at the end run here, outside the timing
    settle();
    return r;
}

double runBareWindow(bool* exposed)
{
    QElapsedTimer t;
    t.start();
    auto w = std::make_unique<QMainWindow>();
    w->setWindowTitle(QStringLiteral("Tavio"));
    w->resize(673, 457);
    w->show();
    *exposed = waitExposed(w.get());
    const double result = ms(t);
    w.reset();
    settle();
    return result;
}

// A reader's state after a long course: 2,000 chapters, half of them read, each with a
// place, a full history and the dark theme.
QByteArray readingStateBytes(int chapters)
{
    tavio::ReadingState s;
    for (int i = 0; i < chapters; ++i) {
        const QString name = QStringLiteral("%1-%2.htm").arg(i / 10, 4, 10, QLatin1Char('0')).arg(i % 10, 2, 10, QLatin1Char('0'));
        s.setRead(name, i % 2 == 0);
        s.setPosition(name, double(i % 100) / 100.0);
        if (i % 10 == 0)
            s.visit({name, i % 20 == 0 ? QStringLiteral("ukol") : QString()});
    }
    s.setTheme(tavio::ReadingTheme::Dark);
    return s.toBytes();
}

bool writeBytes(const QString& path, const QByteArray& bytes)
{
    QFile f(path);
    return f.open(QIODevice::WriteOnly) && f.write(bytes) == bytes.size();
}

bool copyTree(const QString& from, const QString& to)
{
    QDir().mkpath(to);
    QDirIterator it(from, QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        it.next();
        const QString target = to + QLatin1Char('/') + QDir(from).relativeFilePath(it.filePath());
        if (it.fileInfo().isDir()) {
            if (!QDir().mkpath(target))
                return false;
        } else if (!QFile::copy(it.filePath(), target)) {
            return false;
        }
    }
    return true;
}

// Fallback chapters: the layout and headings of the series, small bodies.
bool generateChapters(const QString& htm, int count)
{
    QDir().mkpath(htm);
    for (int i = 0; i < count; ++i) {
        const int chapter = i < 15 ? i + 1 : 16 + (i - 15) / 2;
        const QString number = QStringLiteral("%1").arg(chapter, 4, 10, QLatin1Char('0'));
        const QString base = i < 15 ? number : number + QStringLiteral("-%1").arg(1 + (i - 15) % 2, 2, 10, QLatin1Char('0'));
        const QString text = QStringLiteral("<HTML>\r\n<HEAD>\r\n<META http-equiv=\"Content-Type\" content=\"text/html; "
                                            "charset=windows-1250\">\r\n<TITLE>Lekce %1</TITLE>\r\n</HEAD>\r\n<BODY>\r\n"
                                            "<H2>Lekce %1 - Příklady a cvičení</H2>\r\n<P>Dnes si ukážeme, jak se pracuje "
                                            "s řetězci, soubory a událostmi.</P>\r\n<PRE>\r\nbegin\r\n  ShowMessage('Ahoj');"
                                            "\r\nend;\r\n</PRE>\r\n</BODY>\r\n</HTML>\r\n")
                                 .arg(chapter);
        QFile f(htm + base + QStringLiteral(".htm"));
        if (!f.open(QIODevice::WriteOnly) || f.write(tavio::cp1250::fromUnicode(text)) < 0)
            return false;
    }
    return true;
}

int countChapters(const QString& htm)
{
    return int(QDir(htm).entryList({QStringLiteral("*.htm")}, QDir::Files).size());
}

// The offscreen platform cannot raise windows and says so for every splash; the
// rest of the toolkit's messages go through.
QtMessageHandler previousHandler = nullptr;
void messageFilter(QtMsgType type, const QMessageLogContext& context, const QString& text)
{
    if (text == QLatin1String("This plugin does not support raise()"))
        return;
    if (context.category && std::string_view(context.category) == "tavio.startup") {
        if (startupSteps)
            startupSteps->append(text);
        return;
    }
    if (previousHandler)
        previousHandler(type, context, text);
}

void prepareToolkit()
{
    previousHandler = qInstallMessageHandler(messageFilter);
    // As the program does: the web engine's sandbox cannot start as root.
    if (::geteuid() == 0)
        qputenv("QTWEBENGINE_DISABLE_SANDBOX", "1");
    QApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
}

// Child mode: one start-up in a fresh process; prints "exposed <ms>" when the window
// is on screen (ms counted from the start of main), then ends.
int childMain(int argc, char* argv[])
{
    QElapsedTimer sinceMain;
    sinceMain.start();
    const bool bare = std::string_view(argv[2]) == "bare";
    prepareToolkit();
    QApplication app(argc, argv);
    const double appMs = ms(sinceMain);
    bool exposed = false;
    if (bare) {
        runBareWindow(&exposed);
    } else {
        RecordingMessages messages;
        tavio::MessageService::setInstance(&messages);
        const Paths paths{QString::fromLocal8Bit(argv[3]), QString::fromLocal8Bit(argv[4]),
                          QString::fromLocal8Bit(argv[5]), QString::fromLocal8Bit(argv[6])};
        // The window stays until the line is out: its saves are not start-up time.
        QElapsedTimer t;
        t.start();
        auto* splash = new tavio::TfrmSplash;
        const double splashMs = ms(t);
        tavio::SettingsStore store(paths.iniFile);
        const tavio::Environment env{tavio::FileLayout(paths.programFolder, paths.appDataFolder), &store,
                                     paths.lockFolder, false};
        tavio::TfrmAll frm(env);
        const double windowMs = ms(t);
        frm.FormCreate(splash);
        const double createMs = ms(t);
        frm.show();
        exposed = waitExposed(&frm);
        const double shownMs = ms(t);
        std::printf("exposed %.1f app %.1f messages %d splash %.1f window %.1f formcreate %.1f show %.1f\n",
                    ms(sinceMain), appMs, int(messages.messages.size()), splashMs, windowMs - splashMs,
                    createMs - windowMs, shownMs - createMs);
        std::fflush(stdout);
        tavio::MessageService::setInstance(nullptr);
        return exposed ? 0 : 1;
    }
    std::printf("exposed %.1f app %.1f messages 0\n", ms(sinceMain), appMs);
    std::fflush(stdout);
    return exposed ? 0 : 1;
}

struct ChildRun
{
    double wallMs = 0;  // launch to the "exposed" line
    double mainMs = 0;  // the child's own count from main
    double appMs = 0;   // of which QApplication
    // The program's steps after QApplication: the splash window, the main window's
    // construction (its pages and controls), FormCreate, showing until exposed.
    double splashMs = 0, windowMs = 0, formCreateMs = 0, showMs = 0;
    int messages = 0;
    bool ok = false;
};

ChildRun runChild(const QStringList& args)
{
    ChildRun r;
    QProcess p;
    p.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    QElapsedTimer t;
    t.start();
    p.start(QCoreApplication::applicationFilePath(), args);
    QByteArray out;
    while (!out.contains('\n') && p.waitForReadyRead(ExposeTimeoutMs))
        out += p.readAllStandardOutput();
    r.wallMs = ms(t);
    p.waitForFinished(ExposeTimeoutMs);
    out += p.readAllStandardOutput();
    const QList<QByteArray> f = out.trimmed().split(' ');
    if (f.size() >= 6 && f[0] == "exposed") {
        r.mainMs = f[1].toDouble();
        r.appMs = f[3].toDouble();
        r.messages = f[5].toInt();
        if (f.size() >= 14) {
            r.splashMs = f[7].toDouble();
            r.windowMs = f[9].toDouble();
            r.formCreateMs = f[11].toDouble();
            r.showMs = f[13].toDouble();
        }
        r.ok = p.exitStatus() == QProcess::NormalExit && p.exitCode() == 0;
    }
    return r;
}

const char* verdict(double value)
{
    return value < TargetMs ? "" : "   OVER TARGET";
}

} // namespace

int main(int argc, char* argv[])
{
    if (argc >= 3 && std::string_view(argv[1]) == "--child")
        return childMain(argc, argv);

    const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 5;

    // The temporary world, set up before the toolkit reads any of it.
    QTemporaryDir tmp;
    if (!tmp.isValid()) {
        std::fprintf(stderr, "cannot create a temporary folder\n");
        return 2;
    }
    const QString root = tmp.path();
    const QString home = root + QStringLiteral("/home");
    const QString runtime = root + QStringLiteral("/runtime");
    for (const QString& d : QStringList{home + QStringLiteral("/.config"), home + QStringLiteral("/.local/share"), runtime,
                             root + QStringLiteral("/lock")})
        QDir().mkpath(d);
    QFile::setPermissions(runtime, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    qputenv("HOME", QFile::encodeName(home));
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(home + QStringLiteral("/.config")));
    qputenv("XDG_DATA_HOME", QFile::encodeName(home + QStringLiteral("/.local/share")));
    qputenv("XDG_RUNTIME_DIR", QFile::encodeName(runtime));
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") && qEnvironmentVariableIsEmpty("DISPLAY")
        && qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY"))
        qputenv("QT_QPA_PLATFORM", "offscreen");

    const Paths paths{root + QStringLiteral("/program/"), home + QStringLiteral("/.local/share/"),
                      home + QStringLiteral("/.config/bench-settings.ini"), root + QStringLiteral("/lock")};
    const QString sourceData = QStringLiteral(TAVIO_SOURCE_DIR "/data");
    if (!copyTree(sourceData, paths.programFolder)) {
        std::fprintf(stderr, "cannot copy %s\n", qUtf8Printable(sourceData));
        return 2;
    }
    const QString htm = paths.programFolder + QStringLiteral("Htm/");
    int chapters = countChapters(htm);
    const bool generated = chapters == 0;
    if (generated) {
        if (!generateChapters(htm, 25)) {
            std::fprintf(stderr, "cannot write the fallback chapters\n");
            return 2;
        }
        chapters = countChapters(htm);
    }

    prepareToolkit();
    QApplication app(argc, argv);
    RecordingMessages messages;
    tavio::MessageService::setInstance(&messages);

    std::printf("Start-up benchmark on the '%s' platform, %d runs after the first, median reported\n",
                qUtf8Printable(QGuiApplication::platformName()), runs);
    if (generated)
        std::printf("  NOTE: %s holds no chapter files; %d generated small chapters are used instead\n",
                    qUtf8Printable(sourceData + QStringLiteral("/Htm")), chapters);
    else
        std::printf("  chapters: %d sample chapter files copied from %s\n", chapters,
                    qUtf8Printable(sourceData + QStringLiteral("/Htm")));

    bool allExposed = true;
    // In this process: the program first, while its one-time costs are still to pay.
    QLoggingCategory::setFilterRules(QStringLiteral("tavio.startup.debug=true"));
    QStringList firstSteps;
    const ProgramRun first = runProgram(paths, false, &firstSteps);
    allExposed = allExposed && first.exposed;
    std::vector<double> programMs, bareMs;
    int nodes = first.nodes;
    bool secondInstance = first.secondInstance;
    for (int i = 0; i < runs; ++i) {
        const ProgramRun r = runProgram(paths);
        programMs.push_back(r.ms);
        nodes = r.nodes;
        secondInstance = secondInstance || r.secondInstance;
        allExposed = allExposed && r.exposed;
        bool exposed = false;
        bareMs.push_back(runBareWindow(&exposed));
        allExposed = allExposed && exposed;
    }
    const double p = median(programMs), b = median(bareMs);
    std::printf("In-process start-up to main window shown (fixed waits off), target < %.0f ms:\n", TargetMs);
    std::printf("  first run:        %.1f ms%s   (first start for this user, one-time costs included)\n", first.ms,
                verdict(first.ms));
    std::printf("  following runs:   %.1f ms%s   (median; min %.1f, max %.1f)\n", p, verdict(p),
                *std::min_element(programMs.begin(), programMs.end()),
                *std::max_element(programMs.begin(), programMs.end()));
    std::printf("  bare QMainWindow shown: %.1f ms   ratio %.1f\n", b, b > 0 ? p / b : 0);
    std::printf("  the first run step by step (FormCreate's steps by their numbers):\n");
    for (const QString& step : firstSteps)
        std::printf("    %s\n", qUtf8Printable(step));
    std::printf("  catalogue nodes after start-up: %d\n", nodes);
    // The reading state: the same start with a state file of 2,000 chapters (dark theme,
    // full history) against none; the start prunes chapters the folder lacks, so the file
    // is written afresh before each run.
    {
        const QString statePath = tavio::FileLayout(paths.programFolder, paths.appDataFolder).readingStatePath();
        const QByteArray bytes = readingStateBytes(2000);
        std::vector<double> withState, withoutState;
        for (int i = 0; i < runs; ++i) {
            QFile::remove(statePath);
            withoutState.push_back(runProgram(paths).ms);
            if (!writeBytes(statePath, bytes))
                std::fprintf(stderr, "cannot write the reading state\n");
            withState.push_back(runProgram(paths).ms);
        }
        QFile::remove(statePath);
        const double w = median(withState), wo = median(withoutState);
        std::printf("  with a reading state of 2,000 chapters: %.1f ms, without one: %.1f ms, difference %+.1f ms"
                    " (target < +20 ms)\n",
                    w, wo, w - wo);
        // Loading the file alone, against reading its bytes.
        if (!writeBytes(statePath, bytes))
            std::fprintf(stderr, "cannot write the reading state\n");
        std::vector<double> loads, reads;
        for (int i = 0; i < 21; ++i) {
            QElapsedTimer t;
            t.start();
            const tavio::ReadingState::Loaded loaded = tavio::ReadingState::load(statePath);
            const double l = ms(t);
            if (loaded.status != tavio::ReadingState::LoadStatus::Loaded)
                std::fprintf(stderr, "the reading state did not load\n");
            t.restart();
            QFile f(statePath);
            if (f.open(QIODevice::ReadOnly))
                f.readAll();
            const double r = ms(t);
            if (i > 0) {
                loads.push_back(l);
                reads.push_back(r);
            }
        }
        QFile::remove(statePath);
        std::printf("  reading-state file of 2,000 chapters (%lld bytes) loaded: %.2f ms (median of 20, target < 5 ms)\n"
                    "    baseline: QFile read of its bytes: %.3f ms   ratio %.0f\n",
                    qint64(bytes.size()), median(loads), median(reads),
                    median(reads) > 0 ? median(loads) / median(reads) : 0.0);
    }
    // For reference, once: the start-up as shipped, with its pauses for the splash texts.
    const ProgramRun shipped = runProgram(paths, true);
    allExposed = allExposed && shipped.exposed;
    std::printf("  with the fixed splash pauses on (as shipped, once): %.0f ms, of which the pauses 1250 ms\n",
                shipped.ms);

    // Whole processes: library loading and QApplication included.
    const QString self = QCoreApplication::applicationFilePath();
    const QStringList programArgs = {QStringLiteral("--child"), QStringLiteral("program"), paths.programFolder,
                                     paths.appDataFolder, paths.iniFile, paths.lockFolder};
    const QStringList bareArgs = {QStringLiteral("--child"), QStringLiteral("bare")};
    runChild(bareArgs); // warms the file cache for both
    runChild(programArgs);
    std::vector<ChildRun> programProc, bareProc;
    for (int i = 0; i < runs; ++i) {
        programProc.push_back(runChild(programArgs));
        bareProc.push_back(runChild(bareArgs));
    }
    auto med = [](const std::vector<ChildRun>& v, double ChildRun::*field) {
        std::vector<double> x;
        for (const ChildRun& r : v)
            x.push_back(r.*field);
        return median(x);
    };
    int childMessages = 0;
    for (const ChildRun& r : programProc) {
        allExposed = allExposed && r.ok;
        childMessages += r.messages;
    }
    for (const ChildRun& r : bareProc)
        allExposed = allExposed && r.ok;
    const double pw = med(programProc, &ChildRun::wallMs), bw = med(bareProc, &ChildRun::wallMs);
    std::printf("Whole process, launch to main window shown (median of %d), target < %.0f ms:\n", runs, TargetMs);
    std::printf("  program:              %.0f ms%s   (in main %.0f ms, of which QApplication %.0f ms)\n", pw, verdict(pw),
                med(programProc, &ChildRun::mainMs), med(programProc, &ChildRun::appMs));
    const double ratio = bw > 0 ? pw / bw : 0;
    std::printf("  bare Qt Widgets app:  %.0f ms   (in main %.0f ms, of which QApplication %.0f ms)   ratio %.1f%s"
                "   (target: at most %.0f times the bare program)\n",
                bw, med(bareProc, &ChildRun::mainMs), med(bareProc, &ChildRun::appMs), ratio,
                ratio > TargetRatio ? "   OVER TARGET" : "", TargetRatio);
    const double beforeMain = pw - med(programProc, &ChildRun::mainMs);
    std::printf("  where the program's time goes (medians, ms): before main (loading the program and its libraries) "
                "%.0f, QApplication %.0f, splash window %.0f, main window built %.0f, FormCreate %.0f, shown %.0f\n",
                beforeMain, med(programProc, &ChildRun::appMs), med(programProc, &ChildRun::splashMs),
                med(programProc, &ChildRun::windowMs), med(programProc, &ChildRun::formCreateMs),
                med(programProc, &ChildRun::showMs));

    tavio::MessageService::setInstance(nullptr);
    if (!messages.messages.isEmpty() || childMessages) {
        std::printf("  WARNING: message boxes appeared during start-up (%d in the child processes):\n", childMessages);
        for (const QString& m : messages.messages)
            std::printf("    %s\n", qUtf8Printable(m));
    }
    if (secondInstance)
        std::printf("  WARNING: a run took itself for a second copy of the program\n");
    if (!allExposed)
        std::printf("  WARNING: a window was not exposed within %d ms or a child failed\n", ExposeTimeoutMs);
    return allExposed && !secondInstance ? 0 : 1;
}
