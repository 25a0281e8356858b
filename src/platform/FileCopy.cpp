#include "FileCopy.h"

#include "AtomicSave.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLoggingCategory>
#include <QRegularExpression>

#include <algorithm>

Q_LOGGING_CATEGORY(lcFileCopy, "tavio.copy")

namespace tavio {

namespace {

constexpr qint64 BlockSize = 1024 * 1024;

bool isCancelled(const FileCopyCallbacks& cb)
{
    return cb.cancelled && cb.cancelled();
}

// One file through a temporary file beside the target.
bool copyOne(const QString& from, const QString& to, const FileCopyCallbacks& cb, QString* error, bool* aborted)
{
    QFile in(from);
    if (!in.open(QIODevice::ReadOnly)) {
        *error = from + QStringLiteral(": ") + in.errorString();
        return false;
    }
    AtomicFile out(to);
    FileError failure;
    if (!out.open(&failure)) {
        *error = to + QStringLiteral(": ") + failure.message;
        return false;
    }
    QByteArray block;
    while (!in.atEnd()) {
        if (isCancelled(cb)) {
            *aborted = true;
            return false;
        }
        block = in.read(BlockSize);
        if (in.error() != QFileDevice::NoError) {
            *error = from + QStringLiteral(": ") + in.errorString();
            return false;
        }
        if (!out.write(block)) {
            *error = to + QStringLiteral(": ") + out.device().errorString();
            return false;
        }
    }
    if (!out.commit(&failure)) {
        *error = to + QStringLiteral(": ") + failure.message;
        return false;
    }
    return true;
}

QString canonicalFolder(const QString& path)
{
    const QFileInfo info(path);
    const QString canonical = info.canonicalFilePath();
    return canonical.isEmpty() ? QDir::cleanPath(info.absoluteFilePath()) : canonical;
}

} // namespace

QStringList FileCopy::matchingFiles(const QString& folder, const QString& pattern)
{
    const QRegularExpression re(QRegularExpression::wildcardToRegularExpression(pattern),
                                QRegularExpression::CaseInsensitiveOption);
    QStringList names;
    const QDir dir(folder);
    const QFileInfoList entries = dir.entryInfoList(QDir::Files | QDir::Hidden | QDir::System);
    for (const QFileInfo& e : entries) {
        if (e.isFile() && re.match(e.fileName()).hasMatch())
            names.append(e.fileName());
    }
    std::sort(names.begin(), names.end());
    return names;
}

FileCopyOutcome FileCopy::copy(const QString& sourceFolder, const QString& pattern, const QString& destinationFolder,
                               const FileCopyCallbacks& cb)
{
    FileCopyOutcome outcome;
    auto fail = [&](const QString& error) {
        outcome.ok = false;
        outcome.error = error;
        qCWarning(lcFileCopy) << "copy failed:" << error;
        return outcome;
    };
    if (!QFileInfo(sourceFolder).isDir())
        return fail(sourceFolder + QStringLiteral(": Složka neexistuje."));
    if (!QFileInfo(destinationFolder).isDir())
        return fail(destinationFolder + QStringLiteral(": Složka neexistuje."));
    if (sameFolder(sourceFolder, destinationFolder))
        return fail(destinationFolder + QStringLiteral(": Nelze kopírovat soubor sám na sebe."));

    const QStringList names = matchingFiles(sourceFolder, pattern);
    bool replaceAll = false;
    bool keepAll = false;
    for (int i = 0; i < names.size(); ++i) {
        const QString& name = names.at(i);
        if (isCancelled(cb)) {
            outcome.aborted = true;
            return fail(QStringLiteral("Kopírování bylo přerušeno."));
        }
        if (cb.progress)
            cb.progress(i, int(names.size()), name);
        const QString target = destinationFolder + name;
        if (QFileInfo::exists(target) && !replaceAll) {
            ReplaceAnswer answer = keepAll ? ReplaceAnswer::No : ReplaceAnswer::Yes;
            if (!keepAll && cb.askReplace)
                answer = cb.askReplace(target);
            switch (answer) {
            case ReplaceAnswer::Yes: break;
            case ReplaceAnswer::YesToAll: replaceAll = true; break;
            case ReplaceAnswer::NoToAll: keepAll = true; [[fallthrough]];
            case ReplaceAnswer::No: outcome.skipped.append(name); continue;
            case ReplaceAnswer::Cancel:
                outcome.aborted = true;
                return fail(QStringLiteral("Kopírování bylo přerušeno."));
            }
        }
        QString error;
        bool aborted = false;
        if (!copyOne(sourceFolder + name, target, cb, &error, &aborted)) {
            outcome.aborted = aborted;
            return fail(aborted ? QStringLiteral("Kopírování bylo přerušeno.") : error);
        }
        outcome.copied.append(name);
    }
    if (cb.progress)
        cb.progress(int(names.size()), int(names.size()), QString());
    return outcome;
}

bool FileCopy::sameFolder(const QString& a, const QString& b)
{
    return canonicalFolder(a) == canonicalFolder(b);
}

} // namespace tavio
