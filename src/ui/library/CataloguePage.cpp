#include "CataloguePage.h"

#include "AppSettings.h"
#include "Catalogue.h"
#include "FrameState.h"
#include "ReadingMarks.h"
#include "MessageService.h"
#include "ImageList.h"
#include "library/EnterRelease.h"
#include "library/TfrmLoadTree.h"
#include "widgets/HintedToolBar.h"
#include "widgets/PublisherLogo.h"
#include "widgets/StatusBar.h"
#include "widgets/TreeModel.h"

#include <QApplication>
#include <QDir>
#include <QFileDialog>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLineEdit>
#include <QToolButton>
#include <QTimer>
#include <QLabel>
#include <QTreeView>
#include <QVBoxLayout>

namespace tavio {

namespace {
const QString FileNotFound = QStringLiteral("Soubor nebyl nalezen");
}

CataloguePage::CataloguePage(AppSettings& settings, FrameState& state, QWidget* mainWindow, QWidget* parent)
    : Page(parent)
    , m_settings(settings)
    , m_state(state)
    , m_main(mainWindow)
{
    m_toolbar = new HintedToolBar(this);
    m_tlbFindNode = m_toolbar->addHintedAction(ImageList::named(QStringLiteral("find-in-tree")),
                                               QStringLiteral("Vyhledat ve stromu ... [F7]"));
    m_tlbFindNextNode = m_toolbar->addHintedAction(ImageList::named(QStringLiteral("find-next")),
                                                   QStringLiteral("Najít další [F3]"));
    m_imgOrba1 = new PublisherLogo(m_toolbar);
    m_toolbar->addWidget(m_imgOrba1);

    m_browse = new QWidget(m_toolbar);
    auto* browseLayout = new QHBoxLayout(m_browse);
    browseLayout->setContentsMargins(0, 0, 0, 0);
    browseLayout->setSpacing(0);
    // The folder field takes the width the buttons and the logo leave.
    m_browse->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    m_edtBrowseDir = new QLineEdit(m_browse);
    m_edtBrowseDir->setReadOnly(true);
    m_edtBrowseDir->setContextMenuPolicy(Qt::NoContextMenu);
    m_edtBrowseDir->setToolTip(QStringLiteral("Adresář se soubory"));
    m_edtBrowseDir->setStatusTip(QStringLiteral("Adresář se soubory"));
    m_edtBrowseDir->setProperty("helpContext", 85);
    m_browseButton = new QToolButton(m_browse);
    m_browseButton->setText(QStringLiteral("..."));
    m_browseButton->setToolTip(QStringLiteral("Adresář se soubory"));
    m_browseButton->setStatusTip(QStringLiteral("Adresář se soubory"));
    browseLayout->addWidget(m_edtBrowseDir, 1);
    browseLayout->addWidget(m_browseButton);
    m_toolbar->addWidget(m_browse);
    m_tlbFindNode->setProperty("helpContext", 54);
    m_tlbFindNextNode->setProperty("helpContext", 55);

    m_model = new TreeModel(m_tree, this);
    m_trwFiles = new QTreeView(this);
    m_trwFiles->setObjectName(QStringLiteral("trwFiles"));
    m_trwFiles->setModel(m_model);
    m_trwFiles->setHeaderHidden(true);
    m_trwFiles->setUniformRowHeights(true);
    m_trwFiles->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_trwFiles->setSelectionMode(QAbstractItemView::SingleSelection);
    m_trwFiles->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_trwFiles->setAllColumnsShowFocus(true);
    m_trwFiles->setItemDelegate(new ReadingMarkDelegate(m_state, m_model, m_trwFiles));
    connect(&m_state, &FrameState::readMarksChanged, this, &CataloguePage::showReadCount);
    m_readCount = new QLabel(statusBar());
    m_readCount->setObjectName(QStringLiteral("lblReadCount"));
    m_readCount->setTextFormat(Qt::PlainText);
    m_readCount->setAttribute(Qt::WA_TransparentForMouseEvents);
    m_readCount->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    m_readCount->setAutoFillBackground(true);
    statusBar()->installEventFilter(this);
    m_trwFiles->setMouseTracking(true);
    m_trwFiles->setExpandsOnDoubleClick(true);
    m_trwFiles->header()->setSectionResizeMode(QHeaderView::ResizeToContents);
    m_trwFiles->header()->setStretchLastSection(true);
    m_trwFiles->installEventFilter(this);
    m_trwFiles->viewport()->installEventFilter(this);
    m_enterRelease = new EnterRelease(m_trwFiles);

    contentLayout()->addWidget(m_toolbar);
    contentLayout()->addWidget(m_trwFiles, 1);
    statusBar()->setProperty("helpContext", 77);

    connect(m_browseButton, &QToolButton::clicked, this, &CataloguePage::edtBrowseDirButtonClick);
    connect(m_edtBrowseDir, &QLineEdit::textChanged, this, &CataloguePage::edtBrowseDirChange);
    connect(m_trwFiles, &QTreeView::doubleClicked, this, &CataloguePage::trwFilesDblClick);
    connect(m_trwFiles, &QTreeView::expanded, this, [this](const QModelIndex& i) {
        TreeNode* n = m_model->nodeOf(i);
        m_model->setImage(n, image::FolderOpen);
        m_model->setSelectedImage(n, image::FolderOpen);
    });
    connect(m_trwFiles, &QTreeView::collapsed, this, [this](const QModelIndex& i) {
        TreeNode* n = m_model->nodeOf(i);
        m_model->setImage(n, image::FolderClosed);
        m_model->setSelectedImage(n, image::FolderClosed);
    });
    connect(m_trwFiles->selectionModel(), &QItemSelectionModel::currentChanged, this,
            [this](const QModelIndex& current) { emit selectionChanged(m_model->nodeOf(current)); });
    connect(m_tlbFindNode, &QAction::triggered, this, &CataloguePage::findRequested);
    connect(m_tlbFindNextNode, &QAction::triggered, this, &CataloguePage::findNextRequested);
    connect(statusBar(), &StatusBar::mouseMoved, this, &CataloguePage::stbFilesMouseMove);
    connect(statusBar(), &StatusBar::doubleClicked, this, [this](int x) {
        if (x > statusBar()->panel0Width())
            emit findRequested();
    });
}

CataloguePage::~CataloguePage() = default;

QString CataloguePage::folder() const
{
    return m_edtBrowseDir->text();
}

void CataloguePage::setFolder(const QString& folder)
{
    if (m_edtBrowseDir->text() != folder)
        m_edtBrowseDir->setText(folder); // runs edtBrowseDirChange
}

void CataloguePage::showReadCount()
{
    m_readCount->setText(m_tree.isEmpty() ? QString() : ReadCountText(m_state, *m_model));
    m_readCount->setVisible(!m_readCount->text().isEmpty());
    const int width = m_readCount->sizeHint().width() + 6;
    m_readCount->setGeometry(statusBar()->panel0Width() - width - 3, 3, width, statusBar()->height() - 6);
    m_readCount->raise();
}

QString CataloguePage::readCountText() const
{
    return m_readCount->text();
}

TreeNode* CataloguePage::selectedNode() const
{
    return m_model->nodeOf(m_trwFiles->currentIndex());
}

void CataloguePage::selectNode(TreeNode* node)
{
    const QModelIndex i = m_model->indexOf(node);
    m_trwFiles->setCurrentIndex(i);
    m_trwFiles->scrollTo(i);
}

bool CataloguePage::BuildCatalogue(const QString& folder)
{
    std::unique_ptr<TfrmLoadTree> progress;
    if (m_firstBuildDone) {
        progress = std::make_unique<TfrmLoadTree>(
            m_main, [this] { statusBar()->setText(0, QStringLiteral("Probíhá načítání seznamu souborů ...")); });
        progress->show();
        QApplication::setOverrideCursor(Qt::WaitCursor);
        QApplication::processEvents();
    }

    // The new catalogue is read aside and swapped in at once: the view is redrawn
    // once, and never sees a half-deleted tree while window messages run.
    ChapterTree fresh;
    CatalogueCallbacks callbacks;
    callbacks.pump = [] { QApplication::processEvents(QEventLoop::ExcludeUserInputEvents); };
    callbacks.fileNotFound = [this](const QString&) { ShowMessage(m_main, FileNotFound, MsgIcon::Error); };
    const bool result = tavio::BuildCatalogue(fresh, folder, callbacks);

    const QSignalBlocker block(m_trwFiles->selectionModel());
    m_model->beginBulk();
    m_tree.swap(fresh);
    m_model->endBulk();

    emit catalogueRebuilt();
    if (progress) {
        progress.reset();
        statusBar()->setText(0, QString());
        QApplication::restoreOverrideCursor();
    }
    m_firstBuildDone = true;
    showReadCount();
    return result;
}

void CataloguePage::edtBrowseDirChange()
{
    const QString folder = m_edtBrowseDir->text();
    {
        const QSignalBlocker block(m_trwFiles->selectionModel());
        m_model->beginBulk();
        m_tree.clear();
        m_model->endBulk();
    }
    emit folderChanged(folder);
    if (BuildCatalogue(folder)) {
        m_settings.WriteFilesPath(folder);
        emit folderChangeFinished(m_edtBrowseDir->text());
        return;
    }
    const QString stored = m_settings.ReadFilesPath();
    if (!stored.isEmpty()) {
        const MsgResult answer = ShowMessage(
            m_main,
            QStringLiteral("Ve vybraném adresáři nebyly nalezeny žádné soubory. Chcete se vrátit do předchozího adresáře ?"),
            MsgIcon::Question, MsgButtons::YesNo);
        if (answer == MsgResult::Yes)
            setFolder(stored);
        else
            m_settings.WriteFilesPath(folder);
    } else {
        ShowMessage(m_main, QStringLiteral("Ve vybraném adresáři nebyly nalezeny žádné soubory."), MsgIcon::Error);
    }
    emit folderChangeFinished(m_edtBrowseDir->text());
}

void CataloguePage::edtBrowseDirButtonClick()
{
    const QString chosen = QFileDialog::getExistingDirectory(m_main, QString(), folder());
    if (!chosen.isEmpty())
        setFolder(QDir::fromNativeSeparators(chosen).endsWith(QLatin1Char('/')) ? chosen : chosen + QLatin1Char('/'));
}

void CataloguePage::trwFilesDblClick()
{
    TreeNode* node = selectedNode();
    if (!node) {
        ShowMessage(m_main,
                    QStringLiteral("Seznam souborů je prázdný - proveďte nejprve aktualizaci souborů pomocí menu "
                                   "\"Nástroje -> Aktualizace\""),
                    MsgIcon::Error);
        return;
    }
    emit openRequested(node);
}

void CataloguePage::trwFilesKeyUp(QKeyEvent* event)
{
    const bool ownPress = m_enterRelease->takePress(event);
    // The keypad's Enter carries the keypad modifier; it is the same key here.
    if (!EnterRelease::isEnter(event) || (event->modifiers() & ~Qt::KeypadModifier) != Qt::NoModifier)
        return;
    // Set by the find dialog and a failed tree search, or by a bookmark dialog:
    // the Enter that closed them must not open a chapter.
    if (m_state.findFlag || m_state.bookmarkFlag) {
        m_state.findFlag = false;
        m_state.bookmarkFlag = false;
        emit findDialogCloseRequested();
        return;
    }
    if (ownPress)
        trwFilesDblClick();
}

void CataloguePage::stbFilesMouseMove(int x)
{
    const QString hint = x > statusBar()->panel0Width()
        ? QStringLiteral("V této části stavové lišty je zobrazen poslední hledaný výraz (hledat [F7], najít další [F3])")
        : QStringLiteral("Nápovědný text");
    statusBar()->setToolTip(hint);
    statusBar()->setStatusTip(hint);
    statusBar()->setText(0, hint);
}

bool CataloguePage::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == statusBar() && event->type() == QEvent::Resize)
        QTimer::singleShot(0, this, &CataloguePage::showReadCount);
    if (watched == m_trwFiles && event->type() == QEvent::KeyRelease) {
        trwFilesKeyUp(static_cast<QKeyEvent*>(event));
    } else if (watched == m_trwFiles->viewport() && event->type() == QEvent::MouseButtonDblClick) {
        // A double click on a node comes as doubleClicked; below the nodes (or in an
        // empty list) it opens the selected node, or says that the list is empty.
        const auto* mouse = static_cast<QMouseEvent*>(event);
        if (mouse->button() == Qt::LeftButton && !m_trwFiles->indexAt(mouse->position().toPoint()).isValid()) {
            trwFilesDblClick();
            return true;
        }
    } else if (watched == m_trwFiles->viewport() && event->type() == QEvent::MouseMove) {
        const QPoint pos = static_cast<QMouseEvent*>(event)->position().toPoint();
        const TreeNode* n = m_model->nodeOf(m_trwFiles->indexAt(pos));
        statusBar()->setText(0, n ? n->caption : QString());
    }
    return Page::eventFilter(watched, event);
}

} // namespace tavio
