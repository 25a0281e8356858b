#include "Bookmarks.h"

#include "AtomicSave.h"

#include "AppSettings.h"
#include "Catalogue.h"
#include "Cp1250.h"
#include "MainTypes.h"
#include "Profile.h"
#include "SettingsStore.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLoggingCategory>
#include <QSet>
#include <QtEndian>

#include <array>
#include <cstring>

Q_LOGGING_CATEGORY(lcMarks, "tavio.marks")

namespace tavio {

namespace {

const QString HintPrefix = QStringLiteral("<< Záložka >> ");

// The bookmark file record.
namespace rec {
constexpr int Tag = 0;
constexpr int Title = 1;
constexpr int TitleMax = 50;
constexpr int Name = 52;
constexpr int TreeType = 308;
constexpr int Caption = 309;
constexpr int AbsolutId = 565;
constexpr int FileName = 569;
constexpr int ShortCut = 825;
constexpr int TextMax = 255;
} // namespace rec
static_assert(rec::ShortCut + 2 == MarkRecordSize);

using Record = std::array<char, MarkRecordSize>;

// A chapter folder with its separator; no folder stays empty rather than becoming the root.
QString folderPrefix(const QString& folder)
{
    return folder.isEmpty() ? folder : WithTrailingSeparator(folder);
}

quint8 marksTag()
{
    return quint8(Profile::instance().integer(ProfileId::MarksTag));
}

// The title as a record holds it: longer titles are cut like every other text.
QByteArray titleBytes()
{
    return cp1250::fromUnicode(P(ProfileId::ApplicationTitle)).left(rec::TitleMax);
}

void putShortString(Record& r, int offset, int max, const QByteArray& bytes)
{
    const qsizetype n = std::min<qsizetype>(bytes.size(), max);
    r[size_t(offset)] = char(quint8(n));
    std::memcpy(r.data() + offset + 1, bytes.constData(), size_t(n));
}

void putShortString(Record& r, int offset, const QString& text)
{
    putShortString(r, offset, rec::TextMax, cp1250::fromUnicode(text));
}

// Nothing when the length byte claims more than the field holds.
std::optional<QByteArray> getShortString(const Record& r, int offset, int max)
{
    const int n = quint8(r[size_t(offset)]);
    if (n > max)
        return std::nullopt;
    return QByteArray(r.data() + offset + 1, n);
}

Record makeRecord(const TTreeMark& mark, quint16 shortCut)
{
    Record r{}; // the bytes after each text stay zero
    r[rec::Tag] = char(marksTag());
    putShortString(r, rec::Title, rec::TitleMax, titleBytes());
    putShortString(r, rec::Name, mark.Name);
    r[rec::TreeType] = char(quint8(mark.TreeType.toInt()));
    putShortString(r, rec::Caption, mark.Caption);
    qToLittleEndian<qint32>(mark.AbsolutId, r.data() + rec::AbsolutId);
    putShortString(r, rec::FileName, FileNamePart(mark.FileName));
    qToLittleEndian<quint16>(shortCut, r.data() + rec::ShortCut);
    return r;
}

// A name that stays in the chapter folder: no separators, not "." or "..".
bool isPlainFileName(const QString& name)
{
    return !name.contains(QLatin1Char('/')) && !name.contains(QLatin1Char('\\')) && name != QStringLiteral(".")
        && name != QStringLiteral("..");
}

std::optional<TTreeMark> parseRecord(const Record& r, const QString& chapterFolder, QString* why)
{
    if (quint8(r[rec::Tag]) != marksTag()) {
        *why = QStringLiteral("wrong tag");
        return std::nullopt;
    }
    const auto title = getShortString(r, rec::Title, rec::TitleMax);
    if (!title || *title != titleBytes()) {
        *why = QStringLiteral("wrong title");
        return std::nullopt;
    }
    // The other texts have 255 bytes of room, the most a length byte can claim.
    const QByteArray name = *getShortString(r, rec::Name, rec::TextMax);
    const QByteArray caption = *getShortString(r, rec::Caption, rec::TextMax);
    const QString file = cp1250::toUnicode(*getShortString(r, rec::FileName, rec::TextMax));
    if (!isPlainFileName(file)) {
        *why = QStringLiteral("file name with a folder");
        return std::nullopt;
    }
    TTreeMark m;
    m.Name = cp1250::toUnicode(name);
    m.TreeType = TTreeTypes::fromInt(quint8(r[rec::TreeType]) & 0x0F);
    m.Caption = cp1250::toUnicode(caption);
    m.AbsolutId = qFromLittleEndian<qint32>(r.data() + rec::AbsolutId);
    m.FileName = chapterFolder + file;
    m.ShortCut = qFromLittleEndian<quint16>(r.data() + rec::ShortCut);
    return m;
}

// Virtual-key codes of the keys a shortcut can name, beside letters and digits.
struct VirtualKey
{
    quint8 vk;
    Qt::Key key;
};
constexpr VirtualKey VirtualKeys[] = {
    {0x08, Qt::Key_Backspace}, {0x09, Qt::Key_Tab},   {0x0D, Qt::Key_Return}, {0x1B, Qt::Key_Escape},
    {0x20, Qt::Key_Space},     {0x21, Qt::Key_PageUp}, {0x22, Qt::Key_PageDown}, {0x23, Qt::Key_End},
    {0x24, Qt::Key_Home},      {0x25, Qt::Key_Left},  {0x26, Qt::Key_Up},     {0x27, Qt::Key_Right},
    {0x28, Qt::Key_Down},      {0x2D, Qt::Key_Insert}, {0x2E, Qt::Key_Delete},
};
constexpr quint16 ScShift = 0x2000;
constexpr quint16 ScCtrl = 0x4000;
constexpr quint16 ScAlt = 0x8000;

} // namespace

int MarkMenuImage(int position)
{
    switch (position) {
    case mpAddMark: return 26;
    case mpEditMark: return 35;
    case mpMarksImport: return 37;
    case mpMarksExport: return 38;
    case mpSeparMark: return -1;
    default: return position > mpSeparMark ? 0 : -1;
    }
}

QString MarkHint(const QString& fileName)
{
    return HintPrefix + QDir::toNativeSeparators(fileName);
}

QString UnescapeAmpersands(const QString& text)
{
    QString out;
    out.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        out.append(text[i]);
        if (text[i] == QLatin1Char('&') && i + 1 < text.size() && text[i + 1] == QLatin1Char('&'))
            ++i;
    }
    return out;
}

QKeyCombination ShortCutToKey(quint16 code)
{
    const quint8 vk = quint8(code & 0xFF);
    Qt::Key key = Qt::Key(0);
    if ((vk >= '0' && vk <= '9') || (vk >= 'A' && vk <= 'Z'))
        key = Qt::Key(vk); // the virtual-key codes of digits and letters are their ASCII codes
    else if (vk >= 0x70 && vk <= 0x87)
        key = Qt::Key(Qt::Key_F1 + (vk - 0x70));
    else
        for (const VirtualKey& v : VirtualKeys)
            if (v.vk == vk)
                key = v.key;
    if (key == Qt::Key(0))
        return QKeyCombination(Qt::Key(0));
    Qt::KeyboardModifiers mods;
    if (code & ScShift)
        mods |= Qt::ShiftModifier;
    if (code & ScCtrl)
        mods |= Qt::ControlModifier;
    if (code & ScAlt)
        mods |= Qt::AltModifier;
    return QKeyCombination(mods, key);
}

quint16 KeyToShortCut(QKeyCombination combination)
{
    const Qt::Key key = combination.key();
    int vk = 0;
    if ((key >= Qt::Key_0 && key <= Qt::Key_9) || (key >= Qt::Key_A && key <= Qt::Key_Z))
        vk = int(key);
    else if (key >= Qt::Key_F1 && key <= Qt::Key_F24)
        vk = 0x70 + (key - Qt::Key_F1);
    else
        for (const VirtualKey& v : VirtualKeys)
            if (v.key == key)
                vk = v.vk;
    if (vk == 0)
        return 0;
    quint16 code = quint16(vk);
    const Qt::KeyboardModifiers mods = combination.keyboardModifiers();
    if (mods & Qt::ShiftModifier)
        code |= ScShift;
    if (mods & Qt::ControlModifier)
        code |= ScCtrl;
    if (mods & Qt::AltModifier)
        code |= ScAlt;
    return code;
}

QString FileNamePart(const QString& path)
{
    const qsizetype sep = std::max(path.lastIndexOf(QLatin1Char('/')), path.lastIndexOf(QLatin1Char('\\')));
    return path.mid(sep + 1);
}

TTreeMark MarkFromTreeNode(TTreeType from, const QString& nodeCaption, int absoluteIndex,
                           const QString& chapterFolder)
{
    TTreeMark m;
    m.TreeType = from;
    m.AbsolutId = absoluteIndex;
    m.FileName = folderPrefix(chapterFolder) + CaptionToFileName(nodeCaption);
    m.Caption = CaptionToTitle(nodeCaption).trimmed();
    return m;
}

TTreeMark MarkFromChapterView(const QString& chapterFolder, const QString& locationName, bool* notFound)
{
    TTreeMark m;
    m.TreeType = ttView;
    m.AbsolutId = -1;
    m.FileName = folderPrefix(chapterFolder) + RemoveFileExt(locationName) + QStringLiteral(".htm");
    const ChapterTitle title = ReadChapterTitle(m.FileName);
    if (notFound)
        *notFound = title.status == TitleStatus::NotFound;
    m.Caption = DecodeAmpEntities(title.title).trimmed();
    return m;
}

Bookmarks::Bookmarks()
    : m_menu(fixedItems())
{
}

QString Bookmarks::marksKey()
{
    return AppSettings::root() + QStringLiteral("Marks\\");
}

QList<TMarkMenuItem> Bookmarks::fixedItems()
{
    return {
        {QStringLiteral("mnuAddMark"), QStringLiteral("Přidat záložku ..."), 16450, {}},
        {QStringLiteral("mnuEditMark"), QStringLiteral("Editovat záložky ..."), 16453, {}},
        {QStringLiteral("mnuMarksImport"), QStringLiteral("Importovat záložky ..."), 16457, {}},
        {QStringLiteral("mnuMarksExport"), QStringLiteral("Exportovat záložky ..."), 16472, {}},
        {QStringLiteral("mnuSeparMark"), QStringLiteral("-"), 0, {}},
    };
}

const TTreeMark* Bookmarks::entryAt(int position) const
{
    return position >= 0 && position < m_list.size() ? &m_list[position] : nullptr;
}

TMarkMenuItem Bookmarks::bookmarkItem(const TTreeMark& mark) const
{
    return {mark.Name, EscapeAmpersands(mark.Caption), mark.ShortCut, MarkHint(mark.FileName)};
}

void Bookmarks::LoadBookmarks(const SettingsStore& store, const QString& chapterFolder)
{
    const QString key = marksKey();
    if (!store.keyExists(key))
        return;
    // Entries are numbered without gaps; whatever follows a gap is not read.
    const QStringList names = store.subKeys(key);
    const QSet<QString> present(names.cbegin(), names.cend());
    int n = 0;
    while (present.contains(QString::number(n)))
        ++n;

    const QString folder = folderPrefix(chapterFolder);
    QList<TTreeMark> list;
    list.reserve(n);
    for (int i = 0; i < n; ++i) {
        const QString sub = key + QString::number(i) + QLatin1Char('\\');
        TTreeMark m;
        // A missing or unreadable number must not stop the start-up: it reads as a
        // bookmark of the custom tree without a node.
        const auto files = store.readBool(sub, QStringLiteral("TreeType"));
        m.TreeType = files.value_or(false) ? ttFiles : ttCustom;
        m.Name = store.readString(sub, QStringLiteral("Name")).value_or(QString());
        m.Caption = store.readString(sub, QStringLiteral("Caption")).value_or(QString());
        m.AbsolutId = store.readInteger(sub, QStringLiteral("AbsolutId")).value_or(-1);
        const QString file = store.readString(sub, QStringLiteral("FileName")).value_or(QString());
        if (!files || !store.valueExists(sub, QStringLiteral("AbsolutId")))
            qCWarning(lcMarks) << "bookmark" << i << "lacks a number; read with defaults";
        // A bookmark names a file in the chapter folder, as the bookmark file does;
        // one that points elsewhere is dropped. A command entry opens no file: it
        // keeps its place without the name.
        if (!isPlainFileName(file)) {
            qCWarning(lcMarks) << "bookmark" << i << "names a file outside the chapter folder; dropped";
            if (list.size() >= MarkCommandCount)
                continue;
            m.FileName = folder;
        } else {
            m.FileName = folder + file;
        }
        list.append(m);
    }
    m_list = list;
    m_menu = m_menu.mid(0, MarkCommandCount);
    for (int i = MarkCommandCount; i < m_list.size(); ++i)
        m_menu.append(bookmarkItem(m_list[i]));
}

bool Bookmarks::SaveBookmarks(SettingsStore& store) const
{
    const QString key = marksKey();
    // One file write for the whole list, however long it is.
    store.beginBatch();
    bool ok = store.deleteKey(key);
    for (int i = 0; i < m_list.size(); ++i) {
        const TTreeMark& m = m_list[i];
        const QString sub = key + QString::number(i) + QLatin1Char('\\');
        ok &= store.writeString(sub, QStringLiteral("Name"), m.Name);
        ok &= store.writeInteger(sub, QStringLiteral("TreeType"), m.TreeType.testFlag(ttFiles) ? 1 : 0);
        ok &= store.writeString(sub, QStringLiteral("Caption"), m.Caption);
        ok &= store.writeString(sub, QStringLiteral("FileName"), FileNamePart(m.FileName));
        ok &= store.writeInteger(sub, QStringLiteral("AbsolutId"), m.AbsolutId);
    }
    return store.endBatch() && ok;
}

int Bookmarks::AddBookmark(const TTreeMark& source, const QString& caption)
{
    const int k = int(m_menu.size());
    const int before = int(m_list.size());
    m_list.resize(k + 1);
    // Command entries that did not exist yet take their fixed item's name and caption.
    for (int i = before; i < std::min(k, MarkCommandCount); ++i) {
        m_list[i].Name = m_menu[i].Name;
        m_list[i].Caption = m_menu[i].Caption;
    }
    for (int i = MarkCommandCount; i < k; ++i) {
        m_list[i].Name = QStringLiteral("mark_") + QString::number(i - 4);
        // The items carry their entries' names, so that names never repeat.
        m_menu[i].Name = m_list[i].Name;
    }
    TTreeMark& m = m_list[k];
    m.AbsolutId = source.AbsolutId;
    m.TreeType = source.TreeType;
    m.FileName = source.FileName;
    m.Name = QStringLiteral("mark_") + QString::number(k - 4);
    m.Caption = caption;
    m.ShortCut = 0;
    m_menu.append(bookmarkItem(m));
    return k;
}

void Bookmarks::MoveToFolder(const QString& chapterFolder)
{
    const QString folder = folderPrefix(chapterFolder);
    for (int i = 0; i < m_list.size(); ++i) {
        TTreeMark& m = m_list[i];
        m.FileName = folder + FileNamePart(m.FileName);
        if (i >= MarkCommandCount && i < m_menu.size())
            m_menu[i].Hint = MarkHint(m.FileName);
    }
}

QList<TTreeMark> Bookmarks::commandEntries() const
{
    QList<TTreeMark> out;
    for (int i = 0; i < MarkCommandCount; ++i) {
        TTreeMark m;
        m.Name = m_menu[i].Name;
        m.Caption = m_menu[i].Caption;
        m.ShortCut = m_menu[i].ShortCut;
        m.TreeType = ttCommand;
        m.AbsolutId = -1;
        out.append(m);
    }
    return out;
}

void Bookmarks::rebuildMenu()
{
    if (m_list.size() < MarkCommandCount)
        return;
    m_menu.clear();
    m_menu.reserve(m_list.size());
    for (int i = 0; i < m_list.size(); ++i) {
        TMarkMenuItem item = bookmarkItem(m_list[i]);
        if (i < MarkCommandCount)
            item.Hint.clear();
        m_menu.append(item);
    }
}

bool Bookmarks::replaceList(const QList<TTreeMark>& list)
{
    if (list.size() < MarkCommandCount)
        return false;
    m_list = list;
    rebuildMenu();
    return true;
}

Bookmarks::ExportResult Bookmarks::ExportBookmarks(const QString& fileName, QString* error) const
{
    auto createError = [&](const QString& why) {
        if (error)
            *error = QStringLiteral("Nelze vytvořit soubor \"") + QDir::toNativeSeparators(fileName)
                + QStringLiteral("\".") + (why.isEmpty() ? QString() : P(ProfileId::LineBreak) + why);
        return ExportResult::CreateError;
    };
    if (QFileInfo(fileName).isDir())
        return createError(QStringLiteral("Je to složka."));

    AtomicFile file(fileName);
    FileError failure;
    if (!file.open(&failure))
        return createError(failure.message);
    for (int i = 0; i < m_list.size(); ++i) {
        const quint16 shortCut = i < mpSeparMark && i < m_menu.size() ? m_menu[i].ShortCut : 0;
        const Record r = makeRecord(m_list[i], shortCut);
        if (!file.write(QByteArrayView(r.data(), MarkRecordSize))) {
            if (error)
                *error = file.device().errorString();
            return ExportResult::WriteError;
        }
    }
    if (!file.commit(&failure)) {
        if (error)
            *error = failure.message;
        return ExportResult::WriteError;
    }
    return ExportResult::Ok;
}

std::optional<QList<TTreeMark>> Bookmarks::ReadBookmarkFile(const QString& fileName, const QString& chapterFolder,
                                                            QString* error)
{
    auto fail = [&](const QString& why) -> std::optional<QList<TTreeMark>> {
        qCWarning(lcMarks) << "bookmark file" << fileName << "refused:" << why;
        if (error)
            *error = why;
        return std::nullopt;
    };
    // Only a regular file: a folder, a pipe or a device is no bookmark file.
    const QFileInfo info(fileName);
    if (!info.isFile())
        return fail(QStringLiteral("not a file"));
    QFile file(fileName);
    if (!file.open(QIODevice::ReadOnly))
        return fail(file.errorString());
    return ReadBookmarkDevice(file, chapterFolder, error);
}

std::optional<QList<TTreeMark>> Bookmarks::ReadBookmarkDevice(QIODevice& file, const QString& chapterFolder,
                                                              QString* error)
{
    auto fail = [&](const QString& why) -> std::optional<QList<TTreeMark>> {
        qCWarning(lcMarks) << "bookmark file refused:" << why;
        if (error)
            *error = why;
        return std::nullopt;
    };
    // A trailing part shorter than a record is ignored.
    const qint64 count = (file.size() - file.pos()) / MarkRecordSize;
    if (count < MarkCommandCount)
        return fail(QStringLiteral("fewer records than the fixed commands"));

    const QString folder = folderPrefix(chapterFolder);
    QList<TTreeMark> list;
    Record r;
    QString why;
    // Record by record: the file's size promises nothing about its contents.
    for (qint64 i = 0; i < count; ++i) {
        if (file.read(r.data(), MarkRecordSize) != MarkRecordSize)
            return fail(QStringLiteral("record %1 cannot be read").arg(i));
        auto m = parseRecord(r, folder, &why);
        if (!m)
            return fail(QStringLiteral("record %1: %2").arg(i).arg(why));
        list.append(*m);
    }
    return list;
}

bool Bookmarks::ImportBookmarks(const QString& fileName, const QString& chapterFolder, QString* error)
{
    const auto list = ReadBookmarkFile(fileName, chapterFolder, error);
    return list && replaceList(*list);
}

} // namespace tavio
