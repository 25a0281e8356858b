#include "HtmlView.h"

#include "FindDialog.h"
#include "PageScripts.h"
#include "SettingsStore.h"

#include <QFileInfo>
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

struct HtmlView::Private
{
    SettingsStore* store = nullptr;
    QString sizeKey;
    QString sizeValue;

    QWebEngineView* view = nullptr;
    Page* page = nullptr;
    FindDialog* findDialog = nullptr;
    NavigationGuard guard;
    // A link target the guard has already let through, now loading in this view.
    QUrl approvedTarget;
    // Begins the console messages of the link follower (see PageScripts); random, and
    // known to the application's script world only.
    QString linkMarker;
    int step = kDefaultStep;

    int crashReloads = 0;
    bool reloadingAfterCrash = false;

    // Printing runs in the background; the printer must live until it has finished.
    bool printing = false;
    std::function<void(bool)> printDone;
    std::unique_ptr<QPrinter> dialogPrinter;

    // Callbacks of scripts still running in the page hold this weakly: they do nothing
    // once the view is gone.
    std::shared_ptr<char> alive = std::make_shared<char>();

    bool askGuard(const QUrl& target) const { return !guard || guard(target); }
    void followLink(const QUrl& target);
    int readTextSizeStep();
};

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
    }
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
    connect(d->findDialog, &FindDialog::findNext, this, [this] {
        const FindDialog* f = d->findDialog;
        std::weak_ptr<char> alive = d->alive;
        d->page->runJavaScript(
            pagescripts::findOnPage(f->findText(), f->wholeWords(), f->matchCase(), f->upward()),
            QWebEngineScript::ApplicationWorld, [this, alive](const QVariant& result) {
                if (alive.expired())
                    return;
                // The page's coordinates are CSS pixels of the zoomed page.
                const QVariantList r = result.toList();
                QRect onScreen;
                if (r.size() == 4) {
                    const double zoom = d->page->zoomFactor();
                    const QRectF inView(r[0].toDouble() * zoom, r[1].toDouble() * zoom,
                                        std::max(1.0, r[2].toDouble() * zoom), std::max(1.0, r[3].toDouble() * zoom));
                    onScreen = QRect(d->view->mapToGlobal(inView.topLeft().toPoint()), inView.size().toSize());
                }
                d->findDialog->showMatch(onScreen);
            });
    });
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
