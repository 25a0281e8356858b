// The description: placeholders filled, and the marked spans never leave the text.
#include "FuzzSupport.h"

#include "Cp1250.h"
#include "Description.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    fuzz::quiet();
    fuzz::Input in(data, size);
    const int count = qint16(in.byte() | in.byte() << 8);
    const QString text = tavio::cp1250::toUnicode(in.rest());
    const QString filled = tavio::FillDescription(text, [](tavio::ProfileId id) {
        return QStringLiteral("<%1>").arg(int(id));
    });
    for (const QString& s : {text, filled}) {
        const qsizetype start = tavio::MarkedSpanFromStart(s, count);
        const qsizetype end = tavio::MarkedSpanFromEnd(s, count);
        FUZZ_CHECK(start >= 0 && start <= s.size());
        FUZZ_CHECK(end >= 0 && end <= s.size());
    }
    return 0;
}
