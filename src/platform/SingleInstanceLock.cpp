#include "SingleInstanceLock.h"

#include <QDir>
#include <QFile>
#include <QStandardPaths>

#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

namespace tavio {

namespace {
QString safeFileName(const QString& name)
{
    QString out;
    for (const QChar c : name)
        out += (c.isLetterOrNumber() || c == QLatin1Char('_') || c == QLatin1Char('-')) ? c : QLatin1Char('_');
    return out + QStringLiteral(".lock");
}
} // namespace

SingleInstanceLock::SingleInstanceLock(const QString& name, const QString& folder)
{
    QString dir = folder;
    if (dir.isEmpty())
        dir = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    if (dir.isEmpty())
        dir = QDir::tempPath();
    QDir().mkpath(dir);
    m_path = QDir(dir).filePath(safeFileName(name));
}

SingleInstanceLock::~SingleInstanceLock()
{
    release();
}

bool SingleInstanceLock::existsElsewhere() const
{
    const QByteArray path = QFile::encodeName(m_path);
    const int fd = ::open(path.constData(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return false; // nobody ever created it
    // Our own shared lock would conflict with the test: let go of it meanwhile.
    if (m_fd >= 0)
        ::flock(m_fd, LOCK_UN);
    bool busy = false;
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0)
        busy = (errno == EWOULDBLOCK);
    else
        ::flock(fd, LOCK_UN);
    ::close(fd);
    if (m_fd >= 0)
        ::flock(m_fd, LOCK_SH);
    return busy;
}

bool SingleInstanceLock::create()
{
    if (m_fd >= 0)
        return true;
    const QByteArray path = QFile::encodeName(m_path);
    const int fd = ::open(path.constData(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
    if (fd < 0)
        return false;
    if (::flock(fd, LOCK_SH) != 0) {
        ::close(fd);
        return false;
    }
    m_fd = fd;
    return true;
}

void SingleInstanceLock::release()
{
    if (m_fd >= 0) {
        ::close(m_fd);
        m_fd = -1;
    }
}

} // namespace tavio
