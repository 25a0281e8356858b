#include "UpdateChapterList.h"

#include "MainTypes.h"
#include "UpdateVerify.h"

namespace tavio {

bool IsSafeFileName(const QString& name)
{
    // A leading dot also covers "." and "..", and keeps hidden files out.
    if (name.isEmpty() || name.startsWith(QLatin1Char('.')))
        return false;
    for (const QChar c : name) {
        // Both separators count: the server writes Windows names, the disk may take '/'.
        if (c == QLatin1Char('/') || c == QLatin1Char('\\') || c == QLatin1Char(':') || c.unicode() < 0x20
            || c.unicode() == 0x7F)
            return false;
    }
    return true;
}

QString AssetFolderName(const QString& dir)
{
    if (dir.endsWith(QLatin1Char('\\')) || dir.endsWith(QLatin1Char('/')))
        return dir.left(dir.size() - 1);
    return dir;
}

QString UpdateChapterList::file(int index) const
{
    return m_ini.value(QString::number(index), QStringLiteral("file"));
}

QString UpdateChapterList::dir(int index) const
{
    return m_ini.value(QString::number(index), QStringLiteral("dir"));
}

QString UpdateChapterList::asset(int index, int number) const
{
    return m_ini.value(QString::number(index), QStringLiteral("file") + QString::number(number));
}

bool UpdateChapterList::matches(int index, const QString& key, const QString& path) const
{
    const ExpectedFile e = ExpectedFile::fromIni(m_ini, QString::number(index), key + QStringLiteral("_size"),
                                                 key + QStringLiteral("_sha256"));
    return MatchesExpected(path, e);
}

QString UpdateChapterList::chapterAddress(const QString& chaptersUrl, const QString& file)
{
    return chaptersUrl + RemoveFileExt(file);
}

QString UpdateChapterList::assetAddress(const QString& chaptersUrl, const QString& dir, const QString& asset)
{
    return chaptersUrl + AssetFolderName(dir) + QLatin1Char('/') + asset;
}

} // namespace tavio
