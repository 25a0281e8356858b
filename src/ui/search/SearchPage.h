#pragma once

#include "ChapterSearch.h"
#include "ChapterTree.h"
#include "FindHistory.h"
#include "FindResultsPanel.h"
#include "MainTypes.h"
#include "widgets/Page.h"

#include <functional>

class QCheckBox;
class QComboBox;
class QLabel;
class QListWidget;
class QMenu;
class QPushButton;
class QTabWidget;
class QToolButton;
class QTreeView;

namespace tavio {

class SettingsStore;
class TreeModel;

// The page "Vyhledat text v souborech": a phrase searched in all or the marked
// chapters, one file after the other on the GUI thread, with Stop honoured between
// files.
class SearchPage final : public Page
{
    Q_OBJECT
public:
    // catalogue: the chapter tree whose order and captions the search follows;
    // chapterFolder gives the folder of the chapter files.
    SearchPage(SettingsStore& store, ChapterTree& catalogue, std::function<QString()> chapterFolder,
               QString historyPath, QWidget* mainWindow, QWidget* parent = nullptr);
    ~SearchPage() override;

    FindResultsPanel* pnlFindResults() const { return m_panel; }
    QComboBox* edtFindText() const { return m_edtFindText; }
    QCheckBox* chbWholeWordsOnly() const { return m_chbWholeWordsOnly; }
    QCheckBox* chbCaseSensitive() const { return m_chbCaseSensitive; }
    QCheckBox* chbFindInAllFiles() const { return m_chbFindInAllFiles; }
    QCheckBox* chbCopyToClipboard() const { return m_chbCopyToClipboard; }
    QCheckBox* chbShowResultInPnlResults() const { return m_chbShowResultInPnlResults; }
    QCheckBox* chbFindInNotes() const { return m_chbFindInNotes; }
    // The line under the results: the selected hit's count of matches and its text.
    QLabel* lblHitContext() const { return m_lblHitContext; }
    // The notes file of a chapter path; without it the notes cannot be searched.
    void setNotesFileOf(std::function<QString(const QString& chapterPath)> notesFileOf);
    QPushButton* btnStart() const { return m_btnStart; }
    QPushButton* btnStop() const { return m_btnStop; }
    QTabWidget* pgcResults() const { return m_pgcResults; }
    QTreeView* trwFindResults() const { return m_trwFindResults; }
    TreeModel* findResultsModel() const { return m_resultsModel; }
    QTreeView* trwFilesList() const { return m_trwFilesList; }
    ChapterTree& filesList() { return m_filesList; }
    QLabel* lblActionType() const { return m_lblActionType; }
    QMenu* popFindResults() const { return m_popFindResults; }

    bool searching() const { return m_searching; }
    int hitCount() const { return m_hits; }
    const TSearchAndHighlightTextOptions& highlightOptions() const { return m_options; }

    // What a hit of the results tree (by row) or the panel (by its text) found.
    struct HitInfo
    {
        SearchSnippet snippet;
        int matches = 0;
        bool inNotes = false;
        QString chapterPath;
    };
    const std::vector<HitInfo>& hitInfo() const { return m_hitInfo; }
    // The snippet as rich text, the match in bold, with the count of matches.
    static QString hitText(const HitInfo& hit);
    // The caption suffix of a hit in the notes.
    static const QString NotesSuffix;

    void btnStartClick();
    void btnStopClick();
    void RefreshFileCheckTree();
    void LoadFindSettings();
    void SaveFindSettings();
    void LoadFindHistory();
    void SaveFindHistory();
    void deleteHistory();
    void mnuFindTextClick();
    // Page shown: where the keyboard goes.
    void focusOnShow();
    // Removes the selected panel entry (Ctrl+Del in the main window); chapterPageActive
    // tells whether the panel can be seen.
    void acDeleteFromListExecute(bool chapterPageActive);

signals:
    // A hit to open: a node of the results tree, or a chapter path from the panel.
    void openNodeRequested(TreeNode* node);
    void openPathRequested(const QString& path);
    // A hit in the notes: the chapter to open and show the notes of.
    void openNotesRequested(const QString& chapterPath);
    void searchStarted();
    void searchFinished();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void trwFindResultsDblClick();
    void lbFindResultsDblClick();
    void finishSearch(const QString& failure);
    void setMarks(int mode);
    void addHit(const QString& caption, const FileVerdict& verdict, bool inNotes, const QString& chapterPath);
    void showHitContext();

    SettingsStore& m_store;
    ChapterTree& m_catalogue;
    std::function<QString()> m_chapterFolder;
    QString m_historyPath;
    QWidget* m_main;

    QWidget* m_pnlLock;
    QLabel* m_lblFindText;
    QComboBox* m_edtFindText;
    QCheckBox* m_chbWholeWordsOnly;
    QCheckBox* m_chbCaseSensitive;
    QCheckBox* m_chbFindInAllFiles;
    QCheckBox* m_chbCopyToClipboard;
    QCheckBox* m_chbShowResultInPnlResults;
    QCheckBox* m_chbFindInNotes;
    QLabel* m_lblHitContext;
    std::function<QString(const QString&)> m_notesFileOf;
    std::vector<HitInfo> m_hitInfo;
    QPushButton* m_btnStart;
    QPushButton* m_btnStop;
    QLabel* m_lblActionType;
    QTabWidget* m_pgcResults;
    ChapterTree m_results;
    TreeModel* m_resultsModel;
    QTreeView* m_trwFindResults;
    ChapterTree m_filesList;
    TreeModel* m_filesModel;
    QTreeView* m_trwFilesList;
    QMenu* m_popFindResults;
    QMenu* m_popmnuFilesList;
    FindResultsPanel* m_panel;

    TSearchAndHighlightTextOptions m_options;
    bool m_searching = false;
    bool m_stopRequested = false;
    bool m_openEnabled = true;
    int m_hits = 0;
};

} // namespace tavio
