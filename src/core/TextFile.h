#pragma once

#include "AtomicSave.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

#include <optional>

// Reading and writing the program's text files: Windows-1250, CR LF after every
// line. Writes go through a temporary file, so a failed write keeps the old file.
namespace tavio {

// Walks the lines of a text one by one, split as SplitLineBytes splits them,
// without building a list: a reader that drops most lines pays nothing for them.
class LineCursor final
{
public:
    explicit LineCursor(QByteArrayView bytes)
        : m_bytes(bytes)
    {
    }
    // The next line without its break; false after the last one.
    bool next(QByteArrayView& line)
    {
        const qsizetype n = m_bytes.size();
        if (m_pos >= n)
            return false;
        const char* s = m_bytes.data();
        qsizetype i = m_pos;
        while (i < n && s[i] != '\r' && s[i] != '\n')
            ++i;
        line = m_bytes.sliced(m_pos, i - m_pos);
        if (i < n && s[i] == '\r' && i + 1 < n && s[i + 1] == '\n')
            ++i;
        m_pos = i + 1;
        return true;
    }

private:
    QByteArrayView m_bytes;
    qsizetype m_pos = 0;
};

// Lines as the platform's string lists read them: split at CR LF, lone CR and lone
// LF; a final line break does not start another line.
QList<QByteArray> SplitLineBytes(QByteArrayView bytes);
QStringList SplitLines(QByteArrayView bytes); // the same lines, decoded
// Every line followed by CR LF, the last one too.
QByteArray JoinLineBytes(const QList<QByteArray>& lines);

// Reads at most maxBytes; a larger file is an error, never a partial read.
std::optional<QByteArray> ReadFileBytes(const QString& path, qint64 maxBytes, FileError* error = nullptr);
std::optional<QStringList> ReadTextLines(const QString& path, qint64 maxBytes = 64 * 1024 * 1024,
                                         FileError* error = nullptr);

bool WriteFileBytes(const QString& path, QByteArrayView bytes, FileError* error = nullptr);
bool WriteTextLines(const QString& path, const QStringList& lines, FileError* error = nullptr);

} // namespace tavio
