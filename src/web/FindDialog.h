#pragma once

#include <QDialog>

class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;

namespace tavio {

// The find dialog: the text, whole words, match case, the direction and Find Next.
// Non-modal; it stays open until the owner closes it or the user cancels.
class FindDialog final : public QDialog
{
    Q_OBJECT
public:
    explicit FindDialog(QWidget* parent = nullptr);

    QString findText() const;
    void setFindText(const QString& text);
    bool wholeWords() const;
    bool matchCase() const;
    bool upward() const;
    void setUpward(bool up);
    void setWholeWordsVisible(bool visible);
    // After a find: moves the dialog off the match (screen coordinates) it would cover;
    // an empty rectangle when nothing was found.
    void showMatch(const QRect& match);
    // The count of the matches on the page: "3 z 17", "Hledané slovo nebylo nalezeno"
    // for none. Hidden by the owners that count nothing.
    void showCount(int current, int total);
    QString countText() const;

signals:
    void findNext();
    // F3 and Shift+F3 in the dialog.
    void findAgain(bool backward);
    // The text or an option changed: whoever counts the matches counts again.
    void searchChanged();
    void shown();
    void matchShown(bool found);

protected:
    void showEvent(QShowEvent* event) override;

private:
    QLineEdit* m_text;
    QCheckBox* m_wholeWords;
    QCheckBox* m_matchCase;
    QRadioButton* m_up;
    QRadioButton* m_down;
    QPushButton* m_findNext;
    QLabel* m_count;
};

} // namespace tavio
