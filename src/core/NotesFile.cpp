#include "NotesFile.h"

#include <QFile>

#include <QLoggingCategory>
#include <QtEndian>

#include <algorithm>
#include <cstring>

Q_LOGGING_CATEGORY(lcNotesFile, "tavio.notes")

namespace tavio {

namespace {

constexpr char Magic[8] = {'\x89', 'T', 'V', 'N', '\r', '\n', '\x1a', '\n'};
constexpr qsizetype HeaderSize = 8 + 2 + 2;
constexpr qsizetype ChunkHeaderSize = 8;

enum ItemKind : quint8 { ItemText = 1, ItemPicture = 2 };

enum TextFlags : quint32 { FlagBold = 1, FlagItalic = 2, FlagUnderline = 4, FlagStrikeOut = 8, FlagStandard = 16 };
enum ParaFlags : quint8 { ParaFlagStandard = 1 };

class Writer
{
public:
    void u8(quint8 v) { m_out.append(char(v)); }
    void u16(quint16 v)
    {
        char b[2];
        qToLittleEndian(v, b);
        m_out.append(b, 2);
    }
    void u32(quint32 v)
    {
        char b[4];
        qToLittleEndian(v, b);
        m_out.append(b, 4);
    }
    void i32(qint32 v) { u32(quint32(v)); }
    void raw(QByteArrayView bytes) { m_out.append(bytes.data(), bytes.size()); }
    void str(const QString& s) { bytes(s.toUtf8()); }
    void bytes(QByteArrayView b)
    {
        u32(quint32(b.size()));
        raw(b);
    }
    // A length-prefixed part: begin() leaves room for the length, end() fills it.
    qsizetype begin()
    {
        const qsizetype at = m_out.size();
        u32(0);
        return at;
    }
    void end(qsizetype at) { qToLittleEndian(quint32(m_out.size() - at - 4), m_out.data() + at); }
    qsizetype beginChunk(const char (&tag)[5])
    {
        raw(QByteArrayView(tag, 4));
        return begin();
    }
    QByteArray take() { return std::move(m_out); }
    void reserve(qsizetype n) { m_out.reserve(n); }

private:
    QByteArray m_out;
};

// Reads from a view; any read past the end fails and makes every later read fail.
class Reader
{
public:
    explicit Reader(QByteArrayView data)
        : m_data(data)
    {
    }
    bool ok() const { return m_ok; }
    qsizetype remaining() const { return m_ok ? m_data.size() - m_pos : 0; }
    bool atEnd() const { return remaining() == 0; }

    quint8 u8()
    {
        if (!need(1))
            return 0;
        return quint8(m_data[m_pos++]);
    }
    quint16 u16()
    {
        if (!need(2))
            return 0;
        const auto v = qFromLittleEndian<quint16>(m_data.data() + m_pos);
        m_pos += 2;
        return v;
    }
    quint32 u32()
    {
        if (!need(4))
            return 0;
        const auto v = qFromLittleEndian<quint32>(m_data.data() + m_pos);
        m_pos += 4;
        return v;
    }
    qint32 i32() { return qint32(u32()); }
    QByteArrayView take(qsizetype n)
    {
        if (n < 0 || !need(n))
            return {};
        const QByteArrayView v = m_data.sliced(m_pos, n);
        m_pos += n;
        return v;
    }
    QByteArrayView bytes() { return take(qsizetype(u32())); }
    QString str()
    {
        const QByteArrayView b = bytes();
        return QString::fromUtf8(b);
    }
    // A count of records of at least minSize bytes each cannot exceed what is left.
    quint32 count(qsizetype minSize)
    {
        const quint32 n = u32();
        if (m_ok && qsizetype(n) > remaining() / minSize) {
            m_ok = false;
            return 0;
        }
        return n;
    }
    void fail() { m_ok = false; }

private:
    bool need(qsizetype n)
    {
        if (m_ok && m_data.size() - m_pos >= n)
            return true;
        m_ok = false;
        return false;
    }

    QByteArrayView m_data;
    qsizetype m_pos = 0;
    bool m_ok = true;
};

void writeTextStyle(Writer& w, const TextStyle& s)
{
    const qsizetype at = w.begin();
    w.str(s.Name);
    w.str(s.FontName);
    w.i32(s.Size);
    quint32 flags = 0;
    if (s.Bold)
        flags |= FlagBold;
    if (s.Italic)
        flags |= FlagItalic;
    if (s.Underline)
        flags |= FlagUnderline;
    if (s.StrikeOut)
        flags |= FlagStrikeOut;
    if (s.Standard)
        flags |= FlagStandard;
    w.u32(flags);
    w.u32(s.Color);
    w.u32(s.BackColor);
    w.end(at);
}

void writeParaStyle(Writer& w, const ParaStyle& s)
{
    const qsizetype at = w.begin();
    w.str(s.Name);
    w.u8(quint8(s.Alignment));
    w.i32(s.LeftIndent);
    w.u32(s.Background);
    w.u8(s.Standard ? ParaFlagStandard : 0);
    w.end(at);
}

// Reads records until one is incomplete; returns whether all were read.
bool readTextStyles(Reader& r, QList<TextStyle>& out)
{
    const quint32 n = r.count(4);
    for (quint32 i = 0; i < n && r.ok(); ++i) {
        Reader rec(r.bytes());
        if (!r.ok())
            break;
        TextStyle s;
        s.Name = rec.str();
        s.FontName = rec.str();
        s.Size = rec.i32();
        const quint32 flags = rec.u32();
        s.Color = SanitizeColor(rec.u32());
        s.BackColor = SanitizeColor(rec.u32());
        if (!rec.ok())
            return false;
        s.Bold = flags & FlagBold;
        s.Italic = flags & FlagItalic;
        s.Underline = flags & FlagUnderline;
        s.StrikeOut = flags & FlagStrikeOut;
        s.Standard = flags & FlagStandard;
        out.append(std::move(s));
    }
    return r.ok();
}

bool readParaStyles(Reader& r, QList<ParaStyle>& out)
{
    const quint32 n = r.count(4);
    for (quint32 i = 0; i < n && r.ok(); ++i) {
        Reader rec(r.bytes());
        if (!r.ok())
            break;
        ParaStyle s;
        s.Name = rec.str();
        const quint8 alignment = rec.u8();
        s.LeftIndent = rec.i32();
        s.Background = SanitizeColor(rec.u32());
        const quint8 flags = rec.u8();
        if (!rec.ok())
            return false;
        s.Alignment = alignment <= quint8(ParaAlignment::Justify) ? ParaAlignment(alignment) : ParaAlignment::Left;
        s.Standard = flags & ParaFlagStandard;
        out.append(std::move(s));
    }
    return r.ok();
}

// Keeps the paragraphs and items read before any damage.
bool readBody(Reader& r, QList<NotesParagraph>& out)
{
    const quint32 n = r.count(8);
    for (quint32 i = 0; i < n && r.ok(); ++i) {
        NotesParagraph p;
        p.ParaStyleNo = int(std::min<quint32>(r.u32(), INT_MAX));
        const quint32 items = r.count(5);
        if (!r.ok())
            break;
        for (quint32 k = 0; k < items; ++k) {
            const quint8 kind = r.u8();
            Reader item(r.bytes());
            if (!r.ok())
                break;
            NotesRun run;
            if (kind == ItemText) {
                run.kind = NotesRun::Kind::Text;
                run.StyleNo = int(std::min<quint32>(item.u32(), INT_MAX));
                run.Text = SanitizeRunText(QString::fromUtf8(item.take(item.remaining())));
            } else if (kind == ItemPicture) {
                run.kind = NotesRun::Kind::Picture;
                run.Picture = int(std::min<quint32>(item.u32(), INT_MAX));
                run.Width = item.i32();
                run.Height = item.i32();
            } else {
                continue; // an item of a later version
            }
            if (!item.ok()) {
                r.fail();
                break;
            }
            p.Runs.append(std::move(run));
        }
        out.append(std::move(p));
    }
    return r.ok();
}

bool readPictures(Reader& r, QList<NotesPicture>& out)
{
    const quint32 n = r.count(8);
    for (quint32 i = 0; i < n && r.ok(); ++i) {
        NotesPicture pic;
        pic.Format = r.bytes().toByteArray();
        pic.Data = r.bytes().toByteArray();
        if (!r.ok())
            break;
        const bool plainName = pic.Format.size() <= 16 && std::all_of(pic.Format.cbegin(), pic.Format.cend(), [](char c) {
                                   return (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9');
                               });
        if (!plainName)
            pic.Format.clear();
        out.append(std::move(pic));
    }
    return r.ok();
}

// Brings every number in the content within range, whatever the file said.
void settle(NotesContent& c)
{
    if (c.TextStyles.isEmpty())
        c.TextStyles = DefaultTextStyles();
    if (c.ParaStyles.isEmpty())
        c.ParaStyles = DefaultParaStyles();
    c.Margin = std::clamp(c.Margin, 0, 200);
    const int textCount = int(c.TextStyles.size());
    const int paraCount = int(c.ParaStyles.size());
    const int picCount = int(c.Pictures.size());
    for (NotesParagraph& p : c.Paragraphs) {
        if (p.ParaStyleNo < 0 || p.ParaStyleNo >= paraCount)
            p.ParaStyleNo = 0;
        for (qsizetype i = p.Runs.size() - 1; i >= 0; --i) {
            NotesRun& run = p.Runs[i];
            if (run.kind == NotesRun::Kind::Text) {
                if (run.StyleNo < 0 || run.StyleNo >= textCount)
                    run.StyleNo = 0;
                continue;
            }
            if (run.Picture < 0 || run.Picture >= picCount || c.Pictures.at(run.Picture).Data.isEmpty()) {
                p.Runs.removeAt(i);
                continue;
            }
            run.StyleNo = 0;
            run.Width = std::clamp(run.Width, 0, MaxPictureSide);
            run.Height = std::clamp(run.Height, 0, MaxPictureSide);
            if (run.Width == 0 || run.Height == 0)
                run.Width = run.Height = 0;
        }
    }
}

} // namespace

QString SanitizeRunText(QString text)
{
    qsizetype out = 0;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char16_t c = text.at(i).unicode();
        if (c == u'\r' || c == u'\n' || c == 0x2029) {
            text[out++] = QChar(QChar::LineSeparator);
            if (c == u'\r' && i + 1 < text.size() && text.at(i + 1) == u'\n')
                ++i;
            continue;
        }
        if ((c < 0x20 && c != u'\t') || c == 0x7F || c == QChar::ObjectReplacementCharacter || c == 0xFDD0
            || c == 0xFDD1)
            continue;
        text[out++] = QChar(c);
    }
    text.truncate(out);
    return text;
}

QByteArray WriteNotes(const NotesContent& c)
{
    Writer w;
    qsizetype estimate = 4096;
    for (const NotesPicture& p : c.Pictures)
        estimate += p.Data.size() + 32;
    w.reserve(estimate);
    w.raw(QByteArrayView(Magic, sizeof Magic));
    w.u16(NotesFormatMajor);
    w.u16(NotesFormatMinor);

    qsizetype at = w.beginChunk("DOC ");
    w.u32(c.Background);
    w.i32(c.Margin);
    w.end(at);

    at = w.beginChunk("TSTY");
    w.u32(quint32(c.TextStyles.size()));
    for (const TextStyle& s : c.TextStyles)
        writeTextStyle(w, s);
    w.end(at);

    at = w.beginChunk("PSTY");
    w.u32(quint32(c.ParaStyles.size()));
    for (const ParaStyle& s : c.ParaStyles)
        writeParaStyle(w, s);
    w.end(at);

    // Only the pictures the text shows are written, in the order it shows them.
    QList<int> newIndex(c.Pictures.size(), -1);
    QList<int> order;
    at = w.beginChunk("BODY");
    w.u32(quint32(c.Paragraphs.size()));
    for (const NotesParagraph& p : c.Paragraphs) {
        w.u32(quint32(std::max(p.ParaStyleNo, 0)));
        w.u32(quint32(p.Runs.size()));
        for (const NotesRun& run : p.Runs) {
            if (run.kind == NotesRun::Kind::Text) {
                w.u8(ItemText);
                const qsizetype item = w.begin();
                w.u32(quint32(std::max(run.StyleNo, 0)));
                w.raw(SanitizeRunText(run.Text).toUtf8());
                w.end(item);
                continue;
            }
            int index = -1;
            if (run.Picture >= 0 && run.Picture < c.Pictures.size()) {
                if (newIndex[run.Picture] < 0) {
                    newIndex[run.Picture] = int(order.size());
                    order.append(run.Picture);
                }
                index = newIndex[run.Picture];
            }
            w.u8(ItemPicture);
            const qsizetype item = w.begin();
            w.u32(quint32(index));
            w.i32(run.Width);
            w.i32(run.Height);
            w.end(item);
        }
    }
    w.end(at);

    at = w.beginChunk("PICT");
    w.u32(quint32(order.size()));
    for (int i : order) {
        w.bytes(c.Pictures.at(i).Format);
        w.bytes(c.Pictures.at(i).Data);
    }
    w.end(at);

    at = w.beginChunk("END ");
    w.end(at);
    return w.take();
}

NotesReadResult ReadNotes(QByteArrayView bytes)
{
    NotesReadResult result;
    if (bytes.size() < HeaderSize || std::memcmp(bytes.data(), Magic, sizeof Magic) != 0) {
        result.status = NotesReadStatus::Foreign;
        return result;
    }
    Reader header(bytes.sliced(sizeof Magic, 4));
    const quint16 major = header.u16();
    if (major == 0) {
        result.status = NotesReadStatus::Foreign;
        return result;
    }
    if (major > NotesFormatMajor) {
        result.status = NotesReadStatus::TooNew;
        return result;
    }

    NotesContent& c = result.content;
    QList<TextStyle> textStyles;
    QList<ParaStyle> paraStyles;
    bool damaged = false;
    bool sawEnd = false;
    QByteArrayList seen;
    Reader r(bytes.sliced(HeaderSize));
    while (!r.atEnd()) {
        if (r.remaining() < ChunkHeaderSize) {
            damaged = true;
            break;
        }
        const QByteArray tag = r.take(4).toByteArray();
        const quint32 length = r.u32();
        const bool cut = qsizetype(length) > r.remaining();
        Reader chunk(r.take(cut ? r.remaining() : qsizetype(length)));
        damaged |= cut;
        if (seen.contains(tag)) {
            damaged = true; // a second chunk of a kind: the first one counts
            continue;
        }
        seen.append(tag);
        bool whole = true;
        if (tag == "DOC ") {
            const quint32 background = chunk.u32();
            const qint32 margin = chunk.i32();
            whole = chunk.ok();
            if (whole) {
                c.Background = SanitizeColor(background);
                c.Margin = margin;
            }
        } else if (tag == "TSTY") {
            whole = readTextStyles(chunk, textStyles);
        } else if (tag == "PSTY") {
            whole = readParaStyles(chunk, paraStyles);
        } else if (tag == "BODY") {
            whole = readBody(chunk, c.Paragraphs);
        } else if (tag == "PICT") {
            whole = readPictures(chunk, c.Pictures);
        } else if (tag == "END ") {
            sawEnd = true;
            break;
        }
        damaged |= !whole;
        if (cut)
            break;
    }
    damaged |= !sawEnd;
    c.TextStyles = std::move(textStyles);
    c.ParaStyles = std::move(paraStyles);
    settle(c);
    result.status = damaged ? NotesReadStatus::Damaged : NotesReadStatus::Ok;
    return result;
}

NotesReadResult LoadNotesFile(const QString& path)
{
    FileError error;
    const auto bytes = ReadFileBytes(path, MaxNotesFileSize, &error);
    if (!bytes) {
        qCWarning(lcNotesFile) << "cannot read" << path << error.message;
        NotesReadResult result;
        result.status = NotesReadStatus::Unreadable;
        return result;
    }
    NotesReadResult result = ReadNotes(*bytes);
    if (result.status != NotesReadStatus::Ok)
        qCWarning(lcNotesFile) << "notes file" << path << "read with status" << int(result.status);
    return result;
}

bool IsNewerNotesFile(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    return ReadNotes(file.read(HeaderSize)).status == NotesReadStatus::TooNew;
}

bool SaveNotesFile(const QString& path, const NotesContent& content, FileError* error)
{
    // Notes of a later version would be lost for good: this version never writes over them.
    if (IsNewerNotesFile(path)) {
        if (error)
            error->message = NewerNotesText();
        return false;
    }
    return WriteFileBytes(path, WriteNotes(content), error);
}

QString NewerNotesText()
{
    return QStringLiteral("Tyto poznámky uložila novější verze programu a tato verze je neumí přečíst. "
                          "Zobrazují se jen pro čtení a soubor s nimi zůstane beze změny.");
}

} // namespace tavio
