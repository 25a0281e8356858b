// The custom tree page: the editing commands and dragging.
#include "CustomTreePage.h"

#include "Catalogue.h"
#include "CustomTree.h"
#include "CustomTreeEditor.h"
#include "ImageList.h"
#include "MessageService.h"
#include "Profile.h"
#include "ShellOpener.h"
#include "widgets/HintedToolBar.h"
#include "widgets/PublisherLogo.h"
#include "widgets/StatusBar.h"
#include "widgets/TreeModel.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QDrag>
#include <QFileDialog>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QInputDialog>
#include <QKeyEvent>
#include <QLabel>
#include <QLoggingCategory>
#include <QMimeData>
#include <QTreeView>

namespace tavio {

namespace {

const QString FolderNamePrompt = QStringLiteral("Název složky:");

} // namespace

void CustomTreePage::trwCustomChange(TreeNode* selected)
{
    m_current = selected;
    applyEnables(m_editor->selectionChanged(selected));
    emit selectionChanged(selected);
}

void CustomTreePage::refreshEnables()
{
    applyEnables(m_editor->selectionChanged(selectedNode()));
}

void CustomTreePage::applyEnables(const CustomTreeEnables& e)
{
    action(QStringLiteral("tlbDelDir"))->setEnabled(e.tlbDelDir);
    action(QStringLiteral("tlbRenameDir"))->setEnabled(e.tlbRenameDir);
    QAction* mark = action(QStringLiteral("tlbSelUnselDir"));
    mark->setEnabled(e.tlbSelUnselDir);
    mark->setIcon(ImageList::icon(m_editor->markButtonImage()));
    action(QStringLiteral("tlbMoveToSelDir"))->setEnabled(e.tlbMoveToSelDir);
    action(QStringLiteral("tlbAddMark"))->setEnabled(e.tlbAddMark);
}

void CustomTreePage::updateMoveHint()
{
    QAction* move = action(QStringLiteral("tlbMoveToSelDir"));
    const QString hint = m_editor->moveHint();
    move->setText(hint);
    move->setToolTip(hint);
    move->setStatusTip(hint);
}

void CustomTreePage::tlbUpClick()
{
    if (m_editor->moveUp(selectedNode())) {
        m_trwCustom->scrollTo(m_trwCustom->currentIndex());
        refreshEnables();
    }
}

void CustomTreePage::tlbDownClick()
{
    if (m_editor->moveDown(selectedNode())) {
        m_trwCustom->scrollTo(m_trwCustom->currentIndex());
        refreshEnables();
    }
}

void CustomTreePage::tlbCreateDirClick()
{
    if (!m_trwCustom->hasFocus())
        m_trwCustom->setFocus();
    const auto name = m_inputDialog(m_main, QStringLiteral("Vytvořit novou složku"), FolderNamePrompt,
                                    QStringLiteral("Nová složka"));
    if (!name)
        return;
    TreeNode* made = nullptr;
    const CreateFolderResult result = m_editor->createFolder(selectedNode(), *name, &made);
    if (result != CreateFolderResult::Created) {
        ShowMessage(m_main, CreateFolderMessage(result), MsgIcon::Error);
        return;
    }
    selectNode(made);
}

void CustomTreePage::tlbRenameDirClick()
{
    const auto name = m_inputDialog(m_main, QStringLiteral("Přejmenovat vybranou složku"), FolderNamePrompt, QString());
    if (!name)
        return;
    TreeNode* node = m_current;
    if (!m_editor->renameFolder(node, *name))
        return; // a blank name does nothing and says nothing
    selectNode(node);
    updateMoveHint();
}

void CustomTreePage::tlbDelDirClick()
{
    if (m_editor->deleteEmptyFolder(selectedNode())) {
        updateMoveHint();
        refreshEnables();
    }
}

void CustomTreePage::tlbSelUnselDirClick()
{
    m_editor->toggleMark(selectedNode());
    refreshEnables();
    updateMoveHint();
    m_trwCustom->viewport()->update();
}

void CustomTreePage::tlbMoveToSelDirClick()
{
    TreeNode* next = nullptr;
    if (m_editor->moveToMarkedFolder(selectedNode(), &next) == CustomTreeEditor::MoveResult::Failed) {
        ShowMessage(m_main, QStringLiteral("Soubor nelze přesunout"), MsgIcon::Error);
        return;
    }
    selectNode(next);
}

void CustomTreePage::popTreeExpandClick()
{
    m_trwCustom->expandAll();
    if (m_trwCustom->currentIndex().isValid())
        m_trwCustom->scrollTo(m_trwCustom->currentIndex());
}

void CustomTreePage::popTreeCollapseClick()
{
    m_trwCustom->collapseAll();
}

void CustomTreePage::trwCustomStartDrag()
{
    m_dragged = selectedNode();
}

void CustomTreePage::trwCustomDragOver(const QPoint& pos)
{
    TreeNode* n = nodeAt(pos);
    if (!n)
        return;
    // Selecting the neighbours scrolls the tree while a node is dragged along its edges.
    const QRect row = m_trwCustom->visualRect(m_model->indexOf(n));
    if (pos.y() + 15 < row.top() + row.height()) {
        if (TreeNode* after = NodeAfter(n))
            selectNode(after);
    }
    if (n == nodeAt(QPoint(0, 0))) {
        if (TreeNode* before = NodeBefore(n))
            selectNode(before);
    }
}

void CustomTreePage::trwCustomDragDrop(const QPoint& pos)
{
    TreeNode* over = nodeAt(pos);
    if (!m_dragged || !over)
        return;
    m_editor->drop(m_dragged, over);
    selectNode(m_dragged);
    refreshEnables();
}

void CustomTreePage::trwCustomEndDrag()
{
    m_dragged = nullptr;
}

} // namespace tavio
