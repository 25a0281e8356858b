#include "Catalogue.h"
#include "ChapterTree.h"
#include "Cp1250.h"
#include "UpdateSignature.h"
#include "UpdateWorld.h"
#include "IniFile.h"
#include "MainTypes.h"
#include "Profile.h"
#include "RecordingMessages.h"
#include "ShellOpener.h"
#include "THTTPGet.h"
#include "TestFiles.h"
#include "update/TfrmUpdate.h"
#include "update/UserInfoView.h"
#include "widgets/BalloonHint.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QProgressBar>
#include <QPushButton>
#include <QStatusBar>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QToolButton>

using namespace tavio;
using testhttp::Reply;
using updateworld::filesIni;
using updateworld::updateIni;
using updateworld::waitFor;

namespace {

QString pick(ProfileId id)
{
    return P(id);
}

// The update's world, with message boxes that answer themselves and the window.
struct World : updateworld::World
{
    std::unique_ptr<RecordingMessages> messages = std::make_unique<RecordingMessages>();

    std::unique_ptr<TfrmUpdate> open(UpdateHost h)
    {
        auto w = std::make_unique<TfrmUpdate>(std::move(h));
        w->setRestartDelay(0);
        w->setNoAnswerStopDelay(200);
        w->show();
        return w;
    }
    std::unique_ptr<TfrmUpdate> open() { return open(host()); }
};

bool anyBusy(const TfrmUpdate& w)
{
    for (THTTPGet* c : {w.htpgIniFile(), w.htpgPgm(), w.htpgIniFiles(), w.htpgFiles(), w.htpgSubFiles(),
                        w.htpgWhatsNew(), w.htpgUserInfo()})
        if (c->isBusy())
            return true;
    return false;
}

// With TAVIO_SHOTS set, a picture of the window for the reviewer (no check).
void shoot(QWidget* w, const char* name)
{
    const QString folder = qEnvironmentVariable("TAVIO_SHOTS");
    if (!folder.isEmpty())
        w->grab().save(folder + QLatin1Char('/') + QLatin1String(name) + QStringLiteral(".png"));
}

bool idle(const TfrmUpdate& w)
{
    return w.UpdateIdle() && !anyBusy(w);
}

bool runToEnd(TfrmUpdate& w)
{
    w.btnUpdateClick();
    return waitFor([&] { return idle(w); });
}

QString logText(const TfrmUpdate& w)
{
    QStringList texts;
    for (const QString& line : w.logLines())
        texts << line.mid(line.indexOf(QLatin1String("] ")) + 2);
    return texts.join(QLatin1Char('|'));
}

} // namespace

class TestUpdate final : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void controls();
    void options();
    void helpFile_data();
    void helpFile();
    void hangingServer();
    void programPanels();
    void refusedConnection();
    void userInfo();
    void saveLog();
    void menuCommand();
    void standardServer();
};

void TestUpdate::initTestCase()
{
    for (const char* v : {"http_proxy", "HTTP_PROXY", "all_proxy", "ALL_PROXY"})
        qunsetenv(v);
}

void TestUpdate::controls()
{
    World world;
    auto w = world.open();
    QCOMPARE(w->windowTitle(), pick(ProfileId::ApplicationTitle) + QStringLiteral(" 1.0.12.550 - aktualizace"));
    QVERIFY(w->width() >= 388 && w->height() >= 412);
    // The design size is the least; the window grows and the log takes the room.
    QVERIFY(w->minimumSize().height() < w->height());
    const int logHeight = w->lbProcess()->height();
    w->resize(w->width() + 100, w->height() + 200);
    QTRY_VERIFY(w->lbProcess()->height() > logHeight + 100);

    QVERIFY(!w->chbProgUpdate()->isChecked());
    QVERIFY(w->chbFilesUpdate()->isChecked());
    QVERIFY(w->btnUpdate()->isDefault());
    QVERIFY(!w->btnAbort()->isEnabled());
    QVERIFY(!w->btnSaveLog()->isEnabled());
    QCOMPARE(w->lblExeDownload()->toolTip(), QStringLiteral("http://") + world.server.address(QStringLiteral("/tavio")));
    QCOMPARE(w->bhUpdate()->header(), pick(ProfileId::ApplicationTitle));
    QVERIFY(w->bhUpdate()->isEnabled());

    // Hints follow the main window's option; a hint shows as a balloon.
    UpdateHost quiet = world.host();
    quiet.showHints = false;
    auto q = world.open(quiet);
    QVERIFY(!q->bhUpdate()->isEnabled());
    w->bhUpdate()->showFor(w->lblExeDownload());
    QCOMPARE(w->bhUpdate()->shownText(), w->lblExeDownload()->toolTip());

    // The manual download link opens the program's address.
    QList<QUrl> opened;
    ShellOpener::setHandler([&](const QUrl& u) {
        opened << u;
        return true;
    });
    QTest::mouseClick(w->lblExeDownload(), Qt::LeftButton);
    ShellOpener::setHandler({});
    QCOMPARE(opened, QList<QUrl>{QUrl(QStringLiteral("http://") + world.server.address(QStringLiteral("/tavio")))});
}

void TestUpdate::options()
{
    World world;
    auto w = world.open();
    w->chbFilesUpdate()->setChecked(false);
    QVERIFY(w->chbProgUpdate()->isChecked());
    QTest::mouseClick(w->chbProgUpdate(), Qt::LeftButton);
    QVERIFY(!w->chbProgUpdate()->isChecked());
    QVERIFY(w->chbFilesUpdate()->isChecked());

    UpdateHost finished = world.host();
    finished.serialFinished = true;
    auto f = world.open(finished);
    QVERIFY(f->chbProgUpdate()->isChecked());
    QVERIFY(!f->chbFilesUpdate()->isChecked());
    QVERIFY(!f->chbProgUpdate()->isEnabled());
    QVERIFY(!f->chbFilesUpdate()->isEnabled());
    QCOMPARE(f->panelText(0), QStringLiteral("Aktualizace souborů není aktivní - seriál byl ukončen."));
}

void TestUpdate::helpFile_data()
{
    QTest::addColumn<int>("size"); // -1: no help file
    QTest::addColumn<bool>("shown");
    QTest::addColumn<QString>("hint");
    const QString br = pick(ProfileId::LineBreak);
    QTest::newRow("missing") << -1 << true
                             << QStringLiteral("V pracovním adresáři programu nebyl nalezen soubor s nápovědou.") + br
            + QStringLiteral("Tento soubor si můžete stáhnout kliknutím na tento odkaz.");
    QTest::newRow("current") << Profile::instance().integer(ProfileId::HelpFileSize) << false << QString();
    QTest::newRow("other version") << 1000 << true
                                   << QStringLiteral("V pracovním adresáři programu byl nalezen soubor s nápovědou,") + br
            + QStringLiteral("která neodpovídá aktuální verzi programu.") + br
            + QStringLiteral("Aktuální soubor nápovědy si můžete stáhnout kliknutím na tento odkaz.");
}

void TestUpdate::helpFile()
{
    QFETCH(int, size);
    QFETCH(bool, shown);
    QFETCH(QString, hint);
    World world;
    if (size >= 0)
        testfiles::write(world.prog + pick(ProfileId::HelpFileName), QByteArray(size, 'h'));
    auto w = world.open();
    QCOMPARE(w->lblHelpDownload()->isVisible(), shown);
    if (!shown)
        return;
    QCOMPARE(w->lblHelpDownload()->toolTip(), hint);
    QList<QUrl> opened;
    ShellOpener::setHandler([&](const QUrl& u) {
        opened << u;
        return true;
    });
    w->lblHelpDownloadClick();
    ShellOpener::setHandler({});
    QCOMPARE(world.messages->texts(),
             QStringList{QStringLiteral("Po stažení rozbalte soubor nápovědy [help.zip] do adresáře,\r\nkam byl program ")
                         + pick(ProfileId::ApplicationTitle) + QStringLiteral(" nainstalován.")});
    QCOMPARE(opened.size(), 1);
}

void TestUpdate::hangingServer()
{
    World world;
    Reply hang;
    hang.kind = Reply::Kind::Hang;
    world.server.setReply("/update.ini", hang);
    auto w = world.open();
    w->btnUpdateClick();
    QVERIFY(!w->btnAbort()->isEnabled());
    QVERIFY(!w->close());
    QVERIFY(w->isVisible());
    // The stop is offered once the server keeps silent, and ends the wait.
    QVERIFY(QTest::qWaitFor([&] { return w->btnAbort()->isEnabled(); }, 5000));
    world.messages->answers = {MsgResult::Yes};
    QTest::mouseClick(w->btnAbort(), Qt::LeftButton);
    QVERIFY(w->AbortRequested());
    QVERIFY(waitFor([&] { return idle(*w); }));
    QCOMPARE(world.messages->texts().last(), QStringLiteral("Nelze stáhnout soubor s informacemi"));

    // Hanging again: after the stop the window closes at once, the transfer with it.
    w->btnUpdateClick();
    QTest::qWait(300);
    world.messages->answers = {MsgResult::Yes};
    w->btnAbortClick();
    QVERIFY(w->close());
    QVERIFY(!w->isVisible());
}

void TestUpdate::programPanels()
{
    // During the program download the step text and the sizes stand side by side.
    World world;
    world.serve(QStringLiteral("update.ini"), updateIni("1.0.13.600", 0));
    world.serve(QStringLiteral("whats.new"), "Verze 1.0.13.600\r\n\r\n- Aktualizace stahuje nov\xe9 d\xedly.\r\n");
    Reply stall;
    stall.kind = Reply::Kind::Stall;
    stall.body = updateworld::ProgramBytes + QByteArray(1462731, 'b');
    stall.sent = 24532;
    world.server.setReply("/tavio", stall);
    auto w = world.open();
    w->chbProgUpdate()->setChecked(true);
    w->chbFilesUpdate()->setChecked(false);
    w->btnUpdateClick();
    QVERIFY(waitFor([&] { return w->panelText(1) == QStringLiteral("23,58 kb/1462,70 kb"); }, 10000));
    QVERIFY(waitFor([&] { return !w->reWhatsNew()->toPlainText().isEmpty(); }, 10000));
    QStatusBar* bar = w->stbDownload();
    const QList<QLabel*> panels = bar->findChildren<QLabel*>(Qt::FindDirectChildrenOnly);
    QCOMPARE(panels.size(), 2);
    QTRY_VERIFY(panels[1]->width() >= panels[1]->sizeHint().width());
    QVERIFY(!panels[0]->geometry().intersects(panels[1]->geometry()));
    shoot(w.get(), "update-program-download");
    w->resize(640, 700);
    QTest::qWait(50);
    shoot(w.get(), "update-program-download-larger");
    world.messages->answers = {MsgResult::Yes};
    w->btnAbortClick();
    QVERIFY(waitFor([&] { return idle(*w); }));
}

void TestUpdate::refusedConnection()
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
    testfiles::write(world.prog + QStringLiteral("update.ini"), "stale");
    auto w = world.open(h);
    QVERIFY(runToEnd(*w));
    QCOMPARE(world.messages->texts(), QStringList{QStringLiteral("Nelze stáhnout soubor s informacemi")});
    QCOMPARE(logText(*w), QStringLiteral("Připojování se k serveru ...|Připojení k serveru selhalo !|Nelze stáhnout "
                                         "soubor s informacemi"));
    QCOMPARE(w->lbProcess()->item(1)->data(Qt::UserRole).toInt(), int(TfrmUpdate::LogKind::Error));
    QVERIFY(!QFile::exists(world.prog + QStringLiteral("update.ini")));
    QVERIFY(w->btnUpdate()->isEnabled() && w->btnClose()->isEnabled() && !w->btnAbort()->isEnabled());
}

void TestUpdate::userInfo()
{
    World world;
    const QString nfo = world.prog + pick(ProfileId::UserInfoFileName);
    world.serve(QStringLiteral("update.ini"), updateIni("1.0.13.600", 0));
    {
        auto w = world.open(); // first use: nothing to show
        QCOMPARE(w->seUserInfo()->lines(), QStringList{});
    }
    world.serve(QStringLiteral("user.nfo"), cp1250::fromUnicode(QStringLiteral(
                                                "  \r\nNový díl vyjde v pondělí, viz www.kodovna.example/python.\r\n"
                                                "Dotazy: redakce@kodovna.example\r\n\r\n")));
    world.serve(QStringLiteral("whats.new"), cp1250::fromUnicode(QStringLiteral("Oprava tisku")));
    {
        auto w = world.open();
        QVERIFY(runToEnd(*w));
        QCOMPARE(w->reWhatsNew()->toPlainText(), QStringLiteral("Oprava tisku"));
        QCOMPARE(testfiles::read(nfo), cp1250::fromUnicode(QStringLiteral(
                                           "Nový díl vyjde v pondělí, viz www.kodovna.example/python.\r\n"
                                           "Dotazy: redakce@kodovna.example\r\n")));
        QCOMPARE(w->seUserInfo()->links(), QStringList({QStringLiteral("http://www.kodovna.example/python"),
                                                        QStringLiteral("mailto:redakce@kodovna.example")}));
        QList<QUrl> opened;
        ShellOpener::setHandler([&](const QUrl& u) {
            opened << u;
            return true;
        });
        w->seUserInfo()->openLink(w->seUserInfo()->links().first());
        ShellOpener::setHandler({});
        QCOMPARE(opened.size(), 1);
        QVERIFY(w->seUserInfo()->isVisited(QStringLiteral("http://www.kodovna.example/python")));
        // Enter in the view presses the update button, Escape closes the window.
        world.server.requests.clear();
        QTest::keyClick(w->seUserInfo(), Qt::Key_Return);
        QVERIFY(!w->btnUpdate()->isEnabled());
        QVERIFY(waitFor([&] { return idle(*w); }));
        QCOMPARE(world.paths().value(0), QStringLiteral("/update.ini"));
        QTest::keyClick(w->seUserInfo(), Qt::Key_Escape);
        QVERIFY(!w->isVisible());
    }
    // Blanks only keep the saved text; a failed fetch adds a plain log line and keeps it too.
    world.serve(QStringLiteral("user.nfo"), " \r\n \t");
    Reply cut;
    cut.kind = Reply::Kind::Short;
    cut.body = "abcdef";
    cut.sent = 2;
    world.server.setReply("/whats.new", cut);
    {
        auto w = world.open();
        QVERIFY(runToEnd(*w));
        QCOMPARE(w->seUserInfo()->lines().size(), 2);
        QVERIFY(logText(*w).contains(QStringLiteral("Nelze stáhnout soubor s informacemi o nové verzi programu")));
    }
    world.server.setReply("/user.nfo", cut);
    {
        auto w = world.open();
        QVERIFY(runToEnd(*w));
        QCOMPARE(w->seUserInfo()->lines().size(), 2);
        QVERIFY(logText(*w).contains(QStringLiteral("Nelze stáhnout soubor s informacemi pro uživatele !")));
    }
    // A User.nfo that cannot be read shows the home page instead.
    QFile::remove(nfo);
    QDir().mkdir(nfo);
    auto w = world.open();
    QCOMPARE(w->seUserInfo()->lines(),
             QStringList({QStringLiteral("Domovská stránka programu:"), pick(ProfileId::HomePageUrl)}));
}

void TestUpdate::saveLog()
{
    World world;
    auto w = world.open();
    QList<SaveFileRequest> asked;
    const QString target = world.tmp.filePath(QStringLiteral("proces.log"));
    w->setSaveDialog([&](QWidget*, const SaveFileRequest& r) {
        asked << r;
        return target;
    });
    w->btnSaveLogClick();
    QCOMPARE(world.messages->texts(), QStringList{QStringLiteral("Proces stahování neobsahuje žádné údaje.")});
    QCOMPARE(world.messages->shown.first().icon, MsgIcon::Error);
    QVERIFY(asked.isEmpty());

    w->setClock([] { return QDateTime(QDate(2024, 5, 6), QTime(7, 8, 9)); });
    w->AddLogLine(QStringLiteral("Stahování souboru 0118.htm dokončeno"), TfrmUpdate::LogKind::Done);
    w->AddLogLine(QStringLiteral("Připojení k serveru selhalo !"), TfrmUpdate::LogKind::Error);
    QCOMPARE(w->lbProcess()->currentRow(), 1);
    w->btnSaveLogClick();
    QCOMPARE(asked.size(), 1);
    QCOMPARE(asked.first().filter, QStringLiteral("soubory [*.log]|*.log"));
    QCOMPARE(asked.first().defaultSuffix, QStringLiteral("log"));
    QCOMPARE(testfiles::read(target), cp1250::fromUnicode(QString(w->logLines().join(QStringLiteral("\r\n")) + QStringLiteral("\r\n"))));
    QVERIFY(w->logLines().first().contains(QStringLiteral(" [7:08:09] Stahování souboru 0118.htm dokončeno")));
}

void TestUpdate::menuCommand()
{
    World world;
    world.serve(QStringLiteral("update.ini"), updateIni("1.0.12.550", 118));
    world.serve(QStringLiteral("files.ini"), filesIni(118, {{QStringLiteral("0118.htm"), QString(), {}}}));
    Reply cut;
    cut.kind = Reply::Kind::Short;
    cut.body = "abcdef";
    cut.sent = 2;
    world.server.setReply("/htm/0118", cut);
    QWidget main;
    QPointer<TfrmUpdate> seen;
    QTimer::singleShot(0, &main, [&] {
        seen = qobject_cast<TfrmUpdate*>(QApplication::activeModalWidget());
        QVERIFY(seen);
        seen->btnUpdateClick();
        QVERIFY(waitFor([&] { return idle(*seen); }));
        testfiles::write(world.prog + QStringLiteral("update.ini"), "x");
        seen->close();
    });
    TfrmUpdate::run(&main, world.host());
    QVERIFY(seen.isNull());
    // The failed chapter download reloads the catalogue once the window has gone.
    QCOMPARE(world.calls, QStringList({QStringLiteral("rebuild:") + world.chapters, QStringLiteral("activate")}));
    QVERIFY(!QFile::exists(world.prog + QStringLiteral("update.ini")));
    QCOMPARE(testfiles::read(world.prog + pick(ProfileId::UserInfoFileName)), cp1250::fromUnicode(QStringLiteral("Zpráva\r\n")));
}

void TestUpdate::standardServer()
{
    // The demo series as a standard static server sends it, with the shipped chapters
    // in the chapter folder: the new chapters arrive whole.
    const QString python = QStandardPaths::findExecutable(QStringLiteral("python3"));
    if (python.isEmpty())
        QSKIP("python3 is not installed");
    quint16 port;
    {
        QTcpServer s;
        s.listen(QHostAddress::LocalHost);
        port = s.serverPort();
    }
    QTemporaryDir served;
    QProcess server;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("TAVIO_DEMO_PORT"), QString::number(port));
    env.insert(QStringLiteral("TAVIO_DEMO_DIR"), served.path());
    server.setProcessEnvironment(env);
    server.start(QStringLiteral(TAVIO_SOURCE_DIR "/scripts/serve-demo.sh"),
                 {QFileInfo(QStringLiteral(TAVIO_PROGRAM_DIR)).absolutePath()});
    QVERIFY(server.waitForStarted());
    QVERIFY(QTest::qWaitFor([&] {
        QTcpSocket s;
        s.connectToHost(QHostAddress::LocalHost, port);
        return s.waitForConnected(100);
    }, 20000));
    World world;
    QDir().rmdir(world.chapters);
    QVERIFY(QProcess::execute(QStringLiteral("cp"), {QStringLiteral("-r"), QStringLiteral(TAVIO_SOURCE_DIR "/data/Htm"),
                                                     world.chapters}) == 0);
    ChapterTree catalogue;
    BuildCatalogue(catalogue, world.chapters);
    UpdateHost h = world.host();
    h.updateKey = BuiltInUpdateKey(); // the demo series is signed with the demo key
    const QString base = QStringLiteral("127.0.0.1:%1").arg(port);
    h.addresses = {base + QStringLiteral("/update.ini"), base + QStringLiteral("/files.ini"), base + QStringLiteral("/tavio"),
                   base + QStringLiteral("/whats.new"),  base + QStringLiteral("/user.nfo"),  base + QStringLiteral("/htm/"),
                   base + QStringLiteral("/help.zip")};
    h.catalogueTree = [&]() -> const ChapterTree* { return &catalogue; };
    h.rebuildCatalogue = [&](const QString& f) { BuildCatalogue(catalogue, f); };
    const int before = CountLocalChapters(catalogue);
    auto w = world.open(h);
    QVERIFY(runToEnd(*w));
    server.terminate();
    server.waitForFinished();
    QCOMPARE(world.messages->texts(), QStringList{QStringLiteral("Stahování nových dílů seriálu bylo dokončeno.")});
    // The demo's sections follow the program's count: after the update nothing is new.
    QCOMPARE(CountLocalChapters(catalogue), w->LastFileIndex());
    const IniFile list = *IniFile::load(served.filePath(QStringLiteral("files.ini")));
    for (int i = 0; i <= w->LastFileIndex(); ++i) {
        const QString file = list.value(QString::number(i), QStringLiteral("file"));
        QVERIFY2(QFile::exists(world.local(file)), qPrintable(file));
        if (i <= before)
            continue; // a chapter the user had already
        QCOMPARE(testfiles::read(world.local(file)),
                 testfiles::read(served.filePath(QStringLiteral("htm/") + RemoveFileExt(file))));
    }
    QVERIFY(!w->seUserInfo()->lines().isEmpty());
    QVERIFY(!logText(*w).contains(QStringLiteral("podepsán")));
    QVERIFY(!logText(*w).contains(QStringLiteral("Podpis")));
}

QTEST_MAIN(TestUpdate)
#include "tst_update.moc"
