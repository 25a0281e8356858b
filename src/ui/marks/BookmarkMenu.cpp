#include "BookmarkMenu.h"

#include "ImageList.h"
#include "MessageService.h"
#include "marks/TfrmSortMarks.h"
#include "widgets/WindowSize.h"

#include <QAction>
#include <QFileDialog>
#include <QFileInfo>
#include <QMenu>

namespace tavio {

namespace {
const QString NoName = QStringLiteral("Nebyl zadán název záložky");
const QString FileNotFound = QStringLiteral("Soubor nebyl nalezen");
const QString MarkFilter = QStringLiteral("Soubory záložek [*.mrk] (*.mrk)");

QString runFileDialog(QWidget* parent, const QString& title, bool save)
{
    QFileDialog dlg(parent, title);
    dlg.setNameFilter(MarkFilter);
    dlg.setOption(QFileDialog::HideNameFilterDetails);
    dlg.setDefaultSuffix(QStringLiteral("mrk"));
    dlg.setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    dlg.setFileMode(save ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
    FitFileTypes(&dlg);
    if (dlg.exec() != QDialog::Accepted)
        return {};
    return dlg.selectedFiles().value(0);
}

QKeySequence keyOf(quint16 shortCut)
{
    const QKeyCombination key = ShortCutToKey(shortCut);
    return key.key() == Qt::Key(0) ? QKeySequence() : QKeySequence(key);
}
} // namespace

BookmarkDialogs BookmarkDialogs::standard()
{
    BookmarkDialogs d;
    d.inputText = InputBox;
    d.saveFile = [](QWidget* parent) {
        return runFileDialog(parent, QStringLiteral("Exportovat záložky do souboru"), true);
    };
    d.openFile = [](QWidget* parent) {
        return runFileDialog(parent, QStringLiteral("Importovat záložky ze souboru"), false);
    };
    d.runManager = [](TfrmSortMarks& manager) { manager.exec(); };
    return d;
}

BookmarkMenu::BookmarkMenu(SettingsStore& store, QMenu* mnuMarks, QWidget* mainWindow)
    : QObject(mnuMarks)
    , m_store(store)
    , m_menu(mnuMarks)
    , m_main(mainWindow)
{
    const QList<QAction*> present = m_menu->actions();
    Q_ASSERT(present.size() >= MarkCommandCount);
    m_fixed = present.mid(0, MarkCommandCount);
    // The commands keep their QAction objects: a rebuild gives them the captions and
    // shortcuts of the list's command entries, and their handlers stay by position.
    connect(m_fixed[mpAddMark], &QAction::triggered, this, &BookmarkMenu::addMarkRequested);
    connect(m_fixed[mpEditMark], &QAction::triggered, this, &BookmarkMenu::mnuEditMarkClick);
    connect(m_fixed[mpMarksImport], &QAction::triggered, this, &BookmarkMenu::mnuMarksImportClick);
    connect(m_fixed[mpMarksExport], &QAction::triggered, this, &BookmarkMenu::mnuMarksExportClick);
}

BookmarkMenu::~BookmarkMenu() = default;

void BookmarkMenu::syncFixedAction(int position)
{
    QAction* a = m_fixed[position];
    const TMarkMenuItem& item = m_marks.menu()[position];
    a->setObjectName(item.Name);
    a->setShortcut(keyOf(item.ShortCut));
    if (position == mpSeparMark) {
        // Its caption "-" is what makes it a separator line.
        a->setSeparator(item.Caption == QStringLiteral("-"));
        a->setText(a->isSeparator() ? QString() : item.Caption);
    } else {
        a->setText(item.Caption);
        a->setIcon(ImageList::icon(MarkMenuImage(position)));
    }
}

void BookmarkMenu::updateBookmarkAction(QAction* a, const TMarkMenuItem& item)
{
    a->setObjectName(item.Name);
    a->setText(item.Caption);
    a->setShortcut(keyOf(item.ShortCut));
    a->setStatusTip(item.Hint);
    a->setToolTip(item.Hint);
}

QAction* BookmarkMenu::makeBookmarkAction(int position)
{
    auto* a = new QAction(ImageList::icon(MarkMenuImage(position)), QString(), m_menu);
    updateBookmarkAction(a, m_marks.menu()[position]);
    // The entry is found by the item's position at the moment it is chosen.
    connect(a, &QAction::triggered, this, [this, a] { OpenBookmark(int(m_menu->actions().indexOf(a))); });
    m_menu->addAction(a);
    return a;
}

void BookmarkMenu::RebuildBookmarkMenu()
{
    m_marks.rebuildMenu();
    for (int i = 0; i < MarkCommandCount; ++i)
        syncFixedAction(i);
    // Removed items go once control has left whatever handler is running.
    for (QAction* a : std::as_const(m_items)) {
        m_menu->removeAction(a);
        a->deleteLater();
    }
    m_items.clear();
    for (int i = MarkCommandCount; i < m_marks.menu().size(); ++i)
        m_items.append(makeBookmarkAction(i));
    emit menuRebuilt();
}

bool BookmarkMenu::replaceBookmarks(const QList<TTreeMark>& list)
{
    if (!m_marks.replaceList(list))
        return false;
    RebuildBookmarkMenu();
    return true;
}

void BookmarkMenu::LoadBookmarks(const QString& chapterFolder)
{
    m_folder = chapterFolder;
    m_marks.LoadBookmarks(m_store, chapterFolder);
    for (QAction* a : std::as_const(m_items)) {
        m_menu->removeAction(a);
        a->deleteLater();
    }
    m_items.clear();
    for (int i = MarkCommandCount; i < m_marks.menu().size(); ++i)
        m_items.append(makeBookmarkAction(i));
}

void BookmarkMenu::SaveBookmarks()
{
    m_marks.SaveBookmarks(m_store);
}

void BookmarkMenu::MoveToFolder(const QString& chapterFolder)
{
    m_folder = chapterFolder;
    m_marks.MoveToFolder(chapterFolder);
    for (int i = 0; i < m_items.size(); ++i)
        updateBookmarkAction(m_items[i], m_marks.menu()[MarkCommandCount + i]);
}

bool BookmarkMenu::AddBookmark(const TTreeMark& proposal)
{
    // A bookmark always points at a chapter file.
    if (FileNamePart(proposal.FileName).isEmpty())
        return false;
    const auto entered = dialogs.inputText(m_main, QStringLiteral("Vytvořit novou záložku"),
                                           QStringLiteral("Název záložky:"), proposal.Caption.trimmed());
    if (!entered)
        return true;
    if (entered->trimmed().isEmpty()) {
        ShowMessage(m_main, NoName, MsgIcon::Error);
        return true;
    }
    // The Enter that closed the input box must not open the tree's chapter.
    if (bookmarkFlag)
        *bookmarkFlag = true;
    m_marks.AddBookmark(proposal, *entered);
    // The earlier bookmarks were renumbered.
    for (int i = 0; i < m_items.size(); ++i)
        m_items[i]->setObjectName(m_marks.menu()[MarkCommandCount + i].Name);
    m_items.append(makeBookmarkAction(int(m_marks.menu().size()) - 1));
    return true;
}

void BookmarkMenu::addBookmarkCommand(const TTreeMark& proposal)
{
    if (!AddBookmark(proposal))
        ShowMessage(m_main, QStringLiteral("Záložku nelze vytvořit"), MsgIcon::Error);
}

TTreeMark BookmarkMenu::proposalFromChapterView(const QString& locationName) const
{
    bool notFound = false;
    TTreeMark m = MarkFromChapterView(m_folder, locationName, &notFound);
    if (notFound)
        ShowMessage(m_main, FileNotFound, MsgIcon::Error);
    return m;
}

void BookmarkMenu::OpenBookmark(int position)
{
    const TTreeMark* mark = m_marks.entryAt(position);
    if (position < MarkCommandCount || !mark)
        return;
    if (!QFileInfo(mark->FileName).isFile()) {
        ShowMessage(m_main, FileNotFound, MsgIcon::Error);
        return;
    }
    emit openBookmark(position, mark->FileName);
}

void BookmarkMenu::mnuEditMarkClick()
{
    {
        TfrmSortMarks manager(*this, showHints ? showHints() : true, m_main);
        dialogs.runManager(manager);
    }
    if (activateChapterView)
        activateChapterView();
}

void BookmarkMenu::mnuMarksExportClick()
{
    if (m_marks.bookmarkCount() <= 0) {
        ShowMessage(m_main, QStringLiteral("Nebyly vytvořeny žádné záložky => není co exportovat"), MsgIcon::Error);
        return;
    }
    const QString file = dialogs.saveFile(m_main);
    if (file.isEmpty())
        return;
    QString error;
    switch (m_marks.ExportBookmarks(file, &error)) {
    case Bookmarks::ExportResult::Ok:
        ShowMessage(m_main, QStringLiteral("Záložky byly uloženy"), MsgIcon::Information);
        break;
    case Bookmarks::ExportResult::WriteError:
        ShowMessage(m_main, QStringLiteral("Chyba při ukládání záložek."), MsgIcon::Error);
        break;
    case Bookmarks::ExportResult::CreateError:
        ShowMessage(m_main, error, MsgIcon::Error);
        break;
    }
}

void BookmarkMenu::mnuMarksImportClick()
{
    const QString file = dialogs.openFile(m_main);
    if (file.isEmpty())
        return;
    if (!m_marks.ImportBookmarks(file, m_folder)) {
        ShowMessage(m_main, QStringLiteral("Chyba při čtení záložek."), MsgIcon::Error);
        return;
    }
    RebuildBookmarkMenu();
    ShowMessage(m_main, QStringLiteral("Záložky byly načteny"), MsgIcon::Information);
}

} // namespace tavio
