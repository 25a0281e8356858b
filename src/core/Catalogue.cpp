#include "Catalogue.h"

#include "ChapterTree.h"
#include "Cp1250.h"
#include "MainTypes.h"

#include <QCollator>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLocale>

#include <cstring>

namespace tavio {

namespace {

bool startsWithH2(QByteArrayView line)
{
    return line.size() >= 4 && line[0] == '<' && (line[1] == 'h' || line[1] == 'H') && line[2] == '2'
        && line[3] == '>';
}

// Reads a file line by line in large blocks and stops as soon as the caller has
// what it wants: a title lies near the top, the rest of the file is never read.
class LineReader final
{
public:
    explicit LineReader(QIODevice& file)
        : m_file(file)
    {
    }

    // The next line without its end; false at the end of the file or on an error.
    bool next(QByteArray& line)
    {
        for (;;) {
            const char* data = m_buffer.constData() + m_pos;
            const qsizetype avail = m_buffer.size() - m_pos;
            const void* cr = std::memchr(data, '\r', size_t(avail));
            const void* lf = std::memchr(data, '\n', size_t(avail));
            const char* end = !cr ? static_cast<const char*>(lf)
                : !lf             ? static_cast<const char*>(cr)
                                  : std::min(static_cast<const char*>(cr), static_cast<const char*>(lf));
            if (end) {
                const qsizetype len = end - data;
                // A CR at the very end of the block may be followed by the LF of the next one.
                if (*end == '\r' && len + 1 == avail && !m_eof) {
                    if (!fill())
                        return false;
                    continue;
                }
                line = QByteArray(data, len);
                m_pos += len + 1;
                if (*end == '\r' && m_pos < m_buffer.size() && m_buffer[m_pos] == '\n')
                    ++m_pos;
                return true;
            }
            if (m_eof) {
                if (avail == 0)
                    return false;
                line = QByteArray(data, avail);
                m_pos = m_buffer.size();
                return true;
            }
            if (!fill())
                return false;
        }
    }

    bool failed() const { return m_failed; }

private:
    bool fill()
    {
        m_buffer.remove(0, m_pos);
        m_pos = 0;
        const qsizetype old = m_buffer.size();
        m_buffer.resize(old + blockSize);
        const qint64 got = m_file.read(m_buffer.data() + old, blockSize);
        if (got < 0) {
            m_failed = true;
            m_buffer.resize(old);
            return false;
        }
        m_buffer.resize(old + got);
        if (got == 0)
            m_eof = true;
        return true;
    }

    static constexpr qsizetype blockSize = 64 * 1024;
    QIODevice& m_file;
    QByteArray m_buffer;
    qsizetype m_pos = 0;
    bool m_eof = false;
    bool m_failed = false;
};

QString trimmedBlanks(const QString& s)
{
    qsizetype b = 0, e = s.size();
    while (b < e && s[b].unicode() <= 0x20)
        ++b;
    while (e > b && s[e - 1].unicode() <= 0x20)
        --e;
    return s.mid(b, e - b);
}

QString titleFromHeading(const QString& line, const std::optional<QString>& nextLine)
{
    qsizetype dash = line.indexOf(QLatin1Char('-'));
    if (dash < 0)
        dash = line.indexOf(QChar(0x2013)); // the en dash of the code page
    QString title;
    if (line.endsWith(QLatin1Char('>'))) {
        const qsizetype lastLt = line.lastIndexOf(QLatin1Char('<'));
        const qsizetype from = dash < 0 ? 0 : dash + 1;
        if (lastLt > from)
            title = line.mid(from, lastLt - from);
    } else {
        title = dash < 0 ? line : line.mid(dash + 1);
        if (nextLine) {
            const QString tail = trimmedBlanks(*nextLine);
            title += tail.left(std::max<qsizetype>(0, tail.size() - 5));
        }
    }
    if (!title.isEmpty())
        title[0] = title[0].toUpper();
    return title;
}

} // namespace

ChapterTitle ReadChapterTitle(const QString& path)
{
    ChapterTitle result;
    QFile file(path);
    if (!file.exists()) {
        result.status = TitleStatus::NotFound;
        return result;
    }
    if (!file.open(QIODevice::ReadOnly)) {
        result.status = file.exists() ? TitleStatus::ReadError : TitleStatus::NotFound;
        result.error = file.errorString();
        return result;
    }
    return ReadChapterTitle(file);
}

ChapterTitle ReadChapterTitle(QIODevice& file)
{
    ChapterTitle result;
    LineReader reader(file);
    QByteArray line;
    while (reader.next(line)) {
        if (!startsWithH2(line))
            continue;
        const QString heading = cp1250::toUnicode(line);
        std::optional<QString> next;
        if (!heading.endsWith(QLatin1Char('>'))) {
            QByteArray following;
            if (reader.next(following))
                next = cp1250::toUnicode(following);
        }
        if (reader.failed())
            break;
        result.title = titleFromHeading(heading, next);
        return result;
    }
    if (reader.failed()) {
        result.status = TitleStatus::ReadError;
        result.error = file.errorString();
    }
    return result;
}

QString ChapterCaption(const QString& fileName, const QString& title, bool grouped)
{
    // A top-level chapter shows "&amp;" decoded; a part inside a group keeps it as read.
    const QString tail = title + QStringLiteral(" ]");
    return fileName + QStringLiteral(" [") + (grouped ? tail : DecodeAmpEntities(tail));
}

void SortByCaption(ChapterTree& tree)
{
    QCollator collator{QLocale(QLocale::Czech, QLocale::CzechRepublic)};
    tree.sortAll([&](const QString& a, const QString& b) { return collator.compare(a, b) < 0; });
}

bool BuildCatalogue(ChapterTree& tree, const QString& folder, const CatalogueCallbacks& callbacks)
{
    tree.clear();
    bool result = true;
    QDir dir(folder);
    dir.setNameFilters({QStringLiteral("*.htm")});
    // Hidden files count; special files (pipes, devices) are no chapters and could block a read.
    dir.setFilter(QDir::Files | QDir::Hidden);
    dir.setSorting(QDir::Name);
    const QStringList names = dir.entryList();
    if (names.isEmpty())
        return false;

    TreeNode* group = nullptr;
    QString groupPrefix;
    for (const QString& name : names) {
        const qsizetype d = name.lastIndexOf(QLatin1Char('-')) + 1; // 1-based, 0 when none
        if (d != 0 && d != 5) {
            if (callbacks.pump)
                callbacks.pump();
            continue;
        }
        const ChapterTitle t = ReadChapterTitle(folder + name);
        if (t.status == TitleStatus::NotFound && callbacks.fileNotFound)
            callbacks.fileNotFound(folder + name);
        if (t.status == TitleStatus::ReadError)
            break; // the nodes read so far stay
        if (d == 0) {
            tree.addChild(nullptr, ChapterCaption(name, t.title, false), image::Chapter);
        } else {
            const QString prefix = name.left(4);
            if (!group || prefix != groupPrefix) {
                group = tree.addChild(nullptr, prefix, image::FolderClosed);
                groupPrefix = prefix;
            }
            tree.addChild(group, ChapterCaption(name, t.title, true), image::Chapter);
        }
        if (callbacks.pump)
            callbacks.pump();
    }
    SortByCaption(tree);
    return result;
}

TreeNode* FindTreeNode(const ChapterTree& tree, int startIndex, const QString& text, bool wholeWords,
                       bool matchCase, bool upward)
{
    QString pattern = matchCase ? text : text.toUpper();
    if (wholeWords)
        pattern = QLatin1Char(' ') + pattern.trimmed() + QLatin1Char(' ');
    if (pattern.isEmpty())
        return nullptr;
    const std::vector<TreeNode*> all = tree.nodes();
    const int n = int(all.size());
    auto caption = [&](const TreeNode* node) { return matchCase ? node->caption : node->caption.toUpper(); };
    if (upward) {
        for (int i = std::min(startIndex, n) - 1; i >= 0; --i) {
            if (caption(all[size_t(i)]).contains(pattern))
                return all[size_t(i)];
        }
    } else {
        for (int i = std::max(startIndex, -1) + 1; i < n; ++i) {
            const QString c = QLatin1Char(' ') + caption(all[size_t(i)]) + QLatin1Char(' ');
            if (c.contains(pattern))
                return all[size_t(i)];
        }
    }
    return nullptr;
}

} // namespace tavio
