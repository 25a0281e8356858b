#include "Cp1250.h"

#include <QStringDecoder>
#include <QStringEncoder>

namespace tavio::cp1250 {

namespace {
constexpr char codecName[] = "windows-1250";
}

QString toUnicode(QByteArrayView bytes)
{
    QStringDecoder decoder(codecName);
    return decoder.decode(bytes);
}

QByteArray fromUnicode(QStringView text)
{
    QStringEncoder encoder(codecName, QStringConverter::Flag::Stateless);
    QByteArray out = encoder.encode(text);
    if (!encoder.hasError())
        return out;
    // The converter writes SUB for unmappable characters; a question mark is what
    // a reader of the file expects to see instead.
    out.clear();
    out.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        const bool pair = text[i].isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate();
        const QStringView one = text.mid(i, pair ? 2 : 1);
        QStringEncoder single(codecName, QStringConverter::Flag::Stateless);
        const QByteArray b = single.encode(one);
        out += single.hasError() ? QByteArray(1, '?') : b;
        if (pair)
            ++i;
    }
    return out;
}

namespace {

std::array<uchar, 256> makeUpperTable()
{
    // Decode every byte once; a capital is kept only when some byte decodes to it,
    // so letters whose capital lies outside the code page are left alone.
    std::array<char16_t, 256> decoded{};
    for (int b = 0; b < 256; ++b) {
        const char byte = char(b);
        const QString s = toUnicode(QByteArrayView(&byte, 1));
        decoded[size_t(b)] = s.size() == 1 ? s.at(0).unicode() : char16_t(0xFFFD);
    }
    std::array<uchar, 256> table{};
    for (int b = 0; b < 256; ++b) {
        table[size_t(b)] = uchar(b);
        const char16_t upper = QChar(decoded[size_t(b)]).toUpper().unicode();
        if (upper == decoded[size_t(b)])
            continue;
        for (int u = 0; u < 256; ++u) {
            if (decoded[size_t(u)] == upper) {
                table[size_t(b)] = uchar(u);
                break;
            }
        }
    }
    return table;
}

} // namespace

const std::array<uchar, 256>& upperTable()
{
    static const std::array<uchar, 256> table = makeUpperTable();
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
