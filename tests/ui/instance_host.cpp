// A copy of the main window in a process of its own, for tests that need two
// running copies: it starts the window against the folders named on its command
// line, prints every message box and its own state, and ends when its standard
// input closes (or at once when it is a refused second copy).
#include "RecordingMessages.h"
#include "SettingsStore.h"
#include "TfrmAll.h"

#include <QApplication>
#include <QFile>
#include <QSocketNotifier>
#include <QTextStream>

#include <cstdio>
#include <unistd.h>

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() < 5) {
        std::fprintf(stderr, "usage: instance_host PROGRAM_DIR APPDATA_DIR SETTINGS_FILE LOCK_DIR\n");
        return 2;
    }
    RecordingMessages messages;
    tavio::SettingsStore store(args[3]);
    tavio::Environment env{tavio::FileLayout(args[1], args[2]), &store, args[4], false};
    auto* window = new tavio::TfrmAll(env);
    window->FormCreate(nullptr);
    QTextStream out(stdout);
    for (const QString& text : messages.texts())
        out << "MESSAGE " << QString(text).replace(QLatin1String("\r\n"), QLatin1String("|")) << '\n';
    out << "SECOND " << (window->SecondInstance() ? 1 : 0) << '\n';
    out << "READY" << Qt::endl;
    if (window->SecondInstance()) {
        delete window;
        return 0;
    }
    QSocketNotifier stdinWatch(STDIN_FILENO, QSocketNotifier::Read);
    QObject::connect(&stdinWatch, &QSocketNotifier::activated, &app, [&] {
        char buf[64];
        if (::read(STDIN_FILENO, buf, sizeof buf) <= 0)
            app.quit();
    });
    app.exec();
    delete window;
    out << "ENDED" << Qt::endl;
    return 0;
}
