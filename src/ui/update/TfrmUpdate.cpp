#include "TfrmUpdate.h"

#include "ChapterTree.h"
#include "ImageList.h"
#include "IniFile.h"
#include "MainTypes.h"
#include "MessageService.h"
#include "Profile.h"
#include "ShellOpener.h"
#include "TextFile.h"
#include "update/UserInfoView.h"
#include "widgets/BalloonHint.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGridLayout>
#include <QGuiApplication>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QPointer>
#include <QProgressBar>
#include <QPushButton>
#include <QRegularExpression>
#include <QScreen>
#include <QShowEvent>
#include <QStatusBar>
#include <QTimer>
#include <QToolButton>
#include <QVBoxLayout>

namespace tavio {

namespace {

constexpr int DesignWidth = 388;
constexpr int DesignHeight = 412;
constexpr int LogLineHeight = 17;
// User.nfo holds a short message; anything larger is not one of ours.
constexpr qint64 MaxUserInfoBytes = 1024 * 1024;
constexpr int ProgressFrameMs = 15;

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

} // namespace

TfrmUpdate::TfrmUpdate(UpdateHost host, QWidget* parent)
    : QDialog(parent,
              Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowContextHelpButtonHint
                  | Qt::WindowCloseButtonHint | Qt::WindowMaximizeButtonHint)
    , m_host(std::move(host))
    , m_session(new UpdateSession(m_host, this, this))
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
    m_stbDownload->setSizeGripEnabled(true);
    m_stbDownload->setProperty("helpContext", 31);
    for (QLabel*& panel : m_panels) {
        panel = new QLabel(m_stbDownload);
        panel->setTextFormat(Qt::PlainText);
    }
    // Two panels side by side that never paint over each other: the sizes take the
    // width their text needs (more than the design's 50 at these font sizes), the
    // step text what is left of the design's 270 and more, cut rather than pushing.
    m_panels[0]->setMinimumWidth(100);
    m_panels[0]->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    m_panels[1]->setMinimumWidth(50);
    m_panels[1]->setAlignment(Qt::AlignCenter);
    m_stbDownload->addWidget(m_panels[0], 1);
    m_stbDownload->addWidget(m_panels[1]);

    auto* content = new QVBoxLayout;
    content->setContentsMargins(8, 8, 8, 4);
    content->addWidget(m_grbUpdateSettings);
    content->addWidget(m_grbWhatsNew, 1);
    content->addWidget(m_pgbDownload);
    content->addLayout(buttons);
    content->addLayout(processHead);
    content->addWidget(m_lbProcess, 3);
    content->addWidget(m_grbUserInfo, 1);
    auto* root = new QVBoxLayout(this);
    root->setContentsMargins(0, 0, 0, 0);
    root->setSpacing(0);
    root->addLayout(content, 1);
    root->addWidget(m_stbDownload);

    // The design size is the least size; a larger window gives the log the room.
    for (QWidget* list : std::initializer_list<QWidget*>{m_reWhatsNew, m_lbProcess, m_seUserInfo})
        list->setMinimumHeight(3 * LogLineHeight);
    m_bhUpdate = new BalloonHint(this);
    m_bhUpdate->setObjectName(QStringLiteral("bhUpdate"));
    for (QWidget* w : std::initializer_list<QWidget*>{m_lblExeDownload, m_lblHelpDownload, m_btnSaveLog})
        m_bhUpdate->watch(w);

    m_progressTimer = new QTimer(this);
    m_progressTimer->setSingleShot(true);
    m_progressTimer->setInterval(ProgressFrameMs);
    connect(m_progressTimer, &QTimer::timeout, this, &TfrmUpdate::applyProgress);

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

    bindSession();
    FormCreate();

    // After FormCreate: the help link may have been shown.
    // The least size holds the options in bold too, as a download shows them.
    setBold(m_chbProgUpdate, true);
    setBold(m_chbFilesUpdate, true);
    const QSize least = QSize(DesignWidth, DesignHeight).expandedTo(layout()->minimumSize());
    setBold(m_chbProgUpdate, false);
    setBold(m_chbFilesUpdate, false);
    setMinimumSize(least);
    // It opens a little taller, so that the log shows a few more lines.
    const QSize size = least + QSize(0, 4 * LogLineHeight);
    resize(size);
    if (parent)
        move(parent->geometry().center() - QPoint(size.width() / 2, size.height() / 2));
    else if (const QScreen* screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - QPoint(size.width() / 2, size.height() / 2));
}

TfrmUpdate::~TfrmUpdate() = default;

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

// ---------------------------------------------------------------- the session

void TfrmUpdate::bindSession()
{
    UpdateSession* s = m_session;
    connect(s, &UpdateSession::logCleared, m_lbProcess, &QListWidget::clear);
    connect(s, &UpdateSession::logLine, this, &TfrmUpdate::AddLogLine);
    connect(s, &UpdateSession::panelChanged, this, &TfrmUpdate::setPanel);
    connect(s, &UpdateSession::progress, this, &TfrmUpdate::setProgress);
    connect(s, &UpdateSession::controlsEnabled, this, &TfrmUpdate::EnableUpdateControls);
    connect(s, &UpdateSession::abortEnabled, m_btnAbort, &QWidget::setEnabled);
    connect(s, &UpdateSession::programBold, this, [this](bool on) { setBold(m_chbProgUpdate, on); });
    connect(s, &UpdateSession::filesBold, this, [this](bool on) { setBold(m_chbFilesUpdate, on); });
    connect(s, &UpdateSession::whatsNewCleared, m_reWhatsNew, &QPlainTextEdit::clear);
    connect(s, &UpdateSession::whatsNewArrived, m_reWhatsNew, &QPlainTextEdit::setPlainText);
    connect(s, &UpdateSession::userInfoArrived, this, &TfrmUpdate::htpgUserInfoDoneString);
}

void TfrmUpdate::tell(const QString& text, Icon icon)
{
    ShowMessage(this, text, icon == Icon::Information ? MsgIcon::Information : MsgIcon::Error);
}

bool TfrmUpdate::ask(const QString& text, Icon icon, bool defaultNo)
{
    const MsgIcon shown = icon == Icon::Question ? MsgIcon::Question
                        : icon == Icon::Error    ? MsgIcon::Error
                                                 : MsgIcon::Information;
    return ShowMessage(this, text, shown, defaultNo ? MsgButtons::YesNoDefaultNo : MsgButtons::YesNo) == MsgResult::Yes;
}

void TfrmUpdate::btnUpdateClick()
{
    m_session->start(UpdateOptions{m_chbProgUpdate->isChecked(), m_chbFilesUpdate->isChecked()});
}

void TfrmUpdate::btnAbortClick()
{
    m_session->abort();
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
    if (m_host.layout.isInstalled() && !m_host.serialFinished) {
        // The package manager updates an installed program; the chapters still come from here.
        m_chbProgUpdate->setChecked(false);
        m_chbFilesUpdate->setChecked(true);
        m_chbProgUpdate->setEnabled(false);
        m_chbFilesUpdate->setEnabled(false);
        const QString why = QStringLiteral("Nainstalovaný program aktualizuje správce balíčků; zde se stahují kapitoly kurzu.");
        m_chbProgUpdate->setToolTip(why);
        m_chbFilesUpdate->setToolTip(why);
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
    return m_session->mayClose();
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
    const QStringList lines = m_seUserInfo->lines();
    if (!lines.isEmpty() && !lines.constFirst().trimmed().isEmpty())
        WriteTextLines(m_host.layout.updateFolder() + P(ProfileId::UserInfoFileName), lines);
    m_session->close();
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
    const QString path = m_host.layout.updateFolder() + P(ProfileId::UserInfoFileName);
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
    if (WriteTextLines(m_host.layout.updateFolder() + P(ProfileId::UserInfoFileName), lines))
        LoadUserInfo();
    else
        showUserInfoFallback();
}

} // namespace tavio
