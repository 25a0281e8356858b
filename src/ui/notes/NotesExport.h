#pragma once

#include "NotesFile.h"

#include <QList>
#include <QString>

#include <optional>

// Notes for reading elsewhere: one HTML file with the pictures inside it, or a
// Markdown file with its pictures in a folder beside it. Headings per chapter in
// the order given (the catalogue's); the styles of the notes are kept as far as the
// format allows.
namespace tavio {

enum class NotesExportFormat { Html, Markdown };

struct NotesExportChapter
{
    QString heading;
    QString notesPath;                    // read when content is not given
    std::optional<NotesContent> content;  // the editor's, unsaved changes included
};

struct NotesExportResult
{
    bool ok = false;
    int chapters = 0;  // how many chapters had notes to write
    QString error;
};

// The folder beside a Markdown file that takes its pictures.
QString NotesPictureFolder(const QString& markdownPath);
// The format a file name asks for: Markdown for ".md" and ".markdown", else HTML.
NotesExportFormat NotesExportFormatOf(const QString& path);

// Writes the chapters that have notes. Nothing is left half-written: the file (and
// the picture folder) is replaced only when everything could be written, and when
// nothing is to be written nothing is touched.
NotesExportResult ExportNotes(const QList<NotesExportChapter>& chapters, NotesExportFormat format,
                              const QString& path);

} // namespace tavio
