#include "NotesStyles.h"

#include <QFileInfo>

#include <algorithm>

namespace tavio {

quint32 SanitizeColor(quint32 color)
{
    return color == TransparentColor ? color : (color & 0xFFFFFF);
}

bool TextStyle::sameFormatting(const TextStyle& o) const
{
    return FontName == o.FontName && Size == o.Size && Bold == o.Bold && Italic == o.Italic
        && Underline == o.Underline && StrikeOut == o.StrikeOut && Color == o.Color && BackColor == o.BackColor;
}

bool ParaStyle::sameFormatting(const ParaStyle& o) const
{
    return Alignment == o.Alignment && LeftIndent == o.LeftIndent && Background == o.Background;
}

QList<TextStyle> DefaultTextStyles()
{
    TextStyle normal;
    normal.Name = QStringLiteral("Normal text");
    normal.FontName = QStringLiteral("Times New Roman");
    normal.Size = 12;
    return {normal};
}

QList<ParaStyle> DefaultParaStyles()
{
    ParaStyle left;
    left.Name = QStringLiteral("Left");
    return {left};
}

TextStyle ConvertTextStyle(TextStyle style, TextConversion code, const TextConversionInput& in)
{
    switch (code) {
    case TextConversion::Bold: style.Bold = in.BoldDown; break;
    case TextConversion::Italic: style.Italic = in.ItalicDown; break;
    case TextConversion::Underline: style.Underline = in.UnderlineDown; break;
    case TextConversion::FontName: style.FontName = in.FontName; break;
    case TextConversion::Font:
        style.FontName = in.Font.FontName;
        style.Size = in.Font.Size;
        style.Bold = in.Font.Bold;
        style.Italic = in.Font.Italic;
        style.Underline = in.Font.Underline;
        style.StrikeOut = in.Font.StrikeOut;
        style.Color = in.Font.Color;
        break;
    case TextConversion::FontSize: style.Size = in.FontSize; break;
    case TextConversion::FontColor: style.Color = in.Color; break;
    case TextConversion::BackColor: style.BackColor = in.BackColor; break;
    }
    return style;
}

ParaStyle ConvertParaStyle(ParaStyle style, ParaConversion code, const ParaConversionInput& in)
{
    switch (code) {
    case ParaConversion::Alignment:
        if (in.LeftDown)
            style.Alignment = ParaAlignment::Left;
        else if (in.RightDown)
            style.Alignment = ParaAlignment::Right;
        else if (in.CenterDown)
            style.Alignment = ParaAlignment::Center;
        else
            style.Alignment = ParaAlignment::Justify;
        break;
    case ParaConversion::IndentInc: style.LeftIndent = std::min(style.LeftIndent + IndentStep, MaxIndent); break;
    case ParaConversion::IndentDec: style.LeftIndent = std::max(style.LeftIndent - IndentStep, 0); break;
    case ParaConversion::Background: style.Background = in.Background; break;
    }
    return style;
}

namespace {

template <typename Style>
int findOrAppend(QList<Style>& table, Style style)
{
    for (qsizetype i = 0; i < table.size(); ++i) {
        if (table.at(i).sameFormatting(style))
            return int(i);
    }
    style.Standard = false;
    table.append(std::move(style));
    return int(table.size() - 1);
}

} // namespace

int FindOrAppendTextStyle(QList<TextStyle>& table, TextStyle style)
{
    return findOrAppend(table, std::move(style));
}

int FindOrAppendParaStyle(QList<ParaStyle>& table, ParaStyle style)
{
    return findOrAppend(table, std::move(style));
}

int ShownFontSize(int size)
{
    return std::clamp(size, 1, 1000);
}

int ShownIndent(int indent)
{
    return std::clamp(indent, 0, 10000);
}

int FontSizeFromText(const QString& text)
{
    bool ok = false;
    const int size = text.trimmed().toInt(&ok);
    return ok ? size : 10;
}

QString NotesFileOf(const QString& notesFolder, const QString& chapterPath)
{
    QString name = QFileInfo(chapterPath).fileName();
    const qsizetype dot = name.lastIndexOf(QLatin1Char('.'));
    if (dot >= 0)
        name.truncate(dot);
    return notesFolder + name + QStringLiteral(".rtn");
}

} // namespace tavio
