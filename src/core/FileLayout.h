#pragma once

#include <QString>

// Where the program keeps its files. Every folder path ends with a separator.
namespace tavio {

class FileLayout final
{
public:
    // programFolder: the folder of the program file; appDataFolder: the user's
    // application-data folder (empty when the platform reports none).
    FileLayout(const QString& programFolder, const QString& appDataFolder);
    // The layout of this run: the program's folder and the user's data location.
    static FileLayout forThisProgram();

    QString programFolder() const { return m_program; }
    QString defaultChapterFolder() const; // program folder + "Htm/"
    QString dataFolder() const;           // app data + maker + title
    QString notesFolder() const;          // data folder + "Notes/"
    QString logFolder() const;            // data folder + "Logs/DelPrint/"
    QString customTreePath() const;
    QString findHistoryPath() const;
    QString defaultNotesPath() const;     // program folder + "Default.rtn"
    QString programFile() const;
    QString oldProgramFile() const;
    QString helpFile() const;

private:
    QString m_program;
    QString m_appData;
};

} // namespace tavio
