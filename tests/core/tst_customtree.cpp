#include "Catalogue.h"
#include "ChapterTree.h"
#include "CustomTree.h"
#include "CustomTreeEditor.h"
#include "TestFiles.h"

#include <QBuffer>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <random>

#include <sys/stat.h>

using namespace tavio;
using namespace Qt::StringLiterals;

namespace {

// A tree from outline lines: one TAB per level, then the caption. A caption starting
// with 'K' is a chapter, any other a folder; "=N" at the end sets the image N.
void build(ChapterTree& tree, const QStringList& lines)
{
    tree.clear();
    std::vector<TreeNode*> path;
    for (QString line : lines) {
        int depth = 0;
        while (line.startsWith(QLatin1Char('\t'))) {
            line.remove(0, 1);
            ++depth;
        }
        int image = line.startsWith(QLatin1Char('K')) ? image::Chapter : image::FolderClosed;
        const qsizetype eq = line.lastIndexOf(QLatin1Char('='));
        if (eq > 0) {
            image = line.mid(eq + 1).toInt();
            line.truncate(eq);
        }
        path.resize(size_t(depth));
        path.push_back(tree.addChild(depth ? path[size_t(depth - 1)] : nullptr, line, image));
    }
}

QStringList outline(const ChapterTree& tree)
{
    QStringList out;
    tree.forEach([&](TreeNode* n) { out.append(QString(n->level(), QLatin1Char('\t')) + n->caption); });
    return out;
}

QList<int> images(const ChapterTree& tree)
{
    QList<int> out;
    tree.forEach([&](TreeNode* n) {
        QCOMPARE(n->selectedIndex, n->imageIndex);
        out.append(n->imageIndex);
    });
    return out;
}

TreeNode* find(const ChapterTree& tree, const QString& caption)
{
    TreeNode* found = nullptr;
    tree.forEach([&](TreeNode* n) {
        if (!found && n->caption == caption)
            found = n;
    });
    return found;
}

bool readBytes(ChapterTree& tree, const QByteArray& bytes, QString* error = nullptr)
{
    QByteArray copy = bytes;
    QBuffer buffer(&copy);
    buffer.open(QIODevice::ReadOnly);
    return ReadCustomTree(tree, buffer, error);
}

QByteArray savedBytes(const ChapterTree& tree)
{
    QTemporaryDir tmp;
    const QString path = tmp.filePath(QStringLiteral("t.trw"));
    if (!SaveCustomTree(tree, path))
        return "<failed>";
    return testfiles::read(path);
}

} // namespace

class TestCustomTree final : public QObject
{
    Q_OBJECT
private slots:
    void write_data();
    void write();
    void read_data();
    void read();
    void kindRule_data();
    void kindRule();
    void roundTrip();
    void saveKeepsOldFileOnFailure();
    void loadFailuresKeepTree();
    void backup();
    void hostileFiles();
    void copyAndContains();

    void createFolder_data();
    void createFolder();
    void moveUpDown_data();
    void moveUpDown();
    void drop_data();
    void drop();
    void markAndUnmark();
    void deleteFolder();
    void moveToMarkedFolder();
    void rename();
    void enableRules_data();
    void enableRules();
};

void TestCustomTree::write_data()
{
    QTest::addColumn<QStringList>("tree");
    QTest::addColumn<QByteArray>("bytes");
    QTest::newRow("folder, chapter inside, chapter after")
        << QStringList{u"A"_s, u"\ta.htm [ x ]"_s, u"b.htm [ y ]"_s} << QByteArray("A\r\n\ta.htm [ x ]\r\nb.htm [ y ]\r\n");
    QTest::newRow("empty tree, empty file") << QStringList{} << QByteArray();
    QTest::newRow("depth and back") << QStringList{u"a"_s, u"\tb"_s, u"\t\tc"_s, u"d"_s, u"\te"_s}
                                    << QByteArray("a\r\n\tb\r\n\t\tc\r\nd\r\n\te\r\n");
    QTest::newRow("windows-1250") << QStringList{u"Díl 1"_s, u"\t0001.htm [ Úvod ]"_s}
                                  << QByteArray("D\xedl 1\r\n\t0001.htm [ \xdavod ]\r\n");
    QTest::newRow("blanks kept") << QStringList{u"a  b  "_s} << QByteArray("a  b  \r\n");
    QTest::newRow("line ends and NUL become blanks")
        << QStringList{u"a\r\nb"_s, QString(u"c"_s) + QChar(0) + u"d"_s}
        << QByteArray("a  b\r\nc d\r\n");
    QTest::newRow("outside the code page") << QStringList{u"a\u4e2d\U0001F600b"_s} << QByteArray("a??b\r\n");
}

void TestCustomTree::write()
{
    QFETCH(QStringList, tree);
    QFETCH(QByteArray, bytes);
    ChapterTree t;
    build(t, tree);
    QCOMPARE(savedBytes(t), bytes);
}

void TestCustomTree::read_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QStringList>("tree");
    QTest::addColumn<bool>("ok");
    QTest::newRow("CR LF") << QByteArray("A\r\n\tB\r\nC\r\n") << QStringList{u"A"_s, u"\tB"_s, u"C"_s} << true;
    QTest::newRow("lone CR") << QByteArray("A\r\tB\rC") << QStringList{u"A"_s, u"\tB"_s, u"C"_s} << true;
    QTest::newRow("lone LF") << QByteArray("A\n\tB\nC\n") << QStringList{u"A"_s, u"\tB"_s, u"C"_s} << true;
    QTest::newRow("LF CR is two ends") << QByteArray("A\n\rB") << QStringList{u"A"_s, u""_s, u"B"_s} << true;
    QTest::newRow("CR CR LF") << QByteArray("A\r\r\nB\r\n") << QStringList{u"A"_s, u""_s, u"B"_s} << true;
    QTest::newRow("blank line") << QByteArray("A\r\n\r\nB") << QStringList{u"A"_s, u""_s, u"B"_s} << true;
    QTest::newRow("empty file") << QByteArray() << QStringList{} << true;
    QTest::newRow("only a line end") << QByteArray("\r\n") << QStringList{u""_s} << true;
    QTest::newRow("NUL ends the text") << QByteArray("A\r\n\tB\0C\r\nD\r\n", 13) << QStringList{u"A"_s, u"\tB"_s} << true;
    QTest::newRow("NUL after a line end") << QByteArray("A\r\n\0\r\nB", 7) << QStringList{u"A"_s} << true;
    QTest::newRow("NUL first") << QByteArray("\0A\r\n", 4) << QStringList{} << true;
    QTest::newRow("first line indented") << QByteArray("\t\tA\r\n\tB\r\nC") << QStringList{u"A"_s, u"\tB"_s, u"C"_s} << true;
    QTest::newRow("TAB and blank, one level each")
        << QByteArray("A\r\n B\r\n\t C\r\n \t D") << QStringList{u"A"_s, u"\tB"_s, u"\t\tC"_s, u"\t\t\tD"_s} << true;
    QTest::newRow("four blanks are four levels")
        << QByteArray("A\n B\n  C\n   D\n    E") << QStringList{u"A"_s, u"\tB"_s, u"\t\tC"_s, u"\t\t\tD"_s, u"\t\t\t\tE"_s} << true;
    QTest::newRow("four blanks below the top") << QByteArray("A\r\n    B\r\nC") << QStringList{u"A"_s} << false;
    QTest::newRow("two levels deeper") << QByteArray("A\r\n\t\tb\r\n") << QStringList{u"A"_s} << false;
    QTest::newRow("error keeps what came before")
        << QByteArray("A\r\n\tB\r\n\t\tC\r\n\t\t\t\tX\r\nD\r\n") << QStringList{u"A"_s, u"\tB"_s, u"\t\tC"_s} << false;
    QTest::newRow("back to an ancestor's level")
        << QByteArray("A\n\tB\n\t\tC\n\tD\nE\n\tF") << QStringList{u"A"_s, u"\tB"_s, u"\t\tC"_s, u"\tD"_s, u"E"_s, u"\tF"_s} << true;
    QTest::newRow("trailing blanks kept") << QByteArray("A  \r\n\tB\t\r\n") << QStringList{u"A  "_s, u"\tB\t"_s} << true;
    QTest::newRow("amp entities") << QByteArray("x.htm &amp;amp; y [ t ]\r\n")
                                  << QStringList{u"x.htm & y [ t ]"_s} << true;
    QTest::newRow("windows-1250") << QByteArray("D\xedl \x9a\xe8\r\n") << QStringList{u"Díl šč"_s} << true;
}

void TestCustomTree::read()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QStringList, tree);
    QFETCH(bool, ok);
    ChapterTree t;
    build(t, {u"old"_s});
    QString error;
    QCOMPARE(readBytes(t, bytes, &error), ok);
    QCOMPARE(outline(t), tree);
    QCOMPARE(error.isEmpty(), ok);

    // The same through a file, split over read blocks wherever it falls.
    QTemporaryDir tmp;
    const QString path = tmp.filePath(QStringLiteral("t.trw"));
    testfiles::write(path, bytes);
    ChapterTree fromFile;
    QCOMPARE(LoadCustomTree(fromFile, path), ok);
    QCOMPARE(outline(fromFile), tree);
}

void TestCustomTree::kindRule_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QList<int>>("images");
    QTest::newRow("chapters") << QByteArray("a.htm [ x ]\r\na.HTML [ x ]\r\nkap.Htm [ a ]\r\n0001-02.htm [ Lekce ]")
                              << QList<int>{0, 0, 0, 0};
    QTest::newRow("folders") << QByteArray("D\xedl 1\r\nreadme.txt [ a ]\r\na.htm\r\n.ht [ x ]\r\n")
                             << QList<int>{1, 1, 1, 1};
    QTest::newRow("a parent is a folder") << QByteArray("a.htm [ x ]\r\n\tb.htm [ y ]") << QList<int>{1, 0};
    QTest::newRow("decoded before the rule") << QByteArray("x.htm &amp; y [ t ]") << QList<int>{0};
    QTest::newRow("kinds of the nodes kept after an error")
        << QByteArray("F\r\n\ta.htm [ x ]\r\n\t\t\tb\r\n") << QList<int>{1, 0};
}

void TestCustomTree::kindRule()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QList<int>, images);
    ChapterTree t;
    readBytes(t, bytes);
    QCOMPARE(::images(t), images);
}

void TestCustomTree::roundTrip()
{
    std::mt19937 rng(7);
    const QStringList words{u"Úvod"_s, u"Řetězce"_s, u"Práce & soubory"_s,
                            u"x"_s, u"Díl 5."_s, u"ďábelské ódy"_s};
    ChapterTree tree;
    std::vector<TreeNode*> path;
    for (int i = 0; i < 2000; ++i) {
        const int depth = std::uniform_int_distribution<int>(0, int(path.size()))(rng);
        path.resize(size_t(depth));
        const bool chapter = rng() % 3 != 0;
        const QString caption = chapter ? QStringLiteral("%1.htm [ %2 ]").arg(i, 4, 10, QLatin1Char('0')).arg(words[int(rng() % words.size())])
                                        : words[int(rng() % words.size())] + QString::number(i);
        path.push_back(tree.addChild(depth ? path.back() : nullptr, caption, chapter ? 0 : 1));
    }
    QTemporaryDir tmp;
    const QString path1 = tmp.filePath(QStringLiteral("a.trw"));
    QVERIFY(SaveCustomTree(tree, path1));
    ChapterTree back;
    QVERIFY(LoadCustomTree(back, path1));
    QCOMPARE(outline(back), outline(tree));
    const QString path2 = tmp.filePath(QStringLiteral("b.trw"));
    QVERIFY(SaveCustomTree(back, path2));
    QCOMPARE(testfiles::read(path2), testfiles::read(path1));
}

void TestCustomTree::saveKeepsOldFileOnFailure()
{
    QTemporaryDir tmp;
    ChapterTree tree;
    build(tree, {u"A"_s});
    // A longer file is truncated by a successful save.
    const QString path = tmp.filePath(QStringLiteral("Custom.trw"));
    testfiles::write(path, "old old old\r\n");
    QVERIFY(SaveCustomTree(tree, path));
    QCOMPARE(testfiles::read(path), QByteArray("A\r\n"));

    QString error;
    QFile::setPermissions(path, QFileDevice::ReadOwner);
    QVERIFY(!SaveCustomTree(ChapterTree(), path, &error));
    QVERIFY(!error.isEmpty());
    QCOMPARE(testfiles::read(path), QByteArray("A\r\n"));

    // A folder that cannot exist (its parent is a file).
    testfiles::write(tmp.filePath(QStringLiteral("plain")), "x");
    error.clear();
    QVERIFY(!SaveCustomTree(tree, tmp.filePath(QStringLiteral("plain/Custom.trw")), &error));
    QVERIFY(!error.isEmpty());
    QCOMPARE(testfiles::read(tmp.filePath(QStringLiteral("plain"))), QByteArray("x"));
}

void TestCustomTree::loadFailuresKeepTree()
{
    QTemporaryDir tmp;
    const QString fifo = tmp.filePath(QStringLiteral("pipe.trw"));
    QCOMPARE(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
    const QString huge = tmp.filePath(QStringLiteral("huge.trw"));
    {
        QFile f(huge);
        QVERIFY(f.open(QIODevice::WriteOnly));
        QVERIFY(f.resize(MaxCustomTreeFileSize + 1)); // sparse: no time, no disk
    }
    for (const QString& path : {tmp.filePath(QStringLiteral("missing.trw")), tmp.path(), fifo, huge}) {
        ChapterTree tree;
        build(tree, {u"A"_s, u"\tK1"_s});
        QString error;
        QVERIFY2(!LoadCustomTree(tree, path, &error), qPrintable(path));
        QVERIFY(!error.isEmpty());
        QCOMPARE(outline(tree), (QStringList{u"A"_s, u"\tK1"_s}));
    }
}

void TestCustomTree::backup()
{
    QTemporaryDir tmp;
    const QString path = tmp.filePath(QStringLiteral("Custom.trw"));
    QCOMPARE(CustomTreeBackupPath(path), path + QStringLiteral(".bak"));
    QByteArray broken("A\r\n\t\t\tB\r\n");
    broken += QByteArray(600 * 1024, 'x'); // more than one copy block
    testfiles::write(path, broken);
    QVERIFY(BackUpCustomTree(path));
    QCOMPARE(testfiles::read(path + QStringLiteral(".bak")), broken);
    QCOMPARE(testfiles::read(path), broken);
    // Nothing to copy: the older backup stays.
    QString error;
    QVERIFY(!BackUpCustomTree(tmp.filePath(QStringLiteral("none.trw")), &error));
    QVERIFY(!error.isEmpty());
    testfiles::write(tmp.filePath(QStringLiteral("none.trw.bak")), "kept");
    QVERIFY(!BackUpCustomTree(tmp.filePath(QStringLiteral("none.trw"))));
    QCOMPARE(testfiles::read(tmp.filePath(QStringLiteral("none.trw.bak"))), QByteArray("kept"));
}

void TestCustomTree::hostileFiles()
{
    QTemporaryDir tmp;
    const QString path = tmp.filePath(QStringLiteral("t.trw"));
    ChapterTree tree;

    // 50 MB of a realistic tree loads, node for node.
    {
        QByteArray big;
        big.reserve(51 * 1024 * 1024);
        int lines = 0;
        while (big.size() < 50 * 1024 * 1024) {
            big += "Dil " + QByteArray::number(lines++) + "\r\n";
            for (int k = 0; k < 20; ++k, ++lines)
                big += "\t" + QByteArray::number(lines).rightJustified(4, '0') + "-01.htm [ Kapitola o n\xe1zvu ]\r\n";
        }
        testfiles::write(path, big);
        QVERIFY(LoadCustomTree(tree, path));
        QCOMPARE(tree.count(), lines);
    }
    // A line of a megabyte is one caption.
    testfiles::write(path, "A\r\n\t" + QByteArray(1024 * 1024, 'a') + "\r\nB");
    QVERIFY(LoadCustomTree(tree, path));
    QCOMPARE(tree.topLevel(0)->child(0)->caption.size(), 1024 * 1024);
    QCOMPARE(tree.topLevel(1)->caption, QStringLiteral("B"));

    // Garbage gives a tree or a depth error, never a crash; a NUL in it ends the text.
    std::mt19937 rng(1);
    for (int round = 0; round < 20; ++round) {
        QByteArray garbage(200 * 1024, Qt::Uninitialized);
        for (char& c : garbage)
            c = char(rng() % 256);
        if (round % 2 == 0)
            garbage.replace('\0', 'z');
        testfiles::write(path, garbage);
        QString error;
        const bool ok = LoadCustomTree(tree, path, &error);
        QVERIFY(ok || !error.isEmpty());
        images(tree);
    }

    // A chain as deep as lines allow, then back to the top.
    QByteArray deep;
    const int depth = 3000;
    for (int d = 0; d < depth; ++d)
        deep += QByteArray(d, '\t') + "n\n";
    deep += "top\n";
    testfiles::write(path, deep);
    QVERIFY(LoadCustomTree(tree, path));
    QCOMPARE(tree.count(), depth + 1);
    QCOMPARE(tree.topLevelCount(), 2);
    QVERIFY(SaveCustomTree(tree, path));
    QCOMPARE(testfiles::read(path).size(), deep.size() + depth + 1); // CR LF instead of LF
}

void TestCustomTree::copyAndContains()
{
    ChapterTree catalogue;
    build(catalogue, {u"K0001.htm [ a ]"_s, u"0002=5"_s, u"\tK0002-01.htm [ b ]"_s});
    ChapterTree custom;
    build(custom, {u"old"_s});
    CopyCatalogueToCustomTree(custom, catalogue);
    QCOMPARE(outline(custom), outline(catalogue));
    QCOMPARE(images(custom), (QList<int>{0, 5, 0}));
    QVERIFY(IsInCustomTree(custom, QStringLiteral("K0002-01.htm [ b ]")));
    QVERIFY(!IsInCustomTree(custom, QStringLiteral("K0002-01.htm [ b ] ")));
    QVERIFY(!IsInCustomTree(custom, QStringLiteral("k0002-01.htm [ b ]")));
    QVERIFY(!IsInCustomTree(ChapterTree(), QString()));
}

void TestCustomTree::createFolder_data()
{
    QTest::addColumn<QStringList>("tree");
    QTest::addColumn<QString>("selected");
    QTest::addColumn<QString>("name");
    QTest::addColumn<int>("result");
    QTest::addColumn<QStringList>("after");
    const QStringList base{u"F"_s, u"\tK1"_s, u"\tK2"_s, u"K3"_s};
    const int created = int(CreateFolderResult::Created);
    QTest::newRow("below the last top-level chapter")
        << base << u"K3"_s << u"Nová složka"_s << created << QStringList{u"F"_s, u"\tK1"_s, u"\tK2"_s, u"K3"_s, u"Nová složka"_s};
    QTest::newRow("first child of a folder with children")
        << base << u"F"_s << u"N"_s << created << QStringList{u"F"_s, u"\tN"_s, u"\tK1"_s, u"\tK2"_s, u"K3"_s};
    QTest::newRow("below a chapter inside a folder")
        << base << u"K1"_s << u"N"_s << created << QStringList{u"F"_s, u"\tK1"_s, u"\tN"_s, u"\tK2"_s, u"K3"_s};
    QTest::newRow("below the last child: next top-level node's sibling")
        << base << u"K2"_s << u"N"_s << created << QStringList{u"F"_s, u"\tK1"_s, u"\tK2"_s, u"N"_s, u"K3"_s};
    QTest::newRow("below the very last node: end of the top level")
        << QStringList{u"F"_s, u"\tK1"_s} << u"K1"_s << u"N"_s << created << QStringList{u"F"_s, u"\tK1"_s, u"N"_s};
    QTest::newRow("a.htm") << base << u"K3"_s << u"a.htm"_s << int(CreateFolderResult::Extension) << base;
    QTest::newRow("a.html") << base << u"K3"_s << u"a.html"_s << int(CreateFolderResult::Extension) << base;
    QTest::newRow("a.HTM") << base << u"K3"_s << u"a.HTM"_s << created << (base + QStringList{u"a.HTM"_s});
    QTest::newRow("a.txt") << base << u"K3"_s << u"a.txt"_s << created << (base + QStringList{u"a.txt"_s});
    QTest::newRow("extension .") << base << u"K3"_s << u"Díl 5."_s << created << (base + QStringList{u"Díl 5."_s});
    QTest::newRow("backslash after the dot") << base << u"K3"_s << u"a.htm\\b"_s << created
                                             << (base + QStringList{u"a.htm\\b"_s});
    QTest::newRow("blanks only") << base << u"K3"_s << u"   "_s << int(CreateFolderResult::Empty) << base;
    QTest::newRow("nothing") << base << u"K3"_s << u""_s << int(CreateFolderResult::Empty) << base;
    QTest::newRow("leading blanks dropped, the rest kept")
        << base << u"K3"_s << u" \t Nová "_s << created << (base + QStringList{u"Nová "_s});
    QTest::newRow("line break inside") << base << u"K3"_s << u"a\nb"_s << created << (base + QStringList{u"a b"_s});
    QTest::newRow("no selection") << base << u""_s << u"N"_s << int(CreateFolderResult::Failed) << base;
    QTest::newRow("no selection, blank name") << base << u""_s << u" "_s << int(CreateFolderResult::Empty) << base;
}

void TestCustomTree::createFolder()
{
    QFETCH(QStringList, tree);
    QFETCH(QString, selected);
    QFETCH(QString, name);
    QFETCH(int, result);
    QFETCH(QStringList, after);
    ChapterTree t;
    build(t, tree);
    ChapterTreeEdits edits(t);
    CustomTreeEditor editor(edits);
    TreeNode* made = nullptr;
    QCOMPARE(int(editor.createFolder(find(t, selected), name, &made)), result);
    QCOMPARE(outline(t), after);
    QCOMPARE(made != nullptr, result == int(CreateFolderResult::Created));
    if (made) {
        QCOMPARE(made->imageIndex, image::FolderClosed);
        if (made->parent() != t.root())
            QCOMPARE(made->parent()->imageIndex, image::FolderOpen);
    }
    QCOMPARE(CreateFolderMessage(CreateFolderResult(result)).isEmpty(), result == int(CreateFolderResult::Created));
}

void TestCustomTree::moveUpDown_data()
{
    QTest::addColumn<QStringList>("tree");
    QTest::addColumn<QString>("selected");
    QTest::addColumn<bool>("up");
    QTest::addColumn<QStringList>("after");
    QTest::addColumn<QList<int>>("images");
    const QStringList fk{u"F"_s, u"\tK1"_s, u"\tK2"_s, u"K3"_s};
    QTest::newRow("up into the folder above, before its last node")
        << fk << u"K3"_s << true << QStringList{u"F"_s, u"\tK1"_s, u"\tK3"_s, u"\tK2"_s} << QList<int>{5, 0, 0, 0};
    QTest::newRow("first child up leaves the folder")
        << fk << u"K1"_s << true << QStringList{u"K1"_s, u"F"_s, u"\tK2"_s, u"K3"_s} << QList<int>{0, 1, 0, 0};
    QTest::newRow("only child up: the folder collapses")
        << QStringList{u"F=5"_s, u"\tK1"_s, u"K2"_s} << u"K1"_s << true << QStringList{u"K1"_s, u"F"_s, u"K2"_s} << QList<int>{0, 1, 0};
    QTest::newRow("up into an empty folder")
        << QStringList{u"E"_s, u"K1"_s} << u"K1"_s << true << QStringList{u"E"_s, u"\tK1"_s} << QList<int>{5, 0};
    QTest::newRow("up past an empty marked folder")
        << QStringList{u"M=22"_s, u"K1"_s} << u"K1"_s << true << QStringList{u"K1"_s, u"M"_s} << QList<int>{0, 22};
    QTest::newRow("first node up: nothing") << fk << u"F"_s << true << fk << QList<int>{1, 0, 0, 0};
    QTest::newRow("last child down leaves the folder past the next node")
        << QStringList{u"F"_s, u"\tK1"_s, u"\tK2"_s, u"K3"_s, u"K4"_s} << u"K2"_s << false
        << QStringList{u"F"_s, u"\tK1"_s, u"K3"_s, u"K2"_s, u"K4"_s} << QList<int>{1, 0, 0, 0, 0};
    QTest::newRow("last child down, nothing after the next node")
        << fk << u"K2"_s << false << QStringList{u"F"_s, u"\tK1"_s, u"K3"_s, u"K2"_s} << QList<int>{1, 0, 0, 0};
    QTest::newRow("past a chapter sibling")
        << QStringList{u"K1"_s, u"K2"_s, u"K3"_s} << u"K1"_s << false << QStringList{u"K2"_s, u"K1"_s, u"K3"_s} << QList<int>{0, 0, 0};
    QTest::newRow("past the last sibling to the end")
        << QStringList{u"K1"_s, u"K2"_s} << u"K1"_s << false << QStringList{u"K2"_s, u"K1"_s} << QList<int>{0, 0};
    QTest::newRow("into a folder with children as its first child")
        << QStringList{u"K1"_s, u"F"_s, u"\tK2"_s} << u"K1"_s << false << QStringList{u"F"_s, u"\tK1"_s, u"\tK2"_s} << QList<int>{5, 0, 0};
    QTest::newRow("into an empty unmarked folder")
        << QStringList{u"K1"_s, u"E"_s, u"K2"_s} << u"K1"_s << false << QStringList{u"E"_s, u"\tK1"_s, u"K2"_s} << QList<int>{5, 0, 0};
    QTest::newRow("an empty marked folder is passed")
        << QStringList{u"K1"_s, u"M=22"_s, u"K2"_s} << u"K1"_s << false << QStringList{u"M"_s, u"K1"_s, u"K2"_s} << QList<int>{22, 0, 0};
    QTest::newRow("an empty marked folder last")
        << QStringList{u"K1"_s, u"M=22"_s} << u"K1"_s << false << QStringList{u"M"_s, u"K1"_s} << QList<int>{22, 0};
    QTest::newRow("last node down: nothing") << fk << u"K3"_s << false << fk << QList<int>{1, 0, 0, 0};
    QTest::newRow("a last folder with children cannot go below itself")
        << QStringList{u"K1"_s, u"F"_s, u"\tK2"_s} << u"F"_s << false << QStringList{u"K1"_s, u"F"_s, u"\tK2"_s} << QList<int>{0, 1, 0};
}

void TestCustomTree::moveUpDown()
{
    QFETCH(QStringList, tree);
    QFETCH(QString, selected);
    QFETCH(bool, up);
    QFETCH(QStringList, after);
    QFETCH(QList<int>, images);
    ChapterTree t;
    build(t, tree);
    ChapterTreeEdits edits(t);
    CustomTreeEditor editor(edits);
    TreeNode* node = find(t, selected);
    const bool moved = up ? editor.moveUp(node) : editor.moveDown(node);
    QCOMPARE(outline(t), after);
    QCOMPARE(moved, after != tree);
    QCOMPARE(::images(t), images);
}

void TestCustomTree::drop_data()
{
    QTest::addColumn<QStringList>("tree");
    QTest::addColumn<QString>("dragged");
    QTest::addColumn<QString>("over");
    QTest::addColumn<QStringList>("after");
    const QStringList t{u"K1.htm [ a ]"_s, u"F"_s, u"\tK2.htm [ b ]"_s, u"\tG"_s, u"\t\tK3.htm [ c ]"_s, u"K4.HTM [ d ]"_s, u"notes.txt [ x ]"_s};
    QTest::newRow("on a folder: its last child")
        << t << u"K1.htm [ a ]"_s << u"F"_s
        << QStringList{u"F"_s, u"\tK2.htm [ b ]"_s, u"\tG"_s, u"\t\tK3.htm [ c ]"_s, u"\tK1.htm [ a ]"_s, u"K4.HTM [ d ]"_s, u"notes.txt [ x ]"_s};
    QTest::newRow("on a chapter: in front of it")
        << t << u"K1.htm [ a ]"_s << u"K3.htm [ c ]"_s
        << QStringList{u"F"_s, u"\tK2.htm [ b ]"_s, u"\tG"_s, u"\t\tK1.htm [ a ]"_s, u"\t\tK3.htm [ c ]"_s, u"K4.HTM [ d ]"_s, u"notes.txt [ x ]"_s};
    QTest::newRow("on its own descendant: nothing") << t << u"F"_s << u"G"_s << t;
    QTest::newRow("on itself: nothing") << t << u"G"_s << u"G"_s << t;
    QTest::newRow("on a chapter written .HTM: in front of it")
        << t << u"K1.htm [ a ]"_s << u"K4.HTM [ d ]"_s
        << QStringList{u"F"_s, u"\tK2.htm [ b ]"_s, u"\tG"_s, u"\t\tK3.htm [ c ]"_s, u"K1.htm [ a ]"_s, u"K4.HTM [ d ]"_s, u"notes.txt [ x ]"_s};
    QTest::newRow("on a folder named like a file")
        << t << u"K1.htm [ a ]"_s << u"notes.txt [ x ]"_s
        << QStringList{u"F"_s, u"\tK2.htm [ b ]"_s, u"\tG"_s, u"\t\tK3.htm [ c ]"_s, u"K4.HTM [ d ]"_s, u"notes.txt [ x ]"_s, u"\tK1.htm [ a ]"_s};
}

void TestCustomTree::drop()
{
    QFETCH(QStringList, tree);
    QFETCH(QString, dragged);
    QFETCH(QString, over);
    QFETCH(QStringList, after);
    ChapterTree t;
    build(t, tree);
    ChapterTreeEdits edits(t);
    CustomTreeEditor editor(edits);
    QCOMPARE(editor.drop(find(t, dragged), find(t, over)), after != tree);
    QCOMPARE(outline(t), after);
}

void TestCustomTree::markAndUnmark()
{
    ChapterTree t;
    build(t, {u"A"_s, u"B=5"_s, u"\tK1"_s});
    ChapterTreeEdits edits(t);
    CustomTreeEditor editor(edits);
    TreeNode* a = find(t, QStringLiteral("A"));
    TreeNode* b = find(t, QStringLiteral("B"));
    QCOMPARE(editor.moveHint(), QStringLiteral("Přesunout do označené složky"));

    editor.selectionChanged(a);
    QCOMPARE(editor.markButtonImage(), 21);
    editor.toggleMark(a);
    QCOMPARE(editor.markedFolder(), a);
    QCOMPARE(editor.markButtonImage(), 20);
    QCOMPARE(images(t), (QList<int>{22, 5, 0}));
    QCOMPARE(editor.moveHint(), QStringLiteral("Přesunout do označené složky A"));

    // Another folder selected: the button marks it and the first one is unmarked.
    editor.selectionChanged(b);
    QCOMPARE(editor.markButtonImage(), 21);
    editor.toggleMark(b);
    QCOMPARE(editor.markedFolder(), b);
    QCOMPARE(images(t), (QList<int>{1, 23, 0}));
    QCOMPARE(editor.expansionImage(b, false), 22);
    QCOMPARE(editor.expansionImage(a, true), 1); // a leaf never shows as open
    // Pressed again: unmarked, nothing marked.
    editor.toggleMark(b);
    QCOMPARE(editor.markedFolder(), nullptr);
    QCOMPARE(editor.markButtonImage(), 21);
    QCOMPARE(images(t), (QList<int>{1, 5, 0}));

    // A chapter is never marked.
    editor.toggleMark(find(t, QStringLiteral("K1")));
    QCOMPARE(editor.markedFolder(), nullptr);
    QCOMPARE(editor.markButtonImage(), 21);
}

void TestCustomTree::deleteFolder()
{
    ChapterTree t;
    build(t, {u"A"_s, u"F=5"_s, u"\tE"_s, u"K1"_s});
    ChapterTreeEdits edits(t);
    CustomTreeEditor editor(edits);
    QVERIFY(!editor.deleteEmptyFolder(find(t, QStringLiteral("F"))));
    QVERIFY(!editor.deleteEmptyFolder(find(t, QStringLiteral("K1"))));
    QVERIFY(!editor.deleteEmptyFolder(nullptr));
    QCOMPARE(t.count(), 4);

    TreeNode* a = find(t, QStringLiteral("A"));
    editor.selectionChanged(a);
    editor.toggleMark(a);
    QVERIFY(editor.deleteEmptyFolder(a));
    QCOMPARE(editor.markedFolder(), nullptr);
    QCOMPARE(editor.moveHint(), QStringLiteral("Přesunout do označené složky"));
    // The last child gone, its folder shows closed.
    QVERIFY(editor.deleteEmptyFolder(find(t, QStringLiteral("E"))));
    QCOMPARE(outline(t), (QStringList{u"F"_s, u"K1"_s}));
    QCOMPARE(images(t), (QList<int>{1, 0}));
}

void TestCustomTree::moveToMarkedFolder()
{
    ChapterTree t;
    build(t, {u"F"_s, u"\tK1"_s, u"G"_s, u"\tH"_s, u"K2"_s});
    ChapterTreeEdits edits(t);
    CustomTreeEditor editor(edits);
    TreeNode* next = nullptr;
    QCOMPARE(editor.moveToMarkedFolder(find(t, QStringLiteral("K2")), &next), CustomTreeEditor::MoveResult::Failed);

    TreeNode* f = find(t, QStringLiteral("F"));
    editor.selectionChanged(f);
    editor.toggleMark(f);
    QCOMPARE(editor.moveToMarkedFolder(find(t, QStringLiteral("K2")), &next), CustomTreeEditor::MoveResult::Moved);
    QCOMPARE(outline(t), (QStringList{u"F"_s, u"\tK1"_s, u"\tK2"_s, u"G"_s, u"\tH"_s}));
    QCOMPARE(next, find(t, QStringLiteral("H")));
    QCOMPARE(f->imageIndex, image::MarkedFolderOpen);

    // G leaves nothing behind; its own former parent is the top level.
    QCOMPARE(editor.moveToMarkedFolder(find(t, QStringLiteral("H")), &next), CustomTreeEditor::MoveResult::Moved);
    QCOMPARE(find(t, QStringLiteral("G"))->imageIndex, image::FolderClosed);

    // The marked folder inside the moved node: nothing moves, the selection still goes up.
    TreeNode* h = find(t, QStringLiteral("H"));
    editor.selectionChanged(h);
    editor.toggleMark(h);
    QCOMPARE(editor.moveToMarkedFolder(f, &next), CustomTreeEditor::MoveResult::Unchanged);
    QCOMPARE(next, nullptr);
    QCOMPARE(outline(t), (QStringList{u"F"_s, u"\tK1"_s, u"\tK2"_s, u"\tH"_s, u"G"_s}));
}

void TestCustomTree::rename()
{
    ChapterTree t;
    build(t, {u"A"_s, u"K1"_s});
    ChapterTreeEdits edits(t);
    CustomTreeEditor editor(edits);
    TreeNode* a = find(t, QStringLiteral("A"));
    QVERIFY(!editor.renameFolder(a, QStringLiteral("  \t ")));
    QVERIFY(!editor.renameFolder(find(t, QStringLiteral("K1")), QStringLiteral("x")));
    QCOMPARE(outline(t), (QStringList{u"A"_s, u"K1"_s}));
    editor.selectionChanged(a);
    editor.toggleMark(a);
    QVERIFY(editor.renameFolder(a, QStringLiteral("  B.htm ")));
    QCOMPARE(a->caption, QStringLiteral("B.htm "));
    QCOMPARE(editor.moveHint(), QStringLiteral("Přesunout do označené složky B.htm "));
}

void TestCustomTree::enableRules_data()
{
    QTest::addColumn<QString>("selected");
    QTest::addColumn<QString>("marked");
    // rename, add bookmark, delete, mark, move into the marked folder
    QTest::addColumn<QList<bool>>("enabled");
    QTest::addColumn<int>("markImage");
    QTest::newRow("nothing selected") << u""_s << u"M"_s << QList<bool>{false, false, false, false, false} << 21;
    QTest::newRow("chapter, nothing marked") << u"K1"_s << u""_s << QList<bool>{false, true, false, false, false} << 21;
    QTest::newRow("chapter, a folder marked") << u"K1"_s << u"M"_s << QList<bool>{false, true, false, false, true} << 21;
    QTest::newRow("chapter inside the marked folder") << u"K2"_s << u"M"_s << QList<bool>{false, true, false, false, false} << 21;
    QTest::newRow("empty folder") << u"E"_s << u"M"_s << QList<bool>{true, false, true, true, true} << 21;
    QTest::newRow("folder with children") << u"F"_s << u""_s << QList<bool>{true, false, false, true, false} << 21;
    QTest::newRow("the marked folder") << u"M"_s << u"M"_s << QList<bool>{true, false, false, true, false} << 20;
    QTest::newRow("an ancestor of the marked folder") << u"F"_s << u"G"_s << QList<bool>{true, false, false, true, true} << 21;
}

void TestCustomTree::enableRules()
{
    QFETCH(QString, selected);
    QFETCH(QString, marked);
    QFETCH(QList<bool>, enabled);
    QFETCH(int, markImage);
    ChapterTree t;
    build(t, {u"K1"_s, u"M=23"_s, u"\tK2"_s, u"E"_s, u"F"_s, u"\tG"_s});
    const CustomTreeEnables e = CustomTreeEnableRules(find(t, selected), find(t, marked));
    QCOMPARE((QList<bool>{e.tlbRenameDir, e.tlbAddMark, e.tlbDelDir, e.tlbSelUnselDir, e.tlbMoveToSelDir}), enabled);
    QCOMPARE(e.popRenameDir, e.tlbRenameDir);
    QCOMPARE(e.popAddTab, e.tlbAddMark);
    QCOMPARE(e.addMarkMenu, e.tlbAddMark);
    QCOMPARE(e.markButtonImage, markImage);
}

QTEST_GUILESS_MAIN(TestCustomTree)
#include "tst_customtree.moc"
