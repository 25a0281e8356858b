#pragma once

#include "UpdateChapterList.h"
#include "UpdateHost.h"
#include "UpdateRules.h"
#include "UpdateVerify.h"

#include <QObject>
#include <QString>
#include <QStringList>

#include <optional>

class QTimer;

namespace tavio {

class THTTPGet;

// How the update talks to the user: message boxes and yes/no questions. The update
// window answers with real message boxes; tests answer with a fake.
class UpdatePrompt
{
public:
    enum class Icon { Error, Information, Question };
    virtual ~UpdatePrompt() = default;
    virtual void tell(const QString& text, Icon icon) = 0;
    // True for Yes. defaultNo: Enter answers No.
    virtual bool ask(const QString& text, Icon icon, bool defaultNo) = 0;
};

// One update run after another: fetches the server's update.ini, then the new
// program file and/or the chapters the reader does not have yet, and says what
// happens through its signals (log lines, status panels, progress, the state of the
// controls). It owns the download components and knows no widget; the update
// window shows what it says.
class UpdateSession final : public QObject
{
    Q_OBJECT
public:
    enum class LogKind { Progress = 0, Done = 1, Error = 2, Plain = 3 };
    enum class DownloadState { AwaitChapter, AwaitAsset, Finished };

    UpdateSession(UpdateHost host, UpdatePrompt* prompt, QObject* parent = nullptr);
    ~UpdateSession() override;
    Q_DISABLE_COPY_MOVE(UpdateSession)

    // The update command with the two options as they are checked.
    void start(const UpdateOptions& options);
    // The stop command: asks, and on Yes ends the run as soon as it may.
    void abort();
    // The run may be left (the window closed) now.
    bool mayClose() const { return m_UpdateIdle || m_AbortRequested; }
    // The window closes: transfers still running end without a word, and a chapter
    // that had not arrived whole leaves nothing behind.
    void close();

    bool UpdateIdle() const { return m_UpdateIdle; }
    bool AbortRequested() const { return m_AbortRequested; }
    bool RestartRequested() const { return m_RestartRequested; }
    bool CatalogueChanged() const { return m_CatalogueChanged; }
    TProgramVersion ServerVersion() const { return m_ServerVersion; }
    int LastFileIndex() const { return m_LastFileIndex; }
    int FileIndex() const { return m_FileIndex; }
    DownloadState downloadState() const { return m_DownloadState; }
    int CountLocalChapters() const;
    QString panelText(int panel) const { return m_panels[panel]; }
    const UpdateHost& host() const { return m_host; }

    THTTPGet* htpgIniFile() const { return m_htpgIniFile; }
    THTTPGet* htpgPgm() const { return m_htpgPgm; }
    THTTPGet* htpgIniFiles() const { return m_htpgIniFiles; }
    THTTPGet* htpgFiles() const { return m_htpgFiles; }
    THTTPGet* htpgSubFiles() const { return m_htpgSubFiles; }
    THTTPGet* htpgWhatsNew() const { return m_htpgWhatsNew; }
    THTTPGet* htpgUserInfo() const { return m_htpgUserInfo; }
    THTTPGet* htpgSignature() const { return m_htpgSignature; }
    // A transfer is running or completing.
    bool busy() const;

    // The pause between releasing the lock and starting the new program.
    void setRestartDelay(int ms) { m_restartDelayMs = ms; }
    // How long the first request may go unanswered before the stop command is offered.
    void setNoAnswerStopDelay(int ms);
    void setStallTimeout(int ms);

Q_SIGNALS:
    void logCleared();
    void logLine(const QString& text, tavio::UpdateSession::LogKind kind);
    // repaintNow: the text must be seen at once, before a long step.
    void panelChanged(int panel, const QString& text, bool repaintNow);
    void progress(int total, int readed);
    // The controls of a run (idle) or of no run; idle also clears the progress and the panels.
    void controlsEnabled(bool idle);
    void abortEnabled(bool enabled);
    void programBold(bool bold);
    void filesBold(bool bold);
    void whatsNewCleared();
    void whatsNewArrived(const QString& text);
    void userInfoArrived(const QString& text);

private:
    void createComponents();
    void abandonTransfers();
    void AddLogLine(const QString& text, LogKind kind);
    void EnableUpdateControls(bool idle);
    void setPanel(int panel, const QString& text, bool repaintNow = false);
    QString programFolder() const { return m_host.layout.programFolder(); }
    QString updateIniPath() const;
    QString filesIniPath() const;
    QString chapterFolder() const;
    void logRefusedStatus(THTTPGet* component, const QString& what);

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
    bool swapProgramFile(const QString& downloaded);
    void RestartProgram();
    void AfterProgram();
    void refuseProgram();

    // The signatures of update.ini and files.ini.
    enum class Signed { UpdateIni, FilesIni };
    void fetchSignature(Signed what);
    void signatureArrived(const QString& text);
    void signatureMissing();

    // The chapters.
    void StartChapterDownload();
    void htpgIniFilesProgress(int total, int readed);
    void htpgIniFilesDoneFile(const QString& fileName);
    void chapterListAccepted();
    void htpgIniFilesError();
    bool StartChapter(THTTPGet* component);
    void FilesDoneFile(THTTPGet* component, const QString& fileName);
    void FilesProgress(int total, int readed);
    void FilesError(THTTPGet* component);
    void RefuseName(THTTPGet* component, const QString& key, const QString& value);
    bool placeChapter(THTTPGet* component);
    void Finish(bool onSubFiles);
    THTTPGet* otherComponent(THTTPGet* component) const;

    UpdateHost m_host;
    UpdatePrompt* m_prompt;
    UpdateOptions m_options;
    int m_restartDelayMs = 3000;
    int m_stallTimeoutMs = 0; // 0: the component's own
    QString m_panels[2];

    bool m_UpdateIdle = true;
    bool m_AbortRequested = false;
    bool m_RestartRequested = false;
    bool m_CatalogueChanged = false;
    TProgramVersion m_ServerVersion;
    ExpectedFile m_programExpected; // what update.ini says of the program file
    int m_LastFileIndex = 0;
    bool m_iniAnswered = false;   // update.ini's first bytes arrived
    bool m_filesAnswered = false; // files.ini's first bytes arrived

    std::optional<UpdateChapterList> m_FilesIni;
    int m_FileIndex = 0;
    int m_SubFileIndex = 0;
    QString m_SubDirName;
    QString m_DownloadChapterPath;
    DownloadState m_DownloadState = DownloadState::Finished;
    QString m_chapterFolder;     // F for the whole run
    QString m_stagingFolder;     // where the chapter in progress is put together
    QString m_chapterFile;       // the chapter in progress: its file,
    QStringList m_chapterAssets; // and its pictures so far
    bool m_chaptersPlaced = false;

    QTimer* m_noAnswerTimer = nullptr;
    THTTPGet* m_htpgIniFile = nullptr;
    THTTPGet* m_htpgPgm = nullptr;
    THTTPGet* m_htpgIniFiles = nullptr;
    THTTPGet* m_htpgFiles = nullptr;
    THTTPGet* m_htpgSubFiles = nullptr;
    THTTPGet* m_htpgWhatsNew = nullptr;
    THTTPGet* m_htpgUserInfo = nullptr;
    THTTPGet* m_htpgSignature = nullptr;
    Signed m_signed = Signed::UpdateIni;
};

} // namespace tavio
