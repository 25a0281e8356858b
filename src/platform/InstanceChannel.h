#pragma once

#include <QObject>
#include <QString>

class QLocalServer;

// How a copy of the program started with a chapter hands that chapter to the copy
// that already runs: a local socket beside the single-instance lock, which only the
// same user can reach. One message is one absolute path.
namespace tavio {

class InstanceChannel final : public QObject
{
    Q_OBJECT
public:
    // lockFile: the single-instance lock's file; the socket is named after it.
    explicit InstanceChannel(const QString& lockFile, QObject* parent = nullptr);
    ~InstanceChannel() override;

    static QString socketPathFor(const QString& lockFile);
    // Listens for other copies; a socket left by a crashed copy is replaced.
    bool listen();
    // Hands path to the running copy; false when none answered in time.
    static bool send(const QString& lockFile, const QString& path, int timeoutMs = 3000);

signals:
    void pathReceived(const QString& path);

private:
    void takeConnection();

    QString m_socketPath;
    QLocalServer* m_server = nullptr;
};

} // namespace tavio
