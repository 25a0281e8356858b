#pragma once

#include <QString>
#include <QStringList>

#include <vector>

// Matching typed letters against chapter titles and file names, the way a reader
// types them: without diacritics, without regard to case, a few letters of each word.
namespace tavio {

class ChapterTree;

// The text reduced for matching: canonical decomposition with the combining marks
// dropped, then lower case ("Řetězce" -> "retezce").
QString FoldForMatch(const QString& text);

// How well a folded query matches a folded text, or -1 when it does not: every
// query letter must appear in order. Letters at word starts and runs of letters in
// a row score higher; a gap between matched letters costs a little.
int FuzzyScore(QStringView foldedQuery, QStringView foldedText);

// The chapters of a catalogue, matched and ranked for a query. A query of several
// words needs each word to match; a word found whole at a word start outranks a
// scattered match; chapters read lately gain a step.
class ChapterMatcher final
{
public:
    struct Chapter {
        QString caption; // the catalogue node's caption
        QString fileName; // the file name, matched too
        QString title;
        QString path; // full path, compared with the recent list
    };

    // The chapter nodes of a catalogue tree, in display order; folder ends with a separator.
    static std::vector<Chapter> fromTree(const ChapterTree& tree, const QString& folder);

    void setChapters(std::vector<Chapter> chapters);
    const std::vector<Chapter>& chapters() const{return m_chapters; }
    // Full paths of the chapters read lately, newest first.
    void setRecent(const QStringList& paths);

    // Indexes into chapters(), best first. An empty query lists the chapters read
    // lately first, then the rest in catalogue order.
    std::vector<int> filter(const QString& query) const;

    // The bonus for the chapter read n-th last (0: the newest); 0 past the window.
    static int recencyBonus(int n);

private:
    std::vector<Chapter> m_chapters;
    std::vector<QString> m_folded;
    std::vector<int> m_recentRank; // per chapter, -1 when not read lately
    QStringList m_recent;
};

} // namespace tavio
