#include "NotesDocument.h"

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

QString mimeTypeOfImpl(const QByteArray& format)
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

QByteArray encodePngImpl(const QImage& image)
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

} // namespace

// The document keeps its pictures as the bytes they came in and decodes one only
// when it is first drawn. It loads no other resource: no file, no network.
class RichDocument final : public QTextDocument
{
public:
    using Picture = NotesDocument::Picture;

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
    // In the order of their names, which is the order they were added in.
    const QHash<QString, Picture>& all() const { return m_pictures; }

protected:
    QVariant loadResource(int type, const QUrl& name) override
    {
        if (type == QTextDocument::ImageResource) {
            if (const Picture* p = picture(name.toString())) {
                const QImage image = decodePicture(p->data);
                if (image.isNull())
                    qCWarning(lcNotesDocument) << "picture" << name << "does not decode";
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

QTextBlockFormat NotesDocument::blockFormatFor(int paraNo) const
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

void NotesDocument::applyDocumentLook(quint32 background, int margin)
{
    m_background = background == TransparentColor ? WhiteColor : (background & 0xFFFFFF);
    m_margin = margin;
    m_doc->setDocumentMargin(margin);
    QTextFrameFormat frame = m_doc->rootFrame()->frameFormat();
    frame.setBackground(QColor::fromRgb(m_background));
    m_doc->rootFrame()->setFrameFormat(frame);
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

NotesContent NotesDocument::contentFromHtml(const QString& html, int baseTextStyle, int baseParaStyle) const
{
    NotesContent c;
    c.TextStyles = m_textStyles;
    c.ParaStyles = m_paraStyles;
    const TextStyle base = m_textStyles.value(baseTextStyle, m_textStyles.first());
    const ParaStyle baseParagraph = m_paraStyles.value(baseParaStyle, m_paraStyles.first());
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


const NotesDocument::Picture* NotesDocument::picture(const QString& name) const
{
    return m_doc->picture(name);
}

QList<const NotesDocument::Picture*> NotesDocument::pictures() const
{
    QList<const Picture*> list;
    QSet<QString> seen;
    for (QTextBlock block = m_doc->begin(); block.isValid(); block = block.next()) {
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QTextCharFormat format = it.fragment().charFormat();
            if (!format.isImageFormat())
                continue;
            const QString name = format.toImageFormat().name();
            const Picture* p = m_doc->picture(name);
            if (p && !seen.contains(name)) {
                seen.insert(name);
                list.append(p);
            }
        }
    }
    return list;
}

std::unique_ptr<QTextDocument> NotesDocument::copyWithPictureNames(
    const std::function<QString(int index, const Picture&)>& namer) const
{
    auto copy = copyWithPictureNames(QTextDocumentFragment(m_doc.get()), namer);
    copy->setDocumentMargin(m_doc->documentMargin());
    copy->rootFrame()->setFrameFormat(m_doc->rootFrame()->frameFormat());
    return copy;
}

std::unique_ptr<QTextDocument> NotesDocument::copyWithPictureNames(
    const QTextDocumentFragment& fragment, const std::function<QString(int index, const Picture&)>& namer) const
{
    auto copy = std::make_unique<QTextDocument>();
    copy->setDefaultFont(m_doc->defaultFont());
    QTextCursor into(copy.get());
    into.insertFragment(fragment);
    QHash<QString, QString> names;
    QList<std::pair<int, QTextImageFormat>> renamed;
    for (QTextBlock block = copy->begin(); block.isValid(); block = block.next()) {
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QTextFragment part = it.fragment();
            if (!part.charFormat().isImageFormat())
                continue;
            QTextImageFormat image = part.charFormat().toImageFormat();
            const Picture* p = m_doc->picture(image.name());
            if (!p)
                continue;
            auto name = names.constFind(image.name());
            if (name == names.cend())
                name = names.insert(image.name(), namer(int(names.size()), *p));
            image.setName(*name);
            for (int k = 0; k < part.length(); ++k)
                renamed.append({part.position() + k, image});
        }
    }
    QTextCursor edit(copy.get());
    for (const auto& [position, image] : renamed) {
        edit.setPosition(position);
        edit.setPosition(position + 1, QTextCursor::KeepAnchor);
        edit.setCharFormat(image);
    }
    return copy;
}

namespace {

QString dataAddress(const NotesDocument::Picture& p)
{
    const NotesDocument::WebPicture web = NotesDocument::pictureForWeb(p);
    return QStringLiteral("data:") + web.mimeType + QStringLiteral(";base64,") + QString::fromLatin1(web.data.toBase64());
}

} // namespace

QString NotesDocument::selfContainedHtml() const
{
    return copyWithPictureNames([](int, const Picture& p) { return dataAddress(p); })->toHtml();
}

QString NotesDocument::selfContainedHtml(const QTextDocumentFragment& fragment) const
{
    return copyWithPictureNames(fragment, [](int, const Picture& p) { return dataAddress(p); })->toHtml();
}

QString NotesDocument::plainText() const
{
    QString text = m_doc->toPlainText();
    text.replace(QChar::ParagraphSeparator, QLatin1Char('\n'));
    text.replace(QChar::LineSeparator, QLatin1Char('\n'));
    text.remove(QChar::ObjectReplacementCharacter);
    return text;
}

QString NotesDocument::mimeTypeOf(const QByteArray& format)
{
    return mimeTypeOfImpl(format);
}

NotesDocument::WebPicture NotesDocument::pictureForWeb(const Picture& picture)
{
    const QString type = mimeTypeOf(picture.format);
    if (type.isEmpty() || type == QLatin1String("image/x-icon") || type == QLatin1String("image/tiff"))
        return {encodePng(decode(picture.data)), QStringLiteral("image/png"), QStringLiteral("png")};
    QString extension = type.mid(6);
    if (extension == QLatin1String("jpeg"))
        extension = QStringLiteral("jpg");
    return {picture.data, type, extension};
}

QImage NotesDocument::decode(const QByteArray& data)
{
    return decodePicture(data);
}

QByteArray NotesDocument::encodePng(const QImage& image)
{
    return encodePngImpl(image);
}

} // namespace tavio
