#pragma once

#include "Catalogue.h"
#include "ChapterTree.h"
#include "HttpTestServer.h"
#include "MainTypes.h"
#include "TestFiles.h"
#include "UpdateHost.h"

#include <QDirIterator>
#include <QEventLoop>
#include <QTemporaryDir>
#include <QTimer>

#include <functional>

// The world of an update run: a program folder with its chapter folder, a loopback
// server serving a folder, and a host that records what the update asks of the
// main window.
namespace updateworld {

inline const QByteArray ProgramBytes = QByteArray("\x7F" "ELF new program", 16);

// A chapter of files.ini: the file, its folder and its assets.
struct Section
{
    QString file;
    QString dir;
    QStringList assets;
};

inline QByteArray filesIni(int first, const QList<Section>& sections)
{
    QByteArray out;
    int n = first;
    for (const Section& s : sections) {
        out += "[" + QByteArray::number(n++) + "]\r\n";
        if (!s.file.isNull())
            out += "file=" + s.file.toUtf8() + "\r\n";
        if (!s.dir.isNull())
            out += "dir=" + s.dir.toUtf8() + "\r\n";
        for (int i = 0; i < s.assets.size(); ++i)
            out += "file" + QByteArray::number(i + 1) + "=" + s.assets[i].toUtf8() + "\r\n";
    }
    return out;
}

inline QByteArray updateIni(const QByteArray& version, int lastFileIndex)
{
    QByteArray out;
    if (!version.isEmpty()) {
        const QList<QByteArray> c = version.split('.');
        out += "[last_version]\r\nmajor=" + c[0] + "\r\nminor=" + c[1] + "\r\nrelease=" + c[2] + "\r\nbuild=" + c[3]
            + "\r\n";
    }
    return out + "[last_file_index]\r\nvalue=" + QByteArray::number(lastFileIndex) + "\r\n";
}

// Every file and folder under a folder, relative to it, sorted.
inline QStringList tree(const QString& folder)
{
    QStringList out;
    QDirIterator it(folder, QDir::Files | QDir::Dirs | QDir::NoDotAndDotDot | QDir::Hidden, QDirIterator::Subdirectories);
    while (it.hasNext())
        out << QDir(folder).relativeFilePath(it.next());
    out.sort();
    return out;
}

// Waits in a plain event loop: the worker's progress calls need the GUI thread at
// once, which QTest::qWaitFor's pauses between its rounds would hold up.
inline bool waitFor(const std::function<bool()>& done, int ms = 20000)
{
    QEventLoop loop;
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, &loop, [&] {
        if (done())
            loop.quit();
    });
    poll.start(5);
    QTimer::singleShot(ms, &loop, &QEventLoop::quit);
    if (!done())
        loop.exec();
    return done();
}

struct World
{
    QTemporaryDir tmp;
    QString prog = tmp.filePath(QStringLiteral("prog/"));
    QString chapters = prog + QStringLiteral("Htm/");
    QString served = tmp.filePath(QStringLiteral("server/"));
    testhttp::HttpTestServer server{served};
    int localChapters = 117; // what the catalogue counts
    bool settleAnswer = true; // what the close questions before a restart come to
    QStringList calls;

    World()
    {
        QDir().mkpath(chapters);
        QDir().mkpath(served);
        testfiles::write(prog + QStringLiteral("tavio"), "old program");
        serve(QStringLiteral("user.nfo"), QByteArray("Zpr\xe1va"));
    }
    void serve(const QString& path, const QByteArray& bytes) { testfiles::write(served + path, bytes); }
    QString local(const QString& name) const { return chapters + name; }

    tavio::UpdateHost host()
    {
        using namespace tavio;
        UpdateHost h;
        h.layout = FileLayout(prog, tmp.filePath(QStringLiteral("data")));
        h.programFile = prog + QStringLiteral("tavio");
        const auto a = [this](const char* path) { return server.address(QLatin1String(path)); };
        h.addresses = {a("/update.ini"), a("/files.ini"), a("/tavio"), a("/whats.new"),
                       a("/user.nfo"),   a("/htm/"),      a("/help.zip")};
        h.chapterFolder = [this] { return chapters; };
        h.catalogueTree = [this]() -> const ChapterTree* {
            // A group node first, so that every chapter node counts.
            static ChapterTree tree;
            tree.clear();
            tree.addChild(nullptr, QStringLiteral("0000"), image::FolderClosed);
            for (int i = 0; i < localChapters; ++i)
                tree.addChild(nullptr, QStringLiteral("x.htm [ x ]"), image::Chapter);
            return &tree;
        };
        h.rebuildCatalogue = [this](const QString& f) { calls << QStringLiteral("rebuild:") + f; };
        h.refreshSearchList = [this] { calls << QStringLiteral("refresh"); };
        h.enableNextChapter = [this] { calls << QStringLiteral("next"); };
        h.showIniFile = [this](const QString& p) { calls << QStringLiteral("viewer:") + p; };
        h.settleCloseQuestions = [this] {
            calls << QStringLiteral("settle");
            return settleAnswer;
        };
        h.releaseInstanceLock = [this] { calls << QStringLiteral("release"); };
        h.startProgram = [this](const QString& p) {
            calls << QStringLiteral("start:") + p;
            return true;
        };
        h.quit = [this] { calls << QStringLiteral("quit"); };
        h.activateChapterView = [this] { calls << QStringLiteral("activate"); };
        return h;
    }

    // The requests the server took, as paths, without the side fetches.
    QStringList paths() const
    {
        QStringList out;
        for (const QByteArray& r : server.requests) {
            const QString p = QString::fromLatin1(r.split(' ').value(1));
            if (p != QLatin1String("/user.nfo") && p != QLatin1String("/whats.new"))
                out << p;
        }
        return out;
    }
};

} // namespace updateworld
