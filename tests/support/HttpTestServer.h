#pragma once

#include <QDir>
#include <QFile>
#include <QHash>
#include <QHostAddress>
#include <QList>
#include <QTcpServer>
#include <QTcpSocket>

// A small HTTP server on 127.0.0.1 for the download tests. It serves the files of a
// folder with their length, a 404 page with its length for anything else, and, for
// chosen paths, replies that misbehave. It runs on the test's own thread, so the
// test must let the event loop run while it waits (QSignalSpy::wait, qWaitFor).
namespace testhttp {

struct Reply
{
    enum class Kind {
        Normal,   // status, Content-Length, body
        NoLength, // status and body, the end of the body is the end of the connection
        Short,    // announces the whole body, sends `sent` bytes of it and closes
        Stall,    // announces the whole body, sends `sent` bytes of it and goes silent
        Hang,     // reads the request and never answers
        Raw,      // `body` as it stands, then close
    };
    Kind kind = Kind::Normal;
    QByteArray status = "200 OK";
    QByteArray body;
    QByteArray headers; // further header lines, each ending in CR LF
    qsizetype sent = 0;
};

class HttpTestServer
{
public:
    explicit HttpTestServer(const QString& root = QString())
        : m_root(root)
    {
        if (!m_server.listen(QHostAddress::LocalHost))
            qFatal("test server cannot listen");
        QObject::connect(&m_server, &QTcpServer::newConnection, &m_server, [this] {
            while (QTcpSocket* s = m_server.nextPendingConnection())
                QObject::connect(s, &QTcpSocket::readyRead, s, [this, s] { onReadyRead(s); });
        });
    }

    quint16 port() const { return m_server.serverPort(); }
    // Host and path as the download component takes them, without a scheme.
    QString address(const QString& path) const { return QStringLiteral("127.0.0.1:%1%2").arg(port()).arg(path); }
    void setReply(const QByteArray& path, const Reply& reply) { m_replies.insert(path, reply); }

    // Every complete request as received: head (with its CR LF CR LF) and body.
    QList<QByteArray> requests;

private:
    void onReadyRead(QTcpSocket* s)
    {
        QByteArray& buf = m_buffers[s];
        buf += s->readAll();
        const qsizetype end = buf.indexOf("\r\n\r\n");
        if (end < 0)
            return;
        qsizetype length = 0;
        for (const QByteArray& line : buf.first(end).split('\n'))
            if (line.toLower().startsWith("content-length:"))
                length = line.mid(15).trimmed().toLongLong();
        if (buf.size() < end + 4 + length)
            return;
        const QByteArray request = buf.first(end + 4 + length);
        m_buffers.remove(s);
        QObject::disconnect(s, &QTcpSocket::readyRead, nullptr, nullptr);
        requests.append(request);
        const QByteArray target = request.split(' ').value(1);
        respond(s, target);
    }

    void respond(QTcpSocket* s, const QByteArray& target)
    {
        Reply r;
        if (m_replies.contains(target)) {
            r = m_replies.value(target);
        } else {
            QFile f(QDir(m_root).filePath(QString::fromLatin1(target.mid(1))));
            if (!m_root.isEmpty() && f.open(QIODevice::ReadOnly)) {
                r.body = f.readAll();
            } else {
                r.status = "404 Not Found";
                r.body = "<html><body><h1>404 Not Found</h1></body></html>";
            }
        }
        const QByteArray head = "HTTP/1.0 " + r.status + "\r\nServer: test\r\n" + r.headers;
        const QByteArray length = "Content-Length: " + QByteArray::number(r.body.size()) + "\r\n";
        switch (r.kind) {
        case Reply::Kind::Hang:
            return;
        case Reply::Kind::Normal:
            s->write(head + length + "\r\n" + r.body);
            break;
        case Reply::Kind::NoLength:
            s->write(head + "\r\n" + r.body);
            break;
        case Reply::Kind::Short:
        case Reply::Kind::Stall:
            s->write(head + length + "\r\n" + r.body.first(r.sent));
            if (r.kind == Reply::Kind::Stall)
                return;
            break;
        case Reply::Kind::Raw:
            s->write(r.body);
            break;
        }
        s->disconnectFromHost();
    }

    QTcpServer m_server;
    QString m_root;
    QHash<QByteArray, Reply> m_replies;
    QHash<QTcpSocket*, QByteArray> m_buffers;
};

} // namespace testhttp
