#include "ChapterPage.h"

#include "ChapterNames.h"
#include "FrameState.h"
#include "HtmlView.h"
#include "ImageList.h"
#include "PageScripts.h"
#include "Catalogue.h"
#include "Profile.h"
#include "ShellOpener.h"
#include "TextSize.h"
#include "widgets/HintedToolBar.h"
#include "widgets/StatusBar.h"

#include <QActionGroup>
#include <QDir>
#include <QFileInfo>
#include <QLoggingCategory>
#include <QMenu>
#include <QStyle>
#include <QTimer>
#include <QToolButton>
#include <QVBoxLayout>

Q_LOGGING_CATEGORY(lcChapter, "tavio.chapter")

namespace tavio {

namespace {

struct SizeItem
{
    const char* name;
    const char* caption;
    int step;
};
constexpr SizeItem SizeItems[] = {
    {"mnuLargest", "Největší", 4}, {"mnuLarger", "Velké", 3},       {"mnuMedium", "Střední", 2},
    {"mnuSmaller", "Malé", 1},     {"mnuSmallest", "Nejmenší", 0},
};

QString folderPart(const QUrl& target)
{
    // The folder of the target: everything up to its last separator.
    const QString text = target.isLocalFile() ? target.toLocalFile() : target.toString(QUrl::FullyEncoded);
    const qsizetype cut = std::max(text.lastIndexOf(QLatin1Char('/')), text.lastIndexOf(QLatin1Char(':')));
    QString folder = text.left(cut + 1);
    if (folder.endsWith(QLatin1Char(':')))
        folder += QLatin1Char('/');
    return folder;
}

} // namespace

ChapterPage::ChapterPage(SettingsStore& store, FrameState& state, QWidget* parent)
    : Page(parent)
    , m_store(store)
    , m_state(state)
    , m_textSize(std::make_unique<TextSize>(store))
{
    m_toolbar = new HintedToolBar(this);
    m_tlbFindIE = m_toolbar->addHintedAction(ImageList::named(QStringLiteral("find-on-page")),
                                             QStringLiteral("Vyhledat na stránce"));
    m_tlbFindIE->setProperty("helpContext", 54);
    m_tlbPrint = m_toolbar->addHintedAction(ImageList::named(QStringLiteral("print")),
                                            QStringLiteral("Vytisknout stránku"));
    m_tlbPrint->setProperty("helpContext", 75);

    m_mnuTextSize = new QMenu(this);
    m_mnuTextSize->setObjectName(QStringLiteral("mnuTextSize"));
    m_sizeGroup = new QActionGroup(this);
    m_sizeGroup->setExclusive(true);
    for (const SizeItem& item : SizeItems) {
        QAction* a = m_mnuTextSize->addAction(QString::fromUtf8(item.caption));
        a->setObjectName(QLatin1String(item.name));
        a->setCheckable(true);
        a->setData(item.step);
        m_sizeGroup->addAction(a);
        const int step = item.step;
        connect(a, &QAction::triggered, this, [this, step] { mnuTextSizeClick(step); });
    }
    m_tlbTextSize = m_toolbar->addHintedAction(ImageList::named(QStringLiteral("text-size")),
                                               QStringLiteral("Velikost textu"));
    m_tlbTextSize->setProperty("helpContext", 140);
    m_tlbTextSize->setMenu(m_mnuTextSize);
    if (auto* button = qobject_cast<QToolButton*>(m_toolbar->widgetForAction(m_tlbTextSize)))
        button->setPopupMode(QToolButton::InstantPopup);

    // Back and forward through the places visited; the hint names the place.
    m_tlbBack = m_toolbar->addHintedAction(style()->standardIcon(QStyle::SP_ArrowBack), QStringLiteral("Zpět"));
    m_tlbBack->setObjectName(QStringLiteral("tlbBack"));
    m_tlbBack->setShortcut(QKeySequence(Qt::ALT | Qt::Key_Left));
    m_tlbForward = m_toolbar->addHintedAction(style()->standardIcon(QStyle::SP_ArrowForward), QStringLiteral("Vpřed"));
    m_tlbForward->setObjectName(QStringLiteral("tlbForward"));
    m_tlbForward->setShortcut(QKeySequence(Qt::ALT | Qt::Key_Right));
    for (QAction* a : {m_tlbBack, m_tlbForward}) {
        a->setShortcutContext(Qt::WidgetWithChildrenShortcut);
        a->setEnabled(false);
    }
    connect(m_tlbBack, &QAction::triggered, this, [this] { historyStep(-1); });
    connect(m_tlbForward, &QAction::triggered, this, [this] { historyStep(1); });

    // The separator takes the free width, so the two chapter buttons sit at the right end.
    auto* separ1 = new QWidget(m_toolbar);
    separ1->setObjectName(QStringLiteral("separ1"));
    separ1->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Preferred);
    m_toolbar->addWidget(separ1);
    m_tlbPreviousCap = m_toolbar->addHintedAction(ImageList::named(QStringLiteral("previous-chapter")),
                                                  QStringLiteral("Přejít na předchozí kapitolu"));
    m_tlbPreviousCap->setProperty("helpContext", 81);
    m_tlbNextCap = m_toolbar->addHintedAction(ImageList::named(QStringLiteral("next-chapter")),
                                              QStringLiteral("Přejít na následující kapitolu"));
    m_tlbNextCap->setProperty("helpContext", 82);
    m_tlbPreviousCap->setEnabled(false);
    m_tlbNextCap->setEnabled(false);

    m_pnlFile = new QVBoxLayout;
    m_pnlFile->setContentsMargins(0, 0, 0, 0);
    m_pnlFile->setSpacing(0);

    contentLayout()->addWidget(m_toolbar);
    contentLayout()->addLayout(m_pnlFile, 1);
    statusBar()->setProperty("helpContext", 84);

    connect(m_tlbFindIE, &QAction::triggered, this, &ChapterPage::findOnPageRequested);
    connect(m_tlbPrint, &QAction::triggered, this, &ChapterPage::PrintPage);
    connect(m_tlbPreviousCap, &QAction::triggered, this, &ChapterPage::tlbPreviousCapClick);
    connect(m_tlbNextCap, &QAction::triggered, this, &ChapterPage::tlbNextCapClick);
    connect(statusBar(), &StatusBar::mouseMoved, this, &ChapterPage::stbFileMouseMove);
    // The shortcuts of the toolbar buttons work wherever the focus is on the page.
    addAction(m_tlbBack);
    addAction(m_tlbForward);
    // F3 and Shift+F3 step through the matches of the find on the page, also with the
    // dialog closed (the window's own F3 is off on this page).
    for (const bool backward : {false, true}) {
        auto* again = new QAction(this);
        again->setObjectName(backward ? QStringLiteral("acFindPrevious") : QStringLiteral("acFindAgain"));
        again->setShortcut(backward ? QKeySequence(Qt::SHIFT | Qt::Key_F3) : QKeySequence(Qt::Key_F3));
        again->setShortcutContext(Qt::WidgetWithChildrenShortcut);
        connect(again, &QAction::triggered, this, [this, backward] {
            if (m_wbFile)
                m_wbFile->findAgain(backward);
        });
        addAction(again);
    }
    connect(&m_state, &FrameState::historyChanged, this, &ChapterPage::updateHistoryButtons);
    connect(&m_state, &FrameState::themeChanged, this, &ChapterPage::applyTheme);
    connect(statusBar(), &StatusBar::doubleClicked, this, [this](int x) {
        if (x > statusBar()->panel0Width())
            emit findOnPageRequested();
    });
}

ChapterPage::~ChapterPage() = default;

HtmlView* ChapterPage::wbFile() const
{
    if (m_wbFile)
        return m_wbFile;
    auto* self = const_cast<ChapterPage*>(this);
    m_wbFile = new HtmlView(&m_store, TextSize::viewKey(), TextSize::valueName(), self);
    m_wbFile->setObjectName(QStringLiteral("wbFile"));
    m_wbFile->setNavigationGuard([self](const QUrl& target) { return self->wbFileBeforeNavigate2(target); });
    m_pnlFile->insertWidget(0, m_wbFile, 1); // above the search results panel
    connect(m_wbFile, &HtmlView::downloadComplete, self, &ChapterPage::wbFileDownloadComplete);
    connect(m_wbFile, &HtmlView::documentComplete, self, &ChapterPage::wbFileDocumentComplete);
    connect(m_wbFile, &HtmlView::statusTextChanged, self,
            [self](const QString& t) { self->statusBar()->setText(0, t); });
    connect(m_wbFile, &HtmlView::historyStepRequested, self, &ChapterPage::historyStep);
    // A place within the shown chapter (an anchor followed) enters the history too.
    connect(m_wbFile, &HtmlView::urlChanged, self, [self](const QUrl& url) {
        if (!url.hasFragment())
            return;
        if (const QString name = self->chapterName(url); !name.isEmpty())
            self->m_state.visit({name, url.fragment()});
    });
    connect(m_wbFile, &HtmlView::readingPositionChanged, self, [self](const QUrl& url, double share) {
        if (const QString name = self->chapterName(url); !name.isEmpty())
            self->m_state.setPosition(name, share);
    });
    connect(m_wbFile, &HtmlView::endShown, self, [self](const QUrl& url) {
        if (const QString name = self->chapterName(url); !name.isEmpty())
            self->m_state.setRead(name, true);
    });
    // The view is made when first needed: it takes the reading theme then.
    self->applyTheme(m_state.theme());
    return m_wbFile;
}

void ChapterPage::navigate(const QString& path, const QString& anchor)
{
    // A phrase left from an opening whose document never came is not this chapter's.
    m_pendingHighlight.reset();
    ++m_navigations;
    if (anchor.isEmpty()) {
        wbFile()->navigate(path);
        return;
    }
    QUrl url = QUrl::fromLocalFile(path);
    url.setFragment(anchor);
    wbFile()->navigateTo(url);
}

QString ChapterPage::chapterName(const QUrl& url) const
{
    if (!url.isLocalFile())
        return {};
    const QFileInfo file(url.toLocalFile());
    const QString folder = m_state.chapterFolder();
    const QString own = file.absolutePath() + QLatin1Char('/');
    if (folder.isEmpty() || QDir::cleanPath(own).compare(QDir::cleanPath(folder), Qt::CaseInsensitive) != 0)
        return {};
    return file.fileName();
}

void ChapterPage::historyStep(int step)
{
    const std::optional<HistoryEntry> target = step < 0 ? m_state.goBack() : m_state.goForward();
    if (!target)
        return;
    const QString path = m_state.chapterFolder() + target->fileName;
    const QUrl shown = m_wbFile ? QUrl(m_wbFile->locationUrl()) : QUrl();
    if (m_wbFile && m_wbFile->hasDocument() && chapterName(shown) == target->fileName) {
        // The same chapter: only the place in it changes.
        if (target->anchor.isEmpty()) {
            if (const auto share = m_state.reading().position(target->fileName))
                m_wbFile->scrollToShare(*share);
            else
                m_wbFile->scrollToShare(0);
        } else {
            QUrl url = QUrl::fromLocalFile(path);
            url.setFragment(target->anchor);
            m_wbFile->navigateTo(url);
        }
        return;
    }
    emit historyOpenRequested(path, target->anchor);
}

void ChapterPage::updateHistoryButtons()
{
    const auto describe = [this](const QString& verb, const std::optional<HistoryEntry>& e) -> QString {
        if (!e)
            return verb;
        QString title = ReadChapterTitle(m_state.chapterFolder() + e->fileName).title.trimmed();
        if (title.isEmpty())
            title = e->fileName;
        if (!e->anchor.isEmpty())
            title += QStringLiteral(" (#") + e->anchor + QLatin1Char(')');
        return verb + QStringLiteral(": ") + title;
    };
    const auto back = m_state.reading().backTarget();
    const auto forward = m_state.reading().forwardTarget();
    m_tlbBack->setEnabled(back.has_value());
    m_tlbForward->setEnabled(forward.has_value());
    for (auto [action, text] : {std::pair{m_tlbBack, describe(QStringLiteral("Zpět"), back)},
                                std::pair{m_tlbForward, describe(QStringLiteral("Vpřed"), forward)}}) {
        action->setToolTip(text);
        action->setStatusTip(text);
    }
}

void ChapterPage::applyTheme(ReadingTheme theme)
{
    if (!m_wbFile)
        return; // the view takes the theme when it is made
    m_wbFile->setUserStyleSheet(pagescripts::themeCss(int(theme)), QColor(pagescripts::themePageColour(int(theme))));
}

bool ChapterPage::wbFileBeforeNavigate2(const QUrl& target)
{
    const QString folder = m_state.chapterFolder();
    if (folderPart(target).compare(folder, Qt::CaseInsensitive) == 0) {
        ApplyChosenTextSize();
        ActivateChapterView();
        return true;
    }
    // Only web and mail addresses and local files leave for the user's own programs;
    // anything else a page might ask for (scripts, data) goes nowhere.
    const QString scheme = target.scheme().toLower();
    if (scheme == QLatin1String("http") || scheme == QLatin1String("https") || scheme == QLatin1String("ftp")
        || scheme == QLatin1String("mailto") || scheme == QLatin1String("file"))
        ShellOpener::open(target);
    else
        qCInfo(lcChapter) << "navigation refused:" << target.scheme();
    return false;
}

void ChapterPage::ApplyChosenTextSize()
{
    const int chosen = m_textSize->readChosenSize();
    m_textSize->SetViewTextSize(false, chosen);
    for (QAction* a : m_sizeGroup->actions())
        a->setChecked(a->data().toInt() == chosen);
}

std::optional<int> ChapterPage::checkedTextSize() const
{
    if (QAction* a = m_sizeGroup->checkedAction())
        return a->data().toInt();
    return std::nullopt;
}

void ChapterPage::SaveChosenTextSize()
{
    // Before any chapter was shown no item is checked: the stored choice stays.
    m_textSize->writeChosenSize(checkedTextSize().value_or(m_textSize->readChosenSize()));
}

void ChapterPage::mnuTextSizeClick(int step)
{
    for (QAction* a : m_sizeGroup->actions())
        a->setChecked(a->data().toInt() == step);
    m_textSize->SaveViewTextSize(m_textSize->ReadViewTextSize(false));
    // The reader stays at the same place of the text, whatever its new length.
    HtmlView* view = wbFile();
    const QString name = chapterName(QUrl(view->locationUrl()));
    const std::optional<double> share =
        view->lastScrollShare() ? view->lastScrollShare() : m_state.reading().position(name);
    view->zoomToStep(step);
    if (share && view->hasDocument())
        QTimer::singleShot(150, view, [view, s = *share] { view->scrollToShare(s); });
    m_textSize->restoreViewSetting();
    SaveChosenTextSize();
}

void ChapterPage::PrintPage()
{
    wbFile()->printWithDialog();
}

void ChapterPage::ActivateChapterView()
{
    if (m_wbFile && m_wbFile->hasDocument())
        m_wbFile->focusView();
}

QString ChapterPage::footerHtml()
{
    struct Book
    {
        const char* title;
        const char* address;
    };
    static constexpr Book books[] = {
        {"Programujeme v Pythonu: od první řádky k hotové aplikaci",
         "http://www.knihkupectvi-kodovna.example/knihy/programujeme-v-pythonu"},
        {"Python prakticky: 120 řešených příkladů", "http://www.knihkupectvi-kodovna.example/knihy/python-prakticky"},
    };
    QString html = QStringLiteral("<p align=\"left\"><font size=\"1\" color=\"#808080\"><span style=\"text-decoration: "
                                  "overline\"><cite>")
        + P(ProfileId::ApplicationTitle) + QStringLiteral(" - programová off-line verze seriálu v") + VersionText()
        + P(ProfileId::Space) + P(ProfileId::RightsNotice) + QStringLiteral("</cite></span></font></br>");
    html += QStringLiteral("<p align=\"left\"><span style=\"text-decoration: none\"><font color=\"#004080\" "
                           "size=\"2\">Nebaví vás učit se z monitoru? Zkuste knihy od autora seriálu:</font></span><b><br>");
    for (size_t i = 0; i < std::size(books); ++i) {
        const QString address = QString::fromUtf8(books[i].address);
        html += QStringLiteral("<font size=\"2\" color=\"#004080\"><b>") + QString::fromUtf8(books[i].title)
            + QStringLiteral("</b> - <a href=\"") + address + QStringLiteral("\" target=\"_blank\">") + address
            + QStringLiteral("</a></font>") + (i == 0 ? QStringLiteral("<br>") : QString());
    }
    return html;
}

void ChapterPage::wbFileDownloadComplete()
{
    m_wbFile->appendHtml(footerHtml());
    m_wbFile->setBodyBorderStyle(QStringLiteral("none"));
}

void ChapterPage::wbFileDocumentComplete()
{
    m_textSize->restoreViewSetting();
    m_wbFile->setBodyBorderStyle(QStringLiteral("none"));
    const QUrl shown = m_wbFile->url();
    const QString name = chapterName(shown);
    if (!name.isEmpty())
        m_state.visit({name, shown.fragment()});
    if (m_pendingHighlight) {
        const TSearchAndHighlightTextOptions o = *m_pendingHighlight;
        m_pendingHighlight.reset();
        m_wbFile->searchAndHighlightText(o.SearchText, o.WholeWordsOnly, o.CaseSensitive);
    } else if (!name.isEmpty() && !shown.hasFragment()) {
        // Where the reader left it; a search hit or an anchor takes the reader elsewhere.
        if (const auto share = m_state.reading().position(name); share && *share > 0)
            m_wbFile->scrollToShare(*share);
    }
    const auto path = FileUrlToPath(m_wbFile->locationUrl());
    m_tlbPreviousCap->setEnabled(path && PreviousChapterFile(*path).has_value());
    m_tlbNextCap->setEnabled(path && NextChapterFile(*path).has_value());
    emit documentCompleted();
}

void ChapterPage::tlbPreviousCapClick()
{
    const QString path = m_state.chapterFolder() + wbFile()->locationName();
    if (const auto previous = PreviousChapterFile(path))
        emit openFileRequested(*previous);
}

void ChapterPage::tlbNextCapClick()
{
    const QString path = m_state.chapterFolder() + wbFile()->locationName();
    if (const auto next = NextChapterFile(path))
        emit openFileRequested(*next);
    else
        m_tlbNextCap->setEnabled(false);
}

void ChapterPage::stbFileMouseMove(int x)
{
    const QString hint = x > statusBar()->panel0Width()
        ? QStringLiteral("V této části stavové lišty je zobrazen aktuální čas na vašem počítači. Dvojklikem myši "
                         "vyvoláte okno pro vyhledávání textu.")
        : QStringLiteral("Nápovědný text");
    statusBar()->setToolTip(hint);
    statusBar()->setStatusTip(hint);
    statusBar()->setText(0, hint);
}

} // namespace tavio
