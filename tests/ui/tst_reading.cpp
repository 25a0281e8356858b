#include "ChapterTree.h"
#include "FindDialog.h"
#include "FrameState.h"
#include "HtmlView.h"
#include "PageJs.h"
#include "RecordingMessages.h"
#include "ShellOpener.h"
#include "TestWorld.h"
#include "about/TfrmHelp.h"
#include "custom/TreePopupMenu.h"
#include "library/CataloguePage.h"
#include "library/ChapterPage.h"
#include "library/ReadingMarks.h"
#include "notes/NotesPage.h"
#include "notes/RichEdit.h"
#include "widgets/ThemeLook.h"
#include "widgets/PageControl.h"
#include "widgets/StatusBar.h"
#include "widgets/TreeModel.h"

#include <QAction>
#include <QClipboard>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QSignalSpy>
#include <QTest>
#include <QTextBlock>
#include <QTextBrowser>
#include <QTreeView>
#include <QWebEnginePage>
#include <QWebEngineScript>
#include <QWebEngineView>

using namespace tavio;
using namespace Qt::StringLiterals;

namespace {

// A long chapter with an anchor and a code block of Czech text, as the course's files are.
QByteArray longChapter(const QByteArray& title)
{
    QByteArray html = "<html><head><meta http-equiv=\"Content-Type\" content=\"text/html; charset=windows-1250\">"
                      "</head><body>\r\n<H2>Lekce - " + title + "</H2>\r\n";
    for (int i = 0; i < 120; ++i)
        html += "<p>Odstavec " + QByteArray::number(i) + " o prom\xecnn\xfd" "ch a pol\xed" "ch.</p>\r\n";
    html += "<h3 id=\"ukol\">\xdakol</h3><pre id=\"kod\">x = \"\x9e\x6c\x75\x9d\x6f\x75\xe8\x6b\xfd\"\r\nprint(x)</pre>\r\n";
    for (int i = 0; i < 60; ++i)
        html += "<p>Dal\x9a\xed text " + QByteArray::number(i) + ".</p>\r\n";
    return html + "</body></html>\r\n";
}

struct ReadingWorld : World
{
    ReadingWorld()
    {
        testfiles::write(chapters() + u"0004.htm"_s, longChapter("Dlouh\xe1"));
        testfiles::write(chapters() + u"0005.htm"_s, longChapter("Druh\xe1 dlouh\xe1"));
    }
};

bool openAndWait(TfrmAll& w, const QString& fileName)
{
    QSignalSpy complete(w.chapterPage(), &ChapterPage::documentCompleted);
    w.OpenChapterNode(w.catalogue()->trwFiles(), w.catalogue()->model(), nodeByFile(w.catalogue()->tree(), fileName));
    return complete.wait(30000);
}

double scrollShare(HtmlView* view)
{
    return runJs(view, u"(function(){ var r = document.scrollingElement; "
                       "return window.scrollY / Math.max(1, r.scrollHeight - window.innerHeight); })()"_s)
        .toDouble();
}

// Waits until the page has scrolled where the program put it.
bool waitForScroll(HtmlView* view, double near)
{
    QElapsedTimer t;
    t.start();
    while (t.elapsed() < 10000) {
        if (std::abs(scrollShare(view) - near) < 0.03)
            return true;
        QTest::qWait(50);
    }
    return false;
}

void saveShot(QWidget* w, const QString& name)
{
    const QString folder = qEnvironmentVariable("TAVIO_SHOTS");
    if (!folder.isEmpty())
        w->grab().save(folder + u"/"_s + name);
}

} // namespace

class TestReading final : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void historyAndPositions();
    void readMarks();
    void themes();
    void findCount();
    void copyCode();
    void damagedStateFile();
    void pictures();
};

void TestReading::initTestCase()
{
    ShellOpener::setHandler([](const QUrl&) { return true; });
}

void TestReading::historyAndPositions()
{
    ReadingWorld world;
    {
        auto w = world.start();
        w->show();
        HtmlView* view = w->chapterPage()->wbFile();
        QAction* back = w->chapterPage()->tlbBack();
        QAction* forward = w->chapterPage()->tlbForward();
        QVERIFY(!back->isEnabled() && !forward->isEnabled());

        // The reader scrolls halfway; the position is kept by file name.
        QVERIFY(openAndWait(*w, u"0004.htm"_s));
        QSignalSpy moved(view, &HtmlView::readingPositionChanged);
        runJs(view, u"window.scrollTo(0, 0.5 * (document.scrollingElement.scrollHeight - window.innerHeight))"_s);
        QVERIFY(moved.wait(5000));
        QVERIFY(std::abs(w->frameState().reading().position(u"0004.htm"_s).value_or(0) - 0.5) < 0.02);

        QVERIFY(openAndWait(*w, u"0003.htm"_s));
        QVERIFY(back->isEnabled());
        QCOMPARE(back->toolTip(), u"Zpět: Dlouhá"_s);

        // Alt+Left, as a real key press in the view, goes back and lands where the reader was.
        QSignalSpy complete(w->chapterPage(), &ChapterPage::documentCompleted);
        view->focusView();
        QTest::keyClick(view->engineView()->focusProxy(), Qt::Key_Left, Qt::AltModifier);
        QVERIFY(complete.wait(30000));
        QCOMPARE(view->locationName(), u"0004.htm"_s);
        QCOMPARE(w->CurrentChapterPath(), world.chapters() + u"0004.htm"_s);
        QVERIFY(waitForScroll(view, 0.5));
        QCOMPARE(forward->toolTip(), u"Vpřed: Úvod znovu"_s);

        // Text size changes keep the place in the text.
        w->chapterPage()->mnuTextSizeClick(4);
        QTest::qWait(400);
        QVERIFY(waitForScroll(view, 0.5));

        // An anchor followed enters the history; going back stays in the same document.
        QSignalSpy urls(view, &HtmlView::urlChanged);
        runJs(view, u"location.hash = 'ukol'"_s);
        QTRY_COMPARE(urls.size(), 1);
        QCOMPARE(w->frameState().reading().history().last(), (HistoryEntry{u"0004.htm"_s, u"ukol"_s}));
        QVERIFY(!forward->isEnabled()); // the new place dropped what lay ahead
        back->trigger();
        QVERIFY(waitForScroll(view, 0.5));
        QCOMPARE(view->locationName(), u"0004.htm"_s);

        // Another chapter from the previous/next buttons enters the history too.
        complete.clear();
        w->chapterPage()->tlbNextCap()->trigger();
        QVERIFY(complete.wait(30000));
        QCOMPARE(view->locationName(), u"0005.htm"_s);
        QCOMPARE(w->frameState().recentChapterPaths().value(0), world.chapters() + u"0005.htm"_s);
        // The mouse's back button goes back as well.
        complete.clear();
        QTest::mouseClick(view->engineView()->focusProxy(), Qt::BackButton, {}, QPoint(50, 50));
        QVERIFY(complete.wait(30000));
        QCOMPARE(view->locationName(), u"0004.htm"_s);
        QTest::keyClick(view->engineView()->focusProxy(), Qt::Key_Right, Qt::AltModifier);
        QVERIFY(complete.wait(30000));
        QCOMPARE(view->locationName(), u"0005.htm"_s);
        w->FormDestroy();
    }
    // The history survives a restart.
    auto w = world.start();
    QCOMPARE(w->frameState().reading().history().last().fileName, u"0005.htm"_s);
    QVERIFY(w->chapterPage()->tlbBack()->isEnabled());
    QCOMPARE(w->frameState().reading().position(u"0004.htm"_s).has_value(), true);
}

void TestReading::readMarks()
{
    ReadingWorld world;
    auto w = world.start();
    w->show();
    CataloguePage* bar = w->catalogue();
    QCOMPARE(bar->readCountText(), u"Přečteno 0 z 6 kapitol"_s);

    // A short chapter shows its end at once; a long one only when scrolled to the end.
    QVERIFY(openAndWait(*w, u"0001.htm"_s));
    QTRY_VERIFY(w->frameState().reading().isRead(u"0001.htm"_s));
    QVERIFY(openAndWait(*w, u"0004.htm"_s));
    QTest::qWait(300);
    QVERIFY(!w->frameState().reading().isRead(u"0004.htm"_s));
    runJs(w->chapterPage()->wbFile(), u"window.scrollTo(0, document.scrollingElement.scrollHeight)"_s);
    QTRY_VERIFY(w->frameState().reading().isRead(u"0004.htm"_s));
    QCOMPARE(bar->readCountText(), u"Přečteno 2 z 6 kapitol"_s);

    // By hand, from the pop-up menu of the chapter list; unread chapters are bold.
    w->pgcFiles()->setCurrentIndex(TfrmAll::PageFiles);
    TreeModel* model = w->catalogue()->model();
    w->catalogue()->selectNode(nodeByFile(w->catalogue()->tree(), u"0004.htm"_s));
    TreePopupMenu* menu = w->treePopup();
    menu->popmnuCustomTreePopup();
    QVERIFY(menu->item(u"popMarkUnread"_s)->isVisible() && !menu->item(u"popMarkRead"_s)->isVisible());
    menu->item(u"popMarkUnread"_s)->trigger();
    QVERIFY(!w->frameState().reading().isRead(u"0004.htm"_s));
    QCOMPARE(bar->readCountText(), u"Přečteno 1 z 6 kapitol"_s);
    const auto captionWidth = [&](const QString& name) {
        QStyleOptionViewItem option;
        auto* delegate = static_cast<QStyledItemDelegate*>(w->catalogue()->trwFiles()->itemDelegate());
        const QModelIndex index = model->indexOf(nodeByFile(w->catalogue()->tree(), name));
        // initStyleOption is protected; the size hint of a bold caption is wider.
        const int wide = delegate->sizeHint(option, index).width();
        return wide;
    };
    const int unreadWidth = captionWidth(u"0004.htm"_s);
    menu->popmnuCustomTreePopup();
    menu->item(u"popMarkRead"_s)->trigger();
    QVERIFY(captionWidth(u"0004.htm"_s) < unreadWidth);

    // The chapters the last update brought carry their hint; a chapter removed from the
    // folder is forgotten when the list is built again.
    w->frameState().setNewChapters({u"0005.htm"_s});
    QVERIFY(w->frameState().reading().isNew(u"0005.htm"_s));
    QFile::remove(world.chapters() + u"0001.htm"_s);
    QVERIFY(w->catalogue()->BuildCatalogue(w->catalogue()->folder()));
    QVERIFY(!w->frameState().reading().isRead(u"0001.htm"_s));
    QCOMPARE(bar->readCountText(), u"Přečteno 1 z 5 kapitol"_s);
    saveShot(w.get(), u"catalogue-marks.png"_s);
}

void TestReading::themes()
{
    ReadingWorld world;
    auto w = world.start();
    w->show();
    w->resize(900, 650);
    QVERIFY(openAndWait(*w, u"0004.htm"_s));
    HtmlView* view = w->chapterPage()->wbFile();
    const auto background = [&] { return runJs(view, u"getComputedStyle(document.body).backgroundColor"_s).toString(); };
    const auto codeColour = [&] { return runJs(view, u"getComputedStyle(document.getElementById('kod')).color"_s).toString(); };
    QCOMPARE(background(), u"rgba(0, 0, 0, 0)"_s);

    struct Case
    {
        const char* action;
        const char* page;
        ReadingTheme theme;
    };
    for (const Case& c : {Case{"mnuThemeDark", "rgb(31, 32, 35)", ReadingTheme::Dark},
                          Case{"mnuThemeSepia", "rgb(244, 236, 216)", ReadingTheme::Sepia}}) {
        w->action(QLatin1String(c.action))->trigger();
        QCOMPARE(w->frameState().theme(), c.theme);
        QTRY_COMPARE(background(), QLatin1String(c.page));
        QVERIFY(codeColour() != u"rgb(0, 0, 0)"_s || c.theme == ReadingTheme::Sepia);
        // A chapter opened later has the theme from its first paint.
        QVERIFY(openAndWait(*w, u"0005.htm"_s));
        QCOMPARE(background(), QLatin1String(c.page));
        QVERIFY(openAndWait(*w, u"0004.htm"_s));
        QTest::qWait(300);
        saveShot(w.get(), u"theme-"_s + QString::number(int(c.theme)) + u".png"_s);
    }
    // The chapter file itself never changes.
    QCOMPARE(testfiles::read(world.chapters() + u"0004.htm"_s), longChapter("Dlouh\xe1"));

    // The notes and the description window show the theme; the notes keep their own
    // colours in what is saved and copied, and a change of theme changes nothing in them.
    const ThemeColours& dark = ColoursOf(ReadingTheme::Dark);
    RichEdit* notes = w->notesPage()->reNotes();
    const auto shownText = [&] { return notes->document()->begin().begin().fragment().charFormat().foreground().color(); };
    QTest::keyClicks(notes, u"Poznamka"_s);
    notes->setModified(false);
    const QTextCharFormat typed = notes->document()->begin().begin().fragment().charFormat();
    const QColor own = QColor::fromRgb(notes->textStyles().value(notes->notes().styleNoOf(typed)).Color);
    QVERIFY(own.lightnessF() < 0.5f);
    const QByteArray saved = WriteNotes(notes->content());
    const QString copied = notes->notes().selfContainedHtml();
    w->action(u"mnuThemeDark"_s)->trigger();
    QCOMPARE(notes->palette().color(QPalette::Base), QColor::fromRgb(dark.page));
    QCOMPARE(shownText(), ShownTextColour(own, ReadingTheme::Dark));
    QVERIFY(!notes->isModified());
    QCOMPARE(WriteNotes(notes->content()), saved);
    QCOMPARE(notes->notes().selfContainedHtml(), copied);
    TfrmHelp description(false, nullptr, w->frameState().theme());
    QCOMPARE(description.reHelp()->palette().color(QPalette::Base), QColor::fromRgb(dark.page));
    w->pgcFiles()->setCurrentWidget(w->notesPage());
    saveShot(w.get(), u"theme-notes-2.png"_s);
    description.btnHistoryClick();
    saveShot(&description, u"theme-description-2.png"_s);
    w->pgcFiles()->setCurrentWidget(w->chapterPage());
    // Dark colours turn light in the dark theme, light backgrounds dark, each keeping its hue.
    const QColor navy(0, 0, 128), yellow(255, 255, 160);
    QCOMPARE(ShownTextColour(navy, ReadingTheme::Dark).hslHue(), navy.hslHue());
    QVERIFY(ShownTextColour(navy, ReadingTheme::Dark).lightnessF() > 0.5f);
    QVERIFY(ShownBackColour(yellow, ReadingTheme::Dark).lightnessF() < 0.5f);
    QCOMPARE(ShownTextColour(navy, ReadingTheme::Sepia), navy);
    QCOMPARE(ShownBackColour(Qt::white, ReadingTheme::Sepia), QColor::fromRgb(ColoursOf(ReadingTheme::Sepia).page));
    w->action(u"mnuThemeLight"_s)->trigger();
    QTRY_COMPARE(background(), u"rgba(0, 0, 0, 0)"_s);
    QCOMPARE(shownText(), own);
    saveShot(w.get(), u"theme-0.png"_s);
    w->action(u"mnuThemeDark"_s)->trigger();
    w.reset();
    QCOMPARE(world.start()->frameState().theme(), ReadingTheme::Dark);
}

void TestReading::findCount()
{
    ReadingWorld world;
    auto w = world.start();
    w->show();
    QVERIFY(openAndWait(*w, u"0004.htm"_s));
    HtmlView* view = w->chapterPage()->wbFile();
    view->showFindDialog();
    FindDialog* dialog = view->findDialog();
    auto* count = dialog->findChild<QLabel*>(u"lblFindCount"_s);
    // The count follows the typing.
    QTest::keyClicks(dialog->findChild<QLineEdit*>(), u"odstavec 11"_s);
    QTRY_COMPARE(dialog->countText(), u"0 z 11"_s);
    QVERIFY(count->isVisible());
    // F3 and Shift+F3 step through the matches, the current one counted.
    QTest::keyClick(dialog, Qt::Key_F3);
    QTRY_COMPARE(dialog->countText(), u"1 z 11"_s);
    QTest::keyClick(dialog, Qt::Key_F3);
    QTRY_COMPARE(dialog->countText(), u"2 z 11"_s);
    QTest::keyClick(dialog, Qt::Key_F3, Qt::ShiftModifier);
    QTRY_COMPARE(dialog->countText(), u"1 z 11"_s);
    QTest::keyClick(dialog, Qt::Key_F3, Qt::ShiftModifier);
    QTRY_COMPARE(dialog->countText(), u"11 z 11"_s);
    // Every match has its box, the current one its own colour; the text is untouched.
    QCOMPARE(runJs(view, u"document.querySelectorAll('#tavio-find-layer > div').length"_s).toInt(), 11);
    QCOMPARE(runJs(view, u"document.getElementsByClassName('tavio-hl').length"_s).toInt(), 0);
    saveShot(dialog, u"find-count.png"_s);
    dialog->findChild<QLineEdit*>()->setText(u"potok"_s);
    QTRY_COMPARE(dialog->countText(), u"Hledané slovo nebylo nalezeno"_s);
    dialog->reject();
    QTRY_COMPARE(runJs(view, u"document.getElementById('tavio-find-layer') === null"_s).toBool(), true);
}

void TestReading::copyCode()
{
    ReadingWorld world;
    auto w = world.start();
    w->show();
    QVERIFY(openAndWait(*w, u"0004.htm"_s));
    HtmlView* view = w->chapterPage()->wbFile();
    const QString expected = u"x = \"žluťoučký\"\nprint(x)"_s;
    // The button over the block under the pointer.
    QSignalSpy copied(view, &HtmlView::codeCopied);
    runJs(view, u"(function(){ var pre = document.getElementById('kod'); pre.scrollIntoView();"
                " pre.dispatchEvent(new MouseEvent('mouseover', {bubbles: true}));"
                " document.getElementById('tavio-copy').click(); })()"_s);
    QTRY_COMPARE(copied.size(), 1);
    QCOMPARE(copied.at(0).at(0).toString(), expected);
    QCOMPARE(QGuiApplication::clipboard()->text(), expected);
    // The button's caption is no text of the page: find and the block's text miss it.
    QCOMPARE(runJs(view, u"document.body.innerText.indexOf('Kopírovat')"_s).toInt(), -1);
    // The pop-up menu opened on the block offers the item.
    runJs(view, u"document.getElementById('kod').dispatchEvent(new MouseEvent('contextmenu', {bubbles: true}))"_s);
    QCOMPARE(runJs(view, u"window.tavioMenuBlock ? window.tavioMenuBlock.id : ''"_s).toString(), u"kod"_s);
    QCOMPARE(HtmlView::copyItemText(), u"Kopírovat ukázku kódu"_s);
    QCOMPARE(testfiles::read(world.chapters() + u"0004.htm"_s), longChapter("Dlouh\xe1"));
}

void TestReading::damagedStateFile()
{
    ReadingWorld world;
    const QString path = FileLayout(world.program, world.appData).readingStatePath();
    testfiles::write(path, "TavioReadingState\t1\r\nc\t0001.htm\tr\tbroken\r\n");
    auto w = world.start();
    QVERIFY(w->frameState().reading().history().isEmpty());
    QVERIFY(!QFile::exists(path));
    QCOMPARE(testfiles::read(path + u".damaged"_s), QByteArray("TavioReadingState\t1\r\nc\t0001.htm\tr\tbroken\r\n"));
    w->frameState().setRead(u"0001.htm"_s, true);
    w->FormDestroy();
    QVERIFY(ReadingState::load(path).state.isRead(u"0001.htm"_s));
}

// The pictures of the themes on a shipped chapter, for the documentation; only when asked for.
void TestReading::pictures()
{
    if (qEnvironmentVariableIsEmpty("TAVIO_SHOTS"))
        QSKIP("TAVIO_SHOTS names no folder for the pictures");
    World world{QStringLiteral(TAVIO_SOURCE_DIR "/data/Htm")};
    auto w = world.start();
    w->resize(817, 457);
    w->show();
    QVERIFY(openAndWait(*w, u"0001.htm"_s));
    for (const char* name : {"mnuThemeLight", "mnuThemeSepia", "mnuThemeDark"}) {
        w->action(QLatin1String(name))->trigger();
        QTest::qWait(1500);
        saveShot(w.get(), u"chapter-"_s + QLatin1String(name) + u".png"_s);
    }
}

QTEST_MAIN(TestReading)
#include "tst_reading.moc"
