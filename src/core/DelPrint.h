#pragma once

#include "TextFile.h"

#include <QByteArray>
#include <QDateTime>
#include <QList>
#include <QString>
#include <QStringList>

#include <functional>
#include <optional>

// Cleaning chapter files of the auto-print body tag and of script blocks. The files
// are handled as bytes, so Windows-1250 text (and anything else) passes through
// unchanged; only the removed lines and the line ends differ afterwards.
namespace tavio {

// The body tag that opens the print dialog, in either spelling of its attribute,
// anywhere in the line regardless of the case of its ASCII letters.
bool IsAutoPrintLine(QByteArrayView line);
// The script markers are recognised only in upper case.
bool HasScriptStart(QByteArrayView line);
bool HasScriptEnd(QByteArrayView line);

// The backup of a chapter file: its path up to the last dot + ".bak".
QString DelPrintBackupPath(const QString& path);

// The folder on the maker's build machine that the installer lines name.
QString InstallerSourceFolder();
// The installer-script line that installs the picture folder of fileName.
QString InstallerLine(const QString& fileName);

// Log texts of one file.
QString LogBodyTagDeleted(const QString& path);
QString LogBodyTagNotFound(const QString& path);
QString LogScriptDeleted(const QString& path);
QString LogScriptNotFound(const QString& path);

// position counts from 1 up to count, the line being examined.
using LineProgress = std::function<void(int position, int count)>;

struct CleanFileOptions
{
    // The maker's installer list: log an installer line per file, delete body-tag
    // lines silently and leave the scripts alone.
    bool installerList = false;
    LineProgress lineProgress;
};

// The two passes of the cleaning over a file's lines: the lines that call for
// printing go, then the script blocks.
QList<QByteArray> WithoutAutoPrintLines(const QList<QByteArray>& lines, int* deleted = nullptr,
                                        const LineProgress& progress = {});
QList<QByteArray> WithoutScriptBlocks(const QList<QByteArray>& lines, bool* found = nullptr,
                                      const LineProgress& progress = {});

// Cleans one file in place and appends its log lines to log. The backup is made
// before the first change and never replaced. False when the file cannot be read
// or written; the lines of the steps that were completed are logged all the same.
bool CleanChapterFile(const QString& path, QStringList& log, const CleanFileOptions& options = {},
                      FileError* error = nullptr);

struct DelPrintEntry
{
    QString name; // without folder
    bool marked = false;
};

struct DelPrintCallbacks
{
    // Runs before each entry, marked or not, so the window stays responsive.
    std::function<void()> pump;
    // A marked entry is about to be cleaned.
    std::function<void(int index, const QString& path)> fileStarted;
    LineProgress lineProgress;
};

struct DelPrintResult
{
    int markedCount = 0; // marked entries reached, a failing one included
    QStringList log;
    QString failedPath; // empty when every marked file was cleaned
    QString error;
    bool failed() const { return !failedPath.isEmpty(); }
};

// Cleans the marked entries of folder (ending with a separator) in list order and
// stops at the first file that cannot be read or written.
DelPrintResult RunDelPrint(const QString& folder, const QList<DelPrintEntry>& entries, bool installerList,
                           const DelPrintCallbacks& callbacks = {});

// The names of folder's "*.htm" files (any case, hidden ones too) in alphabetical order.
QStringList ListChapterFiles(const QString& folder);

// "yyyy-mm-dd-hh-nn-ss.log" of the end of a run.
QString DelPrintLogName(const QDateTime& end);
// Writes the log into logFolder (created when missing) in Windows-1250 with CR LF;
// a log of the same second is replaced. The file's path, or nothing on failure.
std::optional<QString> WriteDelPrintLog(const QString& logFolder, const QStringList& log, const QDateTime& end,
                                        FileError* error = nullptr);

} // namespace tavio
