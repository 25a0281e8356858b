#pragma once

#include <QObject>

class QKeyEvent;
class QWidget;

namespace tavio {

// The chapter trees open a chapter when Enter is released. A release counts only
// when the same tree also received that Enter's press: an Enter that closed a
// message box or a dialog over the tree is pressed there, and its release on the
// tree must not open anything.
class EnterRelease final : public QObject
{
public:
    // Watches the presses that reach tree.
    explicit EnterRelease(QWidget* tree);

    static bool isEnter(const QKeyEvent* event);
    // For every key release of the tree: true when it releases an Enter whose press
    // the tree received. Each press is used by one release.
    bool takePress(const QKeyEvent* release);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    bool m_pressed = false;
};

} // namespace tavio
