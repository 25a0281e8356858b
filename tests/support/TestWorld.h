#pragma once

#include "ChapterTree.h"
#include "FileLayout.h"
#include "MainTypes.h"
#include "SettingsStore.h"
#include "TestFiles.h"
#include "TfrmAll.h"

#include <QApplication>
#include <QDirIterator>
#include <QTemporaryDir>

#include <memory>

// A program folder with chapters, a data folder, a settings file and a lock folder.
struct World
{
    // A few small chapters.
    World()
    {
        init();
        testfiles::write(program + QStringLiteral("Htm/0001.htm"), "<H2>Lekce 1 - \xdavod</H2>\r\n");
        testfiles::write(program + QStringLiteral("Htm/0002-01.htm"), "<H2>Lekce 2 - Prom\xecnn\xe9</H2>\r\n");
        testfiles::write(program + QStringLiteral("Htm/0002-02.htm"), "<H2>Lekce 2 - Pole</H2>\r\n");
        testfiles::write(program + QStringLiteral("Htm/0003.htm"), "<H2>Lekce 3 - \xdavod znovu</H2>\r\n");
    }
    // A copy of the chapters of another folder (the samples that ship with the program).
    explicit World(const QString& chaptersFrom)
    {
        init();
        QDirIterator it(chaptersFrom, QDir::Files, QDirIterator::Subdirectories);
        while (it.hasNext()) {
            const QString from = it.next();
            testfiles::write(program + QStringLiteral("Htm/") + QDir(chaptersFrom).relativeFilePath(from),
                             testfiles::read(from));
        }
    }
    void openStore() { store = std::make_unique<tavio::SettingsStore>(ini); }
    tavio::Environment env() const
    {
        return tavio::Environment{tavio::FileLayout(program, appData), store.get(), lock, false};
    }
    std::unique_ptr<tavio::TfrmAll> start()
    {
        auto w = std::make_unique<tavio::TfrmAll>(env());
        w->FormCreate(nullptr);
        return w;
    }
    QString dataFolder() const { return tavio::FileLayout(program, appData).dataFolder(); }
    QString chapters() const { return program + QStringLiteral("Htm/"); }

    QTemporaryDir dir;
    QString program, appData, ini, lock;
    std::unique_ptr<tavio::SettingsStore> store;

private:
    void init()
    {
        program = dir.filePath(QStringLiteral("program")) + QLatin1Char('/');
        appData = dir.filePath(QStringLiteral("appdata")) + QLatin1Char('/');
        ini = dir.filePath(QStringLiteral("hive.ini"));
        lock = dir.filePath(QStringLiteral("run"));
        openStore();
    }
};

// The application font scaled by a factor while the object lives, as at a larger
// system text size; the previous font comes back at the end.
class ScaledAppFont
{
public:
    explicit ScaledAppFont(double factor)
        : m_normal(QApplication::font())
    {
        QFont scaled = m_normal;
        scaled.setPointSizeF(m_normal.pointSizeF() * factor);
        QApplication::setFont(scaled);
    }
    ~ScaledAppFont() { QApplication::setFont(m_normal); }
    ScaledAppFont(const ScaledAppFont&) = delete;
    ScaledAppFont& operator=(const ScaledAppFont&) = delete;

private:
    const QFont m_normal;
};

// The node of the tree whose caption names the file, or nothing.
inline tavio::TreeNode* nodeByFile(tavio::ChapterTree& tree, const QString& fileName)
{
    tavio::TreeNode* found = nullptr;
    tree.forEach([&](tavio::TreeNode* n) {
        if (tavio::CaptionToFileName(n->caption) == fileName)
            found = n;
    });
    return found;
}
