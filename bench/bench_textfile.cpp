// bench_textfile: what reading a text file costs per byte, whatever its lines look like.
//
// Writes two 8 MiB files: one of nothing but line feeds (8 Mi empty lines, the worst
// shape for a line reader) and one of Czech text lines of about 60 characters. For each
// it times, with a warm cache (every operation runs once untimed, then the median of
// the timed runs):
//   - tavio::ReadTextLines: read, split, decode from Windows-1250;
//   - tavio::IniFile::load: the same plus the INI rules (update.ini's reader);
//   - tavio::LoadFindHistory: the find history's reader;
//   - wc -l: the standard tool counting the same lines (one process start included);
// and prints, for each, the processor time (user and system, the child's for wc) in
// milliseconds and nanoseconds per byte, and the elapsed time beside it: on a busy
// machine only the processor time compares. The line counts are checked against
// each other.
//
// Run:  build/bench/bench_textfile [runs]   (default 5 timed runs)

#include "Cp1250.h"
#include "FindHistory.h"
#include "IniFile.h"
#include "TextFile.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include <sys/resource.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <vector>

namespace {

constexpr qsizetype FileBytes = 8 * 1024 * 1024;

double median(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    const size_t n = v.size();
    return n == 0 ? 0 : n % 2 ? v[n / 2] : (v[n / 2 - 1] + v[n / 2]) / 2;
}

struct Times
{
    double cpuMs = 0;  // median processor time
    double wallMs = 0; // median elapsed time
};

double cpuMs(int who)
{
    rusage u{};
    getrusage(who, &u);
    const auto ms = [](const timeval& t) { return double(t.tv_sec) * 1e3 + double(t.tv_usec) / 1e3; };
    return ms(u.ru_utime) + ms(u.ru_stime);
}

// who: RUSAGE_SELF, or RUSAGE_CHILDREN for an operation that runs a process.
Times timeMs(const std::function<void()>& f, int runs, int who = RUSAGE_SELF)
{
    f();
    std::vector<double> cpu, wall;
    for (int i = 0; i < runs; ++i) {
        const double c0 = cpuMs(who);
        QElapsedTimer t;
        t.start();
        f();
        wall.push_back(double(t.nsecsElapsed()) / 1e6);
        cpu.push_back(cpuMs(who) - c0);
    }
    return {median(cpu), median(wall)};
}

QByteArray czechLines()
{
    const QByteArray line = tavio::cp1250::fromUnicode(
        u"Příliš žluťoučký kůň úpěl ďábelské ódy; [Sekce] klíč=hodnota 0123\r\n");
    QByteArray out;
    out.reserve(FileBytes + line.size());
    while (out.size() + line.size() <= FileBytes)
        out += line;
    out += QByteArray(FileBytes - out.size(), '\n');
    return out;
}

void run(const QString& label, const QString& path, int runs)
{
    qsizetype lines = 0, iniKeys = 0, history = 0;
    const Times read = timeMs([&] { lines = tavio::ReadTextLines(path)->size(); }, runs);
    const Times ini = timeMs([&] { iniKeys = tavio::IniFile::load(path).has_value() ? 1 : 0; }, runs);
    const Times hist = timeMs([&] { history = tavio::LoadFindHistory(path).size(); }, runs);
    QByteArray wcOut;
    const Times wc = timeMs(
        [&] {
            QProcess p;
            p.start(QStringLiteral("wc"), {QStringLiteral("-l"), path});
            p.waitForFinished(-1);
            wcOut = p.readAllStandardOutput();
        },
        runs, RUSAGE_CHILDREN);
    const qsizetype wcLines = wcOut.trimmed().split(' ').value(0).toLongLong();
    const auto perByte = [](double ms) { return ms * 1e6 / double(FileBytes); };
    const auto line = [&](const char* what, const Times& t) {
        std::printf("  %-16s %8.1f ms  %6.2f ns/byte   (elapsed %8.1f ms)\n", what, t.cpuMs, perByte(t.cpuMs),
                    t.wallMs);
    };
    std::printf("%s (8 MiB, %lld lines; wc -l counts %lld); processor time\n", qPrintable(label),
                qlonglong(lines), qlonglong(wcLines));
    line("ReadTextLines", read);
    line("IniFile::load", ini);
    line("LoadFindHistory", hist);
    line("wc -l", wc);
    if (lines != history || iniKeys != 1 || (lines != wcLines && label.startsWith(u"line feeds")))
        std::printf("  LINE COUNTS DISAGREE\n");
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 5;
    QTemporaryDir dir;
    const QString feeds = dir.filePath(QStringLiteral("feeds.ini"));
    const QString czech = dir.filePath(QStringLiteral("czech.ini"));
    tavio::WriteFileBytes(feeds, QByteArray(FileBytes, '\n'));
    tavio::WriteFileBytes(czech, czechLines());
    run(QStringLiteral("line feeds only"), feeds, runs);
    run(QStringLiteral("Czech text lines"), czech, runs);
    return 0;
}
