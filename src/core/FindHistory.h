#pragma once

#include <QStringList>

// The search history (newest first, one search text per line) and the search
// options kept in the settings store.
namespace tavio {

class SettingsStore;
struct FileError;

// The lines of the history file; none when it does not exist.
QStringList LoadFindHistory(const QString& path);
// T goes to the head; the last entry equal to T (compared trimmed, exactly) leaves.
QStringList PushFindHistory(const QStringList& history, const QString& text);
bool SaveFindHistory(const QString& path, const QStringList& history, FileError* error = nullptr);

struct FindSettings
{
    bool WholeWordsOnly = false;
    bool CaseSensitive = false;
    bool FindInAllFiles = true;
    bool CopyToClipboard = true;
    bool ResultsInPanel = true;
};

FindSettings LoadFindSettings(const SettingsStore& store);
void SaveFindSettings(SettingsStore& store, const FindSettings& settings);

} // namespace tavio
