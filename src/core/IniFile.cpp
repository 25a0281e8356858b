#include "IniFile.h"

#include "Cp1250.h"

namespace tavio {

namespace {

bool isBlank(QChar c)
{
    return c == QLatin1Char(' ') || c == QLatin1Char('\t') || c == QLatin1Char('\v') || c == QLatin1Char('\f');
}

QStringView trimBlanks(QStringView s)
{
    qsizetype b = 0;
    qsizetype e = s.size();
    while (b < e && isBlank(s[b]))
        ++b;
    while (e > b && isBlank(s[e - 1]))
        --e;
    return s.sliced(b, e - b);
}

QStringView unquote(QStringView v)
{
    if (v.size() >= 2 && (v.front() == QLatin1Char('"') || v.front() == QLatin1Char('\'')) && v.back() == v.front())
        return v.sliced(1, v.size() - 2);
    return v;
}

} // namespace

std::optional<IniFile> IniFile::load(const QString& path, FileError* error)
{
    const auto bytes = ReadFileBytes(path, MaxBytes, error);
    if (!bytes)
        return std::nullopt;
    return parse(*bytes);
}

IniFile IniFile::parse(QByteArrayView bytes)
{
    // A byte-order mark left by an editor is not part of the first section name.
    if (bytes.startsWith("\xEF\xBB\xBF"))
        bytes = bytes.sliced(3);

    IniFile ini;
    qsizetype current = -1; // the section that takes the keys, or none
    LineCursor lines(bytes);
    for (QByteArrayView rawBytes; lines.next(rawBytes);) {
        const QString raw = cp1250::toUnicode(rawBytes);
        const QStringView line = trimBlanks(raw);
        if (line.isEmpty() || line.front() == QLatin1Char(';'))
            continue;
        if (line.front() == QLatin1Char('[')) {
            const qsizetype close = line.lastIndexOf(QLatin1Char(']'));
            if (close < 0)
                continue; // an unclosed bracket starts no section; the line is skipped
            const QString name = trimBlanks(line.sliced(1, close - 1)).toString();
            const QString folded = name.toCaseFolded();
            if (ini.m_index.contains(folded)) {
                // A repeated section is never consulted: the first one answers.
                current = -1;
                continue;
            }
            current = ini.m_sections.size();
            ini.m_index.insert(folded, current);
            ini.m_sections.append(Section{name, {}, {}});
            continue;
        }
        if (current < 0)
            continue;
        const qsizetype eq = line.indexOf(QLatin1Char('='));
        if (eq < 0)
            continue;
        const QString key = trimBlanks(line.first(eq)).toString();
        if (key.isEmpty())
            continue;
        Section& sec = ini.m_sections[current];
        const QString folded = key.toCaseFolded();
        if (sec.values.contains(folded))
            continue;
        sec.keys.append(key);
        sec.values.insert(folded, unquote(trimBlanks(line.sliced(eq + 1))).toString());
    }
    return ini;
}

const IniFile::Section* IniFile::find(const QString& section) const
{
    const auto it = m_index.constFind(section.toCaseFolded());
    return it == m_index.cend() ? nullptr : &m_sections[*it];
}

QString IniFile::value(const QString& section, const QString& key, const QString& defaultValue) const
{
    const Section* s = find(section);
    if (!s)
        return defaultValue;
    return s->values.value(key.toCaseFolded(), defaultValue);
}

int IniFile::intValue(const QString& section, const QString& key, int defaultValue) const
{
    const QString text = value(section, key);
    // toInt alone would also take blanks around the digits; the value must be the number.
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (!(c.isDigit() && c.unicode() < 128) && !(i == 0 && (c == QLatin1Char('-') || c == QLatin1Char('+'))))
            return defaultValue;
    }
    bool ok = false;
    const int n = text.toInt(&ok, 10);
    return ok ? n : defaultValue;
}

bool IniFile::hasSection(const QString& section) const
{
    return find(section) != nullptr;
}

QStringList IniFile::sections() const
{
    QStringList names;
    names.reserve(m_sections.size());
    for (const Section& s : m_sections)
        names.append(s.name);
    return names;
}

QStringList IniFile::keys(const QString& section) const
{
    const Section* s = find(section);
    return s ? s->keys : QStringList();
}

} // namespace tavio
