#include "Accessibility.h"

#include <QAbstractButton>
#include <QAccessible>
#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QEvent>
#include <QFormLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLayout>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPointer>
#include <QTabWidget>
#include <QTextBrowser>
#include <QTextDocumentFragment>
#include <QToolButton>

namespace tavio::accessibility {

bool keepsTab(const QWidget* w)
{
    // Read-only text lets Tab move on by itself.
    if (auto* edit = qobject_cast<const QTextEdit*>(w))
        return !edit->isReadOnly() && !edit->tabChangesFocus();
    if (auto* edit = qobject_cast<const QPlainTextEdit*>(w))
        return !edit->isReadOnly() && !edit->tabChangesFocus();
    return false;
}

namespace {

// Marks a name that came from here, so that it may be renewed and is never taken
// for one the program set.
constexpr char DerivedProperty[] = "tavioDerivedAccessibleName";

QString plain(const QString& text)
{
    QString t = Qt::mightBeRichText(text) ? QTextDocumentFragment::fromHtml(text).toPlainText() : text;
    // A mnemonic "&" is not read aloud; "&&" is a real ampersand.
    t.replace(QStringLiteral("&&"), QStringLiteral("\x01"));
    t.remove(QLatin1Char('&'));
    t.replace(QLatin1Char('\x01'), QLatin1Char('&'));
    return t.simplified();
}

QString labelFor(const QWidget* w)
{
    const QWidget* window = w->window();
    for (const QLabel* label : window->findChildren<QLabel*>()) {
        if (label->buddy() == w || (label->buddy() && label->buddy()->focusProxy() == w))
            return plain(label->text());
    }
    // The label of its row in a form, or the label just before it in its box.
    const QWidget* parent = w->parentWidget();
    if (!parent || !parent->layout())
        return {};
    if (auto* form = qobject_cast<QFormLayout*>(parent->layout())) {
        if (auto* label = qobject_cast<QLabel*>(form->labelForField(const_cast<QWidget*>(w))))
            return plain(label->text());
    }
    const QLayout* layout = parent->layout();
    const int at = layout->indexOf(const_cast<QWidget*>(w));
    if (at > 0) {
        if (auto* label = qobject_cast<QLabel*>(layout->itemAt(at - 1)->widget()); label && label->buddy() == nullptr)
            return plain(label->text());
    }
    return {};
}

QString hoverText(const QWidget* w)
{
    // A toolbar button says what its command says, whether or not hints are shown now.
    if (auto* button = qobject_cast<const QToolButton*>(w); button && button->defaultAction()) {
        const QAction* a = button->defaultAction();
        for (const QString& t : {a->toolTip(), a->statusTip(), a->text()})
            if (const QString p = plain(t); !p.isEmpty())
                return p;
    }
    for (const QString& t : {w->toolTip(), w->statusTip()})
        if (const QString p = plain(t); !p.isEmpty())
            return p;
    return {};
}

// The title of the group box or the page around w, the nearest first; failing
// both, the window's caption.
QString placeTitle(const QWidget* w)
{
    for (const QWidget* p = w->parentWidget(); p; p = p->parentWidget()) {
        if (auto* box = qobject_cast<const QGroupBox*>(p); box && !box->title().isEmpty())
            return plain(box->title());
        const QWidget* stack = p->parentWidget();
        if (auto* tabs = stack ? qobject_cast<const QTabWidget*>(stack->parentWidget()) : nullptr) {
            if (const int i = tabs->indexOf(const_cast<QWidget*>(p)); i >= 0 && !plain(tabs->tabText(i)).isEmpty())
                return plain(tabs->tabText(i));
        }
        if (p->isWindow())
            return plain(p->windowTitle());
    }
    return {};
}

// An editor that keeps Tab goes last in the window's Tab order, so that Tab reaches
// every other control before it; Ctrl+Tab leaves it for the next page.
void putLast(QWidget* window, QWidget* editor)
{
    // The chain also runs through the window's own dialogs and the editor's own
    // parts (its scroll bars); the last control is the last other one of this window.
    QWidget* last = window->previousInFocusChain();
    while (last && last != window && (last->window() != window || editor->isAncestorOf(last)))
        last = last->previousInFocusChain();
    if (last && last != editor && last != window)
        QWidget::setTabOrder(last, editor);
}

bool takesFocus(const QWidget* w)
{
    return w->focusPolicy() != Qt::NoFocus && !w->focusProxy();
}

// Keeps the editors of window that take Tab at the end of its Tab order; controls
// created later join the chain after them, so this runs again as the focus moves.
void placeEditorsLast(QWidget* window)
{
    if (!window)
        return;
    for (QTextEdit* edit : window->findChildren<QTextEdit*>()) {
        if (keepsTab(edit) && edit->window() == window)
            putLast(window, edit);
    }
    for (QPlainTextEdit* edit : window->findChildren<QPlainTextEdit*>()) {
        if (keepsTab(edit) && edit->window() == window)
            putLast(window, edit);
    }
}

class Namer final : public QObject
{
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        // A window that sets its caption as it shows (after its file, say) is named
        // again: a control may take its name from the caption.
        if ((event->type() == QEvent::Show || event->type() == QEvent::WindowTitleChange) && watched->isWidgetType()) {
            auto* w = static_cast<QWidget*>(watched);
            if (w->isWindow() && (event->type() == QEvent::Show || w->isVisible()))
                nameControls(w);
        }
        if (event->type() == QEvent::FocusIn && watched->isWidgetType())
            placeEditorsLast(static_cast<QWidget*>(watched)->window());
        return false;
    }
};

} // namespace

QString announcedName(QWidget* w)
{
    QAccessibleInterface* face = QAccessible::queryAccessibleInterface(w);
    return face ? face->text(QAccessible::Name).simplified() : QString();
}

QString derivedName(const QWidget* w)
{
    if (QString t = labelFor(w); !t.isEmpty())
        return t;
    if (auto* button = qobject_cast<const QAbstractButton*>(w)) {
        if (QString t = plain(button->text()); !t.isEmpty())
            return t;
    }
    if (QString t = hoverText(w); !t.isEmpty())
        return t;
    if (auto* edit = qobject_cast<const QLineEdit*>(w); edit && !edit->placeholderText().isEmpty())
        return plain(edit->placeholderText());
    if (auto* combo = qobject_cast<const QComboBox*>(w);
        combo && combo->lineEdit() && !combo->lineEdit()->placeholderText().isEmpty())
        return plain(combo->lineEdit()->placeholderText());
    return placeTitle(w);
}

void nameControls(QWidget* window)
{
    placeEditorsLast(window);
    QList<QWidget*> controls = window->findChildren<QWidget*>();
    for (QWidget* w : controls) {
        if (!takesFocus(w))
            continue;
        const bool derivedBefore = w->property(DerivedProperty).toBool();
        if (!w->accessibleName().isEmpty() && !derivedBefore)
            continue; // the program's own name
        if (!derivedBefore && !announcedName(w).isEmpty())
            continue; // the toolkit names it already (a button's text)
        const QString name = derivedName(w);
        if (name.isEmpty())
            continue;
        w->setAccessibleName(name);
        w->setProperty(DerivedProperty, true);
    }
}

void install()
{
    static QPointer<Namer> namer;
    if (namer || !qApp)
        return;
    namer = new Namer(qApp);
    qApp->installEventFilter(namer);
}

} // namespace tavio::accessibility
