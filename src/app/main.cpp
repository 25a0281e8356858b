#include "AppSettings.h"
#include "FileLayout.h"
#include "InstanceChannel.h"
#include "MainTypes.h"
#include "Profile.h"
#include "SettingsStore.h"
#include "SingleInstanceLock.h"
#include "TfrmAll.h"
#include "UpdateServer.h"
#include "about/TfrmSplash.h"
#include "widgets/QtTranslations.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QFileInfo>
#include <QIcon>

#include <csignal>
#include <cstdio>
#include <optional>
#include <unistd.h>

namespace {

QString czechError(const QCommandLineParser& parser)
{
    const QStringList unknown = parser.unknownOptionNames();
    if (!unknown.isEmpty())
        return QStringLiteral("neznámá volba \"") + unknown.first() + QStringLiteral("\".");
    return QStringLiteral("chybný příkazový řádek (") + parser.errorText() + QStringLiteral(").");
}

struct CommandLine
{
    QString chapter; // absolute path, or empty
};

void print(FILE* to, const QString& text)
{
    std::fputs(text.toLocal8Bit().constData(), to);
}

// Reads the command line before anything starts, so that --help and --version work
// without a display. Returns an exit code when the program should end at once.
std::optional<int> readCommandLine(int argc, char* argv[], CommandLine& line)
{
    QStringList args;
    for (int i = 0; i < argc; ++i)
        args << QString::fromLocal8Bit(argv[i]);
    QCommandLineParser parser;
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    const QCommandLineOption help(QStringList {QStringLiteral("h"), QStringLiteral("help")});
    const QCommandLineOption version(QStringList {QStringLiteral("v"), QStringLiteral("version")});
    const QCommandLineOption server(QString::fromLatin1(tavio::UpdateServerOption), QString(), QStringLiteral("URL"));
    parser.addOption(help);
    parser.addOption(version);
    parser.addOption(server);
    // The toolkit's own options (-platform, -style ...) stay the toolkit's.
    for (const char* name : {"platform", "style", "stylesheet", "display", "geometry", "qwindowgeometry", "qwindowtitle",
                             "qwindowicon", "plugin", "session", "widgetcount", "reverse"})
        parser.addOption(QCommandLineOption(QString::fromLatin1(name), QString(), QStringLiteral("x")));
    const QString program = QStringLiteral("tavio");
    if (!parser.parse(args)) {
        print(stderr, program + QStringLiteral(": ") + czechError(parser) + QStringLiteral("\nNápovědu vypíše: ")
                  + program + QStringLiteral(" --help\n"));
        return 2;
    }
    if (parser.isSet(help)) {
        print(stdout, QStringLiteral(
            "Použití: tavio [volby] [CESTA.htm]\n"
            "Čtečka kurzu Programujeme v Pythonu.\n\n"
            "Volby:\n"
            "  -h, --help      vypíše tuto nápovědu\n"
            "  -v, --version   vypíše verzi programu\n"
            "  --update-server URL\n"
            "                  aktualizace stahuje z tohoto serveru (http://počítač[:port][/cesta])\n\n"
            "Argumenty:\n"
            "  CESTA.htm       kapitola, která se otevře; běží-li už program a je zapnuto\n"
            "                  spouštění jediné kopie, otevře ji běžící program\n"));
        return 0;
    }
    if (parser.isSet(version)) {
        print(stdout, QStringLiteral("Tavio ") + tavio::VersionText() + QLatin1Char('\n'));
        return 0;
    }
    if (parser.isSet(server)
        && !tavio::AddressesOnServer(parser.value(server), tavio::UpdateAddresses::fromProfile())) {
        print(stderr, program + QStringLiteral(": \"") + parser.value(server)
                  + QStringLiteral("\" není adresa serveru ve tvaru http://počítač[:port][/cesta].\n"));
        return 2;
    }
    const QStringList rest = parser.positionalArguments();
    if (rest.size() > 1) {
        print(stderr, program + QStringLiteral(": lze otevřít jen jednu kapitolu.\n"));
        return 2;
    }
    if (!rest.isEmpty()) {
        const QFileInfo chapter(rest.first());
        if (!chapter.isFile()) {
            print(stderr, program + QStringLiteral(": soubor \"") + rest.first() + QStringLiteral("\" nebyl nalezen.\n"));
            return 2;
        }
        line.chapter = chapter.absoluteFilePath();
    }
    return std::nullopt;
}

} // namespace

int main(int argc, char* argv[])
{
    CommandLine line;
    if (const auto code = readCommandLine(argc, argv, line))
        return *code;

    // At a file-size limit a write should fail and be reported, not end the program.
    std::signal(SIGXFSZ, SIG_IGN);
    // The web engine's sandbox cannot start as root (containers, CI): do without it there.
    if (::geteuid() == 0)
        qputenv("QTWEBENGINE_DISABLE_SANDBOX", "1");
    // The chapter view shows local files only; the engine has no business on the network.
    QByteArray flags = qgetenv("QTWEBENGINE_CHROMIUM_FLAGS");
    if (!flags.contains("--disable-background-networking"))
        qputenv("QTWEBENGINE_CHROMIUM_FLAGS", QByteArray(flags + " --disable-background-networking").trimmed());
    QApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    QApplication app(argc, argv);
    QApplication::setApplicationDisplayName(QString());
    QApplication::setWindowIcon(QIcon(QStringLiteral(":/art/icons/app-icon.svg")));

    // The standard buttons and dialogs speak Czech too.
    tavio::InstallQtTranslations(&app);

    // Started with a chapter while a copy runs that wants to be the only one: that
    // copy opens the chapter and this one ends without a word. Started without one,
    // or when the running copy does not answer, the start goes on as always.
    const QString lockFile = tavio::SingleInstanceLock(P(tavio::ProfileId::MutexName)).filePath();
    if (!line.chapter.isEmpty() && tavio::SingleInstanceLock(P(tavio::ProfileId::MutexName)).existsElsewhere()) {
        tavio::SettingsStore store(tavio::SettingsStore::defaultFile());
        if (tavio::AppSettings(store).readOptions().OneInstance && tavio::InstanceChannel::send(lockFile, line.chapter))
            return 0;
    }

    tavio::VersionText();
    auto* splash = new tavio::TfrmSplash; // owned and destroyed by the start-up sequence
    tavio::Environment env;
    // An installed copy reads and updates its chapters in the user's folder, which
    // gets every chapter the package ships that it does not have yet.
    if (env.layout.isInstalled()) {
        QString why;
        if (!tavio::AddShippedChapters(env.layout.shippedChapterFolder(), env.layout.defaultChapterFolder(), &why))
            qWarning("cannot copy the shipped chapters: %s", qPrintable(why));
    }
    tavio::TfrmAll frmAll(env);
    frmAll.FormCreate(splash);
    if (frmAll.SecondInstance())
        return 0;
    tavio::InstanceChannel channel(lockFile);
    QObject::connect(&channel, &tavio::InstanceChannel::pathReceived, &frmAll, [&frmAll](const QString& path) {
        if (!QFileInfo(path).isFile())
            return;
        frmAll.OpenBookmark(path);
        frmAll.setWindowState((frmAll.windowState() & ~Qt::WindowMinimized) | Qt::WindowActive);
        frmAll.raise();
        frmAll.activateWindow();
    });
    channel.listen();
    frmAll.show();
    if (!line.chapter.isEmpty())
        frmAll.OpenBookmark(line.chapter);
    return app.exec();
}
