// The settings file: every key and value reads without harm, and the bookmarks
// loaded from it all lie in the chapter folder. The store reads files only; run it
// with TMPDIR on a memory file system.
#include "FuzzSupport.h"

#include "Bookmarks.h"
#include "FindHistory.h"
#include "SettingsStore.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

namespace {

void walk(const tavio::SettingsStore& store, const QString& key, int depth)
{
    if (depth > 8)
        return;
    for (const QString& name : store.valueNames(key)) {
        (void)store.readString(key, name);
        (void)store.readInteger(key, name);
        (void)store.readBool(key, name);
        (void)store.readBinary(key, name);
    }
    for (const QString& sub : store.subKeys(key))
        walk(store, key + sub + QLatin1Char('\\'), depth + 1);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    fuzz::quiet();
    static QTemporaryDir dir;
    // A damaged file is copied aside by the store; each run starts in an empty folder.
    QDir(dir.path()).removeRecursively();
    QDir().mkpath(dir.path());
    const QString path = dir.filePath(QStringLiteral("Tavio.ini"));
    {
        QFile f(path);
        FUZZ_CHECK(f.open(QIODevice::WriteOnly));
        FUZZ_CHECK(f.write(reinterpret_cast<const char*>(data), qint64(size)) == qint64(size));
    }
    const tavio::SettingsStore store(path);
    walk(store, QString(), 0);
    (void)tavio::LoadFindSettings(store);

    static const QString folder = QStringLiteral("/htm/");
    tavio::Bookmarks marks;
    marks.LoadBookmarks(store, folder);
    for (const tavio::TTreeMark& m : marks.list()) {
        FUZZ_CHECK(m.FileName.startsWith(folder));
        const QString name = m.FileName.mid(folder.size());
        FUZZ_CHECK(!name.contains(u'/') && !name.contains(u'\\') && name != u"." && name != u"..");
    }
    return 0;
}
