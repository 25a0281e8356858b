#pragma once

// What the fuzz targets share: a check that stops the run, a quiet log and a reader
// that takes option bytes off the front of an input.

#include <QByteArray>
#include <QString>
#include <QtGlobal>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size);

namespace fuzz {

[[noreturn]] inline void failed(const char* what, const char* file, int line)
{
    std::fprintf(stderr, "%s:%d: invariant broken: %s\n", file, line, what);
    std::abort();
}

#define FUZZ_CHECK(cond) ((cond) ? void(0) : ::fuzz::failed(#cond, __FILE__, __LINE__))

// The parsers warn about every damaged input; a million warnings would cost more
// than the parsing.
inline void quiet()
{
    static const bool once = [] {
        qInstallMessageHandler([](QtMsgType, const QMessageLogContext&, const QString&) {});
        return true;
    }();
    (void)once;
}

// Takes option bytes off the front; the rest is the input proper.
class Input
{
public:
    Input(const uint8_t* data, size_t size)
        : m_bytes(reinterpret_cast<const char*>(data), qsizetype(size))
    {
    }

    // The next byte, 0 once the input is used up.
    uchar byte()
    {
        if (m_bytes.isEmpty())
            return 0;
        const uchar b = uchar(m_bytes.front());
        m_bytes = m_bytes.sliced(1);
        return b;
    }
    bool flag() { return byte() & 1; }
    // Up to max bytes, ended early by a zero byte (which is dropped).
    QByteArrayView chunk(qsizetype max)
    {
        qsizetype n = 0;
        while (n < m_bytes.size() && n < max && m_bytes[n] != '\0')
            ++n;
        const QByteArrayView out = m_bytes.first(n);
        m_bytes = m_bytes.sliced(std::min(n + 1, m_bytes.size()));
        return out;
    }
    QByteArrayView rest() const { return m_bytes; }

private:
    QByteArrayView m_bytes;
};

} // namespace fuzz
