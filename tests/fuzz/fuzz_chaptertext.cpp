// The text extraction of the search and its matching: the folded search equals a
// plain upper-case-and-contains on the same text, and the quick look at the file's
// bytes never turns away a file whose text holds the pattern.
#include "FuzzSupport.h"

#include "ChapterText.h"
#include "Cp1250.h"

namespace {

bool referenceHas(QByteArrayView text, const QByteArray& pattern, bool caseSensitive)
{
    if (pattern.isEmpty())
        return false;
    const QByteArray folded = caseSensitive ? text.toByteArray() : tavio::cp1250::toUpper(text.toByteArray());
    return folded.contains(pattern);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    fuzz::quiet();
    fuzz::Input in(data, size);
    const uchar options = in.byte();
    const bool caseSensitive = options & 1;
    const bool wholeWords = options & 2;
    const QString search = tavio::cp1250::toUnicode(in.chunk(40));
    const QByteArrayView file = in.rest();

    const QByteArray text = tavio::ChapterBytesToText(file, tavio::cp1250::fromUnicode(search));
    const QByteArray pattern = tavio::MakeSearchPattern(search, wholeWords, caseSensitive);
    const bool has = referenceHas(text, pattern, caseSensitive);
    FUZZ_CHECK(tavio::TextHasPattern(text, pattern, caseSensitive) == has);
    FUZZ_CHECK(!has || tavio::ChapterMayHavePattern(file, pattern, caseSensitive));
    // The raw file too: it holds bytes the extracted text never does.
    FUZZ_CHECK(tavio::TextHasPattern(file, pattern, caseSensitive) == referenceHas(file, pattern, caseSensitive));
    return 0;
}
