// bench_update: how long an update of new chapters takes, and whether the window
// stays alive while it runs.
//
// Generates a series server folder with update.ini, files.ini and 10 new chapters
// of about 12 kB with 5 pictures of about 20 kB each (60 files), and serves it on
// 127.0.0.1 with python3's standard static server (HTTP/1.0, Content-Length). Then
// it alternates:
//   - the update window's real protocol: "Aktualizuj" pressed on a TfrmUpdate whose
//     catalogue counts no chapter, until the run has finished (update.ini, files.ini,
//     the chapters and their pictures one after another on two alternating
//     components, the user information beside them);
//   - one curl process fetching the same 63 files (`curl --http1.0 -s -o f URL ...`):
//     update.ini, files.ini, user.nfo and the 60;
// and prints the median of each and their ratio. During the update a 10 ms timer on
// the GUI thread records the longest gap between its ticks, the log list's repaints
// are counted, and the stop button is checked to be usable after the first chunk.
//
// Run:  build/bench/bench_update [runs]   (default 5 timed runs; offscreen is chosen
//       when unset; needs python3 and curl). On a busy machine the figures swing
//       widely; `chrt -f 50 build/bench/bench_update` keeps other work off the run.

#include "ChapterTree.h"
#include "FileLayout.h"
#include "MessageService.h"
#include "THTTPGet.h"
#include "update/TfrmUpdate.h"
#include "UpdateHost.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QEvent>
#include <QFile>
#include <QListWidget>
#include <QProcess>
#include <QPushButton>
#include <QStandardPaths>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTemporaryDir>
#include <QTimer>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <random>
#include <vector>

using namespace tavio;

namespace {

constexpr int Chapters = 10;
constexpr int Pictures = 5;
constexpr int ChapterBytes = 12 * 1024;
constexpr int PictureBytes = 20 * 1024;

// Every message box is answered at once, as its default would be.
class SilentMessages final : public MessageService
{
public:
    MsgResult show(QWidget*, const QString&, MsgIcon, MsgButtons buttons, const QString&) override
    {
        ++shown;
        return buttons == MsgButtons::Ok ? MsgResult::Ok : MsgResult::No;
    }
    int shown = 0;
};

// Counts the paint events of a widget.
class PaintCounter final : public QObject
{
public:
    int paints = 0;

protected:
    bool eventFilter(QObject*, QEvent* e) override
    {
        if (e->type() == QEvent::Paint)
            ++paints;
        return false;
    }
};

double median(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    const size_t n = v.size();
    return n % 2 ? v[n / 2] : (v[n / 2 - 1] + v[n / 2]) / 2;
}

QByteArray filler(int size, std::mt19937& rng)
{
    QByteArray b(size, Qt::Uninitialized);
    for (char& c : b)
        c = char('a' + rng() % 26);
    return b;
}

bool write(const QString& path, const QByteArray& bytes)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile f(path);
    return f.open(QIODevice::WriteOnly) && f.write(bytes) == bytes.size();
}

quint16 freePort()
{
    QTcpServer s;
    s.listen(QHostAddress::LocalHost);
    return s.serverPort();
}

struct Run
{
    double ms = 0;
    double longestGapMs = 0;
    int ticks = 0;
    int paints = 0;
    bool stopUsable = false;
    int files = 0;
};

} // namespace

int main(int argc, char* argv[])
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") && qEnvironmentVariableIsEmpty("DISPLAY"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    for (const char* v : {"http_proxy", "HTTP_PROXY", "all_proxy", "ALL_PROXY"})
        qunsetenv(v);
    QApplication app(argc, argv);
    const int runs = argc > 1 ? std::max(1, atoi(argv[1])) : 5;
    const QString python = QStandardPaths::findExecutable(QStringLiteral("python3"));
    const QString curl = QStandardPaths::findExecutable(QStringLiteral("curl"));
    if (python.isEmpty() || curl.isEmpty()) {
        std::fprintf(stderr, "bench_update needs python3 and curl\n");
        return 1;
    }

    QTemporaryDir tmp;
    const QString served = tmp.filePath(QStringLiteral("server/"));
    const QString prog = tmp.filePath(QStringLiteral("prog/"));
    const QString chapters = prog + QStringLiteral("Htm/");
    QDir().mkpath(chapters);

    // The server: 10 chapters, each with 5 pictures in its folder.
    std::mt19937 rng(42);
    QByteArray list;
    QStringList paths; // the 60 files, as the server names them
    for (int c = 1; c <= Chapters; ++c) {
        const QString name = QStringLiteral("%1").arg(200 + c, 4, 10, QLatin1Char('0'));
        list += "[" + QByteArray::number(c) + "]\r\nfile=" + name.toLatin1() + ".htm\r\ndir=" + name.toLatin1()
            + "_soubory\\\r\n";
        paths << QStringLiteral("htm/") + name;
        write(served + paths.last(), filler(ChapterBytes, rng));
        for (int p = 1; p <= Pictures; ++p) {
            const QString pic = QStringLiteral("obr%1.png").arg(p);
            list += "file" + QByteArray::number(p) + "=" + pic.toLatin1() + "\r\n";
            paths << QStringLiteral("htm/") + name + QStringLiteral("_soubory/") + pic;
            write(served + paths.last(), filler(PictureBytes, rng));
        }
    }
    write(served + QStringLiteral("files.ini"), list);
    write(served + QStringLiteral("update.ini"),
          "[last_version]\r\nmajor=1\r\nminor=0\r\nrelease=12\r\nbuild=550\r\n[last_file_index]\r\nvalue="
              + QByteArray::number(Chapters) + "\r\n");
    write(served + QStringLiteral("user.nfo"), "Bench\r\n");

    const quint16 port = freePort();
    QProcess server;
    server.setProcessChannelMode(QProcess::ForwardedOutputChannel);
    server.setStandardErrorFile(QProcess::nullDevice());
    server.start(python, {QStringLiteral("-m"), QStringLiteral("http.server"), QStringLiteral("--bind"),
                          QStringLiteral("127.0.0.1"), QString::number(port), QStringLiteral("--directory"), served});
    if (!server.waitForStarted()) {
        std::fprintf(stderr, "cannot start python3 -m http.server\n");
        return 1;
    }
    QElapsedTimer waitServer;
    waitServer.start();
    for (;;) {
        QTcpSocket s;
        s.connectToHost(QHostAddress::LocalHost, port);
        if (s.waitForConnected(100))
            break;
        if (waitServer.hasExpired(10000)) {
            std::fprintf(stderr, "the server does not answer\n");
            return 1;
        }
    }
    const QString base = QStringLiteral("127.0.0.1:%1/").arg(port);

    SilentMessages messages;
    MessageService::setInstance(&messages);
    ChapterTree catalogue; // one node: no chapter is counted
    catalogue.addChild(nullptr, QStringLiteral("0001.htm [ x ]"), 0);

    UpdateHost host;
    host.layout = FileLayout(prog, tmp.filePath(QStringLiteral("data")));
    host.programFile = prog + QStringLiteral("tavio");
    host.addresses = {base + QStringLiteral("update.ini"), base + QStringLiteral("files.ini"),
                      base + QStringLiteral("tavio"),      base + QStringLiteral("whats.new"),
                      base + QStringLiteral("user.nfo"),   base + QStringLiteral("htm/"),
                      base + QStringLiteral("help.zip")};
    host.chapterFolder = [&] { return chapters; };
    host.catalogueTree = [&]() -> const ChapterTree* { return &catalogue; };

    auto updateOnce = [&]() {
        QDir(chapters).removeRecursively();
        QDir().mkpath(chapters);
        Run r;
        TfrmUpdate w(host);
        w.show();
        PaintCounter paints;
        w.lbProcess()->viewport()->installEventFilter(&paints);
        QElapsedTimer clock;
        qint64 lastTick = 0;
        QTimer tick;
        tick.setTimerType(Qt::PreciseTimer);
        QObject::connect(&tick, &QTimer::timeout, [&] {
            const qint64 now = clock.nsecsElapsed();
            r.longestGapMs = std::max(r.longestGapMs, double(now - lastTick) / 1e6);
            lastTick = now;
            ++r.ticks;
            if (w.btnAbort()->isEnabled())
                r.stopUsable = true;
        });
        QEventLoop loop;
        QTimer poll;
        QObject::connect(&poll, &QTimer::timeout, [&] {
            if (w.UpdateIdle() && !w.htpgIniFile()->isBusy() && !w.htpgIniFiles()->isBusy()
                && !w.htpgFiles()->isBusy() && !w.htpgSubFiles()->isBusy() && !w.htpgUserInfo()->isBusy())
                loop.quit();
        });
        QCoreApplication::processEvents();
        clock.start();
        tick.start(10);
        poll.start(1);
        w.btnUpdateClick();
        loop.exec();
        r.ms = double(clock.nsecsElapsed()) / 1e6;
        tick.stop();
        r.paints = paints.paints;
        r.files = int(QDir(chapters).entryList(QDir::Files).size());
        for (const QString& d : QDir(chapters).entryList(QDir::Dirs | QDir::NoDotAndDotDot))
            r.files += int(QDir(chapters + d).entryList(QDir::Files).size());
        return r;
    };

    // The download worker alone: the same 60 files one after another, each started
    // from the previous one's completion, with an empty progress handler.
    const QString plainDir = tmp.filePath(QStringLiteral("plain/"));
    auto workerOnce = [&]() {
        QDir(plainDir).removeRecursively();
        QDir().mkpath(plainDir);
        THTTPGet a, b;
        int next = 0;
        QEventLoop loop;
        std::function<void(THTTPGet*)> start = [&](THTTPGet* c) {
            if (next == paths.size()) {
                loop.quit();
                return;
            }
            c->setURL(base + paths[next]);
            c->setFileName(plainDir + QString::number(next));
            ++next;
            c->FetchToFile();
        };
        for (THTTPGet* c : {&a, &b}) {
            c->setBinaryData(true);
            QObject::connect(c, &THTTPGet::OnProgress, c, [](QObject*, int, int) {});
            QObject::connect(c, &THTTPGet::OnDoneFile, c, [&, c](QObject*, const QString&, int) {
                start(c == &a ? &b : &a);
            });
            QObject::connect(c, &THTTPGet::OnError, c, [&](QObject*) { loop.quit(); });
        }
        QElapsedTimer t;
        t.start();
        start(&a);
        loop.exec();
        return next == paths.size() ? double(t.nsecsElapsed()) / 1e6 : -1.0;
    };

    const QString curlDir = tmp.filePath(QStringLiteral("curl/"));
    auto curlOnce = [&]() {
        QDir(curlDir).removeRecursively();
        QDir().mkpath(curlDir);
        // The same 63 transfers as the update: its three descriptor files, then the 60.
        QStringList args{QStringLiteral("--http1.0"), QStringLiteral("-s")};
        const QStringList all = QStringList{QStringLiteral("update.ini"), QStringLiteral("files.ini"),
                                            QStringLiteral("user.nfo")}
            + paths;
        for (int i = 0; i < all.size(); ++i)
            args << QStringLiteral("-o") << curlDir + QString::number(i) << QStringLiteral("http://") + base + all[i];
        QElapsedTimer t;
        t.start();
        const int rc = QProcess::execute(curl, args);
        const double ms = double(t.nsecsElapsed()) / 1e6;
        return rc == 0 ? ms : -1.0;
    };

    // Warm up both (server, page cache, the program's first window).
    const Run warm = updateOnce();
    curlOnce();
    workerOnce();
    std::vector<double> updateMs, curlMs, workerMs, gaps;
    int paintsTotal = 0, ticksTotal = 0;
    bool stopAlways = warm.stopUsable;
    for (int i = 0; i < runs; ++i) {
        const Run r = updateOnce();
        updateMs.push_back(r.ms);
        gaps.push_back(r.longestGapMs);
        paintsTotal += r.paints;
        ticksTotal += r.ticks;
        stopAlways = stopAlways && r.stopUsable;
        if (r.files != Chapters * (1 + Pictures))
            std::printf("run %d: %d files arrived, %d expected\n", i + 1, r.files, Chapters * (1 + Pictures));
        curlMs.push_back(curlOnce());
        workerMs.push_back(workerOnce());
    }
    server.terminate();
    server.waitForFinished(3000);
    MessageService::setInstance(nullptr);

    const double u = median(updateMs);
    const double c = median(curlMs);
    std::printf("update of %d chapters with %d pictures each (%d files, %.0f kB) from 127.0.0.1, %d runs\n", Chapters,
                Pictures, Chapters * (1 + Pictures), (Chapters * (ChapterBytes + Pictures * PictureBytes)) / 1024.0,
                runs);
    std::printf("  Tavio update (update.ini, files.ini, user.nfo, 60)  median %8.1f ms\n", u);
    const double w = median(workerMs);
    std::printf("  curl --http1.0, the same 63 files, one process       median %8.1f ms\n", c);
    std::printf("  download worker alone, the 60 files in a chain       median %8.1f ms\n", w);
    std::printf("  ratio update / curl                                  %8.2f\n", c > 0 ? u / c : 0.0);
    std::printf("  ratio worker alone / curl                            %8.2f\n", c > 0 ? w / c : 0.0);
    std::printf("  GUI thread during the update: longest gap between 10 ms ticks %.1f ms (worst run), "
                "median of runs %.1f ms, %d ticks, %d repaints of the log\n",
                *std::max_element(gaps.begin(), gaps.end()), median(gaps), ticksTotal, paintsTotal);
    std::printf("  stop button usable during every run: %s\n", stopAlways ? "yes" : "no");
    return 0;
}
