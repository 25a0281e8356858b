#pragma once

#include <QByteArray>
#include <QString>

#include <optional>

// What a descriptor says a downloaded file must be. files.ini may give, beside each
// name key of a section, "<key>_size" (bytes, decimal) and "<key>_sha256" (64 hex
// digits): file_size and file_sha256 for the chapter file, file1_size and
// file1_sha256 for its first picture, and so on. update.ini gives the same for the
// program file in the section [program_file] as size and sha256. A file without
// them is taken as it comes.
namespace tavio {

class IniFile;

struct ExpectedFile
{
    QString size;   // as written; empty when not given
    QString sha256; // as written; empty when not given

    bool given() const { return !size.isEmpty() || !sha256.isEmpty(); }
    static ExpectedFile fromIni(const IniFile& ini, const QString& section, const QString& sizeKey,
                                const QString& hashKey);
};

// True when the file is what was announced: a given size must be the file's, a given
// hash its SHA-256. A value that is no size or no hash never matches.
bool MatchesExpected(const QString& path, const ExpectedFile& expected);

// The SHA-256 of a file in lower-case hex; nothing when it cannot be read.
std::optional<QByteArray> FileSha256(const QString& path);

} // namespace tavio
