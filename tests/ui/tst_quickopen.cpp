#include "TestWorld.h"
#include "TfrmAll.h"
#include "library/CataloguePage.h"
#include "quickopen/TfrmQuickOpen.h"
#include "widgets/PageControl.h"

#include <QAction>
#include <QApplication>
#include <QLineEdit>
#include <QListView>
#include <QMenu>
#include <QMenuBar>
#include <QTest>
#include <QTimer>
#include <QTreeView>

#include <functional>

using namespace tavio;

namespace {

// Runs what the open quick-open window should see and do once it is up.
void whenQuickOpenShows(const std::function<void(TfrmQuickOpen*)>& drive)
{
    QTimer::singleShot(0, [drive] {
        auto* dlg = qobject_cast<TfrmQuickOpen*>(QApplication::activeModalWidget());
        QVERIFY(dlg);
        drive(dlg);
        if (dlg->isVisible())
            dlg->reject(); // a failed step must not leave the test waiting on the window
    });
}

QString firstRow(TfrmQuickOpen* dlg)
{
    return dlg->lstChapters()->model()->index(0, 0).data().toString();
}

} // namespace

class TestQuickOpen final : public QObject
{
    Q_OBJECT
private slots:
    void menuItemBesideExit();
    void typeEnterOpensLikeDoubleClick();
};

void TestQuickOpen::menuItemBesideExit()
{
    World world;
    auto w = world.start();
    QAction* item = w->action(QStringLiteral("mnuQuickOpen"));
    QVERIFY(item);
    QCOMPARE(item->text(), QStringLiteral("Rychle otevřít kapitolu ..."));
    QCOMPARE(item->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_P));
    // In the "Soubor" menu, the exit command staying its last item.
    auto* file = w->menuBar()->actions().first()->menu();
    QVERIFY(file->actions().contains(item));
    QCOMPARE(file->actions().last(), w->action(QStringLiteral("mnuKonec")));
}

void TestQuickOpen::typeEnterOpensLikeDoubleClick()
{
    World world;
    auto w = world.start();
    w->show();
    QVERIFY(QTest::qWaitForWindowExposed(w.get()));

    QString seen;
    int rows = -1;
    whenQuickOpenShows([&](TfrmQuickOpen* dlg) {
        QCOMPARE(dlg->lstChapters()->model()->rowCount(), 4);
        QTest::keyClicks(dlg->edtQuery(), QStringLiteral("PROMEN"));
        rows = dlg->lstChapters()->model()->rowCount();
        seen = firstRow(dlg);
        QTest::keyClick(dlg->edtQuery(), Qt::Key_Return);
    });
    w->action(QStringLiteral("mnuQuickOpen"))->trigger();
    QCOMPARE(rows, 1);
    QCOMPARE(seen, QStringLiteral("Proměnné  (0002-01.htm)"));
    QCOMPARE(w->CurrentChapterPath(), world.chapters() + QStringLiteral("0002-01.htm"));
    QCOMPARE(w->pgcFiles()->currentIndex(), int(TfrmAll::PageChapter));
    QVERIFY(w->pgcFiles()->tabText(TfrmAll::PageChapter).contains(QStringLiteral("Proměnné")));
    // As a double click would: the node is the catalogue's current one.
    QCOMPARE(w->catalogue()->selectedNode()->caption.left(11), QStringLiteral("0002-01.htm"));

    // Next time the chapter just read leads the list; the keys move in the list, and
    // Escape leaves everything as it was.
    whenQuickOpenShows([&](TfrmQuickOpen* dlg) {
        seen = firstRow(dlg);
        QTest::keyClick(dlg->edtQuery(), Qt::Key_Down);
        rows = dlg->lstChapters()->currentIndex().row();
        QTest::keyClick(dlg->edtQuery(), Qt::Key_Escape);
    });
    w->action(QStringLiteral("mnuQuickOpen"))->trigger();
    QCOMPARE(seen, QStringLiteral("Proměnné  (0002-01.htm)"));
    QCOMPARE(rows, 1);
    QCOMPARE(w->CurrentChapterPath(), world.chapters() + QStringLiteral("0002-01.htm"));

    // A query that matches nothing: Enter takes nothing and the window stays.
    bool stayed = false;
    whenQuickOpenShows([&](TfrmQuickOpen* dlg) {
        QTest::keyClicks(dlg->edtQuery(), QStringLiteral("qqq"));
        QTest::keyClick(dlg->edtQuery(), Qt::Key_Return);
        stayed = dlg->isVisible() && !dlg->chosen();
    });
    w->action(QStringLiteral("mnuQuickOpen"))->trigger();
    QVERIFY(stayed);
    QCOMPARE(w->CurrentChapterPath(), world.chapters() + QStringLiteral("0002-01.htm"));
}

QTEST_MAIN(TestQuickOpen)
#include "tst_quickopen.moc"
