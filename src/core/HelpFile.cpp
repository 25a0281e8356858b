#include "HelpFile.h"

#include "Cp1250.h"
#include "TextFile.h"

#include <QStringDecoder>

#include <optional>

namespace tavio {

namespace {

const QByteArray Magic = "TAVIO-HELP";

// A context number as the file spells it: decimal digits only, 1 and more.
std::optional<int> contextNumber(const QString& text)
{
    if (text.isEmpty() || text.size() > 9)
        return std::nullopt;
    for (QChar c : text) {
        if (!c.isDigit() || c.unicode() > 0x7f)
            return std::nullopt;
    }
    const int n = text.toInt();
    return n > 0 ? std::optional<int>(n) : std::nullopt;
}

QString lineError(int line, const QString& what)
{
    return QStringLiteral("řádek %1: %2").arg(line).arg(what);
}

} // namespace

HelpFile HelpFile::parse(const QByteArray& source)
{
    HelpFile file;
    auto fail = [&file](const QString& error) {
        file.m_topics.clear();
        file.m_index.clear();
        file.m_error = error;
        return file;
    };

    // The first line is ASCII in either encoding and names the encoding of the rest;
    // an editor may have put a byte-order mark in front of it.
    const QByteArray bytes = source.startsWith("\xef\xbb\xbf") ? source.mid(3) : source;
    const qsizetype eol = bytes.indexOf('\n');
    const QList<QByteArray> head = bytes.left(eol < 0 ? bytes.size() : eol).trimmed().split(' ');
    if (head.size() != 3 || head[0] != Magic)
        return fail(QStringLiteral("není to soubor nápovědy"));
    if (head[1] != QByteArray::number(FormatVersion))
        return fail(QStringLiteral("neznámá verze formátu ") + QString::fromLatin1(head[1]));
    QString text;
    const QByteArray body = eol < 0 ? QByteArray() : bytes.mid(eol + 1);
    if (head[2].compare("windows-1250", Qt::CaseInsensitive) == 0) {
        text = cp1250::toUnicode(body);
    } else if (head[2].compare("utf-8", Qt::CaseInsensitive) == 0) {
        QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
        text = decoder(body);
        if (decoder.hasError())
            return fail(QStringLiteral("neplatný text v kódování UTF-8"));
    } else {
        return fail(QStringLiteral("neznámé kódování ") + QString::fromLatin1(head[2]));
    }

    QHash<int, qsizetype>& index = file.m_index;
    QString section;
    QString paragraph;
    auto endParagraph = [&] {
        if (!paragraph.isEmpty() && !file.m_topics.isEmpty())
            file.m_topics.last().paragraphs.append(paragraph);
        paragraph.clear();
    };

    const QStringList lines = text.split(QLatin1Char('\n'));
    for (qsizetype i = 0; i < lines.size(); ++i) {
        const int number = int(i) + 2; // the header is line 1
        QString line = lines[i];
        if (line.endsWith(QLatin1Char('\r')))
            line.chop(1);
        if (line.startsWith(QLatin1Char(';')))
            continue;
        if (line.startsWith(QLatin1Char('@'))) {
            endParagraph();
            const qsizetype space = line.indexOf(QLatin1Char(' '));
            const QString keyword = line.left(space < 0 ? line.size() : space);
            const QString rest = space < 0 ? QString() : line.mid(space + 1).trimmed();
            if (keyword == QLatin1String("@section")) {
                if (rest.isEmpty())
                    return fail(lineError(number, QStringLiteral("skupina bez názvu")));
                section = rest;
            } else if (keyword == QLatin1String("@topic")) {
                const qsizetype gap = rest.indexOf(QLatin1Char(' '));
                const auto context = contextNumber(rest.left(gap < 0 ? rest.size() : gap));
                const QString title = gap < 0 ? QString() : rest.mid(gap + 1).trimmed();
                if (!context)
                    return fail(lineError(number, QStringLiteral("neplatné číslo tématu")));
                if (title.isEmpty())
                    return fail(lineError(number, QStringLiteral("téma bez názvu")));
                if (index.contains(*context))
                    return fail(lineError(number, QStringLiteral("téma %1 už v souboru je").arg(*context)));
                index.insert(*context, file.m_topics.size());
                file.m_topics.append(HelpTopic{*context, title, section, {}, {}});
            } else if (keyword == QLatin1String("@see")) {
                if (file.m_topics.isEmpty())
                    return fail(lineError(number, QStringLiteral("odkaz mimo téma")));
                for (const QString& n : rest.split(QLatin1Char(' '), Qt::SkipEmptyParts)) {
                    const auto context = contextNumber(n);
                    if (!context)
                        return fail(lineError(number, QStringLiteral("neplatné číslo tématu v odkazu")));
                    file.m_topics.last().seeAlso.append(*context);
                }
            } else {
                return fail(lineError(number, QStringLiteral("neznámý příkaz ") + keyword));
            }
            continue;
        }
        const QString words = line.trimmed();
        if (words.isEmpty()) {
            endParagraph();
            continue;
        }
        if (file.m_topics.isEmpty())
            return fail(lineError(number, QStringLiteral("text před prvním tématem")));
        if (!paragraph.isEmpty())
            paragraph += QLatin1Char(' ');
        paragraph += words;
    }
    endParagraph();

    // A reference to a topic the file lacks would lead nowhere.
    for (const HelpTopic& t : file.m_topics) {
        for (int see : t.seeAlso) {
            if (!index.contains(see))
                return fail(QStringLiteral("téma %1 odkazuje na chybějící téma %2").arg(t.context).arg(see));
        }
    }
    if (file.m_topics.isEmpty())
        return fail(QStringLiteral("soubor neobsahuje žádné téma"));
    return file;
}

HelpFile HelpFile::load(const QString& path)
{
    FileError error;
    const auto bytes = ReadFileBytes(path, MaxBytes, &error);
    if (!bytes) {
        HelpFile file;
        file.m_error = error.message;
        return file;
    }
    return parse(*bytes);
}

const HelpTopic* HelpFile::topic(int context) const
{
    const auto it = m_index.constFind(context);
    return it == m_index.cend() ? nullptr : &m_topics[*it];
}

} // namespace tavio
