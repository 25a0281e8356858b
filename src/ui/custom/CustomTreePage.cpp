#include "CustomTreePage.h"

#include "Catalogue.h"
#include "CustomTree.h"
#include "FrameState.h"
#include "CustomTreeEditor.h"
#include "ImageList.h"
#include "MessageService.h"
#include "Profile.h"
#include "ShellOpener.h"
#include "library/EnterRelease.h"
#include "library/ReadingMarks.h"
#include "widgets/HintedToolBar.h"
#include "widgets/PublisherLogo.h"
#include "widgets/StatusBar.h"
#include "widgets/TreeModel.h"
#include "widgets/WindowSize.h"

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

// The view's drags carry nothing; only a drag from the same view is accepted.
const QString DragFormat = QStringLiteral("application/x-tavio-custom-node");

// trwCustom: a drag starts when a node is dragged with the mouse, and the drag's
// events go to the page.
class CustomTreeView final : public QTreeView
{
public:
    explicit CustomTreeView(CustomTreePage* page)
        : QTreeView(page)
        , m_page(page)
    {
        viewport()->setAcceptDrops(true);
    }

protected:
    void mousePressEvent(QMouseEvent* event) override
    {
        m_pressPos = event->position().toPoint();
        m_pressedOnNode = event->button() == Qt::LeftButton && indexAt(m_pressPos).isValid();
        QTreeView::mousePressEvent(event);
    }

    void mouseMoveEvent(QMouseEvent* event) override
    {
        if (m_pressedOnNode && (event->buttons() & Qt::LeftButton)
            && (event->position().toPoint() - m_pressPos).manhattanLength() >= QApplication::startDragDistance()) {
            m_pressedOnNode = false;
            m_page->trwCustomStartDrag();
            auto* drag = new QDrag(this);
            auto* mime = new QMimeData;
            mime->setData(DragFormat, {});
            drag->setMimeData(mime);
            drag->exec(Qt::MoveAction);
            m_page->trwCustomEndDrag();
            setState(NoState);
            return;
        }
        QTreeView::mouseMoveEvent(event);
    }

    void mouseReleaseEvent(QMouseEvent* event) override
    {
        m_pressedOnNode = false;
        QTreeView::mouseReleaseEvent(event);
    }

    void dragEnterEvent(QDragEnterEvent* event) override
    {
        if (event->source() == this && event->mimeData()->hasFormat(DragFormat))
            event->acceptProposedAction();
        else
            event->ignore();
    }

    void dragMoveEvent(QDragMoveEvent* event) override
    {
        if (event->source() != this) {
            event->ignore();
            return;
        }
        m_page->trwCustomDragOver(event->position().toPoint());
        event->acceptProposedAction();
    }

    void dropEvent(QDropEvent* event) override
    {
        if (event->source() != this) {
            event->ignore();
            return;
        }
        m_page->trwCustomDragDrop(event->position().toPoint());
        event->acceptProposedAction();
    }

private:
    CustomTreePage* m_page;
    QPoint m_pressPos;
    bool m_pressedOnNode = false;
};

// Edits reach the tree through the item model, so that the view follows them.
class ModelEdits final : public TreeEdits
{
public:
    ModelEdits(TreeModel& model, QTreeView& view)
        : m_model(model)
        , m_view(view)
    {
    }
    ChapterTree& tree() override { return m_model.tree(); }
    TreeNode* addChild(TreeNode* parent, const QString& caption, int image) override
    {
        return m_model.addChild(parent, caption, image);
    }
    void remove(TreeNode* node) override { m_model.removeNode(node); }
    void move(TreeNode* node, TreeNode* parent, int row) override { m_model.moveNode(node, parent, row); }
    void setImage(TreeNode* node, int image) override
    {
        m_model.setImage(node, image);
        m_model.setSelectedImage(node, image);
    }
    void setCaption(TreeNode* node, const QString& caption) override { m_model.setCaption(node, caption); }
    void setExpanded(TreeNode* node, bool expanded) override
    {
        const QModelIndex i = m_model.indexOf(node);
        if (expanded)
            m_view.expand(i);
        else
            m_view.collapse(i);
    }

private:
    TreeModel& m_model;
    QTreeView& m_view;
};

QString defaultFileDialog(QWidget* parent, bool save)
{
    QFileDialog dialog(parent);
    dialog.setNameFilter(QStringLiteral("Soubory treeeview [*.trw] (*.trw)"));
    dialog.setOption(QFileDialog::HideNameFilterDetails);
    dialog.setDefaultSuffix(QStringLiteral("trw"));
    dialog.setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    dialog.setFileMode(save ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
    if (dialog.exec() != QDialog::Accepted)
        return {};
    return dialog.selectedFiles().value(0);
}

std::optional<QString> defaultInputDialog(QWidget* parent, const QString& caption, const QString& prompt,
                                          const QString& text)
{
    return InputBox(parent, caption, prompt, text);
}

} // namespace

CustomTreePage::CustomTreePage(const ChapterTree& catalogue, QWidget* mainWindow, QWidget* parent)
    : Page(parent)
    , m_catalogue(catalogue)
    , m_main(mainWindow)
    , m_fileDialog(defaultFileDialog)
    , m_inputDialog(defaultInputDialog)
{
    m_tlbarCustomTree = new HintedToolBar(this);
    m_tlbarCustomTree->setObjectName(QStringLiteral("tlbarCustomTree"));
    QAction* find = addButton(m_tlbarCustomTree, "tlbFindCustomNode", QStringLiteral("find-in-tree"),
                              QStringLiteral("Vyhledat ve stromu ... [F7]"), 0);
    QAction* findNext = addButton(m_tlbarCustomTree, "tlbFindNextCustomNode", QStringLiteral("find-next"),
                                  QStringLiteral("Najít další [F3]"), 0);
    m_imgOrba3 = new PublisherLogo(m_tlbarCustomTree);
    m_imgOrba3->setObjectName(QStringLiteral("imgOrba3"));
    m_tlbarCustomTree->addWidget(m_imgOrba3);
    m_lblDir = new QLabel(m_tlbarCustomTree);
    m_lblDir->setObjectName(QStringLiteral("lblDir"));
    m_lblDir->setTextFormat(Qt::PlainText);
    // A long folder path shrinks with the window instead of pushing the label off the toolbar.
    m_lblDir->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    m_lblDir->setMinimumWidth(60);
    m_tlbarCustomTree->addWidget(m_lblDir);

    m_tlbarCustomTreeRight = new HintedToolBar(this);
    m_tlbarCustomTreeRight->setObjectName(QStringLiteral("tlbarCustomTreeRight"));
    m_tlbarCustomTreeRight->setOrientation(Qt::Vertical);
    HintedToolBar* right = m_tlbarCustomTreeRight;
    QAction* up = addButton(right, "tlbUp", QStringLiteral("move-up"), QStringLiteral("Přesunout o řádek nahoru"), 61);
    QAction* down = addButton(right, "tlbDown", QStringLiteral("move-down"), QStringLiteral("Přesunout o řádek dolů"), 62);
    addButton(right, "tlbAddMark", ImageList::nameOf(26), QStringLiteral("Přidat záložku ..."), 63);
    QAction* createDir = addButton(right, "tlbCreateDir", QStringLiteral("create-folder"),
                                   QStringLiteral("Vytvořit novou složku ..."), 64);
    QAction* delDir = addButton(right, "tlbDelDir", QStringLiteral("delete"),
                                QStringLiteral("Smazat vybranou prázdnou složku"), 65);
    QAction* selDir = addButton(right, "tlbSelUnselDir", ImageList::nameOf(21),
                                QStringLiteral("Označit/odeznačit vybranou složku"), 66);
    QAction* renameDir = addButton(right, "tlbRenameDir", QStringLiteral("rename-folder"),
                                   QStringLiteral("Přejmenovat složku ..."), 67);
    QAction* moveToSel = addButton(right, "tlbMoveToSelDir", QStringLiteral("move-into-marked-folder"),
                                   QStringLiteral("Přesunout do označené složky"), 68);
    QAction* expand = addButton(right, "tlbTreeFullColl", QStringLiteral("expand-all"),
                                QStringLiteral("Rozbalit celý strom"), 69);
    QAction* collapse = addButton(right, "tlbTreeFullExp", QStringLiteral("collapse-all"),
                                  QStringLiteral("Sbalit celý strom"), 70);
    QAction* reset = addButton(right, "tlbResetCustTree", QStringLiteral("tree-reset"),
                               QStringLiteral("Resetovat vlastní seznam souborů"), 71);
    QAction* open = addButton(right, "tlbOpenTree", QStringLiteral("tree-open"),
                              QStringLiteral("Načíst vlastní seznam ..."), 72);
    QAction* save = addButton(right, "tlbSaveTree", QStringLiteral("tree-save"),
                              QStringLiteral("Uložit vlastní seznam jako ..."), 73);

    m_model = new TreeModel(m_tree, this);
    auto* view = new CustomTreeView(this);
    m_trwCustom = view;
    m_trwCustom->setObjectName(QStringLiteral("trwCustom"));
    m_trwCustom->setModel(m_model);
    m_trwCustom->setHeaderHidden(true);
    m_trwCustom->setUniformRowHeights(true);
    m_trwCustom->setIndentation(19);
    m_trwCustom->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_trwCustom->setSelectionMode(QAbstractItemView::SingleSelection);
    m_trwCustom->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_trwCustom->setAllColumnsShowFocus(true);
    m_trwCustom->setMouseTracking(true);
    m_trwCustom->header()->setSectionResizeMode(QHeaderView::ResizeToContents);
    m_trwCustom->header()->setStretchLastSection(true);
    m_trwCustom->installEventFilter(this);
    m_trwCustom->viewport()->installEventFilter(this);
    m_enterRelease = new EnterRelease(m_trwCustom);
    m_lblDir->installEventFilter(this);
    m_edits = std::make_unique<ModelEdits>(*m_model, *m_trwCustom);
    m_editor = std::make_unique<CustomTreeEditor>(*m_edits);

    auto* middle = new QHBoxLayout;
    middle->setContentsMargins(0, 0, 0, 0);
    middle->setSpacing(0);
    middle->addWidget(m_trwCustom, 1);
    middle->addWidget(m_tlbarCustomTreeRight);
    contentLayout()->addWidget(m_tlbarCustomTree);
    contentLayout()->addLayout(middle, 1);
    statusBar()->setObjectName(QStringLiteral("stbCustomTree"));
    statusBar()->setProperty("helpContext", 84);

    connect(find, &QAction::triggered, this, [this] {
        m_trwCustom->setFocus();
        emit findRequested();
    });
    connect(findNext, &QAction::triggered, this, &CustomTreePage::findNextRequested);
    connect(up, &QAction::triggered, this, &CustomTreePage::tlbUpClick);
    connect(down, &QAction::triggered, this, &CustomTreePage::tlbDownClick);
    connect(createDir, &QAction::triggered, this, &CustomTreePage::tlbCreateDirClick);
    connect(delDir, &QAction::triggered, this, &CustomTreePage::tlbDelDirClick);
    connect(selDir, &QAction::triggered, this, &CustomTreePage::tlbSelUnselDirClick);
    connect(renameDir, &QAction::triggered, this, &CustomTreePage::tlbRenameDirClick);
    connect(moveToSel, &QAction::triggered, this, &CustomTreePage::tlbMoveToSelDirClick);
    connect(expand, &QAction::triggered, this, &CustomTreePage::popTreeExpandClick);
    connect(collapse, &QAction::triggered, this, &CustomTreePage::popTreeCollapseClick);
    connect(reset, &QAction::triggered, this, &CustomTreePage::tlbResetCustTreeClick);
    connect(open, &QAction::triggered, this, &CustomTreePage::tlbOpenTreeClick);
    connect(save, &QAction::triggered, this, &CustomTreePage::tlbSaveTreeClick);

    connect(m_trwCustom, &QTreeView::doubleClicked, this, &CustomTreePage::trwCustomDblClick);
    auto expansion = [this](const QModelIndex& i, bool expanded) {
        if (TreeNode* n = m_model->nodeOf(i)) {
            const int img = m_editor->expansionImage(n, expanded);
            if (img != n->imageIndex)
                m_edits->setImage(n, img);
        }
    };
    connect(m_trwCustom, &QTreeView::expanded, this, [expansion](const QModelIndex& i) { expansion(i, true); });
    connect(m_trwCustom, &QTreeView::collapsed, this, [expansion](const QModelIndex& i) { expansion(i, false); });
    connect(m_trwCustom->selectionModel(), &QItemSelectionModel::currentChanged, this,
            [this](const QModelIndex& current) { trwCustomChange(m_model->nodeOf(current)); });
    connect(statusBar(), &StatusBar::mouseMoved, this, &CustomTreePage::stbCustomTreeMouseMove);
    connect(statusBar(), &StatusBar::doubleClicked, this, [this](int x) {
        if (x > statusBar()->panel0Width())
            emit findRequested();
    });

    trwCustomChange(nullptr);
    updateMoveHint();
}

void CustomTreePage::setFrameState(FrameState* state)
{
    m_state = state;
    if (state)
        m_trwCustom->setItemDelegate(new ReadingMarkDelegate(*state, m_model, m_trwCustom));
}

CustomTreePage::~CustomTreePage()
{
    // The view goes before the tree and the editor it reports to.
    m_trwCustom->selectionModel()->disconnect(this);
    delete m_trwCustom;
}

QAction* CustomTreePage::addButton(HintedToolBar* bar, const char* name, const QString& icon, const QString& hint,
                                   int helpContext)
{
    QAction* a = bar->addHintedAction(ImageList::named(icon), hint);
    a->setObjectName(QLatin1String(name));
    if (helpContext)
        a->setProperty("helpContext", helpContext);
    m_actions.insert(QLatin1String(name), a);
    return a;
}

void CustomTreePage::setShowHints(bool on)
{
    m_tlbarCustomTree->setShowHints(on);
    m_tlbarCustomTreeRight->setShowHints(on);
}

void CustomTreePage::setFolder(const QString& folder)
{
    m_lblDir->setText(QLatin1Char(' ') + folder);
    m_lblDir->setToolTip(folder);
    m_lblDir->setStatusTip(folder);
}

TreeNode* CustomTreePage::markedFolder() const
{
    return m_editor->markedFolder();
}

int CustomTreePage::markButtonImage() const
{
    return m_editor->markButtonImage();
}

QString CustomTreePage::moveHint() const
{
    return m_editor->moveHint();
}

TreeNode* CustomTreePage::selectedNode() const
{
    return m_model->nodeOf(m_trwCustom->currentIndex());
}

void CustomTreePage::selectNode(TreeNode* node)
{
    if (!node) {
        m_trwCustom->setCurrentIndex({});
        return;
    }
    // A selected node is always shown, whatever folders it lies in.
    for (TreeNode* p = node->parent(); p && p != m_tree.root(); p = p->parent())
        m_trwCustom->expand(m_model->indexOf(p));
    const QModelIndex i = m_model->indexOf(node);
    m_trwCustom->setCurrentIndex(i);
    m_trwCustom->scrollTo(i);
}

TreeNode* CustomTreePage::nodeAt(const QPoint& pos) const
{
    return m_model->nodeOf(m_trwCustom->indexAt(pos));
}

// ---- opening, keys, hints ----

void CustomTreePage::trwCustomDblClick()
{
    if (TreeNode* node = selectedNode())
        emit openRequested(node);
}

void CustomTreePage::trwCustomKeyUp(QKeyEvent* event)
{
    const bool ownPress = m_enterRelease->takePress(event);
    if (EnterRelease::isEnter(event)
        && !(event->modifiers() & (Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier))) {
        // Set by the find dialog and a failed tree search, or by a bookmark dialog:
        // the Enter that closed them must not open a chapter.
        const bool guarded = (m_state && (m_state->findFlag || m_state->bookmarkFlag)) || m_resetFlag;
        if (guarded) {
            if (m_state)
                m_state->findFlag = m_state->bookmarkFlag = false;
            emit findDialogCloseRequested();
        } else if (ownPress) {
            trwCustomDblClick();
        }
    }
    m_resetFlag = false;
}

void CustomTreePage::trwCustomMouseMove(const QPoint& pos)
{
    const TreeNode* n = nodeAt(pos);
    QString text;
    if (n) {
        text = n->caption;
        if (n->imageIndex == image::MarkedFolderClosed || n->imageIndex == image::MarkedFolderOpen)
            text += QStringLiteral(" [označená složka]");
    }
    statusBar()->setText(0, text);
}

void CustomTreePage::stbCustomTreeMouseMove(int)
{
    const QString hint = QStringLiteral("Nápovědný text");
    statusBar()->setToolTip(hint);
    statusBar()->setStatusTip(hint);
    statusBar()->setText(0, hint);
}

void CustomTreePage::resizeEvent(QResizeEvent* event)
{
    Page::resizeEvent(event);
    // The folder label takes what the buttons and the logo leave, so that a long
    // path never widens the window.
    const int used = m_imgOrba3->geometry().right() + 1;
    m_lblDir->setFixedWidth(std::max(40, m_tlbarCustomTree->width() - used - 5));
}

bool CustomTreePage::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_trwCustom && event->type() == QEvent::KeyRelease) {
        trwCustomKeyUp(static_cast<QKeyEvent*>(event));
    } else if (watched == m_trwCustom->viewport() && event->type() == QEvent::MouseMove) {
        trwCustomMouseMove(static_cast<QMouseEvent*>(event)->position().toPoint());
    } else if (watched == m_lblDir
               && (event->type() == QEvent::MouseButtonPress || event->type() == QEvent::MouseButtonRelease)) {
        const auto* mouse = static_cast<QMouseEvent*>(event);
        if (mouse->button() != Qt::LeftButton)
            return Page::eventFilter(watched, event);
        // Taking the press makes the label receive its release, the click.
        if (event->type() == QEvent::MouseButtonRelease && m_lblDir->rect().contains(mouse->position().toPoint()))
            ShellOpener::openFolder(m_lblDir->text());
        return true;
    }
    return Page::eventFilter(watched, event);
}

} // namespace tavio
