#include "Cp1250.h"

#include <QStringDecoder>

#include <algorithm>
#include <utility>

namespace tavio::cp1250 {

namespace {

// Windows-1250 is a single-byte code page: every byte is one UTF-16 unit. The
// converter is asked once for the 256 bytes; after that decoding and encoding are a
// table look-up per character, whatever the text or its lines look like.
struct Tables
{
    std::array<char16_t, 256> decode{};
    // Characters from 0x80 up, sorted, each with the first byte that decodes to it.
    std::array<std::pair<char16_t, uchar>, 128> encodeHigh{};
    qsizetype encodeHighCount = 0;
    bool asciiIdentity = true;
};

Tables makeTables()
{
    Tables t;
    QStringDecoder decoder("windows-1250", QStringConverter::Flag::Stateless);
    for (int b = 0; b < 256; ++b) {
        const char byte = char(b);
        const QString s = decoder.decode(QByteArrayView(&byte, 1));
        t.decode[size_t(b)] = s.size() == 1 ? s.at(0).unicode() : char16_t(0xFFFD);
    }
    for (int b = 0; b < 128; ++b)
        t.asciiIdentity = t.asciiIdentity && t.decode[size_t(b)] == char16_t(b);
    std::array<std::pair<char16_t, uchar>, 256> all{};
    qsizetype n = 0;
    for (int b = 0; b < 256; ++b) {
        const char16_t c = t.decode[size_t(b)];
        if (c == 0xFFFD || (t.asciiIdentity && c < 0x80))
            continue;
        const auto seen = std::find_if(all.begin(), all.begin() + n, [c](const auto& p) { return p.first == c; });
        if (seen == all.begin() + n)
            all[size_t(n++)] = {c, uchar(b)};
    }
    std::sort(all.begin(), all.begin() + n);
    // The code page holds 128 characters beyond ASCII at most.
    t.encodeHighCount = std::min<qsizetype>(n, qsizetype(t.encodeHigh.size()));
    std::copy(all.begin(), all.begin() + t.encodeHighCount, t.encodeHigh.begin());
    return t;
}

const Tables& tables()
{
    static const Tables t = makeTables();
    return t;
}

// The byte for c, or -1 when the code page cannot hold it.
int encodeOne(const Tables& t, char16_t c)
{
    if (t.asciiIdentity && c < 0x80)
        return c;
    const auto end = t.encodeHigh.begin() + t.encodeHighCount;
    const auto it = std::lower_bound(t.encodeHigh.begin(), end, std::pair<char16_t, uchar>(c, 0));
    return it != end && it->first == c ? int(it->second) : -1;
}

} // namespace

QString toUnicode(QByteArrayView bytes)
{
    if (bytes.isEmpty())
        return QString();
    const auto& table = tables().decode;
    QString out(bytes.size(), Qt::Uninitialized);
    char16_t* dst = reinterpret_cast<char16_t*>(out.data());
    const uchar* src = reinterpret_cast<const uchar*>(bytes.data());
    for (qsizetype i = 0, n = bytes.size(); i < n; ++i)
        dst[i] = table[src[i]];
    return out;
}

QByteArray fromUnicode(QStringView text)
{
    if (text.isEmpty())
        return QByteArray();
    const Tables& t = tables();
    QByteArray out(text.size(), Qt::Uninitialized);
    char* dst = out.data();
    qsizetype o = 0;
    for (qsizetype i = 0, n = text.size(); i < n; ++i) {
        const char16_t c = text[i].unicode();
        const int b = encodeOne(t, c);
        // A character outside the code page becomes a question mark, a surrogate
        // pair one question mark: what a reader of the file expects to see.
        dst[o++] = b < 0 ? '?' : char(b);
        if (QChar::isHighSurrogate(c) && i + 1 < n && text[i + 1].isLowSurrogate())
            ++i;
    }
    out.truncate(o);
    return out;
}

const std::array<uchar, 256>& upperTable()
{
    static const std::array<uchar, 256> table = [] {
        // A capital is kept only when some byte decodes to it, so letters whose
        // capital lies outside the code page are left alone.
        const Tables& t = tables();
        std::array<uchar, 256> upper{};
        for (int b = 0; b < 256; ++b) {
            upper[size_t(b)] = uchar(b);
            const char16_t c = t.decode[size_t(b)];
            const char16_t cap = QChar(c).toUpper().unicode();
            if (cap == c)
                continue;
            for (int u = 0; u < 256; ++u) {
                if (t.decode[size_t(u)] == cap) {
                    upper[size_t(b)] = uchar(u);
                    break;
                }
            }
        }
        return upper;
    }();
    return table;
}

QByteArray toUpper(QByteArray bytes)
{
    const auto& table = upperTable();
    uchar* p = reinterpret_cast<uchar*>(bytes.data());
    for (qsizetype i = 0, n = bytes.size(); i < n; ++i)
        p[i] = table[p[i]];
    return bytes;
}

} // namespace tavio::cp1250
