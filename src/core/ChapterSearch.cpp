#include "ChapterSearch.h"

#include "ChapterText.h"
#include "Cp1250.h"
#include "NotesFile.h"
#include "TextFile.h"

#include <QFileInfo>
#include <QRegularExpression>
#include <QThread>
#include <QThreadPool>

#include <algorithm>
#include <cerrno>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <mutex>

#ifdef Q_OS_LINUX
#include <sys/resource.h>
#include <sys/syscall.h>
#include <unistd.h>
#endif

namespace tavio {

namespace {

// The extraction sets punctuation apart and keeps line indentation; the snippet
// puts the text back as it reads.
QString readable(QString text)
{
    text.remove(QChar(0));
    static const QRegularExpression blanks(QStringLiteral("\\s+"));
    static const QRegularExpression beforeMark(QStringLiteral(" ([,.;:!?)\\]}])"));
    static const QRegularExpression afterOpen(QStringLiteral("([(\\[{]) "));
    text.replace(blanks, QStringLiteral(" "));
    text.replace(beforeMark, QStringLiteral("\\1"));
    text.replace(afterOpen, QStringLiteral("\\1"));
    return text;
}

FileVerdict verdictOnText(QByteArrayView text, const SearchQuery& query)
{
    FileVerdict v;
    const qsizetype at = FindPattern(text, query.pattern, query.caseSensitive);
    if (at < 0) {
        v.kind = FileVerdict::Kind::Miss;
        return v;
    }
    v.kind = FileVerdict::Kind::Hit;
    v.matches = CountPattern(text, query.pattern, query.caseSensitive, at);
    v.snippet = MakeSnippet(text, at, query);
    return v;
}

} // namespace

SearchQuery SearchQuery::make(const QString& searchText, bool wholeWords, bool caseSensitive)
{
    SearchQuery q;
    q.searchText = searchText;
    q.wholeWords = wholeWords;
    q.caseSensitive = caseSensitive;
    q.searchBytes = cp1250::fromUnicode(searchText);
    q.pattern = MakeSearchPattern(searchText, wholeWords, caseSensitive);
    return q;
}

SearchSnippet MakeSnippet(QByteArrayView text, qsizetype at, const SearchQuery& query)
{
    qsizetype from = at;
    qsizetype length = query.pattern.size();
    // The blanks that frame a whole-word pattern are not part of what was found.
    if (query.wholeWords && length >= 2) {
        ++from;
        length -= 2;
    }
    const qsizetype start = std::max<qsizetype>(0, from - SnippetContext);
    const qsizetype end = std::min<qsizetype>(text.size(), from + length + SnippetContext);
    SearchSnippet s;
    s.before = readable(cp1250::toUnicode(text.sliced(start, from - start)));
    s.match = readable(cp1250::toUnicode(text.sliced(from, length)));
    s.after = readable(cp1250::toUnicode(text.sliced(from + length, end - from - length)));
    // The match keeps the blanks it was typed with; what stands beside it is trimmed
    // at its far end only, so a word boundary next to the match stays visible.
    while (s.before.startsWith(QLatin1Char(' ')))
        s.before.remove(0, 1);
    while (s.after.endsWith(QLatin1Char(' ')))
        s.after.chop(1);
    if (start > 1)
        s.before.prepend(QChar(0x2026));
    if (end < text.size() - 1)
        s.after.append(QChar(0x2026));
    return s;
}

FileVerdict SearchChapterBytes(QByteArrayView bytes, const SearchQuery& query)
{
    if (!ChapterMayHavePattern(bytes, query.pattern, query.caseSensitive)) {
        FileVerdict v;
        v.kind = FileVerdict::Kind::Miss;
        return v;
    }
    return verdictOnText(ChapterBytesToText(bytes, query.searchBytes), query);
}

FileVerdict SearchChapterFile(const QString& path, const SearchQuery& query)
{
    FileVerdict v;
    if (!QFileInfo(path).isFile())
        return v;
    FileError error;
    if (const std::optional<QByteArray> bytes = ReadFileBytes(path, MaxChapterFileBytes, &error))
        return SearchChapterBytes(*bytes, query);
    // The file cannot be read whole: its lines, markup and all, as the rule says.
    const std::optional<bool> raw = RawLinesHavePattern(path, query.pattern, query.caseSensitive, &error);
    if (!raw) {
        v.kind = FileVerdict::Kind::Unreadable;
        v.error = error.message;
        return v;
    }
    v.kind = *raw ? FileVerdict::Kind::Hit : FileVerdict::Kind::Miss;
    v.matches = *raw ? 1 : 0;
    return v;
}

FileVerdict SearchNotesFile(const QString& path, const SearchQuery& query)
{
    FileVerdict v;
    if (path.isEmpty() || !QFileInfo(path).isFile())
        return v;
    const NotesReadResult read = LoadNotesFile(path);
    if (read.status == NotesReadStatus::Foreign || read.status == NotesReadStatus::Unreadable
        || read.status == NotesReadStatus::TooNew) {
        v.kind = FileVerdict::Kind::Miss;
        return v;
    }
    QString text;
    for (const NotesParagraph& p : read.content.Paragraphs) {
        for (const NotesRun& run : p.Runs) {
            if (run.kind == NotesRun::Kind::Text)
                text += run.Text;
        }
        text += QLatin1Char('\n');
    }
    text.replace(QChar::LineSeparator, QLatin1Char('\n'));
    return verdictOnText(PlainBytesToText(cp1250::fromUnicode(text), query.searchBytes), query);
}

struct ChapterSearchRun::State
{
    std::vector<Job> jobs;
    SearchQuery query;
    std::atomic<size_t> next{0};
    std::atomic<bool> cancelled{false};
    std::mutex mutex;
    std::condition_variable ready;
    std::vector<std::optional<Result>> results;

    void work()
    {
        for (;;) {
            const size_t i = next.fetch_add(1);
            if (i >= jobs.size() || cancelled.load())
                return;
            Result r;
            if (!jobs[i].chapterPath.isEmpty())
                r.chapter = SearchChapterFile(jobs[i].chapterPath, query);
            // Only the notes of a chapter that is there: the chapter is what a hit opens.
            if (!jobs[i].notesPath.isEmpty() && r.chapter.kind != FileVerdict::Kind::Missing && !cancelled.load())
                r.notes = SearchNotesFile(jobs[i].notesPath, query);
            {
                std::lock_guard lock(mutex);
                results[i] = std::move(r);
            }
            ready.notify_all();
        }
    }
};

namespace {

// The workers yield to the GUI thread when both want the processor: the window
// must answer within milliseconds, a file may well wait that long.
void yieldToTheWindow()
{
#ifdef Q_OS_LINUX
    static thread_local bool done = false;
    if (done)
        return;
    done = true;
    const id_t tid = id_t(::syscall(SYS_gettid));
    errno = 0;
    const int nice = ::getpriority(PRIO_PROCESS, tid);
    if (errno == 0)
        ::setpriority(PRIO_PROCESS, tid, std::min(nice + 4, 19));
#endif
}

// One pool for every run: a cancelled run's workers finish their file here while
// the next run starts, and the pool waits for them when the program ends.
QThreadPool& searchPool()
{
    static QThreadPool pool;
    static const bool sized = [] {
        pool.setMaxThreadCount(std::max(2, QThread::idealThreadCount()));
        pool.setExpiryTimeout(5000);
        return true;
    }();
    Q_UNUSED(sized);
    return pool;
}

} // namespace

ChapterSearchRun::ChapterSearchRun(std::vector<Job> jobs, SearchQuery query, int threads)
    : m_state(std::make_shared<State>())
{
    m_state->jobs = std::move(jobs);
    m_state->query = std::move(query);
    m_state->results.resize(m_state->jobs.size());
    const int workers = std::clamp(threads, 1, std::max(1, int(m_state->jobs.size())));
    for (int i = 0; i < workers; ++i) {
        std::shared_ptr<State> state = m_state;
        searchPool().start([state] {
            yieldToTheWindow();
            state->work();
        });
    }
}

ChapterSearchRun::~ChapterSearchRun()
{
    cancel();
}

void ChapterSearchRun::cancel()
{
    m_state->cancelled.store(true);
}

std::optional<ChapterSearchRun::Result> ChapterSearchRun::take(size_t index, int timeoutMs)
{
    if (index >= m_state->results.size())
        return std::nullopt;
    std::unique_lock lock(m_state->mutex);
    if (!m_state->ready.wait_for(lock, std::chrono::milliseconds(timeoutMs),
                                 [&] { return m_state->results[index].has_value(); }))
        return std::nullopt;
    std::optional<Result> r = std::move(m_state->results[index]);
    m_state->results[index].reset();
    return r;
}

} // namespace tavio
