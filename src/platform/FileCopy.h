#pragma once

#include <QString>
#include <QStringList>

#include <functional>

// Copies the files of one folder that match a name pattern into another folder, as
// the shell's copy does: it asks before each replacement and reports a failure or
// an abort as one outcome. Files copied before a failure stay copied.
namespace tavio {

enum class ReplaceAnswer { Yes, YesToAll, No, NoToAll, Cancel };

struct FileCopyCallbacks
{
    // Before each file: its number (from 0), the count and the source file's name.
    std::function<void(int index, int count, const QString& name)> progress;
    // Polled between files and between blocks of a large file; true aborts.
    std::function<bool()> cancelled;
    // Asked when the destination already holds a file of that name; without an
    // answer the file is replaced.
    std::function<ReplaceAnswer(const QString& target)> askReplace;
};

struct FileCopyOutcome
{
    bool ok = true;
    bool aborted = false;
    QStringList copied;   // names of the files written
    QStringList skipped;  // names the user chose to keep
    QString error;        // what failed first
};

class FileCopy final
{
public:
    // The files of a folder that match a pattern such as "*.rtn", without regard to
    // case and in name order; no subfolders.
    static QStringList matchingFiles(const QString& folder, const QString& pattern);
    // sourceFolder and destinationFolder end with a separator; the destination must
    // exist. Each file is written through a temporary file, so a failed or cancelled
    // write never leaves a half-written file in place of the old one.
    static FileCopyOutcome copy(const QString& sourceFolder, const QString& pattern, const QString& destinationFolder,
                                const FileCopyCallbacks& callbacks = {});
    // Whether two folder paths name the same folder (links and trailing separators
    // do not count).
    static bool sameFolder(const QString& a, const QString& b);
};

} // namespace tavio
