#include "NotesExport.h"

#include "AtomicSave.h"
#include "Cp1250.h"
#include "NotesDocument.h"

#include <QDir>
#include <QFileInfo>
#include <QHash>
#include <QRegularExpression>
#include <QTextDocument>
#include <QUuid>

namespace tavio {

namespace {

// Windows-1250 text in which a character the code page lacks becomes a numeric
// character reference, which both HTML and Markdown read back as the character.
QByteArray encodeWithReferences(QStringView text)
{
    static const QHash<char16_t, char> upper = [] {
        QHash<char16_t, char> h;
        for (int b = 0x80; b < 0x100; ++b) {
            const char byte = char(b);
            const QString c = cp1250::toUnicode(QByteArrayView(&byte, 1));
            if (c.size() == 1 && c.at(0) != QChar::ReplacementCharacter)
                h.insert(c.at(0).unicode(), byte);
        }
        return h;
    }();
    QByteArray out;
    out.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char16_t c = text[i].unicode();
        if (c < 0x80) {
            out += char(c);
            continue;
        }
        const auto it = upper.constFind(c);
        if (it != upper.cend()) {
            out += *it;
            continue;
        }
        char32_t code = c;
        if (QChar::isHighSurrogate(c) && i + 1 < text.size() && text[i + 1].isLowSurrogate()) {
            code = QChar::surrogateToUcs4(c, text[i + 1].unicode());
            ++i;
        }
        out += "&#" + QByteArray::number(uint(code)) + ';';
    }
    return out;
}

QByteArray withCrLf(QByteArray text)
{
    text.replace("\r\n", "\n");
    text.replace('\n', "\r\n");
    if (!text.endsWith("\r\n"))
        text += "\r\n";
    return text;
}

struct Loaded
{
    QString heading;
    NotesContent content;
};

QList<Loaded> loadAll(const QList<NotesExportChapter>& chapters)
{
    QList<Loaded> out;
    for (const NotesExportChapter& c : chapters) {
        if (c.content) {
            out.append({c.heading, *c.content});
            continue;
        }
        if (c.notesPath.isEmpty() || !QFileInfo(c.notesPath).isFile())
            continue;
        const NotesReadResult read = LoadNotesFile(c.notesPath);
        if (read.status == NotesReadStatus::Ok || read.status == NotesReadStatus::Damaged)
            out.append({c.heading, read.content});
    }
    return out;
}

QByteArray htmlOf(const QList<Loaded>& chapters)
{
    static const QRegularExpression bodyRe(QStringLiteral("<body([^>]*)>(.*)</body>"),
                                           QRegularExpression::DotMatchesEverythingOption);
    QString html = QStringLiteral(
        "<!DOCTYPE html>\n<html>\n<head>\n<meta http-equiv=\"Content-Type\" content=\"text/html; charset=windows-1250\">\n"
        "<title>Poznámky</title>\n</head>\n<body>\n");
    for (const Loaded& c : chapters) {
        NotesDocument doc;
        doc.setContent(c.content);
        const QRegularExpressionMatch m = bodyRe.match(doc.selfContainedHtml());
        html += QStringLiteral("<h1>") + c.heading.toHtmlEscaped() + QStringLiteral("</h1>\n");
        // The document's own body (font, background) becomes the chapter's block.
        html += QStringLiteral("<div class=\"poznamky\"") + m.captured(1) + QStringLiteral(">")
            + m.captured(2).trimmed() + QStringLiteral("\n</div>\n");
    }
    html += QStringLiteral("</body>\n</html>\n");
    return withCrLf(encodeWithReferences(html));
}

} // namespace

QString NotesPictureFolder(const QString& markdownPath)
{
    const QFileInfo info(markdownPath);
    return info.absolutePath() + QLatin1Char('/') + info.completeBaseName() + QStringLiteral("_obrazky");
}

NotesExportFormat NotesExportFormatOf(const QString& path)
{
    const QString suffix = QFileInfo(path).suffix().toLower();
    return suffix == QLatin1String("md") || suffix == QLatin1String("markdown") ? NotesExportFormat::Markdown
                                                                                 : NotesExportFormat::Html;
}

NotesExportResult ExportNotes(const QList<NotesExportChapter>& chapters, NotesExportFormat format, const QString& path)
{
    NotesExportResult result;
    const QList<Loaded> loaded = loadAll(chapters);
    result.chapters = int(loaded.size());
    if (loaded.isEmpty()) {
        result.ok = true;
        return result;
    }
    FileError error;
    if (format == NotesExportFormat::Html) {
        result.ok = SaveBytesAtomically(path, htmlOf(loaded), &error);
        result.error = error.message;
        return result;
    }

    // Markdown: the pictures go to a fresh folder first, which takes the place of the
    // old one only after the text has been written.
    const QString folder = NotesPictureFolder(path);
    const QString folderName = QFileInfo(folder).fileName();
    const QString staging = folder + QStringLiteral(".part-") + QUuid::createUuid().toString(QUuid::Id128).left(8);
    int written = 0;
    QString markdown;
    for (const Loaded& c : loaded) {
        NotesDocument doc;
        doc.setContent(c.content);
        bool failed = false;
        auto copy = doc.copyWithPictureNames([&](int, const NotesDocument::Picture& p) -> QString {
            const NotesDocument::WebPicture web = NotesDocument::pictureForWeb(p);
            const QString name = QStringLiteral("obrazek-%1.%2").arg(++written, 3, 10, QLatin1Char('0')).arg(web.extension);
            if (!failed && (written > 1 || QDir().mkpath(staging))) {
                if (!SaveBytesAtomically(staging + QLatin1Char('/') + name, web.data, &error))
                    failed = true;
            } else {
                failed = true;
            }
            return folderName + QLatin1Char('/') + name;
        });
        if (failed) {
            QDir(staging).removeRecursively();
            result.error = error.message.isEmpty() ? QStringLiteral("Nelze vytvořit adresář ") + QDir::toNativeSeparators(staging)
                                                   : error.message;
            return result;
        }
        markdown += QStringLiteral("# ") + c.heading + QStringLiteral("\n\n") + copy->toMarkdown().trimmed()
            + QStringLiteral("\n\n");
    }
    if (!SaveBytesAtomically(path, withCrLf(encodeWithReferences(markdown)), &error)) {
        QDir(staging).removeRecursively();
        result.error = error.message;
        return result;
    }
    if (written > 0) {
        QDir(folder).removeRecursively();
        if (!QDir().rename(staging, folder)) {
            result.error = QStringLiteral("Obrázky zůstaly v adresáři ") + QDir::toNativeSeparators(staging);
            return result;
        }
    }
    result.ok = true;
    return result;
}

} // namespace tavio
