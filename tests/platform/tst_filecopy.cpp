#include "FileCopy.h"
#include "TestFiles.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using namespace tavio;

Q_DECLARE_METATYPE(QList<tavio::ReplaceAnswer>)

namespace {

struct Folders
{
    Folders()
    {
        from = dir.filePath(QStringLiteral("from")) + QLatin1Char('/');
        to = dir.filePath(QStringLiteral("to")) + QLatin1Char('/');
        for (const char* name : {"0001.rtn", "0002.RTN", "0003.rtn", "0004.rtn"})
            testfiles::write(from + QLatin1String(name), QByteArray("new ") + name);
        testfiles::write(from + QStringLiteral("0001.htm"), "not notes");
        testfiles::write(from + QStringLiteral("sub/0009.rtn"), "in a subfolder");
        QDir().mkpath(to);
    }
    QString content(const QString& name) const { return QString::fromLatin1(testfiles::read(to + name)); }

    QTemporaryDir dir;
    QString from, to;
};

} // namespace

class TestFileCopy final : public QObject
{
    Q_OBJECT
private slots:
    void copiesMatchingFilesOnly();
    void replacements_data();
    void replacements();
    void failures();
    void cancelStopsBetweenFiles();
};

void TestFileCopy::copiesMatchingFilesOnly()
{
    Folders f;
    QStringList progress;
    FileCopyCallbacks cb;
    cb.progress = [&](int i, int n, const QString& name) { progress.append(QStringLiteral("%1/%2 %3").arg(i).arg(n).arg(name)); };
    const FileCopyOutcome out = FileCopy::copy(f.from, QStringLiteral("*.rtn"), f.to, cb);
    QVERIFY(out.ok);
    QCOMPARE(out.copied, (QStringList{QStringLiteral("0001.rtn"), QStringLiteral("0002.RTN"), QStringLiteral("0003.rtn"),
                                      QStringLiteral("0004.rtn")}));
    QCOMPARE(QDir(f.to).entryList(QDir::AllEntries | QDir::NoDotAndDotDot).size(), 4);
    QCOMPARE(progress.first(), QStringLiteral("0/4 0001.rtn"));
    QCOMPARE(progress.last(), QStringLiteral("4/4 "));
    // Nothing to copy is no failure.
    Folders empty;
    QVERIFY(FileCopy::copy(empty.to, QStringLiteral("*.rtn"), empty.from).ok);
}

void TestFileCopy::replacements_data()
{
    QTest::addColumn<QList<ReplaceAnswer>>("answers");
    QTest::addColumn<bool>("ok");
    QTest::addColumn<QStringList>("replaced"); // of 0001, 0003, 0004, which exist in the destination
    QTest::addColumn<int>("questions");
    using A = ReplaceAnswer;
    QTest::newRow("yes, no, yes") << QList<A>{A::Yes, A::No, A::Yes} << true
                                  << QStringList{QStringLiteral("0001.rtn"), QStringLiteral("0004.rtn")} << 3;
    QTest::newRow("yes to all") << QList<A>{A::YesToAll} << true
                                << QStringList{QStringLiteral("0001.rtn"), QStringLiteral("0003.rtn"), QStringLiteral("0004.rtn")}
                                << 1;
    QTest::newRow("no to all") << QList<A>{A::NoToAll} << true << QStringList{} << 1;
    QTest::newRow("no, then cancel") << QList<A>{A::No, A::Cancel} << false << QStringList{} << 2;
    QTest::newRow("yes, then cancel") << QList<A>{A::Yes, A::Cancel} << false << QStringList{QStringLiteral("0001.rtn")} << 2;
}

void TestFileCopy::replacements()
{
    QFETCH(QList<ReplaceAnswer>, answers);
    QFETCH(bool, ok);
    QFETCH(QStringList, replaced);
    QFETCH(int, questions);
    Folders f;
    for (const char* name : {"0001.rtn", "0003.rtn", "0004.rtn"})
        testfiles::write(f.to + QLatin1String(name), "old");
    int asked = 0;
    FileCopyCallbacks cb;
    cb.askReplace = [&](const QString& target) {
        [&] { QVERIFY(target.startsWith(f.to)); }();
        ++asked;
        return answers.value(asked - 1, ReplaceAnswer::Cancel);
    };
    const FileCopyOutcome out = FileCopy::copy(f.from, QStringLiteral("*.rtn"), f.to, cb);
    QCOMPARE(out.ok, ok);
    QCOMPARE(out.aborted, !ok);
    QCOMPARE(asked, questions);
    for (const char* name : {"0001.rtn", "0003.rtn", "0004.rtn"}) {
        const QString n = QLatin1String(name);
        QCOMPARE(f.content(n), replaced.contains(n) ? QStringLiteral("new ") + n : QStringLiteral("old"));
    }
    // 0002 exists nowhere in the destination and is copied unless the copy stopped before it.
    QCOMPARE(QFile::exists(f.to + QStringLiteral("0002.RTN")), ok || questions > 1);
}

void TestFileCopy::failures()
{
    Folders f;
    testfiles::write(f.to + QStringLiteral("0003.rtn"), "kept");
    QFile::setPermissions(f.to + QStringLiteral("0003.rtn"), QFileDevice::ReadOwner);
    FileCopyOutcome out = FileCopy::copy(f.from, QStringLiteral("*.rtn"), f.to);
    QVERIFY(!out.ok);
    QVERIFY(!out.aborted);
    QVERIFY(out.error.contains(QStringLiteral("0003.rtn")));
    // Files before the failure stay copied; the read-only one keeps its content.
    QCOMPARE(out.copied, (QStringList{QStringLiteral("0001.rtn"), QStringLiteral("0002.RTN")}));
    QCOMPARE(f.content(QStringLiteral("0003.rtn")), QStringLiteral("kept"));

    QVERIFY(!FileCopy::copy(f.from + QStringLiteral("missing/"), QStringLiteral("*.rtn"), f.to).ok);
    QVERIFY(!FileCopy::copy(f.from, QStringLiteral("*.rtn"), f.to + QStringLiteral("missing/")).ok);
    QVERIFY(!FileCopy::copy(f.from, QStringLiteral("*.rtn"), f.from).ok);
    QVERIFY(FileCopy::sameFolder(f.from, f.dir.filePath(QStringLiteral("to/../from"))));
    QVERIFY(!FileCopy::sameFolder(f.from, f.to));
}

void TestFileCopy::cancelStopsBetweenFiles()
{
    Folders f;
    int polls = 0;
    FileCopyCallbacks cb;
    cb.cancelled = [&] { return ++polls > 3; };
    const FileCopyOutcome out = FileCopy::copy(f.from, QStringLiteral("*.rtn"), f.to, cb);
    QVERIFY(!out.ok);
    QVERIFY(out.aborted);
    QVERIFY(out.copied.size() < 4);
    // No half-written file is left behind.
    const QStringList left = QDir(f.to).entryList(QDir::Files | QDir::Hidden);
    QCOMPARE(left, out.copied);
}

QTEST_GUILESS_MAIN(TestFileCopy)
#include "tst_filecopy.moc"
