#include "MainTypes.h"
#include "Profile.h"
#include "TfrmAll.h"
#include "about/TfrmSplash.h"

#include <QApplication>
#include <QIcon>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

#include <csignal>
#include <unistd.h>

int main(int argc, char* argv[])
{
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
    QTranslator qtTranslator;
    if (qtTranslator.load(QLocale(QLocale::Czech, QLocale::CzechRepublic), QStringLiteral("qtbase"),
                          QStringLiteral("_"), QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QApplication::installTranslator(&qtTranslator);

    tavio::VersionText();
    auto* splash = new tavio::TfrmSplash; // owned and destroyed by the start-up sequence
    tavio::Environment env;
    tavio::TfrmAll frmAll(env);
    frmAll.FormCreate(splash);
    if (frmAll.SecondInstance())
        return 0;
    frmAll.show();
    return app.exec();
}
