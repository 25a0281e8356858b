#pragma once

#include "AppSettings.h"
#include "FileLayout.h"
#include "MainTypes.h"

#include <QMainWindow>

#include <memory>

class QAction;
class QMenu;
class QTabWidget;
class QTimer;
class QToolButton;

namespace tavio {

class CataloguePage;
class ChapterTree;
class FindDialog;
class SettingsStore;
class SingleInstanceLock;
class TfrmSplash;
class TreeNode;
class TreeModel;

// What a main window needs from its surroundings; tests give it a temporary world.
struct Environment
{
    FileLayout layout = FileLayout::forThisProgram();
    SettingsStore* store = nullptr;
    QString lockFolder;      // empty: the user's runtime folder
    bool fixedWaits = true;  // the pauses that let the splash texts be read
};

// The main window: the pages, the menus and the program's start and end.
class TfrmAll final : public QMainWindow
{
    Q_OBJECT
public:
    explicit TfrmAll(const Environment& env);
    ~TfrmAll() override;

    // The start-up sequence, with the splash showing its progress.
    void FormCreate(TfrmSplash* splash);
    // The saves at the end; runs once, and not at all for a refused second copy.
    void FormDestroy();

    bool SecondInstance() const { return m_secondInstance; }
    bool SerialFinished() const { return m_serialFinished; }
    bool aboutWindowFlag() const { return m_aboutWindow; }
    void setAboutWindowFlag(bool on) { m_aboutWindow = on; }
    QString CurrentChapterPath() const { return m_currentChapterPath; }
    QString CustomTreePath() const { return m_customTreePath; }
    QString FindHistoryPath() const { return m_findHistoryPath; }
    QString DefaultNotesPath() const { return m_defaultNotesPath; }
    const FileLayout& layout() const { return m_env.layout; }
    AppSettings& settings() { return m_settings; }

    CataloguePage* catalogue() const { return m_catalogue; }
    QTabWidget* pgcFiles() const { return m_pgcFiles; }
    FindDialog* dlgFindNodeText() const { return m_dlgFindNodeText; }
    QAction* action(const QString& name) const;
    QMenu* helpMenu() const { return m_mnuHelp; }
    QToolButton* helpButton() const { return m_helpButton; }

    // The tree find over the active page's tree.
    void tlbFindNodeClick();
    void tlbFindNextNodeClick();
    void dlgFindNodeTextFind();
    void ActivateChapterView();

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void createMenus();
    QAction* addCommand(QMenu* menu, const QString& name, const QString& caption, const QKeySequence& shortcut,
                        int helpContext, const QString& icon = {});
    void applyShowHints();
    void mnuShowHintsClick();
    void mnuOneInstanceClick();
    void mnuOpenLastProjectClick();
    void RestoreWindowGeometry();
    void SaveWindowGeometry();
    void WriteLastProject();
    void wait(int ms);
    void moveHelpMenuRight();

    Environment m_env;
    std::unique_ptr<SettingsStore> m_ownStore;
    AppSettings m_settings;
    std::unique_ptr<SingleInstanceLock> m_lock;

    bool m_secondInstance = false;
    bool m_serialFinished = false;
    bool m_aboutWindow = false;
    bool m_findFlag = false;
    bool m_bookmarkFlag = false;
    bool m_destroyed = false;
    QString m_currentChapterPath;
    QString m_customTreePath;
    QString m_findHistoryPath;
    QString m_defaultNotesPath;

    QTabWidget* m_pgcFiles = nullptr;
    CataloguePage* m_catalogue = nullptr;
    FindDialog* m_dlgFindNodeText = nullptr;
    QMenu* m_mnuHelp = nullptr;
    QToolButton* m_helpButton = nullptr;
    QHash<QString, QAction*> m_actions;
};

} // namespace tavio
