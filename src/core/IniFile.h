#pragma once

#include "TextFile.h"

#include <QHash>
#include <QList>
#include <QString>
#include <QStringList>

#include <optional>

namespace tavio {

// The update descriptors (update.ini, files.ini) are read by the rules of the
// platform's INI reader: section and key names without regard to case, the first
// matching section and the first matching key win, names and values trimmed of
// blanks, one pair of enclosing quotes taken off a value, no escapes, no
// continuation lines, lines starting with ';' ignored. The text is Windows-1250.
// A file that is no INI file at all (a picture, an HTML page) simply has no sections.
class IniFile final
{
public:
    // Larger files are refused rather than read in part.
    static constexpr qint64 MaxBytes = 8 * 1024 * 1024;

    // Nothing when the file cannot be read or exceeds MaxBytes.
    static std::optional<IniFile> load(const QString& path, FileError* error = nullptr);
    static IniFile parse(QByteArrayView bytes);

    QString value(const QString& section, const QString& key, const QString& defaultValue = {}) const;
    // A decimal integer with an optional sign filling the whole value and fitting
    // 32 bits; anything else, or a missing key, gives defaultValue.
    int intValue(const QString& section, const QString& key, int defaultValue) const;

    bool hasSection(const QString& section) const;
    // Names as first written, in file order, each once.
    QStringList sections() const;
    QStringList keys(const QString& section) const;

private:
    struct Section
    {
        QString name;
        QStringList keys;
        QHash<QString, QString> values; // by case-folded key
    };
    const Section* find(const QString& section) const;

    QList<Section> m_sections;
    QHash<QString, qsizetype> m_index; // case-folded name -> first section
};

} // namespace tavio
