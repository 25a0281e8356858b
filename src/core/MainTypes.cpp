#include "MainTypes.h"

#include <BuildInfo.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace tavio {

TProgramVersion GetProgramVersion()
{
    return {build::versionMajor, build::versionMinor, build::versionRelease, build::versionBuild};
}

QString VersionText(const TProgramVersion& v)
{
    return QStringLiteral("%1.%2.%3.%4").arg(v.Major).arg(v.Minor).arg(v.Release).arg(v.Build);
}

const QString& VersionText()
{
    static const QString text = VersionText(GetProgramVersion());
    return text;
}

QString RemoveFileExt(const QString& text)
{
    const qsizetype dot = text.lastIndexOf(QLatin1Char('.'));
    return dot < 0 ? text : text.left(dot);
}

QString CaptionFileExt(const QString& caption)
{
    const qsizetype bracket = caption.indexOf(QLatin1Char('['));
    if (bracket < 0)
        return {};
    QString name = caption.left(bracket);
    // Blanks and control characters at both ends do not belong to the name.
    qsizetype b = 0, e = name.size();
    while (b < e && name[b].unicode() <= 0x20)
        ++b;
    while (e > b && name[e - 1].unicode() <= 0x20)
        --e;
    name = name.mid(b, e - b);
    const qsizetype dot = name.lastIndexOf(QLatin1Char('.'));
    return dot < 0 ? QString() : name.mid(dot);
}

QString CaptionToFileName(const QString& caption)
{
    const qsizetype bracket = caption.indexOf(QLatin1Char('['));
    return bracket < 1 ? QString() : caption.left(bracket - 1);
}

QString CaptionToTitle(const QString& caption)
{
    // What follows the first '[' (the whole caption when there is none), decoded,
    // without the closing " ]" and without the blank that normally begins a title.
    // A title written without that blank ("x.htm [Abc ]") keeps its first letter.
    const qsizetype bracket = caption.indexOf(QLatin1Char('['));
    QString rest = DecodeAmpEntities(caption.mid(bracket + 1));
    if (rest.size() <= 2)
        return QString();
    rest.chop(2);
    if (rest.startsWith(QLatin1Char(' ')))
        rest.remove(0, 1);
    return rest;
}

QString DecodeAmpEntities(const QString& text)
{
    // Replacing the first "&amp;" again and again is the same as reducing every
    // "&amp;" in the order in which it is completed while copying left to right.
    static const QString amp = QStringLiteral("&amp;");
    if (!text.contains(amp))
        return text;
    QString out;
    out.reserve(text.size());
    for (const QChar c : text) {
        out.append(c);
        if (c == QLatin1Char(';') && out.endsWith(amp))
            out.chop(4);
    }
    return out;
}

QString EscapeAmpersands(const QString& text)
{
    const QChar amp = QLatin1Char('&');
    if (!text.contains(amp))
        return text;
    if (text.size() == 1)
        return QStringLiteral("&& ");
    qsizetype end = text.size();
    while (end > 0 && text[end - 1] == amp)
        --end;
    QString out;
    out.reserve(end + 8);
    for (qsizetype i = 0; i < end; ++i) {
        if (text[i] != amp) {
            out.append(text[i]);
        } else if (i + 1 < end && text[i + 1] == amp) {
            out.append(QLatin1String("&&"));
            ++i;
        } else {
            out.append(QLatin1String("&&"));
        }
    }
    return out;
}

namespace {
int hexValue(QChar c)
{
    const char16_t u = c.unicode();
    if (u >= '0' && u <= '9')
        return u - '0';
    if (u >= 'a' && u <= 'f')
        return u - 'a' + 10;
    if (u >= 'A' && u <= 'F')
        return u - 'A' + 10;
    return -1;
}
} // namespace

std::optional<QString> FileUrlToPath(const QString& url)
{
    // Percent escapes are decoded to bytes of the file-name encoding; what a
    // decoding produced is never decoded again.
    QByteArray bytes;
    bytes.reserve(url.size());
    for (qsizetype i = 0; i < url.size(); ++i) {
        if (url[i] != QLatin1Char('%')) {
            bytes += QStringView(url).mid(i, 1).toUtf8();
            continue;
        }
        const int hi = i + 1 < url.size() ? hexValue(url[i + 1]) : -1;
        const int lo = i + 2 < url.size() ? hexValue(url[i + 2]) : -1;
        if (hi < 0 || lo < 0)
            return std::nullopt;
        bytes += char(hi * 16 + lo);
        i += 2;
    }
    QString path = QFile::decodeName(bytes);
    // "file://" goes; the path keeps its own leading separator.
    static const QString scheme = QStringLiteral("file://");
    if (path.startsWith(scheme, Qt::CaseInsensitive))
        path = path.mid(scheme.size());
    else
        path = path.mid(7);
    return QDir::fromNativeSeparators(path);
}

bool DeleteFolderTree(const QString& folder, QString* error)
{
    auto fail = [error](const QString& what, const QString& path) {
        if (error)
            *error = what + QStringLiteral(": ") + QDir::toNativeSeparators(path);
        return false;
    };
    QString path = folder;
    while (path.size() > 1 && path.endsWith(PathSep))
        path.chop(1);
    const QFileInfo self(path);
    if (self.isSymLink())
        return QFile::remove(path) || fail(QStringLiteral("Nelze smazat odkaz"), path);
    if (!self.isDir())
        return fail(QStringLiteral("Složka neexistuje"), path);
    QDir dir(path);
    const QFileInfoList entries =
        dir.entryInfoList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden | QDir::System, QDir::Name);
    for (const QFileInfo& entry : entries) {
        const QString p = entry.absoluteFilePath();
        if (entry.isSymLink() || !entry.isDir()) {
            if (!QFile::remove(p))
                return fail(QStringLiteral("Nelze smazat soubor"), p);
        } else if (!DeleteFolderTree(p, error)) {
            return false;
        }
    }
    if (!QDir().rmdir(path))
        return fail(QStringLiteral("Nelze smazat složku"), path);
    return true;
}

QString WithTrailingSeparator(const QString& folder)
{
    return folder.endsWith(PathSep) ? folder : folder + PathSep;
}

} // namespace tavio
