// The notes document and HTML: HTML from elsewhere as notes content, and copies of
// the document whose pictures are named for a web page or files beside one.
#include "RichDocument.h"

#include <QPixmap>
#include <QSet>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocumentFragment>
#include <QTextFrame>

#include <algorithm>

namespace tavio {

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
    QTextFrameFormat frame = m_doc->rootFrame()->frameFormat();
    frame.setBackground(QColor::fromRgb(m_background));
    copy->rootFrame()->setFrameFormat(frame);
    return copy;
}

std::unique_ptr<QTextDocument> NotesDocument::copyWithPictureNames(
    const QTextDocumentFragment& fragment, const std::function<QString(int index, const Picture&)>& namer) const
{
    auto copy = std::make_unique<QTextDocument>();
    copy->setDefaultFont(m_doc->defaultFont());
    QTextCursor into(copy.get());
    into.insertFragment(fragment);
    // What leaves the editor has the document's own colours, whatever it is shown in.
    if (m_theme != ReadingTheme::Light)
        recolour(copy.get(), ReadingTheme::Light);
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
