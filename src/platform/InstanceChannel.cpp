#include "InstanceChannel.h"

#include <QLocalServer>
#include <QLocalSocket>
#include <QPointer>

namespace tavio {

namespace {
// A path is short; anything longer is not from a copy of this program.
constexpr qint64 MaxMessage = 64 * 1024;
} // namespace

InstanceChannel::InstanceChannel(const QString& lockFile, QObject* parent)
    : QObject(parent)
    , m_socketPath(socketPathFor(lockFile))
{
}

InstanceChannel::~InstanceChannel() = default;

QString InstanceChannel::socketPathFor(const QString& lockFile)
{
    return lockFile + QStringLiteral(".sock");
}

bool InstanceChannel::listen()
{
    if (!m_server) {
        m_server = new QLocalServer(this);
        m_server->setSocketOptions(QLocalServer::UserAccessOption);
        connect(m_server, &QLocalServer::newConnection, this, &InstanceChannel::takeConnection);
    }
    if (m_server->isListening())
        return true;
    if (m_server->listen(m_socketPath))
        return true;
    // Only the copy that holds the lock listens, so a socket that is there is stale.
    QLocalServer::removeServer(m_socketPath);
    return m_server->listen(m_socketPath);
}

void InstanceChannel::takeConnection()
{
    while (QLocalSocket* socket = m_server->nextPendingConnection()) {
        connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
        QPointer<QLocalSocket> guard(socket);
        connect(socket, &QLocalSocket::readyRead, this, [this, guard] {
            if (!guard)
                return;
            if (guard->bytesAvailable() > MaxMessage) {
                guard->abort();
                return;
            }
            if (!guard->canReadLine())
                return;
            const QString path = QString::fromUtf8(guard->readLine(MaxMessage)).trimmed();
            guard->write("ok\n");
            guard->flush();
            guard->disconnectFromServer();
            if (!path.isEmpty())
                emit pathReceived(path);
        });
    }
}

bool InstanceChannel::send(const QString& lockFile, const QString& path, int timeoutMs)
{
    QLocalSocket socket;
    socket.connectToServer(socketPathFor(lockFile));
    if (!socket.waitForConnected(timeoutMs))
        return false;
    socket.write(path.toUtf8() + '\n');
    if (!socket.waitForBytesWritten(timeoutMs))
        return false;
    return socket.waitForReadyRead(timeoutMs) && socket.readLine().startsWith("ok");
}

} // namespace tavio
