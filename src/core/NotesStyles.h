#pragma once

#include <QList>
#include <QString>

// The style sheet of a notes document: a table of text styles and a table of
// paragraph styles, and the rules by which the formatting commands derive a new
// style from an old one.
namespace tavio {

// Colours are 24-bit RGB (0xRRGGBB); transparent is a value outside that range.
inline constexpr quint32 TransparentColor = 0x1FFFFFFF;
inline constexpr quint32 BlackColor = 0x000000;
inline constexpr quint32 WhiteColor = 0xFFFFFF;

// Keeps a colour read from outside in range: 24 bits or transparent.
quint32 SanitizeColor(quint32 color);

enum class ParaAlignment : quint8 { Left = 0, Right = 1, Center = 2, Justify = 3 };

struct TextStyle
{
    QString Name;
    QString FontName;
    int Size = 12; // points
    bool Bold = false;
    bool Italic = false;
    bool Underline = false;
    bool StrikeOut = false;
    quint32 Color = BlackColor;
    quint32 BackColor = TransparentColor;
    bool Standard = true;

    // Equal in everything that shows; the name and Standard are bookkeeping, so that
    // undoing a change finds the style the text came from.
    bool sameFormatting(const TextStyle& other) const;
    friend bool operator==(const TextStyle&, const TextStyle&) = default;
};

struct ParaStyle
{
    QString Name;
    ParaAlignment Alignment = ParaAlignment::Left;
    int LeftIndent = 0; // pixels
    quint32 Background = TransparentColor;
    bool Standard = true;

    bool sameFormatting(const ParaStyle& other) const;
    friend bool operator==(const ParaStyle&, const ParaStyle&) = default;
};

// The tables a new document starts with: "Normal text" and "Left".
QList<TextStyle> DefaultTextStyles();
QList<ParaStyle> DefaultParaStyles();

// The text commands, by their conversion codes.
enum class TextConversion : int {
    Bold = 1,
    Italic = 2,
    Underline = 3,
    FontName = 4,
    Font = 5,
    FontSize = 6,
    FontColor = 7,
    BackColor = 8,
};

// What the toolbar and the dialogs hand to a text conversion.
struct TextConversionInput
{
    bool BoldDown = false;
    bool ItalicDown = false;
    bool UnderlineDown = false;
    QString FontName;
    TextStyle Font; // the font dialog's choice: name, size, styles and colour
    int FontSize = 12;
    quint32 Color = BlackColor;
    quint32 BackColor = TransparentColor;
};

TextStyle ConvertTextStyle(TextStyle style, TextConversion code, const TextConversionInput& input);

enum class ParaConversion : int {
    Alignment = 1,
    IndentInc = 2,
    IndentDec = 3,
    Background = 4,
};

inline constexpr int IndentStep = 20;
inline constexpr int MaxIndent = 200;

struct ParaConversionInput
{
    bool LeftDown = true;
    bool CenterDown = false;
    bool RightDown = false;
    quint32 Background = TransparentColor;
};

ParaStyle ConvertParaStyle(ParaStyle style, ParaConversion code, const ParaConversionInput& input);

// The number of a style equal to the given one; otherwise the style is appended,
// no longer standard, and its new number is returned.
int FindOrAppendTextStyle(QList<TextStyle>& table, TextStyle style);
int FindOrAppendParaStyle(QList<ParaStyle>& table, ParaStyle style);

// What the screen can show. A style keeps the size and indent it was given (the
// size box applies no bound, a file may hold anything); they are drawn within these.
int ShownFontSize(int size);   // 1 .. 1000 points
int ShownIndent(int indent);   // 0 .. 10000 pixels

// The size box reads a whole number; anything else means 10.
int FontSizeFromText(const QString& text);

// The notes file of a chapter: the chapter file's name with ".rtn" for its
// extension, in the notes folder. Chapters of the same name share their notes.
QString NotesFileOf(const QString& notesFolder, const QString& chapterPath);

} // namespace tavio
