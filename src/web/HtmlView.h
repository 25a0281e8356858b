#pragma once

#include <QUrl>
#include <QWidget>

#include <functional>
#include <memory>

class QPrinter;
class QWebEngineView;

namespace tavio {

class FindDialog;
class SettingsStore;

// The chapter view: an HTML view with what the reader needs of it. It shows local
// files, asks a guard before every navigation, reports the end of each download and
// of each document, the status text of the hovered link, and offers the document
// operations the program uses (append to the body, body border, highlight, find,
// text size, print).
class HtmlView final : public QWidget
{
    Q_OBJECT
public:
    // The text size of a page is read at the start of every load from the view
    // setting in the store: key textSizeKey, value textSizeValue, 4 bytes, the step
    // in the first byte. A missing value is created with step 2, as the view's own
    // set-up would do.
    HtmlView(SettingsStore* store, const QString& textSizeKey, const QString& textSizeValue, QWidget* parent = nullptr);
    ~HtmlView() override;

    // Called before every navigation of the main frame, including the program's own,
    // and for links that ask for a new window. Returning false cancels it.
    using NavigationGuard = std::function<bool(const QUrl& target)>;
    void setNavigationGuard(NavigationGuard guard);

    void navigate(const QString& localPath);
    bool hasDocument() const;
    // The shown document's address (file:///...) and its file name.
    QString locationUrl() const;
    QString locationName() const;

    // Appends an HTML fragment to the end of the body. Errors are ignored.
    void appendHtml(const QString& fragment);
    void setBodyBorderStyle(const QString& style);

    // Wraps every match of the phrase in the highlight span and scrolls the first to
    // the top of the view; done(found) runs when finished.
    void searchAndHighlightText(const QString& phrase, bool wholeWords, bool matchCase,
                                std::function<void(bool found)> done = {});

    // The find-on-page dialog (text, whole words, match case, direction, Find Next).
    void showFindDialog();
    FindDialog* findDialog() const;

    // Text size steps 0 (smallest) to 4 (largest): zooms the shown page at once.
    void zoomToStep(int step);
    int zoomStep() const;
    static double zoomFactorForStep(int step);

    // Prints through the print dialog; printTo prints without a dialog.
    void printWithDialog();
    void printTo(QPrinter* printer, std::function<void(bool ok)> done = {});

    void focusView();
    QWebEngineView* engineView() const;

signals:
    void downloadComplete();
    void documentComplete();
    void statusTextChanged(const QString& text);

private:
    class Page;
    struct Private;
    std::unique_ptr<Private> d;
};

} // namespace tavio
