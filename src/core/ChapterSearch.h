#pragma once

#include <QByteArray>
#include <QString>

#include <memory>
#include <optional>
#include <vector>

// The search over chapter files: one file's verdict by the match rule, and a run
// that works the files out ahead on worker threads while the caller takes the
// verdicts one by one, in its own order.
namespace tavio {

struct SearchQuery
{
    QString searchText; // as typed
    bool wholeWords = false;
    bool caseSensitive = false;
    QByteArray searchBytes; // Windows-1250
    QByteArray pattern;     // MakeSearchPattern

    static SearchQuery make(const QString& searchText, bool wholeWords, bool caseSensitive);
};

// The text around a file's first match, as the user reads it.
struct SearchSnippet
{
    QString before;
    QString match;
    QString after;
    bool isEmpty() const { return match.isEmpty(); }
};

struct FileVerdict
{
    enum class Kind { Missing, Miss, Hit, Unreadable };
    Kind kind = Kind::Missing;
    int matches = 0; // places a match starts at; for a hit found line by line, 1
    SearchSnippet snippet;
    QString error; // Unreadable: why
};

// About this many characters of text stand around the match in a snippet.
inline constexpr int SnippetContext = 40;

// One chapter file by the sequential rule: its text when it can be read, else its
// raw lines. A file whose bytes cannot hold a match is not extracted at all.
FileVerdict SearchChapterFile(const QString& path, const SearchQuery& query);
// The same on bytes already read.
FileVerdict SearchChapterBytes(QByteArrayView bytes, const SearchQuery& query);
// A notes file's text by the same spacing and line rule. A missing or unreadable
// notes file is no hit and no error: notes are optional.
FileVerdict SearchNotesFile(const QString& path, const SearchQuery& query);

// The snippet of a match at position at of an extracted text.
SearchSnippet MakeSnippet(QByteArrayView text, qsizetype at, const SearchQuery& query);

class ChapterSearchRun final
{
public:
    struct Job
    {
        QString chapterPath; // empty: nothing to search
        QString notesPath;   // empty: the notes are not searched
    };
    struct Result
    {
        FileVerdict chapter;
        FileVerdict notes;
    };

    // Starts working on the jobs at once, in order, on up to threads workers.
    ChapterSearchRun(std::vector<Job> jobs, SearchQuery query, int threads);
    // Cancels; a worker still inside a file finishes it on its own, unwaited.
    ~ChapterSearchRun();
    ChapterSearchRun(const ChapterSearchRun&) = delete;
    ChapterSearchRun& operator=(const ChapterSearchRun&) = delete;

    // Job index's result once it is there, waiting at most timeoutMs for it.
    std::optional<Result> take(size_t index, int timeoutMs);
    void cancel();

private:
    struct State;
    std::shared_ptr<State> m_state;
};

} // namespace tavio
