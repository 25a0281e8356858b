#include "AppSettings.h"
#include "Catalogue.h"
#include "ChapterTree.h"
#include "CustomTree.h"
#include "CustomTreeEditor.h"
#include "RecordingMessages.h"
#include "SettingsStore.h"
#include "ShellOpener.h"
#include "TestFiles.h"
#include "custom/CustomTreePage.h"
#include "FrameState.h"
#include "custom/TreePopupMenu.h"
#include "library/CataloguePage.h"
#include "widgets/StatusBar.h"
#include "widgets/TreeModel.h"

#include <QAbstractItemModelTester>
#include <QAction>
#include <QLabel>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QTreeView>

#include <sys/stat.h>

using namespace tavio;
using namespace Qt::StringLiterals;

namespace {

const QString EmptyList =
    u"Seznam souborů je prázdný - proveďte nejprve aktualizaci souborů pomocí menu \"Nástroje -> Aktualizace\""_s;

// The catalogue as the chapter list builds it.
void fillCatalogue(ChapterTree& t)
{
    t.clear();
    t.addChild(nullptr, u"0001.htm [ Úvod ]"_s, image::Chapter);
    TreeNode* group = t.addChild(nullptr, u"0002"_s, image::FolderClosed);
    t.addChild(group, u"0002-01.htm [ Proměnné ]"_s, image::Chapter);
    t.addChild(group, u"0002-02.htm [ Pole ]"_s, image::Chapter);
    t.addChild(nullptr, u"0003.htm [ Úvod znovu ]"_s, image::Chapter);
}

QStringList outline(const ChapterTree& tree)
{
    QStringList out;
    tree.forEach([&](TreeNode* n) { out.append(QString(n->level(), QLatin1Char('\t')) + n->caption); });
    return out;
}

TreeNode* find(const ChapterTree& tree, const QString& caption)
{
    TreeNode* found = nullptr;
    tree.forEach([&](TreeNode* n) {
        if (!found && n->caption == caption)
            found = n;
    });
    return found;
}

// A shown page over a catalogue, with its model checked during every change.
struct Fixture
{
    Fixture()
    {
        fillCatalogue(catalogue);
        page.resize(600, 400);
        page.show();
        QVERIFY(QTest::qWaitForWindowExposed(&page));
        page.setInputDialog([this](QWidget*, const QString& caption, const QString& prompt, const QString& text) {
            asked.append(QStringList{caption, prompt, text});
            return answers.isEmpty() ? std::nullopt : std::optional<QString>(answers.takeFirst());
        });
        page.setFileDialog([this](QWidget*, bool save) {
            savesAsked.append(save);
            return chosenFile;
        });
    }
    QAction* action(const char* name) const { return page.action(QLatin1String(name)); }
    TreeNode* node(const QString& caption) const { return find(page.tree(), caption); }
    QPoint centre(const QString& caption) const
    {
        return page.trwCustom()->visualRect(page.model()->indexOf(node(caption))).center();
    }
    void hover(const QPoint& pos)
    {
        QMouseEvent move(QEvent::MouseMove, pos, page.trwCustom()->viewport()->mapToGlobal(pos), Qt::NoButton,
                         Qt::NoButton, Qt::NoModifier);
        QApplication::sendEvent(page.trwCustom()->viewport(), &move);
    }

    RecordingMessages messages;
    ChapterTree catalogue;
    CustomTreePage page{catalogue, nullptr};
    QAbstractItemModelTester tester{page.model(), QAbstractItemModelTester::FailureReportingMode::QtTest};
    QList<QStringList> asked;
    QStringList answers;
    QList<bool> savesAsked;
    QString chosenFile;
};

} // namespace

class TestCustomTreePage final : public QObject
{
    Q_OBJECT
private slots:
    void startAndExit();
    void brokenFileThatCannotBeBackedUpIsKept();
    void reset();
    void addFromCatalogue();
    void findOnCustomTree();
    void drop_data();
    void drop();
    void dragOverScrolls();
    void editing();
    void openAndSaveDialogs();
    void enterGuardAndHints();
    void popupMenu();
};

void TestCustomTreePage::startAndExit()
{
    QTemporaryDir tmp;
    const QString path = tmp.filePath(u"Custom.trw"_s);
    Fixture f;
    // No file: the catalogue, and nothing backed up.
    QVERIFY(!f.page.loadAtStart(path));
    QCOMPARE(outline(f.page.tree()), outline(f.catalogue));
    QVERIFY(!QFile::exists(path + u".bak"_s));
    QVERIFY(f.page.startUpWarning().isEmpty());

    // A broken file is kept aside before the exit overwrites it.
    const QByteArray broken("Moje\r\n\t\t\tztraceno\r\n");
    testfiles::write(path, broken);
    QVERIFY(!f.page.loadAtStart(path));
    QCOMPARE(outline(f.page.tree()), outline(f.catalogue));
    QCOMPARE(testfiles::read(path + u".bak"_s), broken);
    QVERIFY(f.page.saveAtExit(path));
    QCOMPARE(testfiles::read(path).left(20), QByteArray("0001.htm [ \xdavod ]\r\n0"));
    QCOMPARE(testfiles::read(path + u".bak"_s), broken);

    // A good file is the tree; an empty one is an empty tree until the page is shown.
    testfiles::write(path, "A\r\n\tx.htm [ y ]\r\n");
    QVERIFY(f.page.loadAtStart(path));
    QCOMPARE(outline(f.page.tree()), (QStringList{u"A"_s, u"\tx.htm [ y ]"_s}));
    testfiles::write(path, "");
    QVERIFY(f.page.loadAtStart(path));
    QVERIFY(f.page.tree().isEmpty());
    f.page.tbshCustomTreeShow();
    QCOMPARE(outline(f.page.tree()), outline(f.catalogue));

    // A read-only file is not written; the caller shows the warning.
    QFile::setPermissions(path, QFileDevice::ReadOwner);
    QVERIFY(!f.page.saveAtExit(path));
    QVERIFY(!f.page.lastError().isEmpty());
    QCOMPARE(testfiles::read(path), QByteArray());
    QCOMPARE(CustomTreePage::saveAtExitWarning(u"/d/Custom.trw"_s),
             u"Nemohu uložit vlastní seznam souborů.\r\n(soubor /d/Custom.trw).\r\n\r\nZřejmě nemáte dostatečná "
             "práva přístupu k tomuto souboru, nebo má tento soubor atribut \"Jen pro čtení\" . Požádejte správce "
             "sítě o přidělení práv, popř. nastavte souboru správně jeho atributy.\r\n\r\nVšechny změny ve vlastním "
             "seznamu souborů budou ztraceny."_s);
    QVERIFY(f.messages.shown.isEmpty());
}

void TestCustomTreePage::brokenFileThatCannotBeBackedUpIsKept()
{
    QTemporaryDir tmp;
    const QString path = tmp.filePath(u"Custom.trw"_s);
    testfiles::write(path, "A\r\n\t\tB\r\n");
    QDir().mkpath(path + u".bak"_s); // a folder where the backup would go
    Fixture f;
    QVERIFY(!f.page.loadAtStart(path));
    QVERIFY(f.page.startUpWarning().contains(u"se nepodařilo zálohovat"_s));
    QVERIFY(!f.page.saveAtExit(path));
    QCOMPARE(testfiles::read(path), QByteArray("A\r\n\t\tB\r\n"));
    // Elsewhere the tree is written as usual.
    QVERIFY(f.page.saveAtExit(tmp.filePath(u"Other.trw"_s)));
}

void TestCustomTreePage::reset()
{
    Fixture f;
    f.page.loadAtStart(QString());
    TreeNode* group = f.node(u"0002"_s);
    f.page.selectNode(group);
    f.action("tlbSelUnselDir")->trigger();
    QCOMPARE(f.page.markedFolder(), group);
    f.page.model()->addChild(nullptr, u"Moje"_s, image::FolderClosed);

    // No keeps everything; the question's Enter opens nothing.
    QSignalSpy opened(&f.page, &CustomTreePage::openRequested);
    f.action("tlbResetCustTree")->trigger();
    QCOMPARE(f.messages.shown.size(), 1);
    const auto& question = f.messages.shown[0];
    QCOMPARE(question.text, u"Touto operací bude vlastní seznam souborů ztracen a nahrazen seznamem z karty \"Seznam "
                            "souborů\". Stávající seznam uložíte stiskem tlačítka\"Uložit vlastní seznam jako ...\" v "
                            "pravé tlačítkové liště. Chcete pokračovat?"_s);
    QCOMPARE(question.icon, MsgIcon::Warning);
    QCOMPARE(question.buttons, MsgButtons::YesNoDefaultNo);
    QCOMPARE(f.page.tree().topLevelCount(), 4);
    QVERIFY(f.page.resetFlag());
    QTest::keyRelease(f.page.trwCustom(), Qt::Key_Return);
    QCOMPARE(opened.size(), 0);
    QVERIFY(!f.page.resetFlag());

    // Yes: the catalogue again, the first node selected, no mark.
    f.messages.answers = {MsgResult::Yes};
    f.action("tlbResetCustTree")->trigger();
    QCOMPARE(outline(f.page.tree()), outline(f.catalogue));
    QCOMPARE(f.page.selectedNode(), f.page.tree().topLevel(0));
    QCOMPARE(f.page.markedFolder(), nullptr);
    QCOMPARE(f.action("tlbMoveToSelDir")->toolTip(), u"Přesunout do označené složky"_s);

    // An empty catalogue: the empty-list message, an empty tree.
    f.catalogue.clear();
    f.messages.shown.clear();
    f.messages.answers = {MsgResult::Yes};
    f.action("tlbResetCustTree")->trigger();
    QVERIFY(f.page.tree().isEmpty());
    QCOMPARE(f.messages.texts().last(), EmptyList);
    QCOMPARE(f.messages.shown.last().icon, MsgIcon::Error);
    QCOMPARE(f.page.selectedNode(), nullptr);
    QVERIFY(!f.action("tlbRenameDir")->isEnabled());
}

void TestCustomTreePage::addFromCatalogue()
{
    Fixture f;
    // Into an empty tree: no duplicate message.
    TreeNode* chapter = find(f.catalogue, u"0002-02.htm [ Pole ]"_s);
    f.page.popAddToMainListClick(chapter);
    QCOMPARE(f.messages.texts(), QStringList{u"Kapitola \"0002-02.htm [ Pole ]\" byla přidána do vlastního seznamu"_s});
    QCOMPARE(f.messages.shown[0].icon, MsgIcon::Information);
    QCOMPARE(outline(f.page.tree()), QStringList{u"0002-02.htm [ Pole ]"_s});
    // Again: already there, nothing added.
    f.page.popAddToMainListClick(chapter);
    QCOMPARE(f.messages.texts().last(), u"Tato kapitola je ve vlastním seznamu již obsažena"_s);
    QCOMPARE(f.messages.shown.last().icon, MsgIcon::Error);
    QCOMPARE(f.page.tree().count(), 1);
    // A group node is no chapter to add.
    f.page.popAddToMainListClick(find(f.catalogue, u"0002"_s));
    QCOMPARE(f.page.tree().count(), 1);
    QCOMPARE(f.page.tree().topLevel(0)->imageIndex, image::Chapter);
}

void TestCustomTreePage::findOnCustomTree()
{
    Fixture f;
    f.page.CopyCatalogueToCustomTree();
    ChapterTree& tree = f.page.tree();
    TreeNode* found = FindTreeNode(tree, tree.absoluteIndex(f.page.selectedNode()), u"PROMĚNNÉ"_s, false, false, false);
    QVERIFY(found);
    f.page.selectNode(found);
    QCOMPARE(f.page.selectedNode(), found);
    QVERIFY(f.page.trwCustom()->isExpanded(f.page.model()->indexOf(found->parent())));
    QCOMPARE(f.node(u"0002"_s)->imageIndex, image::FolderOpen);
    // Find next goes on from the selection, and stops at the end.
    found = FindTreeNode(tree, tree.absoluteIndex(f.page.selectedNode()), u"úvod"_s, false, false, false);
    QCOMPARE(found, f.node(u"0003.htm [ Úvod znovu ]"_s));
    QCOMPARE(FindTreeNode(tree, tree.absoluteIndex(found), u"úvod"_s, false, false, false), nullptr);
}

void TestCustomTreePage::drop_data()
{
    QTest::addColumn<QString>("dragged");
    QTest::addColumn<QString>("over");
    QTest::addColumn<QStringList>("after");
    QTest::newRow("on a folder") << u"0001.htm [ Úvod ]"_s << u"0002"_s
                                 << QStringList{u"0002"_s, u"\t0002-01.htm [ Proměnné ]"_s, u"\t0002-02.htm [ Pole ]"_s,
                                                u"\t0001.htm [ Úvod ]"_s, u"0003.htm [ Úvod znovu ]"_s};
    QTest::newRow("on a chapter") << u"0003.htm [ Úvod znovu ]"_s << u"0002-02.htm [ Pole ]"_s
                                  << QStringList{u"0001.htm [ Úvod ]"_s, u"0002"_s, u"\t0002-01.htm [ Proměnné ]"_s,
                                                 u"\t0003.htm [ Úvod znovu ]"_s, u"\t0002-02.htm [ Pole ]"_s};
    QTest::newRow("on a descendant") << u"0002"_s << u"0002-01.htm [ Proměnné ]"_s << QStringList{};
}

void TestCustomTreePage::drop()
{
    QFETCH(QString, dragged);
    QFETCH(QString, over);
    QFETCH(QStringList, after);
    Fixture f;
    f.page.CopyCatalogueToCustomTree();
    if (after.isEmpty())
        after = outline(f.catalogue);
    f.page.trwCustom()->expandAll();
    f.page.selectNode(f.node(dragged));
    f.page.trwCustomStartDrag();
    f.page.trwCustomDragDrop(f.centre(over));
    f.page.trwCustomEndDrag();
    QCOMPARE(outline(f.page.tree()), after);
    QCOMPARE(f.page.selectedNode(), f.node(dragged));
    // A drop without a drag moves nothing.
    f.page.trwCustomDragDrop(f.centre(over));
    QCOMPARE(outline(f.page.tree()), after);
}

void TestCustomTreePage::dragOverScrolls()
{
    Fixture f;
    for (int i = 0; i < 60; ++i)
        f.page.model()->addChild(nullptr, u"K%1.htm [ x ]"_s.arg(i, 2, 10, QLatin1Char('0')), image::Chapter);
    QTreeView* view = f.page.trwCustom();
    f.page.selectNode(f.node(u"K30.htm [ x ]"_s));
    const QRect top = view->visualRect(view->indexAt(QPoint(0, 0)));
    TreeNode* topNode = f.page.model()->nodeOf(view->indexAt(QPoint(0, 0)));
    const QRect second = top.translated(0, top.height());
    TreeNode* secondNode = f.page.model()->nodeOf(view->indexAt(second.center()));
    QVERIFY(topNode && secondNode && topNode != f.page.tree().topLevel(0));

    // Low in a row: nothing; at a row's upper edge: the node after it.
    f.page.trwCustomDragOver(QPoint(5, second.bottom() - 1));
    QCOMPARE(f.page.selectedNode(), f.node(u"K30.htm [ x ]"_s));
    f.page.trwCustomDragOver(QPoint(5, second.top() + 1));
    QCOMPARE(f.page.selectedNode(), NodeAfter(secondNode));
    // Over the topmost visible node: the node before it, scrolled into view.
    f.page.trwCustomDragOver(QPoint(5, top.bottom() - 1));
    QCOMPARE(f.page.selectedNode(), NodeBefore(topNode));
    QVERIFY(view->viewport()->rect().intersects(view->visualRect(view->currentIndex())));
    // Where no node is under the pointer nothing happens.
    TreeNode* selected = f.page.selectedNode();
    f.page.trwCustomDragOver(QPoint(5, view->viewport()->height() + 50));
    QCOMPARE(f.page.selectedNode(), selected);
}

void TestCustomTreePage::editing()
{
    Fixture f;
    f.page.CopyCatalogueToCustomTree();
    f.page.selectNode(f.node(u"0003.htm [ Úvod znovu ]"_s));
    QVERIFY(!f.action("tlbRenameDir")->isEnabled());
    QVERIFY(f.action("tlbAddMark")->isEnabled());

    // Create: the dialog's texts, the name checks, the new folder selected below.
    f.answers = {u"a.htm"_s, u"   "_s, u" Nová "_s};
    f.action("tlbCreateDir")->trigger();
    f.action("tlbCreateDir")->trigger();
    f.action("tlbCreateDir")->trigger();
    QCOMPARE(f.asked[0], (QStringList{u"Vytvořit novou složku"_s, u"Název složky:"_s, u"Nová složka"_s}));
    QCOMPARE(f.messages.texts(), (QStringList{u"Přípona v názvu složky není povolena"_s, u"Nebyl zadán název složky"_s}));
    TreeNode* folder = f.page.selectedNode();
    QCOMPARE(folder->caption, u"Nová "_s);
    QCOMPARE(f.page.tree().topLevel(3), folder);
    QVERIFY(f.action("tlbDelDir")->isEnabled());
    f.action("tlbCreateDir")->trigger(); // cancelled
    QCOMPARE(f.page.tree().count(), 6);

    // Mark it: images, button, hints and the hover text.
    f.action("tlbSelUnselDir")->trigger();
    QCOMPARE(folder->imageIndex, image::MarkedFolderClosed);
    QCOMPARE(f.page.markButtonImage(), 20);
    QCOMPARE(f.action("tlbMoveToSelDir")->toolTip(), u"Přesunout do označené složky Nová "_s);
    f.hover(f.centre(u"Nová "_s));
    QCOMPARE(f.page.statusBar()->text(0), u"Nová  [označená složka]"_s);
    f.hover(QPoint(5, f.page.trwCustom()->viewport()->height() - 2));
    QCOMPARE(f.page.statusBar()->text(0), QString());

    // Move a chapter into it: the node above is selected next, the folder opens.
    f.page.selectNode(f.node(u"0001.htm [ Úvod ]"_s));
    QVERIFY(f.action("tlbMoveToSelDir")->isEnabled());
    f.action("tlbMoveToSelDir")->trigger();
    QCOMPARE(f.page.selectedNode(), nullptr);
    QCOMPARE(folder->imageIndex, image::MarkedFolderOpen);
    QVERIFY(f.page.trwCustom()->isExpanded(f.page.model()->indexOf(folder)));
    QVERIFY(!f.action("tlbDelDir")->isEnabled());

    // Up and down through the folders.
    f.page.selectNode(f.node(u"0003.htm [ Úvod znovu ]"_s));
    f.action("tlbUp")->trigger();
    QCOMPARE(outline(f.page.tree()),
             (QStringList{u"0002"_s, u"\t0002-01.htm [ Proměnné ]"_s, u"\t0003.htm [ Úvod znovu ]"_s,
                          u"\t0002-02.htm [ Pole ]"_s, u"Nová "_s, u"\t0001.htm [ Úvod ]"_s}));
    QCOMPARE(f.page.selectedNode()->caption, u"0003.htm [ Úvod znovu ]"_s);
    f.page.selectNode(f.node(u"0001.htm [ Úvod ]"_s));
    f.action("tlbDown")->trigger(); // the last node: nothing
    f.action("tlbUp")->trigger();   // the only child leaves; the marked folder closes
    QCOMPARE(folder->imageIndex, image::MarkedFolderClosed);
    QCOMPARE(f.page.tree().topLevel(1)->caption, u"0001.htm [ Úvod ]"_s);

    // Rename: a blank name does nothing; the hints follow the marked folder's name.
    f.page.selectNode(folder);
    f.answers = {u"  "_s, u" Jiná"_s};
    f.action("tlbRenameDir")->trigger();
    QCOMPARE(folder->caption, u"Nová "_s);
    f.action("tlbRenameDir")->trigger();
    QCOMPARE(f.asked.last(), (QStringList{u"Přejmenovat vybranou složku"_s, u"Název složky:"_s, QString()}));
    QCOMPARE(folder->caption, u"Jiná"_s);
    QCOMPARE(f.action("tlbMoveToSelDir")->statusTip(), u"Přesunout do označené složky Jiná"_s);

    // Expand and collapse all: folders change, chapters keep their image.
    f.action("tlbTreeFullExp")->trigger();
    QCOMPARE(f.node(u"0002"_s)->imageIndex, image::FolderClosed);
    f.action("tlbTreeFullColl")->trigger();
    QCOMPARE(f.node(u"0002"_s)->imageIndex, image::FolderOpen);
    f.page.tree().forEach([](TreeNode* n) {
        if (n->caption.contains(QLatin1String(".htm")))
            QCOMPARE(n->imageIndex, image::Chapter);
    });

    // Delete the marked empty folder: no mark, plain hints.
    f.page.selectNode(folder);
    f.action("tlbDelDir")->trigger();
    QCOMPARE(f.node(u"Jiná"_s), nullptr);
    QCOMPARE(f.page.markedFolder(), nullptr);
    QCOMPARE(f.action("tlbMoveToSelDir")->toolTip(), u"Přesunout do označené složky"_s);
    QVERIFY(!f.action("tlbMoveToSelDir")->isEnabled());
    // Nothing selected: the folder commands are off, and the move reports its failure.
    f.page.selectNode(nullptr);
    QVERIFY(!f.action("tlbSelUnselDir")->isEnabled());
    f.page.tlbMoveToSelDirClick();
    QCOMPARE(f.messages.texts().last(), u"Soubor nelze přesunout"_s);
}

void TestCustomTreePage::openAndSaveDialogs()
{
    QTemporaryDir tmp;
    Fixture f;
    f.page.CopyCatalogueToCustomTree();
    f.page.selectNode(f.node(u"0002"_s));
    f.page.tlbSelUnselDirClick();
    const QStringList before = outline(f.page.tree());
    const QString fifo = tmp.filePath(u"pipe.trw"_s);
    QCOMPARE(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
    // A folder, a pipe, a cancelled dialog: the tree and its mark stay, nothing is said.
    for (const QString& chosen : {tmp.path(), fifo, QString()}) {
        f.chosenFile = chosen;
        f.action("tlbOpenTree")->trigger();
        QCOMPARE(outline(f.page.tree()), before);
        QVERIFY(f.page.markedFolder());
    }
    QCOMPARE(f.savesAsked, (QList<bool>{false, false, false}));
    // A broken file: what came before the error stays, silently, and the mark is gone.
    f.chosenFile = tmp.filePath(u"broken.trw"_s);
    testfiles::write(f.chosenFile, "A\r\n\tb.htm [ c ]\r\n\t\t\tx\r\n");
    f.action("tlbOpenTree")->trigger();
    QCOMPARE(outline(f.page.tree()), (QStringList{u"A"_s, u"\tb.htm [ c ]"_s}));
    QCOMPARE(f.page.markedFolder(), nullptr);
    QVERIFY(f.messages.shown.isEmpty());

    // Save as: written; into a folder that cannot exist, the file layer's message.
    f.chosenFile = tmp.filePath(u"saved.trw"_s);
    f.action("tlbSaveTree")->trigger();
    QCOMPARE(testfiles::read(f.chosenFile), QByteArray("A\r\n\tb.htm [ c ]\r\n"));
    f.chosenFile = tmp.filePath(u"saved.trw/x.trw"_s);
    f.action("tlbSaveTree")->trigger();
    QCOMPARE(f.savesAsked.last(), true);
    QCOMPARE(f.messages.shown.size(), 1);
    QVERIFY(f.messages.texts()[0].startsWith(u"Nelze vytvořit soubor \""_s + f.chosenFile + u"\"."_s));
    QCOMPARE(f.messages.shown[0].icon, MsgIcon::Error);
}

void TestCustomTreePage::enterGuardAndHints()
{
    Fixture f;
    f.page.CopyCatalogueToCustomTree();
    FrameState state;
    bool& findFlag = state.findFlag;
    bool& bookmarkFlag = state.bookmarkFlag;
    f.page.setFrameState(&state);
    QSignalSpy opened(&f.page, &CustomTreePage::openRequested);
    QSignalSpy closeFind(&f.page, &CustomTreePage::findDialogCloseRequested);
    f.page.selectNode(f.page.tree().topLevel(0));
    findFlag = bookmarkFlag = true;
    QTest::keyRelease(f.page.trwCustom(), Qt::Key_Return);
    QCOMPARE(opened.size(), 0);
    QCOMPARE(closeFind.size(), 1);
    QVERIFY(!findFlag && !bookmarkFlag);
    QTest::keyClick(f.page.trwCustom(), Qt::Key_Return, Qt::ControlModifier);
    QCOMPARE(opened.size(), 0);
    // A release whose press went elsewhere (to a message box that it closed) opens nothing.
    QTest::keyRelease(f.page.trwCustom(), Qt::Key_Enter, Qt::KeypadModifier);
    QCOMPARE(opened.size(), 0);
    QTest::keyClick(f.page.trwCustom(), Qt::Key_Enter, Qt::KeypadModifier);
    QCOMPARE(opened.size(), 1);
    QCOMPARE(opened[0][0].value<TreeNode*>(), f.page.tree().topLevel(0));

    // The folder label opens the folder; the status bar's hint and double click.
    QList<QUrl> openedUrls;
    ShellOpener::setHandler([&](const QUrl& url) {
        openedUrls.append(url);
        return true;
    });
    f.page.setFolder(u"/data/Htm/"_s);
    QCOMPARE(f.page.lblDir()->text(), u" /data/Htm/"_s);
    QTest::mouseClick(f.page.lblDir(), Qt::LeftButton);
    ShellOpener::setHandler({});
    QCOMPARE(openedUrls, QList<QUrl>{QUrl::fromLocalFile(u"/data/Htm/"_s)});
    QSignalSpy find(&f.page, &CustomTreePage::findRequested);
    StatusBar* bar = f.page.statusBar();
    emit bar->mouseMoved(bar->width() - 5);
    QCOMPARE(bar->toolTip(), u"Nápovědný text"_s);
    emit bar->doubleClicked(5);
    QCOMPARE(find.size(), 0);
    emit bar->doubleClicked(bar->width() - 5);
    QCOMPARE(find.size(), 1);
}

void TestCustomTreePage::popupMenu()
{
    QTemporaryDir tmp;
    const QString folder = tmp.filePath(u"Htm"_s) + QLatin1Char('/');
    testfiles::write(folder + u"0001.htm"_s, "<H2>Lekce 1 - \xdavod</H2>");
    testfiles::write(folder + u"0002-01.htm"_s, "<H2>Lekce 2 - Pole</H2>");
    SettingsStore store(tmp.filePath(u"hive.ini"_s));
    AppSettings settings(store);
    RecordingMessages messages;
    FrameState state;
    CataloguePage catalogue(settings, state, nullptr);
    catalogue.setFolder(folder);
    CustomTreePage custom(catalogue.tree(), nullptr);
    int page = 0;
    TreePopupMenu menu(catalogue, custom, [&] { return page; });
    auto visible = [&](const char* name) { return menu.item(QLatin1String(name))->isVisible(); };
    auto enabled = [&](const char* name) { return menu.item(QLatin1String(name))->isEnabled(); };
    QCOMPARE(catalogue.trwFiles()->contextMenuPolicy(), Qt::CustomContextMenu);
    QCOMPARE(custom.trwCustom()->contextMenuPolicy(), Qt::CustomContextMenu);

    // The chapter list: add to the custom list, for chapters only.
    catalogue.selectNode(catalogue.tree().topLevel(1));
    menu.popmnuCustomTreePopup();
    QVERIFY(visible("popAddToMainList") && visible("popSepar00") && !enabled("popAddToMainList"));
    for (const char* name : {"popRenameDir", "popDelDir", "popCreateDir", "popSelDir", "popMoveToSelDir"})
        QVERIFY2(!visible(name), name);
    QVERIFY(!enabled("popAddTab"));
    catalogue.selectNode(catalogue.tree().topLevel(0));
    menu.popmnuCustomTreePopup();
    QVERIFY(enabled("popAddToMainList"));
    menu.item(u"popAddToMainList"_s)->trigger();
    QCOMPARE(outline(custom.tree()), QStringList{u"0001.htm [ Úvod ]"_s});

    // Expand and collapse act on the chapter list: chapters stay chapters.
    menu.item(u"popTreeExpand"_s)->trigger();
    QCOMPARE(catalogue.tree().topLevel(1)->imageIndex, image::FolderOpen);
    QCOMPARE(catalogue.tree().topLevel(1)->child(0)->imageIndex, image::Chapter);
    menu.item(u"popTreeCollapse"_s)->trigger();
    QCOMPARE(catalogue.tree().topLevel(1)->imageIndex, image::FolderClosed);
    QCOMPARE(catalogue.tree().topLevel(0)->imageIndex, image::Chapter);

    // The custom page: the folder items follow the current node.
    page = 2;
    custom.CopyCatalogueToCustomTree();
    TreeNode* group = custom.tree().topLevel(1);
    custom.selectNode(group);
    custom.tlbSelUnselDirClick();
    menu.popmnuCustomTreePopup();
    QVERIFY(!visible("popAddToMainList") && !visible("popSepar00"));
    QVERIFY(visible("popRenameDir") && enabled("popRenameDir"));
    QVERIFY(visible("popDelDir") && !enabled("popDelDir"));
    QVERIFY(visible("popSelDir") && enabled("popSelDir"));
    QCOMPARE(menu.item(u"popSelDir"_s)->text(), u"Odeznačit složku"_s);
    QVERIFY(visible("popCreateDir") && enabled("popCreateDir"));
    QVERIFY(!enabled("popMoveToSelDir"));
    QCOMPARE(menu.item(u"popMoveToSelDir"_s)->statusTip(), u"Přesunout do označené složky 0002"_s);
    custom.selectNode(custom.tree().topLevel(0));
    menu.popmnuCustomTreePopup();
    QCOMPARE(menu.item(u"popSelDir"_s)->text(), u"Označit složku"_s);
    QVERIFY(!enabled("popSelDir") && !enabled("popRenameDir") && enabled("popMoveToSelDir"));
    menu.item(u"popMoveToSelDir"_s)->trigger();
    QCOMPARE(group->childCount(), 2);
    menu.item(u"popTreeCollapse"_s)->trigger();
    QCOMPARE(group->imageIndex, image::MarkedFolderClosed);
    QVERIFY(messages.shown.size() == 1); // only the chapter added above
}

QTEST_MAIN(TestCustomTreePage)
#include "tst_customtreepage.moc"
