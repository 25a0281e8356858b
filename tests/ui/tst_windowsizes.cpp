#include "TestWorld.h"
#include "about/TfrmHelp.h"
#include "about/TfrmSplash.h"
#include "marks/BookmarkMenu.h"
#include "notes/NotesDialogs.h"
#include "widgets/QtTranslations.h"
#include "widgets/PageControl.h"
#include "widgets/WindowSize.h"

#include <QApplication>
#include <QComboBox>
#include <QFileDialog>
#include <QFontMetrics>
#include <QInputDialog>
#include <QLabel>
#include <QScreen>
#include <QStyle>
#include <QTabBar>
#include <QTest>
#include <QTextBlock>
#include <QTextBrowser>
#include <QTextLayout>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>

using namespace tavio;

namespace {

// What a title bar needs at least beside its caption: an icon and three buttons.
constexpr int TitleBarButtons = 4 * 20;

int captionWidth(const QString& caption)
{
    QFont bold = QApplication::font();
    bold.setBold(true);
    return QFontMetrics(bold).horizontalAdvance(caption) + TitleBarButtons;
}

bool overflows(const QToolBar* bar)
{
    const auto* extension = bar->findChild<QToolButton*>(QStringLiteral("qt_toolbar_ext_button"));
    return extension && extension->isVisible();
}

} // namespace

// The windows at their least size show their texts whole with the fonts in use.
class TestWindowSizes final : public QObject
{
    Q_OBJECT
private slots:
    void mainWindowAtItsLeastSize_data();
    void mainWindowAtItsLeastSize();
    void inputBoxCaptions_data();
    void inputBoxCaptions();
    void descriptionLinesStayWhole();
    void splashLabels_data();
    void splashLabels();
    void fileDialogs_data();
    void fileDialogs();
};

void TestWindowSizes::mainWindowAtItsLeastSize_data()
{
    QTest::addColumn<double>("fontScale");
    QTest::newRow("the system font") << 1.0;
    // The largest text size a desktop offers is half as large again as the normal one.
    QTest::newRow("the largest system font") << 1.5;
}

void TestWindowSizes::mainWindowAtItsLeastSize()
{
    QFETCH(double, fontScale);
    const ScaledAppFont font(fontScale);
    World world;
    world.openStore();
    auto w = world.start();
    PageControl* pages = w->pgcFiles();
    // A chapter is open: all five tabs show.
    pages->setTabVisible(1, true);
    pages->setTabVisible(4, true);
    pages->setTabText(1, QStringLiteral("Úvod do programování"));
    // The least size: the design size grown to what the contents need, within the screen.
    const QSize needed = w->minimumSizeHint().expandedTo(QSize(673, 457));
    QCOMPARE(w->minimumSize(), needed.boundedTo(w->screen()->availableGeometry().size()).expandedTo(QSize(673, 457)));
    // At that size (the test screen may be narrower) every tab shows its caption whole.
    w->resize(needed);
    w->show();
    QVERIFY(QTest::qWaitForWindowExposed(w.get()));
    QCOMPARE(w->size(), needed);
    QTabBar* tabs = pages->tabBar();
    const int room = tabs->style()->pixelMetric(QStyle::PM_TabBarTabHSpace, nullptr, tabs);
    for (int i = 0; i < pages->count(); ++i)
        QVERIFY2(tabs->tabRect(i).width() >= tabs->fontMetrics().horizontalAdvance(pages->tabText(i)) + room,
                 qPrintable(pages->tabText(i)));
    QVERIFY(w->width() >= captionWidth(w->windowTitle()));

    // Every command of the notes toolbar is on the toolbar, none in an overflow menu.
    for (int page : {0, 1, 4}) {
        pages->setCurrentIndex(page);
        QCOMPARE(pages->currentIndex(), page);
        QApplication::processEvents();
        for (const QToolBar* bar : pages->widget(page)->findChildren<QToolBar*>())
            QVERIFY2(!overflows(bar), qPrintable(pages->tabText(page)));
    }
    auto* size = pages->widget(4)->findChild<QComboBox*>(QStringLiteral("cmbFontSize"));
    QVERIFY(size);
    QVERIFY(size->isVisible());
    w->close();
}

void TestWindowSizes::inputBoxCaptions_data()
{
    QTest::addColumn<QString>("caption");
    QTest::addColumn<QString>("prompt");
    QTest::newRow("new folder") << QStringLiteral("Vytvořit novou složku") << QStringLiteral("Zadejte název složky:");
    QTest::newRow("rename folder") << QStringLiteral("Přejmenovat vybranou složku")
                                   << QStringLiteral("Zadejte název složky:");
    QTest::newRow("new bookmark") << QStringLiteral("Vytvořit novou záložku") << QStringLiteral("Název záložky:");
    QTest::newRow("rename bookmark") << QStringLiteral("Změnit název záložky")
                                     << QStringLiteral("Zadejte nový název záložky:");
}

void TestWindowSizes::inputBoxCaptions()
{
    QFETCH(QString, caption);
    QFETCH(QString, prompt);
    int width = 0;
    QString title;
    QTimer::singleShot(0, this, [&] {
        auto* box = qobject_cast<QInputDialog*>(QApplication::activeModalWidget());
        QVERIFY(box);
        width = box->width();
        title = box->windowTitle();
        box->reject();
    });
    QCOMPARE(InputBox(nullptr, caption, prompt, QStringLiteral("x")), std::nullopt);
    QCOMPARE(title, caption);
    QVERIFY2(width >= captionWidth(caption), qPrintable(QString::number(width)));
}

void TestWindowSizes::descriptionLinesStayWhole()
{
    TfrmHelp window(false);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    QVERIFY(window.width() >= 610);
    const int screenWidth = window.screen()->availableGeometry().width();
    QTextDocument* doc = window.reHelp()->document();
    int wrapped = 0;
    for (QTextBlock b = doc->begin(); b.isValid(); b = b.next())
        wrapped += b.layout()->lineCount() > 1 ? 1 : 0;
    // A line wraps only where the screen is too narrow for it.
    QVERIFY2(wrapped == 0 || window.width() == screenWidth, qPrintable(QString::number(wrapped)));
}

void TestWindowSizes::splashLabels_data()
{
    QTest::addColumn<int>("which");
    QTest::addColumn<int>("pixelSize");
    QTest::newRow("version") << 0 << 7;
    QTest::newRow("author") << 1 << 8;
}

void TestWindowSizes::splashLabels()
{
    QFETCH(int, which);
    QFETCH(int, pixelSize);
    TfrmSplash splash;
    const QLabel* label = which == 0 ? splash.versionLabel() : splash.authorLabel();
    QCOMPARE(label->font().pixelSize(), pixelSize);
    QVERIFY(!label->text().isEmpty());
    QVERIFY(QFontMetrics(label->font()).horizontalAdvance(label->text()) <= label->width());
}

void TestWindowSizes::fileDialogs_data()
{
    QTest::addColumn<int>("which");
    QTest::addColumn<QString>("title");
    QTest::addColumn<QString>("filter");
    QTest::newRow("bookmark export") << 0 << QStringLiteral("Exportovat záložky do souboru")
                                     << QStringLiteral("Soubory záložek [*.mrk]");
    QTest::newRow("bookmark import") << 1 << QStringLiteral("Importovat záložky ze souboru")
                                     << QStringLiteral("Soubory záložek [*.mrk]");
    QTest::newRow("picture") << 2 << QStringLiteral("Vložit obrázek")
                             << QStringLiteral("Grafické soubory [*.bmp;*.wmf;*.emf;*.ico;*.jpg]");
}

// The file type captions stand as written, and Qt's own texts of the dialog are Czech.
void TestWindowSizes::fileDialogs()
{
    QFETCH(int, which);
    QFETCH(QString, title);
    QFETCH(QString, filter);
    static const QStringList installed = InstallQtTranslations(qApp);
    QVERIFY(installed.contains(QStringLiteral("qtbase")));
    QString shownTitle, shownFilter;
    bool typesWhole = false;
    QTimer::singleShot(0, this, [&] {
        auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
        QVERIFY(dialog);
        shownTitle = dialog->windowTitle();
        if (auto* types = dialog->findChild<QComboBox*>(QStringLiteral("fileTypeCombo"))) {
            shownFilter = types->currentText();
            typesWhole = types->width() >= types->fontMetrics().horizontalAdvance(shownFilter)
                    + types->style()->pixelMetric(QStyle::PM_ComboBoxFrameWidth) * 2 + 20;
        }
        dialog->reject();
    });
    const BookmarkDialogs marks = BookmarkDialogs::standard();
    const NotesDialogs notes = NotesDialogs::standard();
    const QString chosen = which == 0 ? marks.saveFile(nullptr) : which == 1 ? marks.openFile(nullptr)
                                                                             : notes.picture(nullptr);
    QVERIFY(chosen.isEmpty());
    QCOMPARE(shownTitle, title);
    QCOMPARE(shownFilter, filter);
    QVERIFY(typesWhole);
    QCOMPARE(QCoreApplication::translate("QAbstractFileIconProvider", "Folder"), QStringLiteral("Složka"));
    QCOMPARE(QCoreApplication::translate("QFileDialog", "Look in:"), QStringLiteral("Hledat v:"));
}

QTEST_MAIN(TestWindowSizes)
#include "tst_windowsizes.moc"
