#include "Catalogue.h"
#include "ChapterTree.h"
#include "Cp1250.h"
#include "HttpTestServer.h"
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
#include <QDirIterator>
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
using testhttp::HttpTestServer;
using testhttp::Reply;

namespace {

const QByteArray ProgramBytes = QByteArray("\x7F" "ELF new program", 16);

QString pick(ProfileId id)
{
    return P(id);
}

// A chapter of files.ini: the file, its folder and its assets.
struct Section
{
    QString file;
    QString dir;
    QStringList assets;
};

QByteArray filesIni(int first, const QList<Section>& sections)
{
    QByteArray out;
    int n = first;
    for (const Section& s : sections) {
        out += "[" + QByteArray::number(n++) + "]\r\n";
        if (!s.file.isNull())
            out += "file=" + s.file.toUtf8() + "\r\n";
        if (!s.dir.isNull())
            out += "dir=" + s.dir.toUtf8() + "\r\n";
        for (int i = 0; i < s.assets.size(); ++i)
            out += "file" + QByteArray::number(i + 1) + "=" + s.assets[i].toUtf8() + "\r\n";
    }
    return out;
}

QByteArray updateIni(const QByteArray& version, int lastFileIndex)
{
    QByteArray out;
    if (!version.isEmpty()) {
        const QList<QByteArray> c = version.split('.');
        out += "[last_version]\r\nmajor=" + c[0] + "\r\nminor=" + c[1] + "\r\nrelease=" + c[2] + "\r\nbuild=" + c[3]
            + "\r\n";
    }
    return out + "[last_file_index]\r\nvalue=" + QByteArray::number(lastFileIndex) + "\r\n";
}

// A program folder with its chapter folder, a loopback server serving a folder, and
// a main window that records what the update asks of it.
struct World
{
    QTemporaryDir tmp;
    QString prog = tmp.filePath(QStringLiteral("prog/"));
    QString chapters = prog + QStringLiteral("Htm/");
    QString served = tmp.filePath(QStringLiteral("server/"));
    HttpTestServer server{served};
    int localChapters = 117; // what the catalogue counts
    QStringList calls;
    std::unique_ptr<RecordingMessages> messages = std::make_unique<RecordingMessages>();

    World()
    {
        QDir().mkpath(chapters);
        QDir().mkpath(served);
        testfiles::write(prog + QStringLiteral("tavio"), "old program");
        serve(QStringLiteral("user.nfo"), cp1250::fromUnicode(QStringLiteral("Zpráva")));
    }
    void serve(const QString& path, const QByteArray& bytes) { testfiles::write(served + path, bytes); }
    QString local(const QString& name) const { return chapters + name; }

    UpdateHost host()
    {
        UpdateHost h;
        h.layout = FileLayout(prog, tmp.filePath(QStringLiteral("data")));
        h.programFile = prog + QStringLiteral("tavio");
        const auto a = [this](const char* path) { return server.address(QLatin1String(path)); };
        h.addresses = {a("/update.ini"), a("/files.ini"), a("/tavio"), a("/whats.new"),
                       a("/user.nfo"),   a("/htm/"),      a("/help.zip")};
        h.chapterFolder = [this] { return chapters; };
        h.catalogueTree = [this]() -> const ChapterTree* {
            // A group node first, so that every chapter node counts.
            static ChapterTree tree;
            tree.clear();
            tree.addChild(nullptr, QStringLiteral("0000"), image::FolderClosed);
            for (int i = 0; i < localChapters; ++i)
                tree.addChild(nullptr, QStringLiteral("x.htm [ x ]"), image::Chapter);
            return &tree;
        };
        h.rebuildCatalogue = [this](const QString& f) { calls << QStringLiteral("rebuild:") + f; };
        h.refreshSearchList = [this] { calls << QStringLiteral("refresh"); };
        h.enableNextChapter = [this] { calls << QStringLiteral("next"); };
        h.showIniFile = [this](const QString& p) { calls << QStringLiteral("viewer:") + p; };
        h.releaseInstanceLock = [this] { calls << QStringLiteral("release"); };
        h.startProgram = [this](const QString& p) {
            calls << QStringLiteral("start:") + p;
            return true;
        };
        h.quit = [this] { calls << QStringLiteral("quit"); };
        h.activateChapterView = [this] { calls << QStringLiteral("activate"); };
        return h;
    }

    std::unique_ptr<TfrmUpdate> open(UpdateHost h)
    {
        auto w = std::make_unique<TfrmUpdate>(std::move(h));
        w->setRestartDelay(0);
        w->setNoAnswerStopDelay(200);
        w->show();
        return w;
    }
    std::unique_ptr<TfrmUpdate> open() { return open(host()); }

    // The requests the server took, as paths, without the side fetches.
    QStringList paths() const
    {
        QStringList out;
        for (const QByteArray& r : server.requests) {
            const QString p = QString::fromLatin1(r.split(' ').value(1));
            if (p != QLatin1String("/user.nfo") && p != QLatin1String("/whats.new"))
                out << p;
        }
        return out;
    }
};

bool anyBusy(const TfrmUpdate& w)
{
    for (THTTPGet* c : {w.htpgIniFile(), w.htpgPgm(), w.htpgIniFiles(), w.htpgFiles(), w.htpgSubFiles(),
                        w.htpgWhatsNew(), w.htpgUserInfo()})
        if (c->isBusy())
            return true;
    return false;
}

// Waits in a plain event loop: the worker's progress calls need the GUI thread at
// once, which QTest::qWaitFor's pauses between its rounds would hold up.
bool waitFor(const std::function<bool()>& done, int ms = 20000)
{
    QEventLoop loop;
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, &loop, [&] {
        if (done())
            loop.quit();
    });
    poll.start(5);
    QTimer::singleShot(ms, &loop, &QEventLoop::quit);
    if (!done())
        loop.exec();
    return done();
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

// Every file under a folder, relative to it.
QStringList tree(const QString& folder)
{
    QStringList out;
    QDirIterator it(folder, QDir::Files | QDir::Dirs | QDir::NoDotAndDotDot | QDir::Hidden, QDirIterator::Subdirectories);
    while (it.hasNext())
        out << QDir(folder).relativeFilePath(it.next());
    out.sort();
    return out;
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
    void check_data();
    void check();
    void chaptersInOrder();
    void chapterFails_data();
    void chapterFails();
    void stopDuringAssets();
    void program_data();
    void program();
    void stopDuringProgram();
    void hangingServer();
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
    QCOMPARE(w->minimumSize(), w->maximumSize());

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

void TestUpdate::check_data()
{
    QTest::addColumn<QByteArray>("descriptor");
    QTest::addColumn<bool>("program");
    QTest::addColumn<bool>("files");
    QTest::addColumn<QList<MsgResult>>("answers");
    QTest::addColumn<QStringList>("messages");
    QTest::addColumn<QString>("log");
    QTest::addColumn<QStringList>("calls");

    const QString fetched = QStringLiteral("Připojování se k serveru ...|Připojeno k serveru.|Stahování "
                                           "inicializačního souboru ...|Stahování inicializačního souboru dokončeno.");
    const QString noChapters = QStringLiteral("Nové díly seriálu nebyly nalezeny. Zkuste to prosím později.");
    const QString noVersion = QStringLiteral("Nová verze programu nebyla nalezena. Zkuste to prosím později.");
    const QString formatError = QStringLiteral("Chyba formátu inicializačního souboru. Chcete tento soubor zobrazit?");

    QTest::newRow("nothing new") << updateIni("1.0.12.550", 117) << false << true << QList<MsgResult>{}
                                 << QStringList{noChapters} << fetched + QStringLiteral("|Nové díly seriálu nebyly nalezeny.")
                                 << QStringList{};
    QTest::newRow("fewer chapters on the server") << updateIni("1.0.12.550", 20) << false << true
                                                  << QList<MsgResult>{} << QStringList{noChapters}
                                                  << fetched + QStringLiteral("|Nové díly seriálu nebyly nalezeny.")
                                                  << QStringList{};
    QTest::newRow("no new version, then chapters") << updateIni("1.0.12.550", 117) << true << true
                                                   << QList<MsgResult>{} << QStringList{noVersion, noChapters}
                                                   << fetched + QStringLiteral("|Nová verze programu nebyla nalezena.|"
                                                                               "Nové díly seriálu nebyly nalezeny.")
                                                   << QStringList{};
    QTest::newRow("only major, older") << QByteArray("[last_version]\r\nmajor=1\r\n") << true << false
                                       << QList<MsgResult>{} << QStringList{noVersion}
                                       << fetched + QStringLiteral("|Nová verze programu nebyla nalezena.")
                                       << QStringList{};
    QTest::newRow("format error, viewed") << QByteArray("<html>not an ini</html>") << true << true
                                          << QList<MsgResult>{MsgResult::Yes} << QStringList{formatError}
                                          << fetched + QStringLiteral("|Chyba formátu inicializačního souboru !")
                                          << QStringList{QStringLiteral("viewer")};
    // Without the section only an empty catalogue would have new chapters.
    QTest::newRow("format error, files only") << QByteArray("garbage") << false << true
                                              << QList<MsgResult>{MsgResult::No} << QStringList{formatError}
                                              << fetched + QStringLiteral("|Chyba formátu inicializačního souboru !")
                                              << QStringList{};
}

void TestUpdate::check()
{
    QFETCH(QByteArray, descriptor);
    QFETCH(bool, program);
    QFETCH(bool, files);
    QFETCH(QList<MsgResult>, answers);
    QFETCH(QStringList, messages);
    QFETCH(QString, log);
    QFETCH(QStringList, calls);
    World world;
    world.serve(QStringLiteral("update.ini"), descriptor);
    world.messages->answers = answers;
    auto w = world.open();
    w->chbProgUpdate()->setChecked(program);
    w->chbFilesUpdate()->setChecked(files);
    QVERIFY(runToEnd(*w));
    QCOMPARE(world.messages->texts(), messages);
    QCOMPARE(logText(*w), log);
    QStringList got;
    for (const QString& c : std::as_const(world.calls))
        got << c.section(QLatin1Char(':'), 0, 0);
    QCOMPARE(got, calls);
    if (!calls.isEmpty())
        QCOMPARE(world.calls.first(), QStringLiteral("viewer:") + world.prog + QStringLiteral("update.ini"));
    // Only the descriptor was asked for; nothing new means no working files left.
    QCOMPARE(world.paths(), QStringList{QStringLiteral("/update.ini")});
    QVERIFY(!QFile::exists(world.prog + QStringLiteral("update.ini")));
    QVERIFY(w->btnClose()->isEnabled() && w->btnUpdate()->isEnabled() && !w->btnAbort()->isEnabled());
    QCOMPARE(w->panelText(0), QString());
}

void TestUpdate::chaptersInOrder()
{
    World world;
    world.serve(QStringLiteral("update.ini"), updateIni("1.0.12.550", 120));
    world.serve(QStringLiteral("files.ini"),
                filesIni(118, {{QStringLiteral("0118.htm"), QStringLiteral("0118_soubory\\"),
                                {QStringLiteral("a.gif"), QStringLiteral("b.png")}},
                               {QStringLiteral("0119.htm"), QStringLiteral("0119_soubory"), {}},
                               {QStringLiteral("0120.htm"), QStringLiteral("0120_soubory"), {QStringLiteral("c.gif")}}}));
    for (const char* f : {"htm/0118", "htm/0118_soubory/a.gif", "htm/0118_soubory/b.png", "htm/0119", "htm/0120",
                          "htm/0120_soubory/c.gif"})
        world.serve(QLatin1String(f), QByteArray(f));
    world.serve(QStringLiteral("user.nfo"), "Ahoj");
    QString panelAtRebuild;
    TfrmUpdate* shown = nullptr;
    UpdateHost h = world.host();
    const auto rebuild = h.rebuildCatalogue;
    h.rebuildCatalogue = [&](const QString& f) {
        panelAtRebuild = shown->panelText(0);
        rebuild(f);
    };
    auto w = world.open(h);
    shown = w.get();
    QVERIFY(runToEnd(*w));

    QCOMPARE(world.paths(), QStringList({QStringLiteral("/update.ini"), QStringLiteral("/files.ini"),
                                         QStringLiteral("/htm/0118"), QStringLiteral("/htm/0118_soubory/a.gif"),
                                         QStringLiteral("/htm/0118_soubory/b.png"), QStringLiteral("/htm/0119"),
                                         QStringLiteral("/htm/0120"), QStringLiteral("/htm/0120_soubory/c.gif")}));
    QCOMPARE(tree(world.chapters),
             QStringList({QStringLiteral("0118.htm"), QStringLiteral("0118_soubory"), QStringLiteral("0118_soubory/a.gif"),
                          QStringLiteral("0118_soubory/b.png"), QStringLiteral("0119.htm"), QStringLiteral("0119_soubory"),
                          QStringLiteral("0120.htm"), QStringLiteral("0120_soubory"),
                          QStringLiteral("0120_soubory/c.gif")}));
    QCOMPARE(testfiles::read(world.local(QStringLiteral("0118_soubory/b.png"))), QByteArray("htm/0118_soubory/b.png"));
    QCOMPARE(world.messages->texts(), QStringList{QStringLiteral("Stahování nových dílů seriálu bylo dokončeno.")});
    QCOMPARE(world.calls, QStringList({QStringLiteral("rebuild:") + world.chapters, QStringLiteral("refresh"),
                                       QStringLiteral("next")}));
    // The last asset came on the second component: the panel texts without " ...".
    QCOMPARE(panelAtRebuild, QStringLiteral("Aktualizuji seznam souborů"));
    QVERIFY(QFile::exists(world.prog + QStringLiteral("files.ini")));
    QVERIFY(!w->CatalogueChanged());
    QVERIFY(logText(*w).endsWith(QStringLiteral("Stahování souboru c.gif...|Stahování souboru c.gif dokončeno")));
    QCOMPARE(w->seUserInfo()->lines(), QStringList{QStringLiteral("Ahoj")});
    QCOMPARE(testfiles::read(world.prog + pick(ProfileId::UserInfoFileName)), QByteArray("Ahoj\r\n"));
}

void TestUpdate::chapterFails_data()
{
    QTest::addColumn<QByteArray>("list");
    QTest::addColumn<QStringList>("before"); // files in the chapter folder before the run
    QTest::addColumn<QString>("cutOff");     // served path whose body is cut off
    QTest::addColumn<QStringList>("after");
    QTest::addColumn<QString>("logged"); // a log line the run must show

    const QList<Section> two{{QStringLiteral("0118.htm"), QStringLiteral("0118_soubory"), {QStringLiteral("a.gif")}},
                             {QStringLiteral("0119.htm"),
                              QStringLiteral("0119_soubory"),
                              {QStringLiteral("a.gif"), QStringLiteral("b.gif"), QStringLiteral("c.gif")}}};
    const QStringList first{QStringLiteral("0118.htm"), QStringLiteral("0118_soubory"),
                            QStringLiteral("0118_soubory/a.gif")};
    QTest::newRow("third asset cut off") << filesIni(118, two) << QStringList{} << "/htm/0119_soubory/c.gif" << first
                                         << "Nelze stáhnout nové díly seriálu";
    QTest::newRow("chapter cut off, old copy stays")
        << filesIni(118, two) << QStringList{QStringLiteral("0118.htm"), QStringLiteral("0118_soubory/old.gif")}
        << "/htm/0118" << QStringList{QStringLiteral("0118.htm"), QStringLiteral("0118_soubory"), QStringLiteral("0118_soubory/old.gif")}
        << "Nelze stáhnout nové díly seriálu !";
    QTest::newRow("asset cut off in an old folder")
        << filesIni(118, two) << QStringList{QStringLiteral("0119_soubory/old.gif")} << "/htm/0119_soubory/b.gif"
        << first + QStringList{QStringLiteral("0119_soubory"), QStringLiteral("0119_soubory/old.gif")}
        << "Nelze stáhnout nové díly seriálu !";
    QTest::newRow("section without file") << filesIni(118, {{QString(), QStringLiteral("0118_soubory"), {}}})
                                          << QStringList{} << QString() << QStringList{}
                                          << "Nelze stáhnout nové díly seriálu !";
    QTest::newRow("file leaves the folder") << filesIni(118, {{QStringLiteral("../evil.htm"), QString(), {}}})
                                            << QStringList{} << QString() << QStringList{}
                                            << "Seznam souborů uvádí v oddílu [118] nepřípustný název "
                                               "file=\"../evil.htm\" (vede mimo adresář se soubory)";
    QTest::newRow("absolute file") << filesIni(118, {{QStringLiteral("/tmp/evil.htm"), QString(), {}}})
                                   << QStringList{} << QString() << QStringList{}
                                   << "Seznam souborů uvádí v oddílu [118] nepřípustný název file=\"/tmp/evil.htm\" "
                                      "(vede mimo adresář se soubory)";
    QTest::newRow("dir leaves the folder")
        << filesIni(118, {{QStringLiteral("0118.htm"), QStringLiteral("..\\..\\"), {QStringLiteral("a.gif")}}})
        << QStringList{} << QString() << QStringList{}
        << "Seznam souborů uvádí v oddílu [118] nepřípustný název dir=\"..\\..\\\" (vede mimo adresář se soubory)";
    QTest::newRow("drive in an asset")
        << filesIni(118, {{QStringLiteral("0118.htm"), QStringLiteral("0118_soubory"), {QStringLiteral("C:evil.gif")}}})
        << QStringList{} << QString() << QStringList{}
        << "Seznam souborů uvádí v oddílu [118] nepřípustný název file1=\"C:evil.gif\" (vede mimo adresář se soubory)";
}

void TestUpdate::chapterFails()
{
    QFETCH(QByteArray, list);
    QFETCH(QStringList, before);
    QFETCH(QString, cutOff);
    QFETCH(QStringList, after);
    QFETCH(QString, logged);
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
    auto w = world.open();
    QVERIFY(runToEnd(*w));
    QCOMPARE(tree(world.chapters), after);
    for (const QString& f : before)
        QCOMPARE(testfiles::read(world.local(f)), QByteArray("old"));
    QVERIFY2(logText(*w).split(QLatin1Char('|')).contains(logged), qPrintable(logText(*w)));
    QVERIFY(world.messages->texts().last().startsWith(QStringLiteral("Nelze stáhnout nové díly seriálu")));
    QVERIFY(w->CatalogueChanged());
    QVERIFY(!QFile::exists(world.prog + QStringLiteral("files.ini")));
    QVERIFY(world.calls.isEmpty()); // no finish, no reload yet
    // Nothing lands outside the chapter folder.
    QCOMPARE(tree(world.tmp.path()).filter(QRegularExpression(QStringLiteral("^(?!server/).*evil"))), QStringList{});
}

void TestUpdate::stopDuringAssets()
{
    World world;
    const QStringList five{QStringLiteral("1.gif"), QStringLiteral("2.gif"), QStringLiteral("3.gif"),
                           QStringLiteral("4.gif"), QStringLiteral("5.gif")};
    world.serve(QStringLiteral("update.ini"), updateIni("1.0.12.550", 119));
    world.serve(QStringLiteral("files.ini"), filesIni(118, {{QStringLiteral("0118.htm"), QStringLiteral("d"), five},
                                                            {QStringLiteral("0119.htm"), QStringLiteral("e"), {}}}));
    world.serve(QStringLiteral("htm/0118"), "c");
    for (const QString& a : five)
        world.serve(QStringLiteral("htm/d/") + a, "p");
    auto w = world.open();
    QStringList panels;
    for (THTTPGet* c : {w->htpgFiles(), w->htpgSubFiles()})
        connect(c, &THTTPGet::OnProgress, w.get(), [&] {
            if (w->panelText(1) == QLatin1String("3.gif") && !w->AbortRequested()) {
                world.messages->answers = {MsgResult::Yes};
                w->btnAbortClick();
            }
            panels << w->panelText(0);
        });
    QVERIFY(runToEnd(*w));
    QCOMPARE(world.messages->shown.first().buttons, MsgButtons::YesNoDefaultNo);
    QCOMPARE(world.messages->texts(),
             QStringList({QStringLiteral("Stahování souborů ještě nebylo dokončeno.Opravdu chcete ukončit aktualizaci."),
                          QStringLiteral("Stahování nových dílů seriálu bylo dokončeno.")}));
    QCOMPARE(world.paths().last(), QStringLiteral("/htm/d/5.gif"));
    QCOMPARE(tree(world.chapters).size(), 7); // the chapter, its folder and its five pictures
    QCOMPARE(panels.last(), QStringLiteral("Stisknuto storno - dokončuji stažení aktuálního dílu ..."));
    QCOMPARE(world.calls.size(), 3);
}

void TestUpdate::program_data()
{
    QTest::addColumn<Reply>("reply");
    QTest::addColumn<bool>("files");
    QTest::addColumn<bool>("oldLeftOver"); // a program file from an earlier update is still there
    QTest::addColumn<QList<MsgResult>>("answers");
    QTest::addColumn<QStringList>("messages");
    QTest::addColumn<QStringList>("calls");
    QTest::addColumn<QStringList>("folder"); // the program folder afterwards

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
    const QStringList swapped{QStringLiteral("Htm"), QStringLiteral("User.nfo"), QStringLiteral("tavio"),
                              QStringLiteral("tavio.old")};
    const QStringList untouched{QStringLiteral("Htm"), QStringLiteral("User.nfo"), QStringLiteral("tavio")};
    const QStringList restarted{QStringLiteral("release"), QStringLiteral("start:"), QStringLiteral("quit")};

    QTest::newRow("restart") << whole << false << false << QList<MsgResult>{MsgResult::Yes} << QStringList{restart}
                             << restarted << swapped;
    QTest::newRow("no restart") << whole << false << false << QList<MsgResult>{MsgResult::No} << QStringList{restart}
                                << QStringList{} << swapped;
    QTest::newRow("chapters first, then restart")
        << whole << true << false << QList<MsgResult>{MsgResult::Yes}
        << QStringList{restart, QStringLiteral("Stahování nových dílů seriálu bylo dokončeno.")}
        << QStringList{QStringLiteral("rebuild:"), QStringLiteral("refresh"), QStringLiteral("next")} + restarted
        << QStringList{QStringLiteral("Htm"), QStringLiteral("Htm/0118.htm"), QStringLiteral("User.nfo"),
                       QStringLiteral("files.ini"), QStringLiteral("tavio"), QStringLiteral("tavio.old")};
    QTest::newRow("cannot rename")
        << whole << false << true << QList<MsgResult>{}
        << QStringList{QStringLiteral("Nemohu přejmenovat soubor exe => aktualizace nové verze programu nebude "
                                      "dokončena. Pro dokončení aktualizace přejmenujte soubor \"tavi\" v adresáři ")}
        << QStringList{} << QStringList{QStringLiteral("Htm"), QStringLiteral("User.nfo"), QStringLiteral("tavi"),
                                        QStringLiteral("tavio"), QStringLiteral("tavio.old"), QStringLiteral("update.ini")};
    QTest::newRow("cut off") << cut << false << false << QList<MsgResult>{} << QStringList{failed} << QStringList{}
                             << untouched;
    QTest::newRow("error page") << page << false << false << QList<MsgResult>{} << QStringList{failed}
                                << QStringList{} << untouched;
}

void TestUpdate::program()
{
    QFETCH(Reply, reply);
    QFETCH(bool, files);
    QFETCH(bool, oldLeftOver);
    QFETCH(QList<MsgResult>, answers);
    QFETCH(QStringList, messages);
    QFETCH(QStringList, calls);
    QFETCH(QStringList, folder);
    World world;
    world.serve(QStringLiteral("update.ini"), updateIni("1.0.13.600", 118));
    world.serve(QStringLiteral("files.ini"), filesIni(118, {{QStringLiteral("0118.htm"), QString(), {}}}));
    world.serve(QStringLiteral("htm/0118"), "c");
    world.server.setReply("/tavio", reply);
    if (oldLeftOver)
        testfiles::write(world.prog + QStringLiteral("tavio.old"), "older");
    world.messages->answers = answers;
    auto w = world.open();
    w->chbProgUpdate()->setChecked(true);
    w->chbFilesUpdate()->setChecked(files);
    QString lastSize;
    connect(w->htpgPgm(), &THTTPGet::OnProgress, w.get(), [&] { lastSize = w->panelText(1); });
    QVERIFY(runToEnd(*w));

    QCOMPARE(world.messages->texts().size(), messages.size());
    for (int i = 0; i < messages.size(); ++i)
        QVERIFY2(world.messages->texts()[i].startsWith(messages[i]), qPrintable(world.messages->texts()[i]));
    QStringList got;
    for (const QString& c : std::as_const(world.calls))
        got << (c.contains(QLatin1Char(':')) ? c.section(QLatin1Char(':'), 0, 0) + QLatin1Char(':') : c);
    QCOMPARE(got, calls);
    if (calls.contains(QStringLiteral("start:")))
        QVERIFY(world.calls.contains(QStringLiteral("start:") + world.prog + QStringLiteral("tavio")));
    QCOMPARE(tree(world.prog), folder);
    const bool swappedNow = folder.contains(QStringLiteral("tavio.old")) && !oldLeftOver;
    QCOMPARE(testfiles::read(world.prog + QStringLiteral("tavio")).startsWith(ProgramBytes), swappedNow);
    if (swappedNow) {
        QVERIFY(QFileInfo(world.prog + QStringLiteral("tavio")).isExecutable());
        QCOMPARE(lastSize, QStringLiteral("1462,70 kb/1462,70 kb"));
        QCOMPARE(w->RestartRequested(), answers.value(0) == MsgResult::Yes);
        QVERIFY(QFileInfo(world.prog + QStringLiteral("tavio")).isExecutable());
        QVERIFY(logText(*w).contains(QStringLiteral("Stahování nové verze programu dokončeno")));
    }
}

void TestUpdate::stopDuringProgram()
{
    World world;
    world.serve(QStringLiteral("update.ini"), updateIni("1.0.13.600", 0));
    Reply stall;
    stall.kind = Reply::Kind::Stall;
    stall.body = ProgramBytes + QByteArray(100000, 'b');
    stall.sent = 3000;
    world.server.setReply("/tavio", stall);
    auto w = world.open();
    w->chbProgUpdate()->setChecked(true);
    w->chbFilesUpdate()->setChecked(false);
    w->btnUpdateClick();
    QVERIFY(QTest::qWaitFor([&] { return w->panelText(1).endsWith(QStringLiteral(" kb/100,02 kb")); }, 10000));
    QVERIFY(!w->close()); // not while the program comes
    world.messages->answers = {MsgResult::Yes};
    w->btnAbortClick();
    QVERIFY(waitFor([&] { return idle(*w); }));
    QCOMPARE(world.messages->texts().last(), QStringLiteral("Nelze stáhnout soubor nové verze programu"));
    QCOMPARE(tree(world.prog), QStringList({QStringLiteral("Htm"), QStringLiteral("User.nfo"), QStringLiteral("tavio")}));
    QCOMPARE(testfiles::read(world.prog + QStringLiteral("tavio")), QByteArray("old program"));
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
}

QTEST_MAIN(TestUpdate)
#include "tst_update.moc"
