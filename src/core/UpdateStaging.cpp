#include "UpdateStaging.h"

#include "MainTypes.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <cstdio>
#include <cstring>

namespace tavio {

namespace {

// Replaces the target in one step, as the platform's rename does; QFile::rename
// refuses an existing target.
bool replaceFile(const QString& from, const QString& to, QString* error)
{
    if (std::rename(QFile::encodeName(from).constData(), QFile::encodeName(to).constData()) == 0)
        return true;
    if (error)
        *error = QDir::toNativeSeparators(to) + QStringLiteral(": ") + QString::fromLocal8Bit(std::strerror(errno));
    return false;
}

} // namespace

UpdateStaging::UpdateStaging(const QString& chapterFolder)
    : m_chapterFolder(WithTrailingSeparator(QDir::fromNativeSeparators(chapterFolder)))
{
    QString folder = m_chapterFolder;
    while (folder.size() > 1 && folder.endsWith(PathSep))
        folder.chop(1);
    const QFileInfo info(folder);
    const QString name = info.fileName();
    if (!name.isEmpty() && !folder.isEmpty() && folder != QStringLiteral("/"))
        m_path = WithTrailingSeparator(info.path()) + QLatin1Char('.') + name + QStringLiteral(".update") + PathSep;
}

bool UpdateStaging::clear(QString* error) const
{
    if (m_path.isEmpty())
        return false;
    const QFileInfo info(m_path);
    if (!info.exists() && !info.isSymLink())
        return true;
    if (info.isSymLink() || !info.isDir()) {
        // Not ours to follow: only the entry goes.
        if (QFile::remove(info.filePath()))
            return true;
        if (error)
            *error = QDir::toNativeSeparators(m_path);
        return false;
    }
    return DeleteFolderTree(m_path, error);
}

bool UpdateStaging::prepare(QString* error) const
{
    if (!clear(error))
        return false;
    if (QDir().mkpath(m_path))
        return true;
    if (error)
        *error = QDir::toNativeSeparators(m_path);
    return false;
}

QString UpdateStaging::chapterTarget(const QString& file) const
{
    return m_path + file;
}

QString UpdateStaging::assetTarget(const QString& dir, const QString& asset) const
{
    return m_path + (dir.isEmpty() ? QString() : dir + PathSep) + asset;
}

bool UpdateStaging::makeAssetFolder(const QString& dir) const
{
    return dir.isEmpty() || QDir().mkpath(m_path + dir);
}

bool UpdateStaging::place(const QString& file, const QString& dir, const QStringList& assets, QString* error) const
{
    bool ok = true;
    if (!dir.isEmpty()) {
        const QString folder = m_chapterFolder + dir;
        if (!QFileInfo(folder).isDir() && !QDir().mkdir(folder)) {
            if (error)
                *error = QDir::toNativeSeparators(folder);
            ok = false;
        }
    }
    QStringList seen; // a list may name a picture twice; it was fetched twice to one place
    for (qsizetype i = 0; ok && i < assets.size(); ++i) {
        if (seen.contains(assets[i]))
            continue;
        seen.append(assets[i]);
        const QString target = m_chapterFolder + (dir.isEmpty() ? QString() : dir + PathSep) + assets[i];
        ok = replaceFile(assetTarget(dir, assets[i]), target, error);
    }
    if (ok)
        ok = replaceFile(chapterTarget(file), m_chapterFolder + file, error);
    clear();
    return ok;
}

} // namespace tavio
