#pragma once

#include <QHash>
#include <QMenu>

#include <functional>

class QTreeView;

namespace tavio {

class CataloguePage;
class CustomTreePage;
class FrameState;

// popmnuCustomTree: the pop-up menu of both chapter trees, trwFiles and trwCustom.
// What it offers depends on the page that is active when it opens.
class TreePopupMenu final : public QMenu
{
    Q_OBJECT
public:
    static constexpr int CataloguePageIndex = 0;
    static constexpr int CustomPageIndex = 2;

    // activePage: the index of the main window's active page. The menu becomes the
    // context menu of both trees.
    TreePopupMenu(CataloguePage& catalogue, CustomTreePage& custom, std::function<int()> activePage,
                  QWidget* parent = nullptr);

    // popAddTab, popSepar00, popAddToMainList, popSepar01, popCreateDir, popDelDir,
    // popSelDir, popMoveToSelDir, popRenameDir, popSepar02, popTreeExpand, popTreeCollapse.
    QAction* item(const QString& name) const { return m_items.value(name); }

    // Adjusts the items to the active page; runs each time the menu opens.
    void popmnuCustomTreePopup();

    // With the shared state the menu also marks chapters read or unread (popMarkRead,
    // popMarkUnread, after popSepar03).
    void setFrameState(FrameState* state);

    void popTreeExpandClick();
    void popTreeCollapseClick();

private:
    QAction* addItem(const char* name, const QString& caption, const QString& icon);
    QAction* addSeparatorItem(const char* name);
    void attach(QTreeView* tree);

    CataloguePage& m_catalogue;
    CustomTreePage& m_custom;
    std::function<int()> m_activePage;
    FrameState* m_state = nullptr;
    QHash<QString, QAction*> m_items;
};

} // namespace tavio
