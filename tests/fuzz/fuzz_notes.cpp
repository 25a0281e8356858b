// The notes file: whatever a read makes of the bytes, once written it reads back as
// the same document. fuzz.sh caps the memory a run may take (-malloc_limit_mb), far
// below what the lengths and counts in a damaged file could claim.
#include "FuzzSupport.h"

#include "NotesFile.h"

namespace {

bool sameRun(const tavio::NotesRun& a, const tavio::NotesRun& b)
{
    return a.kind == b.kind && a.StyleNo == b.StyleNo && a.Text == b.Text && a.Picture == b.Picture
        && a.Width == b.Width && a.Height == b.Height;
}

bool sameContent(const tavio::NotesContent& a, const tavio::NotesContent& b)
{
    const auto differ = [](const char* what) {
        std::fprintf(stderr, "notes differ in %s\n", what);
        return false;
    };
    if (a.TextStyles != b.TextStyles)
        return differ("text styles");
    if (a.ParaStyles != b.ParaStyles)
        return differ("paragraph styles");
    if (a.Background != b.Background || a.Margin != b.Margin)
        return differ("background or margin");
    if (a.Paragraphs.size() != b.Paragraphs.size() || a.Pictures.size() != b.Pictures.size())
        return differ("paragraph or picture count");
    for (qsizetype i = 0; i < a.Pictures.size(); ++i) {
        if (a.Pictures[i].Format != b.Pictures[i].Format || a.Pictures[i].Data != b.Pictures[i].Data)
            return false;
    }
    for (qsizetype i = 0; i < a.Paragraphs.size(); ++i) {
        const auto& p = a.Paragraphs[i];
        const auto& q = b.Paragraphs[i];
        if (p.ParaStyleNo != q.ParaStyleNo || p.Runs.size() != q.Runs.size())
            return false;
        for (qsizetype r = 0; r < p.Runs.size(); ++r) {
            if (!sameRun(p.Runs[r], q.Runs[r]))
                return false;
        }
    }
    return true;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    fuzz::quiet();
    const tavio::NotesReadResult first =
        tavio::ReadNotes(QByteArrayView(reinterpret_cast<const char*>(data), qsizetype(size)));
    if (first.status == tavio::NotesReadStatus::Foreign || first.status == tavio::NotesReadStatus::TooNew)
        return 0;
    // The writer keeps only the pictures the text shows, so the first write may drop
    // some; from then on a written document reads back as it was.
    const QByteArray written = tavio::WriteNotes(first.content);
    const tavio::NotesReadResult second = tavio::ReadNotes(written);
    FUZZ_CHECK(second.status == tavio::NotesReadStatus::Ok);
    const QByteArray again = tavio::WriteNotes(second.content);
    FUZZ_CHECK(again == written);
    FUZZ_CHECK(sameContent(second.content, tavio::ReadNotes(again).content));
    return 0;
}
