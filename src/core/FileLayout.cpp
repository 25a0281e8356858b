#include "FileLayout.h"

#include "MainTypes.h"
#include "Profile.h"
#include "TextFile.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

namespace tavio {

namespace {
QString folderPath(const QString& path)
{
    return path.isEmpty() ? QString() : WithTrailingSeparator(QDir::fromNativeSeparators(path));
}
} // namespace

FileLayout::FileLayout(const QString& programFolder, const QString& appDataFolder, const QString& sharedFolder)
    : m_program(folderPath(programFolder))
    , m_appData(folderPath(appDataFolder))
    , m_shared(folderPath(sharedFolder))
{
}

FileLayout FileLayout::choose(const QString& programFolder, const QString& appDataFolder, const QString& shareFolder,
                              bool programFolderWritable)
{
    const bool besideProgram = QFileInfo(folderPath(programFolder) + QStringLiteral("Htm")).isDir();
    const bool inShare = QFileInfo(folderPath(shareFolder) + QStringLiteral("Htm")).isDir();
    if (inShare && (!besideProgram || !programFolderWritable))
        return FileLayout(programFolder, appDataFolder, shareFolder);
    if (!programFolderWritable && !appDataFolder.isEmpty())
        return FileLayout(programFolder, appDataFolder, programFolder);
    return FileLayout(programFolder, appDataFolder);
}

FileLayout FileLayout::forThisProgram()
{
    const QString program = QCoreApplication::applicationDirPath();
    const QString share = QDir::cleanPath(program + QStringLiteral("/../share/")
                                          + P(ProfileId::ApplicationTitle).toLower());
    return choose(program, QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation), share,
                  QFileInfo(program).isWritable());
}

QString FileLayout::shippedChapterFolder() const
{
    return (isInstalled() ? m_shared : m_program) + QStringLiteral("Htm") + PathSep;
}

QString FileLayout::defaultChapterFolder() const
{
    return (isInstalled() ? dataFolder() : m_program) + QStringLiteral("Htm") + PathSep;
}

QString FileLayout::dataFolder() const
{
    const QString title = P(ProfileId::ApplicationTitle);
    // Without an application-data folder the per-user files live beside the program.
    if (m_appData.isEmpty())
        return m_program + title + PathSep;
    return m_appData + P(ProfileId::MakerName) + PathSep + title + PathSep;
}

QString FileLayout::updateFolder() const
{
    return isInstalled() ? dataFolder() : m_program;
}

QString FileLayout::notesFolder() const
{
    return dataFolder() + QStringLiteral("Notes") + PathSep;
}

QString FileLayout::logFolder() const
{
    return dataFolder() + QStringLiteral("Logs") + PathSep + QStringLiteral("DelPrint") + PathSep;
}

QString FileLayout::customTreePath() const
{
    return dataFolder() + P(ProfileId::CustomTreeFileName);
}

QString FileLayout::findHistoryPath() const
{
    return dataFolder() + P(ProfileId::FindHistoryFileName);
}

QString FileLayout::readingStatePath() const
{
    return dataFolder() + QStringLiteral("ReadingState.txt");
}

QString FileLayout::defaultNotesPath() const
{
    return (isInstalled() ? m_shared : m_program) + QStringLiteral("Default.rtn");
}

QString FileLayout::programFile() const
{
    return m_program + P(ProfileId::ExeName);
}

QString FileLayout::oldProgramFile() const
{
    return m_program + P(ProfileId::OldExeName);
}

QString FileLayout::helpFile() const
{
    return (isInstalled() ? m_shared : m_program) + P(ProfileId::HelpFileName);
}

bool AddShippedChapters(const QString& shipped, const QString& target, QString* error)
{
    const QDir from(shipped);
    if (!from.exists())
        return true;
    if (!QDir().mkpath(target)) {
        if (error)
            *error = QStringLiteral("Složku \"%1\" nelze vytvořit.").arg(QDir::toNativeSeparators(target));
        return false;
    }
    const QDir to(target);
    for (const QFileInfo& entry : from.entryInfoList(QDir::Files | QDir::Dirs | QDir::NoDotAndDotDot | QDir::Hidden,
                                                     QDir::Name)) {
        if (entry.isSymLink())
            continue;
        const QString destination = to.filePath(entry.fileName());
        if (entry.isDir()) {
            if (!AddShippedChapters(entry.filePath(), destination, error))
                return false;
            continue;
        }
        if (QFileInfo::exists(destination))
            continue;
        FileError failure;
        const auto bytes = ReadFileBytes(entry.filePath(), 256LL * 1024 * 1024, &failure);
        if (!bytes || !SaveBytesAtomically(destination, *bytes, &failure)) {
            if (error)
                *error = QDir::toNativeSeparators(destination) + QStringLiteral(": ") + failure.message;
            return false;
        }
    }
    return true;
}

} // namespace tavio
