#include "NotesPage.h"

#include "FindDialog.h"
#include "ImageList.h"
#include "MainTypes.h"
#include "MessageService.h"
#include "Profile.h"
#include "RichEdit.h"
#include "ShellOpener.h"
#include "widgets/HintedToolBar.h"
#include "widgets/StatusBar.h"

#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QMenu>
#include <QMouseEvent>
#include <QTextCursor>
#include <QVBoxLayout>

namespace tavio {

namespace {

const QString NotFound = QStringLiteral("Hledané slovo nebylo nalezeno");

// Two lines about the editor; blue under the mouse, a click opens the address the
// profile gives for it.
class CreditLabel final : public QLabel
{
public:
    explicit CreditLabel(QWidget* parent)
        : QLabel(parent)
    {
        setTextFormat(Qt::PlainText);
        setText(QStringLiteral("Editor poznámek pracuje s formátovaným textem knihovny Qt\n"
                               "(QTextEdit a QTextDocument)"));
        setAlignment(Qt::AlignCenter);
        paint(false);
        if (!P(ProfileId::EditorVendorUrl).isEmpty()) {
            setCursor(Qt::PointingHandCursor);
            setToolTip(P(ProfileId::EditorVendorUrl));
        }
    }

protected:
    void enterEvent(QEnterEvent* event) override
    {
        paint(true);
        QLabel::enterEvent(event);
    }
    void leaveEvent(QEvent* event) override
    {
        paint(false);
        QLabel::leaveEvent(event);
    }
    void mouseReleaseEvent(QMouseEvent* event) override
    {
        const QString url = P(ProfileId::EditorVendorUrl);
        if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint()) && !url.isEmpty())
            ShellOpener::openAddress(url);
        QLabel::mouseReleaseEvent(event);
    }

private:
    void paint(bool hot)
    {
        QPalette p = palette();
        p.setColor(QPalette::WindowText, hot ? QColor(0, 0, 255) : QColor(0, 0, 128));
        setPalette(p);
    }
};

} // namespace

const QString NotesPage::SaveQuestion =
    QStringLiteral("V poznámkovém bloku byly provedeny změny. Chcete tyto změny uložit ?");

NotesPage::NotesPage(const FileLayout& layout, QWidget* mainWindow, QWidget* parent)
    : Page(parent)
    , m_layout(layout)
    , m_main(mainWindow ? mainWindow : this)
    , m_dialogs(NotesDialogs::standard())
{
    setObjectName(QStringLiteral("tbshNotes"));
    setProperty("helpContext", 116);

    m_reNotes = new RichEdit(this);
    m_reNotes->setObjectName(QStringLiteral("reNotes"));
    m_reNotes->setContextMenuPolicy(Qt::CustomContextMenu);
    m_reNotes->onStyleConversion = [this](int no, int code) { return reNotesStyleConversion(no, code); };
    m_reNotes->onParaStyleConversion = [this](int no, int code) { return reNotesParaStyleConversion(no, code); };

    createToolbar();
    createPopupMenu();

    auto* credit = new QWidget(this);
    credit->setObjectName(QStringLiteral("pnlEditorCredit"));
    auto* creditLayout = new QVBoxLayout(credit);
    creditLayout->setContentsMargins(2, 2, 2, 2);
    m_lblEditorCredit = new CreditLabel(credit);
    m_lblEditorCredit->setObjectName(QStringLiteral("lblEditorCredit"));
    creditLayout->addWidget(m_lblEditorCredit);

    contentLayout()->addWidget(m_toolbar);
    contentLayout()->addWidget(m_reNotes, 1);
    contentLayout()->addWidget(credit);
    statusBar()->setObjectName(QStringLiteral("stbNotes"));
    statusBar()->setProperty("helpContext", 84);

    connect(m_reNotes, &RichEdit::changed, this, &NotesPage::reNotesChange);
    connect(m_reNotes, &RichEdit::curTextStyleChanged, this, &NotesPage::reNotesCurTextStyleChanged);
    connect(m_reNotes, &RichEdit::curParaStyleChanged, this, &NotesPage::reNotesCurParaStyleChanged);
    connect(m_reNotes, &QWidget::customContextMenuRequested, this,
            [this](const QPoint& at) { m_popmnuNotes->popup(m_reNotes->viewport()->mapToGlobal(at)); });
    connect(statusBar(), &StatusBar::doubleClicked, this, [this](int x) {
        if (x > statusBar()->panel0Width())
            emit findRequested();
    });

    reNotesCurTextStyleChanged();
    reNotesCurParaStyleChanged();
}

NotesPage::~NotesPage() = default;


void NotesPage::OpenChapterNotes(const QString& chapterPath)
{
    m_currentNotesFile = NotesFileOf(m_layout.notesFolder(), chapterPath);
    QDir().mkpath(m_layout.notesFolder());
    LoadNotes(m_currentNotesFile);
}

void NotesPage::LoadNotes(const QString& path)
{
    NotesReadStatus status = NotesReadStatus::Ok;
    if (!path.isEmpty() && QFileInfo(path).isFile())
        status = m_reNotes->loadFromFile(path);
    else if (QFileInfo(DefaultNotesPath()).isFile())
        m_reNotes->loadFromFile(DefaultNotesPath());
    else
        m_reNotes->clearDocument();
    // Notes of a later version cannot be shown; they stay as they are, and the page says why.
    const bool newer = status == NotesReadStatus::TooNew;
    m_reNotes->setReadOnly(newer);
    m_reNotes->setPlaceholderText(newer ? NewerNotesText() : QString());
    if (newer)
        button(QStringLiteral("btnSaveNotes"))->setEnabled(false);
    reNotesCurTextStyleChanged();
    reNotesCurParaStyleChanged();
}

bool NotesPage::btnSaveNotesClick()
{
    if (m_currentNotesFile.isEmpty() || m_reNotes->isReadOnly())
        return true;
    QDir().mkpath(QFileInfo(m_currentNotesFile).absolutePath());
    QString error;
    if (!m_reNotes->saveToFile(m_currentNotesFile, &error)) {
        ShowMessage(m_main,
                    QStringLiteral("Poznámky se nepodařilo uložit do souboru ")
                        + QDir::toNativeSeparators(m_currentNotesFile) + QStringLiteral(".") + P(ProfileId::LineBreak)
                        + error,
                    MsgIcon::Error);
        return false;
    }
    m_reNotes->setModified(false);
    button(QStringLiteral("btnSaveNotes"))->setEnabled(false);
    return true;
}

bool NotesPage::tbshNotesHide()
{
    bool leave = true;
    if (m_reNotes->isModified() && !(aboutWindowFlag && *aboutWindowFlag)) {
        if (ShowMessage(m_main, SaveQuestion, MsgIcon::Question, MsgButtons::YesNo) == MsgResult::Yes) {
            // A failed save keeps the changes in the editor instead of reloading over them.
            if (btnSaveNotesClick())
                LoadNotes(m_currentNotesFile);
            else
                leave = false;
        } else {
            m_reNotes->setModified(false);
            button(QStringLiteral("btnSaveNotes"))->setEnabled(false);
            LoadNotes(m_currentNotesFile);
        }
    }
    if (aboutWindowFlag)
        *aboutWindowFlag = false;
    return leave;
}

bool NotesPage::FormCloseQuery()
{
    if (!m_reNotes->isModified())
        return true;
    switch (ShowMessage(m_main, SaveQuestion, MsgIcon::Question, MsgButtons::YesNoCancel)) {
    case MsgResult::Yes: return btnSaveNotesClick();
    case MsgResult::No: return true;
    default: return false;
    }
}

void NotesPage::reNotesChange()
{
    button(QStringLiteral("btnSaveNotes"))->setEnabled(true);
}


void NotesPage::findInNotes(FindDialog* dialog)
{
    if (!dialog)
        return;
    dialog->setWholeWordsVisible(true);
    dialog->show();
    dialog->raise();
    dialog->activateWindow();
}

bool NotesPage::searchNotes(FindDialog* dialog)
{
    if (!dialog)
        return false;
    const QString text = dialog->findText();
    const bool found = m_reNotes->search(text, dialog->matchCase(), dialog->wholeWords(), !dialog->upward());
    if (found)
        statusBar()->setText(1, text);
    else
        ShowMessage(m_main, NotFound, MsgIcon::Warning);
    return found;
}

void NotesPage::showFoundPhrase(const TSearchAndHighlightTextOptions& options)
{
    QTextCursor start = m_reNotes->textCursor();
    start.movePosition(QTextCursor::Start);
    m_reNotes->setTextCursor(start);
    // The file search joins paragraphs and sets punctuation apart, so the editor may
    // not find every phrase it found; the notes are shown either way.
    if (m_reNotes->search(options.SearchText, options.CaseSensitive, options.WholeWordsOnly, true))
        statusBar()->setText(1, options.SearchText);
    m_reNotes->setFocus();
}

void NotesPage::findNext(FindDialog* dialog)
{
    if (!dialog)
        return;
    const QString text = statusBar()->text(1);
    if (text.isEmpty()) {
        findInNotes(dialog);
        return;
    }
    if (!m_reNotes->search(text, dialog->matchCase(), dialog->wholeWords(), !dialog->upward()))
        ShowMessage(m_main, NotFound, MsgIcon::Warning);
}

} // namespace tavio
