#include "ShellOpener.h"

#include <QDesktopServices>

namespace tavio {

namespace {
ShellOpener::Handler& handler()
{
    static ShellOpener::Handler h;
    return h;
}
} // namespace

bool ShellOpener::open(const QUrl& url)
{
    if (!url.isValid())
        return false;
    if (handler())
        return handler()(url);
    return QDesktopServices::openUrl(url);
}

bool ShellOpener::openAddress(const QString& address)
{
    QUrl url = QUrl::fromUserInput(address);
    return open(url);
}

bool ShellOpener::openFolder(const QString& folder)
{
    return open(QUrl::fromLocalFile(folder.trimmed()));
}

void ShellOpener::setHandler(Handler h)
{
    handler() = std::move(h);
}

} // namespace tavio
