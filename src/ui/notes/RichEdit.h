#pragma once

#include "NotesDocument.h"

#include <QTextEdit>
#include <QTextFormat>

#include <functional>

class QTextBlockFormat;
class QTextCharFormat;

namespace tavio {

// The rich-text editor of the notes: the editing of a NotesDocument, style
// conversions, search, and a clipboard that keeps styles and pictures.
class RichEdit final : public QTextEdit
{
    Q_OBJECT
public:
    // The clipboard format of our own: a notes file of the selection.
    static QString mimeType();

    explicit RichEdit(QWidget* parent = nullptr);
    ~RichEdit() override;

    const QList<TextStyle>& textStyles() const { return m_notes.textStyles(); }
    const QList<ParaStyle>& paraStyles() const { return m_notes.paraStyles(); }
    int findOrAppendTextStyle(const TextStyle& style);
    int findOrAppendParaStyle(const ParaStyle& style);
    // The styles at the caret.
    int currentTextStyleNo() const;
    int currentParaStyleNo() const;
    const TextStyle& currentTextStyle() const { return textStyles().at(currentTextStyleNo()); }
    const ParaStyle& currentParaStyle() const { return paraStyles().at(currentParaStyleNo()); }

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
    // Shows the notes in a reading theme; the notes themselves do not change.
    void setTheme(ReadingTheme theme);

    // From the caret; selects and shows what it finds.
    bool search(const QString& text, bool caseSensitive, bool wholeWord, bool forward);

    NotesDocument& notes() { return m_notes; }
    const NotesDocument& notes() const { return m_notes; }

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
    void checkCurrentStyles(bool force);

    NotesDocument m_notes;
    QTextDocument* m_doc;
    bool m_loading = false;
    int m_lastTextStyle = -1;
    int m_lastParaStyle = -1;
};

} // namespace tavio
