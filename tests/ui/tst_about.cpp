#include "Description.h"
#include "MainTypes.h"
#include "Profile.h"
#include "ShellOpener.h"
#include "about/AboutBox.h"
#include "about/TfrmHelp.h"
#include "about/TfrmSplash.h"
#include "widgets/ToolkitColour.h"

#include <QApplication>
#include <QHash>
#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <QRegularExpression>
#include <QScrollBar>
#include <QTest>
#include <QTextBlock>
#include <QTextBrowser>
#include <QTimer>

using namespace tavio;

namespace {

using Values = QHash<int, QString>;

ProfileLookup lookupOf(const Values& values)
{
    return [values](ProfileId id) { return values.value(int(id)); };
}

// A profile of a series that names its sibling series and a contact address.
Values fullProfile()
{
    return {
        {int(ProfileId::LogoLine2), QStringLiteral("Programování krok za krokem")},
        {int(ProfileId::AuthorTitul), QStringLiteral("Ing.")},
        {int(ProfileId::SerialAuthor), QStringLiteral("Jan Novák")},
        {int(ProfileId::ApplicationTitle), QStringLiteral("Tavio")},
        {int(ProfileId::HomePageUrl), QStringLiteral("http://home.example/")},
        {int(ProfileId::NextSoft01), QStringLiteral("První")},
        {int(ProfileId::NextSoft02), QStringLiteral("Druhý")},
        {int(ProfileId::NextSoft03), QStringLiteral("Třetí")},
        {int(ProfileId::NextSoft01_URL), QStringLiteral("http://one.example/")},
        {int(ProfileId::NextSoft02_URL), QStringLiteral("http://two.example/")},
        {int(ProfileId::NextSoft03_URL), QStringLiteral("http://three.example/")},
        {int(ProfileId::Email), QStringLiteral("autor@example.cz")},
    };
}

// The one stretch of the document drawn in the given colour ('\n' between lines).
QString stretchIn(const QTextDocument* doc, const QColor& colour)
{
    QList<int> at;
    QTextCursor c(const_cast<QTextDocument*>(doc));
    for (int i = 0; i + 1 < doc->characterCount(); ++i) {
        c.setPosition(i + 1);
        if (doc->characterAt(i) != QChar::ParagraphSeparator && c.charFormat().foreground().color() == colour)
            at.append(i);
    }
    if (at.isEmpty())
        return {};
    const QString text = doc->toPlainText().mid(at.first(), at.last() - at.first() + 1);
    // One stretch: every character between the first and the last one is coloured.
    return text.size() - text.count(QLatin1Char('\n')) == at.size() ? text : QString();
}

QColor textColour(const QLabel* label)
{
    return label->palette().color(QPalette::WindowText);
}

void hover(QWidget* w, bool enter)
{
    if (enter) {
        QEnterEvent e(QPointF(1, 1), QPointF(1, 1), w->mapToGlobal(QPointF(1, 1)));
        QApplication::sendEvent(w, &e);
    } else {
        QEvent e(QEvent::Leave);
        QApplication::sendEvent(w, &e);
    }
}

struct AboutHooks
{
    bool flag = false;
    int flagChanges = 0;
    int activations = 0;
    AboutBoxHooks hooks()
    {
        return {[this](bool on) {
                    flag = on;
                    ++flagChanges;
                },
                [this] { ++activations; }};
    }
};

} // namespace

class TestAbout final : public QObject
{
    Q_OBJECT
private slots:
    void cleanup() { ShellOpener::setHandler({}); }

    void fillDescription_data();
    void fillDescription();
    void descriptionLines_data();
    void descriptionLines();
    void shippedHistory();

    void helpWindowOnOpening();
    void historyButtonOpensForGood();
    void escapeCloses_data();
    void escapeCloses();
    void linksOpenThroughTheShell();
    void focusFollowsTheMouse();
    void versionHistoryCommand();

    void colourNames_data();
    void colourNames();
    void startupSplashIgnoresTheUser();
    void aboutBoxAfterFadeIn_data();
    void aboutBoxAfterFadeIn();
    void aboutBoxWithoutFading();
    void hoverColours();
    void aboutCommand();
};

void TestAbout::fillDescription_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("entry"); // the entry set to `value` over the full profile; 0: none
    QTest::addColumn<QString>("value");
    QTest::addColumn<QString>("expected");

    const int logo = int(ProfileId::LogoLine2), author = int(ProfileId::SerialAuthor);
    const int sibling = int(ProfileId::NextSoft01), mail = int(ProfileId::Email);
    // A "%www" that a value brings in is filled when it arrives before step 6 and kept after.
    QTest::newRow("%www from step 1") << "o %BuilderName" << logo << "Kurz %www"
                                      << "o Kurz http://home.example/";
    QTest::newRow("%www from step 3") << "%SerialAuthor" << author << "%www"
                                      << "http://home.example/";
    QTest::newRow("%www from step 7") << "%NextSoft01" << sibling << "Seriál %www"
                                      << "Seriál %www";
    QTest::newRow("%www from step 13") << "mailto:%Email" << mail << "a%www"
                                       << "mailto:a%www";
    QTest::newRow("sibling line") << "%NextSoft02 [ %NextSoft02_URL ]" << 0 << QString()
                                  << "Druhý [ http://two.example/ ]";
    QTest::newRow("steps 7 to 12: first only, any case")
        << "%nextsoft01 %NEXTSOFT01 %NextSoft01_url" << 0 << QString() << "První %NEXTSOFT01 http://one.example/";
    QTest::newRow("other steps: every one, exact case")
        << "%SerialAuthor %serialauthor %SerialAuthor" << 0 << QString() << "Jan Novák %serialauthor Jan Novák";
    QTest::newRow("a later placeholder in a value")
        << "%AuthorTitul" << int(ProfileId::AuthorTitul) << "%ApplicationTitle"
        << "Tavio";
    QTest::newRow("an earlier placeholder in a value") << "%www" << int(ProfileId::HomePageUrl) << "%SerialAuthor"
                                                       << "%SerialAuthor";
}

void TestAbout::fillDescription()
{
    QFETCH(QString, text);
    QFETCH(int, entry);
    QFETCH(QString, value);
    QFETCH(QString, expected);
    Values values = fullProfile();
    if (entry)
        values[entry] = value;
    QCOMPARE(FillDescription(text, lookupOf(values)), expected);
}

void TestAbout::descriptionLines_data()
{
    QTest::addColumn<bool>("siblings");
    QTest::addColumn<bool>("urls");
    QTest::addColumn<bool>("mail");
    QTest::newRow("everything") << true << true << true;
    QTest::newRow("titles without addresses") << true << false << true;
    QTest::newRow("no siblings, no mail") << false << false << false;
}

void TestAbout::descriptionLines()
{
    QFETCH(bool, siblings);
    QFETCH(bool, urls);
    QFETCH(bool, mail);
    Values values = fullProfile();
    for (ProfileId id : {ProfileId::NextSoft01, ProfileId::NextSoft02, ProfileId::NextSoft03}) {
        if (!siblings)
            values.remove(int(id));
    }
    for (ProfileId id : {ProfileId::NextSoft01_URL, ProfileId::NextSoft02_URL, ProfileId::NextSoft03_URL}) {
        if (!urls)
            values.remove(int(id));
    }
    if (!mail)
        values.remove(int(ProfileId::Email));
    const QStringList lines = TfrmHelp::DescriptionText(lookupOf(values)).split(QLatin1Char('\n'));

    QVERIFY(!lines.join(QLatin1Char('\n')).contains(QLatin1Char('%')));
    QVERIFY(lines[0].startsWith(QStringLiteral("Na internetových stránkách http://")));
    QVERIFY(lines[0].endsWith(QStringLiteral(" o programování Programování krok za krokem, jehož autorem je ")));
    QCOMPARE(lines[1], QStringLiteral("Ing. Jan Novák."));
    QCOMPARE(lines[16],
             QStringLiteral("Doufám, že tento program bude dobrým pomocníkem všem vám, kdo sledujete seriál "
                            "Tavio."));
    QCOMPARE(lines[19], QString(16, QLatin1Char(' ')));
    QCOMPARE(lines.contains(QStringLiteral("Otázky a  připomínky k programu posílejte na e-mailovou adresu:  "
                                           "mailto:autor@example.cz")),
             mail);
    QCOMPARE(lines.contains(QStringLiteral("Další seriály :")), siblings);
    QCOMPARE(lines.contains(QStringLiteral("Druhý [ http://two.example/ ]")), siblings && urls);
    QCOMPARE(lines.contains(QStringLiteral("Druhý")), siblings && !urls);
    QVERIFY(!lines.join(QLatin1Char('\n')).contains(QStringLiteral("[  ]")));
    QCOMPARE(lines.size(), 29 - (mail ? 0 : 1) - (siblings ? 0 : 4));
    QCOMPARE(lines[lines.size() - 3], QString(189, QLatin1Char('-')));
    QCOMPARE(lines[lines.size() - 2], QStringLiteral("Domovská stránka programu: http://home.example/"));
    QCOMPARE(lines.last(), QString());
}

void TestAbout::shippedHistory()
{
    const QStringList lines = TfrmHelp::ShippedHistory().split(QLatin1Char('\n'));
    const QString separator(192, QLatin1Char('-'));
    static const QRegularExpression header(QStringLiteral(R"(^\[(\d+)\.(\d+)\.(\d+)\.(\d+)\] - \d\d\.\d\d\.\d{4}$)"));

    // Entries: a header, change lines, a separator; newest first, versions falling.
    QList<QStringList> entries{{}};
    for (const QString& line : lines) {
        entries.last().append(line);
        if (line == separator)
            entries.append(QStringList());
    }
    QVERIFY(entries.last().isEmpty());
    entries.removeLast();
    QVERIFY(entries.size() >= 2);
    QList<quint64> versions;
    for (const QStringList& e : entries) {
        const auto m = header.match(e.first());
        QVERIFY2(m.hasMatch(), qPrintable(e.first()));
        versions.append((m.captured(1).toULongLong() << 48) | (m.captured(2).toULongLong() << 32)
                        | (m.captured(3).toULongLong() << 16) | m.captured(4).toULongLong());
        QVERIFY(e.size() >= 3);
        for (qsizetype i = 1; i + 1 < e.size(); ++i)
            QVERIFY2(e[i].startsWith(QLatin1Char('-')) && e[i] != separator, qPrintable(e[i]));
    }
    for (qsizetype i = 1; i < versions.size(); ++i)
        QVERIFY(versions[i] < versions[i - 1]);
    QCOMPARE(entries.first().first().section(QLatin1Char(']'), 0, 0), QLatin1Char('[') + VersionText());

    // The grey mark of HistoryGreyLength characters, line breaks counted as two, is
    // exactly the trial version with its separator line.
    const QString trial = entries.last().join(QStringLiteral("\r\n"));
    QCOMPARE(trial.size(), Profile::instance().integer(ProfileId::HistoryGreyLength));
    const QString text = TfrmHelp::ShippedHistory();
    const qsizetype grey = MarkedSpanFromEnd(text, 244);
    QCOMPARE(text.right(grey), entries.last().join(QLatin1Char('\n')));
    QVERIFY(text.chopped(grey).endsWith(separator + QLatin1Char('\n')));
}

void TestAbout::helpWindowOnOpening()
{
    TfrmHelp w(true);
    QCOMPARE(w.windowTitle(), QStringLiteral("Popis a historie verzí programu"));
    // The profile's width, grown to the longest line of the description.
    QVERIFY(w.width() >= 610);
    QCOMPARE(w.height(), 364);
    QVERIFY(w.pnlHistory()->isHidden());
    QVERIFY(!w.btnHistory()->isHidden());
    QCOMPARE(w.btnHistory()->text(), QStringLiteral("&Historie verzí programu ..."));
    QCOMPARE(w.reHelp()->toPlainText(), TfrmHelp::DescriptionText([](ProfileId id) { return P(id); }));
    QCOMPARE(w.reHelp()->textCursor().position(), 0);
    QCOMPARE(w.pnlHelp()->geometry(), QRect(0, 0, w.width(), 364));
    QCOMPARE(w.btnHistory()->geometry().bottom() + 1, w.reHelp()->height() - 4);

    // The history: the heading, the running version, the shipped entries.
    const QTextDocument* doc = w.reHistory()->document();
    const QStringList lines = doc->toPlainText().split(QLatin1Char('\n'));
    QCOMPARE(lines[0], QStringLiteral("HISTORIE VERZÍ PROGRAMU"));
    QCOMPARE(lines[1], QStringLiteral("- šedě jsou vypsány verze programu, které nebyly vydány s tímto seriálem"));
    QCOMPARE(lines[2], QString(144, QLatin1Char('*')));
    QCOMPARE(lines[3], QString());
    QCOMPARE(lines[4], QLatin1Char('[') + VersionText() + QStringLiteral("] - ") + P(ProfileId::ReleaseDate));
    QCOMPARE(lines.mid(5), TfrmHelp::ShippedHistory().split(QLatin1Char('\n')).mid(1));
    QCOMPARE(w.reHistory()->textCursor().position(), 0);

    // Purple heading, grey trial version (checked against the file in shippedHistory).
    QCOMPARE(stretchIn(doc, QColor(128, 0, 128)), lines.mid(0, 3).join(QLatin1Char('\n')));
    const QStringList history = TfrmHelp::ShippedHistory().split(QLatin1Char('\n'));
    QCOMPARE(stretchIn(doc, QColor(128, 128, 128)), history.mid(history.size() - 3).join(QLatin1Char('\n')));
    QCOMPARE(w.reHistory()->lineWrapMode(), QTextEdit::NoWrap);
}

void TestAbout::historyButtonOpensForGood()
{
    TfrmHelp w(true);
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    const int width = w.width();
    QTest::mouseClick(w.btnHistory(), Qt::LeftButton);
    QCOMPARE(w.height(), 518);
    QCOMPARE(w.width(), width);
    QVERIFY(w.btnHistory()->isHidden());
    QVERIFY(w.pnlHistory()->isVisible());
    QCOMPARE(w.pnlHistory()->height(), 153);
    QCOMPARE(w.pnlHelp()->height() + w.pnlHistory()->height(), 518);
    QCOMPARE(w.pnlHistory()->y(), w.pnlHelp()->height());
    QCOMPARE(w.reHistory()->size(), w.pnlHistory()->size());
    // Nothing brings the button back or closes the history while the window lives.
    w.hide();
    w.show();
    QTest::qWait(20);
    QVERIFY(w.btnHistory()->isHidden());
    QCOMPARE(w.height(), 518);
    QVERIFY(w.pnlHistory()->isVisible());
}

void TestAbout::escapeCloses_data()
{
    QTest::addColumn<bool>("withHistory");
    QTest::newRow("description only") << false;
    QTest::newRow("with the history") << true;
}

void TestAbout::escapeCloses()
{
    QFETCH(bool, withHistory);
    TfrmHelp w(true);
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    if (withHistory)
        w.btnHistoryClick();
    QWidget* target = withHistory ? static_cast<QWidget*>(w.reHistory()) : w.reHelp();
    target->setFocus();
    QTest::keyClick(target, Qt::Key_A);
    QVERIFY(w.isVisible());
    QTest::keyClick(target, Qt::Key_Escape);
    QVERIFY(!w.isVisible());
    QCOMPARE(w.result(), int(QDialog::Rejected));
}

void TestAbout::linksOpenThroughTheShell()
{
    QList<QUrl> opened;
    ShellOpener::setHandler([&opened](const QUrl& u) {
        opened.append(u);
        return true;
    });
    TfrmHelp w(true);
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    const QString home = P(ProfileId::HomePageUrl);
    QVERIFY(w.links().contains(home));
    QVERIFY(!w.links().join(QLatin1Char(' ')).contains(QStringLiteral("mailto")));

    // A click on the home-page link: only the left button opens it.
    const qsizetype at = w.reHelp()->toPlainText().lastIndexOf(home) + 3;
    QTextCursor c(w.reHelp()->document());
    c.setPosition(int(at));
    w.reHelp()->verticalScrollBar()->setValue(w.reHelp()->verticalScrollBar()->maximum());
    const QPoint p = w.reHelp()->cursorRect(c).center();
    QTest::mouseClick(w.reHelp()->viewport(), Qt::RightButton, {}, p);
    QVERIFY(opened.isEmpty());
    QTest::mouseClick(w.reHelp()->viewport(), Qt::LeftButton, {}, p);
    QCOMPARE(opened, QList<QUrl>{QUrl(home)});

    w.reHelpURLClick(QStringLiteral("mailto:autor@example.cz"));
    QCOMPARE(opened.last(), QUrl(QStringLiteral("mailto:autor@example.cz")));
}

void TestAbout::focusFollowsTheMouse()
{
    QWidget other;
    TfrmHelp w(true);
    w.show();
    QVERIFY(QTest::qWaitForWindowActive(&w));
    w.btnHistory()->setFocus();
    QTest::mouseMove(w.reHelp()->viewport(), QPoint(20, 20));
    QVERIFY(w.btnHistory()->hasFocus()); // not while the button shows
    w.btnHistoryClick();
    QTest::mouseMove(w.reHistory()->viewport(), QPoint(20, 20));
    QTRY_VERIFY(w.reHistory()->hasFocus());
    QTest::mouseMove(w.reHelp()->viewport(), QPoint(30, 30));
    QTRY_VERIFY(w.reHelp()->hasFocus());
}

void TestAbout::versionHistoryCommand()
{
    QWidget mainWindow;
    mainWindow.resize(673, 457);
    mainWindow.show();
    int destroyed = 0;
    QPointer<TfrmHelp> seen;
    QTimer::singleShot(0, [&] {
        seen = qobject_cast<TfrmHelp*>(QApplication::activeModalWidget());
        if (seen) {
            QCOMPARE(seen->parentWidget(), &mainWindow);
            QTest::keyClick(seen->reHelp(), Qt::Key_Escape);
        }
    });
    TfrmHelp::mnuVersionHistoryClick(&mainWindow, true, [&destroyed] { ++destroyed; });
    QVERIFY(!seen); // destroyed once closed
    QCOMPARE(destroyed, 1);
}

void TestAbout::colourNames_data()
{
    const QPalette p = QApplication::palette();
    QTest::addColumn<QString>("name");
    QTest::addColumn<QColor>("colour"); // invalid: not a colour name
    QTest::newRow("black") << "clBlack" << QColor(Qt::black);
    QTest::newRow("red") << "clRed" << QColor(255, 0, 0);
    QTest::newRow("navy") << "clNavy" << QColor(0, 0, 128);
    QTest::newRow("any case") << "CLWHITE" << QColor(Qt::white);
    QTest::newRow("button face") << "clBtnFace" << p.color(QPalette::Button);
    QTest::newRow("window text") << "clWindowText" << p.color(QPalette::WindowText);
    QTest::newRow("grey text") << "clGrayText" << p.color(QPalette::Disabled, QPalette::WindowText);
    QTest::newRow("unknown") << "clRainbow" << QColor();
}

void TestAbout::colourNames()
{
    QFETCH(QString, name);
    QFETCH(QColor, colour);
    const auto c = ToolkitColour(name, QApplication::palette());
    QCOMPARE(c.value_or(QColor()), colour);
}

void TestAbout::startupSplashIgnoresTheUser()
{
    TfrmSplash splash;
    QCOMPARE(P(ProfileId::SerialAuthorColor), QStringLiteral("clBlack"));
    QCOMPARE(textColour(splash.serialAuthorLabel()), QColor(Qt::black));
    QCOMPARE(splash.serialAuthorLabel()->text(),
             QStringLiteral("- ") + P(ProfileId::SerialAuthor) + QStringLiteral(" -"));
    QCOMPARE(splash.versionLabel()->text(), QStringLiteral("Verze: ") + VersionText());
    splash.show();
    QVERIFY(QTest::qWaitForWindowExposed(&splash));
    splash.setProgress(QStringLiteral("Načítám seznam ..."));
    QTest::mouseClick(splash.progressLabel(), Qt::LeftButton);
    QTest::mouseClick(&splash, Qt::LeftButton);
    QTest::keyClick(&splash, Qt::Key_Escape);
    QVERIFY(splash.isVisible());
    const QColor before = textColour(splash.progressLabel());
    hover(splash.progressLabel(), true);
    QCOMPARE(textColour(splash.progressLabel()), before);
    QVERIFY(!splash.progressLabel()->font().bold());
}

void TestAbout::aboutBoxAfterFadeIn_data()
{
    QTest::addColumn<QString>("how");
    QTest::newRow("click on a label") << "label";
    QTest::newRow("click on the picture") << "picture";
    QTest::newRow("Escape") << "escape";
}

void TestAbout::aboutBoxAfterFadeIn()
{
    QFETCH(QString, how);
    AboutHooks hooks;
    QPointer<TfrmSplash> box = CreateAboutBox(nullptr, hooks.hooks());
    QVERIFY(hooks.flag);
    QCOMPARE(box->progress(), QStringLiteral("- Freeware -"));
    QVERIFY(!(box->windowFlags() & Qt::WindowStaysOnTopHint));
    QVERIFY(box->fading());
    QCOMPARE(box->alpha(), 0);
    box->show();
    QVERIFY(QTest::qWaitForWindowExposed(box.data()));

    auto act = [&] {
        if (how == QLatin1String("label"))
            QTest::mouseClick(box->versionLabel(), Qt::LeftButton);
        else if (how == QLatin1String("picture"))
            QTest::mouseClick(box.data(), Qt::LeftButton, {}, QPoint(200, 200));
        else
            QTest::keyClick(box.data(), Qt::Key_Escape);
    };
    act(); // during the fade-in: refused
    QVERIFY(box->isVisible());
    QVERIFY(!box->mayClose());
    QTRY_VERIFY_WITH_TIMEOUT(!box->fading(), 3000);
    QCOMPARE(box->alpha(), 255);
    QVERIFY(box->mayClose());
    act();
    QVERIFY(!box->isVisible());

    QCOMPARE(hooks.activations, 0);
    delete box.data();
    QCOMPARE(hooks.activations, 1);
    QVERIFY(!hooks.flag);
    QCOMPARE(hooks.flagChanges, 2);
}

void TestAbout::aboutBoxWithoutFading()
{
    AboutHooks hooks;
    std::unique_ptr<TfrmSplash> box(CreateAboutBox(nullptr, hooks.hooks(), false));
    QVERIFY(!box->fading());
    QCOMPARE(box->alpha(), 255);
    box->show();
    QVERIFY(QTest::qWaitForWindowExposed(box.get()));
    QTest::mouseClick(box->progressLabel(), Qt::LeftButton);
    QVERIFY(box->isVisible()); // a click is refused
    QTest::keyClick(box.get(), Qt::Key_Escape);
    QVERIFY(!box->isVisible());
}

void TestAbout::hoverColours()
{
    std::unique_ptr<TfrmSplash> box(CreateAboutBox(nullptr, {}, false));
    QLabel* freeware = box->progressLabel();
    hover(freeware, true);
    QCOMPARE(textColour(freeware), QColor(255, 0, 0));
    QVERIFY(freeware->font().bold());
    hover(freeware, false);
    QCOMPARE(textColour(freeware), box->palette().color(QPalette::WindowText));
    QVERIFY(!freeware->font().bold());

    QCOMPARE(textColour(box->versionLabel()), QColor(128, 255, 255));
    hover(box->versionLabel(), true);
    QCOMPARE(textColour(box->versionLabel()), QColor(Qt::white));
    hover(box->versionLabel(), false);
    QCOMPARE(textColour(box->versionLabel()), QColor(0, 255, 255));
}

void TestAbout::aboutCommand()
{
    QWidget mainWindow;
    mainWindow.resize(673, 457);
    mainWindow.show();
    AboutHooks hooks;
    bool flagWhileShown = false;
    bool wasModal = false;
    QTimer poll;
    // Once the box has faded in (where it does), the user presses Escape.
    connect(&poll, &QTimer::timeout, [&] {
        auto* box = qobject_cast<TfrmSplash*>(QApplication::activeModalWidget());
        if (box && !box->fading()) {
            flagWhileShown = hooks.flag;
            wasModal = box->isModal() && box->parentWidget() == &mainWindow;
            QTest::keyClick(box, Qt::Key_Escape);
        }
    });
    poll.start(20);
    mnuAboutClick(&mainWindow, hooks.hooks());
    poll.stop();
    QVERIFY(flagWhileShown);
    QVERIFY(wasModal);
    QVERIFY(!hooks.flag);
    QCOMPARE(hooks.activations, 1);
    QVERIFY(mainWindow.findChildren<TfrmSplash*>().isEmpty());
}

QTEST_MAIN(TestAbout)
#include "tst_about.moc"
