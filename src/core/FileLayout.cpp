#include "FileLayout.h"

#include "MainTypes.h"
#include "Profile.h"

#include <QCoreApplication>
#include <QDir>
#include <QStandardPaths>

namespace tavio {

FileLayout::FileLayout(const QString& programFolder, const QString& appDataFolder)
    : m_program(WithTrailingSeparator(QDir::fromNativeSeparators(programFolder)))
    , m_appData(appDataFolder.isEmpty() ? QString() : WithTrailingSeparator(QDir::fromNativeSeparators(appDataFolder)))
{
}

FileLayout FileLayout::forThisProgram()
{
    return FileLayout(QCoreApplication::applicationDirPath(),
                      QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation));
}

QString FileLayout::defaultChapterFolder() const
{
    return m_program + QStringLiteral("Htm") + PathSep;
}

QString FileLayout::dataFolder() const
{
    const QString title = P(ProfileId::ApplicationTitle);
    // Without an application-data folder the per-user files live beside the program.
    if (m_appData.isEmpty())
        return m_program + title + PathSep;
    return m_appData + P(ProfileId::MakerName) + PathSep + title + PathSep;
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

QString FileLayout::defaultNotesPath() const
{
    return m_program + QStringLiteral("Default.rtn");
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
    return m_program + P(ProfileId::HelpFileName);
}

} // namespace tavio
