// The chapter view's reading aids: the reading position and the end of a document
// reported, the code copy button, the match count of find on the page, the history keys
// and buttons, the reading theme.
#include "HtmlView.h"
#include "HtmlViewPrivate.h"

#include "FindDialog.h"
#include "PageScripts.h"

#include <QClipboard>
#include <QColor>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QTimer>
#include <QWebEnginePage>
#include <QWebEngineScriptCollection>
#include <QWebEngineView>

namespace tavio {

// What the scroll reporter and the code copier say: "pos <share> <url>", "end <url>",
// "copy <text>".
void HtmlView::Private::pageMessage(HtmlView* owner, const QString& message)
{
    const QString current = page->url().adjusted(QUrl::RemoveFragment).toString();
    if (message.startsWith(QLatin1String("copy "))) {
        const QString text = message.mid(5);
        QGuiApplication::clipboard()->setText(text);
        emit owner->codeCopied(text);
        return;
    }
    const QStringList parts = message.split(QLatin1Char(' '));
    // A word from a document that has already gone is not this one's.
    if (parts.size() < 2 || QUrl(parts.last()).adjusted(QUrl::RemoveFragment).toString() != current)
        return;
    const QUrl url = page->url();
    if (parts.at(0) == QLatin1String("pos") && parts.size() == 3) {
        bool ok = false;
        const double share = parts.at(1).toDouble(&ok);
        if (!ok)
            return;
        lastShare = share;
        emit owner->readingPositionChanged(url, share);
    } else if (parts.at(0) == QLatin1String("end") && parts.size() == 2) {
        emit owner->endShown(url);
    }
}

void HtmlView::Private::find(HtmlView* owner, bool backward)
{
    const FindDialog* f = findDialog;
    if (f->findText().isEmpty())
        return;
    std::weak_ptr<char> weak = alive;
    page->runJavaScript(
        pagescripts::findOnPage(f->findText(), f->wholeWords(), f->matchCase(), backward),
        QWebEngineScript::ApplicationWorld, [this, owner, weak](const QVariant& result) {
            if (weak.expired())
                return;
            // The page's coordinates are CSS pixels of the zoomed page.
            const QVariantList r = result.toList();
            QRect onScreen;
            if (r.size() == 4) {
                const double zoom = page->zoomFactor();
                const QRectF inView(r[0].toDouble() * zoom, r[1].toDouble() * zoom,
                                    std::max(1.0, r[2].toDouble() * zoom), std::max(1.0, r[3].toDouble() * zoom));
                onScreen = QRect(view->mapToGlobal(inView.topLeft().toPoint()), inView.size().toSize());
            }
            findDialog->showMatch(onScreen);
            markAll(owner);
        });
}

// Boxes over all the matches and the count in the dialog; cleared when the dialog is closed.
void HtmlView::Private::markAll(HtmlView*)
{
    const FindDialog* f = findDialog;
    const QString phrase = f->isVisible() ? f->findText() : QString();
    std::weak_ptr<char> weak = alive;
    page->runJavaScript(pagescripts::markAllMatches(phrase, f->wholeWords(), f->matchCase()),
                        QWebEngineScript::ApplicationWorld, [this, weak, phrase](const QVariant& result) {
                            if (weak.expired() || phrase.isEmpty())
                                return;
                            const QVariantList r = result.toList();
                            findDialog->showCount(r.value(0).toInt(), r.value(1).toInt());
                        });
}

void HtmlView::findAgain(bool backward)
{
    if (hasDocument())
        d->find(this, backward);
}

QString HtmlView::copyItemText()
{
    return QStringLiteral("Kopírovat ukázku kódu");
}

bool HtmlView::eventFilter(QObject* watched, QEvent* event)
{
    switch (event->type()) {
    case QEvent::ChildAdded:
        if (watched == d->view) {
            if (auto* child = qobject_cast<QWidget*>(static_cast<QChildEvent*>(event)->child()))
                child->installEventFilter(this);
        }
        break;
    case QEvent::ShortcutOverride:
    case QEvent::KeyPress: {
        auto* key = static_cast<QKeyEvent*>(event);
        if (key->modifiers() == Qt::AltModifier && (key->key() == Qt::Key_Left || key->key() == Qt::Key_Right)) {
            if (event->type() == QEvent::KeyPress)
                emit historyStepRequested(key->key() == Qt::Key_Left ? -1 : 1);
            event->accept();
            return true;
        }
        break;
    }
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease: {
        auto* mouse = static_cast<QMouseEvent*>(event);
        if (mouse->button() == Qt::BackButton || mouse->button() == Qt::ForwardButton) {
            if (event->type() == QEvent::MouseButtonPress)
                emit historyStepRequested(mouse->button() == Qt::BackButton ? -1 : 1);
            return true;
        }
        break;
    }
    default: break;
    }
    return QWidget::eventFilter(watched, event);
}

void HtmlView::setUserStyleSheet(const QString& css, const QColor& background)
{
    d->themeCss = css;
    QWebEngineScriptCollection& scripts = d->page->scripts();
    for (const QWebEngineScript& old : scripts.find(QStringLiteral("tavio-theme")))
        scripts.remove(old);
    if (!css.isEmpty()) {
        QWebEngineScript theme;
        theme.setName(QStringLiteral("tavio-theme"));
        theme.setSourceCode(pagescripts::themeSheet(css));
        theme.setInjectionPoint(QWebEngineScript::DocumentCreation);
        theme.setWorldId(QWebEngineScript::ApplicationWorld);
        theme.setRunsOnSubFrames(true);
        scripts.insert(theme);
    }
    // The colour the view paints before a document does: no light flash in a dark theme.
    d->page->setBackgroundColor(background.isValid() ? background : QColor(Qt::white));
    if (hasDocument())
        d->page->runJavaScript(pagescripts::themeSheet(css), QWebEngineScript::ApplicationWorld);
}

void HtmlView::setReadingAids(bool on)
{
    QWebEngineScriptCollection& scripts = d->page->scripts();
    for (const QWebEngineScript& script : d->readingAids) {
        for (const QWebEngineScript& old : scripts.find(script.name()))
            scripts.remove(old);
        if (on)
            scripts.insert(script);
    }
}

void HtmlView::scrollToShare(double share)
{
    d->page->runJavaScript(pagescripts::scrollToShare(share), QWebEngineScript::ApplicationWorld);
}

std::optional<double> HtmlView::lastScrollShare() const
{
    return d->lastShare;
}

} // namespace tavio
