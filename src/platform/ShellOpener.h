#pragma once

#include <QString>
#include <QUrl>

#include <functional>

// Opens a web address, a mail address or a folder in the user's own program.
// Tests replace the opener with a recorder.
namespace tavio {

class ShellOpener final
{
public:
    using Handler = std::function<bool(const QUrl&)>;

    static bool open(const QUrl& url);
    static bool openAddress(const QString& address);
    static bool openFolder(const QString& folder);
    // Replaces the opener; an empty handler restores the desktop's.
    static void setHandler(Handler handler);
};

} // namespace tavio
