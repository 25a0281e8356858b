// The Windows-1250 helpers against the toolkit's converter, the caption and URL
// helpers, and the size text over the whole 64-bit range.
#include "FuzzSupport.h"

#include "Bookmarks.h"
#include "Cp1250.h"
#include "MainTypes.h"
#include "UpdateRules.h"

#include <QLocale>
#include <QStringDecoder>
#include <QStringEncoder>
#include <QtEndian>

#include <cstring>

namespace {

QByteArray referenceEncode(QStringView text)
{
    QByteArray out;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const bool pair = text[i].isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate();
        QStringEncoder single("windows-1250", QStringConverter::Flag::Stateless);
        const QByteArray b = single.encode(text.mid(i, pair ? 2 : 1));
        out += single.hasError() ? QByteArray(1, '?') : b;
        if (pair)
            ++i;
    }
    return out;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    fuzz::quiet();
    fuzz::Input in(data, size);
    if (size >= 16) {
        static const QLocale cs(QLocale::Czech, QLocale::CzechRepublic);
        const qint64 a = qFromLittleEndian<qint64>(data);
        const qint64 b = qFromLittleEndian<qint64>(data + 8);
        const QString s = tavio::SizeText(a, b, cs);
        FUZZ_CHECK(s.endsWith(QStringLiteral(" kb")) && s.size() < 40);
    }
    const QByteArrayView bytes = in.rest();

    // Decoding: one unit per byte, as the converter does it, and back again unchanged.
    const QString text = tavio::cp1250::toUnicode(bytes);
    QStringDecoder decoder("windows-1250");
    FUZZ_CHECK(text == decoder.decode(bytes));
    FUZZ_CHECK(tavio::cp1250::fromUnicode(text) == bytes);
    // Encoding any UTF-16, surrogates and all.
    QString units(bytes.size() / 2, Qt::Uninitialized);
    std::memcpy(units.data(), bytes.data(), size_t(units.size()) * 2);
    FUZZ_CHECK(tavio::cp1250::fromUnicode(units) == referenceEncode(units));
    FUZZ_CHECK(tavio::cp1250::toUpper(bytes.toByteArray()).size() == bytes.size());

    // Captions and addresses.
    // The menu escaping treats trailing ampersands in its own way: no round trip.
    (void)tavio::UnescapeAmpersands(tavio::EscapeAmpersands(text));
    FUZZ_CHECK(tavio::DecodeAmpEntities(text).size() <= text.size());
    FUZZ_CHECK(tavio::CaptionToFileName(text).size() <= text.size());
    FUZZ_CHECK(tavio::CaptionToTitle(text).size() <= text.size());
    FUZZ_CHECK(tavio::RemoveFileExt(text).size() <= text.size());
    (void)tavio::CaptionFileExt(text);
    (void)tavio::FileNamePart(text);
    (void)tavio::FileUrlToPath(text);
    return 0;
}
