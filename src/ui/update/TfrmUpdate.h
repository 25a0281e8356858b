#pragma once

#include "UpdateChapterList.h"
#include "UpdateHost.h"
#include "UpdateRules.h"
#include "update/SaveFileDialog.h"

#include <QDialog>
#include <QStringList>

#include <optional>

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

// "Aktualizace": fetches the server's update descriptor, then the new program file
// and/or the chapters the reader does not have yet, and shows the news and the
// authors' message to the readers. One update run per press of "Aktualizuj".
class TfrmUpdate final : public QDialog
{
    Q_OBJECT
public:
    enum class LogKind { Progress = 0, Done = 1, Error = 2, Plain = 3 };
    enum class DownloadState { AwaitChapter, AwaitAsset, Finished };

    explicit TfrmUpdate(UpdateHost host, QWidget* parent = nullptr);
    ~TfrmUpdate() override;

    // The menu command: shows the window modally over mainWindow, reloads the
    // catalogue when a chapter download failed, destroys the window and gives the
    // chapter view the keyboard again (host.activateChapterView, if set).
    static void run(QWidget* mainWindow, const UpdateHost& host);

    // Protocol state.
    bool UpdateIdle() const { return m_UpdateIdle; }
    bool AbortRequested() const { return m_AbortRequested; }
    bool RestartRequested() const { return m_RestartRequested; }
    bool CatalogueChanged() const { return m_CatalogueChanged; }
    TProgramVersion ServerVersion() const { return m_ServerVersion; }
    int LastFileIndex() const { return m_LastFileIndex; }
    int FileIndex() const { return m_FileIndex; }
    DownloadState downloadState() const { return m_DownloadState; }

    void AddLogLine(const QString& text, LogKind kind);
    void EnableUpdateControls(bool idle);
    int CountLocalChapters() const;
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
    THTTPGet* htpgIniFile() const { return m_htpgIniFile; }
    THTTPGet* htpgPgm() const { return m_htpgPgm; }
    THTTPGet* htpgIniFiles() const { return m_htpgIniFiles; }
    THTTPGet* htpgFiles() const { return m_htpgFiles; }
    THTTPGet* htpgSubFiles() const { return m_htpgSubFiles; }
    THTTPGet* htpgWhatsNew() const { return m_htpgWhatsNew; }
    THTTPGet* htpgUserInfo() const { return m_htpgUserInfo; }

    // Replace what would block a test.
    void setSaveDialog(SaveFileDialog dialog) { m_saveDialog = std::move(dialog); }
    void setClock(std::function<QDateTime()> clock) { m_clock = std::move(clock); }
    // The pause between releasing the lock and starting the new program.
    void setRestartDelay(int ms) { m_restartDelayMs = ms; }
    // How long the first request may go unanswered before the stop command is offered.
    void setNoAnswerStopDelay(int ms);
    void setStallTimeout(int ms);

    void reject() override;

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void FormCreate();
    void FormShow();
    void FormClose();
    void createComponents();
    void abandonTransfers();
    void chbProgUpdateClick();
    void chbFilesUpdateClick();
    void setPanel(int panel, const QString& text, bool repaintNow = false);
    void setProgress(int total, int readed);
    void applyProgress();
    QString programFolder() const { return m_host.layout.programFolder(); }
    QString updateIniPath() const;
    QString filesIniPath() const;
    QString chapterFolder() const;

    // update.ini (the check).
    void htpgIniFileProgress(int total, int readed);
    void htpgIniFileDoneFile(const QString& fileName);
    void htpgIniFileError();
    void ChapterCheck(bool sectionExisted);

    // The program file.
    void StartProgramDownload();
    void htpgPgmProgress(int total, int readed);
    void htpgPgmDoneFile(const QString& fileName);
    void htpgPgmError();
    void RestartProgram();

    // The chapters.
    void StartChapterDownload();
    void htpgIniFilesProgress(int total, int readed);
    void htpgIniFilesDoneFile(const QString& fileName);
    void htpgIniFilesError();
    bool StartChapter(THTTPGet* component);
    void FilesDoneFile(THTTPGet* component, const QString& fileName);
    void FilesProgress(int total, int readed);
    void FilesError(THTTPGet* component);
    void RefuseName(THTTPGet* component, const QString& key, const QString& value);
    void Finish(bool onSubFiles);
    THTTPGet* otherComponent(THTTPGet* component) const;

    // The texts beside the protocol.
    void htpgUserInfoDoneString(const QString& result);
    void htpgUserInfoError();
    void htpgWhatsNewDoneString(const QString& result);
    void htpgWhatsNewError();
    void showUserInfoFallback();

    UpdateHost m_host;
    SaveFileDialog m_saveDialog;
    std::function<QDateTime()> m_clock;
    int m_restartDelayMs = 3000;
    int m_stallTimeoutMs = 0; // 0: the component's own

    // Protocol state.
    bool m_UpdateIdle = true;
    bool m_AbortRequested = false;
    bool m_RestartRequested = false;
    bool m_CatalogueChanged = false;
    TProgramVersion m_ServerVersion;
    int m_LastFileIndex = 0;
    bool m_iniAnswered = false;   // update.ini's first bytes arrived
    bool m_filesAnswered = false; // files.ini's first bytes arrived

    // Chapter download state.
    std::optional<UpdateChapterList> m_FilesIni;
    int m_FileIndex = 0;
    int m_SubFileIndex = 0;
    QString m_SubDirName;
    QString m_DownloadChapterPath;
    DownloadState m_DownloadState = DownloadState::Finished;
    QString m_chapterFolder;      // F for the whole run
    QStringList m_writtenFiles;   // what this run wrote of the chapter in progress
    QString m_createdAssetFolder; // the chapter's asset folder, if this run made it

    QTimer* m_noAnswerTimer = nullptr;
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

    THTTPGet* m_htpgIniFile = nullptr;
    THTTPGet* m_htpgPgm = nullptr;
    THTTPGet* m_htpgIniFiles = nullptr;
    THTTPGet* m_htpgFiles = nullptr;
    THTTPGet* m_htpgSubFiles = nullptr;
    THTTPGet* m_htpgWhatsNew = nullptr;
    THTTPGet* m_htpgUserInfo = nullptr;
};

} // namespace tavio
