#pragma once

// What the parts of HtmlView share: the view's private state.
#include "HtmlView.h"

#include <QList>
#include <QUrl>
#include <QWebEngineScript>

#include <functional>
#include <memory>
#include <optional>

class QPrinter;
class QTimer;
class QWebEnginePage;
class QWebEngineView;

namespace tavio {

class FindDialog;
class SettingsStore;

struct HtmlView::Private
{
    SettingsStore* store = nullptr;
    QString sizeKey;
    QString sizeValue;

    QWebEngineView* view = nullptr;
    QWebEnginePage* page = nullptr; // our Page
    FindDialog* findDialog = nullptr;
    NavigationGuard guard;
    // A link target the guard has already let through, now loading in this view.
    QUrl approvedTarget;
    // Begins the console messages of the link follower (see PageScripts); random, and
    // known to the application's script world only.
    QString linkMarker;
    // Begins the console messages of the scroll reporter and the code copier.
    QString pageMarker;
    int step = 2; // the text size step; 2 when the setting holds none
    std::optional<double> lastShare;
    QString themeCss;
    QTimer* markTimer = nullptr;
    QList<QWebEngineScript> readingAids;

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
    void pageMessage(HtmlView* owner, const QString& message);
    void find(HtmlView* owner, bool backward);
    void markAll(HtmlView* owner);
    int readTextSizeStep();
};

} // namespace tavio
