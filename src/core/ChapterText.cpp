#include "ChapterText.h"

#include "ChapterTextTables.h"
#include "Cp1250.h"

#include <algorithm>
#include <array>
#include <climits>
#include <cstring>
#include <string_view>

namespace tavio {

namespace {

// Characters set apart by a blank on each side, unless the search text holds them.
constexpr uchar SpacingSet[] = {0x21, 0x22, 0x24, 0x25, 0x27, 0x28, 0x29, 0x2A, 0x2B, 0x2C, 0x2D, 0x2E, 0x2F, 0x3A,
    0x3B, 0x3D, 0x3F, 0x40, 0x5E, 0x5F, 0x60, 0x7B, 0x7D, 0x7E, 0x84, 0x93, 0xB0};
static_assert(sizeof(SpacingSet) == 27);

struct Entity
{
    std::string_view pattern;
    char replacement;
};

// The semicolon has been set apart by the time these apply, hence the blanks.
constexpr Entity Entities[] = {{"&lt ; ", '\x3C'}, {"&gt ; ", '\x3E'}, {"&quot ;", '\x22'}, {"&shy ;", '\x00'},
    {"&plusmn ;", '\xB1'}, {"&times ;", '\xD7'}, {"&reg ;", '\xAE'}, {"&copy ;", '\xA9'}, {"&euro ;", '\x80'},
    {"&raquo ;", '\xBB'}, {"&laquo ;", '\xAB'}};

// What the extraction does with a byte outside markup.
enum ByteClass : uchar {
    Plain,
    Spaced,
    TagOpen,
    TagClose,
    LineEnd,
};

std::array<uchar, 256> classTable(QByteArrayView searchText)
{
    std::array<uchar, 256> cls{};
    for (const uchar b : SpacingSet)
        cls[b] = Spaced;
    for (const char c : searchText) {
        if (cls[uchar(c)] == Spaced)
            cls[uchar(c)] = Plain;
    }
    cls['<'] = TagOpen;
    cls['>'] = TagClose;
    cls['\r'] = LineEnd;
    cls['\n'] = LineEnd;
    return cls;
}

// Inside markup only the end of the tag and line breaks count.
// Bytes as 0/1 rather than bool, so eight lookups can be or-ed without branches.
constexpr std::array<uchar, 256> tagStops()
{
    std::array<uchar, 256> stops{};
    stops['>'] = 1;
    stops['\r'] = 1;
    stops['\n'] = 1;
    return stops;
}

// Replaces the entity patterns in place. No pattern is a prefix of another and no
// replacement character occurs in any pattern, so one pass from the left gives what
// replacing the rows one after the other gives.
qsizetype replaceEntities(char* text, qsizetype size)
{
    char* const end = text + size;
    char* amp = static_cast<char*>(std::memchr(text, '&', size_t(size)));
    if (!amp)
        return size;
    char* out = amp;
    const char* in = amp;
    while (in < end) {
        if (*in != '&') {
            const char* next = static_cast<const char*>(std::memchr(in, '&', size_t(end - in)));
            const qsizetype run = (next ? next : end) - in;
            std::memmove(out, in, size_t(run));
            out += run;
            in += run;
            continue;
        }
        const Entity* hit = nullptr;
        for (const Entity& e : Entities) {
            if (end - in >= qsizetype(e.pattern.size()) && std::memcmp(in, e.pattern.data(), e.pattern.size()) == 0) {
                hit = &e;
                break;
            }
        }
        if (hit) {
            *out++ = hit->replacement;
            in += hit->pattern.size();
        } else {
            *out++ = *in++;
        }
    }
    return out - text;
}

// Bytes of chapter text from the most common on, roughly; a byte not listed is rare.
// The search anchors on the pattern's rarest byte, so this decides speed only.
const std::array<int, 256>& commonness()
{
    static const std::array<int, 256> table = [] {
        const QByteArray order
            = cp1250::fromUnicode(u" eoaintsvlrkdpmuíc,.áhzěéyj;řbč=()žšý-ůgf0123456789:úx\"/w'ňťďq");
        std::array<int, 256> t{};
        for (qsizetype i = 0; i < order.size(); ++i)
            t[uchar(order[i])] = int(order.size() - i);
        return t;
    }();
    return table;
}

bool matchesAt(const uchar* t, const uchar* p, qsizetype m, const std::array<uchar, 256>& fold)
{
    for (qsizetype j = 0; j < m; ++j) {
        if (fold[t[j]] != p[j])
            return false;
    }
    return true;
}

// Where pattern first occurs in text with every text byte taken through fold (the
// pattern is compared as given), or -1. The text bytes that fold to the pattern's
// rarest byte are found with memchr, and only there is the whole pattern compared.
qsizetype findFolded(QByteArrayView text, QByteArrayView pattern, const std::array<uchar, 256>& fold)
{
    const qsizetype n = text.size();
    const qsizetype m = pattern.size();
    if (m == 0 || m > n)
        return -1;
    const auto* t = reinterpret_cast<const uchar*>(text.data());
    const auto* p = reinterpret_cast<const uchar*>(pattern.data());

    // The bytes that fold to each value; more than two is never needed by the code
    // page's tables, but is handled.
    std::array<uchar, 256> count{};
    std::array<std::array<uchar, 2>, 256> preimage;
    for (int b = 0; b < 256; ++b) {
        uchar& c = count[fold[size_t(b)]];
        if (c < 2)
            preimage[fold[size_t(b)]][c] = uchar(b);
        if (c < 255)
            ++c;
    }

    const auto& common = commonness();
    qsizetype anchor = 0;
    int bestCost = INT_MAX;
    for (qsizetype j = 0; j < m; ++j) {
        const uchar v = p[j];
        if (count[v] == 0)
            return -1; // no text byte folds to it
        const int cost
            = count[v] > 2 ? INT_MAX - 1 : common[preimage[v][0]] + (count[v] == 2 ? common[preimage[v][1]] : 0);
        if (cost < bestCost) {
            bestCost = cost;
            anchor = j;
        }
    }

    // Anchor bytes lie between first and last; a hit starts anchor bytes before one.
    const uchar* const first = t + anchor;
    const uchar* const last = t + (n - m + anchor + 1);
    const uchar v = p[anchor];
    if (count[v] > 2) {
        for (const uchar* c = first; c != last; ++c) {
            if (fold[*c] == v && matchesAt(c - anchor, p, m, fold))
                return c - anchor - t;
        }
        return -1;
    }
    auto next = [last](const uchar* from, uchar byte) {
        const void* hit = std::memchr(from, byte, size_t(last - from));
        return hit ? static_cast<const uchar*>(hit) : last;
    };
    if (count[v] == 1) {
        for (const uchar* c = next(first, v); c != last; c = next(c + 1, v)) {
            if (matchesAt(c - anchor, p, m, fold))
                return c - anchor - t;
        }
        return -1;
    }
    const uchar a = preimage[v][0];
    const uchar b = preimage[v][1];
    const uchar* ca = next(first, a);
    const uchar* cb = next(first, b);
    while (ca != last || cb != last) {
        const uchar* c = std::min(ca, cb);
        if (matchesAt(c - anchor, p, m, fold))
            return c - anchor - t;
        if (c == ca)
            ca = next(ca + 1, a);
        else
            cb = next(cb + 1, b);
    }
    return -1;
}

const std::array<uchar, 256>& identityTable()
{
    static const std::array<uchar, 256> table = [] {
        std::array<uchar, 256> t{};
        for (size_t b = 0; b < 256; ++b)
            t[b] = uchar(b);
        return t;
    }();
    return table;
}

const std::array<uchar, 256>& foldTable(bool caseSensitive)
{
    return caseSensitive ? identityTable() : cp1250::upperTable();
}


} // namespace

const std::array<int, 256>& ByteCommonness()
{
    return commonness();
}

const std::array<uchar, 256>& SearchFoldTable(bool caseSensitive)
{
    return foldTable(caseSensitive);
}

QByteArray ChapterBytesToText(QByteArrayView fileBytes, QByteArrayView searchText)
{
    static constexpr std::array<uchar, 256> inTag = tagStops();
    const std::array<uchar, 256> cls = classTable(searchText);
    const auto* in = reinterpret_cast<const uchar*>(fileBytes.data());
    const uchar* const inEnd = in + fileBytes.size();

    // Every byte gives at most three, and a line break at most the one blank that
    // joins two lines; result[0] is kept for the leading frame blank.
    QByteArray result(fileBytes.size() * 3 + 2, Qt::Uninitialized);
    char* const base = result.data() + 1;
    char* out = base;

    // Each line's end trims the blanks behind it and, when there is text, puts the
    // blank that the next line's text follows: the trailing frame blank of the
    // literal rule, trimmed again if that line adds nothing. Blanks at the very start
    // are trimmed once at the end; until then a text of blanks only stays trimmed to
    // nothing at every line end, so it never gets a joining blank.
    auto endLine = [&] {
        while (out != base && uchar(out[-1]) <= 0x20)
            --out;
        if (out != base)
            *out++ = ' ';
    };

    // Everything before the first '>' is dropped, as if inside a tag.
    for (;;) {
        for (;;) {
            while (inEnd - in >= 8
                && !(inTag[in[0]] | inTag[in[1]] | inTag[in[2]] | inTag[in[3]] | inTag[in[4]] | inTag[in[5]]
                    | inTag[in[6]] | inTag[in[7]]))
                in += 8;
            while (in != inEnd && !inTag[*in])
                ++in;
            if (in == inEnd)
                goto done;
            if (*in++ == '>')
                break;
            endLine();
        }
        for (;;) {
            // Eight bytes at a time while none of them needs a decision; the copy may
            // run ahead of out, into room that the worst case reserves anyway.
            while (inEnd - in >= 8) {
                std::memcpy(out, in, 8);
                if ((cls[in[0]] | cls[in[1]] | cls[in[2]] | cls[in[3]] | cls[in[4]] | cls[in[5]] | cls[in[6]]
                        | cls[in[7]])
                    != Plain)
                    break;
                in += 8;
                out += 8;
            }
            while (in != inEnd && cls[*in] == Plain)
                *out++ = char(*in++);
            if (in == inEnd)
                goto done;
            const uchar c = *in++;
            const uchar k = cls[c];
            if (k == Spaced) {
                out[0] = ' ';
                out[1] = char(c);
                out[2] = ' ';
                out += 3;
            } else if (k == LineEnd) {
                endLine();
            } else if (k == TagOpen) {
                break;
            }
        }
    }
done:
    endLine();
    char* first = base;
    while (first != out && uchar(*first) <= 0x20)
        ++first;
    if (first == out)
        return QByteArray();
    const qsizetype lead = first - result.data() - 1;
    result[lead] = ' ';
    result.truncate(first - result.data() + replaceEntities(first, out - first));
    // Dropping the front of a byte array moves its start, not its bytes.
    result.remove(0, lead);
    return result;
}

std::optional<QByteArray> ChapterFileToText(const QString& path, QStringView searchText, FileError* error)
{
    const std::optional<QByteArray> bytes = ReadFileBytes(path, MaxChapterFileBytes, error);
    if (!bytes)
        return std::nullopt;
    return ChapterBytesToText(*bytes, cp1250::fromUnicode(searchText));
}

QByteArray MakeSearchPattern(QStringView searchText, bool wholeWords, bool caseSensitive)
{
    QByteArray pattern = cp1250::fromUnicode(searchText);
    // A character the code page lacks comes back as '?' and would find every question
    // mark; no chapter can hold such a text, so the pattern is one that matches nothing.
    if (cp1250::toUnicode(pattern) != searchText)
        return QByteArray();
    if (wholeWords)
        pattern = ' ' + pattern + ' ';
    return caseSensitive ? pattern : cp1250::toUpper(std::move(pattern));
}

bool TextHasPattern(QByteArrayView text, QByteArrayView pattern, bool caseSensitive)
{
    return findFolded(text, pattern, foldTable(caseSensitive)) >= 0;
}

std::optional<bool> RawLinesHavePattern(
    const QString& path, QByteArrayView pattern, bool caseSensitive, FileError* error)
{
    const std::optional<QByteArray> bytes = ReadFileBytes(path, MaxChapterFileBytes, error);
    if (!bytes)
        return std::nullopt;
    // No line holds a line break, so a pattern with one is found nowhere; any other
    // pattern found in the whole file lies within one line.
    if (pattern.contains('\r') || pattern.contains('\n'))
        return false;
    return findFolded(*bytes, pattern, foldTable(caseSensitive)) >= 0;
}

qsizetype FindPattern(QByteArrayView text, QByteArrayView pattern, bool caseSensitive, qsizetype from)
{
    if (from < 0 || from > text.size())
        return -1;
    const qsizetype at = findFolded(text.sliced(from), pattern, foldTable(caseSensitive));
    return at < 0 ? -1 : from + at;
}

int CountPattern(QByteArrayView text, QByteArrayView pattern, bool caseSensitive, qsizetype first)
{
    int count = 0;
    for (qsizetype at = first; at >= 0 && count < INT_MAX; at = FindPattern(text, pattern, caseSensitive, at + 1))
        ++count;
    return count;
}

QByteArray PlainBytesToText(QByteArrayView bytes, QByteArrayView searchText)
{
    const std::array<uchar, 256> cls = classTable(searchText);
    QByteArray result(bytes.size() * 3 + 2, Qt::Uninitialized);
    char* const base = result.data() + 1;
    char* out = base;
    auto endLine = [&] {
        while (out != base && uchar(out[-1]) <= 0x20)
            --out;
        if (out != base)
            *out++ = ' ';
    };
    for (const char ch : bytes) {
        const uchar c = uchar(ch);
        const uchar k = cls[c];
        if (k == LineEnd) {
            endLine();
        } else if (k == Spaced) {
            out[0] = ' ';
            out[1] = char(c);
            out[2] = ' ';
            out += 3;
        } else {
            *out++ = char(c);
        }
    }
    endLine();
    char* first = base;
    while (first != out && uchar(*first) <= 0x20)
        ++first;
    if (first == out)
        return QByteArray();
    const qsizetype lead = first - result.data() - 1;
    result[lead] = ' ';
    result.truncate(out - result.data());
    result.remove(0, lead);
    return result;
}

} // namespace tavio
