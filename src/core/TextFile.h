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
