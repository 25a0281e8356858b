#include "Catalogue.h"
#include "ChapterTree.h"
#include "TestFiles.h"

#include <QTemporaryDir>
#include <QTest>

#include <unistd.h>

using namespace tavio;

namespace {
QStringList captions(const ChapterTree& tree)
{
    QStringList out;
    tree.forEach([&](TreeNode* n) { out.append(QString(n->level(), QLatin1Char('\t')) + n->caption); });
    return out;
}
} // namespace

class TestCatalogue final : public QObject
{
    Q_OBJECT
private slots:
    void titles_data();
    void titles();
    void missingFile();
    void hugeAndBinaryFiles();
    void buildGroupsAndSorts();
    void buildSkipsAndEmptyFolder();
    void buildReportsVanishedFile();
    void unreadableFileEndsScan();
    void findTreeNode_data();
    void findTreeNode();
    void treeOperations();
};

void TestCatalogue::titles_data()
{
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<QString>("title");
    QTest::newRow("hyphen") << QByteArray("<html>\r\n<H2>Lekce 5 - Formul\xe1\xf8" "e</H2>\r\n") << " Formuláře";
    QTest::newRow("en dash lower tag") << QByteArray("<h2>Lekce 5 \x96 Formul\xe1\xf8" "e</h2>\r\n") << " Formuláře";
    QTest::newRow("no blank after dash") << QByteArray("<H2>Lekce 5 -okna</H2>") << "Okna";
    QTest::newRow("czech first letter") << QByteArray("<H2>Lekce 5 -\xe8\xedsla</H2>") << "Čísla";
    QTest::newRow("two lines") << QByteArray("<H2>Lekce 6 - Dlouh\xfd\r\n   n\xe1zev</H2>\r\nx") << " Dlouhýnázev";
    QTest::newRow("two lines lf") << QByteArray("<H2>Lekce 6 - Dlouh\xfd\n n\xe1zev</H2>  \n") << " Dlouhýnázev";
    QTest::newRow("two lines lone cr") << QByteArray("<H2>Lekce 6 - A\rB</H2>\r") << " AB";
    QTest::newRow("heading last line") << QByteArray("x\r\n<H2>Lekce 6 - Konec") << " Konec";
    QTest::newRow("no dash") << QByteArray("<H2>Bez pomlcky</H2>") << "<H2>Bez pomlcky";
    QTest::newRow("no dash two lines") << QByteArray("<H2>Bez\r\npomlcky</H2>") << "<H2>Bezpomlcky";
    QTest::newRow("first heading wins") << QByteArray("<p>x</p>\r\n<h2>Lekce 1 - Prvn\xed</h2>\r\n<H2>Lekce 2 - Druh\xe1</H2>") << " První";
    QTest::newRow("indented tag ignored") << QByteArray("  <H2>Lekce 1 - A</H2>\r\n<H3>x</H3>") << "";
    QTest::newRow("amp kept") << QByteArray("<H2>Lekce 4 - Vstup &amp; v\xfdstup</H2>") << " Vstup &amp; výstup";
    QTest::newRow("dash after last lt") << QByteArray("<H2>Lekce</H2> - x>") << "";
    QTest::newRow("empty file") << QByteArray() << "";
    QTest::newRow("no heading") << QByteArray("<html><body>text</body></html>") << "";
}

void TestCatalogue::titles()
{
    QFETCH(QByteArray, content);
    QFETCH(QString, title);
    QTemporaryDir tmp;
    const QString path = tmp.filePath(QStringLiteral("0001.htm"));
    testfiles::write(path, content);
    const ChapterTitle t = ReadChapterTitle(path);
    QCOMPARE(t.status, TitleStatus::Ok);
    QCOMPARE(t.title, title);
}

void TestCatalogue::missingFile()
{
    QTemporaryDir tmp;
    const ChapterTitle t = ReadChapterTitle(tmp.filePath(QStringLiteral("nope.htm")));
    QCOMPARE(t.status, TitleStatus::NotFound);
    QVERIFY(t.title.isEmpty());
}

void TestCatalogue::hugeAndBinaryFiles()
{
    QTemporaryDir tmp;
    // A heading line of a megabyte, split over read blocks, is read whole.
    QByteArray big = "<H2>Lekce 1 - " + QByteArray(1024 * 1024, 'a') + "</H2>\r\n";
    testfiles::write(tmp.filePath(QStringLiteral("big.htm")), big);
    ChapterTitle t = ReadChapterTitle(tmp.filePath(QStringLiteral("big.htm")));
    QCOMPARE(t.title.size(), 1024 * 1024 + 1);
    // A CR at the end of one block and its LF at the start of the next are one line end.
    QByteArray split = QByteArray(64 * 1024 - 1, 'x') + "\r\n<H2>Lekce 2 - B</H2>";
    testfiles::write(tmp.filePath(QStringLiteral("split.htm")), split);
    QCOMPARE(ReadChapterTitle(tmp.filePath(QStringLiteral("split.htm"))).title, QStringLiteral(" B"));
    QByteArray split2 = QByteArray(64 * 1024 - 1, 'x') + "\r<H2>Lekce 2 - C\r\nD</H2>";
    testfiles::write(tmp.filePath(QStringLiteral("split2.htm")), split2);
    QCOMPARE(ReadChapterTitle(tmp.filePath(QStringLiteral("split2.htm"))).title, QStringLiteral(" CD"));
    // Binary garbage gives some text or none, never a failure.
    QByteArray garbage;
    for (int i = 0; i < 200000; ++i)
        garbage += char((i * 7919) % 256);
    testfiles::write(tmp.filePath(QStringLiteral("bin.htm")), garbage);
    QCOMPARE(ReadChapterTitle(tmp.filePath(QStringLiteral("bin.htm"))).status, TitleStatus::Ok);
}

void TestCatalogue::buildGroupsAndSorts()
{
    QTemporaryDir tmp;
    const QString dir = tmp.path() + QLatin1Char('/');
    testfiles::write(dir + QStringLiteral("0003-01.htm"), "<H2>Lekce 3 - T\xf8" "et\xed</H2>");
    testfiles::write(dir + QStringLiteral("0001.htm"), "<H2>Lekce 1 - \xdavod &amp; z\xe1klady</H2>");
    testfiles::write(dir + QStringLiteral("0002-02.htm"), "<H2>Lekce 2 - Druh\xfd d\xedl &amp; konec</H2>");
    testfiles::write(dir + QStringLiteral("0002-01.htm"), "<H2>Lekce 2 - Prvn\xed d\xedl</H2>");
    testfiles::write(dir + QStringLiteral("intro.htm"), "<H2>\xdavod - Slovo</H2>");
    testfiles::write(dir + QStringLiteral("0004.HTM"), "<H2>Lekce 4 - Velk\xe1 p\xedsmena</H2>");
    testfiles::write(dir + QStringLiteral("notes.txt"), "<H2>x - y</H2>");
    ChapterTree tree;
    int pumps = 0;
    CatalogueCallbacks cb;
    cb.pump = [&] { ++pumps; };
    QVERIFY(BuildCatalogue(tree, dir, cb));
    QCOMPARE(captions(tree),
             (QStringList{QStringLiteral("0001.htm [ Úvod & základy ]"), QStringLiteral("0002"),
                          QStringLiteral("\t0002-01.htm [ První díl ]"),
                          QStringLiteral("\t0002-02.htm [ Druhý díl &amp; konec ]"), QStringLiteral("0003"),
                          QStringLiteral("\t0003-01.htm [ Třetí ]"), QStringLiteral("0004.HTM [ Velká písmena ]"),
                          QStringLiteral("intro.htm [ Slovo ]")}));
    QCOMPARE(pumps, 6);
    QCOMPARE(tree.topLevel(0)->imageIndex, image::Chapter);
    QCOMPARE(tree.topLevel(1)->imageIndex, image::FolderClosed);
    QCOMPARE(tree.topLevel(1)->child(0)->imageIndex, image::Chapter);
}

void TestCatalogue::buildSkipsAndEmptyFolder()
{
    QTemporaryDir tmp;
    const QString dir = tmp.path() + QLatin1Char('/');
    ChapterTree tree;
    tree.addChild(nullptr, QStringLiteral("stale"), 0);
    QVERIFY(!BuildCatalogue(tree, dir));
    QVERIFY(tree.isEmpty());
    QVERIFY(!BuildCatalogue(tree, dir + QStringLiteral("does-not-exist/")));

    // A dash at any place but the fifth keeps a file out of the list.
    testfiles::write(dir + QStringLiteral("a-b.htm"), "<H2>x - y</H2>");
    testfiles::write(dir + QStringLiteral("00001-01.htm"), "<H2>x - y</H2>");
    QVERIFY(BuildCatalogue(tree, dir));
    QVERIFY(tree.isEmpty());
    // A file without a heading is listed with an empty title.
    testfiles::write(dir + QStringLiteral("0007.htm"), "<p>nic</p>");
    QVERIFY(BuildCatalogue(tree, dir));
    QCOMPARE(captions(tree), QStringList{QStringLiteral("0007.htm [ ]")});
}

void TestCatalogue::buildReportsVanishedFile()
{
    QTemporaryDir tmp;
    const QString dir = tmp.path() + QLatin1Char('/');
    testfiles::write(dir + QStringLiteral("0001.htm"), "<H2>L - A</H2>");
    testfiles::write(dir + QStringLiteral("0002.htm"), "<H2>L - B</H2>");
    QStringList missing;
    CatalogueCallbacks cb;
    bool removed = false;
    // The second file disappears while the first is being listed.
    cb.pump = [&] {
        if (!removed)
            removed = QFile::remove(dir + QStringLiteral("0002.htm"));
    };
    cb.fileNotFound = [&](const QString& p) { missing.append(p); };
    ChapterTree tree;
    QVERIFY(BuildCatalogue(tree, dir, cb));
    QCOMPARE(missing, QStringList{dir + QStringLiteral("0002.htm")});
    QCOMPARE(captions(tree), (QStringList{QStringLiteral("0001.htm [ A ]"), QStringLiteral("0002.htm [ ]")}));
}

void TestCatalogue::unreadableFileEndsScan()
{
    if (::geteuid() == 0)
        QSKIP("permissions do not bind the superuser");
    QTemporaryDir tmp;
    const QString dir = tmp.path() + QLatin1Char('/');
    testfiles::write(dir + QStringLiteral("0001.htm"), "<H2>L - A</H2>");
    testfiles::write(dir + QStringLiteral("0002.htm"), "<H2>L - B</H2>");
    testfiles::write(dir + QStringLiteral("0003.htm"), "<H2>L - C</H2>");
    QFile::setPermissions(dir + QStringLiteral("0002.htm"), QFileDevice::Permissions());
    ChapterTree tree;
    QVERIFY(BuildCatalogue(tree, dir));
    QCOMPARE(captions(tree), QStringList{QStringLiteral("0001.htm [ A ]")});
}

void TestCatalogue::findTreeNode_data()
{
    QTest::addColumn<int>("start");
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("whole");
    QTest::addColumn<bool>("matchCase");
    QTest::addColumn<bool>("up");
    QTest::addColumn<int>("found"); // absolute index, -1 none
    // 0 "0001.htm [ Úvod ]", 1 "0002", 2 "0002-01.htm [ Proměnné ]", 3 "0002-02.htm [ Pole ]", 4 "0003.htm [ Úvod znovu ]"
    QTest::newRow("down any case") << -1 << "ÚVOD" << false << false << false << 0;
    QTest::newRow("down skips selected") << 0 << "úvod" << false << false << false << 4;
    QTest::newRow("down match case misses") << -1 << "ÚVOD" << false << true << false << -1;
    QTest::newRow("down match case hits") << -1 << "Pole" << false << true << false << 3;
    QTest::newRow("whole word down finds group") << -1 << "0002" << true << false << false << 1;
    QTest::newRow("whole word up misses group") << 4 << "0002" << true << false << true << -1;
    QTest::newRow("part word up") << 4 << "0002" << false << false << true << 3;
    QTest::newRow("up stops at top") << 0 << "Úvod" << false << false << true << -1;
    QTest::newRow("no wrap") << 4 << "Úvod" << false << false << false << -1;
    QTest::newRow("whole word trims") << -1 << "  pole  " << true << false << false << 3;
    QTest::newRow("whole word inside") << -1 << "Prom" << true << false << false << -1;
    QTest::newRow("empty text") << -1 << "" << false << false << false << -1;
    QTest::newRow("blank whole word") << -1 << "   " << true << false << false << -1;
}

void TestCatalogue::findTreeNode()
{
    QFETCH(int, start);
    QFETCH(QString, text);
    QFETCH(bool, whole);
    QFETCH(bool, matchCase);
    QFETCH(bool, up);
    QFETCH(int, found);
    ChapterTree tree;
    tree.addChild(nullptr, QStringLiteral("0001.htm [ Úvod ]"), 0);
    TreeNode* g = tree.addChild(nullptr, QStringLiteral("0002"), 1);
    tree.addChild(g, QStringLiteral("0002-01.htm [ Proměnné ]"), 0);
    tree.addChild(g, QStringLiteral("0002-02.htm [ Pole ]"), 0);
    tree.addChild(nullptr, QStringLiteral("0003.htm [ Úvod znovu ]"), 0);
    TreeNode* n = FindTreeNode(tree, start, text, whole, matchCase, up);
    QCOMPARE(n ? tree.absoluteIndex(n) : -1, found);
}

void TestCatalogue::treeOperations()
{
    ChapterTree tree;
    TreeNode* f = tree.addChild(nullptr, QStringLiteral("F"), 1);
    TreeNode* k1 = tree.addChild(f, QStringLiteral("K1"), 0);
    tree.addChild(f, QStringLiteral("K2"), 0);
    TreeNode* k3 = tree.addChild(nullptr, QStringLiteral("K3"), 0);
    QCOMPARE(tree.count(), 4);
    QCOMPARE(tree.nodeAt(2)->caption, QStringLiteral("K2"));
    QCOMPARE(tree.absoluteIndex(k3), 3);
    tree.move(k3, f, 1);
    QCOMPARE(captions(tree), (QStringList{QStringLiteral("F"), QStringLiteral("\tK1"), QStringLiteral("\tK3"), QStringLiteral("\tK2")}));
    // A folder never moves into its own subtree.
    tree.move(f, k1, 0);
    QCOMPARE(f->parent(), tree.root());
    ChapterTree copy;
    copy.copyFrom(tree);
    QCOMPARE(captions(copy), captions(tree));
    QCOMPARE(copy.topLevel(0)->imageIndex, 1);
    tree.remove(f);
    QVERIFY(tree.isEmpty());
    QCOMPARE(copy.count(), 4);
}

QTEST_GUILESS_MAIN(TestCatalogue)
#include "tst_catalogue.moc"
