#include "ChapterTree.h"
#include "CustomTree.h"
#include "RecordingMessages.h"
#include "TestWorld.h"
#include "custom/CustomTreePage.h"
#include "library/CataloguePage.h"
#include "library/ChapterPage.h"
#include "notes/NotesPage.h"
#include "notes/RichEdit.h"
#include "widgets/PageControl.h"
#include "widgets/TreeModel.h"

#include <QAction>
#include <QSignalSpy>
#include <QTest>
#include <QTextCursor>
#include <QTreeView>

using namespace tavio;

// The features meeting in the main window: what start-up loads, what the end saves,
// and the notes that follow the chapter shown.
class TestIntegration final : public QObject
{
    Q_OBJECT
private slots:
    void customTreeAtStartAndEnd();
    void brokenCustomTreeIsKept();
    void unwritableCustomTreeWarns();
    void notesFollowTheChapter();
};

namespace {
QStringList captions(const ChapterTree& tree)
{
    QStringList out;
    tree.forEach([&](TreeNode* n) { out.append(QString(n->level(), QLatin1Char('\t')) + n->caption); });
    return out;
}

bool openChapter(TfrmAll& w, const QString& fileName)
{
    TreeNode* node = nullptr;
    w.catalogue()->tree().forEach([&](TreeNode* n) {
        if (CaptionToFileName(n->caption) == fileName)
            node = n;
    });
    QSignalSpy complete(w.chapterPage(), &ChapterPage::documentCompleted);
    w.OpenChapterNode(w.catalogue()->trwFiles(), w.catalogue()->model(), node);
    return complete.wait(30000);
}
} // namespace

void TestIntegration::customTreeAtStartAndEnd()
{
    World world;
    const QString trw = world.dataFolder() + QStringLiteral("Custom.trw");
    // Not a first run, so the tree file stays.
    world.store->writeBool(QStringLiteral("\\Software\\Marrowick\\Tavio\\Settings\\"), QStringLiteral("ShowHints"), true);
    testfiles::write(trw, "Moje\r\n\t0003.htm [ \xdavod znovu ]\r\n0001.htm [ \xdavod ]\r\n");
    RecordingMessages messages;
    {
        auto w = world.start();
        QCOMPARE(captions(w->customPage()->tree()),
                 (QStringList{QStringLiteral("Moje"), QStringLiteral("\t0003.htm [ Úvod znovu ]"),
                              QStringLiteral("0001.htm [ Úvod ]")}));
        // A loaded tree writes the chapter folder.
        QCOMPARE(*world.store->readString(QStringLiteral("\\Software\\Marrowick\\Tavio\\"), QStringLiteral("FilesPath")),
                 world.chapters());
        w->customPage()->tree().topLevel(0)->caption = QStringLiteral("Přejmenováno");
    }
    QCOMPARE(testfiles::read(trw), QByteArray("P\xf8" "ejmenov\xe1no\r\n\t0003.htm [ \xdavod znovu ]\r\n0001.htm [ \xdavod ]\r\n"));
    QVERIFY(messages.shown.isEmpty());
}

void TestIntegration::brokenCustomTreeIsKept()
{
    World world;
    world.store->writeBool(QStringLiteral("\\Software\\Marrowick\\Tavio\\Settings\\"), QStringLiteral("ShowHints"), true);
    const QString trw = world.dataFolder() + QStringLiteral("Custom.trw");
    const QByteArray broken("A\r\n\t\t\tB\r\n");
    testfiles::write(trw, broken);
    RecordingMessages messages;
    {
        auto w = world.start();
        // The tree shown is the catalogue; the user's file waits beside it, and the user is told.
        QCOMPARE(captions(w->customPage()->tree()), captions(w->catalogue()->tree()));
        QCOMPARE(testfiles::read(trw + QStringLiteral(".bak")), broken);
        QCOMPARE(messages.shown.size(), 1);
        QVERIFY(messages.shown[0].text.endsWith(QDir::toNativeSeparators(trw) + QStringLiteral(".bak.")));
    }
    QCOMPARE(testfiles::read(trw + QStringLiteral(".bak")), broken);
}

void TestIntegration::unwritableCustomTreeWarns()
{
    World world;
    world.store->writeBool(QStringLiteral("\\Software\\Marrowick\\Tavio\\Settings\\"), QStringLiteral("ShowHints"), true);
    const QString trw = world.dataFolder() + QStringLiteral("Custom.trw");
    testfiles::write(trw, "0001.htm [ \xdavod ]\r\n");
    QFile::setPermissions(trw, QFileDevice::ReadOwner);
    RecordingMessages messages;
    world.start();
    QCOMPARE(messages.shown.size(), 1);
    QCOMPARE(messages.shown[0].icon, MsgIcon::Warning);
    QCOMPARE(messages.shown[0].text, CustomTreePage::saveAtExitWarning(trw));
    QVERIFY(messages.shown[0].text.startsWith(QStringLiteral("Nemohu uložit vlastní seznam souborů.\r\n(soubor ")));
    QCOMPARE(testfiles::read(trw), QByteArray("0001.htm [ \xdavod ]\r\n"));
    // Everything saved before the tree is there.
    QVERIFY(world.store->keyExists(QStringLiteral("\\Software\\Marrowick\\Tavio\\Version\\")));
}

void TestIntegration::notesFollowTheChapter()
{
    World world;
    RecordingMessages messages;
    auto w = world.start();
    w->show();
    NotesPage* notes = w->notesPage();
    QVERIFY(openChapter(*w, QStringLiteral("0001.htm")));
    QCOMPARE(notes->CurrentNotesFile(), world.dataFolder() + QStringLiteral("Notes/0001.rtn"));
    // Write a note and save it with Ctrl+S from the chapter page.
    QTextCursor cursor(notes->reNotes()->document());
    cursor.insertText(QStringLiteral("Moje poznámka"));
    QVERIFY(notes->reNotes()->isModified());
    w->action(QStringLiteral("AcSaveNotes"))->trigger();
    QVERIFY(QFile::exists(world.dataFolder() + QStringLiteral("Notes/0001.rtn")));
    QVERIFY(!notes->reNotes()->isModified());

    // Leaving the notes page with changes asks; No throws them away.
    QVERIFY(w->pgcFiles()->changePage(TfrmAll::PageNotes));
    QTextCursor(notes->reNotes()->document()).insertText(QStringLiteral("navíc "));
    messages.answers = {MsgResult::No};
    QVERIFY(w->pgcFiles()->changePage(TfrmAll::PageFiles));
    QCOMPARE(messages.texts(), QStringList{NotesPage::SaveQuestion});
    QVERIFY(!notes->reNotes()->toPlainText().contains(QStringLiteral("navíc")));

    // Another chapter brings its own notes (none yet: the template or nothing).
    QVERIFY(openChapter(*w, QStringLiteral("0003.htm")));
    QCOMPARE(notes->CurrentNotesFile(), world.dataFolder() + QStringLiteral("Notes/0003.rtn"));
    QVERIFY(!notes->reNotes()->toPlainText().contains(QStringLiteral("Moje poznámka")));

    // Closing with changed notes asks; Cancel keeps the program running.
    QTextCursor(notes->reNotes()->document()).insertText(QStringLiteral("rozepsáno"));
    messages.shown.clear();
    messages.answers = {MsgResult::Cancel};
    QVERIFY(!w->close());
    QCOMPARE(messages.texts(), QStringList{NotesPage::SaveQuestion});
    QVERIFY(w->isVisible());
    messages.answers = {MsgResult::No};
    QVERIFY(w->close());
}

QTEST_MAIN(TestIntegration)
#include "tst_integration.moc"
