#include "FileLayout.h"
#include "FindDialog.h"
#include "NotesFile.h"
#include "RecordingMessages.h"
#include "TestFiles.h"
#include "TextFile.h"
#include "notes/NotesPage.h"
#include "notes/RichEdit.h"
#include "widgets/StatusBar.h"

#include <QAction>
#include <QApplication>
#include <QBuffer>
#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QDir>
#include <QImage>
#include <QLineEdit>
#include <QLoggingCategory>
#include <QMainWindow>
#include <QMenuBar>
#include <QMenu>
#include <QMessageBox>
#include <QMimeData>
#include <QPainter>
#include <QScopeGuard>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBlock>
#include <QTimer>

using namespace tavio;

Q_DECLARE_METATYPE(QList<tavio::MsgResult>)
Q_DECLARE_METATYPE(QList<tavio::ReplaceAnswer>)

namespace {

QString shippedTemplate()
{
    return QString::fromUtf8(TAVIO_SOURCE_DIR) + QStringLiteral("/data/Default.rtn");
}

NotesRun run(int style, const QString& text)
{
    NotesRun r;
    r.StyleNo = style;
    r.Text = text;
    return r;
}

// The template that ships beside the program. Regenerate data/Default.rtn with
// TAVIO_WRITE_DEFAULT_RTN=1 after changing it.
NotesContent defaultTemplate()
{
    NotesContent c;
    TextStyle heading = c.TextStyles.at(0);
    heading.Size = 16;
    heading.Bold = true;
    heading.Color = 0x000080;
    heading.Standard = false;
    TextStyle section = c.TextStyles.at(0);
    section.Bold = true;
    section.Standard = false;
    c.TextStyles << heading << section;
    ParaStyle centred = c.ParaStyles.at(0);
    centred.Alignment = ParaAlignment::Center;
    centred.Standard = false;
    ParaStyle indented = c.ParaStyles.at(0);
    indented.LeftIndent = 20;
    indented.Standard = false;
    c.ParaStyles << centred << indented;
    auto para = [&c](int paraStyle, QList<NotesRun> runs) { c.Paragraphs.append(NotesParagraph{paraStyle, runs}); };
    para(1, {run(1, QStringLiteral("Moje poznámky ke kapitole"))});
    para(0, {});
    para(0, {run(2, QStringLiteral("Co jsem se naučil:"))});
    para(2, {run(0, QStringLiteral("– "))});
    para(0, {});
    para(0, {run(2, QStringLiteral("Otázky:"))});
    para(2, {run(0, QStringLiteral("– "))});
    para(0, {});
    para(0, {run(2, QStringLiteral("Úkoly na procvičení:"))});
    para(2, {run(0, QStringLiteral("– "))});
    return c;
}

// A program folder (with the shipped template unless told otherwise) and a data folder.
struct World
{
    explicit World(bool withTemplate = true)
    {
        program = dir.filePath(QStringLiteral("program")) + QLatin1Char('/');
        appData = dir.filePath(QStringLiteral("appdata")) + QLatin1Char('/');
        QDir().mkpath(program);
        if (withTemplate)
            testfiles::write(program + QStringLiteral("Default.rtn"), testfiles::read(shippedTemplate()));
    }
    FileLayout layout() const { return FileLayout(program, appData); }
    QString notes() const { return layout().notesFolder(); }
    QString chapter(const QString& name) const { return program + QStringLiteral("Htm/") + name; }

    QTemporaryDir dir;
    QString program, appData;
};

QString writePicture(const QString& folder, const QString& name, const char* format, const QColor& color)
{
    QImage image(32, 24, QImage::Format_RGB32);
    image.fill(color);
    QPainter(&image).fillRect(4, 4, 8, 8, Qt::black);
    const QString path = folder + name;
    if (!image.save(path, format))
        qFatal("cannot write %s", qPrintable(path));
    return path;
}

void setText(RichEdit* re, const QString& text)
{
    NotesContent c;
    const QStringList paragraphs = text.split(QLatin1Char('\n'));
    for (const QString& p : paragraphs)
        c.Paragraphs.append(NotesParagraph{0, {run(0, p)}});
    re->setContent(c);
}

void select(RichEdit* re, int from, int to)
{
    QTextCursor c(re->document());
    c.setPosition(from);
    c.setPosition(to, QTextCursor::KeepAnchor);
    re->setTextCursor(c);
}

// Typed as keys, one character each (the test library's own typing knows Latin-1 only).
void type(QWidget* w, const QString& text)
{
    for (QChar ch : text) {
        QKeyEvent press(QEvent::KeyPress, 0, Qt::NoModifier, QString(ch));
        QApplication::sendEvent(w, &press);
        QKeyEvent release(QEvent::KeyRelease, 0, Qt::NoModifier, QString(ch));
        QApplication::sendEvent(w, &release);
    }
}

void typeAtEnd(RichEdit* re, const QString& text)
{
    QTextCursor c = re->textCursor();
    c.movePosition(QTextCursor::End);
    re->setTextCursor(c);
    type(re, text);
}

QCheckBox* findOption(FindDialog& dialog, const QString& caption)
{
    for (QCheckBox* box : dialog.findChildren<QCheckBox*>()) {
        if (box->text() == caption)
            return box;
    }
    qFatal("no option %s", qPrintable(caption));
}

} // namespace

class TestNotes final : public QObject
{
    Q_OBJECT
private slots:
    void shippedTemplate();
    void pageAtStart();
    void boldTwiceAppendsNoStyle();
    void indentButtons_data();
    void indentButtons();
    void sizeBox_data();
    void sizeBox();
    void toolbarFollowsTheCaret();
    void backgroundQuestions_data();
    void backgroundQuestions();
    void enterOnAQuestion_data();
    void enterOnAQuestion();
    void editorRoundTrip();
    void pictureFiles_data();
    void pictureFiles();
    void damagedFilesInTheEditor();
    void templateRule();
    void leaveQuestion_data();
    void leaveQuestion();
    void closeQuestion_data();
    void closeQuestion();
    void failedSave_data();
    void failedSave();
    void findInNotes();
    void clipboard();
    void rightClickDropsTheSelection();
    void editorKeysWinOverMenuShortcuts();
    void exportNotes_data();
    void exportNotes();
    void importNotes();
};

void TestNotes::shippedTemplate()
{
    const QByteArray generated = WriteNotes(defaultTemplate());
    if (qEnvironmentVariableIsSet("TAVIO_WRITE_DEFAULT_RTN")) {
        QVERIFY(WriteFileBytes(::shippedTemplate(), generated));
        qInfo("wrote %s", qPrintable(::shippedTemplate()));
    }
    QCOMPARE(testfiles::read(::shippedTemplate()), generated);
    // It also reaches the program folder of the build.
    QCOMPARE(testfiles::read(QStringLiteral(TAVIO_PROGRAM_DIR "/Default.rtn")), generated);
}

void TestNotes::pageAtStart()
{
    World world;
    NotesPage page(world.layout(), nullptr);
    QVERIFY(page.CurrentNotesFile().isEmpty());
    QVERIFY(page.reNotes()->document()->isEmpty());
    QVERIFY(!page.button(QStringLiteral("btnSaveNotes"))->isEnabled());
    QVERIFY(page.button(QStringLiteral("btnLeft"))->isChecked());
    QCOMPARE(page.reNotes()->textStyles(), DefaultTextStyles());
    QCOMPARE(page.reNotes()->textStyles().at(0).Name, QStringLiteral("Normal text"));
    QCOMPARE(page.reNotes()->paraStyles().at(0).Name, QStringLiteral("Left"));
    QCOMPARE(page.cmbFontSize()->count(), 16);
    QCOMPARE(page.button(QStringLiteral("btnIdentInc"))->toolTip(), QStringLiteral("Zvětšit odsazení"));
    QCOMPARE(page.button(QStringLiteral("btnJustify"))->property("helpContext").toInt(), 132);
    QCOMPARE(page.property("helpContext").toInt(), 116);
    // Saving before any chapter was opened writes nothing.
    QVERIFY(page.btnSaveNotesClick());
    QVERIFY(!QDir(world.notes()).exists());

    page.FillFontList();
    QVERIFY(page.cmbFont()->count() > 0);
    QVERIFY(!page.cmbFont()->itemText(0).contains(QLatin1Char('[')));
}

void TestNotes::boldTwiceAppendsNoStyle()
{
    World world;
    NotesPage page(world.layout(), nullptr);
    RichEdit* re = page.reNotes();
    setText(re, QStringLiteral("jedna dva tři"));
    select(re, 6, 9);
    page.button(QStringLiteral("btnBold"))->trigger();
    QCOMPARE(re->textStyles().size(), 2);
    QVERIFY(re->textStyles().at(1).Bold);
    QVERIFY(!re->textStyles().at(1).Standard);
    QCOMPARE(re->currentTextStyleNo(), 1);
    QVERIFY(page.button(QStringLiteral("btnBold"))->isChecked());
    QVERIFY(re->isModified());
    QVERIFY(page.button(QStringLiteral("btnSaveNotes"))->isEnabled());

    page.button(QStringLiteral("btnBold"))->trigger();
    QCOMPARE(re->textStyles().size(), 2);
    QCOMPARE(re->currentTextStyleNo(), 0);
    // Undo goes back to bold in one step.
    re->undo();
    select(re, 6, 9);
    QCOMPARE(re->currentTextStyleNo(), 1);

    // Without a selection only what is typed next changes.
    setText(re, QStringLiteral("abc"));
    typeAtEnd(re, QString());
    page.button(QStringLiteral("btnItalic"))->trigger();
    QVERIFY(!re->isModified());
    type(re, QStringLiteral("de"));
    const NotesContent c = re->content();
    QCOMPARE(c.Paragraphs.at(0).Runs.size(), 2);
    QVERIFY(c.TextStyles.at(c.Paragraphs.at(0).Runs.at(1).StyleNo).Italic);
}

void TestNotes::indentButtons_data()
{
    QTest::addColumn<int>("indent");
    QTest::addColumn<QString>("button");
    QTest::addColumn<QList<int>>("steps");
    QTest::newRow("190 up twice") << 190 << QStringLiteral("btnIdentInc") << QList<int>{200, 200};
    QTest::newRow("10 down") << 10 << QStringLiteral("btnIdentDec") << QList<int>{0, 0};
    QTest::newRow("0 up") << 0 << QStringLiteral("btnIdentInc") << QList<int>{20, 40};
}

void TestNotes::indentButtons()
{
    QFETCH(int, indent);
    QFETCH(QString, button);
    QFETCH(QList<int>, steps);
    World world;
    NotesPage page(world.layout(), nullptr);
    RichEdit* re = page.reNotes();
    NotesContent c;
    c.ParaStyles[0].LeftIndent = indent;
    c.Paragraphs = {NotesParagraph{0, {run(0, QStringLiteral("první"))}}, NotesParagraph{0, {run(0, QStringLiteral("druhý"))}},
                    NotesParagraph{0, {run(0, QStringLiteral("třetí"))}}};
    re->setContent(c);
    // The first two paragraphs: one touched by the selection's start, one by its end.
    select(re, 2, 8);
    for (int expected : steps) {
        page.button(button)->trigger();
        QCOMPARE(re->currentParaStyle().LeftIndent, expected);
        QCOMPARE(re->document()->firstBlock().blockFormat().leftMargin(), qreal(expected));
    }
    const NotesContent after = re->content();
    QCOMPARE(after.Paragraphs.at(0).ParaStyleNo, after.Paragraphs.at(1).ParaStyleNo);
    QCOMPARE(after.ParaStyles.at(after.Paragraphs.at(2).ParaStyleNo).LeftIndent, indent);
}

void TestNotes::sizeBox_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<int>("size");
    QTest::newRow("abc") << QStringLiteral("abc") << 10;
    QTest::newRow("14") << QStringLiteral("14") << 14;
    QTest::newRow("no upper bound") << QStringLiteral("300") << 300;
    QTest::newRow("empty changes nothing") << QString() << 12;
}

void TestNotes::sizeBox()
{
    QFETCH(QString, typed);
    QFETCH(int, size);
    World world;
    NotesPage page(world.layout(), nullptr);
    RichEdit* re = page.reNotes();
    setText(re, QStringLiteral("velikost"));
    select(re, 0, 8);
    page.cmbFontSize()->setEditText(typed);
    QTest::keyClick(page.cmbFontSize()->lineEdit(), Qt::Key_Return);
    QCOMPARE(re->currentTextStyle().Size, size);
    // Enter is the box's own: no item is added.
    QCOMPARE(page.cmbFontSize()->count(), 16);
    if (!typed.isEmpty())
        QCOMPARE(page.cmbFontSize()->currentText(), QString::number(size));
    // The drawn size stays within what a screen font can be.
    QVERIFY(re->document()->firstBlock().begin().fragment().charFormat().fontPointSize() <= 1000);
}

void TestNotes::toolbarFollowsTheCaret()
{
    World world;
    NotesPage page(world.layout(), nullptr);
    page.FillFontList();
    const QString installed = page.cmbFont()->itemText(page.cmbFont()->count() - 1);
    RichEdit* re = page.reNotes();
    NotesContent c;
    TextStyle a = c.TextStyles.at(0);
    a.FontName = installed.toUpper();
    a.Size = 14;
    a.Bold = true;
    TextStyle b = c.TextStyles.at(0);
    b.FontName = QStringLiteral("Písmo, které tu není");
    b.Size = 20;
    b.Italic = b.Underline = true;
    c.TextStyles << a << b;
    ParaStyle right = c.ParaStyles.at(0);
    right.Alignment = ParaAlignment::Right;
    c.ParaStyles << right;
    c.Paragraphs = {NotesParagraph{1, {run(1, QStringLiteral("aaa")), run(2, QStringLiteral("bbb"))}}};
    re->setContent(c);

    select(re, 2, 2);
    QCOMPARE(page.cmbFont()->currentText(), installed); // found without regard to case
    QCOMPARE(page.cmbFontSize()->currentText(), QStringLiteral("14"));
    QVERIFY(page.button(QStringLiteral("btnBold"))->isChecked());
    QVERIFY(!page.button(QStringLiteral("btnItalic"))->isChecked());
    QVERIFY(page.button(QStringLiteral("btnRight"))->isChecked());

    select(re, 5, 5);
    QCOMPARE(page.cmbFont()->currentIndex(), -1);
    QCOMPARE(page.cmbFontSize()->currentText(), QStringLiteral("20"));
    QVERIFY(!page.button(QStringLiteral("btnBold"))->isChecked());
    QVERIFY(page.button(QStringLiteral("btnItalic"))->isChecked());
    QVERIFY(page.button(QStringLiteral("btnUnderline"))->isChecked());
    QVERIFY(!page.toolbarUpdating());
    // Setting the boxes did not write anything back.
    QVERIFY(!re->isModified());
    QCOMPARE(re->textStyles().size(), 3);

    // Choosing a font in the box converts the selection.
    select(re, 0, 6);
    page.cmbFont()->setCurrentIndex(0);
    emit page.cmbFont()->activated(0);
    QCOMPARE(re->currentTextStyle().FontName, page.cmbFont()->itemText(0));
    QVERIFY(re->isModified());
}

void TestNotes::backgroundQuestions_data()
{
    QTest::addColumn<bool>("paragraph");
    QTest::addColumn<MsgResult>("answer");
    QTest::addColumn<bool>("dialogOk");
    QTest::addColumn<quint32>("expected");
    QTest::addColumn<int>("dialogs");
    for (bool paragraph : {false, true}) {
        const char* kind = paragraph ? "paragraph" : "text";
        QTest::addRow("%s: yes is transparent", kind) << paragraph << MsgResult::Yes << true << TransparentColor << 0;
        QTest::addRow("%s: no picks a colour", kind) << paragraph << MsgResult::No << true << quint32(0x00FF00) << 1;
        QTest::addRow("%s: no, dialog cancelled", kind) << paragraph << MsgResult::No << false << quint32(0xABCDEF) << 1;
        QTest::addRow("%s: cancel", kind) << paragraph << MsgResult::Cancel << true << quint32(0xABCDEF) << 0;
    }
}

void TestNotes::backgroundQuestions()
{
    QFETCH(bool, paragraph);
    QFETCH(MsgResult, answer);
    QFETCH(bool, dialogOk);
    QFETCH(quint32, expected);
    QFETCH(int, dialogs);
    World world;
    RecordingMessages messages;
    NotesPage page(world.layout(), nullptr);
    RichEdit* re = page.reNotes();
    NotesContent c;
    c.TextStyles[0].BackColor = 0xABCDEF;
    c.ParaStyles[0].Background = 0xABCDEF;
    c.Paragraphs = {NotesParagraph{0, {run(0, QStringLiteral("pozadí"))}}};
    re->setContent(c);
    select(re, 0, 6);
    QList<QColor> presets;
    page.dialogs().color = [&](QWidget*, const QColor& initial) -> std::optional<QColor> {
        presets.append(initial);
        return dialogOk ? std::optional<QColor>(QColor(0, 255, 0)) : std::nullopt;
    };
    messages.answers = {answer};
    page.button(paragraph ? QStringLiteral("btnParagraphBackColor") : QStringLiteral("btnFontBackColor"))->trigger();

    QCOMPARE(messages.shown.size(), 1);
    const QString question = paragraph ? QStringLiteral("Vytvořit pro tento odstavec transparentní pozadí?")
                                       : QStringLiteral("Vytvořit pro text transparentní pozadí?");
    QCOMPARE(messages.shown.at(0).text, question + QStringLiteral("\r\n\r\nANO - vytvořit transparentní\r\nNE - vybrat barvu"));
    QCOMPARE(messages.shown.at(0).buttons, MsgButtons::YesNoCancelDefaultNo);
    QCOMPARE(messages.shown.at(0).icon, MsgIcon::Question);
    QCOMPARE(presets.size(), dialogs);
    if (dialogs)
        QCOMPARE(presets.at(0), QColor(0xAB, 0xCD, 0xEF));
    QCOMPARE(paragraph ? re->currentParaStyle().Background : re->currentTextStyle().BackColor, expected);
}

void TestNotes::enterOnAQuestion_data()
{
    QTest::addColumn<MsgButtons>("buttons");
    QTest::addColumn<MsgResult>("answer");
    QTest::newRow("yes/no") << MsgButtons::YesNo << MsgResult::Yes;
    QTest::newRow("yes/no/cancel") << MsgButtons::YesNoCancel << MsgResult::Yes;
    QTest::newRow("yes/no, no by default") << MsgButtons::YesNoDefaultNo << MsgResult::No;
    QTest::newRow("yes/no/cancel, no by default") << MsgButtons::YesNoCancelDefaultNo << MsgResult::No;
}

// The real message box: Enter answers with its default button.
void TestNotes::enterOnAQuestion()
{
    QFETCH(MsgButtons, buttons);
    QFETCH(MsgResult, answer);
    QMainWindow owner;
    owner.show();
    QStringList shownButtons;
    QTimer::singleShot(0, &owner, [&] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        QVERIFY(box);
        for (QAbstractButton* b : box->buttons())
            shownButtons.append(b->text());
        QTest::keyClick(box, Qt::Key_Return);
    });
    QCOMPARE(ShowMessage(&owner, QStringLiteral("Otázka?"), MsgIcon::Question, buttons), answer);
    const bool withCancel = buttons == MsgButtons::YesNoCancel || buttons == MsgButtons::YesNoCancelDefaultNo;
    QCOMPARE(shownButtons.size(), withCancel ? 3 : 2);
}

void TestNotes::editorRoundTrip()
{
    World world;
    QTemporaryDir pictures;
    const QString folder = pictures.path() + QLatin1Char('/');
    const QStringList files = {writePicture(folder, QStringLiteral("a.bmp"), "BMP", Qt::red),
                               writePicture(folder, QStringLiteral("b.ico"), "ICO", Qt::green),
                               writePicture(folder, QStringLiteral("c.jpg"), "JPEG", Qt::blue)};
    RecordingMessages messages;
    NotesPage page(world.layout(), nullptr);
    RichEdit* re = page.reNotes();
    page.OpenChapterNotes(world.chapter(QStringLiteral("0001.htm")));
    QCOMPARE(page.CurrentNotesFile(), world.notes() + QStringLiteral("0001.rtn"));
    re->clearDocument();

    type(re, QStringLiteral("Nadpis"));
    select(re, 0, 6);
    page.button(QStringLiteral("btnBold"))->trigger();
    QList<QColor> colors = {QColor(255, 0, 0), QColor(255, 255, 0), QColor(0, 255, 255)};
    page.dialogs().color = [&](QWidget*, const QColor&) -> std::optional<QColor> { return colors.takeFirst(); };
    page.button(QStringLiteral("btnFontColor"))->trigger();
    messages.answers = {MsgResult::No, MsgResult::No};
    page.button(QStringLiteral("btnFontBackColor"))->trigger();
    page.button(QStringLiteral("btnCenter"))->trigger();
    page.button(QStringLiteral("btnIdentInc"))->trigger();
    page.button(QStringLiteral("btnIdentInc"))->trigger();
    page.button(QStringLiteral("btnParagraphBackColor"))->trigger();
    TextStyle fontChoice;
    fontChoice.FontName = QStringLiteral("DejaVu Serif");
    fontChoice.Size = 20;
    fontChoice.Italic = true;
    fontChoice.Color = 0x800000;
    page.dialogs().font = [&](QWidget*, const TextStyle&) -> std::optional<TextStyle> { return fontChoice; };

    typeAtEnd(re, QString());
    QTest::keyClick(re, Qt::Key_Return);
    page.button(QStringLiteral("btnJustify"))->trigger();
    page.button(QStringLiteral("btnFont"))->trigger();
    type(re, QStringLiteral("Druhý řádek ✓ 日本 €"));
    QStringList chosen = files;
    page.dialogs().picture = [&](QWidget*) { return chosen.takeFirst(); };
    for (int i = 0; i < 3; ++i)
        page.button(QStringLiteral("btnInsertImage"))->trigger();
    QCOMPARE(messages.shown.size(), 2); // the two background questions
    QVERIFY(page.btnSaveNotesClick());
    QVERIFY(!re->isModified());
    QVERIFY(!page.button(QStringLiteral("btnSaveNotes"))->isEnabled());

    NotesPage other(world.layout(), nullptr);
    other.OpenChapterNotes(world.chapter(QStringLiteral("0001.htm")));
    const NotesContent saved = re->content();
    const NotesContent loaded = other.reNotes()->content();
    QCOMPARE(WriteNotes(loaded), WriteNotes(saved));
    QCOMPARE(other.reNotes()->toPlainText(),
             QStringLiteral("Nadpis\nDruhý řádek ✓ 日本 €") + QString(3, QChar::ObjectReplacementCharacter));

    const TextStyle& heading = loaded.TextStyles.at(loaded.Paragraphs.at(0).Runs.at(0).StyleNo);
    QVERIFY(heading.Bold);
    QCOMPARE(heading.Color, quint32(0xFF0000));
    QCOMPARE(heading.BackColor, quint32(0xFFFF00));
    const ParaStyle& first = loaded.ParaStyles.at(loaded.Paragraphs.at(0).ParaStyleNo);
    QCOMPARE(first.Alignment, ParaAlignment::Center);
    QCOMPARE(first.LeftIndent, 40);
    QCOMPARE(first.Background, quint32(0x00FFFF));
    const NotesParagraph& second = loaded.Paragraphs.at(1);
    QCOMPARE(loaded.ParaStyles.at(second.ParaStyleNo).Alignment, ParaAlignment::Justify);
    const TextStyle& body = loaded.TextStyles.at(second.Runs.at(0).StyleNo);
    QCOMPARE(body.FontName, QStringLiteral("DejaVu Serif"));
    QCOMPARE(body.Size, 20);
    QVERIFY(body.Italic && !body.Bold);
    QCOMPARE(body.Color, quint32(0x800000));
    // The pictures keep the bytes of their files and their kind.
    QCOMPARE(loaded.Pictures.size(), 3);
    const QByteArrayList formats = {"bmp", "ico", "jpeg"};
    for (int i = 0; i < 3; ++i) {
        QCOMPARE(loaded.Pictures.at(i).Data, testfiles::read(files.at(i)));
        QCOMPARE(loaded.Pictures.at(i).Format, formats.at(i));
    }
    QCOMPARE(second.Runs.last().Width, 32);
    QCOMPARE(second.Runs.last().Height, 24);
    // The toolbar shows the first paragraph's style after loading.
    QVERIFY(other.button(QStringLiteral("btnCenter"))->isChecked());
    QVERIFY(other.button(QStringLiteral("btnBold"))->isChecked());
}

void TestNotes::pictureFiles_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<bool>("inserted");
    auto encoded = [](const char* format) {
        QImage image(16, 16, QImage::Format_RGB32);
        image.fill(Qt::darkCyan);
        QByteArray out;
        QBuffer buffer(&out);
        buffer.open(QIODevice::WriteOnly);
        image.save(&buffer, format);
        return out;
    };
    QByteArray wmf("\xD7\xCD\xC6\x9A\x00\x00\x00\x00\x00\x00\xE8\x03\xE8\x03\xE8\x03\x00\x00\x00\x00\x02\x9E", 22);
    wmf += QByteArray(200, '\x01');
    QByteArray emf(88, '\0');
    emf[0] = 1;
    emf[40] = ' ';
    emf.replace(41, 3, "EMF");
    emf += QByteArray(200, '\x02');
    QTest::newRow("bmp") << QStringLiteral("a.bmp") << encoded("BMP") << true;
    QTest::newRow("ico") << QStringLiteral("a.ico") << encoded("ICO") << true;
    QTest::newRow("jpeg") << QStringLiteral("a.jpg") << encoded("JPEG") << true;
    QTest::newRow("png through *.*") << QStringLiteral("a.png") << encoded("PNG") << true;
    QTest::newRow("wmf") << QStringLiteral("a.wmf") << wmf << false;
    QTest::newRow("emf") << QStringLiteral("a.emf") << emf << false;
    QTest::newRow("text named jpg") << QStringLiteral("b.jpg") << QByteArray("P1\n2 2\n0 1 1 0\n") << false;
    QTest::newRow("cut jpeg") << QStringLiteral("c.jpg") << encoded("JPEG").left(100) << false;
    QTest::newRow("missing file") << QStringLiteral("none.bmp") << QByteArray() << false;
}

void TestNotes::pictureFiles()
{
    QFETCH(QString, name);
    QFETCH(QByteArray, bytes);
    QFETCH(bool, inserted);
    World world;
    const QString path = world.dir.filePath(name);
    if (!bytes.isEmpty())
        testfiles::write(path, bytes);
    RecordingMessages messages;
    NotesPage page(world.layout(), nullptr);
    setText(page.reNotes(), QStringLiteral("ab"));
    select(page.reNotes(), 1, 1);
    page.dialogs().picture = [&](QWidget*) { return path; };
    page.button(QStringLiteral("btnInsertImage"))->trigger();
    const NotesContent c = page.reNotes()->content();
    if (inserted) {
        QVERIFY(messages.shown.isEmpty());
        QCOMPARE(c.Pictures.size(), 1);
        QCOMPARE(c.Pictures.at(0).Data, bytes);
        QCOMPARE(c.Paragraphs.at(0).Runs.at(1).kind, NotesRun::Kind::Picture);
        QVERIFY(page.reNotes()->isModified());
        // A reload shows it again from the same bytes.
        page.reNotes()->setContent(c);
        QCOMPARE(WriteNotes(page.reNotes()->content()), WriteNotes(c));
    } else {
        QCOMPARE(messages.texts(), QStringList{QStringLiteral("Nelze importovat obrázek ") + QDir::toNativeSeparators(path)});
        QCOMPARE(messages.shown.at(0).icon, MsgIcon::Error);
        QVERIFY(c.Pictures.isEmpty());
        QCOMPARE(page.reNotes()->toPlainText(), QStringLiteral("ab"));
        QVERIFY(!page.reNotes()->isModified());
    }
}

void TestNotes::damagedFilesInTheEditor()
{
    // Damage is expected here; its warnings would drown the test's own output.
    QLoggingCategory::setFilterRules(QStringLiteral("tavio.notes*.warning=false\nqt.gui.imageio*=false"));
    const auto restoreRules = qScopeGuard([] { QLoggingCategory::setFilterRules(QString()); });
    World world;
    QTemporaryDir pictures;
    NotesPage page(world.layout(), nullptr);
    page.resize(700, 500);
    page.show();
    RichEdit* re = page.reNotes();
    page.OpenChapterNotes(world.chapter(QStringLiteral("0007.htm")));
    typeAtEnd(re, QStringLiteral("Text před obrázky "));
    QStringList files = {writePicture(pictures.path() + QLatin1Char('/'), QStringLiteral("p.jpg"), "JPEG", Qt::magenta),
                         writePicture(pictures.path() + QLatin1Char('/'), QStringLiteral("p.bmp"), "BMP", Qt::gray)};
    page.dialogs().picture = [&](QWidget*) { return files.takeFirst(); };
    page.button(QStringLiteral("btnInsertImage"))->trigger();
    page.button(QStringLiteral("btnInsertImage"))->trigger();
    QVERIFY(page.btnSaveNotesClick());
    const QByteArray good = testfiles::read(page.CurrentNotesFile());
    QVERIFY(good.size() > 2000);

    auto loadAndDraw = [&](const QByteArray& bytes) {
        testfiles::write(page.CurrentNotesFile(), bytes);
        page.LoadNotes(page.CurrentNotesFile());
        QVERIFY(!re->isModified());
        QVERIFY(re->currentTextStyleNo() < re->textStyles().size());
        page.grab(); // draws, and so decodes, every picture
        ReadNotes(WriteNotes(re->content()));
    };
    for (qsizetype n = 0; n < good.size(); n += 97)
        loadAndDraw(good.left(n));
    for (qsizetype i = 0; i < good.size(); i += 7) {
        QByteArray bad = good;
        bad[i] = char(bad[i] ^ 0x5A);
        loadAndDraw(bad);
    }
    // A foreign file shows an empty document.
    loadAndDraw("{\\rtf1 nic}");
    QVERIFY(re->document()->isEmpty());
    QVERIFY(!re->isReadOnly());

    // Notes of a later version show read-only with the reason and are never written over.
    QByteArray newer = good;
    newer[8] = 2;
    loadAndDraw(newer);
    QVERIFY(re->isReadOnly());
    QCOMPARE(re->placeholderText(), NewerNotesText());
    QVERIFY(page.btnSaveNotesClick());
    FileError error;
    QVERIFY(!SaveNotesFile(page.CurrentNotesFile(), NotesContent(), &error));
    QCOMPARE(error.message, NewerNotesText());
    QCOMPARE(testfiles::read(page.CurrentNotesFile()), newer);
    loadAndDraw(good);
    QVERIFY(!re->isReadOnly());
}

void TestNotes::templateRule()
{
    World world;
    const QByteArray templateBytes = testfiles::read(world.program + QStringLiteral("Default.rtn"));
    NotesPage page(world.layout(), nullptr);
    RichEdit* re = page.reNotes();
    page.OpenChapterNotes(world.chapter(QStringLiteral("0003.htm")));
    QVERIFY(QDir(world.notes()).exists());
    QVERIFY(!QFile::exists(page.CurrentNotesFile()));
    QVERIFY(re->toPlainText().startsWith(QStringLiteral("Moje poznámky ke kapitole")));
    QVERIFY(!re->isModified());
    QVERIFY(page.button(QStringLiteral("btnCenter"))->isChecked());

    typeAtEnd(re, QStringLiteral("cykly"));
    QVERIFY(page.btnSaveNotesClick());
    QVERIFY(QFile::exists(world.notes() + QStringLiteral("0003.rtn")));
    QCOMPARE(testfiles::read(world.program + QStringLiteral("Default.rtn")), templateBytes);

    // The same file name in another folder shares the notes.
    page.OpenChapterNotes(QStringLiteral("/elsewhere/0003.htm"));
    QVERIFY(re->toPlainText().endsWith(QStringLiteral("cykly")));
    // Another chapter starts from the template again.
    page.OpenChapterNotes(world.chapter(QStringLiteral("0004-01.htm")));
    QVERIFY(!re->toPlainText().endsWith(QStringLiteral("cykly")));

    World bare(false);
    NotesPage empty(bare.layout(), nullptr);
    empty.OpenChapterNotes(bare.chapter(QStringLiteral("0003.htm")));
    QVERIFY(empty.reNotes()->document()->isEmpty());
    QVERIFY(!empty.reNotes()->isModified());
    // Notes that begin with an empty line are unchanged after loading, too.
    setText(empty.reNotes(), QStringLiteral("\ndruhý řádek"));
    QVERIFY(!empty.reNotes()->isModified());
    QVERIFY(empty.FormCloseQuery());
}

void TestNotes::leaveQuestion_data()
{
    QTest::addColumn<bool>("change");
    QTest::addColumn<bool>("aboutOpen");
    QTest::addColumn<MsgResult>("answer");
    QTest::addColumn<int>("questions");
    QTest::addColumn<QString>("fileText");
    QTest::addColumn<QString>("editorText");
    QTest::addColumn<bool>("modified");
    QTest::newRow("yes saves and reloads") << true << false << MsgResult::Yes << 1 << QStringLiteral("původní změna")
                                           << QStringLiteral("původní změna") << false;
    QTest::newRow("no drops the changes") << true << false << MsgResult::No << 1 << QStringLiteral("původní")
                                          << QStringLiteral("původní") << false;
    QTest::newRow("about box open") << true << true << MsgResult::Yes << 0 << QStringLiteral("původní")
                                    << QStringLiteral("původní změna") << true;
    QTest::newRow("unchanged") << false << false << MsgResult::Yes << 0 << QStringLiteral("původní")
                               << QStringLiteral("původní") << false;
}

void TestNotes::leaveQuestion()
{
    QFETCH(bool, change);
    QFETCH(bool, aboutOpen);
    QFETCH(MsgResult, answer);
    QFETCH(int, questions);
    QFETCH(QString, fileText);
    QFETCH(QString, editorText);
    QFETCH(bool, modified);
    World world;
    RecordingMessages messages;
    NotesPage page(world.layout(), nullptr);
    bool aboutFlag = aboutOpen;
    page.aboutWindowFlag = &aboutFlag;
    page.OpenChapterNotes(world.chapter(QStringLiteral("0001.htm")));
    setText(page.reNotes(), QStringLiteral("původní"));
    QVERIFY(page.btnSaveNotesClick());
    if (change)
        typeAtEnd(page.reNotes(), QStringLiteral(" změna"));
    messages.answers = {answer};
    QVERIFY(page.tbshNotesHide());
    QCOMPARE(messages.shown.size(), questions);
    if (questions) {
        QCOMPARE(messages.shown.at(0).text, NotesPage::SaveQuestion);
        QCOMPARE(messages.shown.at(0).buttons, MsgButtons::YesNo);
    }
    QVERIFY(!aboutFlag);
    QCOMPARE(page.reNotes()->toPlainText(), editorText);
    QCOMPARE(page.reNotes()->isModified(), modified);
    QCOMPARE(page.button(QStringLiteral("btnSaveNotes"))->isEnabled(), modified);
    NotesPage reader(world.layout(), nullptr);
    reader.OpenChapterNotes(world.chapter(QStringLiteral("0001.htm")));
    QCOMPARE(reader.reNotes()->toPlainText(), fileText);
}

void TestNotes::closeQuestion_data()
{
    QTest::addColumn<MsgResult>("answer");
    QTest::addColumn<bool>("closes");
    QTest::addColumn<bool>("saved");
    QTest::newRow("yes") << MsgResult::Yes << true << true;
    QTest::newRow("no") << MsgResult::No << true << false;
    QTest::newRow("cancel") << MsgResult::Cancel << false << false;
}

void TestNotes::closeQuestion()
{
    QFETCH(MsgResult, answer);
    QFETCH(bool, closes);
    QFETCH(bool, saved);
    World world;
    RecordingMessages messages;
    NotesPage page(world.layout(), nullptr);
    page.OpenChapterNotes(world.chapter(QStringLiteral("0002-01.htm")));
    QVERIFY(page.FormCloseQuery()); // nothing changed: no question
    QVERIFY(messages.shown.isEmpty());
    typeAtEnd(page.reNotes(), QStringLiteral("nové"));
    messages.answers = {answer};
    QCOMPARE(page.FormCloseQuery(), closes);
    QCOMPARE(messages.shown.size(), 1);
    QCOMPARE(messages.shown.at(0).buttons, MsgButtons::YesNoCancel);
    QCOMPARE(QFile::exists(page.CurrentNotesFile()), saved);
    QCOMPARE(page.reNotes()->isModified(), !saved);
    QVERIFY(page.reNotes()->toPlainText().endsWith(QStringLiteral("nové")));
}

void TestNotes::failedSave_data()
{
    QTest::addColumn<bool>("readOnlyFile");
    QTest::newRow("read-only file") << true;
    QTest::newRow("folder cannot be made") << false;
}

void TestNotes::failedSave()
{
    QFETCH(bool, readOnlyFile);
    World world;
    if (!readOnlyFile) {
        // The data folder lies below a plain file: no notes folder can be made.
        world.appData = world.dir.filePath(QStringLiteral("blocker")) + QLatin1Char('/');
        testfiles::write(world.dir.filePath(QStringLiteral("blocker")), "file");
    }
    RecordingMessages messages;
    NotesPage page(world.layout(), nullptr);
    page.OpenChapterNotes(world.chapter(QStringLiteral("0005.htm")));
    const QString file = page.CurrentNotesFile();
    if (readOnlyFile) {
        QVERIFY(page.btnSaveNotesClick());
        QFile::setPermissions(file, QFileDevice::ReadOwner | QFileDevice::ReadGroup);
    }
    const QByteArray before = testfiles::read(file);
    typeAtEnd(page.reNotes(), QStringLiteral("neuložené"));

    QVERIFY(!page.btnSaveNotesClick());
    QCOMPARE(messages.shown.size(), 1);
    QVERIFY(messages.shown.at(0).text.startsWith(QStringLiteral("Poznámky se nepodařilo uložit do souboru ")
                                                 + QDir::toNativeSeparators(file)));
    QCOMPARE(messages.shown.at(0).icon, MsgIcon::Error);
    QVERIFY(page.reNotes()->isModified());
    QVERIFY(page.button(QStringLiteral("btnSaveNotes"))->isEnabled());
    QCOMPARE(testfiles::read(file), before);

    // Leaving with Yes keeps the unsaved text instead of reloading over it.
    messages.answers = {MsgResult::Yes};
    QVERIFY(!page.tbshNotesHide());
    QVERIFY(page.reNotes()->toPlainText().endsWith(QStringLiteral("neuložené")));
    // Closing with Yes stays open.
    messages.answers = {MsgResult::Yes};
    QVERIFY(!page.FormCloseQuery());
    QVERIFY(page.reNotes()->isModified());
}

void TestNotes::findInNotes()
{
    World world;
    RecordingMessages messages;
    NotesPage page(world.layout(), nullptr);
    FindDialog dialog;
    RichEdit* re = page.reNotes();
    setText(re, QStringLiteral("Alfa beta alfa\nAlfabet gama"));

    // F3 before any search opens the dialog.
    page.findNext(&dialog);
    QVERIFY(dialog.isVisible());
    dialog.hide();

    dialog.setFindText(QStringLiteral("alfa"));
    QVERIFY(page.searchNotes(&dialog));
    QCOMPARE(re->textCursor().selectionStart(), 0);
    QCOMPARE(page.statusBar()->text(1), QStringLiteral("alfa"));
    page.findNext(&dialog);
    QCOMPARE(re->textCursor().selectionStart(), 10);
    page.findNext(&dialog);
    QCOMPARE(re->textCursor().selectionStart(), 15); // inside "Alfabet"
    page.findNext(&dialog);
    QCOMPARE(messages.texts(), QStringList{QStringLiteral("Hledané slovo nebylo nalezeno")});
    QCOMPARE(messages.shown.at(0).icon, MsgIcon::Warning);

    findOption(dialog, QStringLiteral("&Pouze celá slova"))->setChecked(true);
    dialog.setUpward(true);
    page.findNext(&dialog);
    QCOMPARE(re->textCursor().selectionStart(), 10);
    findOption(dialog, QStringLiteral("&Rozlišovat velká a malá písmena"))->setChecked(true);
    dialog.setFindText(QStringLiteral("Alfa"));
    QVERIFY(page.searchNotes(&dialog));
    QCOMPARE(re->textCursor().selectionStart(), 0);
    messages.shown.clear();
    dialog.setFindText(QStringLiteral("omega"));
    QVERIFY(!page.searchNotes(&dialog));
    QCOMPARE(messages.shown.size(), 1);
    QCOMPARE(page.statusBar()->text(1), QStringLiteral("Alfa"));
}

void TestNotes::clipboard()
{
    World world;
    QTemporaryDir pictures;
    NotesPage source(world.layout(), nullptr);
    RichEdit* re = source.reNotes();
    setText(re, QStringLiteral("tučně a obrázek"));
    select(re, 0, 5);
    source.button(QStringLiteral("btnBold"))->trigger();
    select(re, 15, 15);
    const QString picture = writePicture(pictures.path() + QLatin1Char('/'), QStringLiteral("x.jpg"), "JPEG", Qt::yellow);
    source.dialogs().picture = [&](QWidget*) { return picture; };
    source.button(QStringLiteral("btnInsertImage"))->trigger();
    re->selectAll();
    re->copy();

    const QMimeData* mime = QGuiApplication::clipboard()->mimeData();
    QVERIFY(mime);
    QCOMPARE(mime->text(), QStringLiteral("tučně a obrázek"));
    QVERIFY(mime->html().contains(QStringLiteral("data:image/jpeg;base64,")));
    QVERIFY(mime->hasFormat(RichEdit::mimeType()));
    QVERIFY(mime->hasImage());

    // Into a document whose tables know no bold style: the style is added.
    NotesPage target(world.layout(), nullptr);
    setText(target.reNotes(), QStringLiteral("<>"));
    select(target.reNotes(), 1, 1);
    target.reNotes()->paste();
    const NotesContent c = target.reNotes()->content();
    QCOMPARE(target.reNotes()->toPlainText(), QStringLiteral("<tučně a obrázek") + QChar(QChar::ObjectReplacementCharacter)
                                                  + QStringLiteral(">"));
    QCOMPARE(c.TextStyles.size(), 2);
    QVERIFY(c.TextStyles.at(c.Paragraphs.at(0).Runs.at(1).StyleNo).Bold);
    QCOMPARE(c.Pictures.at(0).Data, testfiles::read(picture));
    QVERIFY(target.reNotes()->isModified());

    // HTML of another program: its formatting becomes styles; its links to files are not followed.
    auto* html = new QMimeData;
    const QString dot = QStringLiteral("data:image/png;base64,iVBORw0KGgoAAAANSUhEUgAAAAEAAAABCAYAAAAfFcSJAAAADUlEQVR42mNk+"
                                       "M9QDwADhgGAWjR9awAAAABJRU5ErkJggg==");
    html->setHtml(QStringLiteral("<p><b>tučně</b> <span style=\"color:#ff0000\">červeně</span><img src=\"/dev/zero\">"
                                 "<img src=\"%1\" width=\"8\" height=\"6\"></p>")
                      .arg(dot));
    QGuiApplication::clipboard()->setMimeData(html);
    target.reNotes()->clearDocument();
    target.reNotes()->paste();
    const NotesContent h = target.reNotes()->content();
    QCOMPARE(target.reNotes()->toPlainText(), QStringLiteral("tučně červeně") + QChar(QChar::ObjectReplacementCharacter));
    QVERIFY(h.TextStyles.at(h.Paragraphs.at(0).Runs.at(0).StyleNo).Bold);
    QCOMPARE(h.TextStyles.at(h.Paragraphs.at(0).Runs.at(2).StyleNo).Color, quint32(0xFF0000));
    // The picture inside the HTML became one of ours, kept as PNG.
    QCOMPARE(h.Pictures.size(), 1);
    QCOMPARE(h.Pictures.at(0).Format, QByteArray("png"));
    QCOMPARE(QSize(h.Paragraphs.at(0).Runs.last().Width, h.Paragraphs.at(0).Runs.last().Height), QSize(8, 6));

    QGuiApplication::clipboard()->setText(QStringLiteral("a\r\nb\rc\x01"));
    target.reNotes()->clearDocument();
    target.reNotes()->paste();
    QCOMPARE(target.reNotes()->document()->blockCount(), 3);
    QCOMPARE(target.reNotes()->toPlainText(), QStringLiteral("a\nb\nc"));
}

void TestNotes::rightClickDropsTheSelection()
{
    World world;
    NotesPage page(world.layout(), nullptr);
    page.resize(600, 400);
    page.show();
    QVERIFY(QTest::qWaitForWindowExposed(&page));
    setText(page.reNotes(), QStringLiteral("vybraný text"));
    select(page.reNotes(), 0, 7);
    QTest::mouseClick(page.reNotes()->viewport(), Qt::RightButton, {}, QPoint(5, 5));
    QVERIFY(!page.reNotes()->textCursor().hasSelection());
    QMenu* menu = page.popmnuNotes();
    emit menu->aboutToShow();
    QStringList captions;
    for (QAction* a : menu->actions())
        captions.append(a->isSeparator() ? QStringLiteral("-") : a->text() + (a->isEnabled() ? QString() : QStringLiteral("*")));
    QCOMPARE(captions, (QStringList{QStringLiteral("Vybrat vše"), QStringLiteral("-"), QStringLiteral("Vyjmout*"),
                                    QStringLiteral("Kopírovat*"), QStringLiteral("Vložit"), QStringLiteral("-"),
                                    QStringLiteral("Zpět"), QStringLiteral("Vpřed")}));
    menu->hide();
    menu->actions().first()->trigger();
    QCOMPARE(page.reNotes()->textCursor().selectedText(), QStringLiteral("vybraný text"));
}

void TestNotes::editorKeysWinOverMenuShortcuts()
{
    // In the main window Ctrl+X also exports bookmarks; in the editor it cuts.
    World world;
    QMainWindow window;
    auto* page = new NotesPage(world.layout(), &window);
    window.setCentralWidget(page);
    QAction* exportMarks = window.menuBar()->addMenu(QStringLiteral("Záložky"))->addAction(QStringLiteral("Export"));
    exportMarks->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_X));
    int exports = 0;
    connect(exportMarks, &QAction::triggered, [&] { ++exports; });
    window.show();
    window.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&window));
    setText(page->reNotes(), QStringLiteral("vyjmi mě"));
    select(page->reNotes(), 0, 5);
    page->reNotes()->setFocus();
    QTest::keyClick(page->reNotes(), Qt::Key_X, Qt::ControlModifier);
    QCOMPARE(page->reNotes()->toPlainText(), QStringLiteral(" mě"));
    QCOMPARE(exports, 0);
    page->cmbFont()->setFocus();
    QTest::keyClick(page->cmbFont(), Qt::Key_X, Qt::ControlModifier);
    QCOMPARE(exports, 1);
}

void TestNotes::exportNotes_data()
{
    QTest::addColumn<QList<ReplaceAnswer>>("answers");
    QTest::addColumn<QStringList>("replaced");
    QTest::addColumn<bool>("ok");
    using A = ReplaceAnswer;
    QTest::newRow("replace one") << QList<A>{A::No, A::Yes} << QStringList{QStringLiteral("0002.rtn")} << true;
    QTest::newRow("replace all") << QList<A>{A::YesToAll} << QStringList{QStringLiteral("0001.rtn"), QStringLiteral("0002.rtn")}
                                 << true;
    QTest::newRow("replace none") << QList<A>{A::NoToAll} << QStringList{} << true;
    QTest::newRow("cancel") << QList<A>{A::Cancel} << QStringList{} << false;
}

void TestNotes::exportNotes()
{
    QFETCH(QList<ReplaceAnswer>, answers);
    QFETCH(QStringList, replaced);
    QFETCH(bool, ok);
    World world;
    for (const char* name : {"0001.rtn", "0002.rtn", "0003.rtn"})
        testfiles::write(world.notes() + QLatin1String(name), QByteArray("notes ") + name);
    const QString backup = world.dir.filePath(QStringLiteral("backup"));
    testfiles::write(backup + QStringLiteral("/0001.rtn"), "old");
    testfiles::write(backup + QStringLiteral("/0002.rtn"), "old");
    RecordingMessages messages;
    NotesPage page(world.layout(), nullptr);
    QString chosen;
    page.dialogs().folder = [&](QWidget*) { return chosen; };
    page.dialogs().replace = [&](QWidget*, const QString&) { return answers.takeFirst(); };

    page.mnuPoznamkyExportClick(); // cancelled: nothing at all
    QVERIFY(messages.shown.isEmpty());
    chosen = QDir::toNativeSeparators(world.notes());
    page.mnuPoznamkyExportClick();
    QCOMPARE(messages.texts(), QStringList{QStringLiteral("Nelze kopírovat soubor sám na sebe!")});
    messages.shown.clear();

    chosen = backup;
    page.mnuPoznamkyExportClick();
    if (ok) {
        QCOMPARE(messages.texts(), QStringList{QStringLiteral("Poznámky byly vyexportovány do adresáře:\r\n")
                                               + QDir::toNativeSeparators(backup + QLatin1Char('/'))});
        QCOMPARE(messages.shown.at(0).icon, MsgIcon::Information);
        QCOMPARE(testfiles::read(backup + QStringLiteral("/0003.rtn")), QByteArray("notes 0003.rtn"));
    } else {
        QCOMPARE(messages.texts(), (QStringList{QStringLiteral("Chyba při kopírování souborů"),
                                                QStringLiteral("Některé soubory nemohly být zazálohovány.")}));
        QCOMPARE(messages.shown.at(0).icon, MsgIcon::Error);
        QCOMPARE(messages.shown.at(1).icon, MsgIcon::Warning);
    }
    for (const char* name : {"0001.rtn", "0002.rtn"}) {
        const QString n = QLatin1String(name);
        QCOMPARE(testfiles::read(backup + QLatin1Char('/') + n),
                 replaced.contains(n) ? QByteArray("notes ") + name : QByteArray("old"));
    }
    QVERIFY(answers.isEmpty());
    QVERIFY(page.statusBar()->text(0).isEmpty());
    QVERIFY(!QApplication::overrideCursor());
}

void TestNotes::importNotes()
{
    World world;
    const QString incoming = world.dir.filePath(QStringLiteral("incoming")) + QLatin1Char('/');
    {
        NotesPage writer(world.layout(), nullptr);
        writer.OpenChapterNotes(world.chapter(QStringLiteral("0001.htm")));
        setText(writer.reNotes(), QStringLiteral("z jiného počítače"));
        QDir().mkpath(incoming);
        QVERIFY(writer.reNotes()->saveToFile(incoming + QStringLiteral("0001.rtn")));
    }
    RecordingMessages messages;
    NotesPage page(world.layout(), nullptr);
    page.dialogs().folder = [&](QWidget*) { return incoming; };
    page.OpenChapterNotes(world.chapter(QStringLiteral("0001.htm")));
    typeAtEnd(page.reNotes(), QStringLiteral("neuloženo"));

    // Unsaved changes get the leave question first; "No" drops them. A hidden page keeps
    // the editor as it is then.
    messages.answers = {MsgResult::No};
    page.mnuPoznamkyImportClick();
    QCOMPARE(messages.texts(), (QStringList{NotesPage::SaveQuestion, QStringLiteral("Poznámky byly importovány")}));
    QVERIFY(!page.reNotes()->toPlainText().contains(QStringLiteral("neuloženo")));

    // "Yes" saves them before the import; a shown page then reloads the current chapter's notes.
    page.show();
    typeAtEnd(page.reNotes(), QStringLiteral("uložit"));
    messages.shown.clear();
    messages.answers = {MsgResult::Yes};
    QStringList replaced;
    page.dialogs().replace = [&](QWidget*, const QString&) {
        QString text; // what the file to be replaced holds
        for (const NotesParagraph& p : LoadNotesFile(page.CurrentNotesFile()).content.Paragraphs)
            for (const NotesRun& r : p.Runs)
                text += r.Text;
        replaced.append(text);
        return ReplaceAnswer::Yes;
    };
    page.mnuPoznamkyImportClick();
    QCOMPARE(messages.texts(), (QStringList{NotesPage::SaveQuestion, QStringLiteral("Poznámky byly importovány")}));
    QCOMPARE(replaced.size(), 1);
    QVERIFY(replaced[0].endsWith(QStringLiteral("uložit")));
    QCOMPARE(page.reNotes()->toPlainText(), QStringLiteral("z jiného počítače"));
    QVERIFY(!page.reNotes()->isModified());

    // A folder without notes files copies nothing and fails nothing.
    messages.shown.clear();
    page.dialogs().folder = [&](QWidget*) { return world.program; };
    page.mnuPoznamkyImportClick();
    QCOMPARE(messages.texts(), QStringList{QStringLiteral("Poznámky byly importovány")});
}

QTEST_MAIN(TestNotes)
#include "tst_notes.moc"
