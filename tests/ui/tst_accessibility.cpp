#include "TestWorld.h"
#include "TfrmAll.h"
#include "library/CataloguePage.h"
#include "notes/NotesFontDialog.h"
#include "tools/TfrmLogView.h"
#include "update/TfrmIniViewer.h"
#include "widgets/Accessibility.h"
#include "widgets/PageControl.h"

#include <QAbstractItemView>
#include <QAccessible>
#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QRadioButton>
#include <QTest>
#include <QTimer>
#include <QToolButton>
#include <QTreeView>
#include <QVBoxLayout>

#include <functional>
#include <memory>

using namespace tavio;

namespace {

QString describe(const QWidget* w)
{
    return QString::fromLatin1(w->metaObject()->className()) + QLatin1Char(' ')
        + (w->objectName().isEmpty() ? QStringLiteral("(unnamed object)") : w->objectName());
}

// The chapter view's page: the web engine shows a screen reader the page's own tree
// (the document with its headings and links), not this widget's.
bool inWebView(const QWidget* w)
{
    return w->parentWidget() && w->parentWidget()->inherits("QWebEngineView");
}

bool ownControl(const QWidget* w, const QWidget* window)
{
    return w->window() == window && w->isVisibleTo(window) && !w->focusProxy();
}

// Every control that takes the focus has a name a screen reader can say.
QStringList unnamedControls(QWidget* window)
{
    QStringList out;
    for (QWidget* w : window->findChildren<QWidget*>()) {
        if (w->focusPolicy() != Qt::NoFocus && ownControl(w, window) && !inWebView(w)
            && accessibility::announcedName(w).isEmpty())
            out << describe(w);
    }
    return out;
}

// Tab from the first control around the window: every control that Tab should
// reach is reached, focus never lands on something hidden, and the walk comes back
// to where it began. A view may keep the focus for a while (a page walking its
// links) but must let it go; an editor where Tab is typed text comes last and is
// left with Ctrl+Tab.
QStringList tabOrderFaults(QWidget* window)
{
    constexpr int LinksAtMost = 40;
    QList<QWidget*> expected;
    for (QWidget* w : window->findChildren<QWidget*>()) {
        if ((w->focusPolicy() & Qt::TabFocus) == Qt::TabFocus && w->isEnabled() && ownControl(w, window))
            expected << w;
    }
    if (expected.isEmpty())
        return {};
    QStringList out;
    window->activateWindow();
    // The walk starts where the window's Tab order starts.
    QWidget* first = nullptr;
    for (QWidget* w = window->nextInFocusChain(); w != window && !first; w = w->nextInFocusChain()) {
        if (expected.contains(w) && !accessibility::keepsTab(w))
            first = w;
    }
    (first ? first : expected.first())->setFocus(Qt::TabFocusReason);
    QWidget* start = QApplication::focusWidget();
    if (!start)
        return{QStringLiteral("no control takes the focus")};
    QSet<QWidget*> visited{start};
    bool closed = false;
    int stayed = 0;
    for (int i = 0; i <= 2 * expected.size() + 2 * LinksAtMost && !closed; ++i) {
        QWidget* from = QApplication::focusWidget();
        if (accessibility::keepsTab(from)) {
            QTest::keyClick(from, Qt::Key_Tab, Qt::ControlModifier);
            if (QApplication::focusWidget() == from)
                out << QStringLiteral("Ctrl+Tab stays in ") + describe(from);
            closed = true; // the editor is the last stop
            break;
        }
        QTest::keyClick(from, Qt::Key_Tab);
        if (inWebView(from))
            QTest::qWait(30); // the page moves through its links in its own process
        QWidget* to = QApplication::focusWidget();
        if (!to) {
            out << QStringLiteral("Tab leaves the window from ") + describe(from);
            break;
        }
        if (to == from) {
            if (expected.size() == 1) {
                closed = true; // the only control: Tab has nowhere else to go
                break;
            }
            if (++stayed > LinksAtMost) {
                out << QStringLiteral("Tab stays in ") + describe(from);
                break;
            }
            continue;
        }
        stayed = 0;
        if (!to->isVisible() || to->window() != window)
            out << QStringLiteral("Tab goes to a control not shown: ") + describe(to);
        closed = to == start;
        visited.insert(to);
    }
    if (out.isEmpty() && !closed)
        out << QStringLiteral("Tab never comes back to ") + describe(start);
    for (QWidget* w : expected) {
        // Of a group of radio buttons Tab visits one; the arrows choose among them.
        const auto* radio = qobject_cast<QRadioButton*>(w);
        const bool groupVisited = radio && radio->autoExclusive()
            && std::any_of(visited.begin(), visited.end(),
                [&](QWidget* v) { return qobject_cast<QRadioButton*>(v) && v->parentWidget() == w->parentWidget(); });
        if (!visited.contains(w) && !groupVisited)
            out << QStringLiteral("Tab skips ") + describe(w);
    }
    return out;
}

// The trees and lists tell their items: a view with rows has accessible children
// with texts.
QStringList silentViews(QWidget* window)
{
    QStringList out;
    for (QAbstractItemView* v : window->findChildren<QAbstractItemView*>()) {
        if (!ownControl(v, window) || !v->model() || v->model()->rowCount(v->rootIndex()) == 0)
            continue;
        QAccessibleInterface* face = QAccessible::queryAccessibleInterface(v);
        bool spoken = false;
        for (int i = 0; face && i < face->childCount() && !spoken; ++i) {
            if (QAccessibleInterface* item = face->child(i))
                spoken = !item->text(QAccessible::Name).trimmed().isEmpty();
        }
        if (!spoken)
            out << QStringLiteral("items not reported: ") + describe(v);
    }
    return out;
}

// Closes a window as its user would; the about box, say, goes with Escape.
void closeWindow(QWidget* window)
{
    QPointer<QWidget> guard(window);
    window->close();
    if (guard && guard->isVisible())
        QTest::keyClick(guard, Qt::Key_Escape);
    if (guard && guard->isVisible())
        guard->hide();
}

// Every label and button shows its text whole: it has at least the room its text asks for.
QStringList cutTexts(QWidget* window)
{
    QStringList out;
    for (QWidget* w : window->findChildren<QWidget*>()) {
        if (!w->isVisibleTo(window) || w->window() != window || inWebView(w))
            continue;
        const auto* label = qobject_cast<QLabel*>(w);
        const auto* button = qobject_cast<QAbstractButton*>(w);
        if ((!label || label->text().isEmpty() || !label->pixmap().isNull()) && (!button || button->text().isEmpty()))
            continue;
        if (button && button->inherits("QToolButton"))
            continue; // a toolbar's buttons show icons; their texts are hover texts
        const QSize need = w->minimumSizeHint();
        const int height = label && label->wordWrap() ? label->heightForWidth(w->width()) : need.height();
        if (w->width() < need.width() || w->height() < height) {
            out << QStringLiteral("text cut: ") + describe(w) + QStringLiteral(" \"")
                    + (label ? label->text() : button->text()) + QStringLiteral("\"");
        }
    }
    return out;
}

QStringList faults(QWidget* window, bool bigFont)
{
    return unnamedControls(window) + tabOrderFaults(window) + silentViews(window)
        + (bigFont ? cutTexts(window) : QStringList());
}

} // namespace

// Every window, reached as the user reaches it, is usable by keyboard and screen reader.
class TestAccessibility final : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void windows_data();
    void windows();
    void derivedNames();
};

void TestAccessibility::initTestCase()
{
    QAccessible::setActive(true);
    accessibility::install();
}

void TestAccessibility::windows_data()
{
    QTest::addColumn<QString>("how");
    QTest::addColumn<double>("fontScale");
    // "page:N" shows a page of the main window; "menu:name" runs a command and looks
    // at the window it opens; "window:name" opens a window the program creates itself.
    // Each also at the largest system font, where every text must still show whole.
    QStringList hows;
    for (int page = 0; page < 5; ++page)
        hows << QStringLiteral("page:%1").arg(page);
    for (const char* command : {"mnuQuickOpen", "mnuUpdate", "mnuDelPrint", "mnuEditMark", "mnuVersionHistory",
             "mnuAbout", "mnuHelpIndex", "mnuFind@0", "mnuAddMark@0"})
        hows << QStringLiteral("menu:") + QLatin1String(command);
    for (const char* window : {"iniViewer", "logView", "notesFont"})
        hows << QStringLiteral("window:") + QLatin1String(window);
    for (const double scale : {1.0, 1.5}) {
        for (const QString& how : hows)
            QTest::newRow(qPrintable(how + (scale > 1 ? QStringLiteral(", largest font") : QString()))) << how << scale;
    }
}

void TestAccessibility::windows()
{
    QFETCH(QString, how);
    QFETCH(double, fontScale);
    const ScaledAppFont font(fontScale);
    World world;
    auto w = world.start();
    w->show();
    QVERIFY(QTest::qWaitForWindowExposed(w.get()));
    // A chapter is open, so that its page and the notes page are there too.
    TreeNode* first = w->catalogue()->tree().topLevel(0);
    QVERIFY(w->OpenChapterNode(w->catalogue()->trwFiles(), w->catalogue()->model(), first));

    QStringList found;
    bool looked = false;
    auto look = [&](QWidget* window) {
        QVERIFY(window);
        QVERIFY(QTest::qWaitForWindowExposed(window));
        found = faults(window, fontScale > 1);
        looked = true;
    };
    const QString what = how.section(QLatin1Char(':'), 1);
    if (how.startsWith(QLatin1String("page:"))) {
        w->pgcFiles()->setCurrentIndex(what.toInt());
        look(w.get());
    } else {
        // "menu:name@page" runs the command on that page.
        const QString command = what.section(QLatin1Char('@'), 0, 0);
        if (what.contains(QLatin1Char('@')))
            w->pgcFiles()->setCurrentIndex(what.section(QLatin1Char('@'), 1).toInt());
        QWidgetList before; // the windows already on screen
        for (QWidget* top : QApplication::topLevelWidgets()) {
            if (top->isVisible())
                before << top;
        }
        // The window is looked at as soon as it is up (a modal one from inside its
        // own loop), then closed.
        QTimer poll;
        poll.setInterval(50);
        int ticks = 0;
        connect(&poll, &QTimer::timeout, w.get(), [&] {
            QWidget* window = QApplication::activeModalWidget();
            for (QWidget* top : QApplication::topLevelWidgets()) {
                const Qt::WindowType type = top->windowType();
                if (!window && !before.contains(top) && top->isVisible() && (type == Qt::Window || type == Qt::Dialog))
                    window = top;
            }
            if (window && !looked) {
                poll.stop();
                look(window);
                closeWindow(window);
            } else if (++ticks > 100) {
                poll.stop();
            }
        });
        poll.start();
        std::unique_ptr<NotesFontDialog> fontDialog;
        if (how.startsWith(QLatin1String("menu:"))) {
            w->action(command)->trigger();
        } else if (what == QLatin1String("iniViewer")) {
            const QString ini = world.program + QStringLiteral("update.ini");
            testfiles::write(ini, "[Program]\r\nVersion=1.0\r\n");
            w->iniViewer()->showFile(ini);
        } else if (what == QLatin1String("logView")) {
            const QString log = world.dataFolder() + QStringLiteral("x.log");
            testfiles::write(log, "Soubor 0001.htm\r\n");
            (new TfrmLogView(log, w.get()))->show();
        } else if (what == QLatin1String("notesFont")) {
            fontDialog = std::make_unique<NotesFontDialog>(TextStyle {}, w.get());
            fontDialog->show();
        }
        QTRY_VERIFY_WITH_TIMEOUT(looked || !poll.isActive(), 10000);
    }
    QVERIFY2(looked, "the window did not open");
    QVERIFY2(found.isEmpty(), qPrintable(found.join(QStringLiteral("; "))));
}

void TestAccessibility::derivedNames()
{
    // The words a sighted user reads are the name; the program's own name is kept.
    QWidget window;
    auto* layout = new QVBoxLayout(&window);
    auto* label = new QLabel(QStringLiteral("&Složka:"), &window);
    auto* folder = new QLineEdit(&window);
    label->setBuddy(folder);
    auto* hinted = new QToolButton(&window);
    hinted->setToolTip(QStringLiteral("<b>Najít</b> další"));
    auto* named = new QLineEdit(&window);
    named->setAccessibleName(QStringLiteral("Vlastní"));
    named->setToolTip(QStringLiteral("Jiný text"));
    auto* empty = new QLineEdit(&window);
    empty->setPlaceholderText(QStringLiteral("Hledaný text"));
    for (QWidget* c : {static_cast<QWidget*>(label), static_cast<QWidget*>(folder), static_cast<QWidget*>(hinted),
             static_cast<QWidget*>(named), static_cast<QWidget*>(empty)})
        layout->addWidget(c);
    window.show();
    QCOMPARE(accessibility::announcedName(folder), QStringLiteral("Složka:"));
    QCOMPARE(accessibility::announcedName(hinted), QStringLiteral("Najít další"));
    QCOMPARE(accessibility::announcedName(named), QStringLiteral("Vlastní"));
    QCOMPARE(accessibility::announcedName(empty), QStringLiteral("Hledaný text"));
    // A name that came from a hover text follows it.
    hinted->setToolTip(QStringLiteral("Předchozí"));
    accessibility::nameControls(&window);
    QCOMPARE(accessibility::announcedName(hinted), QStringLiteral("Předchozí"));
}

QTEST_MAIN(TestAccessibility)
#include "tst_accessibility.moc"
