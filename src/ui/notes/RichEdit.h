#pragma once

#include "NotesFile.h"

#include <QTextEdit>
#include <QTextFormat>

#include <functional>

class QTextBlockFormat;
class QTextCharFormat;

namespace tavio {

class RichDocument;

// The rich-text editor of the notes: a document whose text and paragraphs carry the
// numbers of styles in two style tables, pictures kept as the bytes they came in,
// style conversions, search, and a clipboard that keeps styles and pictures.
class RichEdit final : public QTextEdit
{
    Q_OBJECT
public:
    // Format properties that hold the style numbers.
    static constexpr int StyleNoProperty = QTextFormat::UserProperty + 1;
    static constexpr int ParaNoProperty = QTextFormat::UserProperty + 2;
    // The clipboard format of our own: a notes file of the selection.
    static QString mimeType();

    explicit RichEdit(QWidget* parent = nullptr);
    ~RichEdit() override;

    const QList<TextStyle>& textStyles() const { return m_textStyles; }
    const QList<ParaStyle>& paraStyles() const { return m_paraStyles; }
    int findOrAppendTextStyle(const TextStyle& style);
    int findOrAppendParaStyle(const ParaStyle& style);
    // The styles at the caret.
    int currentTextStyleNo() const;
    int currentParaStyleNo() const;
    const TextStyle& currentTextStyle() const { return m_textStyles.at(currentTextStyleNo()); }
    const ParaStyle& currentParaStyle() const { return m_paraStyles.at(currentParaStyleNo()); }

    // Asked once for each style met by a conversion: (old style number, code) gives
    // the number of the style to use instead.
    std::function<int(int styleNo, int code)> onStyleConversion;
    std::function<int(int paraStyleNo, int code)> onParaStyleConversion;
    // Converts the text of the selection, or the style of what is typed next when
    // nothing is selected.
    void applyStyleConversion(int code);
    // Converts the paragraphs that the selection touches, or the caret's paragraph.
    void applyParaStyleConversion(int code);

    // An empty document; the style tables stay.
    void clearDocument();
    // Replaces the document and its style tables; what a damaged file yields is shown.
    NotesReadStatus loadFromFile(const QString& path);
    bool saveToFile(const QString& path, QString* error = nullptr);
    void setContent(const NotesContent& content);
    NotesContent content() const;
    // The part of the document between two positions.
    NotesContent contentOf(int from, int to) const;
    // Inserts at the caret in place of the selection; styles are added as needed.
    void insertContent(const NotesContent& content);
    // Inserts a picture file's bytes at the caret when they decode to a picture.
    bool insertPicture(const QByteArray& bytes);

    bool isModified() const;
    void setModified(bool modified);

    // From the caret; selects and shows what it finds.
    bool search(const QString& text, bool caseSensitive, bool wholeWord, bool forward);

    RichDocument* richDocument() const { return m_doc; }

signals:
    // Any change of the document by the user or a command (not by loading).
    void changed();
    void curTextStyleChanged();
    void curParaStyleChanged();

protected:
    QMimeData* createMimeDataFromSelection() const override;
    bool canInsertFromMimeData(const QMimeData* source) const override;
    void insertFromMimeData(const QMimeData* source) override;
    void mousePressEvent(QMouseEvent* event) override;

private:
    QTextCharFormat charFormatFor(int styleNo) const;
    QTextBlockFormat blockFormatFor(int paraNo) const;
    int styleNoOf(const QTextCharFormat& format) const;
    int paraNoOf(const QTextBlockFormat& format) const;
    void applyDocumentLook(quint32 background, int margin);
    void checkCurrentStyles(bool force);
    NotesContent contentFromHtml(const QString& html);
    // Writes paragraphs at the cursor; styleMap/paraMap give each style of the
    // content its number here. The first paragraph joins the cursor's paragraph.
    void insertParagraphs(QTextCursor& cursor, const NotesContent& content, const QList<int>& styleMap,
                          const QList<int>& paraMap);

    RichDocument* m_doc;
    QList<TextStyle> m_textStyles;
    QList<ParaStyle> m_paraStyles;
    quint32 m_background = WhiteColor;
    int m_margin = 4;
    bool m_loading = false;
    int m_lastTextStyle = -1;
    int m_lastParaStyle = -1;
};

} // namespace tavio
