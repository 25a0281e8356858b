#pragma once

#include "NotesFile.h"
#include "ReadingState.h"

#include <QTextFormat>

#include <functional>
#include <memory>

class QTextBlockFormat;
class QTextCharFormat;
class QTextCursor;
class QTextDocument;
class QTextDocumentFragment;

namespace tavio {

class RichDocument;

// A notes file's content as a QTextDocument and back, without any window: the text
// and paragraphs carry the numbers of styles in two style tables, pictures are kept
// as the bytes they came in. The editor, the notes search and the export share it.
class NotesDocument final
{
public:
    // Format properties that hold the style numbers.
    static constexpr int StyleNoProperty = QTextFormat::UserProperty + 1;
    static constexpr int ParaNoProperty = QTextFormat::UserProperty + 2;

    struct Picture
    {
        QByteArray format;
        QByteArray data;
    };

    NotesDocument();
    ~NotesDocument();
    Q_DISABLE_COPY_MOVE(NotesDocument)

    QTextDocument* document() const;

    const QList<TextStyle>& textStyles() const { return m_textStyles; }
    const QList<ParaStyle>& paraStyles() const { return m_paraStyles; }
    int findOrAppendTextStyle(const TextStyle& style);
    int findOrAppendParaStyle(const ParaStyle& style);
    QTextCharFormat charFormatFor(int styleNo) const;
    QTextBlockFormat blockFormatFor(int paraNo) const;
    // The style numbers a format carries; out-of-range numbers give the first style.
    int styleNoOf(const QTextCharFormat& format) const;
    int paraNoOf(const QTextBlockFormat& format) const;

    // An empty document; the style tables stay.
    void clear();
    // Replaces the document and its style tables.
    void setContent(const NotesContent& content);
    NotesContent content() const;
    // The part of the document between two positions.
    NotesContent contentOf(int from, int to) const;
    NotesReadStatus load(const QString& path);
    bool save(const QString& path, QString* error = nullptr) const;

    // Inserts at the cursor in place of its selection; styles are matched to equal
    // ones here or appended.
    void insertContent(QTextCursor& cursor, const NotesContent& content);
    // Inserts a picture file's bytes at the cursor when they decode to a picture.
    bool insertPicture(QTextCursor& cursor, const QByteArray& bytes, int styleNo);
    // HTML from elsewhere as content in this document's style tables; what the HTML
    // leaves open is taken from the two given styles. Only pictures inside the HTML
    // itself are taken: nothing is fetched.
    NotesContent contentFromHtml(const QString& html, int baseTextStyle, int baseParaStyle) const;

    const Picture* picture(const QString& name) const;
    // The pictures of the document in the order they first occur, each once.
    QList<const Picture*> pictures() const;

    // A copy of the whole document (or a fragment of it) in which each picture is
    // named by what namer gives for it (its index in pictures() order and itself).
    std::unique_ptr<QTextDocument> copyWithPictureNames(
        const std::function<QString(int index, const Picture&)>& namer) const;
    std::unique_ptr<QTextDocument> copyWithPictureNames(
        const QTextDocumentFragment& fragment, const std::function<QString(int index, const Picture&)>& namer) const;
    // HTML that holds its pictures as data: addresses.
    QString selfContainedHtml() const;
    QString selfContainedHtml(const QTextDocumentFragment& fragment) const;
    // The plain text, paragraphs separated by line feeds.
    QString plainText() const;

    // The MIME type of a picture format for data: addresses; PNG for the others
    // (the picture is then converted, see pictureForWeb).
    static QString mimeTypeOf(const QByteArray& format);
    // A picture's bytes as a browser takes them, with their MIME type and file extension.
    struct WebPicture
    {
        QByteArray data;
        QString mimeType;
        QString extension;
    };
    static WebPicture pictureForWeb(const Picture& picture);
    // The picture decoded; null when it does not decode.
    static QImage decode(const QByteArray& data);
    static QByteArray encodePng(const QImage& image);

    quint32 background() const { return m_background; }

    // The reading theme the document is shown in. Only the shown colours follow it:
    // the content, the copies and what is exported keep the document's own colours.
    // A change of theme leaves the modified flag and clears the undo history.
    ReadingTheme theme() const { return m_theme; }
    void setTheme(ReadingTheme theme);
    int margin() const { return m_margin; }

private:
    void applyDocumentLook(quint32 background, int margin);
    QTextCharFormat charFormatFor(int styleNo, ReadingTheme theme) const;
    QTextBlockFormat blockFormatFor(int paraNo, ReadingTheme theme) const;
    // Gives every paragraph and piece of text in doc the colours of its style in theme.
    void recolour(QTextDocument* doc, ReadingTheme theme) const;
    // Writes paragraphs at the cursor; styleMap/paraMap give each style of the
    // content its number here. The first paragraph joins the cursor's paragraph.
    void insertParagraphs(QTextCursor& cursor, const NotesContent& content, const QList<int>& styleMap,
                          const QList<int>& paraMap);

    std::unique_ptr<RichDocument> m_doc;
    QList<TextStyle> m_textStyles;
    QList<ParaStyle> m_paraStyles;
    quint32 m_background = WhiteColor;
    int m_margin = 4;
    ReadingTheme m_theme = ReadingTheme::Light;
};

} // namespace tavio
