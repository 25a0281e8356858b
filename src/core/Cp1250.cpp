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

} // namespace tavio::cp1250
