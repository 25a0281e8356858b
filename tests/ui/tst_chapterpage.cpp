#include "ChapterTree.h"
#include "FindDialog.h"
#include "HtmlView.h"
#include "PageJs.h"
#include "RecordingMessages.h"
#include "ShellOpener.h"
#include "TestWorld.h"
#include "TextSize.h"
#include "library/CataloguePage.h"
#include "widgets/TreeModel.h"
#include "library/ChapterPage.h"
#include "marks/BookmarkMenu.h"
#include "widgets/PageControl.h"
#include "widgets/StatusBar.h"

#include <QAction>
#include <QTreeView>
#include <QMenu>
#include <QPrinter>
#include <QSignalSpy>
#include <QTest>
#include <QWebEnginePage>
#include <QWebEngineScript>
#include <QWebEngineView>

using namespace tavio;

namespace {

bool openNode(TfrmAll& w, TreeNode* node)
{
    return w.OpenChapterNode(w.catalogue()->trwFiles(), w.catalogue()->model(), node);
}

// Opens a chapter node and waits until its document is complete.
bool openAndWait(TfrmAll& w, TreeNode* node)
{
    QSignalSpy complete(w.chapterPage(), &ChapterPage::documentCompleted);
    openNode(w, node);
    return complete.wait(30000);
}

// A real click on an element: the engine treats only those as the user's own.
void clickElement(HtmlView* view, const QString& id)
{
    const QVariantList r = runJs(view, QStringLiteral("(function(){ var e = document.getElementById('%1'); e.scrollIntoView(); "
                                                     "var r = e.getBoundingClientRect(); return [r.left + 3, r.top + 3]; })()")
                                           .arg(id))
                               .toList();
    QVERIFY(r.size() == 2);
    QTest::mouseClick(view->engineView()->focusProxy(), Qt::LeftButton, {}, QPoint(r[0].toInt(), r[1].toInt()));
}

int footerCount(HtmlView* view)
{
    return runJs(view, QStringLiteral("document.body.innerHTML.split('programová off-line verze').length - 1")).toInt();
}

} // namespace

class TestChapterPage final : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void openFromTree();
    void stepThroughTheSamples();
    void guard();
    void textSizeFreshUser();
    void textSizeStoredLargest();
    void printToPdf();
    void keysPerPage();
    void lastChapter();
    void missingAndEmptyChapter();
    void bookmarks();

private:
    QList<QUrl> m_opened;
};

void TestChapterPage::initTestCase()
{
    ShellOpener::setHandler([this](const QUrl& url) {
        m_opened.append(url);
        return true;
    });
}

void TestChapterPage::openFromTree()
{
    World world{QStringLiteral(TAVIO_SOURCE_DIR "/data/Htm")};
    auto w = world.start();
    w->show();
    QVERIFY(!w->pgcFiles()->isTabVisible(TfrmAll::PageChapter));
    QVERIFY(!w->pgcFiles()->isTabVisible(TfrmAll::PageNotes));
    ChapterTree& tree = w->catalogue()->tree();
    QVERIFY(openAndWait(*w, nodeByFile(tree, QStringLiteral("0010.htm"))));
    QCOMPARE(w->pgcFiles()->currentIndex(), int(TfrmAll::PageChapter));
    QVERIFY(w->pgcFiles()->isTabVisible(TfrmAll::PageChapter));
    QVERIFY(w->pgcFiles()->isTabVisible(TfrmAll::PageNotes));
    // The title's ampersand shows as one ampersand on the tab.
    QCOMPARE(w->pgcFiles()->tabText(TfrmAll::PageChapter), QStringLiteral("Vstup && výstup"));
    QCOMPARE(w->CurrentChapterPath(), world.chapters() + QStringLiteral("0010.htm"));
    HtmlView* view = w->chapterPage()->wbFile();
    QCOMPARE(view->locationName(), QStringLiteral("0010.htm"));
    QCOMPARE(footerCount(view), 1);
    QVERIFY(w->chapterPage()->tlbPreviousCap()->isEnabled());
    QVERIFY(w->chapterPage()->tlbNextCap()->isEnabled());
    // A group node is only selected.
    TreeNode* group = tree.topLevel(1);
    QVERIFY(group->hasChildren());
    QVERIFY(openNode(*w, group));
    QCOMPARE(w->catalogue()->selectedNode(), group);
    QVERIFY(!openNode(*w, nullptr));
    // While the view loads, the status bar names the file.
    QSignalSpy complete(w->chapterPage(), &ChapterPage::documentCompleted);
    QVERIFY(openNode(*w, nodeByFile(tree, QStringLiteral("0001.htm"))));
    QCOMPARE(w->chapterPage()->statusBar()->text(0), world.chapters() + QStringLiteral("0001.htm"));
    QVERIFY(complete.wait(30000));
}

void TestChapterPage::stepThroughTheSamples()
{
    World world{QStringLiteral(TAVIO_SOURCE_DIR "/data/Htm")};
    auto w = world.start();
    w->show();
    ChapterPage* page = w->chapterPage();
    HtmlView* view = page->wbFile();
    QVERIFY(openAndWait(*w, nodeByFile(w->catalogue()->tree(), QStringLiteral("0001.htm"))));
    QVERIFY(!page->tlbPreviousCap()->isEnabled());
    QStringList seen{view->locationName()};
    while (page->tlbNextCap()->isEnabled()) {
        QSignalSpy complete(page, &ChapterPage::documentCompleted);
        page->tlbNextCap()->trigger();
        QVERIFY(complete.wait(30000));
        seen.append(view->locationName());
        QCOMPARE(footerCount(view), 1);
        QVERIFY(seen.size() < 40);
    }
    QStringList expected = QDir(world.chapters()).entryList({QStringLiteral("*.htm")}, QDir::Files, QDir::Name);
    QCOMPARE(seen, expected);
    QCOMPARE(w->CurrentChapterPath(), world.chapters() + expected.last());
    // And back again to the first one.
    while (page->tlbPreviousCap()->isEnabled()) {
        QSignalSpy complete(page, &ChapterPage::documentCompleted);
        page->tlbPreviousCap()->trigger();
        QVERIFY(complete.wait(30000));
        seen.removeLast();
        QCOMPARE(view->locationName(), seen.last());
    }
    QCOMPARE(view->locationName(), QStringLiteral("0001.htm"));
}

void TestChapterPage::guard()
{
    World world;
    testfiles::write(world.chapters() + QStringLiteral("0004.htm"),
                     "<html><body><H2>Lekce 4 - Odkazy</H2>\r\n<p><a id=\"in\" href=\"0001.htm\">dal</a></p>\r\n"
                     "<p><a id=\"out\" href=\"http://www.example.org/x.htm\">ven</a></p>\r\n"
                     "<p><a id=\"blank\" href=\"http://www.example.org/new.htm\" target=\"_blank\">okno</a></p>"
                     "</body></html>");
    // A page that sets out for the web by itself: by a refresh, a form sent by script and
    // a script setting the location.
    testfiles::write(world.chapters() + QStringLiteral("0005.htm"),
                     "<html><head><meta http-equiv=\"refresh\" content=\"0; url=http://www.example.org/obnova\">"
                     "</head><body onload=\"setTimeout(function () { document.getElementById('f').submit(); "
                     "location.href = 'http://www.example.org/skript?data=1'; }, 0)\">"
                     "<H2>Lekce 5 - Sama</H2>\r\n<form id=\"f\" action=\"http://www.example.org/formular\">"
                     "<input name=\"q\" value=\"tajne\"></form>"
                     "<p><a id=\"out\" href=\"http://www.example.org/klik\">ven</a></p></body></html>");
    auto w = world.start();
    w->show();
    ChapterPage* page = w->chapterPage();
    HtmlView* view = page->wbFile();
    QVERIFY(openAndWait(*w, nodeByFile(w->catalogue()->tree(), QStringLiteral("0004.htm"))));
    m_opened.clear();
    // An address on the web never loads in the view; the user's browser gets it.
    QCOMPARE(page->wbFileBeforeNavigate2(QUrl(QStringLiteral("http://www.example.org/x.htm"))), false);
    QCOMPARE(m_opened, QList<QUrl>{QUrl(QStringLiteral("http://www.example.org/x.htm"))});
    // Other schemes go nowhere.
    QCOMPARE(page->wbFileBeforeNavigate2(QUrl(QStringLiteral("javascript:alert(1)"))), false);
    QCOMPARE(page->wbFileBeforeNavigate2(QUrl(QStringLiteral("data:text/html,x"))), false);
    QCOMPARE(m_opened.size(), 1);
    // A file in another folder leaves too; the chapter folder (any case) stays.
    QCOMPARE(page->wbFileBeforeNavigate2(QUrl::fromLocalFile(world.program + QStringLiteral("x.htm"))), false);
    QCOMPARE(page->wbFileBeforeNavigate2(QUrl::fromLocalFile(world.chapters() + QStringLiteral("0001.htm"))), true);
    QCOMPARE(m_opened.size(), 2);

    // Clicks in the page: the inner link loads, the outer one does not.
    m_opened.clear();
    clickElement(view, QStringLiteral("out"));
    QTRY_COMPARE_WITH_TIMEOUT(m_opened.size(), 1, 20000);
    QCOMPARE(view->locationName(), QStringLiteral("0004.htm"));
    clickElement(view, QStringLiteral("blank"));
    QTRY_COMPARE_WITH_TIMEOUT(m_opened.size(), 2, 20000);
    QCOMPARE(m_opened.last(), QUrl(QStringLiteral("http://www.example.org/new.htm")));
    // The refused clicks left the page and its footer as they were.
    QCOMPARE(footerCount(view), 1);
    QSignalSpy complete(page, &ChapterPage::documentCompleted);
    clickElement(view, QStringLiteral("in"));
    QVERIFY(complete.wait(30000));
    QCOMPARE(view->locationName(), QStringLiteral("0001.htm"));
    QCOMPARE(footerCount(view), 1);

    // Only the click reaches the user's browser; what the page started is dropped.
    QVERIFY(openAndWait(*w, nodeByFile(w->catalogue()->tree(), QStringLiteral("0005.htm"))));
    m_opened.clear();
    clickElement(view, QStringLiteral("out"));
    QTRY_COMPARE_WITH_TIMEOUT(m_opened.size(), 1, 20000);
    QCOMPARE(runJs(view, QStringLiteral("1")).toInt(), 1);
    QCOMPARE(m_opened, QList<QUrl>{QUrl(QStringLiteral("http://www.example.org/klik"))});
    QCOMPARE(view->locationName(), QStringLiteral("0005.htm"));
}

void TestChapterPage::textSizeFreshUser()
{
    World world;
    auto w = world.start();
    w->show();
    ChapterPage* page = w->chapterPage();
    QVERIFY(!page->checkedTextSize());
    QVERIFY(openAndWait(*w, nodeByFile(w->catalogue()->tree(), QStringLiteral("0001.htm"))));
    QCOMPARE(page->checkedTextSize(), std::optional<int>(2));
    QCOMPARE(page->findChild<QAction*>(QStringLiteral("mnuMedium"))->isChecked(), true);
    QCOMPARE(page->wbFile()->engineView()->zoomFactor(), HtmlView::zoomFactorForStep(2));
    // The view's own setting was made by the view at the first load and holds the default afterwards.
    QCOMPARE(*world.store->readBinary(TextSize::viewKey(), TextSize::valueName()), QByteArray("\x02\0\0\0", 4));

    // Choosing the largest size zooms the shown page at once and keeps the user's setting.
    page->findChild<QAction*>(QStringLiteral("mnuLargest"))->trigger();
    QCOMPARE(page->wbFile()->engineView()->zoomFactor(), HtmlView::zoomFactorForStep(4));
    QCOMPARE(*world.store->readInteger(QStringLiteral("\\Software\\Marrowick\\Tavio\\"), QStringLiteral("IEFontSize")), 4);
    QCOMPARE(*world.store->readBinary(TextSize::viewKey(), TextSize::valueName()), QByteArray("\x02\0\0\0", 4));
}

void TestChapterPage::textSizeStoredLargest()
{
    World world;
    world.store->writeInteger(QStringLiteral("\\Software\\Marrowick\\Tavio\\"), QStringLiteral("IEFontSize"), 4);
    // A run that shows no chapter checks no size item and keeps the stored choice.
    world.start();
    QCOMPARE(*world.store->readInteger(QStringLiteral("\\Software\\Marrowick\\Tavio\\"), QStringLiteral("IEFontSize")), 4);
    // The user's own view setting is 1 and must be 1 again after the run.
    world.store->writeBinary(TextSize::viewKey(), TextSize::valueName(), QByteArray("\x01\0\0\0", 4));
    {
        auto w = world.start();
        w->show();
        QVERIFY(openAndWait(*w, nodeByFile(w->catalogue()->tree(), QStringLiteral("0003.htm"))));
        QCOMPARE(w->chapterPage()->checkedTextSize(), std::optional<int>(4));
        QCOMPARE(w->chapterPage()->wbFile()->engineView()->zoomFactor(), HtmlView::zoomFactorForStep(4));
        QCOMPARE(*world.store->readBinary(TextSize::viewKey(), TextSize::valueName()), QByteArray("\x01\0\0\0", 4));
    }
    QCOMPARE(*world.store->readBinary(TextSize::viewKey(), TextSize::valueName()), QByteArray("\x01\0\0\0", 4));
    QCOMPARE(*world.store->readInteger(QStringLiteral("\\Software\\Marrowick\\Tavio\\"), QStringLiteral("IEFontSize")), 4);
}

void TestChapterPage::printToPdf()
{
    World world{QStringLiteral(TAVIO_SOURCE_DIR "/data/Htm")};
    auto w = world.start();
    w->show();
    QVERIFY(openAndWait(*w, nodeByFile(w->catalogue()->tree(), QStringLiteral("0004-01.htm"))));
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    const QString pdf = world.dir.filePath(QStringLiteral("chapter.pdf"));
    printer.setOutputFileName(pdf);
    bool done = false, ok = false;
    w->chapterPage()->wbFile()->printTo(&printer, [&](bool result) {
        ok = result;
        done = true;
    });
    QTRY_VERIFY_WITH_TIMEOUT(done, 240000); // a limit, not a timing: printing is slow on a busy machine
    QVERIFY(ok);
    const QByteArray bytes = testfiles::read(pdf);
    QVERIFY(bytes.startsWith("%PDF"));
    QVERIFY(bytes.size() > 2000);
}

void TestChapterPage::keysPerPage()
{
    World world;
    auto w = world.start();
    w->show();
    QVERIFY(QTest::qWaitForWindowExposed(w.get()));
    // F7 on the catalogue opens the tree find.
    QTest::keyRelease(w->catalogue()->trwFiles(), Qt::Key_F7);
    QVERIFY(w->dlgFindNodeText()->isVisible());
    w->dlgFindNodeText()->close();
    // Shift+F7 there asks for the page find, which acts only on the chapter page.
    QTest::keyRelease(w->catalogue()->trwFiles(), Qt::Key_F7, Qt::ShiftModifier);
    QVERIFY(!w->dlgFindNodeText()->isVisible());
    QVERIFY(!w->chapterPage()->wbFile()->findDialog() || !w->chapterPage()->wbFile()->findDialog()->isVisible());

    QVERIFY(openAndWait(*w, nodeByFile(w->catalogue()->tree(), QStringLiteral("0001.htm"))));
    QTest::keyRelease(w->chapterPage()->wbFile(), Qt::Key_F7);
    QTRY_VERIFY(w->chapterPage()->wbFile()->findDialog() && w->chapterPage()->wbFile()->findDialog()->isVisible());
    w->chapterPage()->wbFile()->findDialog()->close();
    // Ctrl+F on the chapter page is the page find too; F3 there does nothing.
    w->action(QStringLiteral("mnuFind"))->trigger();
    QVERIFY(w->chapterPage()->wbFile()->findDialog()->isVisible());
    QVERIFY(!w->action(QStringLiteral("mnuFindNext"))->isEnabled());
    w->chapterPage()->wbFile()->findDialog()->close();

    // The search page disables both find commands; leaving it gives Ctrl+F back.
    QVERIFY(w->pgcFiles()->changePage(TfrmAll::PageFinding));
    QVERIFY(!w->action(QStringLiteral("mnuFind"))->isEnabled());
    QVERIFY(w->pgcFiles()->changePage(TfrmAll::PageFiles));
    QVERIFY(w->action(QStringLiteral("mnuFind"))->isEnabled());
    QVERIFY(w->action(QStringLiteral("mnuFindNext"))->isEnabled());
    // The clock runs on the chapter page's status bar.
    QVERIFY(w->chapterPage()->statusBar()->text(1).startsWith(QStringLiteral("Aktuální čas: [")));
}

void TestChapterPage::lastChapter()
{
    World world;
    world.store->writeBool(QStringLiteral("\\Software\\Marrowick\\Tavio\\Settings\\"), QStringLiteral("OpenLastProject"),
                           true);
    {
        auto w = world.start();
        w->show();
        QVERIFY(openAndWait(*w, nodeByFile(w->catalogue()->tree(), QStringLiteral("0002-02.htm"))));
    }
    QCOMPARE(*world.store->readString(QStringLiteral("\\Software\\Marrowick\\Tavio\\"), QStringLiteral("LastProject")),
             world.chapters() + QStringLiteral("0002-02.htm"));
    // The next start comes up on that chapter.
    auto w = world.start();
    QSignalSpy complete(w->chapterPage(), &ChapterPage::documentCompleted);
    w->show();
    QVERIFY(complete.wait(30000));
    QCOMPARE(w->pgcFiles()->currentIndex(), int(TfrmAll::PageChapter));
    QCOMPARE(w->chapterPage()->wbFile()->locationName(), QStringLiteral("0002-02.htm"));
    QCOMPARE(w->pgcFiles()->tabText(TfrmAll::PageChapter), QStringLiteral(" Pole"));
    // With the option off the value is written empty.
    w->action(QStringLiteral("mnuOpenLastProject"))->trigger();
    w.reset();
    QCOMPARE(*world.store->readString(QStringLiteral("\\Software\\Marrowick\\Tavio\\"), QStringLiteral("LastProject")),
             QString());
}

void TestChapterPage::missingAndEmptyChapter()
{
    World world;
    testfiles::write(world.chapters() + QStringLiteral("0004.htm"), QByteArray());
    RecordingMessages messages;
    auto w = world.start();
    w->show();
    TreeNode* node = nodeByFile(w->catalogue()->tree(), QStringLiteral("0003.htm"));
    QFile::remove(world.chapters() + QStringLiteral("0003.htm"));
    // The view navigates anyway and the operation reports the missing file.
    QSignalSpy complete(w->chapterPage(), &ChapterPage::documentCompleted);
    QVERIFY(!openNode(*w, node));
    QVERIFY(complete.wait(30000));
    // By path, the title reader's message appears and the tab caption is empty.
    QVERIFY(w->OpenChapterFile(world.chapters() + QStringLiteral("0003.htm")));
    QCOMPARE(messages.texts(), QStringList{QStringLiteral("Soubor nebyl nalezen")});
    QCOMPARE(w->pgcFiles()->tabText(TfrmAll::PageChapter), QString());
    // An empty chapter has no title; its tab shows the file name, from the tree and by path.
    QVERIFY(openNode(*w, nodeByFile(w->catalogue()->tree(), QStringLiteral("0004.htm"))));
    QCOMPARE(w->pgcFiles()->tabText(TfrmAll::PageChapter), QStringLiteral("0004.htm"));
    w->pgcFiles()->setTabText(TfrmAll::PageChapter, QString());
    QVERIFY(w->OpenChapterFile(world.chapters() + QStringLiteral("0004.htm")));
    QCOMPARE(w->pgcFiles()->tabText(TfrmAll::PageChapter), QStringLiteral("0004.htm"));
}

void TestChapterPage::bookmarks()
{
    World world;
    RecordingMessages messages;
    {
        auto w = world.start();
        w->show();
        BookmarkMenu* marks = w->bookmarkMenu();
        marks->dialogs.inputText = [](QWidget*, const QString&, const QString&, const QString& text) {
            return std::optional<QString>(text + QStringLiteral(" & víc"));
        };
        // From the catalogue: enabled only on a chapter node.
        CataloguePage* catalogue = w->catalogue();
        catalogue->selectNode(catalogue->tree().topLevel(1)); // the group 0002
        QVERIFY(!w->action(QStringLiteral("mnuAddMark"))->isEnabled());
        catalogue->selectNode(nodeByFile(catalogue->tree(), QStringLiteral("0003.htm")));
        QVERIFY(w->action(QStringLiteral("mnuAddMark"))->isEnabled());
        w->action(QStringLiteral("mnuAddMark"))->trigger();
        QCOMPARE(marks->mnuMarks()->actions().size(), 6);
        QCOMPARE(marks->mnuMarks()->actions().last()->text(), QStringLiteral("Úvod znovu && víc"));
        // From the chapter view.
        QVERIFY(openAndWait(*w, nodeByFile(catalogue->tree(), QStringLiteral("0002-02.htm"))));
        QVERIFY(w->action(QStringLiteral("mnuAddMark"))->isEnabled());
        w->action(QStringLiteral("mnuAddMark"))->trigger();
        QCOMPARE(marks->mnuMarks()->actions().size(), 7);
        // The search page cannot make one.
        w->pgcFiles()->changePage(TfrmAll::PageFinding);
        QVERIFY(!w->action(QStringLiteral("mnuAddMark"))->isEnabled());
        // Choosing the first bookmark opens its chapter.
        QSignalSpy complete(w->chapterPage(), &ChapterPage::documentCompleted);
        marks->mnuMarks()->actions().at(5)->trigger();
        QVERIFY(complete.wait(30000));
        QCOMPARE(w->chapterPage()->wbFile()->locationName(), QStringLiteral("0003.htm"));
        QCOMPARE(w->CurrentChapterPath(), world.chapters() + QStringLiteral("0003.htm"));
        QCOMPARE(w->pgcFiles()->currentIndex(), int(TfrmAll::PageChapter));
    }
    QVERIFY(messages.shown.isEmpty());
    // After a restart the bookmarks are there, and they follow the chapter folder.
    const QString moved = world.dir.filePath(QStringLiteral("moved")) + QLatin1Char('/');
    QVERIFY(QDir().rename(world.chapters(), moved));
    auto w = world.start();
    QCOMPARE(w->bookmarkMenu()->mnuMarks()->actions().size(), 7);
    messages.answers = {MsgResult::No};
    w->catalogue()->setFolder(moved);
    QCOMPARE(w->bookmarkMenu()->bookmarks().list().at(5).FileName, moved + QStringLiteral("0003.htm"));
    QVERIFY(w->bookmarkMenu()->mnuMarks()->actions().at(5)->statusTip().endsWith(QStringLiteral("0003.htm")));
}

QTEST_MAIN(TestChapterPage)
#include "tst_chapterpage.moc"
