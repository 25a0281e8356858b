#include "Catalogue.h"
#include "ChapterTree.h"
#include "FuzzyMatch.h"

#include <QTest>

using namespace tavio;

namespace {

std::vector<ChapterMatcher::Chapter> chapters(const QStringList& titles)
{
    std::vector<ChapterMatcher::Chapter> out;
    for (int i = 0; i < titles.size(); ++i) {
        const QString file = QStringLiteral("%1.htm").arg(i + 1, 4, 10, QLatin1Char('0'));
        out.push_back({file + QStringLiteral(" [ ") + titles[i] + QStringLiteral(" ]"), file, titles[i],
            QStringLiteral("/ch/") + file});
    }
    return out;
}

QStringList titlesOf(const ChapterMatcher& m, const std::vector<int>& rows)
{
    QStringList out;
    for (int r : rows)
        out << m.chapters()[size_t(r)].title;
    return out;
}

} // namespace

class TestFuzzyMatch final : public QObject
{
    Q_OBJECT
private slots:
    void fold_data();
    void fold();
    void ranking_data();
    void ranking();
    void recentChaptersRankUp();
    void chaptersOfCatalogue();
};

void TestFuzzyMatch::fold_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("folded");
    QTest::newRow("czech") << QStringLiteral("Řetězce") << QStringLiteral("retezce");
    QTest::newRow("all marks") << QStringLiteral("ŽLUŤOUČKÝ kůň úpěl ďábelské ódy")
                               << QStringLiteral("zlutoucky kun upel dabelske ody");
    QTest::newRow("precomposed and combining alike") << QStringLiteral("e\u030Cs") << QStringLiteral("es");
    QTest::newRow("digits and signs kept") << QStringLiteral("0012-01.htm") << QStringLiteral("0012-01.htm");
}

void TestFuzzyMatch::fold()
{
    QFETCH(QString, text);
    QFETCH(QString, folded);
    QCOMPARE(FoldForMatch(text), folded);
}

void TestFuzzyMatch::ranking_data()
{
    QTest::addColumn<QStringList>("titles");
    QTest::addColumn<QString>("query");
    QTest::addColumn<QStringList>("expected"); // titles in the expected order, nothing else

    const QStringList basic{QStringLiteral("Úvod"), QStringLiteral("Řetězce"), QStringLiteral("Pole"),
        QStringLiteral("Pokročilé lekce"), QStringLiteral("Řetězce a soubory")};
    QTest::newRow("no diacritics, any case")
        << basic << QStringLiteral("RETEZ")
        << QStringList{QStringLiteral("Řetězce"), QStringLiteral("Řetězce a soubory")};
    QTest::newRow("typed with diacritics") << basic << QStringLiteral("úvo") << QStringList{QStringLiteral("Úvod")};
    QTest::newRow("whole word before scattered")
        << basic << QStringLiteral("pole") << QStringList{QStringLiteral("Pole"), QStringLiteral("Pokročilé lekce")};
    QTest::newRow("every word must match")
        << basic << QStringLiteral("retez soub") << QStringList{QStringLiteral("Řetězce a soubory")};
    QTest::newRow("letters out of order") << basic << QStringLiteral("lop") << QStringList {};
    QTest::newRow("nothing matches") << basic << QStringLiteral("xyz") << QStringList {};
    QTest::newRow("file name") << basic << QStringLiteral("0003") << QStringList{QStringLiteral("Pole")};
    QTest::newRow("initials before a run inside a word")
        << QStringList{QStringLiteral("Podsekce"), QStringLiteral("Dynamické struktury")} << QStringLiteral("ds")
        << QStringList{QStringLiteral("Dynamické struktury"), QStringLiteral("Podsekce")};
    QTest::newRow("tighter run first") << QStringList{QStringLiteral("Soubory a složky"),
        QStringLiteral("Práce se soubory")}
                                       << QStringLiteral("sou")
                                       << QStringList{QStringLiteral("Soubory a složky"),
                                              QStringLiteral("Práce se soubory")};
    QTest::newRow("blank query keeps catalogue order") << basic << QStringLiteral("  ") << basic;
}

void TestFuzzyMatch::ranking()
{
    QFETCH(QStringList, titles);
    QFETCH(QString, query);
    QFETCH(QStringList, expected);
    ChapterMatcher m;
    m.setChapters(chapters(titles));
    QCOMPARE(titlesOf(m, m.filter(query)), expected);
}

void TestFuzzyMatch::recentChaptersRankUp()
{
    ChapterMatcher m;
    m.setChapters(chapters({QStringLiteral("Soubory I"), QStringLiteral("Soubory II"), QStringLiteral("Okna"),
        QStringLiteral("Seznamy a objekty")}));
    // Read last: "Soubory II" (newest), then "Seznamy a objekty"; a path read twice counts once, newest.
    m.setRecent({QStringLiteral("/ch/0002.htm"), QStringLiteral("/ch/0004.htm"), QStringLiteral("/ch/0002.htm")});
    QCOMPARE(titlesOf(m, m.filter(QStringLiteral("soub"))),
        (QStringList{QStringLiteral("Soubory II"), QStringLiteral("Soubory I")}));
    // A recent chapter matched in scattered letters stays behind a whole-word match.
    QCOMPARE(titlesOf(m, m.filter(QStringLiteral("ok"))),
        (QStringList{QStringLiteral("Okna"), QStringLiteral("Seznamy a objekty")}));
    // Nothing typed: the chapters read, newest first, then the catalogue.
    QCOMPARE(titlesOf(m, m.filter(QString())),
        (QStringList{QStringLiteral("Soubory II"), QStringLiteral("Seznamy a objekty"), QStringLiteral("Soubory I"),
            QStringLiteral("Okna")}));
    // The chapters replaced later keep the recent list.
    m.setChapters(chapters({QStringLiteral("A"), QStringLiteral("B"), QStringLiteral("C"), QStringLiteral("D")}));
    QCOMPARE(titlesOf(m, m.filter(QString())).first(), QStringLiteral("B"));
}

void TestFuzzyMatch::chaptersOfCatalogue()
{
    ChapterTree tree;
    tree.addChild(nullptr, QStringLiteral("0001.htm [ Úvod ]"), image::Chapter);
    TreeNode* folder = tree.addChild(nullptr, QStringLiteral("0002"), image::FolderClosed);
    tree.addChild(folder, QStringLiteral("0002-01.htm [ Vstup &amp; výstup ]"), image::Chapter);
    tree.addChild(nullptr, QStringLiteral("bez hranaté závorky"), image::Chapter);
    const auto list = ChapterMatcher::fromTree(tree, QStringLiteral("/data/Htm/"));
    QCOMPARE(list.size(), size_t(2));
    QCOMPARE(list[1].fileName, QStringLiteral("0002-01.htm"));
    QCOMPARE(list[1].title, QStringLiteral("Vstup & výstup"));
    QCOMPARE(list[1].path, QStringLiteral("/data/Htm/0002-01.htm"));
    QCOMPARE(list[1].caption, QStringLiteral("0002-01.htm [ Vstup &amp; výstup ]"));
}

QTEST_APPLESS_MAIN(TestFuzzyMatch)
#include "tst_fuzzymatch.moc"
