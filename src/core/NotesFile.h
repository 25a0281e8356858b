#pragma once

#include "NotesStyles.h"
#include "TextFile.h"

#include <QByteArray>
#include <QList>
#include <QString>

// The notes file (*.rtn): the program's own container for a rich-text document
// with its style tables, pictures, background and layout.
//
//   magic  89 'T' 'V' 'N' 0D 0A 1A 0A     (catches text-mode transfers)
//   u16 major, u16 minor                   (all numbers little-endian)
//   chunks: 4-byte tag, u32 length, payload
//     "DOC " background u32, margin i32
//     "TSTY" u32 count, records: u32 length, name, font name, size i32,
//            flags u32 (bold, italic, underline, strike-out, standard), colour u32, back colour u32
//     "PSTY" u32 count, records: u32 length, name, alignment u8, left indent i32, background u32, flags u8
//     "BODY" u32 paragraphs; each: para style u32, u32 items; each item: kind u8, u32 length, payload
//            kind 1 text: text style u32, UTF-8 text; kind 2 picture: index u32, width i32, height i32
//     "PICT" u32 count; each: format name, u32 length and the picture file's own bytes
//     "END " empty
//   strings: u32 byte length, UTF-8.
//
// The body comes before the pictures so that a cut-off file still yields its text.
// A reader skips chunks and item kinds it does not know; a new major version is
// not read at all.
namespace tavio {

inline constexpr quint16 NotesFormatMajor = 1;
inline constexpr quint16 NotesFormatMinor = 0;
// What a notes file may weigh at most.
inline constexpr qint64 MaxNotesFileSize = 512LL * 1024 * 1024;
// A picture is shown at most this many pixels wide or high.
inline constexpr int MaxPictureSide = 20000;

struct NotesRun
{
    enum class Kind { Text, Picture };
    Kind kind = Kind::Text;
    int StyleNo = 0;   // text style of a text run
    QString Text;      // one paragraph's text: no paragraph breaks inside
    int Picture = -1;  // index into the picture table
    int Width = 0;     // shown size of a picture in pixels; 0: the picture's own
    int Height = 0;
};

struct NotesParagraph
{
    int ParaStyleNo = 0;
    QList<NotesRun> Runs;
};

struct NotesPicture
{
    QByteArray Format; // the image format's name: "png", "jpeg", "bmp", "ico" ...
    QByteArray Data;   // the picture file's bytes, as inserted
};

struct NotesContent
{
    QList<TextStyle> TextStyles = DefaultTextStyles();
    QList<ParaStyle> ParaStyles = DefaultParaStyles();
    QList<NotesParagraph> Paragraphs;
    QList<NotesPicture> Pictures;
    quint32 Background = WhiteColor;
    int Margin = 4;
};

enum class NotesReadStatus {
    Ok,
    Damaged,  // read as far as it makes sense
    Foreign,  // not a notes file
    TooNew,   // a later major version
    Unreadable,
};

struct NotesReadResult
{
    NotesContent content;
    NotesReadStatus status = NotesReadStatus::Ok;
};

// Paragraph text as a run may hold it: paragraph breaks become line breaks; object,
// frame and control characters other than the tab are dropped.
QString SanitizeRunText(QString text);

QByteArray WriteNotes(const NotesContent& content);
// Never trusts a length or a count from the bytes. Whatever the status, the
// content is usable: style tables are never empty and every style number, picture
// index and size in it is within range.
NotesReadResult ReadNotes(QByteArrayView bytes);

NotesReadResult LoadNotesFile(const QString& path);
// Through a temporary file: a failed save keeps the previous file.
// Refused, with NewerNotesText() as the error, when the file there is of a later version.
bool SaveNotesFile(const QString& path, const NotesContent& content, FileError* error = nullptr);
// Whether the file at path is a notes file of a later major version than this one reads.
bool IsNewerNotesFile(const QString& path);
// What the user is told about such a file.
QString NewerNotesText();

} // namespace tavio
