// The prefilter of the chapter search: whether a file's bytes can give a text that
// holds the pattern, without extracting the text.
#include "ChapterText.h"

#include "ChapterTextTables.h"

#include <algorithm>
#include <array>
#include <climits>
#include <cstring>

namespace tavio {

namespace {

// The bytes that fold to v, at most two of them (more is never needed by the code
// page's tables); count is how many there are, up to 255.
struct Preimage
{
    int count = 0;
    std::array<uchar, 2> bytes{};
};

Preimage preimageOf(uchar v, const std::array<uchar, 256>& fold)
{
    Preimage p;
    for (int b = 0; b < 256; ++b) {
        if (fold[size_t(b)] != v)
            continue;
        if (p.count < 2)
            p.bytes[size_t(p.count)] = uchar(b);
        if (p.count < 255)
            ++p.count;
    }
    return p;
}

// Bytes that a line break or the entity table may bring into the extracted text, or
// that never reach it as they are: a run of the pattern without any of them must
// stand in the file's bytes as it is, with at most markup between its bytes.
bool solidByte(uchar b)
{
    switch (b) {
    case '<': case '>': case '"': case 0x00: case 0xB1: case 0xD7: case 0xAE: case 0xA9: case 0x80: case 0xBB: case 0xAB:
        return false;
    default:
        return b > 0x20;
    }
}

// How far the prefilter looks for the ends of markup before it gives up and lets
// the full rule decide.
constexpr qsizetype PrefilterReach = 64 * 1024;

enum class Verify { No, Yes, Unsure };

bool isLineEnd(uchar b)
{
    return b == '\r' || b == '\n';
}

// Walks the pattern from its byte j on (forwards) or back (backwards) through the
// file's bytes from raw[i], as the extraction would give them. A byte that the
// pattern must hold as it is: markup and a stray '>' between such bytes are dropped,
// a line break means a blank. A run of blanks: in the file, only blanks, line
// breaks, control characters and markup can stand there (anything else would leave
// a character between). Any other byte of the pattern ends the walk with a maybe.
Verify verifyForward(const uchar* raw, qsizetype n, qsizetype i, const uchar* p, qsizetype m, qsizetype j,
                     const std::array<uchar, 256>& fold)
{
    const qsizetype from = i;
    while (j < m) {
        if (i - from > PrefilterReach)
            return Verify::Unsure;
        if (p[j] == ' ') {
            while (j < m && p[j] == ' ')
                ++j;
            if (j == m || !solidByte(p[j]))
                return Verify::Yes;
            for (;;) {
                if (i >= n)
                    return Verify::No;
                const uchar b = raw[i];
                if (b <= 0x20 || b == '>') {
                    ++i;
                } else if (b == '<') {
                    const void* end = std::memchr(raw + i, '>', size_t(n - i));
                    if (!end)
                        return Verify::No;
                    i = static_cast<const uchar*>(end) - raw + 1;
                } else {
                    break;
                }
                if (i - from > PrefilterReach)
                    return Verify::Unsure;
            }
            continue;
        }
        if (!solidByte(p[j]))
            return Verify::Yes;
        if (i >= n)
            return Verify::No;
        const uchar b = raw[i];
        if (b == '<') {
            qsizetype k = i + 1;
            while (k < n && raw[k] != '>') {
                if (isLineEnd(raw[k]))
                    return Verify::No;
                if (k - i > PrefilterReach)
                    return Verify::Unsure;
                ++k;
            }
            if (k >= n)
                return Verify::No;
            i = k + 1;
            continue;
        }
        if (b == '>') {
            ++i;
            continue;
        }
        if (fold[b] != p[j])
            return Verify::No;
        ++i;
        ++j;
    }
    return Verify::Yes;
}

// Where the markup that a '>' at raw[i] would end begins, when it is markup: a '>'
// ends markup when the last '<' or '>' before it is a '<'; the markup then began at
// the first '<' after the '>' before that. Before the file's first '>' everything
// is dropped.
enum class Close { Stray, Markup, Dropped, Unsure };
Close closing(const uchar* raw, qsizetype i, qsizetype* start)
{
    qsizetype q = i - 1;
    while (q >= 0 && raw[q] != '<' && raw[q] != '>') {
        if (i - q > PrefilterReach)
            return Close::Unsure;
        --q;
    }
    if (q < 0)
        return Close::Dropped;
    if (raw[q] == '>')
        return Close::Stray;
    *start = q;
    qsizetype k = q - 1;
    while (k >= 0 && raw[k] != '>') {
        if (raw[k] == '<')
            *start = k;
        if (i - k > PrefilterReach)
            return Close::Unsure;
        --k;
    }
    return k < 0 ? Close::Dropped : Close::Markup;
}

// The same backwards: p[0..j] ends at raw[i].
Verify verifyBackward(const uchar* raw, qsizetype i, const uchar* p, qsizetype j, const std::array<uchar, 256>& fold)
{
    const qsizetype from = i;
    while (j >= 0) {
        if (from - i > PrefilterReach)
            return Verify::Unsure;
        if (p[j] == ' ') {
            while (j >= 0 && p[j] == ' ')
                --j;
            if (j < 0 || !solidByte(p[j]))
                return Verify::Yes;
            for (;;) {
                if (i < 0)
                    return Verify::No;
                const uchar b = raw[i];
                if (b <= 0x20) {
                    --i;
                } else if (b == '>') {
                    qsizetype start = 0;
                    switch (closing(raw, i, &start)) {
                    case Close::Stray: --i; break;
                    case Close::Markup: i = start - 1; break;
                    case Close::Dropped: return Verify::No;
                    case Close::Unsure: return Verify::Unsure;
                    }
                } else if (b == '<') {
                    // What follows it up to the next '>' is markup, the text found too.
                    return Verify::No;
                } else {
                    break;
                }
                if (from - i > PrefilterReach)
                    return Verify::Unsure;
            }
            continue;
        }
        if (!solidByte(p[j]))
            return Verify::Yes;
        if (i < 0)
            return Verify::No;
        const uchar b = raw[i];
        if (b == '<')
            return Verify::No;
        if (b != '>') {
            if (fold[b] != p[j])
                return Verify::No;
            --i;
            --j;
            continue;
        }
        qsizetype start = 0;
        switch (closing(raw, i, &start)) {
        case Close::Stray: --i; continue;
        case Close::Dropped: return Verify::No;
        case Close::Unsure: return Verify::Unsure;
        case Close::Markup: break;
        }
        for (qsizetype x = start; x <= i; ++x) {
            if (isLineEnd(raw[x]))
                return Verify::No;
        }
        i = start - 1;
    }
    return Verify::Yes;
}
} // namespace

bool ChapterMayHavePattern(QByteArrayView fileBytes, QByteArrayView pattern, bool caseSensitive)
{
    if (pattern.isEmpty())
        return false;
    // The longest run of the pattern that the file must hold byte for byte.
    const auto* p = reinterpret_cast<const uchar*>(pattern.data());
    qsizetype segStart = 0, segLen = 0;
    for (qsizetype i = 0; i < pattern.size();) {
        if (!solidByte(p[i])) {
            ++i;
            continue;
        }
        qsizetype j = i;
        while (j < pattern.size() && solidByte(p[j]))
            ++j;
        if (j - i > segLen) {
            segStart = i;
            segLen = j - i;
        }
        i = j;
    }
    if (segLen == 0)
        return true;
    const uchar* seg = p + segStart;
    const std::array<uchar, 256>& fold = SearchFoldTable(caseSensitive);

    // Anchor on the segment's rarest byte, as the match itself does.
    const auto& common = ByteCommonness();
    qsizetype anchor = 0;
    int bestCost = INT_MAX;
    Preimage best;
    for (qsizetype j = 0; j < segLen; ++j) {
        const Preimage pre = preimageOf(seg[j], fold);
        if (pre.count == 0)
            return false;
        const int cost = pre.count > 2 ? INT_MAX - 1 : common[pre.bytes[0]] + (pre.count == 2 ? common[pre.bytes[1]] : 0);
        if (cost < bestCost) {
            bestCost = cost;
            anchor = j;
            best = pre;
        }
    }
    if (best.count > 2)
        return true;

    const auto* raw = reinterpret_cast<const uchar*>(fileBytes.data());
    const qsizetype n = fileBytes.size();
    auto tryAt = [&](qsizetype c) {
        // The whole pattern around the anchor, as far as the walks can tell.
        const Verify back = verifyBackward(raw, c - 1, p, segStart + anchor - 1, fold);
        if (back == Verify::No)
            return false;
        const Verify ahead = verifyForward(raw, n, c + 1, p, pattern.size(), segStart + anchor + 1, fold);
        return ahead != Verify::No;
    };
    auto next = [&](qsizetype from, uchar byte) -> qsizetype {
        if (from >= n)
            return n;
        const void* hit = std::memchr(raw + from, byte, size_t(n - from));
        return hit ? static_cast<const uchar*>(hit) - raw : n;
    };
    if (best.count == 1) {
        for (qsizetype c = next(0, best.bytes[0]); c < n; c = next(c + 1, best.bytes[0])) {
            if (tryAt(c))
                return true;
        }
        return false;
    }
    qsizetype ca = next(0, best.bytes[0]);
    qsizetype cb = next(0, best.bytes[1]);
    while (ca < n || cb < n) {
        const qsizetype c = std::min(ca, cb);
        if (tryAt(c))
            return true;
        if (c == ca)
            ca = next(ca + 1, best.bytes[0]);
        else
            cb = next(cb + 1, best.bytes[1]);
    }
    return false;
}

} // namespace tavio
