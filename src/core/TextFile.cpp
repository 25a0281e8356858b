#include "TextFile.h"

#include "Cp1250.h"

#include <QFile>
#include <QFileInfo>

#include <algorithm>

#ifdef Q_OS_LINUX
#include <sys/mman.h>
#endif

namespace tavio {

namespace {

// A file of short lines becomes a list far larger than the file: 8 MiB of bare line
// feeds is a 200 MB list, and touching it page by page costs more than all the rest
// of the reading. Large pages for such a block, where the system offers them on
// request, take that cost away; elsewhere this does nothing.
void adviseLargeBlock(void* start, qsizetype bytes)
{
#ifdef Q_OS_LINUX
    constexpr quintptr Huge = 2 * 1024 * 1024;
    if (bytes < qsizetype(4 * Huge))
        return;
    const quintptr from = (quintptr(start) + Huge - 1) & ~(Huge - 1);
    const quintptr to = (quintptr(start) + quintptr(bytes)) & ~(Huge - 1);
    if (to > from)
        ::madvise(reinterpret_cast<void*>(from), to - from, MADV_HUGEPAGE);
#else
    Q_UNUSED(start);
    Q_UNUSED(bytes);
#endif
}

} // namespace

QList<QByteArray> SplitLineBytes(QByteArrayView bytes)
{
    QList<QByteArray> lines;
    lines.reserve(bytes.count('\n') + bytes.count('\r') + 1);
    LineCursor cursor(bytes);
    for (QByteArrayView line; cursor.next(line);)
        lines.append(line.toByteArray());
    return lines;
}

QByteArray JoinLineBytes(const QList<QByteArray>& lines)
{
    qsizetype size = 0;
    for (const QByteArray& line : lines)
        size += line.size() + 2;
    QByteArray out;
    out.reserve(size);
    for (const QByteArray& line : lines) {
        out += line;
        out += "\r\n";
    }
    return out;
}

QStringList SplitLines(QByteArrayView bytes)
{
    // Each byte is decoded once, straight into its line: the code page is a table
    // (see Cp1250.cpp), so a line costs its allocation and nothing more. The list is
    // sized once and filled in place: a file of nothing but line breaks is a list as
    // long as the file, and appending to it one by one costs tens of nanoseconds a line.
    const qsizetype most = bytes.count('\n') + bytes.count('\r') + 1;
    QStringList lines;
    lines.reserve(most);
    adviseLargeBlock(lines.data(), most * qsizetype(sizeof(QString)));
    lines.resize(most);
    QString* out = lines.data();
    qsizetype n = 0;
    LineCursor cursor(bytes);
    for (QByteArrayView line; cursor.next(line);)
        out[n++] = cp1250::toUnicode(line);
    lines.resize(n);
    return lines;
}

std::optional<QByteArray> ReadFileBytes(const QString& path, qint64 maxBytes, FileError* error)
{
    const auto fail = [error](const QString& message) -> std::optional<QByteArray> {
        if (error)
            error->message = message;
        return std::nullopt;
    };
    const QString tooLarge = QStringLiteral("Soubor je příliš velký.");
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Unbuffered))
        return fail(file.errorString());
    if (file.size() > maxBytes)
        return fail(tooLarge);
    // The buffer fits the size the file reports, plus one byte to notice a file that
    // has grown since; it grows only up to the limit. Sizing it by the limit instead
    // would cost every small read a huge allocation.
    QByteArray bytes(std::min(file.size(), maxBytes) + 1, Qt::Uninitialized);
    qint64 total = 0;
    for (;;) {
        const qint64 got = file.read(bytes.data() + total, bytes.size() - total);
        if (got < 0)
            return fail(file.errorString());
        if (got == 0)
            break;
        total += got;
        if (total > maxBytes)
            return fail(tooLarge);
        if (total == bytes.size())
            bytes.resize(std::min(2 * bytes.size(), maxBytes + 1));
    }
    bytes.truncate(total);
    return bytes;
}

std::optional<QStringList> ReadTextLines(const QString& path, qint64 maxBytes, FileError* error)
{
    const auto bytes = ReadFileBytes(path, maxBytes, error);
    if (!bytes)
        return std::nullopt;
    return SplitLines(*bytes);
}

bool WriteFileBytes(const QString& path, QByteArrayView bytes, FileError* error)
{
    return SaveBytesAtomically(path, bytes, error);
}

bool WriteTextLines(const QString& path, const QStringList& lines, FileError* error)
{
    QList<QByteArray> encoded;
    encoded.reserve(lines.size());
    for (const QString& line : lines)
        encoded.append(cp1250::fromUnicode(line));
    return WriteFileBytes(path, JoinLineBytes(encoded), error);
}

} // namespace tavio
