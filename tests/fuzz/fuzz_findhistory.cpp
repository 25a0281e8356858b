// The find history: its lines, read the fast way (decoded once as a whole), equal
// the lines split first and decoded one by one; a search put at the head stays there.
#include "FuzzSupport.h"

#include "Cp1250.h"
#include "FindHistory.h"
#include "TextFile.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    fuzz::quiet();
    fuzz::Input in(data, size);
    const QString text = tavio::cp1250::toUnicode(in.chunk(40));
    const QByteArrayView bytes = in.rest();

    const QStringList lines = tavio::SplitLines(bytes);
    const QList<QByteArray> raw = tavio::SplitLineBytes(bytes);
    FUZZ_CHECK(lines.size() == raw.size());
    for (qsizetype i = 0; i < raw.size(); ++i)
        FUZZ_CHECK(lines[i] == tavio::cp1250::toUnicode(raw[i]));

    const QStringList pushed = tavio::PushFindHistory(lines, text);
    FUZZ_CHECK(!pushed.isEmpty() && pushed.front() == text);
    FUZZ_CHECK(pushed.size() == lines.size() || pushed.size() == lines.size() + 1);
    return 0;
}
