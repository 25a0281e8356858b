#include "FindHistory.h"

#include "AppSettings.h"
#include "SettingsStore.h"
#include "TextFile.h"

#include <QFileInfo>

namespace tavio {

namespace {
const QString FindKey()
{
    return AppSettings::root() + QStringLiteral("FindSettings\\");
}
constexpr qint64 MaxHistoryBytes = 16 * 1024 * 1024;
} // namespace

QStringList LoadFindHistory(const QString& path)
{
    if (!QFileInfo::exists(path))
        return {};
    return ReadTextLines(path, MaxHistoryBytes).value_or(QStringList());
}

QStringList PushFindHistory(const QStringList& history, const QString& text)
{
    QStringList rest = history;
    for (qsizetype i = rest.size() - 1; i >= 0; --i) {
        if (rest[i].trimmed() == text) {
            rest.removeAt(i);
            break;
        }
    }
    rest.prepend(text);
    return rest;
}

bool SaveFindHistory(const QString& path, const QStringList& history, FileError* error)
{
    return WriteTextLines(path, history, error);
}

FindSettings LoadFindSettings(const SettingsStore& store)
{
    FindSettings s;
    const QString key = FindKey();
    s.WholeWordsOnly = store.readBool(key, QStringLiteral("Whole Words Only")).value_or(s.WholeWordsOnly);
    s.CaseSensitive = store.readBool(key, QStringLiteral("Case Sensitive")).value_or(s.CaseSensitive);
    s.FindInAllFiles = store.readBool(key, QStringLiteral("Find In All Files")).value_or(s.FindInAllFiles);
    s.CopyToClipboard = store.readBool(key, QStringLiteral("Copy To Clipboard")).value_or(s.CopyToClipboard);
    s.ResultsInPanel = store.readBool(key, QStringLiteral("Results In Panel")).value_or(s.ResultsInPanel);
    return s;
}

void SaveFindSettings(SettingsStore& store, const FindSettings& s)
{
    const QString key = FindKey();
    store.writeBool(key, QStringLiteral("Whole Words Only"), s.WholeWordsOnly);
    store.writeBool(key, QStringLiteral("Case Sensitive"), s.CaseSensitive);
    store.writeBool(key, QStringLiteral("Find In All Files"), s.FindInAllFiles);
    store.writeBool(key, QStringLiteral("Copy To Clipboard"), s.CopyToClipboard);
    store.writeBool(key, QStringLiteral("Results In Panel"), s.ResultsInPanel);
}

} // namespace tavio
