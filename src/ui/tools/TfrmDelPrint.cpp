#include "TfrmDelPrint.h"

#include "widgets/WindowSize.h"

#include "DelPrint.h"
#include "ImageList.h"
#include "MainTypes.h"
#include "MessageService.h"
#include "Profile.h"
#include "tools/TfrmLogView.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QDir>
#include <QFileDialog>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QMenu>
#include <QProgressBar>
#include <QPushButton>
#include <QScreen>
#include <QShortcut>
#include <QShowEvent>
#include <QStatusBar>
#include <QStatusTipEvent>
#include <QToolButton>
#include <QVBoxLayout>

namespace tavio {

namespace {

constexpr int FixedWidth = 550;
constexpr int MinHeight = 350;

QString withSeparator(const QString& folder)
{
    // An unknown folder stays empty rather than becoming the root folder.
    return folder.isEmpty() ? folder : WithTrailingSeparator(QDir::fromNativeSeparators(folder));
}

QToolButton* pictureButton(QWidget* parent, const char* name, const QString& icon, const QString& hint, bool showHints,
                           int helpContext)
{
    auto* b = new QToolButton(parent);
    b->setObjectName(QLatin1String(name));
    b->setIcon(ImageList::named(icon));
    b->setIconSize(QSize(16, 16));
    b->setStatusTip(hint);
    if (showHints)
        b->setToolTip(hint);
    b->setProperty("helpContext", helpContext);
    return b;
}

} // namespace

TfrmDelPrint::TfrmDelPrint(const QString& chapterFolder, const QString& logFolder, bool showHints, QWidget* parent)
    : QDialog(parent,
              Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowContextHelpButtonHint
                  | Qt::WindowCloseButtonHint)
    , m_chapterFolder(chapterFolder)
    , m_logFolder(logFolder)
    , m_pickFolder(
          [](QWidget* p, const QString& current) { return QFileDialog::getExistingDirectory(p, QString(), current); })
    , m_clock([] { return QDateTime::currentDateTime(); })
{
    setObjectName(QStringLiteral("frmDelPrint"));
    setWindowTitle(P(ProfileId::ApplicationTitle) + QStringLiteral(" - vyčistit soubory"));
    setProperty("helpContext", 8);
    setMinimumSize(FixedWidth, MinHeight);
    setMaximumWidth(FixedWidth);
    resize(FixedWidth, MinHeight);

    m_groupBox1 = new QGroupBox(QStringLiteral(" Seznam souborů ve vybraném adresáři "), this);
    m_groupBox1->setObjectName(QStringLiteral("GroupBox1"));

    m_chlFiles = new QListWidget(m_groupBox1);
    m_chlFiles->setObjectName(QStringLiteral("chlFiles"));
    m_chlFiles->setSelectionMode(QAbstractItemView::SingleSelection);
    m_chlFiles->setProperty("helpContext", 14);
    m_popMenu1 = new QMenu(m_chlFiles);
    m_popMenu1->setObjectName(QStringLiteral("popMenu1"));
    m_mnuFilesRefresh
        = m_popMenu1->addAction(ImageList::named(QStringLiteral("reload")), QStringLiteral("Znovu načíst"));
    m_mnuFilesRefresh->setObjectName(QStringLiteral("mnuFilesRefresh"));
    m_mnuFilesRefresh->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_R));
    // The shortcut acts anywhere in the window, the menu opens over the list.
    addAction(m_mnuFilesRefresh);
    m_chlFiles->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(m_chlFiles, &QWidget::customContextMenuRequested, this,
            [this](const QPoint& pos) { m_popMenu1->popup(m_chlFiles->viewport()->mapToGlobal(pos)); });

    m_btnPlus = pictureButton(m_groupBox1, "btnPlus", QStringLiteral("check-all"),
                              QStringLiteral("Označit všechny soubory [+]"), showHints, 12);
    m_btnInvert = pictureButton(m_groupBox1, "btnInvert", QStringLiteral("invert-checks"),
                                QStringLiteral("Obrátit označení souborů [Insert]"), showHints, 15);
    m_btnMinus = pictureButton(m_groupBox1, "btnMinus", QStringLiteral("uncheck-all"),
                               QStringLiteral("Zrušit označení všech souborů [-]"), showHints, 13);

    m_pgbFileProcess = new QProgressBar(m_groupBox1);
    m_pgbFileProcess->setObjectName(QStringLiteral("pgbFileProcess"));
    m_pgbFileProcess->setProperty("helpContext", 18);
    m_pgbAllProcess = new QProgressBar(m_groupBox1);
    m_pgbAllProcess->setObjectName(QStringLiteral("pgbAllProcess"));
    m_pgbAllProcess->setProperty("helpContext", 19);
    for (QProgressBar* bar : {m_pgbFileProcess, m_pgbAllProcess}) {
        bar->setRange(0, 100);
        bar->setValue(0);
        bar->setTextVisible(false);
    }

    auto* marks = new QVBoxLayout;
    marks->addWidget(m_btnPlus);
    marks->addWidget(m_btnInvert);
    marks->addWidget(m_btnMinus);
    marks->addStretch(1);
    auto* group = new QGridLayout(m_groupBox1);
    group->addWidget(m_chlFiles, 0, 0);
    group->addLayout(marks, 0, 1);
    group->addWidget(m_pgbFileProcess, 1, 0, 1, 2);
    group->addWidget(m_pgbAllProcess, 2, 0, 1, 2);
    group->setRowStretch(0, 1);

    m_chbShowLogFile = new QCheckBox(QStringLiteral("&Zobrazit soubor [*.log]"), this);
    m_chbShowLogFile->setObjectName(QStringLiteral("chbShowLogFile"));
    m_chbShowLogFile->setChecked(true);
    m_chbShowLogFile->setProperty("helpContext", 16);
    // The maker's switch for preparing an installation; nothing in the program shows it.
    m_chbInstall = new QCheckBox(this);
    m_chbInstall->setObjectName(QStringLiteral("chbInstall"));
    m_chbInstall->setChecked(false);
    m_chbInstall->setVisible(false);

    m_btnSelDir = new QPushButton(ImageList::named(QStringLiteral("folder-browse")),
                                  QStringLiteral("&Vybrat adresář ..."), this);
    m_btnSelDir->setObjectName(QStringLiteral("btnSelDir"));
    m_btnSelDir->setProperty("helpContext", 11);
    m_btnStart = new QPushButton(QStringLiteral("&Start"), this);
    m_btnStart->setObjectName(QStringLiteral("btnStart"));
    m_btnStart->setProperty("helpContext", 17);
    m_btnStart->setDefault(true);
    m_btnClose = new QPushButton(QStringLiteral("&Zavřít"), this);
    m_btnClose->setObjectName(QStringLiteral("btnClose"));
    m_btnClose->setProperty("helpContext", 10);
    m_btnClose->setAutoDefault(false);
    m_btnSelDir->setAutoDefault(false);

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(m_chbShowLogFile);
    buttons->addWidget(m_chbInstall);
    buttons->addStretch(1);
    buttons->addWidget(m_btnSelDir);
    buttons->addWidget(m_btnStart);
    buttons->addWidget(m_btnClose);

    m_stBar = new QStatusBar(this);
    m_stBar->setObjectName(QStringLiteral("StBar"));
    m_stBar->setProperty("helpContext", 20);
    m_stBar->setSizeGripEnabled(true);
    m_folderLabel = new QLabel(m_stBar);
    m_folderLabel->setTextFormat(Qt::PlainText);
    m_stBar->addWidget(m_folderLabel, 1);

    auto* content = new QVBoxLayout;
    content->setContentsMargins(8, 8, 8, 4);
    content->addWidget(m_groupBox1, 1);
    content->addLayout(buttons);
    auto* root = new QVBoxLayout(this);
    root->setContentsMargins(0, 0, 0, 0);
    root->setSpacing(0);
    root->addLayout(content, 1);
    root->addWidget(m_stBar);

    // Window-wide keys, seen before the list gets them (the list would take "+" and
    // "-" for a type-ahead search).
    auto* insert = new QShortcut(QKeySequence(Qt::Key_Insert), this);
    auto* plus = new QShortcut(QKeySequence(Qt::KeypadModifier | Qt::Key_Plus), this);
    auto* minus = new QShortcut(QKeySequence(Qt::KeypadModifier | Qt::Key_Minus), this);
    connect(insert, &QShortcut::activated, this, &TfrmDelPrint::btnInvertClick);
    connect(plus, &QShortcut::activated, this, &TfrmDelPrint::btnPlusClick);
    connect(minus, &QShortcut::activated, this, &TfrmDelPrint::btnMinusClick);

    connect(m_btnPlus, &QToolButton::clicked, this, &TfrmDelPrint::btnPlusClick);
    connect(m_btnMinus, &QToolButton::clicked, this, &TfrmDelPrint::btnMinusClick);
    connect(m_btnInvert, &QToolButton::clicked, this, &TfrmDelPrint::btnInvertClick);
    connect(m_btnSelDir, &QPushButton::clicked, this, &TfrmDelPrint::btnSelDirClick);
    connect(m_btnStart, &QPushButton::clicked, this, &TfrmDelPrint::btnStartClick);
    connect(m_btnClose, &QPushButton::clicked, this, &QWidget::close);
    connect(m_mnuFilesRefresh, &QAction::triggered, this, &TfrmDelPrint::mnuFilesRefreshClick);

    // The design width, grown to what the texts need at a larger font; still not resizable
    // in width.
    const QSize least = GrownLeastSize(this, QSize(FixedWidth, MinHeight));
    setMinimumSize(least);
    setMaximumWidth(least.width());
    resize(least);
    if (const QScreen* screen = parent ? parent->screen() : QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - QPoint(least.width() / 2, least.height() / 2));
}

TfrmDelPrint::~TfrmDelPrint() = default;

void TfrmDelPrint::run(QWidget* mainWindow, bool serialFinished, const QString& chapterFolder, const QString& logFolder,
                       bool showHints, const std::function<void()>& whenDestroyed)
{
    if (serialFinished) {
        ShowMessage(mainWindow,
                    QStringLiteral("Funkce \"Vyčistit soubory\" není aktivní, protože seriál ")
                        + P(ProfileId::ApplicationTitle) + QStringLiteral(" byl ukončen ")
                        + QStringLiteral("a součástí jeho instalace jsou všechny jeho díly."),
                    MsgIcon::Information);
        return;
    }
    QPointer<TfrmDelPrint> window = new TfrmDelPrint(chapterFolder, logFolder, showHints, mainWindow);
    window->exec();
    delete window.data();
    if (whenDestroyed)
        whenDestroyed();
}

QStringList TfrmDelPrint::entries() const
{
    QStringList names;
    for (int i = 0; i < m_chlFiles->count(); ++i)
        names.append(m_chlFiles->item(i)->text());
    return names;
}

QStringList TfrmDelPrint::markedEntries() const
{
    QStringList names;
    for (int i = 0; i < m_chlFiles->count(); ++i) {
        if (m_chlFiles->item(i)->checkState() == Qt::Checked)
            names.append(m_chlFiles->item(i)->text());
    }
    return names;
}

void TfrmDelPrint::setMarked(const QString& name, bool marked)
{
    for (int i = 0; i < m_chlFiles->count(); ++i) {
        if (m_chlFiles->item(i)->text() == name)
            m_chlFiles->item(i)->setCheckState(marked ? Qt::Checked : Qt::Unchecked);
    }
}

QList<TfrmLogView*> TfrmDelPrint::logViews() const
{
    QList<TfrmLogView*> views;
    for (const QPointer<TfrmLogView>& v : m_logViews) {
        if (v)
            views.append(v.data());
    }
    return views;
}

void TfrmDelPrint::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    if (!event->spontaneous())
        FormShow();
}

void TfrmDelPrint::FormShow()
{
    m_pgbFileProcess->setValue(0);
    m_pgbAllProcess->setValue(0);
    setFolder(m_chapterFolder);
}

void TfrmDelPrint::setFolder(const QString& folder)
{
    m_folder = withSeparator(folder);
    m_folderLabel->setText(m_folder);
    m_stBar->clearMessage();
    FillList();
}

void TfrmDelPrint::FillList()
{
    m_chlFiles->clear();
    if (m_folder.isEmpty())
        return;
    for (const QString& name : ListChapterFiles(m_folder)) {
        auto* item = new QListWidgetItem(name, m_chlFiles);
        item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsUserCheckable);
        item->setCheckState(Qt::Unchecked);
    }
    m_chlFiles->setCurrentRow(-1);
}

void TfrmDelPrint::btnSelDirClick()
{
    if (m_running)
        return;
    const QString chosen = m_pickFolder(this, m_folder);
    if (!chosen.isEmpty())
        setFolder(chosen);
}

void TfrmDelPrint::mnuFilesRefreshClick()
{
    // Refilling the list under a run would change the entries it walks through.
    if (!m_running && !m_folder.isEmpty())
        FillList();
}

void TfrmDelPrint::setAllMarks(Qt::CheckState state)
{
    for (int i = 0; i < m_chlFiles->count(); ++i)
        m_chlFiles->item(i)->setCheckState(state);
}

void TfrmDelPrint::btnPlusClick()
{
    if (!m_running)
        setAllMarks(Qt::Checked);
}

void TfrmDelPrint::btnMinusClick()
{
    if (!m_running)
        setAllMarks(Qt::Unchecked);
}

void TfrmDelPrint::btnInvertClick()
{
    if (m_running)
        return;
    for (int i = 0; i < m_chlFiles->count(); ++i) {
        QListWidgetItem* item = m_chlFiles->item(i);
        item->setCheckState(item->checkState() == Qt::Checked ? Qt::Unchecked : Qt::Checked);
    }
}

void TfrmDelPrint::setControlsEnabled(bool on)
{
    for (QWidget* w : std::initializer_list<QWidget*>{m_chlFiles, m_btnStart, m_btnSelDir, m_btnPlus, m_btnMinus,
                                                      m_btnInvert, m_btnClose})
        w->setEnabled(on);
}

void TfrmDelPrint::btnStartClick()
{
    if (m_running)
        return;
    m_running = true;
    setControlsEnabled(false);
    m_pgbFileProcess->setValue(0);
    m_pgbAllProcess->setValue(0);

    QList<DelPrintEntry> list;
    int marked = 0;
    for (int i = 0; i < m_chlFiles->count(); ++i) {
        const QListWidgetItem* item = m_chlFiles->item(i);
        list.append({item->text(), item->checkState() == Qt::Checked});
        marked += list.back().marked ? 1 : 0;
    }
    m_pgbAllProcess->setRange(0, std::max(1, marked));
    m_log.clear();

    DelPrintCallbacks callbacks;
    callbacks.pump = [] { QApplication::processEvents(); };
    callbacks.fileStarted = [this](int index, const QString& path) {
        m_pgbAllProcess->setValue(m_pgbAllProcess->value() + 1);
        m_pgbFileProcess->setValue(0);
        m_chlFiles->setCurrentRow(index);
        m_stBar->showMessage(QStringLiteral("Probíhá čtení souboru \"") + path + QStringLiteral("\" ..."));
    };
    callbacks.lineProgress = [this](int position, int count) {
        if (m_pgbFileProcess->maximum() != count)
            m_pgbFileProcess->setRange(0, count);
        m_pgbFileProcess->setValue(position);
    };
    const DelPrintResult result = RunDelPrint(m_folder, list, m_chbInstall->isChecked(), callbacks);
    m_log = result.log;

    m_running = false;
    setControlsEnabled(true);

    if (result.markedCount == 0) {
        ShowMessage(this, QStringLiteral("Nebyly vybrány žádné položky"), MsgIcon::Error);
        return;
    }
    const QDateTime end = m_clock();
    FileError error;
    if (const auto path = WriteDelPrintLog(m_logFolder, m_log, end, &error)) {
        m_logFilePath = *path;
        ShowMessage(this, QStringLiteral("Dokončeno. Výsledky uloženy v ") + m_logFilePath, MsgIcon::Information);
        if (m_chbShowLogFile->isChecked()) {
            auto* view = new TfrmLogView(m_logFilePath, this);
            m_logViews.append(view);
            view->show();
        }
    } else {
        // A log that was not written must not be announced as stored.
        ShowMessage(this,
                    QStringLiteral("Výsledky nelze uložit do souboru <") + WithTrailingSeparator(m_logFolder)
                        + DelPrintLogName(end) + QStringLiteral(">: ") + error.message,
                    MsgIcon::Error);
    }
    if (result.failed())
        ShowMessage(
            this, QStringLiteral("Soubor <") + result.failedPath + QStringLiteral("> nelze zpracovat: ") + result.error,
            MsgIcon::Error);
}

void TfrmDelPrint::reject()
{
    // Escape and the title bar both end here; neither may close the window mid-run.
    if (!m_running)
        QDialog::reject();
}

void TfrmDelPrint::closeEvent(QCloseEvent* event)
{
    if (m_running) {
        event->ignore();
        return;
    }
    QDialog::closeEvent(event);
}

bool TfrmDelPrint::event(QEvent* event)
{
    // The status bar shows the hint of the control under the mouse, except during a run.
    if (event->type() == QEvent::StatusTip) {
        if (!m_running)
            m_stBar->showMessage(static_cast<QStatusTipEvent*>(event)->tip());
        return true;
    }
    return QDialog::event(event);
}

} // namespace tavio
