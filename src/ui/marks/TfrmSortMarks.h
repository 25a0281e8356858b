#pragma once

#include <QDialog>
#include <QList>

class QLabel;
class QListWidget;
class QPushButton;
class QStatusBar;

namespace tavio {

class BookmarkMenu;

// "Editovat záložky": renames, reorders and deletes bookmarks. Nothing changes until
// OK, which replaces the bookmark list and rebuilds the bookmark menu.
class TfrmSortMarks final : public QDialog
{
    Q_OBJECT
public:
    TfrmSortMarks(BookmarkMenu& marks, bool showHints, QWidget* mainWindow);
    // Keeps the window's bounds for the next time, whichever way it was closed.
    ~TfrmSortMarks() override;

    static QString formKey(); // root + "FormSettings\frmSortMarks\"

    QListWidget* lbMarks() const { return m_lbMarks; }
    // Line j of lbMarks stands for this entry of the list as it was at show time.
    const QList<int>& lbMarksInv() const { return m_lbMarksInv; }
    QPushButton* btnOK() const { return m_btnOK; }
    QPushButton* btnStorno() const { return m_btnStorno; }
    QPushButton* btnUp() const { return m_btnUp; }
    QPushButton* btnDown() const { return m_btnDown; }
    QPushButton* btnEdit() const { return m_btnEdit; }
    QPushButton* btnDelete() const { return m_btnDelete; }
    QPushButton* btnDeleteAll() const { return m_btnDeleteAll; }
    QStatusBar* stbMarks() const { return m_stbMarks; }
    QString statusText() const;
    // The list's hint for the line under the pointer; empty when none is shown.
    QString hint() const { return m_hint; }
    QStringList lines() const;

    void FormShow();
    void btnUpClick();
    void btnDownClick();
    void btnEditClick();
    void btnDeleteClick();
    void btnDeleteAllClick();

    void done(int result) override;

protected:
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void lbMarksMouseMove(const QPoint& pos);
    void swapLines(int a, int b);
    void FormClose();

    BookmarkMenu& m_marks;
    bool m_showHints;
    QListWidget* m_lbMarks;
    QList<int> m_lbMarksInv;
    QPushButton* m_btnOK;
    QPushButton* m_btnStorno;
    QPushButton* m_btnUp;
    QPushButton* m_btnDown;
    QPushButton* m_btnEdit;
    QPushButton* m_btnDelete;
    QPushButton* m_btnDeleteAll;
    QStatusBar* m_stbMarks;
    QLabel* m_panel;
    QString m_hint;
};

} // namespace tavio
