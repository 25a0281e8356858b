// The chapter title reader: the first <H2> line, possibly continued on the next.
#include "FuzzSupport.h"

#include "Catalogue.h"

#include <QBuffer>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    fuzz::quiet();
    QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::ReadOnly);
    const tavio::ChapterTitle t = tavio::ReadChapterTitle(buffer);
    FUZZ_CHECK(t.status == tavio::TitleStatus::Ok);
    // Taken from at most two lines, so never longer than the file nor holding a break.
    FUZZ_CHECK(t.title.size() <= bytes.size());
    FUZZ_CHECK(!t.title.contains(u'\r') && !t.title.contains(u'\n'));
    return 0;
}
