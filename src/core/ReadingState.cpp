#include "ReadingState.h"

#include "AtomicSave.h"
#include "Cp1250.h"

#include <QFile>
#include <QFileInfo>

#include <algorithm>
#include <cmath>

namespace tavio {

const ThemeColours& ColoursOf(ReadingTheme theme)
{
    static constexpr ThemeColours light = {0xffffff, 0x000000, 0x0000ee, 0x551a8b, 0xf0f0f0, 0x000000, 0x808080};
    static constexpr ThemeColours sepia = {0xf4ecd8, 0x433422, 0x8a4b08, 0x6b3f7a, 0xebdfc4, 0x3a2c1a, 0xc8b48f};
    static constexpr ThemeColours dark = {0x1f2023, 0xd9d9d6, 0x8cb4ff, 0xc39bff, 0x2c2e33, 0xe8e8e2, 0x4a4d55};
    return theme == ReadingTheme::Sepia ? sepia : theme == ReadingTheme::Dark ? dark : light;
}

namespace {

// The file: a header line, then one line per fact, fields separated by tabs, CR LF.
//   TavioReadingState <tab> 1
//   theme <tab> 0|1|2
//   index <tab> n            the current history entry
//   h <tab> name <tab> anchor
//   r <tab> name             visited chapters, newest first
//   c <tab> name <tab> flags <tab> position   flags: r read, n new; position -1 none
// Lines of a kind this version does not know are skipped, so that a later version may add some.
const QByteArray kMagic = QByteArrayLiteral("TavioReadingState");
constexpr qint64 kMaxFileSize = 16 * 1024 * 1024;
constexpr int kMaxRecent = 200;

// A name that could not stand in one field of one line, or that names no file of the folder.
bool usableName(const QString& name)
{
    if (name.isEmpty() || name == QLatin1String(".") || name == QLatin1String(".."))
        return false;
    return std::none_of(name.begin(), name.end(), [](QChar c) {
        return c == QLatin1Char('\t') || c == QLatin1Char('\r') || c == QLatin1Char('\n') || c == QLatin1Char('/')
            || c == QLatin1Char('\\');
    });
}

bool usableAnchor(const QString& anchor)
{
    return std::none_of(anchor.begin(), anchor.end(), [](QChar c) {
        return c == QLatin1Char('\t') || c == QLatin1Char('\r') || c == QLatin1Char('\n');
    });
}

} // namespace

void ReadingState::visit(const HistoryEntry& entry)
{
    if (!usableName(entry.fileName) || !usableAnchor(entry.anchor))
        return;
    m_recent.removeAll(entry.fileName);
    m_recent.prepend(entry.fileName);
    if (m_recent.size() > kMaxRecent)
        m_recent.resize(kMaxRecent);
    if (m_index >= 0 && m_history.at(m_index) == entry)
        return;
    m_history.resize(m_index + 1);
    m_history.append(entry);
    if (m_history.size() > MaxHistory)
        m_history.remove(0, m_history.size() - MaxHistory);
    m_index = int(m_history.size()) - 1;
}

std::optional<HistoryEntry> ReadingState::backTarget() const
{
    if (m_index <= 0)
        return std::nullopt;
    return m_history.at(m_index - 1);
}

std::optional<HistoryEntry> ReadingState::forwardTarget() const
{
    if (m_index + 1 >= m_history.size())
        return std::nullopt;
    return m_history.at(m_index + 1);
}

std::optional<HistoryEntry> ReadingState::goBack()
{
    auto target = backTarget();
    if (target) {
        --m_index;
        m_recent.removeAll(target->fileName);
        m_recent.prepend(target->fileName);
    }
    return target;
}

std::optional<HistoryEntry> ReadingState::goForward()
{
    auto target = forwardTarget();
    if (target) {
        ++m_index;
        m_recent.removeAll(target->fileName);
        m_recent.prepend(target->fileName);
    }
    return target;
}

std::optional<double> ReadingState::position(const QString& fileName) const
{
    const auto it = m_chapters.constFind(fileName);
    if (it == m_chapters.cend() || it->position < 0)
        return std::nullopt;
    return it->position;
}

void ReadingState::setPosition(const QString& fileName, double share)
{
    if (!usableName(fileName) || !std::isfinite(share))
        return;
    m_chapters[fileName].position = std::clamp(share, 0.0, 1.0);
}

bool ReadingState::isRead(const QString& fileName) const
{
    return m_chapters.value(fileName).read;
}

void ReadingState::setRead(const QString& fileName, bool read)
{
    if (!usableName(fileName))
        return;
    m_chapters[fileName].read = read;
    dropIfEmpty(fileName);
}

int ReadingState::readCount(const QStringList& fileNames) const
{
    return int(std::count_if(fileNames.begin(), fileNames.end(), [this](const QString& n) { return isRead(n); }));
}

bool ReadingState::isNew(const QString& fileName) const
{
    return m_chapters.value(fileName).isNew;
}

void ReadingState::setNewChapters(const QStringList& fileNames)
{
    for (auto it = m_chapters.begin(); it != m_chapters.end();) {
        it->isNew = false;
        it = it->empty() ? m_chapters.erase(it) : std::next(it);
    }
    for (const QString& name : fileNames)
        if (usableName(name))
            m_chapters[name].isNew = true;
}

bool ReadingState::keepOnly(const QStringList& fileNames)
{
    const QSet<QString> present(fileNames.begin(), fileNames.end());
    bool changed = false;
    for (auto it = m_chapters.begin(); it != m_chapters.end();) {
        if (present.contains(it.key())) {
            ++it;
        } else {
            it = m_chapters.erase(it);
            changed = true;
        }
    }
    changed |= m_recent.removeIf([&](const QString& n) { return !present.contains(n); }) > 0;
    // History entries of gone chapters go; the current entry stays the one it was, or
    // the nearest earlier one that is left.
    QList<HistoryEntry> kept;
    int index = -1;
    for (int i = 0; i < m_history.size(); ++i) {
        if (present.contains(m_history.at(i).fileName)) {
            kept.append(m_history.at(i));
            if (i <= m_index)
                index = int(kept.size()) - 1;
        }
    }
    if (kept.size() != m_history.size()) {
        changed = true;
        m_history = kept;
        m_index = index < 0 && !kept.isEmpty() ? 0 : index;
    }
    return changed;
}

void ReadingState::dropIfEmpty(const QString& fileName)
{
    const auto it = m_chapters.find(fileName);
    if (it != m_chapters.end() && it->empty())
        m_chapters.erase(it);
}

QByteArray ReadingState::toBytes() const
{
    QString text;
    text.reserve(64 + 40 * int(m_chapters.size() + m_history.size() + m_recent.size()));
    const QString crlf = QStringLiteral("\r\n");
    const QChar tab = QLatin1Char('\t');
    text += QString::fromLatin1(kMagic) + tab + QString::number(FormatVersion) + crlf;
    text += QStringLiteral("theme") + tab + QString::number(int(m_theme)) + crlf;
    text += QStringLiteral("index") + tab + QString::number(m_index) + crlf;
    for (const HistoryEntry& e : m_history)
        text += QStringLiteral("h") + tab + e.fileName + tab + e.anchor + crlf;
    for (const QString& name : m_recent)
        text += QStringLiteral("r") + tab + name + crlf;
    // In name order, so that the file does not change when nothing did.
    QStringList names = m_chapters.keys();
    std::sort(names.begin(), names.end());
    for (const QString& name : names) {
        const Chapter& c = m_chapters.value(name);
        QString flags;
        if (c.read)
            flags += QLatin1Char('r');
        if (c.isNew)
            flags += QLatin1Char('n');
        text += QStringLiteral("c") + tab + name + tab + flags + tab
            + (c.position < 0 ? QStringLiteral("-1") : QString::number(c.position, 'f', 4)) + crlf;
    }
    return cp1250::fromUnicode(text);
}

std::optional<ReadingState> ReadingState::fromBytes(const QByteArray& bytes)
{
    // A text file has no control characters but its tabs and line ends.
    if (std::any_of(bytes.begin(), bytes.end(),
                    [](char c) { return uchar(c) < 0x20 && c != '\t' && c != '\r' && c != '\n'; }))
        return std::nullopt;
    // Decoded at once and read in views of it: a file of thousands of chapters loads in
    // a few milliseconds.
    const QString text = cp1250::toUnicode(bytes);
    const QStringView all(text);
    ReadingState s;
    s.m_chapters.reserve(all.count(QLatin1Char('\n')));
    constexpr int MaxFields = 5;
    QStringView f[MaxFields];
    int index = -1;
    bool header = true;
    qsizetype pos = 0;
    while (pos < all.size()) {
        qsizetype end = all.indexOf(QLatin1Char('\n'), pos);
        if (end < 0)
            end = all.size();
        QStringView line = all.sliced(pos, end - pos);
        pos = end + 1;
        if (line.endsWith(QLatin1Char('\r')))
            line.chop(1);
        int count = 0;
        for (qsizetype from = 0; count < MaxFields;) {
            const qsizetype tab = line.indexOf(QLatin1Char('\t'), from);
            f[count++] = tab < 0 ? line.sliced(from) : line.sliced(from, tab - from);
            if (tab < 0)
                break;
            from = tab + 1;
            if (count == MaxFields)
                count = MaxFields + 1; // too many fields: a shape no line has
        }
        if (header) {
            bool ok = false;
            if (count != 2 || f[0] != QLatin1String(kMagic) || f[1].toInt(&ok) != FormatVersion || !ok)
                return std::nullopt;
            header = false;
            continue;
        }
        if (line.isEmpty())
            continue;
        const QStringView kind = f[0];
        bool ok = true;
        if (kind == u"c" && count == 4) {
            Chapter c;
            c.read = f[2].contains(QLatin1Char('r'));
            c.isNew = f[2].contains(QLatin1Char('n'));
            bool number = false;
            const double p = f[3].toDouble(&number);
            if (!number || !std::isfinite(p) || p > 1)
                return std::nullopt;
            c.position = p < 0 ? -1 : p;
            const QString name = f[1].toString();
            ok = usableName(name);
            if (ok && !c.empty())
                s.m_chapters.insert(name, c);
        } else if (kind == u"h" && count == 3) {
            const QString name = f[1].toString();
            ok = usableName(name);
            s.m_history.append({name, f[2].toString()});
        } else if (kind == u"r" && count == 2) {
            const QString name = f[1].toString();
            ok = usableName(name);
            if (!s.m_recent.contains(name))
                s.m_recent.append(name);
        } else if (kind == u"theme" && count == 2) {
            const int t = f[1].toInt(&ok);
            if (!ok || t < 0 || t > 2)
                return std::nullopt;
            s.m_theme = ReadingTheme(t);
        } else if (kind == u"index" && count == 2) {
            index = f[1].toInt(&ok);
        } else if (kind == u"theme" || kind == u"index" || kind == u"h" || kind == u"r" || kind == u"c") {
            return std::nullopt; // a known line of the wrong shape
        }
        if (!ok)
            return std::nullopt;
        if (s.m_history.size() > MaxHistory || s.m_recent.size() > kMaxRecent)
            return std::nullopt;
    }
    if (header)
        return std::nullopt;
    if (index < -1 || index >= s.m_history.size() || (index < 0 && !s.m_history.isEmpty()))
        return std::nullopt;
    s.m_index = index;
    return s;
}

ReadingState::Loaded ReadingState::load(const QString& path)
{
    Loaded result;
    QFile file(path);
    if (!file.exists())
        return result;
    std::optional<ReadingState> state;
    if (file.open(QIODevice::ReadOnly) && file.size() <= kMaxFileSize)
        state = fromBytes(file.read(kMaxFileSize + 1));
    file.close();
    if (state) {
        result.state = std::move(*state);
        result.status = LoadStatus::Loaded;
        return result;
    }
    // Kept aside for whoever wants to look at it; an older damaged copy gives way.
    const QString aside = path + QStringLiteral(".damaged");
    QFile::remove(aside);
    QFile::rename(path, aside);
    result.status = LoadStatus::Damaged;
    return result;
}

bool ReadingState::save(const QString& path, FileError* error) const
{
    return SaveBytesAtomically(path, toBytes(), error);
}

} // namespace tavio
