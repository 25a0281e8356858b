// The clean-files rewrite: the result is the input minus whole lines, and a backup
// (holding the input's lines) exists exactly when a line went. The line passes run
// in memory for every input; the whole rewrite, which works on files, for the first
// input and every 128th after it (run with TMPDIR on a memory file system).
#include "FuzzSupport.h"

#include "DelPrint.h"
#include "TextFile.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

namespace {

bool isSubsequence(const QList<QByteArray>& part, const QList<QByteArray>& whole)
{
    qsizetype j = 0;
    for (const QByteArray& line : part) {
        while (j < whole.size() && whole[j] != line)
            ++j;
        if (j == whole.size())
            return false;
        ++j;
    }
    return true;
}

QByteArray readAll(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    fuzz::quiet();
    static QTemporaryDir dir;
    fuzz::Input in(data, size);
    tavio::CleanFileOptions options;
    options.installerList = in.flag();
    const QByteArrayView input = in.rest();

    const QList<QByteArray> before = tavio::SplitLineBytes(input);
    const QList<QByteArray> printless = tavio::WithoutAutoPrintLines(before);
    // The maker's installer list leaves the scripts alone.
    const QList<QByteArray> cleaned = options.installerList ? printless : tavio::WithoutScriptBlocks(printless);
    FUZZ_CHECK(isSubsequence(cleaned, before));
    static unsigned runs = 0;
    if (runs++ % 128 != 0)
        return 0;

    const QString path = dir.filePath(QStringLiteral("0101.htm"));
    const QString backup = tavio::DelPrintBackupPath(path);
    QFile::remove(backup);
    {
        QFile f(path);
        FUZZ_CHECK(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        FUZZ_CHECK(f.write(input.data(), input.size()) == input.size());
    }
    QStringList log;
    FUZZ_CHECK(tavio::CleanChapterFile(path, log, options));

    const QList<QByteArray> after = tavio::SplitLineBytes(readAll(path));
    FUZZ_CHECK(after == cleaned);
    FUZZ_CHECK(isSubsequence(after, before));
    FUZZ_CHECK(QFile::exists(backup) == (after != before));
    if (after != before)
        FUZZ_CHECK(tavio::SplitLineBytes(readAll(backup)) == before);
    return 0;
}
