#pragma once

#include "Bookmarks.h"

#include <QList>
#include <QObject>

#include <functional>
#include <optional>

class QAction;
class QMenu;
class QWidget;

namespace tavio {

class SettingsStore;
class TfrmSortMarks;

// How the bookmark commands ask the user; tests replace them.
struct BookmarkDialogs
{
    // An input box; nothing on Cancel.
    std::function<std::optional<QString>(QWidget* parent, const QString& caption, const QString& prompt,
                                         const QString& text)>
        inputText;
    // The export and import file dialogs; empty on Cancel.
    std::function<QString(QWidget* parent)> saveFile;
    std::function<QString(QWidget* parent)> openFile;
    // Runs the manager modally.
    std::function<void(TfrmSortMarks& manager)> runManager;

    static BookmarkDialogs standard();
};

// The bookmark menu "&Záložky": its five fixed commands (the main window's own
// actions, kept for the whole run so that their handlers follow their positions),
// one item per bookmark after them, and the bookmark commands.
class BookmarkMenu final : public QObject
{
    Q_OBJECT
public:
    // mnuMarks must hold the five fixed items in their order.
    BookmarkMenu(SettingsStore& store, QMenu* mnuMarks, QWidget* mainWindow);
    ~BookmarkMenu() override;

    Bookmarks& bookmarks() { return m_marks; }
    const Bookmarks& bookmarks() const { return m_marks; }
    QMenu* mnuMarks() const { return m_menu; }
    SettingsStore& store() const { return m_store; }
    QWidget* mainWindow() const { return m_main; }
    QAction* fixedAction(int position) const { return m_fixed.value(position); }
    QString chapterFolder() const { return m_folder; }

    // At start, once the chapter folder is known.
    void LoadBookmarks(const QString& chapterFolder);
    // At exit, first of the saves.
    void SaveBookmarks();
    // After every chapter folder change: each path moves to the new folder.
    void MoveToFolder(const QString& chapterFolder);

    // Asks for the name of a bookmark to what the page offers (Caption: the proposed
    // name). False when no bookmark can be made: the proposal names no chapter file.
    // Cancel and an empty name make nothing and return true.
    bool AddBookmark(const TTreeMark& proposal);
    // AddBookmark with the message for a bookmark that cannot be made.
    void addBookmarkCommand(const TTreeMark& proposal);
    // The proposal of the chapter view; a missing file is reported as the title reader does.
    TTreeMark proposalFromChapterView(const QString& locationName) const;

    // The bookmark item at a menu position was chosen.
    void OpenBookmark(int position);

    // Remakes the items after the fixed ones from the list, and the fixed commands'
    // captions and shortcuts from its command entries.
    void RebuildBookmarkMenu();
    // The manager's OK: the new list, then the rebuilt menu.
    bool replaceBookmarks(const QList<TTreeMark>& list);

    void mnuEditMarkClick();
    void mnuMarksImportClick();
    void mnuMarksExportClick();

    BookmarkDialogs dialogs = BookmarkDialogs::standard();
    // The bookmark flag of the main window's Enter guard.
    bool* bookmarkFlag = nullptr;
    // The main window's hint option, for the manager's list.
    std::function<bool()> showHints;
    // Runs when the manager is gone: the chapter view takes the keyboard again.
    std::function<void()> activateChapterView;

signals:
    // "Přidat záložku ..." was chosen: the main window builds the page's proposal.
    void addMarkRequested();
    // A bookmark whose chapter file exists was chosen.
    void openBookmark(int position, const QString& fileName);
    // The items were remade (import, the manager's OK).
    void menuRebuilt();

private:
    void syncFixedAction(int position);
    QAction* makeBookmarkAction(int position);
    void updateBookmarkAction(QAction* action, const TMarkMenuItem& item);

    SettingsStore& m_store;
    QMenu* m_menu;
    QWidget* m_main;
    Bookmarks m_marks;
    QList<QAction*> m_fixed;
    QList<QAction*> m_items; // the bookmarks' items, in menu order
    QString m_folder;
};

} // namespace tavio
