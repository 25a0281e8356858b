#pragma once

#include <QFlags>
#include <QKeyCombination>
#include <QList>
#include <QString>

#include <optional>

class QIODevice;

// Bookmarks: the bookmark list, the items of the bookmark menu as data, their keys
// in the settings store and the bookmark file (*.mrk).
namespace tavio {

class SettingsStore;

// Where a bookmark was made; flag n is bit n of the stored byte.
enum TTreeType : quint8 {
    ttFiles = 0x01,   // the catalogue tree
    ttCustom = 0x02,  // the custom tree
    ttView = 0x04,    // the chapter view
    ttCommand = 0x08, // a command entry of the bookmark menu
};
Q_DECLARE_FLAGS(TTreeTypes, TTreeType)
Q_DECLARE_OPERATORS_FOR_FLAGS(TTreeTypes)

struct TTreeMark
{
    QString Name;        // "mark_<n>", or the name of a fixed menu item
    TTreeTypes TreeType;
    QString Caption;     // as typed; the fixed item's caption for a command entry
    qint32 AbsolutId = 0; // pre-order index of the tree node; -1 from the chapter view
    QString FileName;    // full path of the chapter file
    quint16 ShortCut = 0;
    friend bool operator==(const TTreeMark&, const TTreeMark&) = default;
};

// One item of the bookmark menu. Its image and its command follow its position.
struct TMarkMenuItem
{
    QString Name;
    QString Caption; // as the menu shows it: ampersands escaped
    quint16 ShortCut = 0;
    QString Hint;    // bookmarks only
    friend bool operator==(const TMarkMenuItem&, const TMarkMenuItem&) = default;
};

// Positions of the fixed items at the top of the bookmark menu.
enum MarkMenuPosition : int { mpAddMark = 0, mpEditMark = 1, mpMarksImport = 2, mpMarksExport = 3, mpSeparMark = 4 };
inline constexpr int MarkCommandCount = 5;

// The image of the item at a menu position; -1 for none.
int MarkMenuImage(int position);
// The hint of a bookmark's menu item.
QString MarkHint(const QString& fileName);

// Each "&&" becomes "&"; everything else, a lone "&" included, stays.
QString UnescapeAmpersands(const QString& text);

// The toolkit's 16-bit shortcut codes (Shift 0x2000, Ctrl 0x4000, Alt 0x8000 plus a
// virtual-key code). A code without a key of its own gives an empty combination,
// and such a combination gives 0.
QKeyCombination ShortCutToKey(quint16 code);
quint16 KeyToShortCut(QKeyCombination key);

// The text after the last separator of a path.
QString FileNamePart(const QString& path);

// Record size of the bookmark file.
inline constexpr qint64 MarkRecordSize = 827;

// What the active page offers for a new bookmark; Caption holds the proposed name.
// from: ttFiles (catalogue) or ttCustom (custom tree).
TTreeMark MarkFromTreeNode(TTreeType from, const QString& nodeCaption, int absoluteIndex,
                           const QString& chapterFolder);
// The chapter shown in the view; the proposed name is its title, read from the file
// (an empty name when the file cannot be read; notFound tells why).
TTreeMark MarkFromChapterView(const QString& chapterFolder, const QString& locationName, bool* notFound = nullptr);

// The bookmark list and the bookmark menu's items, kept in step: entry i belongs to
// the item at position i. Before the first bookmark the list may be empty while the
// menu holds its five fixed items.
class Bookmarks final
{
public:
    Bookmarks();

    static QString marksKey(); // root + "Marks\"
    // The five fixed items as the main window defines them.
    static QList<TMarkMenuItem> fixedItems();

    const QList<TTreeMark>& list() const { return m_list; }
    const QList<TMarkMenuItem>& menu() const { return m_menu; }
    int bookmarkCount() const { return int(m_menu.size()) - MarkCommandCount; }
    // The entry behind the menu item at position; nullptr when the list has none.
    const TTreeMark* entryAt(int position) const;

    // Reads the list from the store; the fixed items stay, one item follows per bookmark.
    void LoadBookmarks(const SettingsStore& store, const QString& chapterFolder);
    // Rewrites the store's "Marks" key from the list. False when a write failed.
    bool SaveBookmarks(SettingsStore& store) const;

    // Appends a bookmark for source (TreeType, AbsolutId, FileName) named caption;
    // fills missing command entries and renumbers the bookmarks from mark_1.
    // Returns the new entry's index.
    int AddBookmark(const TTreeMark& source, const QString& caption);

    // Every path moves to the new chapter folder (ending with a separator).
    void MoveToFolder(const QString& chapterFolder);

    // The command entries the manager starts its new list with: made from the fixed items.
    QList<TTreeMark> commandEntries() const;
    // Remakes every menu item from the list: names, captions (escaped), shortcuts and
    // the bookmarks' hints. A list without its five command entries leaves the fixed
    // items as they are.
    void rebuildMenu();
    // Replaces the list and remakes the menu items. Refused (false) for a list without
    // its five command entries, which would take the fixed commands off the menu.
    bool replaceList(const QList<TTreeMark>& list);

    enum class ExportResult { Ok, CreateError, WriteError };
    // One 827-byte record per entry; the shortcuts of records 0 to 3 are those of the
    // menu's items. error receives the file layer's text for CreateError.
    ExportResult ExportBookmarks(const QString& fileName, QString* error = nullptr) const;
    // Reads the file record by record and, when every record passes its checks,
    // replaces the list and the menu items. A failed import changes nothing.
    bool ImportBookmarks(const QString& fileName, const QString& chapterFolder, QString* error = nullptr);

    // The records of a bookmark file, checked; nothing when a check fails.
    static std::optional<QList<TTreeMark>> ReadBookmarkFile(const QString& fileName, const QString& chapterFolder,
                                                            QString* error = nullptr);
    // The same from an open device, read from where it stands to its end.
    static std::optional<QList<TTreeMark>> ReadBookmarkDevice(QIODevice& device, const QString& chapterFolder,
                                                              QString* error = nullptr);

private:
    TMarkMenuItem bookmarkItem(const TTreeMark& mark) const;

    QList<TTreeMark> m_list;
    QList<TMarkMenuItem> m_menu;
};

} // namespace tavio
