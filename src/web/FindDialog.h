#pragma once

#include <QDialog>

class QCheckBox;
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

signals:
    void findNext();
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
};

} // namespace tavio
