#include "SearchPage.h"

#include "AppSettings.h"
#include "ChapterText.h"
#include "SettingsStore.h"
#include "ImageList.h"
#include "MessageService.h"
#include "TextFile.h"
#include "widgets/StatusBar.h"
#include "widgets/TreeModel.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QCompleter>
#include <QDir>
#include <QElapsedTimer>
#include <QHelpEvent>
#include <QFileInfo>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QPushButton>
#include <QShortcut>
#include <QTabWidget>
#include <QThread>
#include <QToolTip>
#include <QToolButton>
#include <QTreeView>
#include <QVBoxLayout>

namespace tavio {

namespace {

QTreeView* makeTree(QWidget* parent, TreeModel* model, int helpContext)
{
    auto* view = new QTreeView(parent);
    view->setModel(model);
    view->setHeaderHidden(true);
    view->setUniformRowHeights(true);
    view->setEditTriggers(QAbstractItemView::NoEditTriggers);
    view->setSelectionMode(QAbstractItemView::SingleSelection);
    view->setContextMenuPolicy(Qt::CustomContextMenu);
    view->setProperty("helpContext", helpContext);
    return view;
}

QCheckBox* makeCheck(QWidget* parent, const QString& caption, int helpContext)
{
    auto* box = new QCheckBox(caption, parent);
    box->setProperty("helpContext", helpContext);
    return box;
}

// The value beside the other search options that keeps "Prohledávat i poznámky".
const QString FindInNotesValue = QStringLiteral("Find In Notes");

QString findKey()
{
    return AppSettings::root() + QStringLiteral("FindSettings\\");
}

// The window's messages run at least this often while the search runs, and at
// most: under load a message run can cost a tenth of a millisecond, more than most
// files take, so it runs between files once this much time has passed rather than
// between every two. Stop and the window answer within it.
constexpr int PumpMs = 5;
// The file being searched is shown at most this often; a screen shows no more.
constexpr qint64 StatusEveryMs = 40;

} // namespace

const QString SearchPage::NotesSuffix = QStringLiteral(" (poznámky)");

QString SearchPage::hitText(const HitInfo& hit)
{
    QString text = QStringLiteral("Výskytů: ") + QString::number(hit.matches);
    if (!hit.snippet.isEmpty())
        text += QStringLiteral(" \u2013 ") + hit.snippet.before.toHtmlEscaped() + QStringLiteral("<b>")
            + hit.snippet.match.toHtmlEscaped() + QStringLiteral("</b>") + hit.snippet.after.toHtmlEscaped();
    return text;
}

SearchPage::SearchPage(SettingsStore& store, ChapterTree& catalogue, std::function<QString()> chapterFolder,
                       QString historyPath, QWidget* mainWindow, QWidget* parent)
    : Page(parent)
    , m_store(store)
    , m_catalogue(catalogue)
    , m_chapterFolder(std::move(chapterFolder))
    , m_historyPath(std::move(historyPath))
    , m_main(mainWindow)
{
    m_pnlLock = new QWidget(this);
    m_lblFindText = new QLabel(QStringLiteral("&Hledat text:"), m_pnlLock);
    m_edtFindText = new QComboBox(m_pnlLock);
    m_edtFindText->setObjectName(QStringLiteral("edtFindText"));
    m_edtFindText->setEditable(true);
    m_edtFindText->setInsertPolicy(QComboBox::NoInsert);
    // The text searched and stored is exactly the one typed: a completion that ignored
    // case would swap "Funkce" for a stored "funkce" when the box loses the focus.
    m_edtFindText->completer()->setCaseSensitivity(Qt::CaseSensitive);
    m_edtFindText->setMaxVisibleItems(20);
    m_edtFindText->lineEdit()->setMaxLength(250);
    m_edtFindText->setProperty("helpContext", 101);
    m_edtFindText->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    m_edtFindText->lineEdit()->installEventFilter(this);
    m_lblFindText->setBuddy(m_edtFindText);
    m_lblFindText->installEventFilter(this);
    m_chbWholeWordsOnly = makeCheck(m_pnlLock, QStringLiteral("Pouze &celá slova"), 102);
    m_chbCaseSensitive = makeCheck(m_pnlLock, QStringLiteral("&Rozlišovat malá a velká písmena"), 103);
    m_chbFindInAllFiles = makeCheck(m_pnlLock, QStringLiteral("Prohledat &všechny soubory"), 104);
    m_chbCopyToClipboard = makeCheck(
        m_pnlLock, QStringLiteral("Po úspěšném hledání umístit hledaný text do schránky systému &Windows"), 105);
    m_chbShowResultInPnlResults = makeCheck(m_pnlLock, QStringLiteral("Zobrazit panel výsledků hledání"), 149);
    m_chbFindInNotes = makeCheck(m_pnlLock, QStringLiteral("Prohledávat i poznámky"), 0);
    m_chbFindInNotes->setObjectName(QStringLiteral("chbFindInNotes"));
    m_chbFindInAllFiles->setChecked(true);
    m_chbCopyToClipboard->setChecked(true);
    m_chbShowResultInPnlResults->setChecked(true);

    m_btnStart = new QPushButton(ImageList::named(QStringLiteral("search-start")), QStringLiteral("&Start"), this);
    m_btnStart->setProperty("helpContext", 106);
    m_btnStop = new QPushButton(ImageList::named(QStringLiteral("search-stop")), QStringLiteral("St&op"), this);
    m_btnStop->setProperty("helpContext", 107);
    m_btnStop->setEnabled(false);

    auto* lock = new QGridLayout(m_pnlLock);
    lock->setContentsMargins(0, 0, 0, 0);
    lock->addWidget(m_lblFindText, 0, 0);
    lock->addWidget(m_edtFindText, 0, 1);
    lock->addWidget(m_chbWholeWordsOnly, 1, 1);
    lock->addWidget(m_chbCaseSensitive, 2, 1);
    lock->addWidget(m_chbFindInAllFiles, 3, 1);
    lock->addWidget(m_chbCopyToClipboard, 4, 1);
    lock->addWidget(m_chbShowResultInPnlResults, 5, 1);
    lock->addWidget(m_chbFindInNotes, 6, 1);
    auto* buttons = new QVBoxLayout;
    buttons->addWidget(m_btnStart);
    buttons->addWidget(m_btnStop);
    buttons->addStretch(1);
    auto* top = new QHBoxLayout;
    top->setContentsMargins(6, 6, 6, 0);
    top->addWidget(m_pnlLock, 1);
    top->addLayout(buttons);

    m_lblActionType = new QLabel(QStringLiteral("Výsledky hledání:"), this);
    QFont bold = m_lblActionType->font();
    bold.setBold(true);
    m_lblActionType->setFont(bold);
    m_lblActionType->setWordWrap(true);
    m_lblActionType->setContentsMargins(6, 4, 6, 2);

    m_resultsModel = new TreeModel(m_results, this);
    m_trwFindResults = makeTree(this, m_resultsModel, 109);
    m_trwFindResults->setObjectName(QStringLiteral("trwFindResults"));
    m_trwFindResults->installEventFilter(this);
    m_trwFindResults->viewport()->installEventFilter(this);
    m_filesModel = new TreeModel(m_filesList, this);
    m_filesModel->setCheckable(true);
    m_trwFilesList = makeTree(this, m_filesModel, 108);
    m_trwFilesList->setObjectName(QStringLiteral("trwFilesList"));
    m_pgcResults = new QTabWidget(this);
    m_pgcResults->addTab(m_trwFindResults, QStringLiteral("Výsledky hledání"));
    m_pgcResults->addTab(m_trwFilesList, QStringLiteral("Seznam souborů"));

    m_popFindResults = new QMenu(this);
    connect(m_popFindResults->addAction(QStringLiteral("Otevřít")), &QAction::triggered, this,
            &SearchPage::trwFindResultsDblClick);
    m_popmnuFilesList = new QMenu(this);
    connect(m_popmnuFilesList->addAction(ImageList::named(QStringLiteral("check-all")), QStringLiteral("Označit vše")),
            &QAction::triggered, this, [this] { setMarks(0); });
    connect(m_popmnuFilesList->addAction(ImageList::named(QStringLiteral("uncheck-all")), QStringLiteral("Odeznačit vše")),
            &QAction::triggered, this, [this] { setMarks(1); });
    connect(m_popmnuFilesList->addAction(ImageList::named(QStringLiteral("invert-checks")),
                                         QStringLiteral("Invertovat výběr")),
            &QAction::triggered, this, [this] { setMarks(2); });
    m_popmnuFilesList->addSeparator();
    connect(m_popmnuFilesList->addAction(ImageList::named(QStringLiteral("reload")), QStringLiteral("Obnovit")),
            &QAction::triggered, this, &SearchPage::RefreshFileCheckTree);

    contentLayout()->addLayout(top);
    contentLayout()->addWidget(m_lblActionType);
    contentLayout()->addWidget(m_pgcResults, 1);
    m_lblHitContext = new QLabel(this);
    m_lblHitContext->setObjectName(QStringLiteral("lblHitContext"));
    m_lblHitContext->setTextFormat(Qt::RichText);
    m_lblHitContext->setTextInteractionFlags(Qt::TextSelectableByMouse);
    m_lblHitContext->setContentsMargins(6, 2, 6, 2);
    m_lblHitContext->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    contentLayout()->addWidget(m_lblHitContext);

    m_panel = new FindResultsPanel;
    m_panel->hide();

    connect(m_btnStart, &QPushButton::clicked, this, &SearchPage::btnStartClick);
    connect(m_btnStop, &QPushButton::clicked, this, &SearchPage::btnStopClick);
    // Enter starts (or opens a hit from the results tree), Escape stops.
    auto* enter = new QShortcut(QKeySequence(Qt::Key_Return), this, nullptr, nullptr, Qt::WidgetWithChildrenShortcut);
    auto* enter2 = new QShortcut(QKeySequence(Qt::Key_Enter), this, nullptr, nullptr, Qt::WidgetWithChildrenShortcut);
    auto* escape = new QShortcut(QKeySequence(Qt::Key_Escape), this, nullptr, nullptr, Qt::WidgetWithChildrenShortcut);
    connect(enter, &QShortcut::activated, this, &SearchPage::btnStartClick);
    connect(enter2, &QShortcut::activated, this, &SearchPage::btnStartClick);
    connect(escape, &QShortcut::activated, this, [this] {
        if (m_btnStop->isEnabled())
            btnStopClick();
    });
    connect(m_trwFindResults, &QTreeView::doubleClicked, this, &SearchPage::trwFindResultsDblClick);
    connect(m_trwFindResults->selectionModel(), &QItemSelectionModel::currentChanged, this,
            &SearchPage::showHitContext);
    connect(m_resultsModel, &QAbstractItemModel::modelReset, this, &SearchPage::showHitContext);
    connect(m_trwFindResults, &QWidget::customContextMenuRequested, this,
            [this](const QPoint& p) { m_popFindResults->popup(m_trwFindResults->viewport()->mapToGlobal(p)); });
    connect(m_trwFilesList, &QWidget::customContextMenuRequested, this,
            [this](const QPoint& p) { m_popmnuFilesList->popup(m_trwFilesList->viewport()->mapToGlobal(p)); });
    connect(m_pgcResults, &QTabWidget::currentChanged, this, [this](int index) {
        if (index == 1) {
            m_lblActionType->setText(QStringLiteral("Pokud není zatržena volba \"Prohledat všechny soubory\" označte "
                                                    "soubory, ve kterých chcete hledat zadaný text."));
            RefreshFileCheckTree();
        } else {
            m_lblActionType->clear();
        }
    });
    connect(m_chbFindInAllFiles, &QCheckBox::toggled, this, [this](bool on) {
        if (!on)
            m_pgcResults->setCurrentIndex(1);
    });
    connect(m_panel, &FindResultsPanel::openRequested, this, &SearchPage::lbFindResultsDblClick);
    connect(m_panel, &FindResultsPanel::deleteRequested, this, [this] { acDeleteFromListExecute(true); });
    connect(statusBar(), &StatusBar::mouseMoved, this, [this](int x) {
        const QString hint = x > statusBar()->panel0Width()
            ? QStringLiteral("V této části stavové lišty je zobrazen výsledek posledního hledání")
            : QStringLiteral("Aktuálně prohledáváný soubor a nápovědný text");
        statusBar()->setToolTip(hint);
        statusBar()->setStatusTip(hint);
    });
}

SearchPage::~SearchPage()
{
    // The panel lives in the chapter page's layout; it goes with whichever owner dies first.
}

void SearchPage::setNotesFileOf(std::function<QString(const QString&)> notesFileOf)
{
    m_notesFileOf = std::move(notesFileOf);
}

bool SearchPage::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_trwFindResults->viewport() && event->type() == QEvent::ToolTip) {
        const auto* help = static_cast<QHelpEvent*>(event);
        const QModelIndex index = m_trwFindResults->indexAt(help->pos());
        if (index.isValid() && size_t(index.row()) < m_hitInfo.size() && !index.parent().isValid())
            QToolTip::showText(help->globalPos(), hitText(m_hitInfo[size_t(index.row())]), m_trwFindResults->viewport());
        else
            QToolTip::hideText();
        return true;
    }
    if (watched == m_lblFindText && event->type() == QEvent::MouseButtonRelease) {
        m_edtFindText->setFocus();
        m_edtFindText->lineEdit()->selectAll();
    } else if (watched == m_edtFindText->lineEdit()) {
        if (event->type() == QEvent::FocusIn) {
            QMetaObject::invokeMethod(m_edtFindText->lineEdit(), &QLineEdit::selectAll, Qt::QueuedConnection);
        } else if (event->type() == QEvent::ShortcutOverride) {
            // Ctrl+Del here empties the history; it wins over the window's own Ctrl+Del.
            auto* key = static_cast<QKeyEvent*>(event);
            if (key->key() == Qt::Key_Delete && key->modifiers() == Qt::ControlModifier)
                key->accept();
        } else if (event->type() == QEvent::KeyPress) {
            const auto* key = static_cast<QKeyEvent*>(event);
            if (key->key() == Qt::Key_Delete && key->modifiers() == Qt::ControlModifier) {
                deleteHistory();
                return true;
            }
        }
    }
    return Page::eventFilter(watched, event);
}

void SearchPage::LoadFindSettings()
{
    const FindSettings s = tavio::LoadFindSettings(m_store);
    m_chbWholeWordsOnly->setChecked(s.WholeWordsOnly);
    m_chbCaseSensitive->setChecked(s.CaseSensitive);
    m_chbFindInAllFiles->setChecked(s.FindInAllFiles);
    m_chbCopyToClipboard->setChecked(s.CopyToClipboard);
    m_chbShowResultInPnlResults->setChecked(s.ResultsInPanel);
    m_chbFindInNotes->setChecked(m_store.readBool(findKey(), FindInNotesValue).value_or(false));
}

void SearchPage::SaveFindSettings()
{
    tavio::SaveFindSettings(m_store, FindSettings{m_chbWholeWordsOnly->isChecked(), m_chbCaseSensitive->isChecked(),
                                                  m_chbFindInAllFiles->isChecked(), m_chbCopyToClipboard->isChecked(),
                                                  m_chbShowResultInPnlResults->isChecked()});
    m_store.writeBool(findKey(), FindInNotesValue, m_chbFindInNotes->isChecked());
}

void SearchPage::LoadFindHistory()
{
    const QString text = m_edtFindText->currentText();
    m_edtFindText->clear();
    m_edtFindText->addItems(tavio::LoadFindHistory(m_historyPath));
    m_edtFindText->setEditText(text);
}

void SearchPage::SaveFindHistory()
{
    QStringList history;
    for (int i = 0; i < m_edtFindText->count(); ++i)
        history.append(m_edtFindText->itemText(i));
    const QString typed = m_edtFindText->currentText();
    history = PushFindHistory(history, typed);
    FileError error;
    if (!tavio::SaveFindHistory(m_historyPath, history, &error))
        qWarning("cannot write the search history %s: %s", qPrintable(m_historyPath), qPrintable(error.message));
    m_edtFindText->setEditText(history.first());
    LoadFindHistory();
}

void SearchPage::deleteHistory()
{
    QFile::remove(m_historyPath);
    const QString text = m_edtFindText->currentText();
    m_edtFindText->clear();
    m_edtFindText->setEditText(text);
}

void SearchPage::mnuFindTextClick()
{
    m_edtFindText->setFocus();
}

void SearchPage::focusOnShow()
{
    if (m_pgcResults->currentIndex() != 0)
        return;
    if (m_results.isEmpty())
        m_edtFindText->setFocus();
    else
        m_trwFindResults->setFocus();
}

void SearchPage::RefreshFileCheckTree()
{
    statusBar()->setText(0, QStringLiteral("Načítám seznam souborů ..."));
    statusBar()->repaint();
    m_filesModel->beginBulk();
    m_filesList.copyFrom(m_catalogue);
    m_filesList.forEach([](TreeNode* n) { n->checked = false; });
    m_filesModel->endBulk();
    m_trwFilesList->expandAll();
    statusBar()->setText(0, QString());
}

void SearchPage::setMarks(int mode)
{
    m_filesList.forEach([&](TreeNode* n) {
        m_filesModel->setChecked(n, mode == 0 ? true : mode == 1 ? false : !n->checked);
    });
}

void SearchPage::btnStopClick()
{
    m_stopRequested = true;
}

void SearchPage::btnStartClick()
{
    if (m_searching)
        return;
    if (m_trwFindResults->hasFocus()) { // 1
        trwFindResultsDblClick();
        return;
    }
    m_searching = true; // 2
    m_openEnabled = false;
    emit searchStarted();
    m_hits = 0; // 3
    const QString text = m_edtFindText->currentText();
    if (text.trimmed().isEmpty()) {
        ShowMessage(m_main, QStringLiteral("Nebyl zadán žádný text k vyhledání"), MsgIcon::Error);
        m_edtFindText->setFocus();
        m_searching = false;
        m_openEnabled = true;
        emit searchFinished();
        return;
    }
    m_options = {text, m_chbWholeWordsOnly->isChecked(), m_chbCaseSensitive->isChecked()}; // 4
    SearchQuery query = SearchQuery::make(text, m_options.WholeWordsOnly, m_options.CaseSensitive); // 5

    m_stopRequested = false; // 6
    m_pnlLock->setEnabled(false);
    QApplication::setOverrideCursor(Qt::WaitCursor);
    m_btnStart->setEnabled(false);
    m_btnStop->setEnabled(true);
    m_resultsModel->beginBulk();
    m_results.clear();
    m_hitInfo.clear();
    m_resultsModel->endBulk();
    m_pgcResults->setTabEnabled(1, false);
    m_pgcResults->setCurrentIndex(0);
    m_trwFindResults->setFocus();

    // 7: the check tree is a copy of the catalogue, node for node. The loop walks a
    // copy of what it needs from both: while it lets messages run, an update may
    // rebuild the two trees and free their nodes.
    struct Entry
    {
        QString caption;
        bool checked;
        QString catalogueCaption;
    };
    std::vector<Entry> entries;
    {
        const std::vector<TreeNode*> checks = m_filesList.nodes();
        const std::vector<TreeNode*> chapters = m_catalogue.nodes();
        entries.reserve(checks.size());
        for (size_t i = 0; i < checks.size(); ++i)
            entries.push_back({checks[i]->caption, checks[i]->checked,
                               i < chapters.size() ? chapters[i]->caption : checks[i]->caption});
    }
    const QString folder = m_chapterFolder();
    const bool all = m_chbFindInAllFiles->isChecked();
    const bool notes = m_chbFindInNotes->isChecked() && m_notesFileOf;
    // The files are read and searched ahead on worker threads; this loop takes their
    // verdicts in the tree's order, lets the window's messages run between files
    // (see PumpMs) and while it waits for one.
    std::vector<ChapterSearchRun::Job> jobs(entries.size());
    for (size_t i = 0; i < entries.size(); ++i) {
        const QString name = CaptionToFileName(entries[i].caption);
        if ((all || entries[i].checked) && !name.isEmpty()) {
            jobs[i].chapterPath = folder + name;
            if (notes)
                jobs[i].notesPath = m_notesFileOf(jobs[i].chapterPath);
        }
    }
    const std::vector<ChapterSearchRun::Job> paths = jobs;
    ChapterSearchRun run(std::move(jobs), std::move(query), std::max(1, QThread::idealThreadCount()));
    QString failure;
    QString shownPath;
    QString lastPath;
    QElapsedTimer shown;
    QElapsedTimer pumped;
    for (size_t i = 0; i < entries.size(); ++i) {
        if (!pumped.isValid() || pumped.elapsed() >= PumpMs) {
            QApplication::processEvents();
            pumped.start();
        }
        if (m_stopRequested)
            break;
        const QString& path = paths[i].chapterPath;
        if (path.isEmpty())
            continue;
        std::optional<ChapterSearchRun::Result> result;
        while (!(result = run.take(i, std::max<int>(0, PumpMs - int(pumped.elapsed()))))) {
            QApplication::processEvents();
            pumped.start();
            if (m_stopRequested)
                break;
        }
        if (!result)
            break;
        if (result->chapter.kind == FileVerdict::Kind::Missing)
            continue;
        lastPath = path;
        if (!shown.isValid() || shown.elapsed() >= StatusEveryMs) {
            statusBar()->setText(0, QStringLiteral("Prohledávám soubor ") + QDir::toNativeSeparators(path)
                                        + QStringLiteral(" ..."));
            shownPath = path;
            shown.start();
        }
        if (result->chapter.kind == FileVerdict::Kind::Unreadable) {
            failure = QStringLiteral("Soubor ") + QDir::toNativeSeparators(path) + QStringLiteral(" nelze přečíst: ")
                + result->chapter.error;
            break;
        }
        if (result->chapter.kind == FileVerdict::Kind::Hit)
            addHit(entries[i].catalogueCaption, result->chapter, false, path);
        if (result->notes.kind == FileVerdict::Kind::Hit)
            addHit(entries[i].catalogueCaption + NotesSuffix, result->notes, true, path);
    }
    run.cancel();
    if (lastPath != shownPath)
        statusBar()->setText(0, QStringLiteral("Prohledávám soubor ") + QDir::toNativeSeparators(lastPath)
                                    + QStringLiteral(" ..."));
    finishSearch(failure);
}

void SearchPage::addHit(const QString& caption, const FileVerdict& verdict, bool inNotes, const QString& chapterPath)
{
    m_resultsModel->addChild(nullptr, caption, 0);
    m_hitInfo.push_back({verdict.snippet, verdict.matches, inNotes, chapterPath});
    ++m_hits;
}

void SearchPage::showHitContext()
{
    const QModelIndex index = m_trwFindResults->currentIndex();
    if (index.isValid() && !index.parent().isValid() && size_t(index.row()) < m_hitInfo.size())
        m_lblHitContext->setText(hitText(m_hitInfo[size_t(index.row())]));
    else
        m_lblHitContext->clear();
}

void SearchPage::finishSearch(const QString& failure)
{
    // 8
    if (m_hits > 0) {
        statusBar()->setText(0, QString());
        statusBar()->setText(1, QStringLiteral("Nalezených souborů: ") + QString::number(m_hits));
        if (m_chbCopyToClipboard->isChecked())
            QGuiApplication::clipboard()->setText(m_options.SearchText);
        QListWidget* list = m_panel->lbFindResults();
        list->clear();
        size_t row = 0;
        m_results.forEach([&](TreeNode* n) {
            auto* item = new QListWidgetItem(n->caption, list);
            if (row < m_hitInfo.size())
                item->setToolTip(hitText(m_hitInfo[row]));
            ++row;
        });
        m_panel->setVisible(m_chbShowResultInPnlResults->isChecked() && m_results.count() > 1);
    } else {
        m_panel->hide();
        statusBar()->setText(1, QStringLiteral("Hledaný řetězec nebyl nalezen"));
        ShowMessage(m_main, QStringLiteral("Hledaný řetězec nebyl nalezen"), MsgIcon::Error);
    }
    m_pnlLock->setEnabled(true);
    m_pgcResults->setTabEnabled(1, true);
    m_btnStop->setEnabled(false);
    m_btnStart->setEnabled(true);
    if (m_hits > 0) {
        SaveFindHistory();
        m_trwFindResults->setCurrentIndex(m_resultsModel->index(0, 0));
    } else {
        m_edtFindText->setFocus();
        m_edtFindText->lineEdit()->selectAll();
    }
    QApplication::restoreOverrideCursor();
    m_searching = false;
    m_openEnabled = true;
    emit searchFinished();
    if (!failure.isEmpty())
        ShowMessage(m_main, failure, MsgIcon::Error);
}

void SearchPage::trwFindResultsDblClick()
{
    // Opening a hit would leave the search page while the search runs.
    if (!m_openEnabled)
        return;
    const QModelIndex index = m_trwFindResults->currentIndex();
    TreeNode* n = m_resultsModel->nodeOf(index);
    if (!n)
        return;
    if (!index.parent().isValid() && size_t(index.row()) < m_hitInfo.size() && m_hitInfo[size_t(index.row())].inNotes)
        emit openNotesRequested(m_hitInfo[size_t(index.row())].chapterPath);
    else
        emit openNodeRequested(n);
}

void SearchPage::lbFindResultsDblClick()
{
    QListWidgetItem* item = m_panel->lbFindResults()->currentItem();
    if (!item)
        return;
    const QString path = m_chapterFolder() + CaptionToFileName(item->text());
    if (item->text().endsWith(NotesSuffix))
        emit openNotesRequested(path);
    else
        emit openPathRequested(path);
}

void SearchPage::acDeleteFromListExecute(bool chapterPageActive)
{
    QListWidget* list = m_panel->lbFindResults();
    if (m_panel->isVisible() && chapterPageActive) {
        if (QListWidgetItem* item = list->currentItem())
            delete list->takeItem(list->row(item));
        list->setFocus();
    }
    m_panel->setVisible(list->count() > 0);
}

} // namespace tavio
