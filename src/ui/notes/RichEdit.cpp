#include "RichEdit.h"

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

Q_LOGGING_CATEGORY(lcRichEdit, "tavio.notes.editor")

namespace tavio {

namespace {

const QString PictureScheme = QStringLiteral("tavio-picture");

// Picture formats a notes document takes. Readers that recognise almost any bytes
// (plain-text bitmaps, TGA, WBMP) would turn a file that is no picture into noise.
bool acceptedFormat(const QByteArray& format)
{
    static const QByteArrayList accepted = {"bmp", "jpeg", "jpg", "ico", "cur", "png", "gif", "tif", "tiff", "webp"};
    return accepted.contains(format.toLower());
}

struct PictureProbe
{
    QByteArray format;
    QSize size;
};

// What a picture is and how large, from its header where the format allows.
std::optional<PictureProbe> probePicture(const QByteArray& data)
{
    QBuffer buffer;
    buffer.setData(data);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer);
    reader.setDecideFormatFromContent(true);
    if (!reader.canRead() || !acceptedFormat(reader.format()))
        return std::nullopt;
    PictureProbe probe{reader.format(), reader.size()};
    if (!probe.size.isValid() || probe.size.isEmpty()) {
        const QImage image = reader.read();
        if (image.isNull())
            return std::nullopt;
        probe.size = image.size();
    }
    return probe;
}

QImage decodePicture(const QByteArray& data)
{
    QBuffer buffer;
    buffer.setData(data);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer);
    reader.setDecideFormatFromContent(true);
    if (!acceptedFormat(reader.format()))
        return {};
    return reader.read();
}

// A very large picture is shown scaled down to fit, keeping its proportions.
QSize shownSize(QSize size)
{
    if (size.width() > MaxPictureSide || size.height() > MaxPictureSide)
        size = size.scaled(MaxPictureSide, MaxPictureSide, Qt::KeepAspectRatio);
    return size.expandedTo(QSize(1, 1));
}

QString mimeTypeOf(const QByteArray& format)
{
    const QByteArray f = format.toLower();
    if (f == "jpeg" || f == "jpg")
        return QStringLiteral("image/jpeg");
    if (f == "png" || f == "gif" || f == "bmp" || f == "webp" || f == "tiff")
        return QStringLiteral("image/") + QString::fromLatin1(f);
    if (f == "ico" || f == "cur")
        return QStringLiteral("image/x-icon");
    return {};
}

QByteArray encodePng(const QImage& image)
{
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    return png;
}

quint32 rgbOf(const QColor& color)
{
    return quint32(color.rgb()) & 0xFFFFFF;
}

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

// The document keeps its pictures as the bytes they came in and decodes one only
// when it is first drawn. It loads no other resource: no file, no network.
class RichDocument final : public QTextDocument
{
public:
    struct Picture
    {
        QByteArray format;
        QByteArray data;
    };

    explicit RichDocument(QObject* parent = nullptr)
        : QTextDocument(parent)
    {
    }

    QString addPicture(const QByteArray& format, const QByteArray& data)
    {
        const QString name = PictureScheme + QLatin1Char(':') + QString::number(++m_next);
        m_pictures.insert(name, Picture{format, data});
        return name;
    }
    const Picture* picture(const QString& name) const
    {
        const auto it = m_pictures.constFind(name);
        return it == m_pictures.cend() ? nullptr : &*it;
    }
    void clearPictures() { m_pictures.clear(); }

protected:
    QVariant loadResource(int type, const QUrl& name) override
    {
        if (type == QTextDocument::ImageResource) {
            if (const Picture* p = picture(name.toString())) {
                const QImage image = decodePicture(p->data);
                if (image.isNull())
                    qCWarning(lcRichEdit) << "picture" << name << "does not decode";
                addResource(type, name, image);
                return image;
            }
            if (name.scheme() == QLatin1String("data"))
                return QTextDocument::loadResource(type, name);
        }
        return {};
    }

private:
    QHash<QString, Picture> m_pictures;
    // Names are never reused, so a cached picture can never stand for another.
    quint64 m_next = 0;
};

QString RichEdit::mimeType()
{
    return QStringLiteral("application/x-tavio-notes");
}

RichEdit::RichEdit(QWidget* parent)
    : QTextEdit(parent)
    , m_doc(new RichDocument(this))
    , m_textStyles(DefaultTextStyles())
    , m_paraStyles(DefaultParaStyles())
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

RichEdit::~RichEdit() = default;

int RichEdit::findOrAppendTextStyle(const TextStyle& style)
{
    return FindOrAppendTextStyle(m_textStyles, style);
}

int RichEdit::findOrAppendParaStyle(const ParaStyle& style)
{
    return FindOrAppendParaStyle(m_paraStyles, style);
}

int RichEdit::styleNoOf(const QTextCharFormat& format) const
{
    const int no = format.hasProperty(StyleNoProperty) ? format.intProperty(StyleNoProperty) : 0;
    return no >= 0 && no < m_textStyles.size() ? no : 0;
}

int RichEdit::paraNoOf(const QTextBlockFormat& format) const
{
    const int no = format.hasProperty(ParaNoProperty) ? format.intProperty(ParaNoProperty) : 0;
    return no >= 0 && no < m_paraStyles.size() ? no : 0;
}

int RichEdit::currentTextStyleNo() const
{
    return styleNoOf(textCursor().charFormat());
}

int RichEdit::currentParaStyleNo() const
{
    return paraNoOf(textCursor().blockFormat());
}

QTextCharFormat RichEdit::charFormatFor(int styleNo) const
{
    const TextStyle& s = m_textStyles.at(styleNo >= 0 && styleNo < m_textStyles.size() ? styleNo : 0);
    QTextCharFormat f;
    if (!s.FontName.isEmpty())
        f.setFontFamilies(QStringList{s.FontName});
    f.setFontPointSize(ShownFontSize(s.Size));
    f.setFontWeight(s.Bold ? QFont::Bold : QFont::Normal);
    f.setFontItalic(s.Italic);
    f.setFontUnderline(s.Underline);
    f.setFontStrikeOut(s.StrikeOut);
    f.setForeground(QColor::fromRgb(s.Color));
    if (s.BackColor != TransparentColor)
        f.setBackground(QColor::fromRgb(s.BackColor));
    f.setProperty(StyleNoProperty, styleNo);
    return f;
}

QTextBlockFormat RichEdit::blockFormatFor(int paraNo) const
{
    const ParaStyle& s = m_paraStyles.at(paraNo >= 0 && paraNo < m_paraStyles.size() ? paraNo : 0);
    QTextBlockFormat f;
    switch (s.Alignment) {
    case ParaAlignment::Left: f.setAlignment(Qt::AlignLeft); break;
    case ParaAlignment::Right: f.setAlignment(Qt::AlignRight); break;
    case ParaAlignment::Center: f.setAlignment(Qt::AlignHCenter); break;
    case ParaAlignment::Justify: f.setAlignment(Qt::AlignJustify); break;
    }
    f.setLeftMargin(ShownIndent(s.LeftIndent));
    if (s.Background != TransparentColor)
        f.setBackground(QColor::fromRgb(s.Background));
    f.setProperty(ParaNoProperty, paraNo);
    return f;
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
        if (to < 0 || to >= m_textStyles.size())
            to = old;
        converted.insert(old, to);
        return to;
    };
    QTextCursor cursor = textCursor();
    if (!cursor.hasSelection()) {
        const int old = styleNoOf(cursor.charFormat());
        const int to = convert(old);
        if (to != old) {
            // Only what is typed next changes; the document itself does not.
            const bool wasModified = isModified();
            const bool wasLoading = std::exchange(m_loading, true);
            cursor.setCharFormat(charFormatFor(to));
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
            const int old = styleNoOf(fragment.charFormat());
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
            edit.setCharFormat(charFormatFor(r.style));
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
        const int old = paraNoOf(block.blockFormat());
        auto it = converted.constFind(old);
        if (it == converted.cend()) {
            int to = onParaStyleConversion(old, code);
            if (to < 0 || to >= m_paraStyles.size())
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
            edit.setBlockFormat(blockFormatFor(para));
        }
        edit.endEditBlock();
    }
    checkCurrentStyles(true);
}

void RichEdit::applyDocumentLook(quint32 background, int margin)
{
    m_background = background == TransparentColor ? WhiteColor : (background & 0xFFFFFF);
    m_margin = margin;
    m_doc->setDocumentMargin(margin);
    QTextFrameFormat frame = m_doc->rootFrame()->frameFormat();
    frame.setBackground(QColor::fromRgb(m_background));
    m_doc->rootFrame()->setFrameFormat(frame);
}

void RichEdit::clearDocument()
{
    const bool wasLoading = std::exchange(m_loading, true);
    m_doc->setUndoRedoEnabled(false);
    m_doc->clear();
    m_doc->clearPictures();
    applyDocumentLook(m_background, m_margin);
    QTextCursor cursor(m_doc);
    cursor.setBlockFormat(blockFormatFor(0));
    cursor.setBlockCharFormat(charFormatFor(0));
    cursor.setCharFormat(charFormatFor(0));
    m_doc->setUndoRedoEnabled(true);
    m_doc->setModified(false);
    setTextCursor(cursor);
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
    FileError fileError;
    if (SaveNotesFile(path, content(), &fileError))
        return true;
    if (error)
        *error = fileError.message;
    return false;
}

void RichEdit::setContent(const NotesContent& content)
{
    const bool wasLoading = std::exchange(m_loading, true);
    m_textStyles = content.TextStyles.isEmpty() ? DefaultTextStyles() : content.TextStyles;
    m_paraStyles = content.ParaStyles.isEmpty() ? DefaultParaStyles() : content.ParaStyles;
    m_doc->setUndoRedoEnabled(false);
    m_doc->clear();
    m_doc->clearPictures();
    applyDocumentLook(content.Background, std::clamp(content.Margin, 0, 200));

    QList<int> styleMap(m_textStyles.size());
    std::iota(styleMap.begin(), styleMap.end(), 0);
    QList<int> paraMap(m_paraStyles.size());
    std::iota(paraMap.begin(), paraMap.end(), 0);

    QTextCursor cursor(m_doc);
    int firstPara = 0;
    int firstStyle = 0;
    if (!content.Paragraphs.isEmpty()) {
        const NotesParagraph& p = content.Paragraphs.first();
        firstPara = paraMap.value(p.ParaStyleNo, 0);
        for (const NotesRun& run : p.Runs) {
            if (run.kind == NotesRun::Kind::Text) {
                firstStyle = styleMap.value(run.StyleNo, 0);
                break;
            }
        }
    }
    // One edit block: the layout runs once for the whole document, not per insertion.
    cursor.beginEditBlock();
    cursor.setBlockFormat(blockFormatFor(firstPara));
    cursor.setBlockCharFormat(charFormatFor(firstStyle));
    insertParagraphs(cursor, content, styleMap, paraMap);
    cursor.endEditBlock();

    m_doc->setUndoRedoEnabled(true);
    QTextCursor start(m_doc);
    start.setCharFormat(charFormatFor(styleNoOf(start.charFormat())));
    setTextCursor(start);
    m_doc->setModified(false);
    m_loading = wasLoading;
    checkCurrentStyles(true);
}

void RichEdit::insertParagraphs(QTextCursor& cursor, const NotesContent& content, const QList<int>& styleMap,
                                const QList<int>& paraMap)
{
    QHash<int, QString> names; // picture index of the content -> name here; empty: unusable
    int lastStyle = styleNoOf(cursor.charFormat());
    for (qsizetype i = 0; i < content.Paragraphs.size(); ++i) {
        const NotesParagraph& p = content.Paragraphs.at(i);
        if (i > 0) {
            int style = lastStyle;
            for (const NotesRun& run : p.Runs) {
                if (run.kind == NotesRun::Kind::Text) {
                    style = styleMap.value(run.StyleNo, 0);
                    break;
                }
            }
            cursor.insertBlock(blockFormatFor(paraMap.value(p.ParaStyleNo, 0)), charFormatFor(style));
        }
        for (const NotesRun& run : p.Runs) {
            if (run.kind == NotesRun::Kind::Text) {
                lastStyle = styleMap.value(run.StyleNo, 0);
                const QString text = SanitizeRunText(run.Text);
                if (!text.isEmpty())
                    cursor.insertText(text, charFormatFor(lastStyle));
                continue;
            }
            if (run.Picture < 0 || run.Picture >= content.Pictures.size())
                continue;
            auto name = names.constFind(run.Picture);
            QSize natural;
            if (name == names.cend()) {
                const NotesPicture& picture = content.Pictures.at(run.Picture);
                const auto probe = probePicture(picture.Data);
                name = names.insert(run.Picture, probe ? m_doc->addPicture(probe->format, picture.Data) : QString());
                if (probe)
                    natural = probe->size;
                else
                    qCWarning(lcRichEdit) << "skipping a picture of unknown format";
            }
            if (name->isEmpty())
                continue;
            QSize size(run.Width, run.Height);
            if (size.isEmpty()) {
                if (!natural.isValid()) {
                    const auto probe = probePicture(m_doc->picture(*name)->data);
                    natural = probe ? probe->size : QSize(1, 1);
                }
                size = natural;
            }
            size = shownSize(size);
            QTextImageFormat image;
            image.merge(charFormatFor(lastStyle));
            image.setName(*name);
            image.setWidth(size.width());
            image.setHeight(size.height());
            image.setVerticalAlignment(QTextCharFormat::AlignBaseline);
            cursor.insertImage(image);
        }
    }
}

NotesContent RichEdit::content() const
{
    return contentOf(0, m_doc->characterCount() - 1);
}

NotesContent RichEdit::contentOf(int from, int to) const
{
    NotesContent c;
    c.TextStyles = m_textStyles;
    c.ParaStyles = m_paraStyles;
    c.Background = m_background;
    c.Margin = m_margin;
    QHash<QString, int> pictureIndex;
    from = std::max(from, 0);
    for (QTextBlock block = m_doc->findBlock(from); block.isValid() && block.position() <= to; block = block.next()) {
        NotesParagraph p;
        p.ParaStyleNo = paraNoOf(block.blockFormat());
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QTextFragment fragment = it.fragment();
            const int start = fragment.position();
            const int a = std::max(start, from);
            const int b = std::min(start + fragment.length(), to);
            if (a >= b)
                continue;
            const QTextCharFormat format = fragment.charFormat();
            if (format.isImageFormat()) {
                const QTextImageFormat image = format.toImageFormat();
                const RichDocument::Picture* picture = m_doc->picture(image.name());
                if (!picture)
                    continue;
                auto index = pictureIndex.constFind(image.name());
                if (index == pictureIndex.cend()) {
                    index = pictureIndex.insert(image.name(), int(c.Pictures.size()));
                    c.Pictures.append({picture->format, picture->data});
                }
                NotesRun run;
                run.kind = NotesRun::Kind::Picture;
                run.Picture = *index;
                run.Width = std::max(0, qRound(image.width()));
                run.Height = std::max(0, qRound(image.height()));
                for (int k = a; k < b; ++k)
                    p.Runs.append(run);
                continue;
            }
            const int style = styleNoOf(format);
            const QString text = SanitizeRunText(fragment.text().mid(a - start, b - a));
            if (text.isEmpty())
                continue;
            if (!p.Runs.isEmpty() && p.Runs.last().kind == NotesRun::Kind::Text && p.Runs.last().StyleNo == style) {
                p.Runs.last().Text += text;
                continue;
            }
            NotesRun run;
            run.StyleNo = style;
            run.Text = text;
            p.Runs.append(std::move(run));
        }
        c.Paragraphs.append(std::move(p));
    }
    return c;
}

void RichEdit::insertContent(const NotesContent& content)
{
    // Each style of the content is matched to an equal one here or appended.
    QList<int> styleMap;
    for (const TextStyle& s : content.TextStyles)
        styleMap.append(findOrAppendTextStyle(s));
    QList<int> paraMap;
    for (const ParaStyle& s : content.ParaStyles)
        paraMap.append(findOrAppendParaStyle(s));
    QTextCursor cursor = textCursor();
    cursor.beginEditBlock();
    cursor.removeSelectedText();
    insertParagraphs(cursor, content, styleMap, paraMap);
    cursor.endEditBlock();
    setTextCursor(cursor);
    ensureCursorVisible();
    checkCurrentStyles(true);
}

bool RichEdit::insertPicture(const QByteArray& bytes)
{
    const auto probe = probePicture(bytes);
    if (!probe)
        return false;
    // The picture must decode as a whole, not only its header.
    const QImage image = decodePicture(bytes);
    if (image.isNull())
        return false;
    const QString name = m_doc->addPicture(probe->format, bytes);
    m_doc->addResource(QTextDocument::ImageResource, QUrl(name), image);
    const QSize size = shownSize(image.size());
    QTextImageFormat format;
    format.merge(charFormatFor(currentTextStyleNo()));
    format.setName(name);
    format.setWidth(size.width());
    format.setHeight(size.height());
    format.setVerticalAlignment(QTextCharFormat::AlignBaseline);
    QTextCursor cursor = textCursor();
    cursor.insertImage(format);
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
    RichDocument html;
    QTextCursor into(&html);
    into.insertFragment(QTextDocumentFragment(cursor));
    QList<std::pair<int, QTextImageFormat>> pictures;
    for (QTextBlock block = html.begin(); block.isValid(); block = block.next()) {
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QTextFragment fragment = it.fragment();
            if (!fragment.charFormat().isImageFormat())
                continue;
            QTextImageFormat image = fragment.charFormat().toImageFormat();
            const RichDocument::Picture* picture = m_doc->picture(image.name());
            if (!picture)
                continue;
            QString type = mimeTypeOf(picture->format);
            QByteArray data = picture->data;
            if (type.isEmpty()) {
                type = QStringLiteral("image/png");
                data = encodePng(decodePicture(picture->data));
            }
            image.setName(QStringLiteral("data:") + type + QStringLiteral(";base64,")
                          + QString::fromLatin1(data.toBase64()));
            for (int k = 0; k < fragment.length(); ++k)
                pictures.append({fragment.position() + k, image});
        }
    }
    QTextCursor edit(&html);
    for (const auto& [position, image] : pictures) {
        edit.setPosition(position);
        edit.setPosition(position + 1, QTextCursor::KeepAnchor);
        edit.setCharFormat(image);
    }
    mime->setHtml(html.toHtml());

    for (const NotesParagraph& p : part.Paragraphs) {
        for (const NotesRun& run : p.Runs) {
            if (run.kind == NotesRun::Kind::Picture) {
                const QImage image = decodePicture(part.Pictures.at(run.Picture).Data);
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
        const NotesContent content = contentFromHtml(source->html());
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
        if (!image.isNull() && insertPicture(encodePng(image)))
            return;
    }
    if (source->hasText()) {
        QTextCursor cursor = textCursor();
        cursor.insertText(pastedText(source->text()));
        setTextCursor(cursor);
        ensureCursorVisible();
    }
}

NotesContent RichEdit::contentFromHtml(const QString& html)
{
    NotesContent c;
    c.TextStyles = m_textStyles;
    c.ParaStyles = m_paraStyles;
    const TextStyle base = currentTextStyle();
    const ParaStyle baseParagraph = currentParaStyle();
    RichDocument foreign;
    foreign.setHtml(html);
    for (QTextBlock block = foreign.begin(); block.isValid(); block = block.next()) {
        const QTextBlockFormat bf = block.blockFormat();
        ParaStyle ps = baseParagraph;
        const Qt::Alignment h = bf.alignment() & Qt::AlignHorizontal_Mask;
        ps.Alignment = h & Qt::AlignRight ? ParaAlignment::Right
            : h & Qt::AlignHCenter        ? ParaAlignment::Center
            : h & Qt::AlignJustify        ? ParaAlignment::Justify
                                          : ParaAlignment::Left;
        ps.LeftIndent = std::clamp(qRound(bf.leftMargin()), 0, MaxIndent);
        ps.Background = bf.background().style() == Qt::NoBrush ? TransparentColor : rgbOf(bf.background().color());
        NotesParagraph p;
        p.ParaStyleNo = FindOrAppendParaStyle(c.ParaStyles, ps);
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QTextFragment fragment = it.fragment();
            const QTextCharFormat cf = fragment.charFormat();
            if (cf.isImageFormat()) {
                // Only pictures inside the HTML itself; nothing is fetched.
                const QTextImageFormat image = cf.toImageFormat();
                if (!image.name().startsWith(QLatin1String("data:")))
                    continue;
                const QVariant v = foreign.resource(QTextDocument::ImageResource, QUrl(image.name()));
                QImage picture = v.typeId() == QMetaType::QPixmap ? qvariant_cast<QPixmap>(v).toImage()
                                                                   : qvariant_cast<QImage>(v);
                if (picture.isNull())
                    continue;
                NotesRun run;
                run.kind = NotesRun::Kind::Picture;
                run.Picture = int(c.Pictures.size());
                run.Width = image.width() > 0 ? qRound(image.width()) : 0;
                run.Height = image.height() > 0 ? qRound(image.height()) : 0;
                if (run.Width == 0 || run.Height == 0)
                    run.Width = run.Height = 0;
                c.Pictures.append({"png", encodePng(picture)});
                for (int k = 0; k < fragment.length(); ++k)
                    p.Runs.append(run);
                continue;
            }
            TextStyle ts = base;
            const QStringList families = cf.fontFamilies().toStringList();
            if (!families.isEmpty() && !families.first().isEmpty())
                ts.FontName = families.first();
            if (cf.hasProperty(QTextFormat::FontPointSize) && cf.fontPointSize() > 0)
                ts.Size = qRound(cf.fontPointSize());
            else if (cf.hasProperty(QTextFormat::FontPixelSize) && cf.intProperty(QTextFormat::FontPixelSize) > 0)
                ts.Size = qRound(cf.intProperty(QTextFormat::FontPixelSize) * 0.75);
            if (cf.hasProperty(QTextFormat::FontWeight))
                ts.Bold = cf.fontWeight() >= QFont::DemiBold;
            if (cf.hasProperty(QTextFormat::FontItalic))
                ts.Italic = cf.fontItalic();
            if (cf.hasProperty(QTextFormat::TextUnderlineStyle) || cf.hasProperty(QTextFormat::FontUnderline))
                ts.Underline = cf.fontUnderline();
            if (cf.hasProperty(QTextFormat::FontStrikeOut))
                ts.StrikeOut = cf.fontStrikeOut();
            if (cf.foreground().style() != Qt::NoBrush)
                ts.Color = rgbOf(cf.foreground().color());
            if (cf.background().style() != Qt::NoBrush)
                ts.BackColor = rgbOf(cf.background().color());
            const QString text = SanitizeRunText(fragment.text());
            if (text.isEmpty())
                continue;
            NotesRun run;
            run.StyleNo = FindOrAppendTextStyle(c.TextStyles, ts);
            run.Text = text;
            p.Runs.append(std::move(run));
        }
        c.Paragraphs.append(std::move(p));
    }
    return c;
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
