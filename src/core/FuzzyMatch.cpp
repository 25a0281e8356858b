#include "FuzzyMatch.h"

#include "Catalogue.h"
#include "ChapterTree.h"
#include "MainTypes.h"

#include <QHash>

#include <algorithm>
#include <limits>

namespace tavio {

namespace {

constexpr int MatchScore = 16;
constexpr int WordStartBonus = 30;
constexpr int ConsecutiveBonus = 8;
constexpr int GapPenalty = 1;
// A query word found whole at a word start beats any scattered match; found whole
// inside a word it gains less than typing the initials of words would.
constexpr int WholeAtWordStartBonus = 200;
constexpr int WholeInsideBonus = 20;
constexpr int RecentWindow = 10;
constexpr int RecentStep = 6;
constexpr int None = std::numeric_limits<int>::min() / 4;

bool isWordStart(QStringView text, qsizetype i)
{
    if (i == 0)
        return true;
    const QChar before = text[i - 1];
    const QChar here = text[i];
    if (!before.isLetterOrNumber())
        return true;
    // "0012lekce" or "lekce12": the number and the word are each a start of their own.
    return before.isDigit() != here.isDigit();
}

bool isSubsequence(QStringView query, QStringView text)
{
    qsizetype q = 0;
    for (qsizetype i = 0; i < text.size() && q < query.size(); ++i) {
        if (text[i] == query[q])
            ++q;
    }
    return q == query.size();
}

bool foundAtWordStart(QStringView word, QStringView text)
{
    for (qsizetype from = text.indexOf(word); from >= 0; from = text.indexOf(word, from + 1)) {
        if (isWordStart(text, from))
            return true;
    }
    return false;
}

} // namespace

QString FoldForMatch(const QString& text)
{
    const QString decomposed = text.normalized(QString::NormalizationForm_D);
    QString folded;
    folded.reserve(decomposed.size());
    for (const QChar c : decomposed) {
        const QChar::Category category = c.category();
        if (category == QChar::Mark_NonSpacing || category == QChar::Mark_SpacingCombining
            || category == QChar::Mark_Enclosing)
            continue;
        folded.append(c);
    }
    return folded.toCaseFolded();
}

int FuzzyScore(QStringView query, QStringView text)
{
    if (query.isEmpty())
        return 0;
    if (query.size() > text.size() || !isSubsequence(query, text))
        return -1;
    // best[j]: the best score with the current query letter matched at text[j].
    const qsizetype n = text.size();
    std::vector<int> previous(size_t(n), None);
    std::vector<int> current(size_t(n), None);
    for (qsizetype j = 0; j < n; ++j) {
        if (text[j] == query[0])
            previous[size_t(j)] = MatchScore + (isWordStart(text, j) ? WordStartBonus : 0);
    }
    for (qsizetype i = 1; i < query.size(); ++i) {
        int gapBest = None; // the best earlier match less the gap to j
        std::fill(current.begin(), current.end(), None);
        for (qsizetype j = 1; j < n; ++j) {
            if (j >= 2)
                gapBest = std::max(gapBest - GapPenalty, previous[size_t(j - 2)] - GapPenalty);
            if (text[j] != query[i])
                continue;
            const int adjacent = previous[size_t(j - 1)] > None ? previous[size_t(j - 1)] + ConsecutiveBonus : None;
            const int from = std::max(adjacent, gapBest);
            if (from <= None / 2)
                continue;
            current[size_t(j)] = from + MatchScore + (isWordStart(text, j) ? WordStartBonus : 0);
        }
        previous.swap(current);
    }
    const int best = *std::max_element(previous.begin(), previous.end());
    return best <= None / 2 ? -1 : std::max(best, 0);
}

std::vector<ChapterMatcher::Chapter> ChapterMatcher::fromTree(const ChapterTree& tree, const QString& folder)
{
    std::vector<Chapter> result;
    tree.forEach([&](TreeNode* node) {
        if (node->hasChildren() || node->imageIndex != image::Chapter)
            return;
        const QString fileName = CaptionToFileName(node->caption);
        if (fileName.isEmpty())
            return;
        result.push_back({node->caption, fileName, CaptionToTitle(node->caption), folder + fileName});
    });
    return result;
}

void ChapterMatcher::setChapters(std::vector<Chapter> chapters)
{
    m_chapters = std::move(chapters);
    m_folded.clear();
    m_folded.reserve(m_chapters.size());
    for (const Chapter& c : m_chapters)
        m_folded.push_back(FoldForMatch(c.title + QLatin1Char(' ') + c.fileName));
    setRecent(m_recent);
}

void ChapterMatcher::setRecent(const QStringList& paths)
{
    m_recent = paths;
    QHash<QString, int> rank;
    for (int i = int(paths.size()) - 1; i >= 0; --i)
        rank[paths[i]] = i; // a chapter read twice keeps its newest place
    m_recentRank.assign(m_chapters.size(), -1);
    for (size_t i = 0; i < m_chapters.size(); ++i)
        m_recentRank[i] = rank.value(m_chapters[i].path, -1);
}

int ChapterMatcher::recencyBonus(int n)
{
    return n >= 0 && n < RecentWindow ? (RecentWindow - n) * RecentStep : 0;
}

std::vector<int> ChapterMatcher::filter(const QString& query) const
{
    std::vector<QString> words;
    for (const QString& w : FoldForMatch(query).split(QLatin1Char(' '), Qt::SkipEmptyParts))
        words.push_back(w);

    struct Hit {
        int score;
        int index;
    };
    std::vector<Hit> hits;
    hits.reserve(m_chapters.size());
    for (size_t i = 0; i < m_chapters.size(); ++i) {
        const QString& text = m_folded[i];
        int total = 0;
        bool all = true;
        for (const QString& w : words) {
            const int s = FuzzyScore(w, text);
            if (s < 0) {
                all = false;
                break;
            }
            total += s;
            if (foundAtWordStart(w, text))
                total += WholeAtWordStartBonus;
            else if (text.contains(w))
                total += WholeInsideBonus;
        }
        if (!all)
            continue;
        hits.push_back({total + recencyBonus(m_recentRank[i]), int(i)});
    }
    std::stable_sort(hits.begin(), hits.end(), [](const Hit& a, const Hit& b) { return a.score > b.score; });
    std::vector<int> result;
    result.reserve(hits.size());
    for (const Hit& h : hits)
        result.push_back(h.index);
    return result;
}

} // namespace tavio
