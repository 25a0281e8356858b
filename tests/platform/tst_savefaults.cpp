// Every file the program writes, written when the disk fills up, at a file-size
// limit, and by a process killed at a random moment: the previous file stays whole.
#include "Bookmarks.h"
#include "ChapterTree.h"
#include "CustomTree.h"
#include "DelPrint.h"
#include "FileCopy.h"
#include "FindHistory.h"
#include "NotesFile.h"
#include "SettingsStore.h"
#include "TextFile.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QProcess>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTest>
#include <QThread>

#include <csignal>
#include <functional>
#include <sys/mount.h>
#include <sys/resource.h>
#include <unistd.h>

using namespace tavio;

namespace {

const QString Key = QStringLiteral("\\Software\\Test\\Store\\");
const QDateTime LogTime(QDate(2026, 1, 2), QTime(3, 4, 5));

QString bigText(int variant, int size)
{
    QString text;
    const QString unit = variant == 1 ? QStringLiteral("Řetězce a funkce %1; ") : QStringLiteral("Slovník, seznam %1. ");
    for (int i = 0; text.size() < size; ++i)
        text += unit.arg(i);
    return text;
}

// Variant 0 is the small file that is there before; 1 and 2 are large new contents.
struct Writer
{
    QString target; // relative to the folder
    bool killable;  // one file replaced per save, so that a kill leaves old or new
    std::function<bool(const QString& dir, int variant, QString* why)> save;
    // Puts what the save works on in place before the fault, where it needs more.
    std::function<bool(const QString& dir)> prepare = [](const QString&) { return true; };
};

// Lines of a large content: 2,000 lines take many write buffers; 100 lines (8 kB)
// stay in the buffer until the last flush, which is where a failure is easiest missed.
int g_lines = 2000;

QStringList sizedLines(int variant, int count)
{
    count = std::min(count, g_lines);
    if (variant == 0)
        return {QStringLiteral("staré")};
    QStringList lines;
    for (int i = 0; i < count; ++i)
        lines << bigText(variant, 60) + QString::number(i);
    return lines;
}

// A folder with one notes file of the variant, outside the folder under test.
QString copySource(int variant)
{
    static QTemporaryDir source;
    const QString from = source.path() + QStringLiteral("/v%1-%2/").arg(variant).arg(g_lines);
    if (!QFileInfo::exists(from + QStringLiteral("0001.rtn"))) {
        QDir().mkpath(from);
        if (!WriteTextLines(from + QStringLiteral("0001.rtn"), sizedLines(variant, 2000)))
            return {};
    }
    return from;
}

QMap<QString, Writer> writers()
{
    QMap<QString, Writer> w;
    w[QStringLiteral("settings")] = {QStringLiteral("hive.ini"), true, [](const QString& dir, int v, QString*) {
        SettingsStore store(dir + QStringLiteral("hive.ini"));
        return store.writeString(Key, QStringLiteral("Value"), v == 0 ? QStringLiteral("staré") : bigText(v, g_lines * 80));
    }};
    w[QStringLiteral("custom tree")] = {QStringLiteral("Custom.trw"), true, [](const QString& dir, int v, QString* why) {
        ChapterTree tree;
        const QStringList captions = sizedLines(v, 2000);
        for (const QString& c : captions)
            tree.addChild(tree.root(), c, 0);
        return SaveCustomTree(tree, dir + QStringLiteral("Custom.trw"), why);
    }};
    w[QStringLiteral("custom tree backup")] = {QStringLiteral("Custom.trw.bak"), false, [](const QString& dir, int v, QString* why) {
        const QString source = dir + QStringLiteral("Custom.trw");
        if (v == 0 && !WriteTextLines(source, sizedLines(0, 1)))
            return false;
        return BackUpCustomTree(source, why);
    }, [](const QString& dir) { return WriteTextLines(dir + QStringLiteral("Custom.trw"), sizedLines(1, 2000)); }};
    w[QStringLiteral("notes")] = {QStringLiteral("0001.rtn"), true, [](const QString& dir, int v, QString* why) {
        NotesContent notes;
        for (const QString& line : sizedLines(v, 2000)) {
            NotesParagraph p;
            p.Runs.append(NotesRun{NotesRun::Kind::Text, 0, line, -1, 0, 0});
            notes.Paragraphs.append(p);
        }
        FileError failure;
        const bool ok = SaveNotesFile(dir + QStringLiteral("0001.rtn"), notes, &failure);
        *why = failure.message;
        return ok;
    }};
    w[QStringLiteral("find history")] = {QStringLiteral("FindHistory.txt"), true, [](const QString& dir, int v, QString* why) {
        FileError failure;
        const bool ok = SaveFindHistory(dir + QStringLiteral("FindHistory.txt"), sizedLines(v, 2000), &failure);
        *why = failure.message;
        return ok;
    }};
    w[QStringLiteral("bookmarks")] = {QStringLiteral("marks.mrk"), true, [](const QString& dir, int v, QString* why) {
        Bookmarks marks;
        const int count = v == 0 ? 1 : g_lines / 13;
        for (int i = 0; i < count; ++i) {
            TTreeMark m;
            m.TreeType = ttFiles;
            m.AbsolutId = i;
            m.FileName = dir + QStringLiteral("%1.htm").arg(i + v);
            marks.AddBookmark(m, bigText(v, 40));
        }
        return marks.ExportBookmarks(dir + QStringLiteral("marks.mrk"), why) == Bookmarks::ExportResult::Ok;
    }};
    w[QStringLiteral("log")] = {QStringLiteral("log/") + DelPrintLogName(LogTime), true, [](const QString& dir, int v, QString* why) {
        FileError failure;
        const bool ok = WriteDelPrintLog(dir + QStringLiteral("log/"), sizedLines(v, 2000), LogTime, &failure).has_value();
        *why = failure.message;
        return ok;
    }};
    w[QStringLiteral("cleaned chapter")] = {QStringLiteral("0001.htm"), false, [](const QString& dir, int v, QString* why) {
        const QString path = dir + QStringLiteral("0001.htm");
        if (v == 0)
            return WriteTextLines(path, {QStringLiteral("<html>"), QStringLiteral("staré")});
        QStringList log;
        FileError failure;
        const bool ok = CleanChapterFile(path, log, {}, &failure);
        *why = failure.message;
        return ok;
    }, [](const QString& dir) {
        QStringList lines = sizedLines(1, 2000);
        lines.prepend(QStringLiteral("<body onload=\"window.print()\">"));
        lines.append(QStringLiteral("<script>window.print();</script>"));
        return WriteTextLines(dir + QStringLiteral("0001.htm"), lines);
    }};
    w[QStringLiteral("copied notes")] = {QStringLiteral("0001.rtn"), true, [](const QString& dir, int v, QString* why) {
        const QString from = copySource(v);
        const FileCopyOutcome out = FileCopy::copy(from, QStringLiteral("*.rtn"), dir);
        *why = out.error;
        return out.ok;
    }, [](const QString&) { return !copySource(1).isEmpty(); }};
    return w;
}

QByteArray readAll(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
}

QStringList listing(const QString& dir)
{
    QStringList names;
    QDir d(dir);
    for (const QFileInfo& info : d.entryInfoList(QDir::Files | QDir::Dirs | QDir::NoDotAndDotDot | QDir::Hidden, QDir::Name)) {
        names << info.fileName();
        if (info.isDir())
            for (const QString& inner : listing(info.filePath()))
                names << info.fileName() + QLatin1Char('/') + inner;
    }
    names.removeAll(QStringLiteral("filler"));
    return names;
}

// Fills the file system of dir up to the last byte.
void fill(const QString& dir)
{
    QFile filler(dir + QStringLiteral("filler"));
    QVERIFY(filler.open(QIODevice::WriteOnly | QIODevice::Unbuffered));
    const QByteArray block(4096, 'x');
    while (filler.write(block) == block.size()) { }
    QByteArray small(1, 'x');
    while (filler.write(small) == 1) { }
}

// The child of killedWhileSaving: saves the two large contents in turn until killed.
int saveForever(const QString& job)
{
    const QString name = job.section(QLatin1Char('|'), 0, 0);
    const QString dir = job.section(QLatin1Char('|'), 1);
    const Writer w = writers().value(name);
    for (int v = 1;; v = 3 - v) {
        QString why;
        if (!w.save(dir, v, &why))
            return 3;
    }
}

} // namespace

class TestSaveFaults final : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { std::signal(SIGXFSZ, SIG_IGN); }

    void failingWrite_data()
    {
        QTest::addColumn<QString>("writer");
        QTest::addColumn<bool>("fullDisk");
        QTest::addColumn<int>("lines");
        for (const QString& name : writers().keys()) {
            for (int lines : {100, 2000}) {
                QTest::addRow("%s at a size limit, %d lines", qPrintable(name), lines) << name << false << lines;
                QTest::addRow("%s on a full disk, %d lines", qPrintable(name), lines) << name << true << lines;
            }
        }
    }

    void failingWrite()
    {
        QFETCH(QString, writer);
        QFETCH(bool, fullDisk);
        QFETCH(int, lines);
        g_lines = lines;
        auto restore = qScopeGuard([] { g_lines = 2000; });
        const Writer w = writers().value(writer);
        QTemporaryDir tmp;
        const QString dir = tmp.path() + QLatin1Char('/');
        bool mounted = false;
        if (fullDisk) {
            if (geteuid() != 0 || ::mount("tavio-test", qPrintable(tmp.path()), "tmpfs", 0, "size=1m") != 0)
                QSKIP("mounting a small file system needs root");
            mounted = true;
        }
        auto cleanUp = qScopeGuard([&] {
            if (mounted)
                ::umount2(qPrintable(tmp.path()), MNT_DETACH);
        });

        QString why;
        QVERIFY2(w.save(dir, 0, &why), qPrintable(why));
        QVERIFY(w.prepare(dir));
        const QByteArray before = readAll(dir + w.target);
        const QStringList namesBefore = listing(dir);

        bool saved;
        if (fullDisk) {
            fill(dir);
            saved = w.save(dir, 1, &why);
        } else {
            rlimit old {};
            getrlimit(RLIMIT_FSIZE, &old);
            rlimit limited = old;
            limited.rlim_cur = 4096;
            setrlimit(RLIMIT_FSIZE, &limited);
            saved = w.save(dir, 1, &why);
            setrlimit(RLIMIT_FSIZE, &old);
        }
        QVERIFY2(!saved, "a failed write was reported as saved");
        QCOMPARE(readAll(dir + w.target), before);
        QCOMPARE(listing(dir), namesBefore);
        if (writer != QStringLiteral("settings"))
            QVERIFY2(!why.isEmpty(), "the failure carries no reason");
    }

    void killedWhileSaving_data()
    {
        QTest::addColumn<QString>("writer");
        const auto all = writers();
        for (auto it = all.begin(); it != all.end(); ++it)
            if (it->killable)
                QTest::newRow(qPrintable(it.key())) << it.key();
    }

    void killedWhileSaving()
    {
        QFETCH(QString, writer);
        const Writer w = writers().value(writer);
        QByteArray contents[3];
        for (int v = 1; v <= 2; ++v) {
            QTemporaryDir ref;
            QString why;
            QVERIFY(w.save(ref.path() + QLatin1Char('/'), v, &why));
            contents[v] = readAll(ref.path() + QLatin1Char('/') + w.target);
        }
        QTemporaryDir tmp;
        const QString dir = tmp.path() + QLatin1Char('/');
        QString why;
        QVERIFY(w.save(dir, 1, &why));

        auto* rng = QRandomGenerator::global();
        for (int round = 0; round < 12; ++round) {
            QProcess child;
            QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
            env.insert(QStringLiteral("TAVIO_SAVE_FOREVER"), writer + QLatin1Char('|') + dir);
            child.setProcessEnvironment(env);
            child.start(QCoreApplication::applicationFilePath(), {});
            QVERIFY(child.waitForStarted());
            QThread::msleep(20 + rng->bounded(60));
            QCOMPARE(child.state(), QProcess::Running); // it saves until killed
            ::kill(pid_t(child.processId()), SIGKILL);
            QVERIFY(child.waitForFinished());
            const QByteArray now = readAll(dir + w.target);
            QVERIFY2(now == contents[1] || now == contents[2],
                     qPrintable(QStringLiteral("round %1: %2 bytes, neither old nor new").arg(round).arg(now.size())));
        }
    }
};

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const QString child = qEnvironmentVariable("TAVIO_SAVE_FOREVER");
    if (!child.isEmpty())
        return saveForever(child);
    TestSaveFaults test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_savefaults.moc"
