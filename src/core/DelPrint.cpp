#include "DelPrint.h"

#include "MainTypes.h"

#include <QCollator>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLocale>

#include <algorithm>

namespace tavio {

namespace {

constexpr qint64 MaxChapterBytes = 64 * 1024 * 1024;

const QByteArray BodyTagPlain = QByteArrayLiteral("<BODY ONLOAD=WINDOW.PRINT()>");
const QByteArray BodyTagQuoted = QByteArrayLiteral("<BODY ONLOAD=\"WINDOW.PRINT()\">");
const QByteArray ScriptStart = QByteArrayLiteral("<SCRIPT");
const QByteArray ScriptEnd = QByteArrayLiteral("</SCRIPT>");

bool fail(FileError* error, const QString& message)
{
    if (error)
        error->message = message;
    return false;
}

// Blanks as the platform's Trim sees them: every control character and the space.
QByteArray trimmedUpper(QByteArrayView line)
{
    qsizetype begin = 0;
    qsizetype end = line.size();
    while (begin < end && quint8(line[begin]) <= ' ')
        ++begin;
    while (end > begin && quint8(line[end - 1]) <= ' ')
        --end;
    QByteArray out = line.sliced(begin, end - begin).toByteArray();
    // Only ASCII letters: the bytes of the code page's own letters stay as they are.
    for (char& c : out) {
        if (c >= 'a' && c <= 'z')
            c = char(c - 'a' + 'A');
    }
    return out;
}

void report(const LineProgress& progress, qsizetype position, qsizetype count)
{
    if (progress)
        progress(int(position), int(count));
}

} // namespace

bool IsAutoPrintLine(QByteArrayView line)
{
    const QByteArray upper = trimmedUpper(line);
    return upper.contains(BodyTagPlain) || upper.contains(BodyTagQuoted);
}

bool HasScriptStart(QByteArrayView line)
{
    return line.indexOf(ScriptStart) >= 0;
}

bool HasScriptEnd(QByteArrayView line)
{
    return line.indexOf(ScriptEnd) >= 0;
}

QString DelPrintBackupPath(const QString& path)
{
    return RemoveFileExt(path) + QStringLiteral(".bak");
}

QString InstallerSourceFolder()
{
    return QStringLiteral("C:\\Program Files\\Marrowick\\Tavio\\Instalace\\Htm\\");
}

QString InstallerLine(const QString& fileName)
{
    const QString name = RemoveFileExt(fileName);
    return QStringLiteral("Source: \"") + InstallerSourceFolder() + name
        + QStringLiteral("_soubory\\*.*\"; DestDir: \"{app}\\Htm\\") + name
        + QStringLiteral("_soubory\"; Flags: ignoreversion");
}

QString LogBodyTagDeleted(const QString& path)
{
    return QStringLiteral("Kód pro automatický tisk stránky byl ze souboru <") + path + QStringLiteral("> smazán.");
}

QString LogBodyTagNotFound(const QString& path)
{
    return QStringLiteral("Kód pro vyvolání tisku nebyl v souboru <") + path + QStringLiteral("> nalezen.");
}

QString LogScriptDeleted(const QString& path)
{
    return QStringLiteral("Skript byl ze souboru <") + path + QStringLiteral("> smazán.");
}

QString LogScriptNotFound(const QString& path)
{
    return QStringLiteral("Skript nebyl v souboru <") + path + QStringLiteral("> nalezen.");
}

QList<QByteArray> WithoutAutoPrintLines(const QList<QByteArray>& lines, int* deleted, const LineProgress& progress)
{
    QList<QByteArray> kept;
    kept.reserve(lines.size());
    int count = 0;
    for (qsizetype i = 0; i < lines.size(); ++i) {
        report(progress, i + 1, lines.size());
        if (IsAutoPrintLine(lines[i]))
            ++count;
        else
            kept.append(lines[i]);
    }
    if (deleted)
        *deleted = count;
    return kept;
}

QList<QByteArray> WithoutScriptBlocks(const QList<QByteArray>& lines, bool* found, const LineProgress& progress)
{
    // Whole lines from one with the opening marker up to the next with the closing
    // one go; an unclosed block takes the rest of the file, and a closing line
    // outside a block goes by itself.
    QList<QByteArray> out;
    out.reserve(lines.size());
    bool inside = false;
    bool seen = false;
    for (qsizetype i = 0; i < lines.size(); ++i) {
        report(progress, i + 1, lines.size());
        const QByteArray& line = lines[i];
        if (HasScriptStart(line)) {
            inside = true;
            seen = true;
        }
        const bool closing = HasScriptEnd(line);
        if (!closing && !inside)
            out.append(line);
        else if (closing)
            inside = false;
    }
    if (found)
        *found = seen;
    return out;
}

bool CleanChapterFile(const QString& path, QStringList& log, const CleanFileOptions& options, FileError* error)
{
    FileError failure;
    const std::optional<QByteArray> bytes = ReadFileBytes(path, MaxChapterBytes, &failure);
    if (!bytes)
        return fail(error, failure.message);
    // Moving a read-only file aside would let it be cleaned all the same; it is
    // refused before anything changes.
    const QFileInfo info(path);
    if (!(info.permissions() & QFileDevice::WriteOwner))
        return fail(error, QStringLiteral("Soubor je jen pro čtení."));
    if (options.installerList)
        log.append(InstallerLine(info.fileName()));

    const QString backup = DelPrintBackupPath(path);
    const QList<QByteArray> lines = SplitLineBytes(*bytes);

    int deleted = 0;
    const QList<QByteArray> kept = WithoutAutoPrintLines(lines, &deleted, options.lineProgress);

    // The file as it was before its first cleaning becomes the backup; a backup of
    // an earlier run is never replaced.
    bool movedAside = false;
    if (deleted > 0) {
        movedAside = QFile::rename(path, backup);
        if (!movedAside && !QFileInfo::exists(backup))
            return fail(error, QStringLiteral("Záložní soubor <") + backup + QStringLiteral("> nelze vytvořit."));
    }
    // Rewritten even when nothing was deleted, which also settles the line ends.
    if (!WriteFileBytes(path, JoinLineBytes(kept), &failure)) {
        if (movedAside)
            QFile::rename(backup, path);
        return fail(error, failure.message);
    }
    if (movedAside)
        QFile::setPermissions(path, QFileInfo(backup).permissions());

    if (options.installerList)
        return true;
    for (int i = 0; i < deleted; ++i)
        log.append(LogBodyTagDeleted(path));
    if (deleted == 0)
        log.append(LogBodyTagNotFound(path));

    bool found = false;
    const QList<QByteArray> out = WithoutScriptBlocks(kept, &found, options.lineProgress);
    // The backup is copied from the file as rewritten above, before it loses a line.
    if (out.size() != kept.size() && !QFileInfo::exists(backup)) {
        if (!WriteFileBytes(backup, JoinLineBytes(kept), &failure))
            return fail(error, QStringLiteral("Záložní soubor <") + backup + QStringLiteral("> nelze vytvořit."));
        QFile::setPermissions(backup, QFileInfo(path).permissions());
    }
    if (!WriteFileBytes(path, JoinLineBytes(out), &failure))
        return fail(error, failure.message);
    log.append(found ? LogScriptDeleted(path) : LogScriptNotFound(path));
    return true;
}

DelPrintResult RunDelPrint(const QString& folder, const QList<DelPrintEntry>& entries, bool installerList,
                           const DelPrintCallbacks& callbacks)
{
    DelPrintResult result;
    const CleanFileOptions options{installerList, callbacks.lineProgress};
    for (qsizetype i = 0; i < entries.size(); ++i) {
        if (callbacks.pump)
            callbacks.pump();
        if (!entries[i].marked)
            continue;
        ++result.markedCount;
        const QString path = folder + entries[i].name;
        if (callbacks.fileStarted)
            callbacks.fileStarted(int(i), path);
        FileError failure;
        if (!CleanChapterFile(path, result.log, options, &failure)) {
            result.failedPath = path;
            result.error = failure.message;
            break;
        }
    }
    return result;
}

QStringList ListChapterFiles(const QString& folder)
{
    QDir dir(folder);
    dir.setNameFilters({QStringLiteral("*.htm")});
    // Hidden files count; special files (pipes, devices) are no chapters and could
    // block a read.
    dir.setFilter(QDir::Files | QDir::Hidden);
    QStringList names = dir.entryList();
    QCollator collator{QLocale(QLocale::Czech, QLocale::CzechRepublic)};
    collator.setCaseSensitivity(Qt::CaseInsensitive);
    std::sort(names.begin(), names.end(), [&](const QString& a, const QString& b) {
        const int c = collator.compare(a, b);
        return c != 0 ? c < 0 : a < b;
    });
    return names;
}

QString DelPrintLogName(const QDateTime& end)
{
    return end.toString(QStringLiteral("yyyy-MM-dd-HH-mm-ss")) + QStringLiteral(".log");
}

std::optional<QString> WriteDelPrintLog(const QString& logFolder, const QStringList& log, const QDateTime& end,
                                        FileError* error)
{
    if (!QDir().mkpath(logFolder)) {
        fail(error, QStringLiteral("Adresář <") + logFolder + QStringLiteral("> nelze vytvořit."));
        return std::nullopt;
    }
    const QString path = WithTrailingSeparator(logFolder) + DelPrintLogName(end);
    if (!WriteTextLines(path, log, error))
        return std::nullopt;
    return path;
}

} // namespace tavio
