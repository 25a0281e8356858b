#pragma once

#include "HelpFile.h"
#include "help/HelpWindow.h"

#include <QDateTime>
#include <QObject>
#include <QPoint>
#include <QPointer>

class QMenu;
class QWidget;

namespace tavio {

class HelpWindow;

// Context help over the program's help file. Windows, controls and commands carry their
// help-context number in the property "helpContext"; a control without one takes its
// nearest ancestor's. In popup mode (the default) "Co je to?" shows a control's topic as
// a popup; F1 switches to main-window mode, in which the topic opens in the help
// window, until the next clock tick switches back.
class HelpRouter final : public QObject
{
    Q_OBJECT
public:
    enum class Mode { Popup, MainWindow };

    // mainWindow: owner of the help window and of the messages.
    explicit HelpRouter(QWidget* mainWindow);
    ~HelpRouter() override;

    // Start-up: the program's help file (program folder + HelpFileName). It is read
    // when help is first asked for and again whenever it has changed on disk.
    void setHelpFile(const QString& path);
    QString helpFile() const { return m_path; }
    // The topics; an empty file when the help file cannot be read (error() says why).
    const HelpFile& topics();

    Mode mode() const { return m_mode; }
    void setMode(Mode mode) { m_mode = mode; }

    // Watches the whole program for F1, "What's this?" clicks and right clicks on
    // controls; remove() stops it. The router never takes an event it has no topic for.
    void install();
    void remove();

    // "Témata nápovědy": main-window mode and the help window with its contents.
    void mnuHelpIndexClick();
    // "Co je to?" (Shift+F1): the next click on a control shows its topic.
    void mnuWhatsThisClick();
    // F1 in window active (the active window when null): main-window mode and the
    // topic of that window in the help window.
    void wtMainF1KeyDown(QWidget* active = nullptr);
    // The help context of a window: its own, else that of its focused control's
    // nearest ancestor with one; 0 when there is none.
    int wtMainGetContext(const QWidget* active) const;
    // Whether help for context runs: always in main-window mode, and in popup mode only
    // when it is not just the window's own topic handed down to a control.
    bool wtMainHelp(int context, const QWidget* active) const;
    // The clock tick: back to popup mode.
    void clockTick() { m_mode = Mode::Popup; }

    // The help for one control, by the current mode; false when it has no topic or the
    // request does not run.
    bool showHelpFor(QWidget* control, const QPoint& globalPos);
    // The right-click menu with "Co je to?" for a control; false when it has no topic.
    bool showContextMenu(QWidget* control, const QPoint& globalPos);
    QMenu* contextMenu() const { return m_contextMenu; }

    // The help context a control answers with: its own property (for a tool button,
    // that of its action), else its nearest ancestor's; 0 when none has one.
    static int helpContextOf(const QWidget* control);

    // The help window, once opened.
    HelpWindow* helpWindow() const { return m_window; }

signals:
    // A topic was shown as a popup.
    void popupShown(int context, const QString& text);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    HelpWindow* openWindow();
    void showInWindow(int context);
    void showPopup(int context, const QPoint& globalPos, QWidget* control);
    bool reportUnreadable();

    QWidget* m_mainWindow;
    QString m_path;
    HelpFile m_file;
    QDateTime m_fileTime;
    qint64 m_fileSize = -1;
    Mode m_mode = Mode::Popup;
    bool m_installed = false;
    QPointer<HelpWindow> m_window;
    QMenu* m_contextMenu;
    QPointer<QWidget> m_menuControl;
    QPoint m_menuPos;
};

} // namespace tavio
