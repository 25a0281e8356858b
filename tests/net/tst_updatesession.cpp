#include "Profile.h"
#include "THTTPGet.h"
#include "UpdateSession.h"
#include "UpdateWorld.h"

#include <QCryptographicHash>
#include <QRegularExpression>
#include <QTcpServer>
#include <QScopeGuard>
#include <QTest>

#include <sys/resource.h>

#include <csignal>

using namespace tavio;
using namespace updateworld;
using testhttp::Reply;

Q_DECLARE_METATYPE(testhttp::Reply)

namespace {

// A test key pair's public half; the signatures below were made with its private half.
const QByteArray TestKey = QByteArray::fromBase64("i4L/LwvsVfVgCwzE9pqTfLomfeILip3h23GZ4DuZBoU=");

// Answers the session's questions from a list and remembers what it was told.
struct FakePrompt final : UpdatePrompt
{
    struct Shown
    {
        QString text;
        Icon icon;
        bool question;
        bool defaultNo;
    };
    QList<Shown> shown;
    QList<bool> answers; // Yes is true; an empty list answers No

    void tell(const QString& text, Icon icon) override { shown.append({text, icon, false, false}); }
    bool ask(const QString& text, Icon icon, bool defaultNo) override
    {
        shown.append({text, icon, true, defaultNo});
        return !answers.isEmpty() && answers.takeFirst();
    }
    QStringList texts() const
    {
        QStringList t;
        for (const Shown& s : shown)
            t << s.text;
        return t;
    }
};

// A session on a world, with the log it wrote.
struct Run
{
    FakePrompt prompt;
    UpdateSession session;
    QStringList log;
    QList<UpdateSession::LogKind> kinds;

    explicit Run(World& world, UpdateHost host)
        : session(std::move(host), &prompt)
    {
        session.setRestartDelay(0);
        session.setNoAnswerStopDelay(200);
        QObject::connect(&session, &UpdateSession::logCleared, &session, [this] {
            log.clear();
            kinds.clear();
        });
        QObject::connect(&session, &UpdateSession::logLine, &session,
                         [this](const QString& text, UpdateSession::LogKind kind) {
                             log << text;
                             kinds << kind;
                         });
        Q_UNUSED(world);
    }
    explicit Run(World& world)
        : Run(world, world.host())
    {
    }
    bool idle() const { return session.UpdateIdle() && !session.busy(); }
    bool runToEnd(bool program = false, bool files = true)
    {
        session.start(UpdateOptions{program, files});
        return waitFor([&] { return idle(); });
    }
    QString logText() const { return log.join(QLatin1Char('|')); }
};

} // namespace

class TestUpdateSession final : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void check_data();
    void check();
    void chaptersInOrder();
    void chapterFails_data();
    void chapterFails();
    void stopDuringAssets_data();
    void stopDuringAssets();
    void program_data();
    void program();
    void stopDuringProgram();
    void refusedConnection();
    void signedList_data();
    void signedList();
};

void TestUpdateSession::initTestCase()
{
    for (const char* v : {"http_proxy", "HTTP_PROXY", "all_proxy", "ALL_PROXY"})
        qunsetenv(v);
    // A write past the file-size limit fails instead of ending the process.
    std::signal(SIGXFSZ, SIG_IGN);
}

void TestUpdateSession::check_data()
{
    QTest::addColumn<QByteArray>("descriptor");
    QTest::addColumn<bool>("program");
    QTest::addColumn<bool>("files");
    QTest::addColumn<QList<bool>>("answers");
    QTest::addColumn<QStringList>("messages");
    QTest::addColumn<QString>("log");
    QTest::addColumn<QStringList>("calls");

    const QString fetched = QStringLiteral("Připojování se k serveru ...|Připojeno k serveru.|Stahování "
                                           "inicializačního souboru ...|Stahování inicializačního souboru dokončeno.");
    const QString noChapters = QStringLiteral("Nové díly seriálu nebyly nalezeny. Zkuste to prosím později.");
    const QString noVersion = QStringLiteral("Nová verze programu nebyla nalezena. Zkuste to prosím později.");
    const QString formatError = QStringLiteral("Chyba formátu inicializačního souboru. Chcete tento soubor zobrazit?");

    QTest::newRow("nothing new") << updateIni("1.0.12.550", 117) << false << true << QList<bool>{}
                                 << QStringList{noChapters} << fetched + QStringLiteral("|Nové díly seriálu nebyly nalezeny.")
                                 << QStringList{};
    QTest::newRow("fewer chapters on the server") << updateIni("1.0.12.550", 20) << false << true << QList<bool>{}
                                                  << QStringList{noChapters}
                                                  << fetched + QStringLiteral("|Nové díly seriálu nebyly nalezeny.")
                                                  << QStringList{};
    QTest::newRow("no new version, then chapters") << updateIni("1.0.12.550", 117) << true << true << QList<bool>{}
                                                   << QStringList{noVersion, noChapters}
                                                   << fetched + QStringLiteral("|Nová verze programu nebyla nalezena.|"
                                                                               "Nové díly seriálu nebyly nalezeny.")
                                                   << QStringList{};
    QTest::newRow("only major, older") << QByteArray("[last_version]\r\nmajor=1\r\n") << true << false
                                       << QList<bool>{} << QStringList{noVersion}
                                       << fetched + QStringLiteral("|Nová verze programu nebyla nalezena.")
                                       << QStringList{};
    QTest::newRow("format error, viewed") << QByteArray("<html>not an ini</html>") << true << true
                                          << QList<bool>{true} << QStringList{formatError}
                                          << fetched + QStringLiteral("|Chyba formátu inicializačního souboru !")
                                          << QStringList{QStringLiteral("viewer")};
    // Without the section only an empty catalogue would have new chapters.
    QTest::newRow("format error, files only") << QByteArray("garbage") << false << true << QList<bool>{false}
                                              << QStringList{formatError}
                                              << fetched + QStringLiteral("|Chyba formátu inicializačního souboru !")
                                              << QStringList{};
}

void TestUpdateSession::check()
{
    QFETCH(QByteArray, descriptor);
    QFETCH(bool, program);
    QFETCH(bool, files);
    QFETCH(QList<bool>, answers);
    QFETCH(QStringList, messages);
    QFETCH(QString, log);
    QFETCH(QStringList, calls);
    World world;
    world.serve(QStringLiteral("update.ini"), descriptor);
    Run run(world);
    run.prompt.answers = answers;
    QVERIFY(run.runToEnd(program, files));
    QCOMPARE(run.prompt.texts(), messages);
    QCOMPARE(run.logText(), log);
    QStringList got;
    for (const QString& c : std::as_const(world.calls))
        got << c.section(QLatin1Char(':'), 0, 0);
    QCOMPARE(got, calls);
    if (!calls.isEmpty())
        QCOMPARE(world.calls.first(), QStringLiteral("viewer:") + world.prog + QStringLiteral("update.ini"));
    // Only the descriptor was asked for; nothing new means no working files left.
    QCOMPARE(world.paths(), QStringList{QStringLiteral("/update.ini")});
    QVERIFY(!QFile::exists(world.prog + QStringLiteral("update.ini")));
    QCOMPARE(run.session.panelText(0), QString());
}

void TestUpdateSession::chaptersInOrder()
{
    World world;
    world.serve(QStringLiteral("update.ini"), updateIni("1.0.12.550", 120));
    world.serve(QStringLiteral("files.ini"),
                filesIni(118, {{QStringLiteral("0118.htm"), QStringLiteral("0118_soubory\\"),
                                {QStringLiteral("a.gif"), QStringLiteral("b.png")}},
                               {QStringLiteral("0119.htm"), QStringLiteral("0119_soubory"), {}},
                               {QStringLiteral("0120.htm"), QStringLiteral("0120_soubory"), {QStringLiteral("c.gif")}}})
                    + "file1_size=22\r\nfile1_sha256="
                    + QCryptographicHash::hash("htm/0120_soubory/c.gif", QCryptographicHash::Sha256).toHex().toUpper()
                    + "\r\n");
    for (const char* f : {"htm/0118", "htm/0118_soubory/a.gif", "htm/0118_soubory/b.png", "htm/0119", "htm/0120",
                          "htm/0120_soubory/c.gif"})
        world.serve(QLatin1String(f), QByteArray(f));
    world.serve(QStringLiteral("user.nfo"), "Ahoj");
    // A chapter a crash left half done: it goes at the next update and never counts.
    const QString staging = world.prog + QStringLiteral(".Htm.update/");
    testfiles::write(staging + QStringLiteral("0118.htm"), "half");
    testfiles::write(staging + QStringLiteral("0118_soubory/a.gif"), "half");

    QString panelAtRebuild;
    QStringList chaptersAtRebuild;
    UpdateSession* shown = nullptr;
    UpdateHost h = world.host();
    const auto rebuild = h.rebuildCatalogue;
    h.rebuildCatalogue = [&](const QString& f) {
        panelAtRebuild = shown->panelText(0);
        chaptersAtRebuild = tree(world.chapters);
        rebuild(f);
    };
    Run run(world, h);
    shown = &run.session;
    QString userInfo;
    connect(&run.session, &UpdateSession::userInfoArrived, this, [&](const QString& t) { userInfo = t; });
    // A chapter is in the chapter folder whole or not at all, at every moment.
    QStringList seen;
    for (THTTPGet* c : {run.session.htpgFiles(), run.session.htpgSubFiles()})
        connect(c, &THTTPGet::OnProgress, this, [&] { seen << tree(world.chapters).join(QLatin1Char(',')); });
    QVERIFY(run.runToEnd());

    QCOMPARE(world.paths(), QStringList({QStringLiteral("/update.ini"), QStringLiteral("/files.ini"),
                                         QStringLiteral("/htm/0118"), QStringLiteral("/htm/0118_soubory/a.gif"),
                                         QStringLiteral("/htm/0118_soubory/b.png"), QStringLiteral("/htm/0119"),
                                         QStringLiteral("/htm/0120"), QStringLiteral("/htm/0120_soubory/c.gif")}));
    const QStringList all{QStringLiteral("0118.htm"),           QStringLiteral("0118_soubory"),
                          QStringLiteral("0118_soubory/a.gif"), QStringLiteral("0118_soubory/b.png"),
                          QStringLiteral("0119.htm"),           QStringLiteral("0119_soubory"),
                          QStringLiteral("0120.htm"),           QStringLiteral("0120_soubory"),
                          QStringLiteral("0120_soubory/c.gif")};
    QCOMPARE(tree(world.chapters), all);
    QCOMPARE(chaptersAtRebuild, all);
    QCOMPARE(seen.first(), QString());
    // While 0120's picture comes, 0120.htm is not in the folder yet.
    QCOMPARE(seen.last(), all.first(6).join(QLatin1Char(',')));
    QVERIFY(!QFileInfo::exists(staging));
    QCOMPARE(testfiles::read(world.local(QStringLiteral("0118_soubory/b.png"))), QByteArray("htm/0118_soubory/b.png"));
    QCOMPARE(run.prompt.texts(), QStringList{QStringLiteral("Stahování nových dílů seriálu bylo dokončeno.")});
    QCOMPARE(world.calls, QStringList({QStringLiteral("rebuild:") + world.chapters, QStringLiteral("refresh"),
                                       QStringLiteral("next")}));
    // The last asset came on the second component: the panel texts without " ...".
    QCOMPARE(panelAtRebuild, QStringLiteral("Aktualizuji seznam souborů"));
    QVERIFY(QFile::exists(world.prog + QStringLiteral("files.ini")));
    QVERIFY(!run.session.CatalogueChanged());
    QVERIFY(run.logText().endsWith(QStringLiteral("Stahování souboru c.gif...|Stahování souboru c.gif dokončeno")));
    QCOMPARE(userInfo, QStringLiteral("Ahoj"));
}

void TestUpdateSession::chapterFails_data()
{
    QTest::addColumn<QByteArray>("list");
    QTest::addColumn<QStringList>("before"); // files in the chapter folder before the run
    QTest::addColumn<QString>("cutOff");     // served path whose body is cut off
    QTest::addColumn<QStringList>("after");
    QTest::addColumn<QString>("logged"); // a log line the run must show
    QTest::addColumn<int>("sizeLimit");  // the largest file the process may write; 0: none

    const QList<Section> two{{QStringLiteral("0118.htm"), QStringLiteral("0118_soubory"), {QStringLiteral("a.gif")}},
                             {QStringLiteral("0119.htm"),
                              QStringLiteral("0119_soubory"),
                              {QStringLiteral("a.gif"), QStringLiteral("b.gif"), QStringLiteral("c.gif")}}};
    const QStringList first{QStringLiteral("0118.htm"), QStringLiteral("0118_soubory"),
                            QStringLiteral("0118_soubory/a.gif")};
    const QString refused = QStringLiteral("Seznam souborů uvádí v oddílu [118] nepřípustný název %1 (vede mimo "
                                           "adresář se soubory)");
    QTest::newRow("third asset cut off") << filesIni(118, two) << QStringList{} << "/htm/0119_soubory/c.gif" << first
                                         << "Nelze stáhnout nové díly seriálu" << 0;
    QTest::newRow("chapter cut off, old copy stays")
        << filesIni(118, two) << QStringList{QStringLiteral("0118.htm"), QStringLiteral("0118_soubory/old.gif")}
        << "/htm/0118" << QStringList{QStringLiteral("0118.htm"), QStringLiteral("0118_soubory"), QStringLiteral("0118_soubory/old.gif")}
        << "Nelze stáhnout nové díly seriálu !" << 0;
    // The chapter file came again and replaced nothing yet: the user's copy stays whole.
    QTest::newRow("picture cut off after a chapter the user had")
        << filesIni(119, two.mid(1)) << QStringList{QStringLiteral("0119.htm"), QStringLiteral("0119_soubory/a.gif")}
        << "/htm/0119_soubory/b.gif"
        << QStringList{QStringLiteral("0119.htm"), QStringLiteral("0119_soubory"), QStringLiteral("0119_soubory/a.gif")}
        << "Nelze stáhnout nové díly seriálu !" << 0;
    // A full disk, as a file-size limit: the chapter fails, the user's copy stays.
    QTest::newRow("file-size limit") << filesIni(118, two) << QStringList{QStringLiteral("0118.htm")} << QString()
                                     << QStringList{QStringLiteral("0118.htm")} << "Nelze stáhnout nové díly seriálu !"
                                     << 64 * 1024;
    QTest::newRow("asset cut off in an old folder")
        << filesIni(118, two) << QStringList{QStringLiteral("0119_soubory/old.gif")} << "/htm/0119_soubory/b.gif"
        << first + QStringList{QStringLiteral("0119_soubory"), QStringLiteral("0119_soubory/old.gif")}
        << "Nelze stáhnout nové díly seriálu !" << 0;
    QTest::newRow("picture not on the server")
        << filesIni(118, {{QStringLiteral("0118.htm"), QStringLiteral("0118_soubory"), {QStringLiteral("missing.gif")}}})
        << QStringList{} << QString() << QStringList{}
        << "Server odmítl soubor missing.gif: HTTP 404 Not Found" << 0;
    const QList<Section> one{{QStringLiteral("0118.htm"), QStringLiteral("0118_soubory"), {QStringLiteral("a.gif")}}};
    QTest::newRow("picture hash mismatch")
        << filesIni(118, one) + "file1_sha256=" + QCryptographicHash::hash("other", QCryptographicHash::Sha256).toHex()
        << QStringList{} << QString() << QStringList{} << "a.gif: kontrolní součet nesouhlasí" << 0;
    QTest::newRow("chapter size mismatch") << filesIni(118, one) + "file_size=7" << QStringList{} << QString()
                                           << QStringList{} << "0118.htm: kontrolní součet nesouhlasí" << 0;
    QTest::newRow("section without file") << filesIni(118, {{QString(), QStringLiteral("0118_soubory"), {}}})
                                          << QStringList{} << QString() << QStringList{}
                                          << "Nelze stáhnout nové díly seriálu !" << 0;
    QTest::newRow("file leaves the folder") << filesIni(118, {{QStringLiteral("../evil.htm"), QString(), {}}})
                                            << QStringList{} << QString() << QStringList{}
                                            << refused.arg(QStringLiteral("file=\"../evil.htm\"")) << 0;
    QTest::newRow("absolute file") << filesIni(118, {{QStringLiteral("/tmp/evil.htm"), QString(), {}}})
                                   << QStringList{} << QString() << QStringList{}
                                   << refused.arg(QStringLiteral("file=\"/tmp/evil.htm\"")) << 0;
    QTest::newRow("hidden file") << filesIni(118, {{QStringLiteral(".evil.htm"), QString(), {}}}) << QStringList{}
                                 << QString() << QStringList{} << refused.arg(QStringLiteral("file=\".evil.htm\"")) << 0;
    QTest::newRow("dir leaves the folder")
        << filesIni(118, {{QStringLiteral("0118.htm"), QStringLiteral("..\\..\\"), {QStringLiteral("a.gif")}}})
        << QStringList{} << QString() << QStringList{} << refused.arg(QStringLiteral("dir=\"..\\..\\\"")) << 0;
    QTest::newRow("dir of two folders")
        << filesIni(118, {{QStringLiteral("0118.htm"), QStringLiteral("a\\evil"), {QStringLiteral("a.gif")}}})
        << QStringList{} << QString() << QStringList{} << refused.arg(QStringLiteral("dir=\"a\\evil\"")) << 0;
    QTest::newRow("drive in an asset")
        << filesIni(118, {{QStringLiteral("0118.htm"), QStringLiteral("0118_soubory"), {QStringLiteral("C:evil.gif")}}})
        << QStringList{} << QString() << QStringList{} << refused.arg(QStringLiteral("file1=\"C:evil.gif\"")) << 0;
    QTest::newRow("control character in an asset")
        << filesIni(118, {{QStringLiteral("0118.htm"), QStringLiteral("0118_soubory"), {QStringLiteral("a\x1b.gif")}}})
        << QStringList{} << QString() << QStringList{} << refused.arg(QStringLiteral("file1=\"a\x1b.gif\"")) << 0;
}

void TestUpdateSession::chapterFails()
{
    QFETCH(QByteArray, list);
    QFETCH(QStringList, before);
    QFETCH(QString, cutOff);
    QFETCH(QStringList, after);
    QFETCH(QString, logged);
    QFETCH(int, sizeLimit);
    World world;
    world.serve(QStringLiteral("update.ini"), updateIni("1.0.12.550", 119));
    world.serve(QStringLiteral("files.ini"), list);
    for (const char* f : {"htm/0118", "htm/0118_soubory/a.gif", "htm/0119", "htm/0119_soubory/a.gif",
                          "htm/0119_soubory/b.gif", "htm/0119_soubory/c.gif", "htm/evil", "htm/a.gif"})
        world.serve(QLatin1String(f), "served");
    if (!cutOff.isEmpty()) {
        Reply r;
        r.kind = Reply::Kind::Short;
        r.body = QByteArray(3000, 'x');
        r.sent = 1000;
        world.server.setReply(cutOff.toLatin1(), r);
    }
    for (const QString& f : before)
        testfiles::write(world.local(f), "old");
    if (list.startsWith("[119]"))
        world.localChapters = 118;
    // Just past the limit: the last bytes fail only at the final flush.
    if (sizeLimit > 0)
        world.serve(QStringLiteral("htm/0118"), QByteArray(sizeLimit + 1000, 'c'));
    rlimit old{};
    getrlimit(RLIMIT_FSIZE, &old);
    const auto restore = qScopeGuard([&] { setrlimit(RLIMIT_FSIZE, &old); });
    if (sizeLimit > 0) {
        rlimit limited = old;
        limited.rlim_cur = rlim_t(sizeLimit);
        setrlimit(RLIMIT_FSIZE, &limited);
    }
    Run run(world);
    QVERIFY(run.runToEnd());
    QCOMPARE(tree(world.chapters), after);
    for (const QString& f : before)
        QCOMPARE(testfiles::read(world.local(f)), QByteArray("old"));
    QVERIFY2(run.log.contains(logged), qPrintable(run.logText()));
    QVERIFY(run.prompt.texts().last().startsWith(QStringLiteral("Nelze stáhnout nové díly seriálu")));
    QVERIFY(run.session.CatalogueChanged());
    QVERIFY(!QFile::exists(world.prog + QStringLiteral("files.ini")));
    QVERIFY(world.calls.isEmpty()); // no finish, no reload yet
    // Nothing lands outside the chapter folder, nothing is left in the staging folder.
    QCOMPARE(tree(world.tmp.path()).filter(QRegularExpression(QStringLiteral("^(?!server/).*(evil|\\.update)"))),
             QStringList{});
}

void TestUpdateSession::stopDuringAssets_data()
{
    QTest::addColumn<bool>("close"); // the window closes right after the confirmed stop
    QTest::newRow("finish the chapter") << false;
    QTest::newRow("close at once") << true;
}

void TestUpdateSession::stopDuringAssets()
{
    QFETCH(bool, close);
    World world;
    const QStringList five{QStringLiteral("1.gif"), QStringLiteral("2.gif"), QStringLiteral("3.gif"),
                           QStringLiteral("4.gif"), QStringLiteral("5.gif")};
    world.serve(QStringLiteral("update.ini"), updateIni("1.0.12.550", 120));
    world.serve(QStringLiteral("files.ini"), filesIni(118, {{QStringLiteral("0118.htm"), QString(), {}},
                                                            {QStringLiteral("0119.htm"), QStringLiteral("d"), five},
                                                            {QStringLiteral("0120.htm"), QStringLiteral("e"), {}}}));
    world.serve(QStringLiteral("htm/0118"), "c");
    world.serve(QStringLiteral("htm/0119"), "c");
    for (const QString& a : five)
        world.serve(QStringLiteral("htm/d/") + a, "p");
    Run run(world);
    QStringList panels;
    bool closed = false;
    for (THTTPGet* c : {run.session.htpgFiles(), run.session.htpgSubFiles()})
        connect(c, &THTTPGet::OnProgress, this, [&] {
            if (run.session.panelText(1) == QLatin1String("3.gif") && !run.session.AbortRequested()) {
                run.prompt.answers = {true};
                run.session.abort();
                QVERIFY(run.session.mayClose());
                if (close) {
                    run.session.close();
                    closed = true;
                }
            }
            panels << run.session.panelText(0);
        });
    run.session.start(UpdateOptions{});
    QVERIFY(waitFor([&] { return closed || run.idle(); }));
    QVERIFY(run.prompt.shown.first().defaultNo);
    QVERIFY(!QFileInfo::exists(world.prog + QStringLiteral(".Htm.update")));
    if (close) {
        // The chapter in progress leaves nothing; the one before it stays and is
        // reloaded when the window has gone.
        QTest::qWait(100);
        QCOMPARE(tree(world.chapters), QStringList{QStringLiteral("0118.htm")});
        QVERIFY(run.session.CatalogueChanged());
        QCOMPARE(run.prompt.texts().size(), 1);
        return;
    }
    QCOMPARE(run.prompt.texts(),
             QStringList({QStringLiteral("Stahování souborů ještě nebylo dokončeno.Opravdu chcete ukončit aktualizaci."),
                          QStringLiteral("Stahování nových dílů seriálu bylo dokončeno.")}));
    QCOMPARE(world.paths().last(), QStringLiteral("/htm/d/5.gif"));
    QCOMPARE(tree(world.chapters).size(), 8); // two chapters, the folder and its five pictures
    QCOMPARE(panels.last(), QStringLiteral("Stisknuto storno - dokončuji stažení aktuálního dílu ..."));
    QCOMPARE(world.calls.size(), 3);
}

void TestUpdateSession::program_data()
{
    QTest::addColumn<Reply>("reply");
    QTest::addColumn<bool>("files");
    QTest::addColumn<QString>("blocker"); // a file already where the new program goes
    QTest::addColumn<QString>("started"); // the name the program was started from
    QTest::addColumn<bool>("settled");    // the close questions before the restart came to an end
    QTest::addColumn<QList<bool>>("answers");
    QTest::addColumn<QStringList>("messages");
    QTest::addColumn<QStringList>("calls");
    QTest::addColumn<QStringList>("folder"); // the program folder afterwards
    QTest::addColumn<QString>("logged");
    QTest::addColumn<QByteArray>("announced"); // what update.ini says of the program file
    QTest::addColumn<QByteArray>("signature"); // of update.ini under TestKey; empty: no key, "-": none served

    Reply whole;
    whole.body = ProgramBytes + QByteArray(1462731 - ProgramBytes.size(), 'b');
    Reply cut = whole;
    cut.kind = Reply::Kind::Short;
    cut.sent = 5000;
    Reply page;
    page.status = "404 Not Found";
    page.body = "<html>404</html>";

    const QString restart = QStringLiteral(
        "Stahování nové verze programu bylo dokončeno. Pro dokončení aktualizačního procesu je potřeba program Tavio "
        "zavřít a znovu spustit. Chcete po dokončení stahování všech položek program restartovat?");
    const QString failed = QStringLiteral("Nelze stáhnout soubor nové verze programu");
    const QString rename = QStringLiteral("Nemohu přejmenovat soubor exe => aktualizace nové verze programu nebude "
                                          "dokončena. Pro dokončení aktualizace přejmenujte soubor \"tavi\" v adresáři ");
    const QString t = QStringLiteral("tavio");
    const QStringList swapped{QStringLiteral("Htm"), QStringLiteral("tavio"), QStringLiteral("tavio.old")};
    const QStringList untouched{QStringLiteral("Htm"), QStringLiteral("tavio")};
    const QStringList restarted{QStringLiteral("settle"), QStringLiteral("release"), QStringLiteral("start:"),
                                QStringLiteral("quit")};

    QTest::newRow("restart") << whole << false << QString() << t << true << QList<bool>{true} << QStringList{restart}
                             << restarted << swapped << "Stahování nové verze programu dokončeno" << QByteArray() << QByteArray();
    QTest::newRow("restart cancelled at the notes question")
        << whole << false << QString() << t << false << QList<bool>{true} << QStringList{restart}
        << QStringList{QStringLiteral("settle")} << swapped << "Restart programu byl zrušen." << QByteArray() << QByteArray();
    QTest::newRow("no restart") << whole << false << QString() << t << true << QList<bool>{false}
                                << QStringList{restart} << QStringList{} << swapped << QString() << QByteArray() << QByteArray();
    QTest::newRow("chapters first, then restart")
        << whole << true << QString() << t << true << QList<bool>{true}
        << QStringList{restart, QStringLiteral("Stahování nových dílů seriálu bylo dokončeno.")}
        << QStringList{QStringLiteral("rebuild:"), QStringLiteral("refresh"), QStringLiteral("next")} + restarted
        << QStringList{QStringLiteral("Htm"), QStringLiteral("Htm/0118.htm"), QStringLiteral("files.ini"),
                       QStringLiteral("tavio"), QStringLiteral("tavio.old")}
        << QString() << QByteArray() << QByteArray();
    QTest::newRow("cannot move the program aside")
        << whole << false << QStringLiteral("tavio.old") << t << true << QList<bool>{} << QStringList{rename}
        << QStringList{}
        << QStringList{QStringLiteral("Htm"), QStringLiteral("tavi"), QStringLiteral("tavio"), QStringLiteral("tavio.old"),
                       QStringLiteral("update.ini")}
        << QString() << QByteArray() << QByteArray();
    // Started under another name, with a program file of the usual name beside it:
    // the new one cannot take that name, and the old one comes back.
    QTest::newRow("cannot put the new program in place")
        << whole << false << QStringLiteral("tavio") << QStringLiteral("tavio-run") << true << QList<bool>{}
        << QStringList{rename} << QStringList{}
        << QStringList{QStringLiteral("Htm"), QStringLiteral("tavi"), QStringLiteral("tavio"), QStringLiteral("tavio-run"),
                       QStringLiteral("update.ini")}
        << QString() << QByteArray() << QByteArray();
    const QByteArray wholeHash = QCryptographicHash::hash(whole.body, QCryptographicHash::Sha256).toHex();
    QTest::newRow("announced and whole")
        << whole << false << QString() << t << true << QList<bool>{false} << QStringList{restart} << QStringList{}
        << swapped << QString() << "[program_file]\r\nsize=1462731\r\nsha256=" + wholeHash + "\r\n" << QByteArray();
    QTest::newRow("announced otherwise")
        << whole << false << QString() << t << true << QList<bool>{} << QStringList{failed} << QStringList{}
        << untouched << "tavi: kontrolní součet nesouhlasí" << "[program_file]\r\nsize=1462731\r\nsha256=" + QByteArray(64, 'a') + "\r\n" << QByteArray();
    const QByteArray announcedWhole = "[program_file]\r\nsize=1462731\r\nsha256=" + wholeHash + "\r\n";
    QTest::newRow("signed") << whole << false << QString() << t << true << QList<bool>{false} << QStringList{restart}
                            << QStringList{} << swapped << QString() << announcedWhole
                            << QByteArray("HvwHu1VFN4yUVaoVT3X9bWRDR/pLSR8lGGdA/BvyAzw9bDUVSUHmcFuJcmuXpSY2yxMvjSz/C5AlW/ph4A0TDw==");
    const QString refused = QStringLiteral("Nová verze programu nebude stažena: soubor update.ini není platně podepsán "
                                           "nebo neuvádí velikost a kontrolní součet programu.");
    QTest::newRow("not signed") << whole << false << QString() << t << true << QList<bool>{} << QStringList{refused}
                                << QStringList{} << untouched + QStringList{QStringLiteral("update.ini")} << refused
                                << announcedWhole << QByteArray("-");
    QTest::newRow("signed otherwise")
        << whole << false << QString() << t << true << QList<bool>{} << QStringList{refused} << QStringList{}
        << untouched + QStringList{QStringLiteral("update.ini")} << refused << announcedWhole + "\r\n"
        << QByteArray("HvwHu1VFN4yUVaoVT3X9bWRDR/pLSR8lGGdA/BvyAzw9bDUVSUHmcFuJcmuXpSY2yxMvjSz/C5AlW/ph4A0TDw==");
    QTest::newRow("cut off") << cut << false << QString() << t << true << QList<bool>{} << QStringList{failed}
                             << QStringList{} << untouched << "Nelze stáhnout soubor nové verze programu !" << QByteArray() << QByteArray();
    QTest::newRow("error page") << page << false << QString() << t << true << QList<bool>{} << QStringList{failed}
                                << QStringList{} << untouched << "Server odmítl soubor tavi: HTTP 404 Not Found" << QByteArray() << QByteArray();
}

void TestUpdateSession::program()
{
    QFETCH(Reply, reply);
    QFETCH(bool, files);
    QFETCH(QString, blocker);
    QFETCH(QString, started);
    QFETCH(bool, settled);
    QFETCH(QList<bool>, answers);
    QFETCH(QStringList, messages);
    QFETCH(QStringList, calls);
    QFETCH(QStringList, folder);
    QFETCH(QString, logged);
    QFETCH(QByteArray, announced);
    QFETCH(QByteArray, signature);
    World world;
    world.serve(QStringLiteral("update.ini"), updateIni("1.0.13.600", 118) + announced);
    world.serve(QStringLiteral("files.ini"), filesIni(118, {{QStringLiteral("0118.htm"), QString(), {}}}));
    world.serve(QStringLiteral("htm/0118"), "c");
    world.server.setReply("/tavio", reply);
    world.settleAnswer = settled;
    if (started != QLatin1String("tavio"))
        QVERIFY(QFile::rename(world.prog + QStringLiteral("tavio"), world.prog + started));
    if (!blocker.isEmpty())
        testfiles::write(world.prog + blocker, "other");
    UpdateHost h = world.host();
    h.programFile = world.prog + started;
    if (!signature.isEmpty())
        h.updateKey = TestKey;
    if (!signature.isEmpty() && signature != "-")
        world.serve(QStringLiteral("update.ini.sig"), signature + "\n");
    Run run(world, h);
    run.prompt.answers = answers;
    QString lastSize;
    connect(run.session.htpgPgm(), &THTTPGet::OnProgress, this, [&] { lastSize = run.session.panelText(1); });
    QVERIFY(run.runToEnd(true, files));

    QCOMPARE(run.prompt.texts().size(), messages.size());
    for (int i = 0; i < messages.size(); ++i)
        QVERIFY2(run.prompt.texts()[i].startsWith(messages[i]), qPrintable(run.prompt.texts()[i]));
    QStringList got;
    for (const QString& c : std::as_const(world.calls))
        got << (c.contains(QLatin1Char(':')) ? c.section(QLatin1Char(':'), 0, 0) + QLatin1Char(':') : c);
    QCOMPARE(got, calls);
    if (calls.contains(QStringLiteral("start:")))
        QVERIFY(world.calls.contains(QStringLiteral("start:") + world.prog + QStringLiteral("tavio")));
    QCOMPARE(tree(world.prog), folder);
    if (!logged.isEmpty())
        QVERIFY2(run.log.contains(logged), qPrintable(run.logText()));
    // The program that was started is where it was, or swapped for the new one.
    const bool swapped = folder.contains(QStringLiteral("tavio.old")) && blocker.isEmpty();
    QCOMPARE(testfiles::read(world.prog + QStringLiteral("tavio")).startsWith(ProgramBytes), swapped);
    if (!swapped && started != QLatin1String("tavio"))
        QCOMPARE(testfiles::read(world.prog + started), QByteArray("old program"));
    if (folder.contains(QStringLiteral("tavi")))
        QVERIFY(QFileInfo(world.prog + QStringLiteral("tavi")).isExecutable()); // ready to be renamed by hand
    if (swapped) {
        QVERIFY(QFileInfo(world.prog + QStringLiteral("tavio")).isExecutable());
        QCOMPARE(lastSize, QStringLiteral("1462,70 kb/1462,70 kb"));
        QCOMPARE(run.session.RestartRequested(), answers.value(0));
    }
}

void TestUpdateSession::stopDuringProgram()
{
    World world;
    world.serve(QStringLiteral("update.ini"), updateIni("1.0.13.600", 0));
    Reply stall;
    stall.kind = Reply::Kind::Stall;
    stall.body = ProgramBytes + QByteArray(100000, 'b');
    stall.sent = 3000;
    world.server.setReply("/tavio", stall);
    Run run(world);
    run.session.start(UpdateOptions{true, false});
    QVERIFY(waitFor([&] { return run.session.panelText(1).endsWith(QStringLiteral(" kb/100,02 kb")); }, 10000));
    QVERIFY(!run.session.mayClose()); // not while the program comes
    run.prompt.answers = {true};
    run.session.abort();
    QVERIFY(waitFor([&] { return run.idle(); }));
    QCOMPARE(run.prompt.texts().last(), QStringLiteral("Nelze stáhnout soubor nové verze programu"));
    QCOMPARE(tree(world.prog), QStringList({QStringLiteral("Htm"), QStringLiteral("tavio")}));
    QCOMPARE(testfiles::read(world.prog + QStringLiteral("tavio")), QByteArray("old program"));
}

void TestUpdateSession::refusedConnection()
{
    World world;
    UpdateHost h = world.host();
    quint16 port;
    {
        QTcpServer s;
        s.listen(QHostAddress::LocalHost);
        port = s.serverPort();
    }
    h.addresses.updateIni = QStringLiteral("127.0.0.1:%1/update.ini").arg(port);
    h.serverNote = QStringLiteral("Server aktualizací: http://127.0.0.1/");
    testfiles::write(world.prog + QStringLiteral("update.ini"), "stale");
    Run run(world, h);
    QVERIFY(run.runToEnd());
    QCOMPARE(run.prompt.texts(), QStringList{QStringLiteral("Nelze stáhnout soubor s informacemi")});
    QCOMPARE(run.logText(), QStringLiteral("Připojování se k serveru ...|Server aktualizací: http://127.0.0.1/|Připojení "
                                           "k serveru selhalo !|Nelze stáhnout soubor s informacemi"));
    QCOMPARE(run.kinds.value(2), UpdateSession::LogKind::Error);
    QVERIFY(!QFile::exists(world.prog + QStringLiteral("update.ini")));
}

void TestUpdateSession::signedList_data()
{
    QTest::addColumn<QByteArray>("signature"); // files.ini.sig; empty: none served
    QTest::addColumn<QString>("logged");
    QTest::addColumn<bool>("fetched"); // the chapter arrived
    QTest::newRow("signed") << QByteArray("eZMSVB1p3YF/ShcxpOGd2rMC80UpaHgGEReQY8+0C3Cc/qWvoLh1Z2cC42u5n4fQVS6BOE6CzOOuQ8AdZBpVBg==")
                            << QString() << true;
    QTest::newRow("not signed") << QByteArray() << "Seznam souborů není podepsán." << true;
    QTest::newRow("signed otherwise")
        << QByteArray("HvwHu1VFN4yUVaoVT3X9bWRDR/pLSR8lGGdA/BvyAzw9bDUVSUHmcFuJcmuXpSY2yxMvjSz/C5AlW/ph4A0TDw==")
        << "Podpis seznamu souborů nesouhlasí." << false;
}

void TestUpdateSession::signedList()
{
    QFETCH(QByteArray, signature);
    QFETCH(QString, logged);
    QFETCH(bool, fetched);
    World world;
    world.serve(QStringLiteral("update.ini"), updateIni("1.0.12.550", 118));
    world.serve(QStringLiteral("files.ini"), filesIni(118, {{QStringLiteral("0118.htm"), QString(), {}}}));
    world.serve(QStringLiteral("htm/0118"), "c");
    if (!signature.isEmpty())
        world.serve(QStringLiteral("files.ini.sig"), signature);
    UpdateHost h = world.host();
    h.updateKey = TestKey;
    Run run(world, h);
    QVERIFY(run.runToEnd());
    QCOMPARE(QFileInfo::exists(world.local(QStringLiteral("0118.htm"))), fetched);
    for (const QString& line : {QStringLiteral("Seznam souborů není podepsán."), QStringLiteral("Podpis seznamu souborů nesouhlasí.")})
        QCOMPARE(run.log.contains(line), line == logged);
}

QTEST_MAIN(TestUpdateSession)
#include "tst_updatesession.moc"
