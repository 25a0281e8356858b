#include "HelpRouter.h"

#include "HelpWindow.h"
#include "MessageService.h"
#include "Profile.h"

#include <QAction>
#include <QApplication>
#include <QContextMenuEvent>
#include <QFileInfo>
#include <QHelpEvent>
#include <QKeyEvent>
#include <QMenu>
#include <QToolButton>
#include <QWhatsThis>

namespace tavio {

HelpRouter::HelpRouter(QWidget* mainWindow)
    : QObject(mainWindow)
    , m_mainWindow(mainWindow)
    , m_contextMenu(new QMenu)
{
    m_contextMenu->setObjectName(QStringLiteral("popWhatsThis"));
    QAction* whatsThis = m_contextMenu->addAction(QStringLiteral("Co je to?"));
    connect(whatsThis, &QAction::triggered, this, [this] {
        if (m_menuControl)
            showHelpFor(m_menuControl, m_menuPos);
    });
}

HelpRouter::~HelpRouter()
{
    remove();
    delete m_contextMenu;
    delete m_window.data();
}

void HelpRouter::setHelpFile(const QString& path)
{
    m_path = path;
    m_file = HelpFile();
    m_fileSize = -1;
}

const HelpFile& HelpRouter::topics()
{
    // The update may bring a new help file while the program runs.
    const QFileInfo info(m_path);
    const QDateTime time = info.exists() ? info.lastModified() : QDateTime();
    const qint64 size = info.exists() ? info.size() : -1;
    if (m_fileSize < 0 || time != m_fileTime || size != m_fileSize || (size < 0 && m_file.isValid())) {
        m_file = m_path.isEmpty() ? HelpFile() : HelpFile::load(m_path);
        m_fileTime = time;
        m_fileSize = size;
    }
    return m_file;
}

bool HelpRouter::reportUnreadable()
{
    const HelpFile& file = topics();
    if (file.isValid())
        return false;
    const QString lineBreak = P(ProfileId::LineBreak);
    QString text = QStringLiteral("Nápovědu nelze zobrazit, soubor nápovědy nelze načíst:") + lineBreak + m_path;
    if (!file.error().isEmpty())
        text += lineBreak + file.error();
    ShowMessage(QApplication::activeModalWidget() ? QApplication::activeModalWidget() : m_mainWindow, text,
                MsgIcon::Warning);
    return true;
}

void HelpRouter::install()
{
    if (!m_installed)
        qApp->installEventFilter(this);
    m_installed = true;
}

void HelpRouter::remove()
{
    if (m_installed)
        qApp->removeEventFilter(this);
    m_installed = false;
}

int HelpRouter::helpContextOf(const QWidget* control)
{
    for (const QWidget* w = control; w; w = w->isWindow() ? nullptr : w->parentWidget()) {
        int context = w->property("helpContext").toInt();
        if (context <= 0) {
            // A toolbar's button carries its command's help context.
            if (const auto* button = qobject_cast<const QToolButton*>(w); button && button->defaultAction())
                context = button->defaultAction()->property("helpContext").toInt();
        }
        if (context > 0)
            return context;
    }
    return 0;
}

int HelpRouter::wtMainGetContext(const QWidget* active) const
{
    if (!active)
        return 0;
    const int own = active->window()->property("helpContext").toInt();
    if (own > 0)
        return own;
    const QWidget* focus = active->window()->focusWidget();
    return focus ? helpContextOf(focus) : 0;
}

bool HelpRouter::wtMainHelp(int context, const QWidget* active) const
{
    if (context <= 0)
        return false;
    if (m_mode == Mode::MainWindow)
        return true;
    const int own = active ? active->window()->property("helpContext").toInt() : 0;
    return context != own;
}

void HelpRouter::mnuHelpIndexClick()
{
    m_mode = Mode::MainWindow;
    if (reportUnreadable())
        return;
    HelpWindow* window = openWindow();
    window->showContents();
}

void HelpRouter::mnuWhatsThisClick()
{
    QWhatsThis::enterWhatsThisMode();
}

void HelpRouter::wtMainF1KeyDown(QWidget* active)
{
    if (!active)
        active = QApplication::activeWindow();
    m_mode = Mode::MainWindow;
    if (reportUnreadable())
        return;
    const int context = wtMainGetContext(active);
    if (wtMainHelp(context, active) && topics().topic(context)) {
        showInWindow(context);
        return;
    }
    // Without a topic of its own the window gets the contents.
    openWindow()->showContents();
}

bool HelpRouter::showHelpFor(QWidget* control, const QPoint& globalPos)
{
    if (!control)
        return false;
    const int context = helpContextOf(control);
    if (!wtMainHelp(context, control))
        return false;
    if (!topics().isValid()) {
        QWhatsThis::leaveWhatsThisMode();
        reportUnreadable();
        return true;
    }
    if (!topics().topic(context))
        return false;
    if (m_mode == Mode::MainWindow) {
        QWhatsThis::leaveWhatsThisMode();
        showInWindow(context);
    } else {
        showPopup(context, globalPos, control);
    }
    return true;
}

bool HelpRouter::showContextMenu(QWidget* control, const QPoint& globalPos)
{
    if (!control)
        return false;
    const int context = helpContextOf(control);
    if (!wtMainHelp(context, control))
        return false;
    if (topics().isValid() && !topics().topic(context))
        return false;
    m_menuControl = control;
    m_menuPos = globalPos;
    m_contextMenu->popup(globalPos);
    return true;
}

HelpWindow* HelpRouter::openWindow()
{
    // A modal window blocks every window but its own, so the help window belongs to
    // the modal one while there is one.
    QWidget* owner = QApplication::activeModalWidget();
    if (!owner || owner == m_window)
        owner = m_mainWindow;
    if (!m_window)
        m_window = new HelpWindow(owner);
    else if (m_window->parentWidget() != owner)
        m_window->setParent(owner, Qt::Window);
    m_window->setHelpFile(topics());
    m_window->show();
    m_window->raise();
    m_window->activateWindow();
    return m_window;
}

void HelpRouter::showInWindow(int context)
{
    openWindow()->showTopic(context);
}

void HelpRouter::showPopup(int context, const QPoint& globalPos, QWidget* control)
{
    const HelpTopic* topic = topics().topic(context);
    const QString text = HelpWindow::topicHtml(*topic, topics(), false);
    QWhatsThis::showText(globalPos, text, control);
    emit popupShown(context, text);
}

bool HelpRouter::eventFilter(QObject* watched, QEvent* event)
{
    if (!watched->isWidgetType())
        return false;
    auto* widget = static_cast<QWidget*>(watched);
    switch (event->type()) {
    case QEvent::KeyPress: {
        const auto* key = static_cast<QKeyEvent*>(event);
        if (key->key() != Qt::Key_F1)
            break;
        if (key->modifiers() == Qt::ShiftModifier) {
            mnuWhatsThisClick();
            return true;
        }
        if (key->modifiers() != Qt::NoModifier)
            break;
        // In the help window itself F1 leaves the shown topic alone.
        if (m_window && QApplication::activeWindow() == m_window)
            return true;
        // F1 in an open menu asks about its highlighted command.
        if (auto* menu = qobject_cast<QMenu*>(widget); menu && menu->activeAction()) {
            const int context = menu->activeAction()->property("helpContext").toInt();
            if (context > 0 && topics().topic(context)) {
                m_mode = Mode::MainWindow;
                while (QWidget* popup = QApplication::activePopupWidget()) {
                    popup->close();
                    if (QApplication::activePopupWidget() == popup)
                        break;
                }
                showInWindow(context);
                return true;
            }
        }
        wtMainF1KeyDown(QApplication::activeWindow());
        return true;
    }
    case QEvent::QueryWhatsThis:
        if (wtMainHelp(helpContextOf(widget), widget)) {
            event->accept();
            return true;
        }
        break;
    case QEvent::WhatsThis:
        if (showHelpFor(widget, static_cast<QHelpEvent*>(event)->globalPos())) {
            event->accept();
            return true;
        }
        break;
    case QEvent::ContextMenu: {
        // Only a right click that no control answered with a menu of its own gets as
        // far as the window.
        if (!widget->isWindow() || widget == m_window)
            break;
        const auto* menuEvent = static_cast<QContextMenuEvent*>(event);
        QWidget* control = menuEvent->reason() == QContextMenuEvent::Mouse ? widget->childAt(menuEvent->pos())
                                                                           : widget->focusWidget();
        if (showContextMenu(control ? control : widget, menuEvent->globalPos()))
            return true;
        break;
    }
    default: break;
    }
    return false;
}

} // namespace tavio
