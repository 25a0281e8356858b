#pragma once

#include <QObject>
#include <QPointer>
#include <QString>

class QFrame;
class QLabel;
class QWidget;

namespace tavio {

// Shows the tooltips of the watched controls as balloons: a framed box with a bold
// header and a close button, near the pointer. Switched off, the controls show no
// hint at all.
class BalloonHint final : public QObject
{
    Q_OBJECT
public:
    explicit BalloonHint(QWidget* owner);
    ~BalloonHint() override;

    QString header() const { return m_header; }
    void setHeader(const QString& header) { m_header = header; }
    bool isEnabled() const { return m_enabled; }
    void setEnabled(bool on);
    void watch(QWidget* control);

    // The balloon on screen, or null.
    QFrame* balloon() const;
    QString shownText() const;
    void showFor(QWidget* control);
    void hide();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QWidget* m_owner;
    QString m_header;
    bool m_enabled = true;
    QPointer<QFrame> m_balloon;
    QLabel* m_headerLabel = nullptr;
    QLabel* m_textLabel = nullptr;
    QPointer<QWidget> m_control;
};

} // namespace tavio
