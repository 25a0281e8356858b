#pragma once

#include "TextFile.h"

#include <QByteArray>
#include <QString>

#include <optional>

// The full-text search looks at a chapter as one line of plain Windows-1250 text:
// markup dropped, the spacing characters set apart by blanks, lines joined by one
// blank, the whole framed by one blank, a few character entities translated.
namespace tavio {

// Larger chapter files are refused as unreadable rather than read in part.
inline constexpr qint64 MaxChapterFileBytes = 256LL * 1024 * 1024;

// The searchable text of a chapter file's bytes. searchText (Windows-1250) only
// decides which spacing characters stay unspaced: those the user typed.
QByteArray ChapterBytesToText(QByteArrayView fileBytes, QByteArrayView searchText);

// The searchable text of the chapter file at path; nothing when it cannot be read.
// searchText is the text as typed, neither trimmed nor case-folded.
std::optional<QByteArray> ChapterFileToText(const QString& path, QStringView searchText, FileError* error = nullptr);

// The Windows-1250 bytes looked for: the search text, between blanks for whole
// words, in capitals unless the case matters. Empty, and so found nowhere, when the
// search text holds a character that Windows-1250 lacks.
QByteArray MakeSearchPattern(QStringView searchText, bool wholeWords, bool caseSensitive);

// Whether pattern (from MakeSearchPattern) occurs in text, the text taken in
// capitals unless the case matters. An empty pattern occurs nowhere.
bool TextHasPattern(QByteArrayView text, QByteArrayView pattern, bool caseSensitive);

// The fallback for a file that ChapterFileToText could not read: whether some raw
// line of the file holds the pattern, markup and all. Nothing when the file cannot
// be read this way either.
std::optional<bool> RawLinesHavePattern(
    const QString& path, QByteArrayView pattern, bool caseSensitive, FileError* error = nullptr);

// Where pattern first occurs in text at or after from (taken as TextHasPattern
// takes it), or -1.
qsizetype FindPattern(QByteArrayView text, QByteArrayView pattern, bool caseSensitive, qsizetype from = 0);
// How many places of text, from the one at first on, a match starts at.
int CountPattern(QByteArrayView text, QByteArrayView pattern, bool caseSensitive, qsizetype first);

// Plain Windows-1250 text (no markup, no entities) as searchable text by the same
// spacing and line rule as a chapter.
QByteArray PlainBytesToText(QByteArrayView bytes, QByteArrayView searchText);

// A quick look at a chapter file's bytes before the extraction: false only when
// the text the extraction gives certainly holds no match of pattern. The longest
// run of the pattern that neither a line break nor the entity table can make must
// stand in the file as it is, with nothing but markup or a stray '>' between its
// bytes; it is looked for from its rarest byte, and the pattern's runs beside it
// (across blanks) are checked around each place found.
bool ChapterMayHavePattern(QByteArrayView fileBytes, QByteArrayView pattern, bool caseSensitive);

} // namespace tavio
