// A second copy hands its chapter to the running one through a local socket.
#include "InstanceChannel.h"

#include <QLocalSocket>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

#include <chrono>
#include <future>

using namespace tavio;

class TestInstance final : public QObject
{
    Q_OBJECT

private slots:
    void handsOverOnePath_data()
    {
        QTest::addColumn<bool>("staleSocket");
        QTest::newRow("fresh") << false;
        QTest::newRow("socket left by a crashed copy") << true;
    }

    void handsOverOnePath()
    {
        QFETCH(bool, staleSocket);
        QTemporaryDir dir;
        const QString lock = dir.filePath(QStringLiteral("lock"));
        if (staleSocket) {
            QFile stale(InstanceChannel::socketPathFor(lock));
            QVERIFY(stale.open(QIODevice::WriteOnly));
        }
        QVERIFY(!InstanceChannel::send(lock, QStringLiteral("/x.htm"), 200)); // nobody listens yet
        InstanceChannel running(lock);
        QVERIFY(running.listen());
        QSignalSpy received(&running, &InstanceChannel::pathReceived);
        const QString path = QStringLiteral("/home/čtenář/Htm/0011.htm");
        // The second copy blocks while it waits for the answer: run it beside the loop.
        auto sent = std::async(std::launch::async, [lock, path] { return InstanceChannel::send(lock, path); });
        QVERIFY(received.wait(5000));
        QCOMPARE(received.first().first().toString(), path);
        QTRY_VERIFY(sent.wait_for(std::chrono::seconds(0)) == std::future_status::ready);
        QVERIFY(sent.get());
    }

    void refusesOversizedMessages()
    {
        QTemporaryDir dir;
        const QString lock = dir.filePath(QStringLiteral("lock"));
        InstanceChannel running(lock);
        QVERIFY(running.listen());
        QSignalSpy received(&running, &InstanceChannel::pathReceived);
        QLocalSocket socket;
        socket.connectToServer(InstanceChannel::socketPathFor(lock));
        QVERIFY(socket.waitForConnected(2000));
        socket.write(QByteArray(200 * 1024, 'a'));
        socket.flush();
        QTRY_COMPARE(socket.state(), QLocalSocket::UnconnectedState);
        QCOMPARE(received.size(), 0);
    }
};

QTEST_GUILESS_MAIN(TestInstance)
#include "tst_instance.moc"
