#include "NotesDocument.h"

#include "RichDocument.h"
#include "widgets/ThemeLook.h"

#include <QBuffer>
#include <QHash>
#include <QImageReader>
#include <QLoggingCategory>
#include <QPixmap>
#include <QSet>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextDocumentFragment>
#include <QTextFrame>

#include <algorithm>
#include <numeric>
#include <optional>
#include <utility>

Q_LOGGING_CATEGORY(lcNotesDocument, "tavio.notes.document")

namespace tavio {

NotesDocument::NotesDocument()
    : m_doc(std::make_unique<RichDocument>())
    , m_textStyles(DefaultTextStyles())
    , m_paraStyles(DefaultParaStyles())
{
    clear();
}

NotesDocument::~NotesDocument() = default;

QTextDocument* NotesDocument::document() const
{
    return m_doc.get();
}

int NotesDocument::findOrAppendTextStyle(const TextStyle& style)
{
    return FindOrAppendTextStyle(m_textStyles, style);
}

int NotesDocument::findOrAppendParaStyle(const ParaStyle& style)
{
    return FindOrAppendParaStyle(m_paraStyles, style);
}

int NotesDocument::styleNoOf(const QTextCharFormat& format) const
{
    const int no = format.hasProperty(StyleNoProperty) ? format.intProperty(StyleNoProperty) : 0;
    return no >= 0 && no < m_textStyles.size() ? no : 0;
}

int NotesDocument::paraNoOf(const QTextBlockFormat& format) const
{
    const int no = format.hasProperty(ParaNoProperty) ? format.intProperty(ParaNoProperty) : 0;
    return no >= 0 && no < m_paraStyles.size() ? no : 0;
}

QTextCharFormat NotesDocument::charFormatFor(int styleNo) const
{
    return charFormatFor(styleNo, m_theme);
}

QTextCharFormat NotesDocument::charFormatFor(int styleNo, ReadingTheme theme) const
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
    f.setForeground(ShownTextColour(QColor::fromRgb(s.Color), theme));
    if (s.BackColor != TransparentColor)
        f.setBackground(ShownBackColour(QColor::fromRgb(s.BackColor), theme));
    f.setProperty(StyleNoProperty, styleNo);
    return f;
}

QTextBlockFormat NotesDocument::blockFormatFor(int paraNo) const
{
    return blockFormatFor(paraNo, m_theme);
}

QTextBlockFormat NotesDocument::blockFormatFor(int paraNo, ReadingTheme theme) const
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
        f.setBackground(ShownBackColour(QColor::fromRgb(s.Background), theme));
    f.setProperty(ParaNoProperty, paraNo);
    return f;
}

void NotesDocument::applyDocumentLook(quint32 background, int margin)
{
    m_background = background == TransparentColor ? WhiteColor : (background & 0xFFFFFF);
    m_margin = margin;
    m_doc->setDocumentMargin(margin);
    QTextFrameFormat frame = m_doc->rootFrame()->frameFormat();
    frame.setBackground(ShownBackColour(QColor::fromRgb(m_background), m_theme));
    m_doc->rootFrame()->setFrameFormat(frame);
}

void NotesDocument::recolour(QTextDocument* doc, ReadingTheme theme) const
{
    struct Part
    {
        int from, to;
        QTextCharFormat format;
    };
    QList<Part> parts;
    QTextCursor edit(doc);
    for (QTextBlock block = doc->begin(); block.isValid(); block = block.next()) {
        QTextBlockFormat bf = block.blockFormat();
        const QTextBlockFormat shownPara = blockFormatFor(paraNoOf(bf), theme);
        if (shownPara.hasProperty(QTextFormat::BackgroundBrush))
            bf.setBackground(shownPara.background());
        else
            bf.clearBackground();
        QTextCharFormat bcf = block.charFormat();
        const QTextCharFormat shownBlockText = charFormatFor(styleNoOf(bcf), theme);
        bcf.setForeground(shownBlockText.foreground());
        edit.setPosition(block.position());
        edit.setBlockFormat(bf);
        edit.setBlockCharFormat(bcf);
        // Positions first, changes after: a change may merge the pieces being walked.
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QTextFragment piece = it.fragment();
            parts.append({piece.position(), piece.position() + piece.length(), piece.charFormat()});
        }
    }
    for (Part& part : parts) {
        const QTextCharFormat shown = charFormatFor(styleNoOf(part.format), theme);
        part.format.setForeground(shown.foreground());
        if (shown.hasProperty(QTextFormat::BackgroundBrush))
            part.format.setBackground(shown.background());
        else
            part.format.clearBackground();
        edit.setPosition(part.from);
        edit.setPosition(part.to, QTextCursor::KeepAnchor);
        edit.setCharFormat(part.format);
    }
}

void NotesDocument::setTheme(ReadingTheme theme)
{
    if (theme == m_theme)
        return;
    m_theme = theme;
    const bool modified = m_doc->isModified();
    m_doc->setUndoRedoEnabled(false);
    recolour(m_doc.get(), theme);
    applyDocumentLook(m_background, m_margin);
    m_doc->setUndoRedoEnabled(true);
    m_doc->setModified(modified);
}

void NotesDocument::clear()
{
    m_doc->setUndoRedoEnabled(false);
    m_doc->clear();
    m_doc->clearPictures();
    applyDocumentLook(m_background, m_margin);
    QTextCursor cursor(m_doc.get());
    cursor.setBlockFormat(blockFormatFor(0));
    cursor.setBlockCharFormat(charFormatFor(0));
    cursor.setCharFormat(charFormatFor(0));
    m_doc->setUndoRedoEnabled(true);
    m_doc->setModified(false);
}

NotesReadStatus NotesDocument::load(const QString& path)
{
    NotesReadResult result = LoadNotesFile(path);
    setContent(result.content);
    return result.status;
}

bool NotesDocument::save(const QString& path, QString* error) const
{
    FileError fileError;
    if (SaveNotesFile(path, content(), &fileError))
        return true;
    if (error)
        *error = fileError.message;
    return false;
}

void NotesDocument::setContent(const NotesContent& content)
{
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

    QTextCursor cursor(m_doc.get());
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
    m_doc->setModified(false);
}

void NotesDocument::insertParagraphs(QTextCursor& cursor, const NotesContent& content, const QList<int>& styleMap,
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
                    qCWarning(lcNotesDocument) << "skipping a picture of unknown format";
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

NotesContent NotesDocument::content() const
{
    return contentOf(0, m_doc->characterCount() - 1);
}

NotesContent NotesDocument::contentOf(int from, int to) const
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

void NotesDocument::insertContent(QTextCursor& cursor, const NotesContent& content)
{
    // Each style of the content is matched to an equal one here or appended.
    QList<int> styleMap;
    for (const TextStyle& s : content.TextStyles)
        styleMap.append(findOrAppendTextStyle(s));
    QList<int> paraMap;
    for (const ParaStyle& s : content.ParaStyles)
        paraMap.append(findOrAppendParaStyle(s));
    cursor.beginEditBlock();
    cursor.removeSelectedText();
    insertParagraphs(cursor, content, styleMap, paraMap);
    cursor.endEditBlock();
}

bool NotesDocument::insertPicture(QTextCursor& cursor, const QByteArray& bytes, int styleNo)
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
    format.merge(charFormatFor(styleNo));
    format.setName(name);
    format.setWidth(size.width());
    format.setHeight(size.height());
    format.setVerticalAlignment(QTextCharFormat::AlignBaseline);
    cursor.insertImage(format);
    return true;
}

} // namespace tavio
