#include "TfrmUpdate.h"

#include "ChapterTree.h"
#include "ImageList.h"
#include "IniFile.h"
#include "MainTypes.h"
#include "MessageService.h"
#include "Profile.h"
#include "ShellOpener.h"
#include "THTTPGet.h"
#include "TextFile.h"
#include "update/UserInfoView.h"
#include "widgets/BalloonHint.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGridLayout>
#include <QGuiApplication>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QLoggingCategory>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QPointer>
#include <QProcess>
#include <QProgressBar>
#include <QPushButton>
#include <QRegularExpression>
#include <QScreen>
#include <QShowEvent>
#include <QStatusBar>
#include <QTimer>
#include <QToolButton>
#include <QVBoxLayout>

Q_LOGGING_CATEGORY(lcUpdate, "tavio.update")

namespace tavio {

namespace {

constexpr int DesignWidth = 388;
constexpr int DesignHeight = 412;
constexpr int LogLineHeight = 17;
// User.nfo holds a short message; anything larger is not one of ours.
constexpr qint64 MaxUserInfoBytes = 1024 * 1024;
// A server that has not answered the first request by then can be given up.
constexpr int DefaultNoAnswerStopMs = 5000;
constexpr int ProgressFrameMs = 15;

const QString StopPanelText = QStringLiteral("Stisknuto storno - dokončuji stažení aktuálního dílu ...");

void setBold(QWidget* w, bool bold)
{
    // Called for every chunk: a font change re-lays out the group, so only a real one.
    if (w->font().bold() == bold)
        return;
    QFont f = w->font();
    f.setBold(bold);
    w->setFont(f);
}

void setColour(QLabel* label, const QColor& colour)
{
    QPalette p = label->palette();
    p.setColor(QPalette::WindowText, colour);
    label->setPalette(p);
}

void setUnderline(QLabel* label, bool on)
{
    QFont f = label->font();
    f.setUnderline(on);
    label->setFont(f);
}

QStringList textLines(const QString& text)
{
    static const QRegularExpression breaks(QStringLiteral("\r\n|\r|\n"));
    return text.split(breaks);
}

// The platform's program files begin with their format's signature; an error page
// or a cut-off body does not. A downloaded file without it never replaces the program.
bool looksLikeProgramFile(const QString& path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return false;
    const QByteArray head = f.read(4);
    return head == QByteArrayLiteral("\x7F" "ELF") || head.startsWith("#!") || head.startsWith("MZ");
}

} // namespace

TfrmUpdate::TfrmUpdate(UpdateHost host, QWidget* parent)
    : QDialog(parent,
              Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowContextHelpButtonHint
                  | Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint)
    , m_host(std::move(host))
    , m_saveDialog(&RunSaveFileDialog)
    , m_clock([] { return QDateTime::currentDateTime(); })
{
    setObjectName(QStringLiteral("frmUpdate"));
    setProperty("helpContext", 21);

    m_grbUpdateSettings = new QGroupBox(QStringLiteral(" Možnosti aktualizace "), this);
    m_grbUpdateSettings->setObjectName(QStringLiteral("grbUpdateSettings"));
    m_chbProgUpdate = new QCheckBox(QStringLiteral("Aktualizace &programu"), m_grbUpdateSettings);
    m_chbProgUpdate->setObjectName(QStringLiteral("chbProgUpdate"));
    m_chbProgUpdate->setChecked(false);
    m_chbProgUpdate->setProperty("helpContext", 22);
    m_chbFilesUpdate = new QCheckBox(QStringLiteral("Aktualizace &souborů"), m_grbUpdateSettings);
    m_chbFilesUpdate->setObjectName(QStringLiteral("chbFilesUpdate"));
    m_chbFilesUpdate->setChecked(true);
    m_chbFilesUpdate->setProperty("helpContext", 24);
    m_lblExeDownload = new QLabel(QStringLiteral("Stáhnout soubor \"exe\" ručně"), m_grbUpdateSettings);
    m_lblExeDownload->setObjectName(QStringLiteral("lblExeDownload"));
    m_lblExeDownload->setProperty("helpContext", 23);
    m_lblHelpDownload = new QLabel(QStringLiteral("Stáhnout soubor s nápovědou"), m_grbUpdateSettings);
    m_lblHelpDownload->setObjectName(QStringLiteral("lblHelpDownload"));
    m_lblHelpDownload->setProperty("helpContext", 95);
    m_lblHelpDownload->setVisible(false);
    for (QLabel* link : {m_lblExeDownload, m_lblHelpDownload}) {
        link->setTextFormat(Qt::PlainText);
        link->setCursor(Qt::PointingHandCursor);
        link->installEventFilter(this);
    }
    setColour(m_lblExeDownload, Qt::blue);
    setColour(m_lblHelpDownload, Qt::red);
    auto* settings = new QGridLayout(m_grbUpdateSettings);
    settings->addWidget(m_chbProgUpdate, 0, 0);
    settings->addWidget(m_lblExeDownload, 0, 1, Qt::AlignRight);
    settings->addWidget(m_chbFilesUpdate, 1, 0);
    settings->addWidget(m_lblHelpDownload, 1, 1, Qt::AlignRight);

    m_grbWhatsNew = new QGroupBox(QStringLiteral(" ---- Co je nového v aktuální verzi programu ---- "), this);
    m_grbWhatsNew->setObjectName(QStringLiteral("grbWhatsNew"));
    m_reWhatsNew = new QPlainTextEdit(m_grbWhatsNew);
    m_reWhatsNew->setObjectName(QStringLiteral("reWhatsNew"));
    m_reWhatsNew->setReadOnly(true);
    m_reWhatsNew->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    m_reWhatsNew->setProperty("helpContext", 25);
    {
        QPalette p = m_reWhatsNew->palette();
        p.setColor(QPalette::Text, Qt::blue);
        m_reWhatsNew->setPalette(p);
    }
    auto* whatsNew = new QVBoxLayout(m_grbWhatsNew);
    whatsNew->addWidget(m_reWhatsNew);

    m_pgbDownload = new QProgressBar(this);
    m_pgbDownload->setObjectName(QStringLiteral("pgbDownload"));
    m_pgbDownload->setRange(0, 100);
    m_pgbDownload->setValue(0);
    m_pgbDownload->setTextVisible(false);
    m_pgbDownload->setProperty("helpContext", 26);

    m_btnUpdate = new QPushButton(ImageList::named(QStringLiteral("update")), QStringLiteral("&Aktualizuj ..."), this);
    m_btnUpdate->setObjectName(QStringLiteral("btnUpdate"));
    m_btnUpdate->setDefault(true);
    m_btnUpdate->setProperty("helpContext", 27);
    m_btnAbort = new QPushButton(QStringLiteral("&Z&ruš stahování"), this);
    m_btnAbort->setObjectName(QStringLiteral("btnAbort"));
    m_btnAbort->setEnabled(false);
    m_btnAbort->setAutoDefault(false);
    m_btnAbort->setProperty("helpContext", 28);
    m_btnClose = new QPushButton(QStringLiteral("&Zavřít"), this);
    m_btnClose->setObjectName(QStringLiteral("btnClose"));
    m_btnClose->setAutoDefault(false);
    m_btnClose->setProperty("helpContext", 29);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(m_btnUpdate);
    buttons->addWidget(m_btnAbort);
    buttons->addWidget(m_btnClose);

    m_lblProcess = new QLabel(QStringLiteral("Proces stahování:"), this);
    m_lblProcess->setObjectName(QStringLiteral("lblProcess"));
    m_btnSaveLog = new QToolButton(this);
    m_btnSaveLog->setObjectName(QStringLiteral("btnSaveLog"));
    m_btnSaveLog->setIcon(ImageList::named(QStringLiteral("save")));
    m_btnSaveLog->setIconSize(QSize(16, 16));
    m_btnSaveLog->setToolTip(QStringLiteral("Uložit proces stahování do souboru ..."));
    m_btnSaveLog->setEnabled(false);
    m_btnSaveLog->setProperty("helpContext", 32);
    auto* processHead = new QHBoxLayout;
    processHead->addWidget(m_lblProcess);
    processHead->addStretch(1);
    processHead->addWidget(m_btnSaveLog);

    m_lbProcess = new QListWidget(this);
    m_lbProcess->setObjectName(QStringLiteral("lbProcess"));
    m_lbProcess->setIconSize(QSize(16, 16));
    m_lbProcess->setUniformItemSizes(true);
    m_lbProcess->setProperty("helpContext", 26);

    m_grbUserInfo = new QGroupBox(QStringLiteral(" Informace pro uživatele "), this);
    m_grbUserInfo->setObjectName(QStringLiteral("grbUserInfo"));
    m_seUserInfo = new UserInfoView(m_grbUserInfo);
    m_seUserInfo->setObjectName(QStringLiteral("seUserInfo"));
    m_seUserInfo->setProperty("helpContext", 113);
    auto* userInfo = new QVBoxLayout(m_grbUserInfo);
    userInfo->addWidget(m_seUserInfo);

    m_stbDownload = new QStatusBar(this);
    m_stbDownload->setObjectName(QStringLiteral("stbDownload"));
    m_stbDownload->setSizeGripEnabled(false);
    m_stbDownload->setProperty("helpContext", 31);
    for (QLabel*& panel : m_panels) {
        panel = new QLabel(m_stbDownload);
        panel->setTextFormat(Qt::PlainText);
    }
    m_panels[0]->setFixedWidth(270);
    m_panels[1]->setAlignment(Qt::AlignCenter);
    m_stbDownload->addWidget(m_panels[0]);
    m_stbDownload->addWidget(m_panels[1], 1);

    auto* content = new QVBoxLayout;
    content->setContentsMargins(8, 8, 8, 4);
    content->addWidget(m_grbUpdateSettings);
    content->addWidget(m_grbWhatsNew, 1);
    content->addWidget(m_pgbDownload);
    content->addLayout(buttons);
    content->addLayout(processHead);
    content->addWidget(m_lbProcess, 2);
    content->addWidget(m_grbUserInfo, 1);
    auto* root = new QVBoxLayout(this);
    root->setContentsMargins(0, 0, 0, 0);
    root->setSpacing(0);
    root->addLayout(content, 1);
    root->addWidget(m_stbDownload);

    // The lists share what the fixed client area leaves; they scroll.
    for (QWidget* list : std::initializer_list<QWidget*>{m_reWhatsNew, m_lbProcess, m_seUserInfo})
        list->setMinimumHeight(3 * LogLineHeight);
    const QSize size = QSize(DesignWidth, DesignHeight).expandedTo(root->minimumSize());
    setFixedSize(size);
    if (parent)
        move(parent->geometry().center() - QPoint(size.width() / 2, size.height() / 2));
    else if (const QScreen* screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - QPoint(size.width() / 2, size.height() / 2));

    m_bhUpdate = new BalloonHint(this);
    m_bhUpdate->setObjectName(QStringLiteral("bhUpdate"));
    for (QWidget* w : std::initializer_list<QWidget*>{m_lblExeDownload, m_lblHelpDownload, m_btnSaveLog})
        m_bhUpdate->watch(w);

    m_progressTimer = new QTimer(this);
    m_progressTimer->setSingleShot(true);
    m_progressTimer->setInterval(ProgressFrameMs);
    connect(m_progressTimer, &QTimer::timeout, this, &TfrmUpdate::applyProgress);

    m_noAnswerTimer = new QTimer(this);
    m_noAnswerTimer->setSingleShot(true);
    m_noAnswerTimer->setInterval(DefaultNoAnswerStopMs);
    connect(m_noAnswerTimer, &QTimer::timeout, this, [this] {
        // A server that takes the request and never answers must not hold the window.
        if (!m_UpdateIdle && !m_iniAnswered && m_htpgIniFile->isBusy())
            m_btnAbort->setEnabled(true);
    });

    connect(m_chbProgUpdate, &QCheckBox::toggled, this, &TfrmUpdate::chbProgUpdateClick);
    connect(m_chbFilesUpdate, &QCheckBox::toggled, this, &TfrmUpdate::chbFilesUpdateClick);
    connect(m_btnUpdate, &QPushButton::clicked, this, &TfrmUpdate::btnUpdateClick);
    connect(m_btnAbort, &QPushButton::clicked, this, &TfrmUpdate::btnAbortClick);
    connect(m_btnClose, &QPushButton::clicked, this, &QWidget::close);
    connect(m_btnSaveLog, &QToolButton::clicked, this, &TfrmUpdate::btnSaveLogClick);
    connect(m_seUserInfo, &UserInfoView::enterPressed, this, [this] {
        if (m_btnUpdate->isEnabled())
            m_btnUpdate->click();
    });
    connect(m_seUserInfo, &UserInfoView::escapePressed, this, &QWidget::close);

    createComponents();
    FormCreate();
}

TfrmUpdate::~TfrmUpdate()
{
    // The components cancel their transfers; none of their events reaches us any more.
    for (THTTPGet* c : {m_htpgIniFile, m_htpgPgm, m_htpgIniFiles, m_htpgFiles, m_htpgSubFiles, m_htpgWhatsNew,
                        m_htpgUserInfo})
        delete c;
}

void TfrmUpdate::run(QWidget* mainWindow, const UpdateHost& host)
{
    QPointer<TfrmUpdate> window = new TfrmUpdate(host, mainWindow);
    window->exec();
    if (window && window->CatalogueChanged() && host.rebuildCatalogue)
        host.rebuildCatalogue(host.chapterFolder ? host.chapterFolder() : QString());
    delete window.data();
    if (host.activateChapterView)
        host.activateChapterView();
}

void TfrmUpdate::createComponents()
{
    const auto make = [this](const char* name, bool binary) {
        auto* c = new THTTPGet(this);
        c->setObjectName(QLatin1String(name));
        c->setAcceptTypes(QStringLiteral("*/*"));
        c->setAgent(QStringLiteral("HTTPGet"));
        c->setUseCache(false);
        c->setWaitThread(false);
        c->setBinaryData(binary);
        if (m_stallTimeoutMs > 0)
            c->setStallTimeout(m_stallTimeoutMs);
        return c;
    };
    m_htpgIniFile = make("htpgIniFile", true);
    m_htpgPgm = make("htpgPgm", true);
    m_htpgIniFiles = make("htpgIniFiles", true);
    m_htpgFiles = make("htpgFiles", true);
    m_htpgSubFiles = make("htpgSubFiles", true);
    m_htpgWhatsNew = make("htpgWhatsNew", false);
    m_htpgUserInfo = make("htpgUserInfo", false);
    m_htpgWhatsNew->setURL(m_host.addresses.whatsNew);
    m_htpgUserInfo->setURL(m_host.addresses.userInfo);

    connect(m_htpgIniFile, &THTTPGet::OnProgress, this, [this](QObject*, int t, int r) { htpgIniFileProgress(t, r); });
    connect(m_htpgIniFile, &THTTPGet::OnDoneFile, this,
            [this](QObject*, const QString& name, int) { htpgIniFileDoneFile(name); });
    connect(m_htpgIniFile, &THTTPGet::OnError, this, &TfrmUpdate::htpgIniFileError);

    connect(m_htpgPgm, &THTTPGet::OnProgress, this, [this](QObject*, int t, int r) { htpgPgmProgress(t, r); });
    connect(m_htpgPgm, &THTTPGet::OnDoneFile, this, [this](QObject*, const QString& name, int) { htpgPgmDoneFile(name); });
    connect(m_htpgPgm, &THTTPGet::OnError, this, &TfrmUpdate::htpgPgmError);

    connect(m_htpgIniFiles, &THTTPGet::OnProgress, this, [this](QObject*, int t, int r) { htpgIniFilesProgress(t, r); });
    connect(m_htpgIniFiles, &THTTPGet::OnDoneFile, this,
            [this](QObject*, const QString& name, int) { htpgIniFilesDoneFile(name); });
    connect(m_htpgIniFiles, &THTTPGet::OnError, this, &TfrmUpdate::htpgIniFilesError);

    for (THTTPGet* c : {m_htpgFiles, m_htpgSubFiles}) {
        connect(c, &THTTPGet::OnProgress, this, [this](QObject*, int t, int r) { FilesProgress(t, r); });
        connect(c, &THTTPGet::OnDoneFile, this, [this, c](QObject*, const QString& name, int) { FilesDoneFile(c, name); });
        connect(c, &THTTPGet::OnError, this, [this, c] { FilesError(c); });
    }

    connect(m_htpgWhatsNew, &THTTPGet::OnDoneString, this,
            [this](QObject*, const QString& text) { htpgWhatsNewDoneString(text); });
    connect(m_htpgWhatsNew, &THTTPGet::OnError, this, &TfrmUpdate::htpgWhatsNewError);
    connect(m_htpgUserInfo, &THTTPGet::OnDoneString, this,
            [this](QObject*, const QString& text) { htpgUserInfoDoneString(text); });
    connect(m_htpgUserInfo, &THTTPGet::OnError, this, &TfrmUpdate::htpgUserInfoError);
}

void TfrmUpdate::abandonTransfers()
{
    // Transfers still running when the window closes end without a word: their
    // components are replaced by fresh ones that know nothing of them.
    for (THTTPGet* c : {m_htpgIniFile, m_htpgPgm, m_htpgIniFiles, m_htpgFiles, m_htpgSubFiles, m_htpgWhatsNew,
                        m_htpgUserInfo}) {
        c->disconnect(this);
        c->CancelFetch();
        c->deleteLater();
    }
    createComponents();
}

void TfrmUpdate::setNoAnswerStopDelay(int ms)
{
    m_noAnswerTimer->setInterval(ms);
}

void TfrmUpdate::setStallTimeout(int ms)
{
    m_stallTimeoutMs = ms;
    for (THTTPGet* c : {m_htpgIniFile, m_htpgPgm, m_htpgIniFiles, m_htpgFiles, m_htpgSubFiles, m_htpgWhatsNew,
                        m_htpgUserInfo})
        c->setStallTimeout(ms);
}

QString TfrmUpdate::updateIniPath() const
{
    return programFolder() + P(ProfileId::UpdateIniFileName);
}

QString TfrmUpdate::filesIniPath() const
{
    return programFolder() + P(ProfileId::FilesIniFileName);
}

QString TfrmUpdate::chapterFolder() const
{
    const QString folder = m_host.chapterFolder ? m_host.chapterFolder() : QString();
    return folder.isEmpty() ? folder : WithTrailingSeparator(QDir::fromNativeSeparators(folder));
}

// ---------------------------------------------------------------- window

void TfrmUpdate::FormCreate()
{
    const QString title = P(ProfileId::ApplicationTitle);
    setWindowTitle(title + QLatin1Char(' ') + VersionText(GetProgramVersion()) + QStringLiteral(" - aktualizace"));
    m_bhUpdate->setHeader(title);
    CheckHelpFile();
    m_lblExeDownload->setToolTip(QStringLiteral("http://") + m_host.addresses.exe);
    m_bhUpdate->setEnabled(m_host.showHints);
    if (m_host.serialFinished) {
        const UpdateOptions o = UpdateOptions::forFinishedSeries();
        m_chbFilesUpdate->setChecked(o.files);
        m_chbProgUpdate->setChecked(o.program);
        m_chbFilesUpdate->setEnabled(false);
        m_chbProgUpdate->setEnabled(false);
        setPanel(0, QStringLiteral("Aktualizace souborů není aktivní - seriál byl ukončen."));
    }
}

void TfrmUpdate::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    if (!event->spontaneous())
        FormShow();
}

void TfrmUpdate::FormShow()
{
    LoadUserInfo();
}

bool TfrmUpdate::FormCloseQuery() const
{
    return m_UpdateIdle || m_AbortRequested;
}

void TfrmUpdate::closeEvent(QCloseEvent* event)
{
    if (!FormCloseQuery()) {
        event->ignore();
        return;
    }
    // The dialog closes through reject(), which does the closing steps.
    QDialog::closeEvent(event);
}

void TfrmUpdate::reject()
{
    // Escape, the close button and the title bar all end here.
    if (!FormCloseQuery())
        return;
    FormClose();
    QDialog::reject();
}

void TfrmUpdate::FormClose()
{
    m_bhUpdate->hide();
    QFile::remove(updateIniPath());
    const QStringList lines = m_seUserInfo->lines();
    if (!lines.isEmpty() && !lines.constFirst().trimmed().isEmpty())
        WriteTextLines(programFolder() + P(ProfileId::UserInfoFileName), lines);
    abandonTransfers();
}

bool TfrmUpdate::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_lblExeDownload || watched == m_lblHelpDownload) {
        const bool help = watched == m_lblHelpDownload;
        switch (event->type()) {
        case QEvent::Enter:
            if (help)
                setColour(m_lblHelpDownload, Qt::blue);
            setUnderline(static_cast<QLabel*>(watched), true);
            break;
        case QEvent::Leave:
            if (help)
                setColour(m_lblHelpDownload, Qt::red);
            setUnderline(static_cast<QLabel*>(watched), false);
            break;
        case QEvent::MouseButtonRelease:
            if (static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton) {
                help ? lblHelpDownloadClick() : lblExeDownloadClick();
                return true;
            }
            break;
        default:
            break;
        }
    }
    return QDialog::eventFilter(watched, event);
}

void TfrmUpdate::chbProgUpdateClick()
{
    const UpdateOptions o = UpdateOptions{m_chbProgUpdate->isChecked(), m_chbFilesUpdate->isChecked()}.withProgram(
        m_chbProgUpdate->isChecked());
    if (o.files != m_chbFilesUpdate->isChecked())
        m_chbFilesUpdate->setChecked(o.files);
}

void TfrmUpdate::chbFilesUpdateClick()
{
    const UpdateOptions o = UpdateOptions{m_chbProgUpdate->isChecked(), m_chbFilesUpdate->isChecked()}.withFiles(
        m_chbFilesUpdate->isChecked());
    if (o.program != m_chbProgUpdate->isChecked())
        m_chbProgUpdate->setChecked(o.program);
}

void TfrmUpdate::setPanel(int panel, const QString& text, bool repaintNow)
{
    m_panels[panel]->setText(text);
    if (repaintNow)
        m_stbDownload->repaint();
}

QString TfrmUpdate::panelText(int panel) const
{
    return m_panels[panel]->text();
}

void TfrmUpdate::setProgress(int total, int readed)
{
    // The bar repaints itself at once on every visible step; a fast transfer reports
    // far more chunks than the screen shows frames, so the bar takes the newest
    // position once per frame.
    m_progressTotal = total;
    m_progressReaded = readed;
    if (!m_progressTimer->isActive())
        m_progressTimer->start();
}

void TfrmUpdate::applyProgress()
{
    m_pgbDownload->setMaximum(m_progressTotal);
    m_pgbDownload->setValue(m_progressReaded);
}

void TfrmUpdate::AddLogLine(const QString& text, LogKind kind)
{
    QIcon icon;
    switch (kind) {
    case LogKind::Progress: icon = ImageList::named(QStringLiteral("log-info")); break;
    case LogKind::Done: icon = ImageList::named(QStringLiteral("log-ok")); break;
    case LogKind::Error: icon = ImageList::named(QStringLiteral("log-error")); break;
    case LogKind::Plain: break;
    }
    auto* item = new QListWidgetItem(icon, LogLineText(m_clock(), text), m_lbProcess);
    item->setSizeHint(QSize(0, LogLineHeight));
    item->setData(Qt::UserRole, int(kind));
    m_lbProcess->setCurrentItem(item);
    m_lbProcess->scrollToItem(item);
}

QStringList TfrmUpdate::logLines() const
{
    QStringList lines;
    for (int i = 0; i < m_lbProcess->count(); ++i)
        lines.append(m_lbProcess->item(i)->text());
    return lines;
}

void TfrmUpdate::EnableUpdateControls(bool idle)
{
    m_btnUpdate->setEnabled(idle);
    m_btnClose->setEnabled(idle);
    m_btnSaveLog->setEnabled(idle);
    m_grbUpdateSettings->setEnabled(idle);
    m_btnAbort->setEnabled(!idle);
    if (idle) {
        setBold(m_chbProgUpdate, false);
        setBold(m_chbFilesUpdate, false);
        m_progressTimer->stop();
        m_pgbDownload->setValue(0);
        setPanel(0, QString());
        setPanel(1, QString());
        m_btnClose->setFocus();
    }
}

int TfrmUpdate::CountLocalChapters() const
{
    const ChapterTree* tree = m_host.catalogueTree ? m_host.catalogueTree() : nullptr;
    return tree ? tavio::CountLocalChapters(*tree) : -1;
}

// ---------------------------------------------------------------- help file, links, log

void TfrmUpdate::CheckHelpFile()
{
    const QFileInfo help(programFolder() + P(ProfileId::HelpFileName));
    const QString br = P(ProfileId::LineBreak);
    if (!help.exists()) {
        m_lblHelpDownload->setToolTip(QStringLiteral("V pracovním adresáři programu nebyl nalezen soubor s nápovědou.")
                                      + br + QStringLiteral("Tento soubor si můžete stáhnout kliknutím na tento odkaz."));
        m_lblHelpDownload->setVisible(true);
    } else if (help.size() != Profile::instance().integer(ProfileId::HelpFileSize)) {
        m_lblHelpDownload->setToolTip(
            QStringLiteral("V pracovním adresáři programu byl nalezen soubor s nápovědou,") + br
            + QStringLiteral("která neodpovídá aktuální verzi programu.") + br
            + QStringLiteral("Aktuální soubor nápovědy si můžete stáhnout kliknutím na tento odkaz."));
        m_lblHelpDownload->setVisible(true);
    } else {
        m_lblHelpDownload->setVisible(false);
    }
}

void TfrmUpdate::lblHelpDownloadClick()
{
    ShowMessage(this,
                QStringLiteral("Po stažení rozbalte soubor nápovědy [help.zip] do adresáře,\r\nkam byl program ")
                    + P(ProfileId::ApplicationTitle) + QStringLiteral(" nainstalován."),
                MsgIcon::Information);
    ShellOpener::openAddress(QStringLiteral("http://") + m_host.addresses.helpZip);
}

void TfrmUpdate::lblExeDownloadClick()
{
    ShellOpener::openAddress(QStringLiteral("http://") + m_host.addresses.exe);
}

void TfrmUpdate::btnSaveLogClick()
{
    if (m_lbProcess->count() == 0) {
        ShowMessage(this, QStringLiteral("Proces stahování neobsahuje žádné údaje."), MsgIcon::Error);
        return;
    }
    const QString path =
        m_saveDialog(this, SaveFileRequest{QString(), QStringLiteral("soubory [*.log]|*.log"), QStringLiteral("log")});
    if (path.isEmpty())
        return;
    FileError error;
    if (!WriteTextLines(path, logLines(), &error))
        ShowMessage(this, QStringLiteral("Nelze uložit soubor ") + QDir::toNativeSeparators(path) + QLatin1Char('.')
                              + P(ProfileId::LineBreak) + error.message,
                    MsgIcon::Error);
}

// ---------------------------------------------------------------- user information, news

void TfrmUpdate::showUserInfoFallback()
{
    m_seUserInfo->setLines({QStringLiteral("Domovská stránka programu:"), P(ProfileId::HomePageUrl)});
}

void TfrmUpdate::LoadUserInfo()
{
    m_seUserInfo->clearLines();
    const QString path = programFolder() + P(ProfileId::UserInfoFileName);
    if (!QFileInfo::exists(path))
        return;
    const auto lines = ReadTextLines(path, MaxUserInfoBytes);
    if (lines)
        m_seUserInfo->setLines(*lines);
    else
        showUserInfoFallback();
}

void TfrmUpdate::htpgUserInfoDoneString(const QString& result)
{
    const QString text = result.trimmed();
    if (text.isEmpty()) {
        LoadUserInfo();
        return;
    }
    const QStringList lines = textLines(text);
    m_seUserInfo->setLines(lines);
    if (WriteTextLines(programFolder() + P(ProfileId::UserInfoFileName), lines))
        LoadUserInfo();
    else
        showUserInfoFallback();
}

void TfrmUpdate::htpgUserInfoError()
{
    AddLogLine(QStringLiteral("Nelze stáhnout soubor s informacemi pro uživatele !"), LogKind::Plain);
}

void TfrmUpdate::htpgWhatsNewDoneString(const QString& result)
{
    m_reWhatsNew->setPlainText(result);
}

void TfrmUpdate::htpgWhatsNewError()
{
    AddLogLine(QStringLiteral("Nelze stáhnout soubor s informacemi o nové verzi programu"), LogKind::Plain);
}

// ---------------------------------------------------------------- the check

void TfrmUpdate::btnUpdateClick()
{
    m_AbortRequested = false;
    m_UpdateIdle = false;
    m_CatalogueChanged = false;
    m_iniAnswered = false;
    m_lbProcess->clear();
    EnableUpdateControls(false);
    m_reWhatsNew->clear();
    m_btnAbort->setEnabled(false); // usable with the first answer
    const QString connecting = QStringLiteral("Připojování se k serveru ...");
    setPanel(0, connecting);
    AddLogLine(connecting, LogKind::Progress);
    m_htpgIniFile->setFileName(updateIniPath());
    m_htpgIniFile->setURL(m_host.addresses.updateIni);
    m_noAnswerTimer->start();
    m_htpgIniFile->FetchToFile();
}

void TfrmUpdate::btnAbortClick()
{
    if (m_UpdateIdle)
        return;
    if (ShowMessage(this,
                    QStringLiteral("Stahování souborů ještě nebylo dokončeno.Opravdu chcete ukončit aktualizaci."),
                    MsgIcon::Question, MsgButtons::YesNoDefaultNo)
        != MsgResult::Yes)
        return;
    m_AbortRequested = true;
    QFile::remove(updateIniPath());
    // A request the server has not answered yet has nothing to finish; the program
    // file is never kept in part. Both end at once instead of at the next chunk,
    // which a silent server never sends.
    if (m_htpgIniFile->isBusy() && !m_iniAnswered)
        m_htpgIniFile->CancelFetch();
    if (m_htpgIniFiles->isBusy() && !m_filesAnswered)
        m_htpgIniFiles->CancelFetch();
    if (m_htpgPgm->isBusy())
        m_htpgPgm->CancelFetch();
}

void TfrmUpdate::htpgIniFileProgress(int total, int readed)
{
    m_iniAnswered = true;
    const QString connected = QStringLiteral("Připojeno k serveru.");
    setPanel(0, connected);
    AddLogLine(connected, LogKind::Progress);
    const QString downloading = QStringLiteral("Stahování inicializačního souboru ...");
    setPanel(0, downloading);
    AddLogLine(downloading, LogKind::Progress);
    m_UpdateIdle = false;
    EnableUpdateControls(false);
    setProgress(total, readed);
}

void TfrmUpdate::htpgIniFileError()
{
    m_noAnswerTimer->stop();
    setPanel(0, QStringLiteral("Připojení k serveru selhalo"));
    AddLogLine(QStringLiteral("Připojení k serveru selhalo !"), LogKind::Error);
    ShowMessage(this, QStringLiteral("Nelze stáhnout soubor s informacemi"), MsgIcon::Error);
    AddLogLine(QStringLiteral("Nelze stáhnout soubor s informacemi"), LogKind::Progress);
    m_UpdateIdle = true;
    QFile::remove(updateIniPath());
    EnableUpdateControls(true);
}

void TfrmUpdate::htpgIniFileDoneFile(const QString& fileName)
{
    m_noAnswerTimer->stop();
    const QString done = QStringLiteral("Stahování inicializačního souboru dokončeno.");
    setPanel(0, done);
    AddLogLine(done, LogKind::Done);

    m_htpgUserInfo->FetchToString();

    const QString path = QDir(programFolder()).absoluteFilePath(fileName);
    const IniFile ini = IniFile::load(path).value_or(IniFile());
    const TProgramVersion running = GetProgramVersion();
    const UpdateDescriptor descriptor = ReadUpdateDescriptor(ini, running);
    if (!descriptor.hasLastVersion) {
        if (ShowMessage(this, QStringLiteral("Chyba formátu inicializačního souboru. Chcete tento soubor zobrazit?"),
                        MsgIcon::Error, MsgButtons::YesNo)
                == MsgResult::Yes
            && m_host.showIniFile)
            m_host.showIniFile(QFileInfo(path).absoluteFilePath());
        AddLogLine(QStringLiteral("Chyba formátu inicializačního souboru !"), LogKind::Error);
    }
    m_ServerVersion = descriptor.version;
    m_LastFileIndex = descriptor.lastFileIndex;

    const UpdateOptions options{m_chbProgUpdate->isChecked(), m_chbFilesUpdate->isChecked()};
    const UpdatePlan plan = PlanUpdate(descriptor, running, options);
    if (plan.whatsNew)
        m_htpgWhatsNew->FetchToString();
    setPanel(0, ServerVersionText(m_ServerVersion));

    if (plan.programDownload) {
        AddLogLine(QStringLiteral("Stahování nové verze programu ..."), LogKind::Progress);
        StartProgramDownload();
        return;
    }
    if (options.program) {
        if (plan.noNewVersion) {
            ShowMessage(this, QStringLiteral("Nová verze programu nebyla nalezena. Zkuste to prosím později."),
                        MsgIcon::Error);
            AddLogLine(QStringLiteral("Nová verze programu nebyla nalezena."), LogKind::Progress);
        }
        QFile::remove(updateIniPath());
        m_UpdateIdle = true;
        EnableUpdateControls(true);
        if (plan.chapterCheck)
            ChapterCheck(descriptor.hasLastVersion);
        return;
    }
    if (plan.chapterCheck) {
        ChapterCheck(descriptor.hasLastVersion);
        return;
    }
    // Not reachable while one option is always checked; the run must still end.
    m_UpdateIdle = true;
    EnableUpdateControls(true);
}

void TfrmUpdate::ChapterCheck(bool sectionExisted)
{
    if (HasNewChapters(CountLocalChapters(), m_LastFileIndex)) {
        AddLogLine(QStringLiteral("Stahování seznamu souborů ..."), LogKind::Progress);
        StartChapterDownload();
        return;
    }
    if (sectionExisted) {
        ShowMessage(this, QStringLiteral("Nové díly seriálu nebyly nalezeny. Zkuste to prosím později."),
                    MsgIcon::Error);
        AddLogLine(QStringLiteral("Nové díly seriálu nebyly nalezeny."), LogKind::Progress);
    }
    QFile::remove(updateIniPath());
    QFile::remove(filesIniPath());
    m_UpdateIdle = true;
    EnableUpdateControls(true);
}

// ---------------------------------------------------------------- the program file

void TfrmUpdate::StartProgramDownload()
{
    m_htpgPgm->setFileName(programFolder() + P(ProfileId::ExeNameShort));
    m_htpgPgm->setURL(m_host.addresses.exe);
    m_htpgPgm->FetchToFile();
}

void TfrmUpdate::htpgPgmProgress(int total, int readed)
{
    setBold(m_chbProgUpdate, true);
    if (m_AbortRequested) {
        m_htpgPgm->CancelFetch();
        EnableUpdateControls(true);
        return;
    }
    m_UpdateIdle = false;
    EnableUpdateControls(false);
    setPanel(0, QStringLiteral("Stahování nové verze programu ... [") + ServerVersionText(m_ServerVersion)
                    + QLatin1Char(']'));
    setPanel(1, SizeText(readed, total));
    setProgress(total, readed);
}

void TfrmUpdate::htpgPgmDoneFile(const QString& fileName)
{
    const QString downloaded = QDir(programFolder()).absoluteFilePath(fileName);
    if (!looksLikeProgramFile(downloaded)) {
        // An error page delivered whole is a successful transfer, but no program.
        AddLogLine(QStringLiteral("Stažený soubor není program: ") + QFileInfo(downloaded).fileName(), LogKind::Error);
        htpgPgmError();
        return;
    }
    AddLogLine(QStringLiteral("Stahování nové verze programu dokončeno"), LogKind::Done);
    m_UpdateIdle = true;
    setBold(m_chbProgUpdate, false);

    const QString folder = programFolder();
    if (QFile::rename(m_host.programFile, folder + P(ProfileId::OldExeName))) {
        QFile::setPermissions(downloaded, QFile::permissions(downloaded) | QFileDevice::ExeOwner | QFileDevice::ExeUser
                                              | QFileDevice::ExeGroup | QFileDevice::ExeOther);
        QFile::rename(downloaded, folder + P(ProfileId::ExeName));
        QFile::remove(updateIniPath());
        m_RestartRequested =
            ShowMessage(this,
                        QStringLiteral("Stahování nové verze programu bylo dokončeno. Pro dokončení aktualizačního "
                                       "procesu je potřeba program ")
                            + P(ProfileId::ApplicationTitle) + QStringLiteral(" zavřít ")
                            + QStringLiteral("a znovu spustit. Chcete po dokončení stahování ")
                            + QStringLiteral("všech položek program restartovat?"),
                        MsgIcon::Question, MsgButtons::YesNo)
            == MsgResult::Yes;
    } else {
        QString folderText = QDir::toNativeSeparators(folder);
        while (folderText.size() > 1 && (folderText.endsWith(QLatin1Char('/')) || folderText.endsWith(QLatin1Char('\\'))))
            folderText.chop(1);
        ShowMessage(this,
                    QStringLiteral("Nemohu přejmenovat soubor exe => aktualizace nové verze programu nebude dokončena. "
                                   "Pro dokončení aktualizace přejmenujte soubor \"")
                        + P(ProfileId::ExeNameShort) + QStringLiteral("\" v adresáři ") + folderText
                        + QStringLiteral(", nebo stáhněte nový soubor ") + P(ProfileId::ExeName)
                        + QStringLiteral(" ručně pomocí odkazu ")
                        + QStringLiteral("\"Stáhnout soubor \"exe\" ručně\" v dialogovém okně \"Aktualizace\", ")
                        + QStringLiteral("ukončete program, stávající soubor přepište a program spusťte."),
                    MsgIcon::Error);
    }

    if (m_chbFilesUpdate->isChecked()) {
        if (HasNewChapters(CountLocalChapters(), m_LastFileIndex)) {
            AddLogLine(QStringLiteral("Stahování seznamu souborů ..."), LogKind::Progress);
            StartChapterDownload();
            return;
        }
        ShowMessage(this, QStringLiteral("Nové díly seriálu nebyly nalezeny. Zkuste to prosím později."),
                    MsgIcon::Error);
        AddLogLine(QStringLiteral("Nové díly seriálu nenalezeny"), LogKind::Progress);
        QFile::remove(updateIniPath());
        QFile::remove(filesIniPath());
        m_UpdateIdle = true;
        EnableUpdateControls(true);
    } else {
        EnableUpdateControls(true);
    }
    if (m_RestartRequested)
        RestartProgram();
}

void TfrmUpdate::htpgPgmError()
{
    ShowMessage(this, QStringLiteral("Nelze stáhnout soubor nové verze programu"), MsgIcon::Error);
    AddLogLine(QStringLiteral("Nelze stáhnout soubor nové verze programu !"), LogKind::Error);
    m_UpdateIdle = true;
    QFile::remove(updateIniPath());
    QFile::remove(programFolder() + P(ProfileId::ExeNameShort));
    EnableUpdateControls(true);
}

void TfrmUpdate::RestartProgram()
{
    // The new copy must not find the marker of this one.
    if (m_host.releaseInstanceLock)
        m_host.releaseInstanceLock();
    // The window keeps painting during the pause, but takes no input.
    const QDeadlineTimer pause(m_restartDelayMs);
    while (!pause.hasExpired())
        QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents, int(std::max<qint64>(1, pause.remainingTime())));
    const bool started = m_host.startProgram ? m_host.startProgram(m_host.programFile)
                                             : QProcess::startDetached(m_host.programFile, {}, QString());
    if (!started)
        qCWarning(lcUpdate) << "cannot start" << m_host.programFile;
    if (m_host.quit)
        m_host.quit();
    else
        QCoreApplication::quit();
}

// ---------------------------------------------------------------- the chapters

void TfrmUpdate::StartChapterDownload()
{
    m_filesAnswered = false;
    m_htpgIniFiles->setFileName(filesIniPath());
    m_htpgIniFiles->setURL(m_host.addresses.filesIni);
    m_htpgIniFiles->FetchToFile();
}

void TfrmUpdate::htpgIniFilesProgress(int total, int readed)
{
    m_filesAnswered = true;
    m_UpdateIdle = false;
    EnableUpdateControls(false);
    setProgress(total, readed);
}

void TfrmUpdate::htpgIniFilesError()
{
    const QString text = QStringLiteral("Nelze stáhnout soubor s informacemi !");
    ShowMessage(this, text, MsgIcon::Error);
    AddLogLine(text, LogKind::Plain);
    m_UpdateIdle = true;
    QFile::remove(filesIniPath());
    EnableUpdateControls(true);
}

void TfrmUpdate::htpgIniFilesDoneFile(const QString& fileName)
{
    AddLogLine(QStringLiteral("Stahování seznamu souborů dokončeno"), LogKind::Done);
    m_FilesIni.emplace(IniFile::load(QDir(programFolder()).absoluteFilePath(fileName)).value_or(IniFile()));
    m_chapterFolder = chapterFolder();
    m_FileIndex = CountLocalChapters() + 1;
    if (StartChapter(m_htpgFiles))
        setPanel(0, QStringLiteral("Stahování souboru ..."));
}

THTTPGet* TfrmUpdate::otherComponent(THTTPGet* component) const
{
    return component == m_htpgFiles ? m_htpgSubFiles : m_htpgFiles;
}

bool TfrmUpdate::StartChapter(THTTPGet* component)
{
    const QString name = m_FilesIni->file(m_FileIndex);
    m_writtenFiles.clear();
    m_createdAssetFolder.clear();
    m_DownloadChapterPath = m_chapterFolder + name;
    m_DownloadState = DownloadState::AwaitChapter;
    if (name.isEmpty()) {
        // A section without a chapter file: nothing can be fetched for it.
        setPanel(1, QString());
        AddLogLine(QStringLiteral("Stahování souboru ..."), LogKind::Progress);
        FilesError(component);
        return false;
    }
    if (!IsSafeFileName(name)) {
        RefuseName(component, QStringLiteral("file"), name);
        return false;
    }
    if (m_chapterFolder.isEmpty()) {
        // Without a chapter folder the name would be taken against the current folder.
        FilesError(component);
        return false;
    }
    component->setFileName(m_DownloadChapterPath);
    component->setURL(UpdateChapterList::chapterAddress(m_host.addresses.chapters, name));
    setPanel(1, name);
    AddLogLine(QStringLiteral("Stahování souboru ") + name + QStringLiteral("..."), LogKind::Progress);
    component->FetchToFile();
    return true;
}

void TfrmUpdate::FilesProgress(int total, int readed)
{
    if (m_AbortRequested && panelText(0) != StopPanelText)
        setPanel(0, StopPanelText, true);
    m_UpdateIdle = false;
    EnableUpdateControls(false);
    setBold(m_chbFilesUpdate, true);
    if (!m_AbortRequested)
        setPanel(0, QStringLiteral("Stahování souboru ..."));
    setProgress(total, readed);
}

void TfrmUpdate::FilesDoneFile(THTTPGet* component, const QString& fileName)
{
    THTTPGet* other = otherComponent(component);
    AddLogLine(QStringLiteral("Stahování souboru ") + QFileInfo(fileName).fileName() + QStringLiteral(" dokončeno"),
               LogKind::Done);
    m_writtenFiles.append(fileName);

    if (m_DownloadState == DownloadState::AwaitChapter) {
        const QString dir = m_FilesIni->dir(m_FileIndex);
        m_SubDirName = AssetFolderName(dir);
        if (!m_SubDirName.isEmpty()) {
            if (!IsSafeFileName(m_SubDirName)) {
                RefuseName(other, QStringLiteral("dir"), dir);
                return;
            }
            const QString folder = m_chapterFolder + m_SubDirName;
            if (!QFileInfo(folder).isDir() && QDir().mkdir(folder))
                m_createdAssetFolder = folder;
        }
        m_SubFileIndex = 0;
        m_DownloadState = DownloadState::AwaitAsset;
    }

    if (m_DownloadState == DownloadState::AwaitAsset) {
        ++m_SubFileIndex;
        const QString asset = m_FilesIni->asset(m_FileIndex, m_SubFileIndex);
        if (!asset.isEmpty()) {
            if (!IsSafeFileName(asset)) {
                RefuseName(other, QStringLiteral("file") + QString::number(m_SubFileIndex), asset);
                return;
            }
            other->setURL(UpdateChapterList::assetAddress(m_host.addresses.chapters, m_SubDirName, asset));
            // Without an asset folder the pictures lie beside the chapter.
            other->setFileName(m_chapterFolder + (m_SubDirName.isEmpty() ? QString() : m_SubDirName + PathSep) + asset);
            setPanel(1, asset);
            AddLogLine(QStringLiteral("Stahování souboru ") + asset + QStringLiteral("..."), LogKind::Progress);
            other->FetchToFile();
            return;
        }
        // The chapter is complete and stays, whatever comes next.
        m_writtenFiles.clear();
        m_createdAssetFolder.clear();
        if (m_FileIndex < m_LastFileIndex && !m_AbortRequested) {
            ++m_FileIndex;
            StartChapter(other);
            return;
        }
        m_DownloadState = DownloadState::Finished;
    }

    if (m_DownloadState == DownloadState::Finished)
        Finish(component == m_htpgSubFiles);
}

void TfrmUpdate::RefuseName(THTTPGet* component, const QString& key, const QString& value)
{
    AddLogLine(QStringLiteral("Seznam souborů uvádí v oddílu [%1] nepřípustný název %2=\"%3\" (vede mimo adresář "
                              "se soubory)")
                   .arg(m_FileIndex)
                   .arg(key, value),
               LogKind::Error);
    FilesError(component);
}

void TfrmUpdate::FilesError(THTTPGet* component)
{
    const QString text = component == m_htpgFiles ? QStringLiteral("Nelze stáhnout nové díly seriálu !")
                                                  : QStringLiteral("Nelze stáhnout nové díly seriálu");
    ShowMessage(this, text, MsgIcon::Error);
    AddLogLine(text, LogKind::Error);
    m_CatalogueChanged = true;
    m_UpdateIdle = true;
    QFile::remove(filesIniPath());
    // Only what this run wrote of the failed chapter goes; a copy that was there
    // before the run stays, since a failed transfer never touches its target.
    for (const QString& written : std::as_const(m_writtenFiles))
        QFile::remove(written);
    if (!m_createdAssetFolder.isEmpty()) {
        QString error;
        if (!DeleteFolderTree(m_createdAssetFolder, &error))
            qCWarning(lcUpdate) << error;
    }
    m_writtenFiles.clear();
    m_createdAssetFolder.clear();
    m_FilesIni.reset();
    m_DownloadState = DownloadState::Finished;
    EnableUpdateControls(true);
}

void TfrmUpdate::Finish(bool onSubFiles)
{
    ShowMessage(this, QStringLiteral("Stahování nových dílů seriálu bylo dokončeno."), MsgIcon::Information);
    m_UpdateIdle = true;
    m_FilesIni.reset();
    m_btnAbort->setEnabled(false);
    const QString tail = onSubFiles ? QString() : QStringLiteral(" ...");
    setPanel(0, QStringLiteral("Aktualizuji seznam souborů") + tail);
    setPanel(1, QString(), true);
    if (m_host.rebuildCatalogue)
        m_host.rebuildCatalogue(m_chapterFolder);
    setPanel(0, QStringLiteral("Aktualizuji vlastní seznam souborů") + tail, true);
    if (m_host.refreshSearchList)
        m_host.refreshSearchList();
    EnableUpdateControls(true);
    if (m_host.enableNextChapter)
        m_host.enableNextChapter();
    if (m_RestartRequested)
        RestartProgram();
}

} // namespace tavio
