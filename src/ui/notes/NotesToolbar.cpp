// The notes page's formatting: the toolbar and pop-up menu, the toolbar's feedback
// from the caret, and the commands that convert text and paragraph styles.
#include "NotesPage.h"

#include "ImageList.h"
#include "MessageService.h"
#include "Profile.h"
#include "RichEdit.h"
#include "TextFile.h"
#include "widgets/HintedToolBar.h"

#include <QActionGroup>
#include <QComboBox>
#include <QDir>
#include <QFontDatabase>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMenu>
#include <QSet>
#include <QToolButton>

#include <algorithm>

namespace tavio {

namespace {

constexpr qint64 MaxPictureFile = 64 * 1024 * 1024;

QColor toQColor(quint32 rgb)
{
    return QColor::fromRgb(rgb & 0xFFFFFF);
}

quint32 fromQColor(const QColor& c)
{
    return quint32(c.rgb()) & 0xFFFFFF;
}

} // namespace

QAction* NotesPage::addButton(const QString& name, const QString& icon, const QString& hint, int helpContext)
{
    QAction* a = m_toolbar->addHintedAction(ImageList::named(icon), hint);
    a->setObjectName(name);
    a->setProperty("helpContext", helpContext);
    m_buttons.insert(name, a);
    return a;
}

void NotesPage::createToolbar()
{
    m_toolbar = new HintedToolBar(this);
    m_toolbar->setObjectName(QStringLiteral("tlbarNotes"));

    QAction* save = addButton(QStringLiteral("btnSaveNotes"), QStringLiteral("save"),
                              QStringLiteral("Uložit poznámku [Ctrl + S]"), 117);
    save->setEnabled(false);
    QAction* exportNotes = addButton(QStringLiteral("btnExportNotes"), QStringLiteral("notes-export"),
                                     QStringLiteral("Exportovat poznámky do HTML nebo Markdownu"), 136);
    auto* exportMenu = new QMenu(this);
    exportMenu->setObjectName(QStringLiteral("popExportNotes"));
    connect(exportMenu->addAction(QStringLiteral("Exportovat poznámky kapitoly ...")), &QAction::triggered, this,
            &NotesPage::exportChapterNotes);
    connect(exportMenu->addAction(QStringLiteral("Exportovat všechny poznámky ...")), &QAction::triggered, this,
            &NotesPage::exportAllNotes);
    exportNotes->setMenu(exportMenu);
    if (auto* button = qobject_cast<QToolButton*>(m_toolbar->widgetForAction(exportNotes)))
        button->setPopupMode(QToolButton::InstantPopup);
    m_toolbar->addSeparator();
    QAction* find = addButton(QStringLiteral("btnFindInNotes"), QStringLiteral("find"),
                              QStringLiteral("Vyhledat text v poznámce ... [F7]"), 54);
    QAction* findNext =
        addButton(QStringLiteral("btnFindNextInNotes"), QStringLiteral("find-next"), QStringLiteral("Najít další [F3]"), 55);
    m_toolbar->addSeparator();
    QAction* bold = addButton(QStringLiteral("btnBold"), QStringLiteral("bold"), QStringLiteral("Tučné"), 118);
    QAction* italic = addButton(QStringLiteral("btnItalic"), QStringLiteral("italic"), QStringLiteral("Kurzíva"), 119);
    QAction* underline =
        addButton(QStringLiteral("btnUnderline"), QStringLiteral("underline"), QStringLiteral("Podtrhnout"), 120);
    for (QAction* a : {bold, italic, underline})
        a->setCheckable(true);
    QAction* font = addButton(QStringLiteral("btnFont"), QStringLiteral("font"), QStringLiteral("Atributy písma ..."), 121);
    QAction* fontColor =
        addButton(QStringLiteral("btnFontColor"), QStringLiteral("font-colour"), QStringLiteral("Barva písma ..."), 123);
    QAction* fontBack = addButton(QStringLiteral("btnFontBackColor"), QStringLiteral("background-colour"),
                                  QStringLiteral("Barva pozadí (zvýraznění) ..."), 124);
    m_toolbar->addSeparator();
    QAction* image = addButton(QStringLiteral("btnInsertImage"), QStringLiteral("insert-picture"),
                               QStringLiteral("Vložit obrázek ze souboru ..."), 125);
    m_toolbar->addSeparator();
    QAction* paraBack = addButton(QStringLiteral("btnParagraphBackColor"), QStringLiteral("paragraph-colour"),
                                  QStringLiteral("Barva pozadí odstavce ..."), 126);
    QAction* indentDec =
        addButton(QStringLiteral("btnIdentDec"), QStringLiteral("indent-less"), QStringLiteral("Zmenšit odsazení"), 127);
    QAction* indentInc =
        addButton(QStringLiteral("btnIdentInc"), QStringLiteral("indent-more"), QStringLiteral("Zvětšit odsazení"), 128);
    m_toolbar->addSeparator();
    m_alignment = new QActionGroup(this);
    m_alignment->setExclusive(true);
    const struct
    {
        const char* name;
        const char* icon;
        QString hint;
        int hc;
    } aligns[] = {
        {"btnLeft", "align-left", QStringLiteral("Zarovnat vlevo"), 129},
        {"btnCenter", "align-center", QStringLiteral("Zarovnat na střed"), 130},
        {"btnRight", "align-right", QStringLiteral("Zarovnat vpravo"), 131},
        {"btnJustify", "align-justify", QStringLiteral("Zarovnat do bloku"), 132},
    };
    for (const auto& a : aligns) {
        QAction* action = addButton(QLatin1String(a.name), QLatin1String(a.icon), a.hint, a.hc);
        action->setCheckable(true);
        m_alignment->addAction(action);
        connect(action, &QAction::triggered, this, &NotesPage::alignmentClick);
    }
    button(QStringLiteral("btnLeft"))->setChecked(true);
    m_toolbar->addSeparator();

    m_cmbFont = new QComboBox(m_toolbar);
    m_cmbFont->setObjectName(QStringLiteral("cmbFont"));
    m_cmbFont->setEditable(false);
    m_cmbFont->setMaxVisibleItems(20);
    m_cmbFont->setMinimumContentsLength(16);
    m_cmbFont->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    m_cmbFont->setToolTip(QStringLiteral("Font"));
    m_cmbFont->setStatusTip(QStringLiteral("Font"));
    m_cmbFont->setProperty("helpContext", 133);
    m_toolbar->addWidget(m_cmbFont);

    m_cmbFontSize = new QComboBox(m_toolbar);
    m_cmbFontSize->setObjectName(QStringLiteral("cmbFontSize"));
    m_cmbFontSize->setEditable(true);
    m_cmbFontSize->setInsertPolicy(QComboBox::NoInsert);
    m_cmbFontSize->setMaxVisibleItems(20);
    m_cmbFontSize->setMinimumContentsLength(3);
    for (int size : {8, 9, 10, 11, 12, 14, 16, 18, 20, 22, 24, 26, 28, 36, 48, 72})
        m_cmbFontSize->addItem(QString::number(size));
    m_cmbFontSize->setToolTip(QStringLiteral("Velikost písma"));
    m_cmbFontSize->setStatusTip(QStringLiteral("Velikost písma"));
    m_cmbFontSize->setProperty("helpContext", 134);
    m_cmbFontSize->lineEdit()->installEventFilter(this);
    m_toolbar->addWidget(m_cmbFontSize);

    connect(save, &QAction::triggered, this, &NotesPage::btnSaveNotesClick);
    connect(find, &QAction::triggered, this, &NotesPage::findRequested);
    connect(findNext, &QAction::triggered, this, &NotesPage::findNextRequested);
    connect(bold, &QAction::triggered, this, [this] { FontStyleButtonClick(TextConversion::Bold); });
    connect(italic, &QAction::triggered, this, [this] { FontStyleButtonClick(TextConversion::Italic); });
    connect(underline, &QAction::triggered, this, [this] { FontStyleButtonClick(TextConversion::Underline); });
    connect(font, &QAction::triggered, this, &NotesPage::mitFontClick);
    connect(fontColor, &QAction::triggered, this, &NotesPage::btnFontColorClick);
    connect(fontBack, &QAction::triggered, this, &NotesPage::btnFontBackColorClick);
    connect(image, &QAction::triggered, this, &NotesPage::btnInsertImageClick);
    connect(paraBack, &QAction::triggered, this, &NotesPage::btnParagraphBackColorClick);
    connect(indentInc, &QAction::triggered, this,
            [this] { m_reNotes->applyParaStyleConversion(int(ParaConversion::IndentInc)); });
    connect(indentDec, &QAction::triggered, this,
            [this] { m_reNotes->applyParaStyleConversion(int(ParaConversion::IndentDec)); });
    connect(m_cmbFont, &QComboBox::activated, this, &NotesPage::cmbFontClick);
    connect(m_cmbFontSize, &QComboBox::activated, this, [this] { cmbFontSizeClick(); });
}

void NotesPage::createPopupMenu()
{
    m_popmnuNotes = new QMenu(this);
    m_popmnuNotes->setObjectName(QStringLiteral("popmnuNotes"));
    auto add = [this](const QString& caption, const QString& icon, const QKeySequence& keys) {
        QAction* a = m_popmnuNotes->addAction(ImageList::named(icon), caption);
        // The editor handles these keys itself; the menu only shows them.
        a->setShortcut(keys);
        a->setShortcutContext(Qt::WidgetShortcut);
        return a;
    };
    QAction* all = add(QStringLiteral("Vybrat vše"), QStringLiteral("select-all"), QKeySequence(Qt::CTRL | Qt::Key_A));
    m_popmnuNotes->addSeparator();
    m_popCut = add(QStringLiteral("Vyjmout"), QStringLiteral("cut"), QKeySequence(Qt::CTRL | Qt::Key_X));
    m_popCopy = add(QStringLiteral("Kopírovat"), QStringLiteral("copy"), QKeySequence(Qt::CTRL | Qt::Key_C));
    QAction* paste = add(QStringLiteral("Vložit"), QStringLiteral("paste"), QKeySequence(Qt::CTRL | Qt::Key_V));
    m_popmnuNotes->addSeparator();
    QAction* undo = add(QStringLiteral("Zpět"), QStringLiteral("undo"), QKeySequence(Qt::CTRL | Qt::Key_Z));
    QAction* redo = add(QStringLiteral("Vpřed"), QStringLiteral("redo"), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z));

    connect(m_popmnuNotes, &QMenu::aboutToShow, this, [this] {
        const bool selected = m_reNotes->textCursor().hasSelection();
        m_popCut->setEnabled(selected);
        m_popCopy->setEnabled(selected);
    });
    connect(all, &QAction::triggered, this, [this] {
        m_reNotes->selectAll();
        m_reNotes->viewport()->update();
    });
    connect(m_popCut, &QAction::triggered, m_reNotes, &QTextEdit::cut);
    connect(m_popCopy, &QAction::triggered, m_reNotes, &QTextEdit::copy);
    connect(paste, &QAction::triggered, m_reNotes, &QTextEdit::paste);
    connect(undo, &QAction::triggered, m_reNotes, &QTextEdit::undo);
    connect(redo, &QAction::triggered, m_reNotes, &QTextEdit::redo);
}

void NotesPage::FillFontList()
{
    QStringList names;
    QSet<QString> seen;
    for (QString family : QFontDatabase::families()) {
        if (QFontDatabase::isPrivateFamily(family))
            continue;
        // "Family [foundry]" names one family of several makers; the name is enough.
        const qsizetype bracket = family.indexOf(QLatin1String(" ["));
        if (bracket > 0 && family.endsWith(QLatin1Char(']')))
            family.truncate(bracket);
        if (!seen.contains(family.toLower())) {
            seen.insert(family.toLower());
            names.append(family);
        }
    }
    std::sort(names.begin(), names.end(),
              [](const QString& a, const QString& b) { return a.compare(b, Qt::CaseInsensitive) < 0; });
    m_toolbarUpdate = true;
    m_cmbFont->clear();
    m_cmbFont->addItems(names);
    m_toolbarUpdate = false;
    reNotesCurTextStyleChanged();
}


void NotesPage::reNotesCurTextStyleChanged()
{
    m_toolbarUpdate = true;
    const TextStyle& s = m_reNotes->currentTextStyle();
    int index = -1;
    for (int i = 0; i < m_cmbFont->count(); ++i) {
        if (m_cmbFont->itemText(i).compare(s.FontName, Qt::CaseInsensitive) == 0) {
            index = i;
            break;
        }
    }
    m_cmbFont->setCurrentIndex(index);
    m_cmbFontSize->setEditText(QString::number(s.Size));
    button(QStringLiteral("btnBold"))->setChecked(s.Bold);
    button(QStringLiteral("btnItalic"))->setChecked(s.Italic);
    button(QStringLiteral("btnUnderline"))->setChecked(s.Underline);
    m_toolbarUpdate = false;
}

void NotesPage::reNotesCurParaStyleChanged()
{
    switch (m_reNotes->currentParaStyle().Alignment) {
    case ParaAlignment::Left: button(QStringLiteral("btnLeft"))->setChecked(true); break;
    case ParaAlignment::Right: button(QStringLiteral("btnRight"))->setChecked(true); break;
    case ParaAlignment::Center: button(QStringLiteral("btnCenter"))->setChecked(true); break;
    case ParaAlignment::Justify: button(QStringLiteral("btnJustify"))->setChecked(true); break;
    }
}

int NotesPage::reNotesStyleConversion(int styleNo, int code)
{
    TextConversionInput in;
    in.BoldDown = button(QStringLiteral("btnBold"))->isChecked();
    in.ItalicDown = button(QStringLiteral("btnItalic"))->isChecked();
    in.UnderlineDown = button(QStringLiteral("btnUnderline"))->isChecked();
    in.FontName = m_chosenFontName;
    in.Font = m_chosenFont;
    in.FontSize = m_chosenFontSize;
    in.Color = m_chosenColor;
    in.BackColor = m_chosenBackColor;
    return m_reNotes->findOrAppendTextStyle(
        ConvertTextStyle(m_reNotes->textStyles().at(styleNo), TextConversion(code), in));
}

int NotesPage::reNotesParaStyleConversion(int paraNo, int code)
{
    ParaConversionInput in;
    in.LeftDown = button(QStringLiteral("btnLeft"))->isChecked();
    in.CenterDown = button(QStringLiteral("btnCenter"))->isChecked();
    in.RightDown = button(QStringLiteral("btnRight"))->isChecked();
    in.Background = m_chosenBackColor;
    return m_reNotes->findOrAppendParaStyle(
        ConvertParaStyle(m_reNotes->paraStyles().at(paraNo), ParaConversion(code), in));
}

void NotesPage::FontStyleButtonClick(TextConversion code)
{
    m_reNotes->applyStyleConversion(int(code));
}

void NotesPage::mitFontClick()
{
    const auto chosen = m_dialogs.font(m_main, m_reNotes->currentTextStyle());
    if (!chosen)
        return;
    m_chosenFont = *chosen;
    m_reNotes->applyStyleConversion(int(TextConversion::Font));
}

void NotesPage::cmbFontClick(int index)
{
    if (index >= 0 && !m_toolbarUpdate) {
        m_chosenFontName = m_cmbFont->itemText(index);
        m_reNotes->applyStyleConversion(int(TextConversion::FontName));
    }
    focusEditor();
}

void NotesPage::cmbFontSizeClick()
{
    const QString text = m_cmbFontSize->currentText();
    if (!text.isEmpty() && !m_toolbarUpdate) {
        m_chosenFontSize = FontSizeFromText(text);
        m_reNotes->applyStyleConversion(int(TextConversion::FontSize));
    }
    focusEditor();
}

void NotesPage::focusEditor()
{
    if (m_main->isVisible())
        m_reNotes->setFocus();
}

bool NotesPage::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_cmbFontSize->lineEdit()) {
        if (event->type() == QEvent::KeyPress) {
            const int key = static_cast<QKeyEvent*>(event)->key();
            if (key == Qt::Key_Return || key == Qt::Key_Enter) {
                cmbFontSizeClick();
                return true;
            }
        } else if (event->type() == QEvent::FocusOut) {
            // Leaving the box applies it; a popup or another window taking the
            // focus for a moment does not.
            const Qt::FocusReason reason = static_cast<QFocusEvent*>(event)->reason();
            if (reason != Qt::PopupFocusReason && reason != Qt::ActiveWindowFocusReason)
                cmbFontSizeClick();
        }
    }
    return Page::eventFilter(watched, event);
}

void NotesPage::btnFontColorClick()
{
    const auto c = m_dialogs.color(m_main, toQColor(m_reNotes->currentTextStyle().Color));
    if (!c)
        return;
    m_chosenColor = fromQColor(*c);
    m_reNotes->applyStyleConversion(int(TextConversion::FontColor));
}

std::optional<quint32> NotesPage::askBackColor(const QString& question, quint32 current)
{
    const QString br = P(ProfileId::LineBreak);
    const QString text = question + br + br + QStringLiteral("ANO - vytvořit transparentní") + br
        + QStringLiteral("NE - vybrat barvu");
    switch (ShowMessage(m_main, text, MsgIcon::Question, MsgButtons::YesNoCancelDefaultNo)) {
    case MsgResult::Yes: return TransparentColor;
    case MsgResult::No: {
        const auto c = m_dialogs.color(m_main, toQColor(current == TransparentColor ? WhiteColor : current));
        if (!c)
            return std::nullopt;
        return fromQColor(*c);
    }
    default: return std::nullopt;
    }
}

void NotesPage::btnFontBackColorClick()
{
    const auto c = askBackColor(QStringLiteral("Vytvořit pro text transparentní pozadí?"),
                                m_reNotes->currentTextStyle().BackColor);
    if (!c)
        return;
    m_chosenBackColor = *c;
    m_reNotes->applyStyleConversion(int(TextConversion::BackColor));
}

void NotesPage::btnParagraphBackColorClick()
{
    const auto c = askBackColor(QStringLiteral("Vytvořit pro tento odstavec transparentní pozadí?"),
                                m_reNotes->currentParaStyle().Background);
    if (!c)
        return;
    m_chosenBackColor = *c;
    m_reNotes->applyParaStyleConversion(int(ParaConversion::Background));
}

void NotesPage::alignmentClick()
{
    m_reNotes->applyParaStyleConversion(int(ParaConversion::Alignment));
}

void NotesPage::btnInsertImageClick()
{
    const QString path = m_dialogs.picture(m_main);
    if (path.isEmpty())
        return;
    const auto bytes = ReadFileBytes(path, MaxPictureFile);
    if (!bytes || !m_reNotes->insertPicture(*bytes))
        ShowMessage(m_main, QStringLiteral("Nelze importovat obrázek ") + QDir::toNativeSeparators(path), MsgIcon::Error);
}

} // namespace tavio
