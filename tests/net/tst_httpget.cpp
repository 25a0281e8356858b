#include "HttpTestServer.h"
#include "THTTPGet.h"
#include "TestFiles.h"

#include <QElapsedTimer>
#include <QScopeGuard>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <memory>

using namespace tavio;
using testhttp::HttpTestServer;
using testhttp::Reply;

Q_DECLARE_METATYPE(testhttp::Reply)

namespace {

// What a component reported, in order: "file:<name>:<size>", "string:<text>", "error".
struct Recorder
{
    QStringList events;
    QList<QPair<int, int>> progress;
    QList<QObject*> progressSenders;

    explicit Recorder(THTTPGet& get, bool withProgress = true)
    {
        QObject::connect(&get, &THTTPGet::OnDoneFile, &get, [this](QObject*, const QString& name, int size) {
            events.append(QStringLiteral("file:%1:%2").arg(name).arg(size));
        });
        QObject::connect(&get, &THTTPGet::OnDoneString, &get,
                         [this](QObject*, const QString& text) { events.append(QStringLiteral("string:") + text); });
        QObject::connect(&get, &THTTPGet::OnError, &get, [this](QObject*) { events.append(QStringLiteral("error")); });
        if (withProgress)
            QObject::connect(&get, &THTTPGet::OnProgress, &get, [this](QObject* sender, int total, int readed) {
                progress.append({total, readed});
                progressSenders.append(sender);
            });
    }
    bool waitDone(int ms = 5000)
    {
        return QTest::qWaitFor([this] { return !events.isEmpty(); }, ms);
    }
};

QByteArray body(int n)
{
    QByteArray b;
    for (int i = 0; i < n; ++i)
        b += char('a' + i % 26);
    return b;
}

// A local port on which nobody listens.
quint16 closedPort()
{
    QTcpServer s;
    s.listen(QHostAddress::LocalHost);
    return s.serverPort();
}

} // namespace

class TestHttpGet final : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void outcomes_data();
    void outcomes();
    void addresses_data();
    void addresses();
    void requestHeaders_data();
    void requestHeaders();
    void progressInChunks();
    void cancelInProgressWaitsForHandler();
    void hangingServer();
    void stalledServerTimesOut();
    void refusedConnection();
    void secondFetchIgnored();
    void fetchFromOwnCompletionIgnored();
    void destroyedWhileRunning();
    void unwritableTarget();
};

void TestHttpGet::initTestCase()
{
    // The loopback servers must be reached directly, whatever the environment says.
    for (const char* v : {"http_proxy", "HTTP_PROXY", "all_proxy", "ALL_PROXY"})
        qunsetenv(v);
}

void TestHttpGet::outcomes_data()
{
    QTest::addColumn<Reply>("reply");
    QTest::addColumn<bool>("toFile");
    QTest::addColumn<bool>("binary");
    QTest::addColumn<bool>("existing"); // the target file is there before the transfer
    QTest::addColumn<QString>("event");
    QTest::addColumn<QByteArray>("fileAfter"); // the target's content; "-" for no file

    const QByteArray b = body(3000);
    const QByteArray page = "<html>not here</html>";
    auto normal = [](QByteArray body, QByteArray status = "200 OK") {
        Reply r;
        r.body = std::move(body);
        r.status = std::move(status);
        return r;
    };
    auto kind = [](Reply::Kind k, QByteArray body, qsizetype sent = 0) {
        Reply r;
        r.kind = k;
        r.body = std::move(body);
        r.sent = sent;
        return r;
    };
    const QString b3000 = QString::fromLatin1(b);

    QTest::newRow("file") << normal(b) << true << true << false << "file:x.bin:3000" << b;
    QTest::newRow("file replaces") << normal(b) << true << true << true << "file:x.bin:3000" << b;
    // An error reply is no content, whatever its length.
    QTest::newRow("file 404 with length") << normal(page, "404 Not Found") << true << true << false << "error"
                                          << QByteArray("-");
    QTest::newRow("file 500 keeps old") << normal(page, "500 Internal Server Error") << true << true << true
                                        << "error" << QByteArray("old");
    QTest::newRow("string 404") << normal(page, "404 Not Found") << false << false << false << "error"
                                << QByteArray("-");
    QTest::newRow("file empty with length") << normal({}) << true << true << false << "file:x.bin:0"
                                            << QByteArray();
    QTest::newRow("file no length") << kind(Reply::Kind::NoLength, b) << true << true << false << "error"
                                    << QByteArray("-");
    // Without BinaryData the body is read, but nothing announced means 0 bytes expected.
    QTest::newRow("file no length text") << kind(Reply::Kind::NoLength, b) << true << false << false << "error"
                                         << QByteArray("-");
    QTest::newRow("file short") << kind(Reply::Kind::Short, b, 2000) << true << true << false << "error"
                                << QByteArray("-");
    QTest::newRow("file short keeps old") << kind(Reply::Kind::Short, b, 2000) << true << true << true << "error"
                                          << QByteArray("old");
    QTest::newRow("file bad length") << [] {
        Reply r;
        r.kind = Reply::Kind::Raw;
        r.body = "HTTP/1.0 200 OK\r\nContent-Length: 12abc\r\n\r\nhello";
        return r;
    }() << true << true << true << "error" << QByteArray("old");
    QTest::newRow("file not http") << kind(Reply::Kind::Raw, "garbage\r\n\r\nmore") << true << true << false
                                   << "error" << QByteArray("-");

    QTest::newRow("string") << normal(b) << false << false << false << QString(QStringLiteral("string:") + b3000)
                            << QByteArray("-");
    QTest::newRow("string windows-1250") << normal("P\xf8\xedli\x9a \x9elu\x9d" "ou\xe8k\xfd k\xf9\xf2")
                                         << false << false << false << "string:Příliš žluťoučký kůň"
                                         << QByteArray("-");
    QTest::newRow("string empty") << normal({}) << false << false << false << "error" << QByteArray("-");
    QTest::newRow("string empty no length") << kind(Reply::Kind::NoLength, {}) << false << false << false << "error"
                                            << QByteArray("-");
    QTest::newRow("string no length") << kind(Reply::Kind::NoLength, "hello") << false << false << false
                                      << "string:hello" << QByteArray("-");
    QTest::newRow("string no length binary") << kind(Reply::Kind::NoLength, "hello") << false << true << false
                                             << "error" << QByteArray("-");
    QTest::newRow("string short") << kind(Reply::Kind::Short, b, 2000) << false << false << false << "error"
                                  << QByteArray("-");
    QTest::newRow("string redirected") << [] {
        Reply r;
        r.status = "302 Found";
        r.headers = "Location: /target\r\n";
        r.body = "moved";
        return r;
    }() << false << false << false << "string:final" << QByteArray("-");
}

void TestHttpGet::outcomes()
{
    QFETCH(Reply, reply);
    QFETCH(bool, toFile);
    QFETCH(bool, binary);
    QFETCH(bool, existing);
    QFETCH(QString, event);
    QFETCH(QByteArray, fileAfter);

    HttpTestServer server;
    server.setReply("/x", reply);
    Reply final;
    final.body = "final";
    server.setReply("/target", final);

    QTemporaryDir dir;
    const QString before = QDir::currentPath();
    QVERIFY(QDir::setCurrent(dir.path()));
    const auto restore = qScopeGuard([&] { QDir::setCurrent(before); });
    if (existing)
        testfiles::write(dir.filePath(QStringLiteral("x.bin")), "old");

    THTTPGet get;
    Recorder rec(get);
    get.setURL(server.address(QStringLiteral("/x")));
    get.setBinaryData(binary);
    get.setFileName(QStringLiteral("x.bin")); // relative: the current folder
    toFile ? get.FetchToFile() : get.FetchToString();
    QVERIFY(get.isBusy());
    QVERIFY(rec.waitDone());
    QTest::qWait(50);
    QCOMPARE(rec.events, QStringList{event});
    QVERIFY(!get.isBusy());
    QCOMPARE(get.LastOutcome(), event != QStringLiteral("error"));
    if (reply.kind == Reply::Kind::Normal && !reply.status.startsWith('3'))
        QCOMPARE(get.LastStatus(), QString::fromLatin1(reply.status));

    const QStringList left = QDir(dir.path()).entryList(QDir::Files | QDir::Hidden);
    if (fileAfter == "-") {
        QVERIFY2(left.isEmpty(), qPrintable(left.join(u' ')));
    } else {
        QCOMPARE(left, QStringList{QStringLiteral("x.bin")});
        QCOMPARE(testfiles::read(dir.filePath(QStringLiteral("x.bin"))), fileAfter);
    }
}

void TestHttpGet::addresses_data()
{
    QTest::addColumn<QString>("url"); // %1 stands for 127.0.0.1:port
    QTest::addColumn<QByteArray>("requestLine"); // empty: no request, OnError

    QTest::newRow("plain") << "%1/x" << QByteArray("GET /x HTTP/1.0");
    QTest::newRow("scheme") << "http://%1/x" << QByteArray("GET /x HTTP/1.0");
    QTest::newRow("scheme in capitals") << "HTTP://%1/x" << QByteArray("GET /x HTTP/1.0");
    QTest::newRow("http later in the path") << "%1/go?to=http://y/z" << QByteArray("GET /go?to=http://y/z HTTP/1.0");
    QTest::newRow("blank and hash encoded") << "%1/a b#c" << QByteArray("GET /a%20b%23c HTTP/1.0");
    QTest::newRow("line break encoded") << "%1/a\r\nX-Evil: 1" << QByteArray("GET /a%0D%0AX-Evil:%201 HTTP/1.0");
    QTest::newRow("https") << "https://%1/x" << QByteArray();
    QTest::newRow("no slash") << "%1" << QByteArray();
    QTest::newRow("user in host") << "evil@%1/x" << QByteArray();
    QTest::newRow("empty port") << "127.0.0.1:/x" << QByteArray();
}

void TestHttpGet::addresses()
{
    QFETCH(QString, url);
    QFETCH(QByteArray, requestLine);
    HttpTestServer server;
    THTTPGet get;
    Recorder rec(get);
    get.setURL(url.contains(QStringLiteral("%1")) ? url.arg(server.address(QString())) : url);
    get.FetchToString();
    QVERIFY(rec.waitDone());
    if (requestLine.isEmpty()) {
        QCOMPARE(rec.events, QStringList{QStringLiteral("error")});
        QVERIFY(server.requests.isEmpty());
    } else {
        QCOMPARE(server.requests.size(), 1);
        QCOMPARE(server.requests[0].split('\r').first(), requestLine);
        QCOMPARE(rec.events, QStringList{QStringLiteral("error")}); // the server's 404 page
    }
}

void TestHttpGet::requestHeaders_data()
{
    QTest::addColumn<QString>("accept");
    QTest::addColumn<QString>("agent");
    QTest::addColumn<QString>("referer");
    QTest::addColumn<QString>("post");
    QTest::addColumn<QList<QByteArray>>("present");
    QTest::addColumn<QList<QByteArray>>("absent"); // header names
    QTest::addColumn<QByteArray>("requestBody");

    QTest::newRow("defaults") << "(default)" << "(default)" << "" << ""
                              << QList<QByteArray>{"GET /x HTTP/1.0", "Accept: */*", "User-Agent: HTTPGet"}
                              << QList<QByteArray>{"referer", "content-type", "authorization"} << QByteArray();
    QTest::newRow("own values") << "text/plain" << "" << "http://tavio.test/odkud" << ""
                                << QList<QByteArray>{"Accept: text/plain", "Referer: http://tavio.test/odkud"}
                                << QList<QByteArray>{"user-agent"} << QByteArray();
    QTest::newRow("no accept") << "" << "HTTPGet" << "" << "" << QList<QByteArray>{"User-Agent: HTTPGet"}
                               << QList<QByteArray>{"accept"} << QByteArray();
    QTest::newRow("line breaks stay in one header")
        << "*/*" << "A\r\nX-Evil: 1" << "" << "" << QList<QByteArray>{"User-Agent: AX-Evil: 1"}
        << QList<QByteArray>{"x-evil"} << QByteArray();
    QTest::newRow("post") << "*/*" << "HTTPGet" << "" << "jmeno=\u010cten\u00e1\u0159&a=1"
                          << QList<QByteArray>{"POST /x HTTP/1.0", "Content-Type: application/x-www-form-urlencoded",
                                               "Content-Length: 16"}
                          << QList<QByteArray>{"expect"} << QByteArray("jmeno=\xc8ten\xe1\xf8&a=1");
}

void TestHttpGet::requestHeaders()
{
    QFETCH(QString, accept);
    QFETCH(QString, agent);
    QFETCH(QString, referer);
    QFETCH(QString, post);
    QFETCH(QList<QByteArray>, present);
    QFETCH(QList<QByteArray>, absent);
    QFETCH(QByteArray, requestBody);

    HttpTestServer server;
    THTTPGet get;
    Recorder rec(get);
    get.setURL(server.address(QStringLiteral("/x")));
    const QString keep = QStringLiteral("(default)");
    if (accept != keep)
        get.setAcceptTypes(accept);
    if (agent != keep)
        get.setAgent(agent);
    get.setReferer(referer);
    get.setPostQuery(post);
    get.FetchToString();
    QVERIFY(rec.waitDone());
    QCOMPARE(server.requests.size(), 1);
    const QByteArray request = server.requests[0];
    const qsizetype headEnd = request.indexOf("\r\n\r\n");
    const QList<QByteArray> lines = request.first(headEnd).split('\n');
    QList<QByteArray> trimmed;
    for (const QByteArray& l : lines)
        trimmed.append(l.trimmed());
    for (const QByteArray& p : present)
        QVERIFY2(trimmed.contains(p), p.constData());
    for (const QByteArray& l : trimmed)
        for (const QByteArray& a : absent)
            QVERIFY2(!l.toLower().startsWith(QByteArray(a + ':')), l.constData());
    QCOMPARE(request.sliced(headEnd + 4), requestBody);
}

void TestHttpGet::progressInChunks()
{
    QTemporaryDir root;
    testfiles::write(root.filePath(QStringLiteral("data.bin")), body(5000));
    HttpTestServer server(root.path());
    QTemporaryDir out;

    THTTPGet get;
    Recorder rec(get);
    QList<bool> onGuiThread;
    connect(&get, &THTTPGet::OnProgress, this,
            [&](QObject*, int, int) { onGuiThread.append(QThread::currentThread() == thread()); });
    get.setURL(server.address(QStringLiteral("/data.bin")));
    get.setBinaryData(true);
    get.setFileName(out.filePath(QStringLiteral("data.bin")));
    get.FetchToFile();
    QVERIFY(rec.waitDone());
    QCOMPARE(rec.events, QStringList{QStringLiteral("file:%1:5000").arg(get.FileName())});
    const QList<QPair<int, int>> expected{{5000, 1025}, {5000, 2050}, {5000, 3075}, {5000, 4100}, {5000, 5000}};
    QCOMPARE(rec.progress, expected);
    QCOMPARE(onGuiThread, QList<bool>(5, true));
    // The worker, not the component, reports progress.
    QVERIFY(rec.progressSenders.first() && rec.progressSenders.first() != &get);
    QCOMPARE(testfiles::read(get.FileName()), body(5000));

    // Without an announced length the total is 0.
    Reply r;
    r.kind = Reply::Kind::NoLength;
    r.body = body(1100);
    server.setReply("/nolength", r);
    rec.events.clear();
    rec.progress.clear();
    get.setURL(server.address(QStringLiteral("/nolength")));
    get.setBinaryData(false);
    get.FetchToString();
    QVERIFY(rec.waitDone());
    QCOMPARE(rec.progress, (QList<QPair<int, int>>{{0, 1025}, {0, 1100}}));
}

void TestHttpGet::cancelInProgressWaitsForHandler()
{
    // The whole body is on its way at once; only a worker that waits for the handler
    // sees the stop before the next chunk.
    HttpTestServer server;
    Reply r;
    r.body = body(8000);
    server.setReply("/x", r);
    QTemporaryDir out;
    const QString target = out.filePath(QStringLiteral("x.bin"));
    testfiles::write(target, "old");

    THTTPGet get;
    Recorder rec(get);
    connect(&get, &THTTPGet::OnProgress, this, [&](QObject*, int, int) {
        QThread::msleep(50);
        get.CancelFetch();
    });
    get.setURL(server.address(QStringLiteral("/x")));
    get.setBinaryData(true);
    get.setFileName(target);
    get.FetchToFile();
    QVERIFY(rec.waitDone());
    QCOMPARE(rec.events, QStringList{QStringLiteral("error")});
    QCOMPARE(rec.progress.size(), 1);
    QCOMPARE(testfiles::read(target), QByteArray("old"));
    QCOMPARE(QDir(out.path()).entryList(QDir::Files | QDir::Hidden), QStringList{QStringLiteral("x.bin")});
}

void TestHttpGet::hangingServer()
{
    HttpTestServer server;
    Reply hang;
    hang.kind = Reply::Kind::Hang;
    server.setReply("/hang", hang);
    QTemporaryDir out;

    // Cancelled before any response: one error, no file, at once.
    THTTPGet get;
    Recorder rec(get);
    get.setURL(server.address(QStringLiteral("/hang")));
    get.setBinaryData(true);
    get.setFileName(out.filePath(QStringLiteral("x.bin")));
    get.FetchToFile();
    QVERIFY(QTest::qWaitFor([&] { return server.requests.size() == 1; }, 5000));
    QElapsedTimer t;
    t.start();
    get.CancelFetch();
    QVERIFY(rec.waitDone());
    QVERIFY2(t.elapsed() < 1000, QByteArray::number(t.elapsed()).constData());
    QTest::qWait(50);
    QCOMPARE(rec.events, QStringList{QStringLiteral("error")});
    QVERIFY(!QFile::exists(get.FileName()));

    // With WaitThread the fetch returns once a cancel from the event loop has ended it.
    rec.events.clear();
    get.setWaitThread(true);
    bool returned = false;
    QTimer::singleShot(100, this, [&] {
        QVERIFY(!returned);
        get.CancelFetch();
    });
    t.restart();
    get.FetchToString();
    returned = true;
    QVERIFY2(t.elapsed() < 1500, QByteArray::number(t.elapsed()).constData());
    QCOMPARE(rec.events, QStringList{QStringLiteral("error")});
    QVERIFY(!get.isBusy());
}

void TestHttpGet::stalledServerTimesOut()
{
    HttpTestServer server;
    Reply stall;
    stall.kind = Reply::Kind::Stall;
    stall.body = body(3000);
    stall.sent = 1500;
    server.setReply("/stall", stall);
    Reply hang;
    hang.kind = Reply::Kind::Hang;
    server.setReply("/hang", hang);
    QTemporaryDir out;

    for (const QString& path : {QStringLiteral("/hang"), QStringLiteral("/stall")}) {
        THTTPGet get;
        Recorder rec(get);
        get.setWaitThread(true);
        get.setStallTimeout(300);
        get.setBinaryData(true);
        get.setURL(server.address(path));
        get.setFileName(out.filePath(QStringLiteral("x.bin")));
        QElapsedTimer t;
        t.start();
        get.FetchToFile();
        QVERIFY2(t.elapsed() < 3000, QByteArray::number(t.elapsed()).constData());
        QCOMPARE(rec.events, QStringList{QStringLiteral("error")});
        QVERIFY(QDir(out.path()).isEmpty(QDir::Files | QDir::Hidden));
    }
}

void TestHttpGet::refusedConnection()
{
    // Reaching no server is a failure in both modes, BinaryData or not.
    QTemporaryDir out;
    const QString url = QStringLiteral("127.0.0.1:%1/x").arg(closedPort());
    for (bool toFile : {true, false}) {
        THTTPGet get;
        Recorder rec(get);
        get.setURL(url);
        get.setFileName(out.filePath(QStringLiteral("x.bin")));
        toFile ? get.FetchToFile() : get.FetchToString();
        QVERIFY(rec.waitDone());
        QCOMPARE(rec.events, QStringList{QStringLiteral("error")});
        QVERIFY(QDir(out.path()).isEmpty(QDir::Files | QDir::Hidden));
    }
}

void TestHttpGet::secondFetchIgnored()
{
    HttpTestServer server;
    Reply stall;
    stall.kind = Reply::Kind::Stall;
    stall.body = body(3000);
    stall.sent = 1100;
    server.setReply("/slow", stall);
    QTemporaryDir out;

    THTTPGet get;
    Recorder rec(get);
    get.setURL(server.address(QStringLiteral("/slow")));
    get.setBinaryData(true);
    get.setFileName(out.filePath(QStringLiteral("a.bin")));
    get.FetchToFile();
    QVERIFY(QTest::qWaitFor([&] { return rec.progress.size() == 1; }, 5000));
    get.setURL(server.address(QStringLiteral("/other")));
    get.setFileName(out.filePath(QStringLiteral("b.bin")));
    get.FetchToFile();
    get.FetchToString();
    QTest::qWait(100);
    QCOMPARE(server.requests.size(), 1);
    QVERIFY(rec.events.isEmpty());
    get.CancelFetch();
    QVERIFY(rec.waitDone());
    QTest::qWait(50);
    QCOMPARE(rec.events, QStringList{QStringLiteral("error")});
    QCOMPARE(rec.progress, (QList<QPair<int, int>>{{3000, 1025}}));
}

void TestHttpGet::fetchFromOwnCompletionIgnored()
{
    QTemporaryDir root;
    testfiles::write(root.filePath(QStringLiteral("a")), "first");
    testfiles::write(root.filePath(QStringLiteral("b")), "second");
    HttpTestServer server(root.path());
    QTemporaryDir out;

    THTTPGet get;
    THTTPGet other;
    Recorder rec(get);
    Recorder otherRec(other);
    connect(&get, &THTTPGet::OnDoneFile, this, [&](QObject* sender, const QString&, int) {
        QCOMPARE(sender, static_cast<QObject*>(&get));
        QVERIFY(get.isBusy());
        get.setURL(server.address(QStringLiteral("/b")));
        get.FetchToFile();
        // The next transfer goes on the other component, as the chapter download does.
        other.setURL(server.address(QStringLiteral("/b")));
        other.FetchToString();
    });
    get.setURL(server.address(QStringLiteral("/a")));
    get.setBinaryData(true);
    get.setFileName(out.filePath(QStringLiteral("a")));
    get.FetchToFile();
    QVERIFY(otherRec.waitDone());
    QTest::qWait(100);
    QCOMPARE(rec.events.size(), 1);
    QCOMPARE(otherRec.events, QStringList{QStringLiteral("string:second")});
    QCOMPARE(server.requests.size(), 2);
    QVERIFY(!get.isBusy());
    QCOMPARE(testfiles::read(out.filePath(QStringLiteral("a"))), QByteArray("first"));
}

void TestHttpGet::destroyedWhileRunning()
{
    HttpTestServer server;
    Reply stall;
    stall.kind = Reply::Kind::Stall;
    stall.body = body(3000);
    stall.sent = 1100;
    server.setReply("/slow", stall);
    QTemporaryDir out;

    QStringList events;
    auto get = std::make_unique<THTTPGet>();
    connect(get.get(), &THTTPGet::OnError, this, [&] { events.append(QStringLiteral("error")); });
    int progress = 0;
    connect(get.get(), &THTTPGet::OnProgress, this, [&] { ++progress; });
    get->setURL(server.address(QStringLiteral("/slow")));
    get->setBinaryData(true);
    get->setFileName(out.filePath(QStringLiteral("x.bin")));
    get->FetchToFile();
    QVERIFY(QTest::qWaitFor([&] { return progress == 1; }, 5000));
    get.reset();
    QTest::qWait(300);
    QVERIFY(events.isEmpty());
    QVERIFY(QDir(out.path()).isEmpty(QDir::Files | QDir::Hidden));
}

void TestHttpGet::unwritableTarget()
{
    QTemporaryDir root;
    testfiles::write(root.filePath(QStringLiteral("x")), "data");
    HttpTestServer server(root.path());
    QTemporaryDir out;
    QVERIFY(QDir(out.path()).mkdir(QStringLiteral("sub")));

    const QStringList targets{out.filePath(QStringLiteral("sub")), out.filePath(QStringLiteral("missing/x")),
                              out.path() + QLatin1Char('/'), QString()};
    for (const QString& target : targets) {
        THTTPGet get;
        Recorder rec(get);
        get.setURL(server.address(QStringLiteral("/x")));
        get.setBinaryData(true);
        get.setFileName(target);
        get.FetchToFile();
        QVERIFY(rec.waitDone());
        QCOMPARE(rec.events, QStringList{QStringLiteral("error")});
        QVERIFY(QFileInfo(out.filePath(QStringLiteral("sub"))).isDir());
        QCOMPARE(QDir(out.path()).entryList(QDir::Files | QDir::Hidden), QStringList());
    }
}

QTEST_GUILESS_MAIN(TestHttpGet)
#include "tst_httpget.moc"
