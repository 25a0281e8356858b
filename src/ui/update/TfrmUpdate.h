#pragma once

#include "UpdateHost.h"
#include "UpdateRules.h"
#include "UpdateSession.h"
#include "update/SaveFileDialog.h"

#include <QDialog>
#include <QStringList>


class QCheckBox;
class QGroupBox;
class QLabel;
class QListWidget;
class QPlainTextEdit;
class QProgressBar;
class QPushButton;
class QStatusBar;
class QTimer;
class QToolButton;

namespace tavio {

class BalloonHint;
class THTTPGet;
class UserInfoView;

// "Aktualizace": the view of an update session. It shows what the session says
// (log, status panels, progress, news, the authors' message to the readers),
// answers its questions with message boxes, and keeps what belongs to the window
// alone: the options, the help file and program links, saving the log, User.nfo.
// One update run per press of "Aktualizuj".
class TfrmUpdate final : public QDialog, private UpdatePrompt
{
    Q_OBJECT
public:
    using LogKind = UpdateSession::LogKind;
    using DownloadState = UpdateSession::DownloadState;

    explicit TfrmUpdate(UpdateHost host, QWidget* parent = nullptr);
    ~TfrmUpdate() override;

    // The menu command: shows the window modally over mainWindow, reloads the
    // catalogue when a chapter download failed, destroys the window and gives the
    // chapter view the keyboard again (host.activateChapterView, if set).
    static void run(QWidget* mainWindow, const UpdateHost& host);

    UpdateSession* session() const { return m_session; }
    // Protocol state, as the session keeps it.
    bool UpdateIdle() const { return m_session->UpdateIdle(); }
    bool AbortRequested() const { return m_session->AbortRequested(); }
    bool RestartRequested() const { return m_session->RestartRequested(); }
    bool CatalogueChanged() const { return m_session->CatalogueChanged(); }
    TProgramVersion ServerVersion() const { return m_session->ServerVersion(); }
    int LastFileIndex() const { return m_session->LastFileIndex(); }
    int FileIndex() const { return m_session->FileIndex(); }
    DownloadState downloadState() const { return m_session->downloadState(); }

    void AddLogLine(const QString& text, LogKind kind);
    void EnableUpdateControls(bool idle);
    int CountLocalChapters() const { return m_session->CountLocalChapters(); }
    void CheckHelpFile();
    void LoadUserInfo();

    // Commands.
    void btnUpdateClick();
    void btnAbortClick();
    void btnSaveLogClick();
    void lblHelpDownloadClick();
    void lblExeDownloadClick();
    bool FormCloseQuery() const;

    // The log's lines as text, in order.
    QStringList logLines() const;
    QString panelText(int panel) const;

    QGroupBox* grbUpdateSettings() const { return m_grbUpdateSettings; }
    QCheckBox* chbProgUpdate() const { return m_chbProgUpdate; }
    QCheckBox* chbFilesUpdate() const { return m_chbFilesUpdate; }
    QLabel* lblExeDownload() const { return m_lblExeDownload; }
    QLabel* lblHelpDownload() const { return m_lblHelpDownload; }
    QGroupBox* grbWhatsNew() const { return m_grbWhatsNew; }
    QPlainTextEdit* reWhatsNew() const { return m_reWhatsNew; }
    QProgressBar* pgbDownload() const { return m_pgbDownload; }
    QPushButton* btnUpdate() const { return m_btnUpdate; }
    QPushButton* btnAbort() const { return m_btnAbort; }
    QPushButton* btnClose() const { return m_btnClose; }
    QLabel* lblProcess() const { return m_lblProcess; }
    QToolButton* btnSaveLog() const { return m_btnSaveLog; }
    QListWidget* lbProcess() const { return m_lbProcess; }
    QGroupBox* grbUserInfo() const { return m_grbUserInfo; }
    UserInfoView* seUserInfo() const { return m_seUserInfo; }
    QStatusBar* stbDownload() const { return m_stbDownload; }
    BalloonHint* bhUpdate() const { return m_bhUpdate; }
    THTTPGet* htpgIniFile() const { return m_session->htpgIniFile(); }
    THTTPGet* htpgPgm() const { return m_session->htpgPgm(); }
    THTTPGet* htpgIniFiles() const { return m_session->htpgIniFiles(); }
    THTTPGet* htpgFiles() const { return m_session->htpgFiles(); }
    THTTPGet* htpgSubFiles() const { return m_session->htpgSubFiles(); }
    THTTPGet* htpgWhatsNew() const { return m_session->htpgWhatsNew(); }
    THTTPGet* htpgUserInfo() const { return m_session->htpgUserInfo(); }

    // Replace what would block a test.
    void setSaveDialog(SaveFileDialog dialog) { m_saveDialog = std::move(dialog); }
    void setClock(std::function<QDateTime()> clock) { m_clock = std::move(clock); }
    // The pause between releasing the lock and starting the new program.
    void setRestartDelay(int ms) { m_session->setRestartDelay(ms); }
    // How long the first request may go unanswered before the stop command is offered.
    void setNoAnswerStopDelay(int ms) { m_session->setNoAnswerStopDelay(ms); }
    void setStallTimeout(int ms) { m_session->setStallTimeout(ms); }

    void reject() override;

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // UpdatePrompt
    void tell(const QString& text, Icon icon) override;
    bool ask(const QString& text, Icon icon, bool defaultNo) override;

    void FormCreate();
    void FormShow();
    void FormClose();
    void bindSession();
    void chbProgUpdateClick();
    void chbFilesUpdateClick();
    void setPanel(int panel, const QString& text, bool repaintNow = false);
    void setProgress(int total, int readed);
    void applyProgress();
    QString programFolder() const { return m_host.layout.programFolder(); }

    // The texts beside the protocol.
    void htpgUserInfoDoneString(const QString& result);
    void showUserInfoFallback();

    UpdateHost m_host;
    UpdateSession* m_session = nullptr;
    SaveFileDialog m_saveDialog;
    std::function<QDateTime()> m_clock;

    QTimer* m_progressTimer = nullptr;
    int m_progressTotal = 0;
    int m_progressReaded = 0;

    QGroupBox* m_grbUpdateSettings = nullptr;
    QCheckBox* m_chbProgUpdate = nullptr;
    QLabel* m_lblExeDownload = nullptr;
    QLabel* m_lblHelpDownload = nullptr;
    QCheckBox* m_chbFilesUpdate = nullptr;
    QGroupBox* m_grbWhatsNew = nullptr;
    QPlainTextEdit* m_reWhatsNew = nullptr;
    QProgressBar* m_pgbDownload = nullptr;
    QPushButton* m_btnUpdate = nullptr;
    QPushButton* m_btnAbort = nullptr;
    QPushButton* m_btnClose = nullptr;
    QLabel* m_lblProcess = nullptr;
    QToolButton* m_btnSaveLog = nullptr;
    QListWidget* m_lbProcess = nullptr;
    QGroupBox* m_grbUserInfo = nullptr;
    UserInfoView* m_seUserInfo = nullptr;
    QStatusBar* m_stbDownload = nullptr;
    QLabel* m_panels[2] = {nullptr, nullptr};
    BalloonHint* m_bhUpdate = nullptr;

};

} // namespace tavio
