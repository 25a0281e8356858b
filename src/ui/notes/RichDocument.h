#pragma once

// Inside the notes document: how pictures are recognised, decoded and named, and
// the QTextDocument that keeps them. Shared by NotesDocument's source files only.

#include "NotesDocument.h"

#include <QBuffer>
#include <QColor>
#include <QHash>
#include <QImage>
#include <QImageReader>
#include <QLoggingCategory>
#include <QTextDocument>
#include <QUrl>

#include <optional>

Q_DECLARE_LOGGING_CATEGORY(lcNotesDocument)

namespace tavio::notesdetail {

inline const QString PictureScheme = QStringLiteral("tavio-picture");

// Picture formats a notes document takes. Readers that recognise almost any bytes
// (plain-text bitmaps, TGA, WBMP) would turn a file that is no picture into noise.
inline bool acceptedFormat(const QByteArray& format)
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
inline std::optional<PictureProbe> probePicture(const QByteArray& data)
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

inline QImage decodePicture(const QByteArray& data)
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
inline QSize shownSize(QSize size)
{
    if (size.width() > MaxPictureSide || size.height() > MaxPictureSide)
        size = size.scaled(MaxPictureSide, MaxPictureSide, Qt::KeepAspectRatio);
    return size.expandedTo(QSize(1, 1));
}

inline QString mimeTypeOfImpl(const QByteArray& format)
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

inline QByteArray encodePngImpl(const QImage& image)
{
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    return png;
}

inline quint32 rgbOf(const QColor& color)
{
    return quint32(color.rgb()) & 0xFFFFFF;
}

} // namespace tavio::notesdetail

namespace tavio {

using namespace notesdetail;

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

} // namespace tavio
