#include "RichEdit.h"

#include "widgets/ThemeLook.h"

#include <QBuffer>
#include <QHash>
#include <QImageReader>
#include <QLoggingCategory>
#include <QMimeData>
#include <QMouseEvent>
#include <QPixmap>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextDocumentFragment>
#include <QTextFrame>

#include <algorithm>
#include <numeric>
#include <optional>
#include <utility>

namespace tavio {

namespace {

// Text from the clipboard: line ends of any kind become paragraph breaks; frame,
// object and control characters are dropped.
QString pastedText(const QString& text)
{
    QString out;
    out.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char16_t c = text.at(i).unicode();
        if (c == u'\r') {
            out += QLatin1Char('\n');
            if (i + 1 < text.size() && text.at(i + 1) == u'\n')
                ++i;
        } else if (c == u'\n' || c == u'\t' || c == QChar::LineSeparator) {
            out += QChar(c);
        } else if (c == QChar::ParagraphSeparator) {
            out += QLatin1Char('\n');
        } else if (c >= 0x20 && c != 0x7F && c != QChar::ObjectReplacementCharacter && c != 0xFDD0 && c != 0xFDD1) {
            out += QChar(c);
        }
    }
    return out;
}

} // namespace

QString RichEdit::mimeType()
{
    return QStringLiteral("application/x-tavio-notes");
}

RichEdit::RichEdit(QWidget* parent)
    : QTextEdit(parent)
    , m_doc(m_notes.document())
{
    setDocument(m_doc);
    setAcceptRichText(true);
    setTabChangesFocus(false);
    clearDocument();
    connect(m_doc, &QTextDocument::contentsChanged, this, [this] {
        if (!m_loading) {
            emit changed();
            checkCurrentStyles(false);
        }
    });
    connect(this, &QTextEdit::cursorPositionChanged, this, [this] { checkCurrentStyles(false); });
    connect(this, &QTextEdit::currentCharFormatChanged, this, [this] { checkCurrentStyles(false); });
}

RichEdit::~RichEdit()
{
    // The document goes with m_notes, after the editor's own parts would still point
    // at it: they get a throwaway one, and nobody hears of the swap.
    blockSignals(true);
    m_doc->disconnect(this);
    setDocument(new QTextDocument(this));
}

int RichEdit::findOrAppendTextStyle(const TextStyle& style)
{
    return m_notes.findOrAppendTextStyle(style);
}

int RichEdit::findOrAppendParaStyle(const ParaStyle& style)
{
    return m_notes.findOrAppendParaStyle(style);
}

int RichEdit::currentTextStyleNo() const
{
    return m_notes.styleNoOf(textCursor().charFormat());
}

int RichEdit::currentParaStyleNo() const
{
    return m_notes.paraNoOf(textCursor().blockFormat());
}

void RichEdit::checkCurrentStyles(bool force)
{
    const int text = currentTextStyleNo();
    const int para = currentParaStyleNo();
    if (force || text != m_lastTextStyle) {
        m_lastTextStyle = text;
        emit curTextStyleChanged();
    }
    if (force || para != m_lastParaStyle) {
        m_lastParaStyle = para;
        emit curParaStyleChanged();
    }
}

void RichEdit::applyStyleConversion(int code)
{
    if (!onStyleConversion)
        return;
    QHash<int, int> converted;
    auto convert = [&](int old) {
        const auto it = converted.constFind(old);
        if (it != converted.cend())
            return *it;
        int to = onStyleConversion(old, code);
        if (to < 0 || to >= textStyles().size())
            to = old;
        converted.insert(old, to);
        return to;
    };
    QTextCursor cursor = textCursor();
    if (!cursor.hasSelection()) {
        const int old = m_notes.styleNoOf(cursor.charFormat());
        const int to = convert(old);
        if (to != old) {
            // Only what is typed next changes; the document itself does not.
            const bool wasModified = isModified();
            const bool wasLoading = std::exchange(m_loading, true);
            cursor.setCharFormat(m_notes.charFormatFor(to));
            setTextCursor(cursor);
            m_loading = wasLoading;
            setModified(wasModified);
        }
        checkCurrentStyles(true);
        return;
    }
    const int from = cursor.selectionStart();
    const int to = cursor.selectionEnd();
    struct Range
    {
        int start, end, style;
    };
    QList<Range> ranges;
    for (QTextBlock block = m_doc->findBlock(from); block.isValid() && block.position() < to; block = block.next()) {
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QTextFragment fragment = it.fragment();
            const int a = std::max(fragment.position(), from);
            const int b = std::min(fragment.position() + fragment.length(), to);
            if (a >= b || fragment.charFormat().isImageFormat())
                continue;
            const int old = m_notes.styleNoOf(fragment.charFormat());
            const int style = convert(old);
            if (style != old)
                ranges.append({a, b, style});
        }
    }
    if (!ranges.isEmpty()) {
        QTextCursor edit(m_doc);
        edit.beginEditBlock();
        for (const Range& r : ranges) {
            edit.setPosition(r.start);
            edit.setPosition(r.end, QTextCursor::KeepAnchor);
            edit.setCharFormat(m_notes.charFormatFor(r.style));
        }
        edit.endEditBlock();
    }
    checkCurrentStyles(true);
}

void RichEdit::applyParaStyleConversion(int code)
{
    if (!onParaStyleConversion)
        return;
    QHash<int, int> converted;
    const QTextCursor cursor = textCursor();
    const QTextBlock first = m_doc->findBlock(cursor.selectionStart());
    const QTextBlock last = m_doc->findBlock(cursor.selectionEnd());
    QList<std::pair<QTextBlock, int>> changes;
    for (QTextBlock block = first; block.isValid(); block = block.next()) {
        const int old = m_notes.paraNoOf(block.blockFormat());
        auto it = converted.constFind(old);
        if (it == converted.cend()) {
            int to = onParaStyleConversion(old, code);
            if (to < 0 || to >= paraStyles().size())
                to = old;
            it = converted.insert(old, to);
        }
        if (*it != old)
            changes.append({block, *it});
        if (block == last)
            break;
    }
    if (!changes.isEmpty()) {
        QTextCursor edit(m_doc);
        edit.beginEditBlock();
        for (const auto& [block, para] : changes) {
            edit.setPosition(block.position());
            edit.setBlockFormat(m_notes.blockFormatFor(para));
        }
        edit.endEditBlock();
    }
    checkCurrentStyles(true);
}

void RichEdit::clearDocument()
{
    const bool wasLoading = std::exchange(m_loading, true);
    m_notes.clear();
    setTextCursor(QTextCursor(m_doc));
    m_loading = wasLoading;
    checkCurrentStyles(true);
}

NotesReadStatus RichEdit::loadFromFile(const QString& path)
{
    NotesReadResult result = LoadNotesFile(path);
    setContent(result.content);
    return result.status;
}

bool RichEdit::saveToFile(const QString& path, QString* error)
{
    return m_notes.save(path, error);
}

void RichEdit::setContent(const NotesContent& content)
{
    const bool wasLoading = std::exchange(m_loading, true);
    m_notes.setContent(content);
    QTextCursor start(m_doc);
    start.setCharFormat(m_notes.charFormatFor(m_notes.styleNoOf(start.charFormat())));
    setTextCursor(start);
    m_doc->setModified(false);
    m_loading = wasLoading;
    checkCurrentStyles(true);
}

void RichEdit::setTheme(ReadingTheme theme)
{
    ApplyThemePalette(this, theme);
    if (theme == m_notes.theme())
        return;
    const bool wasLoading = std::exchange(m_loading, true);
    QTextCursor cursor = textCursor();
    m_notes.setTheme(theme);
    // What is typed next takes the theme's colours too.
    QTextCharFormat typed = cursor.charFormat();
    typed.setForeground(m_notes.charFormatFor(m_notes.styleNoOf(typed)).foreground());
    setCurrentCharFormat(typed);
    m_loading = wasLoading;
}

NotesContent RichEdit::content() const
{
    return m_notes.content();
}

NotesContent RichEdit::contentOf(int from, int to) const
{
    return m_notes.contentOf(from, to);
}

void RichEdit::insertContent(const NotesContent& content)
{
    QTextCursor cursor = textCursor();
    m_notes.insertContent(cursor, content);
    setTextCursor(cursor);
    ensureCursorVisible();
    checkCurrentStyles(true);
}

bool RichEdit::insertPicture(const QByteArray& bytes)
{
    QTextCursor cursor = textCursor();
    if (!m_notes.insertPicture(cursor, bytes, currentTextStyleNo()))
        return false;
    setTextCursor(cursor);
    ensureCursorVisible();
    return true;
}

bool RichEdit::isModified() const
{
    return m_doc->isModified();
}

void RichEdit::setModified(bool modified)
{
    m_doc->setModified(modified);
}

bool RichEdit::search(const QString& text, bool caseSensitive, bool wholeWord, bool forward)
{
    QTextDocument::FindFlags flags;
    if (caseSensitive)
        flags |= QTextDocument::FindCaseSensitively;
    if (wholeWord)
        flags |= QTextDocument::FindWholeWords;
    if (!forward)
        flags |= QTextDocument::FindBackward;
    return !text.isEmpty() && QTextEdit::find(text, flags);
}

QMimeData* RichEdit::createMimeDataFromSelection() const
{
    auto* mime = new QMimeData;
    const QTextCursor cursor = textCursor();
    if (!cursor.hasSelection())
        return mime;
    const NotesContent part = contentOf(cursor.selectionStart(), cursor.selectionEnd());
    mime->setData(mimeType(), WriteNotes(part));
    mime->setText(pastedText(cursor.selectedText()));

    // Other programs get the pictures inside the HTML itself.
    mime->setHtml(m_notes.selfContainedHtml(QTextDocumentFragment(cursor)));

    for (const NotesParagraph& p : part.Paragraphs) {
        for (const NotesRun& run : p.Runs) {
            if (run.kind == NotesRun::Kind::Picture) {
                const QImage image = NotesDocument::decode(part.Pictures.at(run.Picture).Data);
                if (!image.isNull()) {
                    mime->setImageData(image);
                    return mime;
                }
            }
        }
    }
    return mime;
}

bool RichEdit::canInsertFromMimeData(const QMimeData* source) const
{
    return source
        && (source->hasFormat(mimeType()) || source->hasHtml() || source->hasImage() || source->hasText());
}

void RichEdit::insertFromMimeData(const QMimeData* source)
{
    if (!source)
        return;
    if (source->hasFormat(mimeType())) {
        const NotesReadResult read = ReadNotes(source->data(mimeType()));
        if (read.status == NotesReadStatus::Ok || read.status == NotesReadStatus::Damaged) {
            insertContent(read.content);
            return;
        }
    }
    if (source->hasHtml()) {
        const NotesContent content = m_notes.contentFromHtml(source->html(), currentTextStyleNo(), currentParaStyleNo());
        const bool any = std::any_of(content.Paragraphs.cbegin(), content.Paragraphs.cend(),
                                     [](const NotesParagraph& p) { return !p.Runs.isEmpty(); });
        if (any) {
            insertContent(content);
            return;
        }
    }
    if (source->hasImage()) {
        QImage image = qvariant_cast<QImage>(source->imageData());
        if (image.isNull())
            image = qvariant_cast<QPixmap>(source->imageData()).toImage();
        if (!image.isNull() && insertPicture(NotesDocument::encodePng(image)))
            return;
    }
    if (source->hasText()) {
        QTextCursor cursor = textCursor();
        cursor.insertText(pastedText(source->text()));
        setTextCursor(cursor);
        ensureCursorVisible();
    }
}

void RichEdit::mousePressEvent(QMouseEvent* event)
{
    if (event->button() == Qt::RightButton) {
        QTextCursor cursor = textCursor();
        if (cursor.hasSelection()) {
            cursor.clearSelection();
            setTextCursor(cursor);
        }
    }
    QTextEdit::mousePressEvent(event);
}

} // namespace tavio
