// The clean-files rewrite: the result is the input minus whole lines, and a backup
// (holding the input's lines) exists exactly when a line went. The rewrite works on
// files only; run it with TMPDIR on a memory file system.
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

    const QList<QByteArray> before = tavio::SplitLineBytes(input);
    const QList<QByteArray> after = tavio::SplitLineBytes(readAll(path));
    FUZZ_CHECK(isSubsequence(after, before));
    FUZZ_CHECK(QFile::exists(backup) == (after != before));
    if (after != before)
        FUZZ_CHECK(tavio::SplitLineBytes(readAll(backup)) == before);
    return 0;
}
