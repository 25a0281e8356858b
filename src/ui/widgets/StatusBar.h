#pragma once

#include <QFrame>

class QLabel;

namespace tavio {

// A page's status bar: panel 0 on the left, panel 1 centred on the right, always
// 157 pixels wide.
class StatusBar final : public QFrame
{
    Q_OBJECT
public:
    static constexpr int Panel1Width = 157;

    explicit StatusBar(QWidget* parent = nullptr);

    QString text(int panel) const;
    void setText(int panel, const QString& text);
    int panel0Width() const;

signals:
    // x in the bar's coordinates.
    void mouseMoved(int x);
    void doubleClicked(int x);

protected:
    void resizeEvent(QResizeEvent* event) override;
    void layoutPanels();
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;

private:
    QLabel* m_panels[2];
};

} // namespace tavio
