#pragma once

#include <QString>

#include <optional>

// Shared types and the small text operations of chapter captions, bookmarks,
// search and notes.
namespace tavio {

// Paths are kept with '/' inside the program; folder paths always end with one.
inline constexpr QChar PathSep = QLatin1Char('/');

struct TProgramVersion
{
    quint32 Major = 0;
    quint32 Minor = 0;
    quint32 Release = 0;
    quint32 Build = 0;
    friend bool operator==(const TProgramVersion&, const TProgramVersion&) = default;
};

TProgramVersion GetProgramVersion();
QString VersionText(const TProgramVersion& v);
// The running program's version text, computed once.
const QString& VersionText();

QString RemoveFileExt(const QString& text);
QString CaptionFileExt(const QString& caption);
QString CaptionToFileName(const QString& caption);
QString CaptionToTitle(const QString& caption);
QString DecodeAmpEntities(const QString& text);
QString EscapeAmpersands(const QString& text);
// The local path of a file: URL; nothing when a '%' is not followed by two hex digits.
std::optional<QString> FileUrlToPath(const QString& url);

// Deletes the folder with everything in it. A symbolic link is removed itself and
// never followed. Stops at the first entry that cannot be deleted.
bool DeleteFolderTree(const QString& folder, QString* error = nullptr);

QString WithTrailingSeparator(const QString& folder);

// Text search options of a page highlight.
struct TSearchAndHighlightTextOptions
{
    QString SearchText;
    bool WholeWordsOnly = false;
    bool CaseSensitive = false;
};

} // namespace tavio
