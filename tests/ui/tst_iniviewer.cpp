#include "HtmlView.h"
#include "HttpTestServer.h"
#include "RecordingMessages.h"
#include "TestFiles.h"
#include "update/TfrmIniViewer.h"

#include <QApplication>
#include <QPushButton>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QWebEnginePage>
#include <QWebEngineView>

using namespace tavio;

namespace {

// The text the view shows, read from the page.
QString shownText(HtmlView* view)
{
    QString text;
    bool done = false;
    view->engineView()->page()->toPlainText([&](const QString& t) {
        text = t;
        done = true;
    });
    if (!QTest::qWaitFor([&] { return done; }, 10000))
        return QStringLiteral("(no text)");
    return text;
}

} // namespace

class TestIniViewer final : public QObject
{
    Q_OBJECT
private slots:
    void showsAndSavesFile_data();
    void showsAndSavesFile();
};

void TestIniViewer::showsAndSavesFile_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("filter");
    QTest::addColumn<QString>("shows"); // a piece of the shown text
    QTest::newRow("descriptor") << "update.ini" << QByteArray("[last_version]\r\nmajor=x\r\n") << "soubory [*.ini]|*.ini"
                                << "major=x";
    // What a server sends instead of a descriptor is shown as the view shows it.
    QTest::newRow("error page") << "update.ini" << QByteArray("<html><body><h1>404 Not Found</h1></body></html>")
                                << "soubory [*.ini]|*.ini" << "404 Not Found";
    // A page the view takes for HTML: its script does not run, and it reaches
    // neither the disk nor the network.
    QTest::newRow("hostile page")
        << "update.htm"
        << QByteArray("<html><body><p id=o>safe</p><script>document.getElementById('o').textContent='script ran'"
                      "</script><img src='http://%1/spy.gif'><img src='../secret.gif'>"
                      "<iframe src='http://%1/frame.html'></iframe></body></html>")
        << "soubory [*.htm]|*.htm" << "safe";
    QTest::newRow("other extension") << "files.txt" << QByteArray("[1]\r\nfile=0001.htm\r\n")
                                     << "soubory [*.txt]|*.txt" << "file=0001.htm";
}

void TestIniViewer::showsAndSavesFile()
{
    QFETCH(QString, name);
    QFETCH(QByteArray, bytes);
    QFETCH(QString, filter);
    QFETCH(QString, shows);
    RecordingMessages messages;
    QTemporaryDir dir;
    testhttp::HttpTestServer server;
    bytes.replace("%1", server.address(QString()).toLatin1());
    const QString path = dir.filePath(QStringLiteral("x/") + name);
    testfiles::write(path, bytes);
    const QString copy = dir.filePath(QStringLiteral("copy"));
    testfiles::write(copy, "older and longer than the copy");

    QWidget main;
    TfrmIniViewer viewer(&main);
    QVERIFY(viewer.btnSaveIni()->isDefault());
    QCOMPARE(viewer.defaultSuffix(), QStringLiteral("log"));

    QSignalSpy complete(viewer.wbIniViewer(), &HtmlView::documentComplete);
    viewer.openFile(path);
    QVERIFY(complete.wait(30000));
    QCOMPARE(viewer.windowTitle(), path);
    QVERIFY2(shownText(viewer.wbIniViewer()).contains(shows), qPrintable(shownText(viewer.wbIniViewer())));
    if (name.endsWith(QLatin1String(".htm")))
        QCOMPARE(shownText(viewer.wbIniViewer()).trimmed(), QStringLiteral("safe"));
    // The page has loaded with everything it was allowed to ask for.
    QCOMPARE(server.requests.size(), 0);

    QList<SaveFileRequest> asked;
    viewer.setSaveDialog([&](QWidget*, const SaveFileRequest& r) {
        asked << r;
        return copy;
    });
    viewer.btnSaveIniClick();
    QCOMPARE(asked.size(), 1);
    QCOMPARE(asked.first().fileName, path);
    QCOMPARE(asked.first().filter, filter);
    QCOMPARE(asked.first().defaultSuffix, QFileInfo(name).suffix());
    QCOMPARE(testfiles::read(copy), bytes);
    QVERIFY(messages.shown.isEmpty());

    // A cancelled dialog copies nothing; Escape hides the window, which stays for the next time.
    testfiles::write(copy, "kept");
    viewer.setSaveDialog([](QWidget*, const SaveFileRequest&) { return QString(); });
    viewer.btnSaveIniClick();
    QCOMPARE(testfiles::read(copy), QByteArray("kept"));
    QTest::mouseClick(viewer.btnClose(), Qt::LeftButton);
    QVERIFY(!viewer.isVisible());
}

int main(int argc, char* argv[])
{
    QApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    QApplication app(argc, argv);
    TestIniViewer test;
    QTEST_SET_MAIN_SOURCE_PATH
    return QTest::qExec(&test, argc, argv);
}

#include "tst_iniviewer.moc"
