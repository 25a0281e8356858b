#include "TextFile.h"

#include "Cp1250.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

namespace tavio {

QStringList SplitLines(QByteArrayView bytes)
{
    QStringList lines;
    qsizetype start = 0;
    const qsizetype n = bytes.size();
    for (qsizetype i = 0; i < n; ++i) {
        const char c = bytes[i];
        if (c != '\r' && c != '\n')
            continue;
        lines.append(cp1250::toUnicode(bytes.sliced(start, i - start)));
        if (c == '\r' && i + 1 < n && bytes[i + 1] == '\n')
            ++i;
        start = i + 1;
    }
    if (start < n)
        lines.append(cp1250::toUnicode(bytes.sliced(start)));
    return lines;
}

std::optional<QByteArray> ReadFileBytes(const QString& path, qint64 maxBytes, FileError* error)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        if (error)
            error->message = file.errorString();
        return std::nullopt;
    }
    if (file.size() > maxBytes) {
        if (error)
            error->message = QStringLiteral("Soubor je příliš velký.");
        return std::nullopt;
    }
    QByteArray bytes = file.read(maxBytes + 1);
    if (file.error() != QFileDevice::NoError || bytes.size() > maxBytes) {
        if (error)
            error->message = bytes.size() > maxBytes ? QStringLiteral("Soubor je příliš velký.") : file.errorString();
        return std::nullopt;
    }
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
    // A file without its owner's write permission stands for a read-only file: it is
    // never replaced, even where the folder would allow the rename.
    const QFileInfo existing(path);
    if (existing.exists() && !(existing.permissions() & QFileDevice::WriteOwner)) {
        if (error)
            error->message = QStringLiteral("Soubor je jen pro čtení.");
        return false;
    }
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes.data(), bytes.size()) != bytes.size() || !file.commit()) {
        if (error)
            error->message = file.errorString();
        return false;
    }
    return true;
}

bool WriteTextLines(const QString& path, const QStringList& lines, FileError* error)
{
    QByteArray bytes;
    for (const QString& line : lines) {
        bytes += cp1250::fromUnicode(line);
        bytes += "\r\n";
    }
    return WriteFileBytes(path, bytes, error);
}

} // namespace tavio
