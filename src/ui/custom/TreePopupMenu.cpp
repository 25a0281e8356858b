#include "TreePopupMenu.h"

#include "FrameState.h"
#include "library/ReadingMarks.h"
#include "Catalogue.h"
#include "ChapterTree.h"
#include "CustomTreeEditor.h"
#include "ImageList.h"
#include "custom/CustomTreePage.h"
#include "library/CataloguePage.h"
#include "widgets/TreeModel.h"

#include <QTreeView>

namespace tavio {

TreePopupMenu::TreePopupMenu(CataloguePage& catalogue, CustomTreePage& custom, std::function<int()> activePage,
                             QWidget* parent)
    : QMenu(parent)
    , m_catalogue(catalogue)
    , m_custom(custom)
    , m_activePage(std::move(activePage))
{
    setObjectName(QStringLiteral("popmnuCustomTree"));
    QAction* addTab = addItem("popAddTab", QStringLiteral("Přidat záložku"), ImageList::nameOf(26));
    addSeparatorItem("popSepar00");
    QAction* addToMain = addItem("popAddToMainList", QStringLiteral("Přidat do vlastního seznamu"),
                                 QStringLiteral("add-to-custom-list"));
    addSeparatorItem("popSepar01");
    QAction* createDir = addItem("popCreateDir", QStringLiteral("Vytvořit složku"), QStringLiteral("create-folder"));
    QAction* delDir = addItem("popDelDir", QStringLiteral("Smazat složku"), QStringLiteral("delete"));
    QAction* selDir = addItem("popSelDir", QStringLiteral("Označit složku"), ImageList::nameOf(21));
    QAction* moveToSel = addItem("popMoveToSelDir", QStringLiteral("Přesunout do ozn. složky"),
                                 QStringLiteral("move-into-marked-folder"));
    QAction* renameDir = addItem("popRenameDir", QStringLiteral("Změnit název složky"), QStringLiteral("rename-folder"));
    addSeparatorItem("popSepar02");
    QAction* expand = addItem("popTreeExpand", QStringLiteral("Rozbalit celý strom"), QStringLiteral("expand-all"));
    QAction* collapse = addItem("popTreeCollapse", QStringLiteral("Sbalit celý strom"), QStringLiteral("collapse-all"));

    addTab->setEnabled(false);
    connect(addToMain, &QAction::triggered, this,
            [this] { m_custom.popAddToMainListClick(m_catalogue.selectedNode()); });
    connect(createDir, &QAction::triggered, &m_custom, &CustomTreePage::tlbCreateDirClick);
    connect(delDir, &QAction::triggered, &m_custom, &CustomTreePage::tlbDelDirClick);
    connect(selDir, &QAction::triggered, &m_custom, &CustomTreePage::tlbSelUnselDirClick);
    connect(moveToSel, &QAction::triggered, &m_custom, &CustomTreePage::tlbMoveToSelDirClick);
    connect(renameDir, &QAction::triggered, &m_custom, &CustomTreePage::tlbRenameDirClick);
    connect(expand, &QAction::triggered, this, &TreePopupMenu::popTreeExpandClick);
    connect(collapse, &QAction::triggered, this, &TreePopupMenu::popTreeCollapseClick);
    addSeparatorItem("popSepar03");
    QAction* markRead = addItem("popMarkRead", QStringLiteral("Označit jako přečtenou"), {});
    QAction* markUnread = addItem("popMarkUnread", QStringLiteral("Označit jako nepřečtenou"), {});
    for (QAction* a : {item(QStringLiteral("popSepar03")), markRead, markUnread})
        a->setVisible(false);
    const auto mark = [this](bool read) {
        const int page = m_activePage();
        TreeNode* node = page == CataloguePageIndex ? m_catalogue.selectedNode()
                       : page == CustomPageIndex   ? m_custom.currentNode()
                                                   : nullptr;
        if (const QString name = ReadingMarkDelegate::chapterFileName(node); m_state && !name.isEmpty())
            m_state->setRead(name, read);
    };
    connect(markRead, &QAction::triggered, this, [mark] { mark(true); });
    connect(markUnread, &QAction::triggered, this, [mark] { mark(false); });
    connect(this, &QMenu::aboutToShow, this, &TreePopupMenu::popmnuCustomTreePopup);

    attach(m_catalogue.trwFiles());
    attach(m_custom.trwCustom());
}

QAction* TreePopupMenu::addItem(const char* name, const QString& caption, const QString& icon)
{
    QAction* a = addAction(ImageList::named(icon), caption);
    a->setObjectName(QLatin1String(name));
    m_items.insert(QLatin1String(name), a);
    return a;
}

QAction* TreePopupMenu::addSeparatorItem(const char* name)
{
    QAction* a = addSeparator();
    a->setObjectName(QLatin1String(name));
    m_items.insert(QLatin1String(name), a);
    return a;
}

void TreePopupMenu::attach(QTreeView* tree)
{
    tree->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(tree, &QWidget::customContextMenuRequested, this,
            [this, tree](const QPoint& pos) { popup(tree->viewport()->mapToGlobal(pos)); });
}

void TreePopupMenu::setFrameState(FrameState* state)
{
    m_state = state;
}

void TreePopupMenu::popmnuCustomTreePopup()
{
    if (m_catalogue.tree().isEmpty())
        return;
    const int page = m_activePage();
    const bool onCatalogue = page == CataloguePageIndex;
    const bool onCustom = page == CustomPageIndex;
    const QString hint = m_custom.moveHint();

    item(QStringLiteral("popRenameDir"))->setVisible(onCustom);
    item(QStringLiteral("popSelDir"))->setIcon(ImageList::icon(m_custom.markButtonImage()));
    item(QStringLiteral("popMoveToSelDir"))->setToolTip(hint);
    item(QStringLiteral("popMoveToSelDir"))->setStatusTip(hint);
    item(QStringLiteral("popAddToMainList"))->setVisible(onCatalogue);
    item(QStringLiteral("popSepar00"))->setVisible(onCatalogue);
    {
        TreeNode* node = onCatalogue ? m_catalogue.selectedNode() : onCustom ? m_custom.currentNode() : nullptr;
        const QString name = ReadingMarkDelegate::chapterFileName(node);
        const bool chapter = m_state && !name.isEmpty();
        const bool read = chapter && m_state->reading().isRead(name);
        item(QStringLiteral("popSepar03"))->setVisible(chapter);
        item(QStringLiteral("popMarkRead"))->setVisible(chapter && !read);
        item(QStringLiteral("popMarkUnread"))->setVisible(chapter && read);
    }

    if (onCatalogue) {
        const bool chapter = IsChapter(m_catalogue.selectedNode());
        item(QStringLiteral("popAddToMainList"))->setEnabled(chapter);
        item(QStringLiteral("popAddTab"))->setEnabled(chapter);
        for (const char* name : {"popDelDir", "popCreateDir", "popSelDir", "popMoveToSelDir"})
            item(QLatin1String(name))->setVisible(false);
        m_catalogue.trwFiles()->viewport()->update();
    } else if (onCustom) {
        TreeNode* current = m_custom.currentNode();
        m_custom.selectNode(current);
        const CustomTreeEnables e = CustomTreeEnableRules(current, m_custom.markedFolder());
        item(QStringLiteral("popRenameDir"))->setEnabled(e.popRenameDir);
        item(QStringLiteral("popAddTab"))->setEnabled(e.popAddTab);
        QAction* delDir = item(QStringLiteral("popDelDir"));
        delDir->setVisible(true);
        delDir->setEnabled(e.tlbDelDir);
        QAction* selDir = item(QStringLiteral("popSelDir"));
        selDir->setVisible(true);
        selDir->setEnabled(e.tlbSelUnselDir);
        selDir->setText(current && current == m_custom.markedFolder() ? QStringLiteral("Odeznačit složku")
                                                                      : QStringLiteral("Označit složku"));
        QAction* createDir = item(QStringLiteral("popCreateDir"));
        createDir->setVisible(true);
        createDir->setEnabled(true);
        QAction* moveToSel = item(QStringLiteral("popMoveToSelDir"));
        moveToSel->setVisible(true);
        moveToSel->setEnabled(e.tlbMoveToSelDir);
        m_custom.trwCustom()->viewport()->update();
    }
}

// The catalogue's own handlers set the images of what the view expands or collapses.
// Its folders are expanded one by one, deepest first, so that no leaf is ever
// reported as expanded (the view's expandAll would) and each expansion of a hidden
// node costs nothing.
void TreePopupMenu::popTreeExpandClick()
{
    if (m_activePage() != CataloguePageIndex) {
        m_custom.popTreeExpandClick();
        return;
    }
    QTreeView* view = m_catalogue.trwFiles();
    const TreeModel* model = m_catalogue.model();
    const std::vector<TreeNode*> nodes = m_catalogue.tree().nodes();
    for (auto it = nodes.rbegin(); it != nodes.rend(); ++it) {
        if ((*it)->hasChildren())
            view->expand(model->indexOf(*it));
    }
    if (view->currentIndex().isValid())
        view->scrollTo(view->currentIndex());
}

void TreePopupMenu::popTreeCollapseClick()
{
    if (m_activePage() != CataloguePageIndex) {
        m_custom.popTreeCollapseClick();
        return;
    }
    QTreeView* view = m_catalogue.trwFiles();
    const TreeModel* model = m_catalogue.model();
    m_catalogue.tree().forEach([&](TreeNode* n) {
        if (n->hasChildren())
            view->collapse(model->indexOf(n));
    });
}

} // namespace tavio
