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
    // The page find has no whole-word option.
    void setWholeWordsVisible(bool visible);

signals:
    void findNext();
    void shown();

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
