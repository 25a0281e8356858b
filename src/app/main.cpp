#include "MainTypes.h"
#include "Profile.h"
#include "TfrmAll.h"
#include "about/TfrmSplash.h"
#include "widgets/QtTranslations.h"

#include <QApplication>
#include <QIcon>

#include <unistd.h>

int main(int argc, char* argv[])
{
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
