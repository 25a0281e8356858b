#pragma once

#include <QWidget>

class QListWidget;
class QToolButton;

namespace tavio {

// The panel of search hits under the chapter view.
class FindResultsPanel final : public QWidget
{
    Q_OBJECT
public:
    explicit FindResultsPanel(QWidget* parent = nullptr);
    QListWidget* lbFindResults() const { return m_list; }
    QToolButton* btnCloseFindResults() const { return m_close; }

signals:
    void openRequested();
    void deleteRequested();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QListWidget* m_list;
    QToolButton* m_close;
};

} // namespace tavio
