#pragma once

#include "MainTypes.h"
#include "ReadingState.h"
#include "widgets/Page.h"

#include <functional>
#include <optional>

class QAction;
class QActionGroup;
class QMenu;
class QVBoxLayout;

namespace tavio {

class HintedToolBar;
class FrameState;
class HtmlView;
class SettingsStore;
class TextSize;

// The page that shows a chapter: the view with its toolbar (find, print, text
// size, previous and next chapter), the footer under every page, the guard that
// keeps links to other places out of the view.
class ChapterPage final : public Page
{
    Q_OBJECT
public:
    // state: the main window's shared state, the chapter folder among it.
    ChapterPage(SettingsStore& store, FrameState& state, QWidget* parent = nullptr);
    ~ChapterPage() override;

    // The view is made when first needed (the first chapter shown, as a rule): the web
    // engine behind it takes longer to start than the rest of the window.
    HtmlView* wbFile() const;
    bool hasView() const { return m_wbFile != nullptr; }
    HintedToolBar* tlbarFile() const { return m_toolbar; }
    QAction* tlbFindIE() const { return m_tlbFindIE; }
    QAction* tlbPrint() const { return m_tlbPrint; }
    QAction* tlbTextSize() const { return m_tlbTextSize; }
    QAction* tlbPreviousCap() const { return m_tlbPreviousCap; }
    QAction* tlbNextCap() const { return m_tlbNextCap; }
    // Back and forward through the chapters and places visited.
    QAction* tlbBack() const { return m_tlbBack; }
    QAction* tlbForward() const { return m_tlbForward; }
    QMenu* mnuTextSize() const { return m_mnuTextSize; }
    // The slot under the view for the search results panel.
    QVBoxLayout* pnlFile() const { return m_pnlFile; }
    TextSize& textSize() const { return *m_textSize; }

    // Shows the chapter at path (at the anchor, when given); a highlight still pending
    // from before is dropped.
    void navigate(const QString& path, const QString& anchor = {});
    // Moves through the history: -1 back, +1 forward. A place in the shown chapter is
    // shown at once; another chapter is asked for with historyOpenRequested.
    void historyStep(int step);
    // How many chapters navigate() has been asked to show.
    int navigations() const { return m_navigations; }
    // The step of the checked text-size item, nothing while none is checked.
    std::optional<int> checkedTextSize() const;
    void ApplyChosenTextSize();
    void SaveChosenTextSize();
    void mnuTextSizeClick(int step);

    // The phrase to highlight when the document navigated to last has loaded.
    void setPendingHighlight(const TSearchAndHighlightTextOptions& options) { m_pendingHighlight = options; }
    bool highlightPending() const { return m_pendingHighlight.has_value(); }

    void PrintPage();
    void ActivateChapterView();
    // The guard's decision for a navigation target; targets elsewhere go to the opener.
    bool wbFileBeforeNavigate2(const QUrl& target);

    static QString footerHtml();

signals:
    // The previous or next button found a chapter to show.
    void openFileRequested(const QString& path);
    void historyOpenRequested(const QString& path, const QString& anchor);
    void findOnPageRequested();
    void documentCompleted();

private:
    void tlbPreviousCapClick();
    void tlbNextCapClick();
    void wbFileDownloadComplete();
    void wbFileDocumentComplete();
    void stbFileMouseMove(int x);
    void applyTheme(ReadingTheme theme);
    void updateHistoryButtons();
    // The file name of a document of the chapter folder; empty for anything else.
    QString chapterName(const QUrl& url) const;

    SettingsStore& m_store;
    FrameState& m_state;
    std::unique_ptr<TextSize> m_textSize;
    HintedToolBar* m_toolbar;
    QAction* m_tlbFindIE;
    QAction* m_tlbPrint;
    QAction* m_tlbTextSize;
    QAction* m_tlbPreviousCap;
    QAction* m_tlbNextCap;
    QAction* m_tlbBack;
    QAction* m_tlbForward;
    QMenu* m_mnuTextSize;
    QActionGroup* m_sizeGroup;
    QVBoxLayout* m_pnlFile;
    mutable HtmlView* m_wbFile = nullptr;
    std::optional<TSearchAndHighlightTextOptions> m_pendingHighlight;
    int m_navigations = 0;
};

} // namespace tavio
