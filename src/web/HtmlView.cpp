#include "HtmlView.h"

#include "FindDialog.h"
#include "HtmlViewPrivate.h"
#include "PageScripts.h"
#include "SettingsStore.h"

#include <QClipboard>
#include <QFileInfo>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QMenu>
#include <QMouseEvent>
#include <QLoggingCategory>
#include <QPointer>
#include <QPrintDialog>
#include <QPrinter>
#include <QRandomGenerator>
#include <QTimer>
#include <QVBoxLayout>
#include <QWebEngineFindTextResult>
#include <QWebEngineLoadingInfo>
#include <QWebEngineNewWindowRequest>
#include <QWebEnginePage>
#include <QWebEngineProfile>
#include <QWebEngineScript>
#include <QWebEngineScriptCollection>
#include <QWebEngineSettings>
#include <QWebEngineUrlRequestInfo>
#include <QWebEngineUrlRequestInterceptor>
#include <QWebEngineView>

#include <algorithm>

namespace tavio {

namespace {

Q_LOGGING_CATEGORY(lcView, "tavio.web", QtInfoMsg)

constexpr int kDefaultStep = 2;
// A page whose renderer keeps dying is left alone after this many reloads.
constexpr int kMaxCrashReloads = 3;

} // namespace


// The view setting is the view's own: a missing value is created with step 2, a value
// of another type or an empty one is left as it is and read as step 2.
int HtmlView::Private::readTextSizeStep()
{
    if (!store)
        return kDefaultStep;
    if (const auto bytes = store->readBinary(sizeKey, sizeValue)) {
        if (bytes->isEmpty())
            return kDefaultStep;
        return std::clamp(int(quint8(bytes->at(0))), 0, 4);
    }
    if (!store->valueExists(sizeKey, sizeValue))
        store->writeBinary(sizeKey, sizeValue, QByteArray("\x02\x00\x00\x00", 4));
    return kDefaultStep;
}

namespace {

// The view shows what is on the disk and never goes online: no request of a page, of
// whatever kind, leaves for the network. The engine's own rule for local pages lets a
// script's WebSocket through, which would carry whatever the script read from the disk.
class NetworkBlocker final : public QWebEngineUrlRequestInterceptor
{
public:
    using QWebEngineUrlRequestInterceptor::QWebEngineUrlRequestInterceptor;

    void interceptRequest(QWebEngineUrlRequestInfo& info) override
    {
        static const QStringList network = {QStringLiteral("http"), QStringLiteral("https"), QStringLiteral("ws"),
                                            QStringLiteral("wss"), QStringLiteral("ftp")};
        if (!network.contains(info.requestUrl().scheme().toLower()))
            return;
        qCDebug(lcView) << "request blocked:" << info.requestUrl() << info.resourceType();
        info.block(true);
    }
};

bool inSameFolder(const QUrl& a, const QUrl& b)
{
    return a.isLocalFile() && b.isLocalFile()
        && QFileInfo(a.toLocalFile()).absolutePath() == QFileInfo(b.toLocalFile()).absolutePath();
}

} // namespace

class HtmlView::Page final : public QWebEnginePage
{
public:
    Page(HtmlView* owner, QObject* parent)
        : QWebEnginePage(QWebEngineProfile::defaultProfile(), parent)
        , m_owner(owner)
    {
    }

protected:
    bool acceptNavigationRequest(const QUrl& url, NavigationType type, bool isMainFrame) override
    {
        if (!isMainFrame)
            return true;
        Private& d = *m_owner->d;
        const bool approved = !d.approvedTarget.isEmpty() && url == std::exchange(d.approvedTarget, QUrl());
        // The program's own loads, the history and reloads go to the guard. A link the
        // user follows out of the document arrives through the link follower instead;
        // what the page starts by itself (a script setting the location, a refresh, a
        // form sent by script) may only move within the shown document's folder and is
        // otherwise dropped without a word: the guard would hand it to the user's browser.
        const bool ownLoad =
            type == NavigationTypeTyped || type == NavigationTypeBackForward || type == NavigationTypeReload;
        if (!approved && !ownLoad && !inSameFolder(url, this->url())) {
            qCDebug(lcView) << "navigation by the page cancelled:" << url << type;
            return false;
        }
        if (!approved && !d.askGuard(url)) {
            qCDebug(lcView) << "navigation cancelled:" << url;
            return false;
        }
        // A crash-recovery reload belongs to the same document; anything else starts a new one.
        if (type == NavigationTypeReload && d.reloadingAfterCrash)
            d.reloadingAfterCrash = false;
        else
            d.crashReloads = 0;
        // The page about to load gets the text size the view setting holds now.
        d.step = d.readTextSizeStep();
        setZoomFactor(zoomFactorForStep(d.step));
        return true;
    }

    // No window is ever opened: a link the user follows into a new window arrives
    // through the link follower.
    QWebEnginePage* createWindow(WebWindowType) override { return nullptr; }

    void javaScriptConsoleMessage(JavaScriptConsoleMessageLevel level, const QString& message, int line,
                                  const QString& source) override
    {
        Private& d = *m_owner->d;
        if (message.startsWith(d.linkMarker)) {
            d.followLink(QUrl(message.mid(d.linkMarker.size()), QUrl::StrictMode));
            return;
        }
        if (message.startsWith(d.pageMarker)) {
            d.pageMessage(m_owner, message.mid(d.pageMarker.size()));
            return;
        }
        QWebEnginePage::javaScriptConsoleMessage(level, message, line, source);
    }

private:
    HtmlView* m_owner;
};

// A link the user followed out of the document: the guard decides, and a target it
// lets through opens in this view.
void HtmlView::Private::followLink(const QUrl& target)
{
    qCDebug(lcView) << "link followed:" << target;
    if (!target.isValid() || !askGuard(target))
        return;
    approvedTarget = target;
    page->load(target);
}


HtmlView::HtmlView(SettingsStore* store, const QString& textSizeKey, const QString& textSizeValue, QWidget* parent)
    : QWidget(parent)
    , d(std::make_unique<Private>())
{
    d->store = store;
    d->sizeKey = textSizeKey;
    d->sizeValue = textSizeValue;

    d->view = new QWebEngineView(this);
    d->page = new Page(this, d->view);
    d->view->setPage(d->page);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(d->view);
    setFocusProxy(d->view);

    // Chapters are local files that refer to style sheets and pictures on the web as well
    // as beside them: only what is on the disk is shown, the view never goes online for
    // a chapter. Where the main frame goes is the navigation guard's decision.
    QWebEngineSettings* s = d->page->settings();
    s->setAttribute(QWebEngineSettings::LocalContentCanAccessFileUrls, true);
    s->setAttribute(QWebEngineSettings::LocalContentCanAccessRemoteUrls, false);
    s->setAttribute(QWebEngineSettings::DnsPrefetchEnabled, false);
    s->setAttribute(QWebEngineSettings::HyperlinkAuditingEnabled, false);
    s->setAttribute(QWebEngineSettings::PluginsEnabled, false);
    s->setAttribute(QWebEngineSettings::FocusOnNavigationEnabled, false);
    d->page->setUrlRequestInterceptor(new NetworkBlocker(d->page));

    // A load that ends in the engine's error page (a missing file) still completes; one
    // that is stopped without a new document (a file handed over for download) does not,
    // since the shown document has not changed.
    connect(d->page, &QWebEnginePage::loadingChanged, this, [this](const QWebEngineLoadingInfo& info) {
        if (info.status() != QWebEngineLoadingInfo::LoadSucceededStatus
            && info.status() != QWebEngineLoadingInfo::LoadFailedStatus)
            return;
        qCDebug(lcView) << "loaded:" << info.url() << info.status();
        emit downloadComplete();
        emit documentComplete();
    });
    connect(d->page, &QWebEnginePage::linkHovered, this, &HtmlView::statusTextChanged);
    // The user's links into a new window come through the link follower; a window the
    // page asks for itself, even during a click, is left unanswered, so createWindow()
    // declines it afterwards and the user's browser never gets it.
    connect(d->page, &QWebEnginePage::newWindowRequested, this, [](QWebEngineNewWindowRequest& request) {
        qCDebug(lcView) << "new window declined:" << request.requestedUrl() << request.isUserInitiated();
    });
    {
        QRandomGenerator* rng = QRandomGenerator::system();
        d->linkMarker = QStringLiteral("tavio-link %1%2 ").arg(rng->generate64(), 16, 16, QLatin1Char('0'))
                            .arg(rng->generate64(), 16, 16, QLatin1Char('0'));
        QWebEngineScript follower;
        follower.setName(QStringLiteral("tavio-link-follower"));
        follower.setSourceCode(pagescripts::linkFollower(d->linkMarker));
        follower.setInjectionPoint(QWebEngineScript::DocumentCreation);
        follower.setWorldId(QWebEngineScript::ApplicationWorld);
        follower.setRunsOnSubFrames(false);
        d->page->scripts().insert(follower);

        d->pageMarker = QStringLiteral("tavio-page %1%2 ").arg(rng->generate64(), 16, 16, QLatin1Char('0'))
                            .arg(rng->generate64(), 16, 16, QLatin1Char('0'));
        QWebEngineScript reporter;
        reporter.setName(QStringLiteral("tavio-scroll-reporter"));
        reporter.setSourceCode(pagescripts::scrollReporter(d->pageMarker));
        reporter.setInjectionPoint(QWebEngineScript::DocumentCreation);
        reporter.setWorldId(QWebEngineScript::ApplicationWorld);
        reporter.setRunsOnSubFrames(false);
        d->page->scripts().insert(reporter);
        d->readingAids.append(reporter);
        QWebEngineScript copier;
        copier.setName(QStringLiteral("tavio-code-copier"));
        copier.setSourceCode(pagescripts::codeCopier(d->pageMarker));
        copier.setInjectionPoint(QWebEngineScript::DocumentReady);
        copier.setWorldId(QWebEngineScript::ApplicationWorld);
        copier.setRunsOnSubFrames(false);
        d->page->scripts().insert(copier);
        d->readingAids.append(copier);
    }
    connect(d->page, &QWebEnginePage::urlChanged, this, [this](const QUrl& url) {
        d->lastShare.reset();
        emit urlChanged(url);
    });

    // The view's pop-up menu, with the code block's copy item when it was opened on one.
    d->view->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(d->view, &QWidget::customContextMenuRequested, this, [this](const QPoint& pos) {
        std::weak_ptr<char> weak = d->alive;
        d->page->runJavaScript(pagescripts::menuBlockText(), QWebEngineScript::ApplicationWorld,
                               [this, weak, pos](const QVariant& text) {
                                   if (weak.expired())
                                       return;
                                   QMenu* menu = d->view->createStandardContextMenu();
                                   menu->setAttribute(Qt::WA_DeleteOnClose);
                                   if (text.typeId() == QMetaType::QString) {
                                       const QString code = text.toString();
                                       auto* copy = new QAction(copyItemText(), menu);
                                       copy->setObjectName(QStringLiteral("acCopyCode"));
                                       connect(copy, &QAction::triggered, this, [this, code] {
                                           QGuiApplication::clipboard()->setText(code);
                                           emit codeCopied(code);
                                       });
                                       QAction* first = menu->actions().value(0);
                                       menu->insertAction(first, copy);
                                       if (first)
                                           menu->insertSeparator(first);
                                   }
                                   menu->popup(d->view->mapToGlobal(pos));
                               });
    });
    // The keys and mouse buttons of the history reach the program, not the engine's own history.
    d->view->installEventFilter(this);
    for (QWidget* child : d->view->findChildren<QWidget*>())
        child->installEventFilter(this);
    connect(d->page, &QWebEnginePage::renderProcessTerminated, this,
            [this](QWebEnginePage::RenderProcessTerminationStatus status, int exitCode) {
                if (status == QWebEnginePage::NormalTerminationStatus)
                    return;
                qCWarning(lcView) << "renderer ended:" << status << exitCode;
                if (d->crashReloads >= kMaxCrashReloads)
                    return;
                ++d->crashReloads;
                d->reloadingAfterCrash = true;
                QTimer::singleShot(0, d->page, [page = d->page] { page->triggerAction(QWebEnginePage::Reload); });
            });
    connect(d->view, &QWebEngineView::printFinished, this, [this](bool ok) {
        d->printing = false;
        if (auto done = std::exchange(d->printDone, {}))
            done(ok);
    });

    d->findDialog = new FindDialog(this);
    connect(d->findDialog, &FindDialog::findNext, this, [this] { d->find(this, d->findDialog->upward()); });
    connect(d->findDialog, &FindDialog::findAgain, this, &HtmlView::findAgain);
    // The count follows the typing a moment later; closing the dialog clears the boxes.
    d->markTimer = new QTimer(this);
    d->markTimer->setSingleShot(true);
    d->markTimer->setInterval(250);
    connect(d->markTimer, &QTimer::timeout, this, [this] { d->markAll(this); });
    connect(d->findDialog, &FindDialog::searchChanged, d->markTimer, qOverload<>(&QTimer::start));
    connect(d->findDialog, &QDialog::finished, this, [this] { d->markAll(this); });
}


HtmlView::~HtmlView()
{
    d->alive.reset();
    d->page->disconnect(this);
    d->view->disconnect(this);
    delete d->findDialog;
    // The page is the view's child and goes with it.
    delete d->view;
}

void HtmlView::setNavigationGuard(NavigationGuard guard)
{
    d->guard = std::move(guard);
}

void HtmlView::navigate(const QString& localPath)
{
    d->page->load(QUrl::fromLocalFile(localPath));
}

void HtmlView::navigateTo(const QUrl& url)
{
    d->page->load(url);
}

bool HtmlView::hasDocument() const
{
    const QUrl url = d->page->url();
    return !url.isEmpty() && url != QUrl(QStringLiteral("about:blank"));
}

// The document's address: a link to a place in a chapter ("0005.htm#ukol") must not
// change which file the program takes for the shown chapter.
QString HtmlView::locationUrl() const
{
    return d->page->url().adjusted(QUrl::RemoveFragment | QUrl::RemoveQuery).toString(QUrl::FullyEncoded);
}

QUrl HtmlView::url() const
{
    return d->page->url();
}

QString HtmlView::locationName() const
{
    return d->page->url().fileName();
}

void HtmlView::appendHtml(const QString& fragment)
{
    d->page->runJavaScript(pagescripts::appendToBody(fragment), QWebEngineScript::ApplicationWorld);
}

void HtmlView::setBodyBorderStyle(const QString& style)
{
    d->page->runJavaScript(pagescripts::bodyBorder(style), QWebEngineScript::ApplicationWorld);
}

void HtmlView::searchAndHighlightText(const QString& phrase, bool wholeWords, bool matchCase,
                                      std::function<void(bool found)> done)
{
    if (!hasDocument() || phrase.isEmpty()) {
        if (done)
            done(false);
        return;
    }
    std::weak_ptr<char> alive = d->alive;
    d->page->runJavaScript(pagescripts::highlight(phrase, wholeWords, matchCase), QWebEngineScript::ApplicationWorld,
                           [alive, done = std::move(done)](const QVariant& result) {
                               if (result.toInt() < 0)
                                   qCWarning(lcView) << "highlighting failed";
                               if (done && !alive.expired())
                                   done(result.toInt() > 0);
                           });
}

void HtmlView::showFindDialog()
{
    if (!hasDocument())
        return;
    d->findDialog->show();
    d->findDialog->raise();
    d->findDialog->activateWindow();
}

FindDialog* HtmlView::findDialog() const
{
    return d->findDialog;
}

void HtmlView::zoomToStep(int step)
{
    d->step = std::clamp(step, 0, 4);
    d->page->setZoomFactor(zoomFactorForStep(d->step));
}

int HtmlView::zoomStep() const
{
    return d->step;
}

double HtmlView::zoomFactorForStep(int step)
{
    static constexpr double factors[] = {0.75, 0.875, 1.0, 1.25, 1.5};
    return factors[std::clamp(step, 0, 4)];
}

void HtmlView::printWithDialog()
{
    if (d->printing || !hasDocument())
        return;
    d->dialogPrinter = std::make_unique<QPrinter>(QPrinter::HighResolution);
    QPrintDialog dialog(d->dialogPrinter.get(), this);
    if (dialog.exec() == QDialog::Accepted)
        printTo(d->dialogPrinter.get());
}

void HtmlView::printTo(QPrinter* printer, std::function<void(bool ok)> done)
{
    // One print job at a time: the engine refuses a second one while the first runs.
    if (!printer || d->printing || !hasDocument()) {
        if (done)
            done(false);
        return;
    }
    d->printing = true;
    d->printDone = std::move(done);
    d->view->print(printer);
}

void HtmlView::focusView()
{
    d->view->setFocus(Qt::OtherFocusReason);
}

QWebEngineView* HtmlView::engineView() const
{
    return d->view;
}

} // namespace tavio
