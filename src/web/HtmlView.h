#pragma once

#include <QUrl>
#include <QWidget>

#include <functional>
#include <memory>
#include <optional>

class QColor;
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
    // A place in a local file: the file, and the anchor in it when url has a fragment.
    void navigateTo(const QUrl& url);
    bool hasDocument() const;
    // The shown document's address (file:///...) and its file name.
    QString locationUrl() const;
    QString locationName() const;
    // The shown address as it is, the anchor included.
    QUrl url() const;

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

    // The reading theme's style sheet, put into every document before its content shows
    // and into the shown one at once; background is the colour the view shows before
    // the document paints. An empty sheet leaves the documents as they are.
    void setUserStyleSheet(const QString& css, const QColor& background);
    // The scripts behind the reading position, the read mark and the code copy button;
    // on from the start. Off, the view shows the documents as they are (for comparisons).
    void setReadingAids(bool on);
    // Scrolls to the share (0 top, 1 end) of the document's scroll range.
    void scrollToShare(double share);
    // The share the reader last scrolled to in the shown document; nothing before that.
    std::optional<double> lastScrollShare() const;
    // Finds the find dialog's text again, forward or backward, as F3 and Shift+F3 do.
    void findAgain(bool backward);

    // The text of the code block the pop-up menu was opened on; copies it to the clipboard.
    static QString copyItemText();

signals:
    void downloadComplete();
    void documentComplete();
    void statusTextChanged(const QString& text);
    // The address changed within the document (an anchor) or to another one.
    void urlChanged(const QUrl& url);
    // The reader scrolled the document at url to the share of its scroll range.
    void readingPositionChanged(const QUrl& url, double share);
    // The end of the document at url has been in sight.
    void endShown(const QUrl& url);
    // A code block's text went to the clipboard.
    void codeCopied(const QString& text);
    // Alt+Left, Alt+Right or the mouse's back and forward buttons: -1 back, +1 forward.
    void historyStepRequested(int step);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    class Page;
    struct Private;
    std::unique_ptr<Private> d;
};

} // namespace tavio
