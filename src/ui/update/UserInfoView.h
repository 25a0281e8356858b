#pragma once

#include <QSet>
#include <QStringList>
#include <QTextBrowser>

namespace tavio {

// A read-only view of plain text lines in which every web or mail address is a link.
// A plain click opens the address in the user's program; visited links turn blue.
// The text cannot be selected; the mouse over the view gives it the keyboard.
class UserInfoView final : public QTextBrowser
{
    Q_OBJECT
public:
    explicit UserInfoView(QWidget* parent = nullptr);

    QStringList lines() const { return m_lines; }
    void setLines(const QStringList& lines);
    void clearLines();
    // The addresses the shown text links to, in order.
    QStringList links() const;
    bool isVisited(const QString& address) const { return m_visited.contains(address); }
    void openLink(const QString& address);

signals:
    void enterPressed();
    void escapePressed();

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;

private:
    void render();

    QStringList m_lines;
    QSet<QString> m_visited;
};

} // namespace tavio
