#pragma once

#include "FuzzyMatch.h"

#include <QDialog>

#include <optional>

class QLineEdit;
class QListView;

namespace tavio {

class QuickOpenModel;

// "Rychle otevřít kapitolu": one text box over the list of all chapters; typing
// narrows the list, Enter takes the chosen chapter, Escape closes.
class TfrmQuickOpen final : public QDialog
{
    Q_OBJECT
public:
    // recent: full paths of the chapters read lately, newest first.
    TfrmQuickOpen(std::vector<ChapterMatcher::Chapter> chapters, const QStringList& recent, QWidget* parent = nullptr);
    ~TfrmQuickOpen() override;

    QLineEdit* edtQuery() const{return m_edtQuery; }
    QListView* lstChapters() const{return m_lstChapters; }
    // Rows shown for the query now, as indexes into the chapters given.
    const std::vector<int>& shown() const;
    // The chapter under the cursor in the list.
    std::optional<ChapterMatcher::Chapter> current() const;
    // The chapter taken with Enter or a double click; nothing when the window was closed.
    std::optional<ChapterMatcher::Chapter> chosen() const{return m_chosen; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void refilter();
    void take();

    ChapterMatcher m_matcher;
    QuickOpenModel* m_model;
    QLineEdit* m_edtQuery;
    QListView* m_lstChapters;
    std::optional<ChapterMatcher::Chapter> m_chosen;
};

} // namespace tavio
