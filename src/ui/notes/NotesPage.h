#pragma once

#include "widgets/Page.h"

#include "FileLayout.h"
#include "MainTypes.h"
#include "NotesDialogs.h"
#include "NotesExport.h"
#include "NotesStyles.h"

#include <QHash>

class QAction;
class QActionGroup;
class QComboBox;
class QLabel;
class QMenu;

namespace tavio {

class FindDialog;
class HintedToolBar;
class RichEdit;

// The page "Poznámky ke kapitole": the notes of the chapter opened last, with the
// formatting toolbar, the editor, the credit panel and the status bar.
class NotesPage final : public Page
{
    Q_OBJECT
public:
    static const QString SaveQuestion;

    NotesPage(const FileLayout& layout, QWidget* mainWindow, QWidget* parent = nullptr);
    ~NotesPage() override;

    RichEdit* reNotes() const { return m_reNotes; }
    HintedToolBar* tlbarNotes() const { return m_toolbar; }
    // A toolbar button by its name: "btnSaveNotes", "btnBold", "btnLeft" ...
    QAction* button(const QString& name) const { return m_buttons.value(name); }
    QComboBox* cmbFont() const { return m_cmbFont; }
    QComboBox* cmbFontSize() const { return m_cmbFontSize; }
    QMenu* popmnuNotes() const { return m_popmnuNotes; }
    QLabel* lblEditorCredit() const { return m_lblEditorCredit; }
    NotesDialogs& dialogs() { return m_dialogs; }

    QString CurrentNotesFile() const { return m_currentNotesFile; }
    QString DefaultNotesPath() const { return m_layout.defaultNotesPath(); }
    bool toolbarUpdating() const { return m_toolbarUpdate; }

    // Start-up: the installed fonts into the font box.
    void FillFontList();
    // Every chapter opening: that chapter's notes, else the template, else nothing.
    void OpenChapterNotes(const QString& chapterPath);
    void LoadNotes(const QString& path);
    // Saves the notes of the current chapter, changed or not. A failure is shown
    // and the notes stay marked as changed; returns whether they were saved.
    bool btnSaveNotesClick();
    // Leaving the page: asks about unsaved notes (not while the about box is open).
    // Returns false when saving failed, so that the changes are not thrown away.
    bool tbshNotesHide();
    // Closing the program: Yes, No or Cancel. Returns whether closing may go on.
    bool FormCloseQuery();

    // Find in the notes through the main window's find dialog.
    void findInNotes(FindDialog* dialog);   // "Hledat ...", F7, the toolbar button
    void findNext(FindDialog* dialog);      // "Najít další", F3, the toolbar button
    bool searchNotes(FindDialog* dialog);   // the dialog's Find Next on this page
    // A hit of the file search in these notes: its first occurrence selected, and
    // "Najít další" goes on with it.
    void showFoundPhrase(const TSearchAndHighlightTextOptions& options);

    // Copies every notes file to a chosen folder, or from one into the notes folder.
    void mnuPoznamkyExportClick();
    void mnuPoznamkyImportClick();

    // Notes for reading elsewhere, to a file the user names: this chapter's as the
    // editor holds them, or those of every chapter in the catalogue's order.
    void exportChapterNotes();
    void exportAllNotes();
    // The chapters whose notes an export of all takes, in the catalogue's order.
    std::function<QList<NotesExportChapter>()> exportList;

    // The main window's about-window flag: while it is set, leaving asks nothing.
    // Leaving the page clears it.
    bool* aboutWindowFlag = nullptr;

public slots:
    // AcSaveNotes (Ctrl+S on any page).
    void AcSaveNotes() { btnSaveNotesClick(); }

signals:
    // The toolbar's find buttons and a double click on the status bar's right part;
    // the main window answers with findInNotes / findNext and its dialog.
    void findRequested();
    void findNextRequested();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QAction* addButton(const QString& name, const QString& icon, const QString& hint, int helpContext);
    void createToolbar();
    void createPopupMenu();

    void reNotesChange();
    void reNotesCurTextStyleChanged();
    void reNotesCurParaStyleChanged();
    int reNotesStyleConversion(int styleNo, int code);
    int reNotesParaStyleConversion(int paraNo, int code);

    void FontStyleButtonClick(TextConversion code);
    void mitFontClick();
    void cmbFontClick(int index);
    void cmbFontSizeClick();
    void btnFontColorClick();
    void btnFontBackColorClick();
    void btnParagraphBackColorClick();
    void alignmentClick();
    void btnInsertImageClick();
    void focusEditor();
    // Yes: transparent; No: the colour dialog; nothing when cancelled.
    std::optional<quint32> askBackColor(const QString& question, quint32 current);
    bool copyNotes(const QString& from, const QString& to);
    void exportNotes(const QList<NotesExportChapter>& chapters, const QString& title);

    FileLayout m_layout;
    QWidget* m_main;
    NotesDialogs m_dialogs;
    RichEdit* m_reNotes;
    HintedToolBar* m_toolbar;
    QHash<QString, QAction*> m_buttons;
    QActionGroup* m_alignment;
    QComboBox* m_cmbFont;
    QComboBox* m_cmbFontSize;
    QMenu* m_popmnuNotes;
    QAction* m_popCut;
    QAction* m_popCopy;
    QLabel* m_lblEditorCredit;

    QString m_currentNotesFile;
    bool m_toolbarUpdate = false;
    QString m_chosenFontName;
    int m_chosenFontSize = 12;
    TextStyle m_chosenFont;
    quint32 m_chosenColor = BlackColor;
    quint32 m_chosenBackColor = TransparentColor;
};

} // namespace tavio
