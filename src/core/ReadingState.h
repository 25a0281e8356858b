#pragma once

#include <QHash>
#include <QList>
#include <QString>
#include <QStringList>

#include <optional>

// What the reader has done with the chapters: the back and forward history, where each
// chapter was left, which ones are read and which came with the last update, and the
// reading theme. Chapters are known by file name, so that a renamed or moved chapter
// folder keeps them. One versioned Windows-1250 file in the user data folder holds it.
namespace tavio {

struct FileError;

enum class ReadingTheme { Light = 0, Sepia = 1, Dark = 2 };

// A theme's colours as 0xRRGGBB. Light gives those of a page that sets none.
struct ThemeColours
{
    quint32 page, text, link, visited, code, codeText, rule;
};
const ThemeColours& ColoursOf(ReadingTheme theme);

struct HistoryEntry
{
    QString fileName; // "0005.htm"
    QString anchor;   // without the '#'; empty for the chapter itself
    bool operator==(const HistoryEntry&) const = default;
};

class ReadingState final
{
public:
    static constexpr int FormatVersion = 1;
    static constexpr int MaxHistory = 200;

    // History. visit() drops the entries ahead of the current one and adds the new one,
    // unless it is the current one already.
    void visit(const HistoryEntry& entry);
    const QList<HistoryEntry>& history() const { return m_history; }
    int historyIndex() const { return m_index; }
    std::optional<HistoryEntry> backTarget() const;
    std::optional<HistoryEntry> forwardTarget() const;
    // Moves through the history and gives the entry moved to.
    std::optional<HistoryEntry> goBack();
    std::optional<HistoryEntry> goForward();
    // The chapters visited, newest first, each once.
    const QStringList& recentChapters() const { return m_recent; }

    // Where a chapter was left: the share of its scroll range, 0 (top) to 1 (end).
    std::optional<double> position(const QString& fileName) const;
    void setPosition(const QString& fileName, double share);

    bool isRead(const QString& fileName) const;
    void setRead(const QString& fileName, bool read);
    int readCount(const QStringList& fileNames) const;

    // The chapters the last update brought; replaces the previous ones.
    bool isNew(const QString& fileName) const;
    void setNewChapters(const QStringList& fileNames);

    ReadingTheme theme() const { return m_theme; }
    void setTheme(ReadingTheme theme) { m_theme = theme; }

    // Forgets every chapter not in the list (gone from the folder); true when any went.
    bool keepOnly(const QStringList& fileNames);

    QByteArray toBytes() const;
    // Nothing when the bytes are not a reading-state file this program can read.
    static std::optional<ReadingState> fromBytes(const QByteArray& bytes);

    enum class LoadStatus { Loaded, Missing, Damaged };
    struct Loaded;
    // A damaged file is renamed aside (".damaged") and the state starts empty.
    static Loaded load(const QString& path);
    bool save(const QString& path, FileError* error = nullptr) const;

private:
    struct Chapter
    {
        bool read = false;
        bool isNew = false;
        double position = -1; // none
        bool empty() const { return !read && !isNew && position < 0; }
    };
    void touch(const QString& fileName);
    void dropIfEmpty(const QString& fileName);

    QList<HistoryEntry> m_history;
    int m_index = -1;
    QStringList m_recent;
    QHash<QString, Chapter> m_chapters;
    ReadingTheme m_theme = ReadingTheme::Light;
};

struct ReadingState::Loaded
{
    ReadingState state;
    LoadStatus status = LoadStatus::Missing;
};

} // namespace tavio
