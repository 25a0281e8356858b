#pragma once

#include <QTabWidget>

#include <functional>

namespace tavio {

// The main window's pages. A page change can be refused (while a search runs, or
// when the user cancels leaving the notes); hidden tabs keep their indexes.
class PageControl final : public QTabWidget
{
    Q_OBJECT
public:
    explicit PageControl(QWidget* parent = nullptr);

    using ChangeGuard = std::function<bool(int from, int to)>;
    void setChangeGuard(ChangeGuard guard) { m_guard = std::move(guard); }
    // Changes the page when the guard allows it; returns whether the page is now index.
    bool changePage(int index);

    // Wide enough for every tab, hidden ones included, with its caption whole. A tab
    // added without a caption (one that later shows a changing title) gets the room
    // of the widest caption; a longer title is shortened.
    QSize minimumSizeHint() const override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void tabInserted(int index) override;
    void tabRemoved(int index) override;

private:
    ChangeGuard m_guard;
    // The caption each tab had when it was added.
    QStringList m_captions;
};

} // namespace tavio
