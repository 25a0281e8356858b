#pragma once

#include <QDateTime>
#include <QDialog>
#include <QPointer>
#include <QString>
#include <QStringList>

#include <functional>

class QAction;
class QCheckBox;
class QGroupBox;
class QLabel;
class QListWidget;
class QMenu;
class QProgressBar;
class QPushButton;
class QStatusBar;
class QToolButton;

namespace tavio {

class TfrmLogView;

// "Vyčistit soubory": removes the auto-print body tag and the scripts from the marked
// chapter files, keeps a backup of each and writes a log of the run.
class TfrmDelPrint final : public QDialog
{
    Q_OBJECT
public:
    // chapterFolder: the main window's chapter folder; logFolder: where the logs go.
    TfrmDelPrint(const QString& chapterFolder, const QString& logFolder, bool showHints, QWidget* parent = nullptr);
    ~TfrmDelPrint() override;

    // The menu command. For a finished series it only explains that the tool is off;
    // otherwise it shows the window modally over mainWindow and destroys it when
    // closed, then calls whenDestroyed.
    static void run(QWidget* mainWindow, bool serialFinished, const QString& chapterFolder, const QString& logFolder,
                    bool showHints, const std::function<void()>& whenDestroyed = {});

    QString folder() const { return m_folder; }
    bool running() const { return m_running; }
    QString logFilePath() const { return m_logFilePath; }
    QStringList log() const { return m_log; }
    // The file names of the list in their order, and the marked ones.
    QStringList entries() const;
    QStringList markedEntries() const;
    void setMarked(const QString& name, bool marked);
    // The log viewers this window opened that still exist.
    QList<TfrmLogView*> logViews() const;

    QListWidget* chlFiles() const { return m_chlFiles; }
    QProgressBar* pgbFileProcess() const { return m_pgbFileProcess; }
    QProgressBar* pgbAllProcess() const { return m_pgbAllProcess; }
    QPushButton* btnClose() const { return m_btnClose; }
    QPushButton* btnSelDir() const { return m_btnSelDir; }
    QToolButton* btnPlus() const { return m_btnPlus; }
    QToolButton* btnInvert() const { return m_btnInvert; }
    QToolButton* btnMinus() const { return m_btnMinus; }
    QCheckBox* chbShowLogFile() const { return m_chbShowLogFile; }
    QPushButton* btnStart() const { return m_btnStart; }
    QCheckBox* chbInstall() const { return m_chbInstall; }
    QStatusBar* stBar() const { return m_stBar; }
    QAction* mnuFilesRefresh() const { return m_mnuFilesRefresh; }

    // Replaces the folder dialog (tests): gets the parent and the current folder,
    // returns the chosen folder or an empty text.
    using FolderPicker = std::function<QString(QWidget* parent, const QString& current)>;
    void setFolderPicker(FolderPicker picker) { m_pickFolder = std::move(picker); }
    // Replaces the clock that names the log (tests).
    void setClock(std::function<QDateTime()> clock) { m_clock = std::move(clock); }

    void FormShow();
    void btnSelDirClick();
    void mnuFilesRefreshClick();
    void btnPlusClick();
    void btnMinusClick();
    void btnInvertClick();
    void btnStartClick();

    void reject() override;

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    bool event(QEvent* event) override;

private:
    void FillList();
    void setFolder(const QString& folder);
    void setAllMarks(Qt::CheckState state);
    void setControlsEnabled(bool on);

    QString m_folder;
    QString m_chapterFolder;
    QString m_logFolder;
    bool m_running = false;
    QStringList m_log;
    QString m_logFilePath;
    QList<QPointer<TfrmLogView>> m_logViews;
    FolderPicker m_pickFolder;
    std::function<QDateTime()> m_clock;

    QGroupBox* m_groupBox1 = nullptr;
    QListWidget* m_chlFiles = nullptr;
    QMenu* m_popMenu1 = nullptr;
    QAction* m_mnuFilesRefresh = nullptr;
    QProgressBar* m_pgbFileProcess = nullptr;
    QProgressBar* m_pgbAllProcess = nullptr;
    QPushButton* m_btnClose = nullptr;
    QPushButton* m_btnSelDir = nullptr;
    QToolButton* m_btnPlus = nullptr;
    QToolButton* m_btnInvert = nullptr;
    QToolButton* m_btnMinus = nullptr;
    QCheckBox* m_chbShowLogFile = nullptr;
    QPushButton* m_btnStart = nullptr;
    QCheckBox* m_chbInstall = nullptr;
    QStatusBar* m_stBar = nullptr;
    QLabel* m_folderLabel = nullptr;
};

} // namespace tavio
