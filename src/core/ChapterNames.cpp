#include "ChapterNames.h"

#include "MainTypes.h"

#include <QFileInfo>

namespace tavio {

namespace {

struct Parts
{
    QString folder;
    QString name;       // the file name with its extension
    bool hasDash = false;
    QString chapterText;        // the first four characters of the name
    std::optional<int> chapter; // the same as a number
    std::optional<int> part;    // the two characters after the first '-'
};

std::optional<int> number(const QString& text)
{
    bool ok = false;
    const int n = text.toInt(&ok);
    return ok ? std::optional<int>(n) : std::nullopt;
}

Parts split(const QString& path)
{
    Parts p;
    const qsizetype slash = path.lastIndexOf(PathSep);
    p.folder = path.left(slash + 1);
    p.name = path.mid(slash + 1);
    p.chapterText = RemoveFileExt(p.name).left(4);
    p.chapter = number(p.chapterText);
    const qsizetype dash = p.name.indexOf(QLatin1Char('-'));
    p.hasDash = dash >= 0;
    if (p.hasDash)
        p.part = number(p.name.mid(dash + 1, 2));
    return p;
}

QString chapterName(int chapter)
{
    return chapter < 0 ? QLatin1Char('-') + QString::number(-chapter).rightJustified(4, QLatin1Char('0'))
                       : QString::number(chapter).rightJustified(4, QLatin1Char('0'));
}

QString partName(int part)
{
    return QString::number(part).rightJustified(2, QLatin1Char('0'));
}

std::optional<QString> existing(const QString& path)
{
    return QFileInfo::exists(path) ? std::optional<QString>(path) : std::nullopt;
}

const QString Htm = QStringLiteral(".htm");

} // namespace

// A number that does not convert ends the search where it is needed, as a failed
// conversion would; candidates before that point still count.
std::optional<QString> NextChapterFile(const QString& path)
{
    const Parts p = split(path);
    if (p.hasDash) {
        if (!p.part)
            return std::nullopt;
        if (auto f = existing(p.folder + p.chapterText + QLatin1Char('-') + partName(*p.part + 1) + Htm))
            return f;
    }
    if (!p.chapter)
        return std::nullopt;
    if (auto f = existing(p.folder + chapterName(*p.chapter + 1) + Htm))
        return f;
    return existing(p.folder + chapterName(*p.chapter + 1) + QStringLiteral("-01") + Htm);
}

std::optional<QString> PreviousChapterFile(const QString& path)
{
    const Parts p = split(path);
    if (p.hasDash && !p.part)
        return std::nullopt;
    if (p.hasDash && *p.part >= 2)
        return existing(p.folder + p.chapterText + QLatin1Char('-') + partName(*p.part - 1) + Htm);
    if (!p.chapter)
        return std::nullopt;
    const int previous = *p.chapter - 1;
    if (auto f = existing(p.folder + chapterName(previous) + Htm))
        return f;
    if (previous > 0) {
        // A previous chapter in parts is entered at its part 10 at the highest.
        for (int part = 10; part >= 1; --part) {
            if (auto f = existing(p.folder + chapterName(previous) + QLatin1Char('-') + partName(part) + Htm))
                return f;
        }
    }
    return std::nullopt;
}

} // namespace tavio
