#include "ChapterCorpus.h"
#include "ChapterSearch.h"
#include "ChapterText.h"
#include "Cp1250.h"
#include "NotesFile.h"
#include "TestFiles.h"
#include "TextFile.h"

#include <QDir>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <QTest>

#include <random>

using namespace tavio;

namespace {

bool sequentialHit(QByteArrayView bytes, const SearchQuery& q)
{
    return TextHasPattern(ChapterBytesToText(bytes, q.searchBytes), q.pattern, q.caseSensitive);
}

QByteArray cp(const QString& s)
{
    return cp1250::fromUnicode(s);
}

const QStringList& corpusQueries()
{
    static const QStringList list = {
        QStringLiteral("dynamické pole"), QStringLiteral("Dynamické"), QStringLiteral("mické p"), QStringLiteral("pole"),
        QStringLiteral("nbsp"), QStringLiteral("x<y"), QStringLiteral("&lt;b&gt;"), QStringLiteral("<b>"),
        QStringLiteral("\"Pos\""), QStringLiteral("Soucet := 0;"), QStringLiteral("dal&scaron;"),
        QStringLiteral("dynamické&nbsp;pole"), QStringLiteral("« Předchozí"), QStringLiteral("2 × 3"),
        QStringLiteral("Pole[i] > 0"), QStringLiteral("max)max"), QStringLiteral("žluťoučký"), QStringLiteral("-->"),
    };
    return list;
}

} // namespace

class TestChapterSearch : public QObject
{
    Q_OBJECT
private slots:
    void prefilterAndVerdictsFollowTheRuleOnTheCorpus();
    void prefilterNeverDropsAMatchOnRandomFiles();
    void runGivesTheSequentialVerdictsInOrder();
    void snippet_data();
    void snippet();
    void notesFiles();
};

// The guard of the fast path: over both kinds of generated chapters and many
// phrases, the verdict is the sequential rule's, and the prefilter skips files.
void TestChapterSearch::prefilterAndVerdictsFollowTheRuleOnTheCorpus()
{
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString folder = dir.path() + QLatin1Char('/');
    int phrase = 0;
    QStringList paths = corpus::generatePlain(folder + QStringLiteral("p-"), 60, &phrase);
    QDir().mkpath(folder + QStringLiteral("w/"));
    paths += corpus::generateWeb(folder + QStringLiteral("w/"), 60, &phrase);
    int skipped = 0;
    int hits = 0;
    for (const QString& path : paths) {
        const QByteArray bytes = testfiles::read(path);
        for (const QString& text : corpusQueries()) {
            for (int flags = 0; flags < 4; ++flags) {
                const SearchQuery q = SearchQuery::make(text, flags & 1, flags & 2);
                const bool expected = sequentialHit(bytes, q);
                const bool may = ChapterMayHavePattern(bytes, q.pattern, q.caseSensitive);
                if (expected && !may)
                    QFAIL(qPrintable(QStringLiteral("the prefilter dropped %1 for \"%2\" (flags %3)")
                                         .arg(path, text).arg(flags)));
                skipped += !may;
                const FileVerdict v = SearchChapterBytes(bytes, q);
                QCOMPARE(v.kind == FileVerdict::Kind::Hit, expected);
                QCOMPARE(v.matches > 0, expected);
                hits += expected;
            }
        }
    }
    // Not vacuous: both answers occur, and most misses never reach the extraction.
    QVERIFY(hits > 100);
    QVERIFY(skipped > paths.size() * corpusQueries().size());
}

void TestChapterSearch::prefilterNeverDropsAMatchOnRandomFiles()
{
    const std::vector<QByteArray> pieces = {"<b>", "</b>", "<p\r\nclass=x>", "<", ">", ">>", "<<", "&lt;", "&gt;",
        "&quot;", "&shy;", "&copy;", "&nbsp;", "&lt ; ", "&", ";", " ", "  ", "\t", "\r", "\n", "\r\n",
        QByteArray(1, '\0'), "ab", "Ab", "AB", "a", "b", "c", "x+y", ",", ".", "-", "\xe8", "\xc8", "\xb1", "\"", "'",
        "<!--", "-->", "ab<i>c</i>", "a>b", "\xe9", "\xc9"};
    std::mt19937 rng(1234);
    int matches = 0;
    for (int round = 0; round < 20000; ++round) {
        QByteArray file;
        const int n = 1 + int(rng() % 40);
        for (int i = 0; i < n; ++i)
            file += pieces[rng() % pieces.size()];
        // Phrases from the file's own text (so that many match) or from the pieces.
        QByteArray search;
        const QByteArray text = ChapterBytesToText(file, QByteArray());
        if (rng() % 3 != 0 && text.size() > 2) {
            const qsizetype from = qsizetype(rng() % size_t(text.size() - 1));
            search = text.mid(from, 1 + qsizetype(rng() % 6));
        } else {
            search = pieces[rng() % pieces.size()] + pieces[rng() % pieces.size()];
        }
        search.replace('\0', "");
        const QString typed = cp1250::toUnicode(search);
        if (typed.isEmpty())
            continue;
        for (int flags = 0; flags < 4; ++flags) {
            const SearchQuery q = SearchQuery::make(typed, flags & 1, flags & 2);
            if (!sequentialHit(file, q))
                continue;
            ++matches;
            if (!ChapterMayHavePattern(file, q.pattern, q.caseSensitive))
                QFAIL(qPrintable(QStringLiteral("the prefilter dropped a match of \"%1\" (flags %2) in %3")
                                     .arg(typed)
                                     .arg(flags)
                                     .arg(QString::fromLatin1(file.toPercentEncoding()))));
        }
    }
    QVERIFY(matches > 10000);
}

void TestChapterSearch::runGivesTheSequentialVerdictsInOrder()
{
    QTemporaryDir dir;
    const QString folder = dir.path() + QLatin1Char('/');
    int phrase = 0;
    const QStringList paths = corpus::generateWeb(folder, 40, &phrase);
    const SearchQuery q = SearchQuery::make(QStringLiteral("dynamické pole"), true, false);
    std::vector<ChapterSearchRun::Job> jobs;
    for (const QString& p : paths) {
        jobs.push_back({p, {}});
        if (jobs.size() % 7 == 0)
            jobs.push_back({folder + QStringLiteral("chybí.htm"), {}});
        if (jobs.size() % 11 == 0)
            jobs.push_back({});
    }
    ChapterSearchRun run(jobs, q, 3);
    int hits = 0;
    for (size_t i = 0; i < jobs.size(); ++i) {
        const auto r = run.take(i, 10000);
        QVERIFY(r);
        if (jobs[i].chapterPath.isEmpty()) {
            QCOMPARE(r->chapter.kind, FileVerdict::Kind::Missing);
            continue;
        }
        const FileVerdict expected = SearchChapterFile(jobs[i].chapterPath, q);
        QCOMPARE(r->chapter.kind, expected.kind);
        QCOMPARE(r->chapter.matches, expected.matches);
        hits += r->chapter.kind == FileVerdict::Kind::Hit;
    }
    QCOMPARE(hits, phrase);

    // A cancelled run hands out no more than it had; waiting for the rest ends.
    ChapterSearchRun stopped(jobs, q, 1);
    stopped.cancel();
    QElapsedTimer t;
    t.start();
    for (size_t i = 0; i < jobs.size(); ++i)
        stopped.take(i, 1);
    QVERIFY(t.elapsed() < 5000);
}

void TestChapterSearch::snippet_data()
{
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<QString>("search");
    QTest::addColumn<bool>("whole");
    QTest::addColumn<QString>("shown");
    QTest::addColumn<int>("matches");

    QTest::newRow("punctuation put back, Czech letters")
        << cp(QStringLiteral("<p>Řeka, která teče (pomalu): řeka.</p>")) << QStringLiteral("řeka") << true
        << QStringLiteral("[Řeka], která teče (pomalu): řeka.") << 2;
    QTest::newRow("inside a word")
        << cp(QStringLiteral("<p>kostka a kost</p>")) << QStringLiteral("kost") << false
        << QStringLiteral("[kost]ka a kost") << 2;
    QTest::newRow("long text cut around the match")
        << cp(QStringLiteral("<p>") + QString(60, QLatin1Char('a')) + QStringLiteral(" slovo ") + QString(60, QLatin1Char('b'))
              + QStringLiteral("</p>"))
        << QStringLiteral("slovo") << true
        << QStringLiteral("…") + QString(39, QLatin1Char('a')) + QStringLiteral(" [slovo] ") + QString(39, QLatin1Char('b'))
            + QStringLiteral("…")
        << 1;
    QTest::newRow("entities and soft hyphen") << QByteArray("<p>a &lt;b&gt; c&shy;d</p>") << QStringLiteral("<b>")
                                               << false << QStringLiteral("a [<b>] c d") << 1;
}

void TestChapterSearch::snippet()
{
    QFETCH(QByteArray, file);
    QFETCH(QString, search);
    QFETCH(bool, whole);
    QFETCH(QString, shown);
    QFETCH(int, matches);
    const FileVerdict v = SearchChapterBytes(file, SearchQuery::make(search, whole, false));
    QCOMPARE(v.kind, FileVerdict::Kind::Hit);
    QCOMPARE(v.snippet.before + QLatin1Char('[') + v.snippet.match + QLatin1Char(']') + v.snippet.after, shown);
    QCOMPARE(v.matches, matches);
}

void TestChapterSearch::notesFiles()
{
    QTemporaryDir dir;
    const QString path = dir.path() + QStringLiteral("/0001.rtn");
    const SearchQuery q = SearchQuery::make(QStringLiteral("světe"), true, false);
    QCOMPARE(SearchNotesFile(path, q).kind, FileVerdict::Kind::Missing);

    NotesContent c;
    NotesRun a;
    a.Text = QStringLiteral("Ahoj, ");
    NotesRun b;
    b.StyleNo = 1;
    b.Text = QStringLiteral("SVĚTE!");
    c.Paragraphs.append({0, {a, b}});
    NotesRun d;
    d.Text = QStringLiteral("<b>x</b> & druhý");
    c.Paragraphs.append({0, {d}});
    QVERIFY(SaveNotesFile(path, c));
    const FileVerdict v = SearchNotesFile(path, q);
    QCOMPARE(v.kind, FileVerdict::Kind::Hit);
    QCOMPARE(v.snippet.match, QStringLiteral("SVĚTE"));
    // Paragraphs join like lines; what looks like markup in notes is text.
    QCOMPARE(SearchNotesFile(path, SearchQuery::make(QStringLiteral("světe!<b>"), false, false)).kind,
             FileVerdict::Kind::Miss);
    QCOMPARE(SearchNotesFile(path, SearchQuery::make(QStringLiteral("světe! <b>x</b>"), false, false)).kind,
             FileVerdict::Kind::Hit);
    QCOMPARE(SearchNotesFile(path, SearchQuery::make(QStringLiteral("ahoj světe"), false, false)).kind,
             FileVerdict::Kind::Miss);

    testfiles::write(path, "not a notes file");
    QCOMPARE(SearchNotesFile(path, q).kind, FileVerdict::Kind::Miss);
}

QTEST_GUILESS_MAIN(TestChapterSearch)
#include "tst_chaptersearch.moc"
