#pragma once

#include <QString>

// Where the program keeps its files. Every folder path ends with a separator.
namespace tavio {

class FileLayout final
{
public:
    // programFolder: the folder of the program file; appDataFolder: the user's
    // application-data folder (empty when the platform reports none).
    // sharedFolder: where an installed copy keeps the files it ships (chapters,
    // help, notes template); empty when they lie beside the program, which can then
    // write its own folder.
    FileLayout(const QString& programFolder, const QString& appDataFolder, const QString& sharedFolder = {});
    // The layout of this run: the program's folder and the user's data location.
    // A copy whose folder cannot be written, or that finds its shipped files under
    // ../share/tavio/ instead of beside itself, is an installed copy.
    static FileLayout forThisProgram();
    static FileLayout choose(const QString& programFolder, const QString& appDataFolder, const QString& shareFolder,
                             bool programFolderWritable);

    QString programFolder() const { return m_program; }
    bool isInstalled() const { return !m_shared.isEmpty(); }
    // The chapters the program came with: the chapter folder itself when it runs
    // from its own folder; in an installed copy the template of the user's folder.
    QString shippedChapterFolder() const;
    QString defaultChapterFolder() const; // program folder + "Htm/"; data folder + "Htm/" when installed
    QString dataFolder() const;           // app data + maker + title
    // Where the update keeps its descriptors and the user information: the program
    // folder, or the user's data folder for an installed copy, which cannot write its own.
    QString updateFolder() const;
    QString notesFolder() const;          // data folder + "Notes/"
    QString logFolder() const;            // data folder + "Logs/DelPrint/"
    QString customTreePath() const;
    QString findHistoryPath() const;
    QString readingStatePath() const;     // data folder + "ReadingState.txt"
    QString defaultNotesPath() const;     // program folder + "Default.rtn"
    QString programFile() const;
    QString oldProgramFile() const;
    QString helpFile() const;

private:
    QString m_program;
    QString m_appData;
    QString m_shared;
};

// Copies every file of shipped (with its subfolders) that target does not have yet;
// what the user has is never replaced. False, with the reason, when a copy failed.
bool AddShippedChapters(const QString& shipped, const QString& target, QString* error = nullptr);

} // namespace tavio
