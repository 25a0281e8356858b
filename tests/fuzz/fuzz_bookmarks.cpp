// The bookmark file: at most one bookmark per 827 bytes, every one in the chapter
// folder, and a list that was exported reads back the same. The export works on
// files only; run it with TMPDIR on a memory file system.
#include "FuzzSupport.h"

#include "Bookmarks.h"

#include <QBuffer>
#include <QTemporaryDir>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    fuzz::quiet();
    static QTemporaryDir dir;
    static const QString folder = QStringLiteral("/htm/");
    QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::ReadOnly);
    const auto list = tavio::Bookmarks::ReadBookmarkDevice(buffer, folder);
    if (!list)
        return 0;
    FUZZ_CHECK(list->size() <= bytes.size() / tavio::MarkRecordSize);
    for (const tavio::TTreeMark& m : *list) {
        FUZZ_CHECK(m.FileName.startsWith(folder));
        const QString name = m.FileName.mid(folder.size());
        FUZZ_CHECK(!name.contains(u'/') && !name.contains(u'\\') && name != u"." && name != u"..");
    }
    tavio::Bookmarks marks;
    if (!marks.replaceList(*list))
        return 0;
    const QString path = dir.filePath(QStringLiteral("marks.mrk"));
    FUZZ_CHECK(marks.ExportBookmarks(path) == tavio::Bookmarks::ExportResult::Ok);
    // The file keeps the shortcuts of the first four commands only.
    QList<tavio::TTreeMark> expected = *list;
    for (qsizetype i = tavio::mpSeparMark; i < expected.size(); ++i)
        expected[i].ShortCut = 0;
    const auto again = tavio::Bookmarks::ReadBookmarkFile(path, folder);
    FUZZ_CHECK(again && *again == expected);
    return 0;
}
