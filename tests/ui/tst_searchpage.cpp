#include "ChapterTree.h"
#include "FindHistory.h"
#include "HtmlView.h"
#include "RecordingMessages.h"
#include "TestWorld.h"
#include "library/CataloguePage.h"
#include "NotesFile.h"
#include "library/ChapterPage.h"
#include "notes/NotesPage.h"
#include "notes/RichEdit.h"
#include "search/SearchPage.h"
#include "widgets/PageControl.h"
#include "widgets/StatusBar.h"
#include "widgets/TreeModel.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QDir>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QPushButton>
#include <QSignalSpy>
#include <QTabWidget>
#include <QTest>
#include <QTreeView>
#include <QWebEnginePage>
#include <QWebEngineScript>
#include <QWebEngineView>

using namespace tavio;

namespace {

const QString Root = QStringLiteral("\\Software\\Marrowick\\Tavio\\");

// Four small chapters: "kost" whole in 0001, "Kost" in 0002-01, nothing in 0002-02, "kostka" in 0003.
struct SearchWorld : World
{
    SearchWorld()
    {
        testfiles::write(chapters() + QStringLiteral("0001.htm"),
                         "<html><body>\r\n<H2>Lekce 1 - \xdavod</H2>\r\n<p>Ryba m\xe1 kost, pes m\xe1 kost.</p></body></html>");
        testfiles::write(chapters() + QStringLiteral("0002-01.htm"),
                         "<html><body>\r\n<H2>Lekce 2 - Prom\xecnn\xe9</H2>\r\n<p>Kost je tvrd\xe1.</p></body></html>");
        testfiles::write(chapters() + QStringLiteral("0002-02.htm"),
                         "<html><body>\r\n<H2>Lekce 2 - Pole</H2>\r\n<p>Nic.</p></body></html>");
        testfiles::write(chapters() + QStringLiteral("0003.htm"),
                         "<html><body>\r\n<H2>Lekce 3 - \xdavod znovu</H2>\r\n<p>Kostka cukru.</p></body></html>");
    }
};

QStringList hits(SearchPage* page)
{
    QStringList out;
    page->findResultsModel()->tree().forEach([&](TreeNode* n) { out.append(n->caption); });
    return out;
}

void search(SearchPage* page, const QString& text, bool whole = false, bool matchCase = false)
{
    page->edtFindText()->setEditText(text);
    page->chbWholeWordsOnly()->setChecked(whole);
    page->chbCaseSensitive()->setChecked(matchCase);
    page->btnStartClick();
}

int highlightSpans(HtmlView* view)
{
    int spans = -1;
    bool done = false;
    view->engineView()->page()->runJavaScript(QStringLiteral("document.querySelectorAll('span[style*=\"lime\"]').length"),
                                              QWebEngineScript::ApplicationWorld, [&](const QVariant& v) {
                                                  spans = v.toInt();
                                                  done = true;
                                              });
    QElapsedTimer t;
    t.start();
    while (!done && t.elapsed() < 10000)
        QTest::qWait(10);
    return spans;
}

QStringList historyOf(SearchPage* page)
{
    QStringList out;
    for (int i = 0; i < page->edtFindText()->count(); ++i)
        out.append(page->edtFindText()->itemText(i));
    return out;
}

} // namespace

class TestSearchPage final : public QObject
{
    Q_OBJECT
private slots:
    void matchRules_data();
    void matchRules();
    void panelRule();
    void notFoundKeepsPanelList();
    void markedChaptersOnly();
    void stopKeepsFinishRules();
    void historyOrder();
    void historyRule();
    void typedTextIsSearched_data();
    void typedTextIsSearched();
    void optionsInStore();
    void unreadableFileEndsSearch();
    void openHitHighlights();
    void notesAndHitContext();
    void closingDuringSearch();
    void updateDuringSearch();
    void openingRefusedDuringSearch();
};

void TestSearchPage::matchRules_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("whole");
    QTest::addColumn<bool>("matchCase");
    QTest::addColumn<QStringList>("files");
    QTest::newRow("anywhere, any case") << "kost" << false << false
                                        << QStringList{QStringLiteral("0001.htm"), QStringLiteral("0002-01.htm"), QStringLiteral("0003.htm")};
    QTest::newRow("whole words") << "kost" << true << false
                                 << QStringList{QStringLiteral("0001.htm"), QStringLiteral("0002-01.htm")};
    QTest::newRow("match case") << "Kost" << false << true
                                << QStringList{QStringLiteral("0002-01.htm"), QStringLiteral("0003.htm")};
    QTest::newRow("whole and case") << "Kost" << true << true << QStringList{QStringLiteral("0002-01.htm")};
    QTest::newRow("blank typed around") << " kost " << true << false << QStringList{};
    QTest::newRow("czech capitals") << "ÚVOD" << false << false
                                    << QStringList{QStringLiteral("0001.htm"), QStringLiteral("0003.htm")};
    QTest::newRow("accents stay") << "UVOD" << false << false << QStringList{};
}

void TestSearchPage::matchRules()
{
    QFETCH(QString, text);
    QFETCH(bool, whole);
    QFETCH(bool, matchCase);
    QFETCH(QStringList, files);
    SearchWorld world;
    RecordingMessages messages;
    auto w = world.start();
    SearchPage* page = w->searchPage();
    search(page, text, whole, matchCase);
    QStringList found;
    for (const QString& caption : hits(page))
        found.append(CaptionToFileName(caption));
    QCOMPARE(found, files);
    QCOMPARE(page->hitCount(), int(files.size()));
    if (files.isEmpty()) {
        QCOMPARE(messages.texts(), QStringList{QStringLiteral("Hledaný řetězec nebyl nalezen")});
        QCOMPARE(page->statusBar()->text(1), QStringLiteral("Hledaný řetězec nebyl nalezen"));
    } else {
        QVERIFY(messages.shown.isEmpty());
        QCOMPARE(page->statusBar()->text(1), QStringLiteral("Nalezených souborů: ") + QString::number(files.size()));
        // The hit texts are the catalogue's captions; the phrase goes to the clipboard.
        QVERIFY(hits(page).first().contains(QLatin1String(" [")));
        QCOMPARE(QGuiApplication::clipboard()->text(), text);
    }
    QVERIFY(!page->searching());
    QVERIFY(page->btnStart()->isEnabled());
    QVERIFY(!page->btnStop()->isEnabled());
}

void TestSearchPage::panelRule()
{
    SearchWorld world;
    RecordingMessages messages;
    auto w = world.start();
    SearchPage* page = w->searchPage();
    FindResultsPanel* panel = page->pnlFindResults();
    // One hit: the list is filled, the panel stays hidden.
    search(page, QStringLiteral("tvrdá"));
    QCOMPARE(panel->lbFindResults()->count(), 1);
    QVERIFY(panel->isHidden());
    // Several hits: the panel shows them.
    search(page, QStringLiteral("kost"));
    QCOMPARE(panel->lbFindResults()->count(), 3);
    QVERIFY(!panel->isHidden());
    // Not with the option off.
    page->chbShowResultInPnlResults()->setChecked(false);
    search(page, QStringLiteral("kost"));
    QVERIFY(panel->isHidden());
    // Empty search text: a message, no search.
    messages.shown.clear();
    search(page, QStringLiteral("   "));
    QCOMPARE(messages.texts(), QStringList{QStringLiteral("Nebyl zadán žádný text k vyhledání")});
}

void TestSearchPage::notFoundKeepsPanelList()
{
    SearchWorld world;
    RecordingMessages messages;
    auto w = world.start();
    w->show();
    SearchPage* page = w->searchPage();
    FindResultsPanel* panel = page->pnlFindResults();
    search(page, QStringLiteral("kost"));
    QCOMPARE(panel->lbFindResults()->count(), 3);
    search(page, QStringLiteral("žirafa"));
    QVERIFY(panel->isHidden());
    QCOMPARE(panel->lbFindResults()->count(), 3);
    // Ctrl+Del while the panel is hidden only shows it again, as long as it has entries.
    w->action(QStringLiteral("acDeleteFromList"))->trigger();
    QVERIFY(!panel->isHidden());
    QCOMPARE(panel->lbFindResults()->count(), 3);
}

void TestSearchPage::markedChaptersOnly()
{
    SearchWorld world;
    RecordingMessages messages;
    auto w = world.start();
    SearchPage* page = w->searchPage();
    page->chbFindInAllFiles()->setChecked(false);
    // Turning the option off shows the check tree, rebuilt without marks.
    QCOMPARE(page->pgcResults()->currentIndex(), 1);
    QCOMPARE(page->filesList().count(), w->catalogue()->tree().count());
    search(page, QStringLiteral("kost"));
    QCOMPARE(page->hitCount(), 0);
    QCOMPARE(messages.texts(), QStringList{QStringLiteral("Hledaný řetězec nebyl nalezen")});
    // Marks survive a search until the list is shown again.
    page->filesList().forEach([](TreeNode* n) { n->checked = CaptionToFileName(n->caption) == QLatin1String("0003.htm"); });
    search(page, QStringLiteral("kost"));
    QCOMPARE(hits(page).size(), 1);
    QCOMPARE(CaptionToFileName(hits(page).first()), QStringLiteral("0003.htm"));
    search(page, QStringLiteral("kost"));
    QCOMPARE(hits(page).size(), 1);
    page->pgcResults()->setCurrentIndex(1);
    int marked = 0;
    page->filesList().forEach([&](TreeNode* n) { marked += n->checked; });
    QCOMPARE(marked, 0);
}

void TestSearchPage::stopKeepsFinishRules()
{
    SearchWorld world;
    RecordingMessages messages;
    auto w = world.start();
    w->show();
    SearchPage* page = w->searchPage();
    // Stop as soon as the first hit is listed; meanwhile the pages cannot change.
    bool refused = false;
    connect(page->findResultsModel(), &QAbstractItemModel::rowsInserted, this, [&] {
        page->btnStopClick();
        refused = !w->pgcFiles()->changePage(TfrmAll::PageFiles);
    });
    w->pgcFiles()->changePage(TfrmAll::PageFinding);
    search(page, QStringLiteral("kost"));
    QVERIFY(refused);
    QCOMPARE(page->hitCount(), 1);
    QCOMPARE(page->statusBar()->text(1), QStringLiteral("Nalezených souborů: 1"));
    QCOMPARE(historyOf(page), QStringList{QStringLiteral("kost")});
    QCOMPARE(QGuiApplication::clipboard()->text(), QStringLiteral("kost"));
    QVERIFY(w->pgcFiles()->changePage(TfrmAll::PageFiles));
}

void TestSearchPage::historyOrder()
{
    SearchWorld world;
    RecordingMessages messages;
    const QString path = world.dataFolder() + QStringLiteral("FindHistory.txt");
    {
        auto w = world.start();
        SearchPage* page = w->searchPage();
        search(page, QStringLiteral("kost"));
        search(page, QStringLiteral("Kostka"));
        search(page, QStringLiteral("kost"));
        QCOMPARE(historyOf(page), (QStringList{QStringLiteral("kost"), QStringLiteral("Kostka")}));
        search(page, QStringLiteral("žirafa")); // no hit: history unchanged
        QCOMPARE(historyOf(page), (QStringList{QStringLiteral("kost"), QStringLiteral("Kostka")}));
        search(page, QStringLiteral("tvrdá"));
        QCOMPARE(testfiles::read(path), QByteArray("tvrd\xe1\r\nkost\r\nKostka\r\n"));
    }
    // The history comes back at the next start; Ctrl+Del in the text box deletes it.
    auto w = world.start();
    SearchPage* page = w->searchPage();
    QCOMPARE(historyOf(page).size(), 3);
    w->show();
    page->edtFindText()->setFocus();
    QTest::keyClick(page->edtFindText()->lineEdit(), Qt::Key_Delete, Qt::ControlModifier);
    QVERIFY(historyOf(page).isEmpty());
    QVERIFY(!QFile::exists(path));
    search(page, QStringLiteral("kost"));
    QCOMPARE(testfiles::read(path), QByteArray("kost\r\n"));
}

void TestSearchPage::historyRule()
{
    const QStringList h{QStringLiteral("a"), QStringLiteral(" b "), QStringLiteral("c"), QStringLiteral("b")};
    // The last entry whose trimmed text equals the search text leaves.
    QCOMPARE(PushFindHistory(h, QStringLiteral("b")),
             (QStringList{QStringLiteral("b"), QStringLiteral("a"), QStringLiteral(" b "), QStringLiteral("c")}));
    // A text with blanks at its ends never matches and is added again.
    QCOMPARE(PushFindHistory(h, QStringLiteral(" b ")).size(), 5);
    QCOMPARE(PushFindHistory({}, QStringLiteral("x")), QStringList{QStringLiteral("x")});
}

void TestSearchPage::typedTextIsSearched_data()
{
    QTest::addColumn<bool>("startButton");
    QTest::newRow("Start") << true;
    QTest::newRow("Enter") << false;
}

// The history's completion ignores case; it must not swap the typed "Kost" for "kost".
void TestSearchPage::typedTextIsSearched()
{
    QFETCH(bool, startButton);
    SearchWorld world;
    world.store->writeBool(Root + QStringLiteral("Settings\\"), QStringLiteral("OneInstance"), true); // no first run
    const QString path = world.dataFolder() + QStringLiteral("FindHistory.txt");
    testfiles::write(path, "kost\r\n");
    RecordingMessages messages;
    auto w = world.start();
    w->show();
    QVERIFY(QTest::qWaitForWindowActive(w.get()));
    SearchPage* page = w->searchPage();
    page->chbCaseSensitive()->setChecked(true);
    w->action(QStringLiteral("mnuFindText"))->trigger();
    QCOMPARE(QApplication::focusWidget(), page->edtFindText());
    QTest::keyClicks(QApplication::focusWidget(), QStringLiteral("Kost"));
    if (startButton)
        QTest::mouseClick(page->btnStart(), Qt::LeftButton);
    else
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    QTRY_VERIFY(!page->searching());
    QCOMPARE(page->edtFindText()->currentText(), QStringLiteral("Kost"));
    QCOMPARE(hits(page).size(), 2); // 0002-01 and 0003, not the "kost" of 0001
    QCOMPARE(testfiles::read(path), QByteArray("Kost\r\nkost\r\n"));
    QCOMPARE(historyOf(page), (QStringList{QStringLiteral("Kost"), QStringLiteral("kost")}));
}

void TestSearchPage::optionsInStore()
{
    SearchWorld world;
    const QString key = Root + QStringLiteral("FindSettings\\");
    world.store->writeBool(key, QStringLiteral("Whole Words Only"), true);
    world.store->writeBool(key, QStringLiteral("Find In All Files"), false);
    {
        auto w = world.start();
        SearchPage* page = w->searchPage();
        QVERIFY(page->chbWholeWordsOnly()->isChecked());
        QVERIFY(!page->chbFindInAllFiles()->isChecked());
        QVERIFY(!page->chbCaseSensitive()->isChecked());   // missing: default
        QVERIFY(page->chbCopyToClipboard()->isChecked());  // missing: default
        page->chbCaseSensitive()->setChecked(true);
        // Options are saved at the end, not when they change.
        QVERIFY(!world.store->valueExists(key, QStringLiteral("Case Sensitive")));
    }
    QCOMPARE(*world.store->readBool(key, QStringLiteral("Case Sensitive")), true);
    QCOMPARE(*world.store->readBool(key, QStringLiteral("Results In Panel")), true);
}

void TestSearchPage::unreadableFileEndsSearch()
{
    SearchWorld world;
    // A chapter too large to be read ends the search there with a message naming it.
    QFile big(world.chapters() + QStringLiteral("0002-02.htm"));
    QVERIFY(big.open(QIODevice::ReadWrite));
    QVERIFY(big.resize(300LL * 1024 * 1024));
    big.close();
    RecordingMessages messages;
    auto w = world.start();
    SearchPage* page = w->searchPage();
    search(page, QStringLiteral("kost"));
    QCOMPARE(hits(page).size(), 2); // 0001 and 0002-01, found before the unreadable file
    QCOMPARE(messages.shown.size(), 1);
    QVERIFY(messages.shown[0].text.contains(QStringLiteral("0002-02.htm")));
    QCOMPARE(messages.shown[0].icon, MsgIcon::Error);
    QVERIFY(!page->searching());
}

void TestSearchPage::openHitHighlights()
{
    SearchWorld world;
    RecordingMessages messages;
    auto w = world.start();
    w->show();
    SearchPage* page = w->searchPage();
    w->pgcFiles()->changePage(TfrmAll::PageFinding);
    search(page, QStringLiteral("kost"), true);
    QCOMPARE(hits(page).size(), 2);
    // Enter in the results tree opens the selected hit instead of searching again.
    page->trwFindResults()->setFocus();
    QSignalSpy complete(w->chapterPage(), &ChapterPage::documentCompleted);
    page->btnStartClick();
    QVERIFY(complete.wait(30000));
    QCOMPARE(w->pgcFiles()->currentIndex(), int(TfrmAll::PageChapter));
    QCOMPARE(w->chapterPage()->wbFile()->locationName(), QStringLiteral("0001.htm"));
    QVERIFY(!w->chapterPage()->highlightPending());
    QTRY_COMPARE_WITH_TIMEOUT(highlightSpans(w->chapterPage()->wbFile()), 2, 20000);
    // From the panel list: the chapter by its path.
    QListWidget* list = page->pnlFindResults()->lbFindResults();
    list->setCurrentRow(1);
    QSignalSpy complete2(w->chapterPage(), &ChapterPage::documentCompleted);
    emit page->pnlFindResults()->openRequested();
    QVERIFY(complete2.wait(30000));
    QCOMPARE(w->chapterPage()->wbFile()->locationName(), QStringLiteral("0002-01.htm"));
    QCOMPARE(w->CurrentChapterPath(), world.chapters() + QStringLiteral("0002-01.htm"));
    // Ctrl+Del on the chapter page removes the selected entry, also with the focus in the list.
    QVERIFY(QTest::qWaitForWindowActive(w.get()));
    list->setFocus();
    list->setCurrentRow(0);
    QCOMPARE(QApplication::focusWidget(), list);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Delete, Qt::ControlModifier);
    QCOMPARE(list->count(), 1);
}

void TestSearchPage::notesAndHitContext()
{
    SearchWorld world;
    const QString notes = world.env().layout.notesFolder();
    QVERIFY(QDir().mkpath(notes));
    auto paragraph = [](const QString& text) {
        NotesRun r;
        r.Text = text;
        return NotesParagraph{0, {r}};
    };
    NotesContent first;
    first.Paragraphs.append(paragraph(QStringLiteral("Kost, nebo kostka?")));
    QVERIFY(SaveNotesFile(NotesFileOf(notes, world.chapters() + QStringLiteral("0002-02.htm")), first));
    NotesContent second;
    second.Paragraphs.append(paragraph(QStringLiteral("Žádná")));
    QVERIFY(SaveNotesFile(NotesFileOf(notes, world.chapters() + QStringLiteral("0003.htm")), second));
    RecordingMessages messages;
    const QString key = Root + QStringLiteral("FindSettings\\");
    {
        auto w = world.start();
        w->show();
        w->pgcFiles()->changePage(TfrmAll::PageFinding);
        SearchPage* page = w->searchPage();
        QVERIFY(!page->chbFindInNotes()->isChecked());
        search(page, QStringLiteral("kost"), true);
        QCOMPARE(hits(page).size(), 2);
        // Each hit: its count of matches and the text around the first, outside its caption.
        QCOMPARE(page->hitInfo().at(0).matches, 2);
        QCOMPARE(page->hitInfo().at(0).snippet.before + QLatin1Char('[') + page->hitInfo().at(0).snippet.match
                     + QLatin1Char(']') + page->hitInfo().at(0).snippet.after,
                 QStringLiteral("Lekce 1 - Úvod Ryba má [kost], pes má kost."));
        QVERIFY(page->lblHitContext()->text().contains(QStringLiteral("Výskytů: 2")));
        QVERIFY(page->lblHitContext()->text().contains(QStringLiteral("<b>kost</b>")));
        QVERIFY(page->pnlFindResults()->lbFindResults()->item(1)->toolTip().contains(QStringLiteral("<b>Kost</b>")));

        page->chbFindInNotes()->setChecked(true);
        page->edtFindText()->setFocus();
        search(page, QStringLiteral("kost"), true);
        QStringList found;
        for (const QString& caption : hits(page))
            found.append(caption.section(QLatin1Char(' '), 0, 0) + (caption.endsWith(SearchPage::NotesSuffix)
                                                                         ? QStringLiteral(" N") : QString()));
        QCOMPARE(found, (QStringList{QStringLiteral("0001.htm"), QStringLiteral("0002-01.htm"),
                                     QStringLiteral("0002-02.htm N")}));
        QCOMPARE(page->hitCount(), 3);
        QCOMPARE(page->statusBar()->text(1), QStringLiteral("Nalezených souborů: 3"));

        // A hit in the notes opens them with the phrase selected.
        page->trwFindResults()->setCurrentIndex(page->findResultsModel()->index(2, 0));
        page->trwFindResults()->setFocus();
        page->btnStartClick();
        QCOMPARE(w->pgcFiles()->currentIndex(), int(TfrmAll::PageNotes));
        QCOMPARE(w->CurrentChapterPath(), world.chapters() + QStringLiteral("0002-02.htm"));
        QCOMPARE(w->notesPage()->reNotes()->textCursor().selectedText(), QStringLiteral("Kost"));
        w->pgcFiles()->changePage(TfrmAll::PageFinding);
    }
    // Kept beside the other options under its own name; theirs are as they were.
    QCOMPARE(*world.store->readBool(key, QStringLiteral("Find In Notes")), true);
    QCOMPARE(*world.store->readBool(key, QStringLiteral("Whole Words Only")), true);
    QCOMPARE(*world.store->readBool(key, QStringLiteral("Find In All Files")), true);
}

void TestSearchPage::closingDuringSearch()
{
    SearchWorld world;
    RecordingMessages messages;
    auto w = world.start();
    w->show();
    SearchPage* page = w->searchPage();
    bool closedInside = true;
    connect(page->findResultsModel(), &QAbstractItemModel::rowsInserted, this, [&] {
        closedInside = w->close(); // refused while the search runs
    });
    QSignalSpy finished(page, &SearchPage::searchFinished);
    search(page, QStringLiteral("kost"));
    QVERIFY(!closedInside);
    QCOMPARE(finished.size(), 1);
    QCOMPARE(page->hitCount(), 1);
    // The window closes as soon as the search has ended.
    QTRY_VERIFY(!w->isVisible());
}

// An update rebuilds the catalogue and the check tree while the search lets messages run.
void TestSearchPage::updateDuringSearch()
{
    SearchWorld world;
    RecordingMessages messages;
    auto w = world.start();
    w->show();
    SearchPage* page = w->searchPage();
    bool rebuilt = false;
    connect(page->findResultsModel(), &QAbstractItemModel::rowsInserted, this, [&] {
        if (rebuilt)
            return;
        rebuilt = true;
        QFile::remove(world.chapters() + QStringLiteral("0002-02.htm"));
        testfiles::write(world.chapters() + QStringLiteral("0004.htm"), "<H2>Lekce 4 - Nov\xe1</H2>\r\n<p>kost</p>");
        QVERIFY(w->catalogue()->BuildCatalogue(w->catalogue()->folder()));
    });
    search(page, QStringLiteral("kost"));
    QVERIFY(rebuilt);
    // The search ends over the list it started with; the trees are the new ones.
    QStringList found;
    for (const QString& caption : hits(page))
        found.append(CaptionToFileName(caption));
    QCOMPARE(found, (QStringList{QStringLiteral("0001.htm"), QStringLiteral("0002-01.htm"), QStringLiteral("0003.htm")}));
    QCOMPARE(page->filesList().count(), w->catalogue()->tree().count());
    QVERIFY(!page->searching());
}

void TestSearchPage::openingRefusedDuringSearch()
{
    SearchWorld world;
    RecordingMessages messages;
    auto w = world.start();
    w->show();
    SearchPage* page = w->searchPage();
    w->pgcFiles()->changePage(TfrmAll::PageFinding);
    QSignalSpy open(page, &SearchPage::openNodeRequested);
    // The pop-up's "Otevřít" on the first hit while the search goes on.
    connect(page->findResultsModel(), &QAbstractItemModel::rowsInserted, this, [&] {
        page->trwFindResults()->setCurrentIndex(page->findResultsModel()->index(0, 0));
        QAction* openItem = page->popFindResults()->actions().value(0);
        QCOMPARE(openItem->text(), QStringLiteral("Otevřít"));
        openItem->trigger();
    });
    search(page, QStringLiteral("kost"));
    QCOMPARE(open.size(), 0);
    QCOMPARE(w->pgcFiles()->currentIndex(), int(TfrmAll::PageFinding));
    QVERIFY(!w->chapterPage()->highlightPending());
    // A phrase whose chapter never loaded is dropped when another chapter is shown.
    w->chapterPage()->setPendingHighlight(page->highlightOptions());
    TreeNode* chapter = w->catalogue()->tree().topLevel(0);
    w->OpenChapterNode(w->catalogue()->trwFiles(), w->catalogue()->model(), chapter);
    QVERIFY(!w->chapterPage()->highlightPending());
}

QTEST_MAIN(TestSearchPage)
#include "tst_searchpage.moc"
