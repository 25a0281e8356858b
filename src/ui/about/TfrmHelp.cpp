#include "TfrmHelp.h"

#include "MainTypes.h"
#include "Profile.h"
#include "ShellOpener.h"
#include "library/Publisher.h"
#include "widgets/ThemeLook.h"

#include <QEvent>
#include <QFile>
#include <QKeyEvent>
#include <QPointer>
#include <QPushButton>
#include <QRegularExpression>
#include <QScreen>
#include <QScrollBar>
#include <QStyle>
#include <QTextBrowser>
#include <QTextCursor>
#include <QtMath>

namespace tavio {

namespace {

// The window's sizes are client sizes here. The designed heights counted a frame of
// 25 pixels, so the description that was 25 and 178 less than the window is 0 and
// 153 less than the client area; the history panel is 153 high either way.
constexpr int HistoryPanelHeight = 153;
constexpr int ButtonGap = 4;

const QColor Grey(128, 128, 128);
const QColor Purple(128, 0, 128);

QFont descriptionFont()
{
    QFont f(QStringLiteral("MS Sans Serif"), 8);
    f.setStyleHint(QFont::SansSerif);
    return f;
}

void colour(QTextCursor cursor, qsizetype from, qsizetype to, const QColor& c)
{
    cursor.setPosition(int(from));
    cursor.setPosition(int(to), QTextCursor::KeepAnchor);
    QTextCharFormat f;
    f.setForeground(c);
    cursor.mergeCharFormat(f);
}

} // namespace

TfrmHelp::TfrmHelp(bool showHints, QWidget* parent, ReadingTheme theme)
    : QDialog(parent,
              Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowContextHelpButtonHint
                  | Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint)
    , m_showHints(showHints)
    , m_theme(theme)
    , m_width(Profile::instance().integer(ProfileId::HelpWindowWidth, 610))
    , m_collapsedHeight(Profile::instance().integer(ProfileId::HelpWindowHeight, 364))
    , m_expandedHeight(Profile::instance().integer(ProfileId::HelpWindowHistoryHeight, 518))
    , m_markLength(Profile::instance().integer(ProfileId::HistoryGreyLength, 244))
{
    setObjectName(QStringLiteral("frmHelp"));
    setWindowTitle(QStringLiteral("Popis a historie verzí programu"));
    setProperty("helpContext", 74);

    m_pnlHelp = new QWidget(this);
    m_pnlHelp->setObjectName(QStringLiteral("pnlHelp"));
    m_reHelp = new QTextBrowser(m_pnlHelp);
    m_reHelp->setObjectName(QStringLiteral("reHelp"));
    m_reHelp->setProperty("helpContext", 60);
    m_reHelp->setOpenLinks(false);
    m_reHelp->setWordWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    m_reHelp->setAcceptRichText(false);
    connect(m_reHelp, &QTextBrowser::anchorClicked, this, [this](const QUrl& url) {
        // The link's index travels in the fragment, so its text comes back unchanged.
        bool ok = false;
        const int i = url.fragment().toInt(&ok);
        if (ok && i >= 0 && i < m_links.size())
            reHelpURLClick(m_links[i]);
    });

    m_btnHistory = new QPushButton(QStringLiteral("&Historie verzí programu ..."), m_pnlHelp);
    m_btnHistory->setObjectName(QStringLiteral("btnHistory"));
    m_btnHistory->setProperty("helpContext", 56);
    m_btnHistory->adjustSize();
    m_btnHistory->raise();
    connect(m_btnHistory, &QPushButton::clicked, this, &TfrmHelp::btnHistoryClick);

    m_pnlHistory = new QWidget(this);
    m_pnlHistory->setObjectName(QStringLiteral("pnlHistory"));
    m_pnlHistory->hide();
    m_reHistory = new QTextEdit(m_pnlHistory);
    m_reHistory->setObjectName(QStringLiteral("reHistory"));
    m_reHistory->setProperty("helpContext", 57);
    m_reHistory->setReadOnly(true);
    m_reHistory->setAcceptRichText(false);
    m_reHistory->setLineWrapMode(QTextEdit::NoWrap);
    m_reHistory->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    QPalette history = m_reHistory->palette();
    history.setColor(QPalette::Base, history.color(QPalette::Button));
    m_reHistory->setPalette(history);
    ApplyThemePalette(m_reHelp, theme);
    ApplyThemePalette(m_reHistory, theme, true);
    m_reHistory->setPlainText(ShippedHistory());

    for (QWidget* w : {static_cast<QWidget*>(this), m_pnlHelp, static_cast<QWidget*>(m_reHelp), m_reHelp->viewport(),
                       static_cast<QWidget*>(m_btnHistory), m_pnlHistory, static_cast<QWidget*>(m_reHistory),
                       m_reHistory->viewport()})
        watch(w);
    m_reHelp->viewport()->setMouseTracking(true);
    m_reHistory->viewport()->setMouseTracking(true);

    FormCreate();
}

TfrmHelp::~TfrmHelp()
{
    if (m_onDestroy)
        m_onDestroy();
}

void TfrmHelp::watch(QWidget* w)
{
    w->installEventFilter(this);
}

QStringList TfrmHelp::DescriptionTemplate()
{
    return {
        QStringLiteral("Na internetových stránkách ") + publisher::address()
            + QStringLiteral(" pravidelně vychází seriál o programování %BuilderName, jehož autorem je "),
        QStringLiteral("%AuthorTitul %SerialAuthor."),
        QString(),
        QStringLiteral("Vytvořil jsem proto aplikaci, pomocí níž lze jednoduše procházet jednotlivými kapitolami "
                       "tohoto seriálu."),
        QStringLiteral("Mezi užitečné funkce patří záložky, umožňující prakticky okamžité otevření příslušné "
                       "kapitoly, nebo vyhledávání v "),
        QStringLiteral("názvech kapitol."),
        QStringLiteral("Celý seznam kapitol je obsažen v základním stromu. Jednotlivé soubory kapitol jsou ve "
                       "formátu [*.htm] a mají číslo dané "),
        QStringLiteral("kapitoly."),
        QStringLiteral("Z toho plyne, že další (nové) kapitoly lze jednoduše přidávat stažením stránky pro tisk "
                       "příslušné kapitoly."),
        QStringLiteral("Jestliže se pod jedním číslem skrývá více kapitol, jsou očíslovány tak, že první soubor má "
                       "číslo kapitoly + \"-\" +"),
        QStringLiteral("\"pořadový index\". Více v nápovědě k programu v kapitole aktualizace."),
        QStringLiteral("Protože stránky tisku kapitol obsahují kód pro automatické vyvolání tisku a různé java "
                       "skripty, je v tomto programu "),
        QStringLiteral("integrován nástroj, který tento kód odstraní (menu \"Nástroje -> Vyčistit soubory\")."),
        QString(),
        QStringLiteral("Mimo základní strom existuje strom uživatelský, jehož struktura je modifikovatelná."),
        QString(),
        QStringLiteral("Doufám, že tento program bude dobrým pomocníkem všem vám, kdo sledujete seriál "
                       "%ApplicationTitle."),
        QString(),
        QStringLiteral("Autor"),
        QString(16, QLatin1Char(' ')),
        QStringLiteral("Otázky a  připomínky k programu posílejte na e-mailovou adresu:  mailto:%Email"),
        QString(),
        QStringLiteral("Další seriály :"),
        QStringLiteral("%NextSoft01 [ %NextSoft01_URL ]"),
        QStringLiteral("%NextSoft02 [ %NextSoft02_URL ]"),
        QStringLiteral("%NextSoft03 [ %NextSoft03_URL ]"),
        QString(189, QLatin1Char('-')),
        QStringLiteral("Domovská stránka programu: %www"),
        QString(),
    };
}

QString TfrmHelp::DescriptionText(const ProfileLookup& value)
{
    struct Sibling
    {
        ProfileId title, url;
    };
    static constexpr Sibling Siblings[] = {
        {ProfileId::NextSoft01, ProfileId::NextSoft01_URL},
        {ProfileId::NextSoft02, ProfileId::NextSoft02_URL},
        {ProfileId::NextSoft03, ProfileId::NextSoft03_URL},
    };
    // A profile may leave the contact address and the sibling series out; their lines
    // would then read "mailto:" or " [  ]", so they are not shown at all.
    QStringList lines;
    qsizetype siblingHeading = -1;
    bool anySibling = false;
    for (const QString& line : DescriptionTemplate()) {
        if (line.contains(QLatin1String("%Email"))) {
            if (value(ProfileId::Email).trimmed().isEmpty())
                continue;
        } else if (line.contains(QLatin1String("%www"))) {
            if (value(ProfileId::HomePageUrl).trimmed().isEmpty())
                continue;
        } else if (line == QStringLiteral("Další seriály :")) {
            siblingHeading = lines.size();
        } else if (line.startsWith(QLatin1String("%NextSoft0"))) {
            const Sibling& s = Siblings[line.at(10).digitValue() - 1];
            if (value(s.title).trimmed().isEmpty())
                continue;
            anySibling = true;
            if (value(s.url).trimmed().isEmpty()) {
                lines.append(line.left(11));
                continue;
            }
        }
        lines.append(line);
    }
    if (!anySibling && siblingHeading >= 0)
        lines.removeAt(siblingHeading);
    return FillDescription(lines.join(QLatin1Char('\n')), value);
}

QString TfrmHelp::ShippedHistory()
{
    QFile file(QStringLiteral(":/about/VersionHistory.txt"));
    if (!file.open(QIODevice::ReadOnly))
        return {};
    QString text = QString::fromUtf8(file.readAll());
    text.remove(QLatin1Char('\r'));
    // The file ends with a line break; the history's last line is its separator.
    while (text.endsWith(QLatin1Char('\n')))
        text.chop(1);
    return text;
}

void TfrmHelp::FormCreate()
{
    m_reHelp->setPlainText(DescriptionText([](ProfileId id) { return P(id); })); // 1
    showLinks();
    m_reHelp->setFont(descriptionFont()); // 2
    m_reHelp->moveCursor(QTextCursor::Start);

    m_width = std::max(m_width, descriptionWidth()); // 3
    setFixedSize(m_width, m_collapsedHeight);
    if (QWidget* owner = parentWidget())
        move(owner->frameGeometry().center() - QPoint(m_width / 2, m_collapsedHeight / 2));

    // 4: the hints follow the main window's option (see eventFilter).

    QTextCursor first(m_reHistory->document()); // 5
    first.movePosition(QTextCursor::EndOfBlock, QTextCursor::KeepAnchor);
    first.insertText(QLatin1Char('[') + VersionText() + QLatin1Char(']') + QStringLiteral(" - ")
                     + P(ProfileId::ReleaseDate));

    markHistory(); // 6
    FormResize();
}

// The description's lines end where its author ended them: the window is made wide
// enough for the longest one in the font in use, as far as the screen allows, so that
// wrapping does not leave a word or two alone on a line.
int TfrmHelp::descriptionWidth() const
{
    const QFontMetrics fm(m_reHelp->font());
    int widest = 0;
    for (const QString& line : m_reHelp->toPlainText().split(QLatin1Char('\n')))
        widest = std::max(widest, fm.horizontalAdvance(line));
    const int chrome = 2 * m_reHelp->frameWidth() + 2 * qCeil(m_reHelp->document()->documentMargin())
        + style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, m_reHelp) + m_reHelp->cursorWidth() + 2;
    int width = widest + chrome;
    const QWidget* owner = parentWidget() ? parentWidget() : this;
    if (const QScreen* screen = owner->screen())
        width = std::min(width, screen->availableGeometry().width());
    return width;
}

void TfrmHelp::showLinks()
{
    static const QRegularExpression address(
        QStringLiteral(R"(\b((?:https?|ftp|file|mailto|news):/*|www\.)[^\s<>"\[\]]+)"),
        QRegularExpression::CaseInsensitiveOption);
    const QString text = m_reHelp->toPlainText();
    QTextCursor cursor(m_reHelp->document());
    m_links.clear();
    for (auto it = address.globalMatch(text); it.hasNext();) {
        const QRegularExpressionMatch m = it.next();
        QString link = m.captured();
        // A full stop or comma after an address ends the sentence, not the address.
        while (!link.isEmpty() && QStringLiteral(".,;:!?)'").contains(link.back()))
            link.chop(1);
        if (link.size() <= m.capturedLength(1))
            continue;
        cursor.setPosition(int(m.capturedStart()));
        cursor.setPosition(int(m.capturedStart() + link.size()), QTextCursor::KeepAnchor);
        QTextCharFormat f;
        f.setAnchor(true);
        f.setAnchorHref(QLatin1Char('#') + QString::number(m_links.size()));
        f.setForeground(m_reHelp->palette().color(QPalette::Link));
        f.setFontUnderline(true);
        cursor.mergeCharFormat(f);
        m_links.append(link);
    }
}

void TfrmHelp::markHistory()
{
    QTextDocument* doc = m_reHistory->document();
    QTextCursor cursor(doc);

    QString text = doc->toPlainText(); // 6.1: the oldest entry in grey
    const qsizetype grey = MarkedSpanFromEnd(text, m_markLength);
    colour(cursor, text.size() - grey, text.size(), ShownTextColour(Grey, m_theme));

    cursor.setPosition(0); // 6.2: the heading on top, in the default colour
    QTextCharFormat plain;
    plain.setForeground(m_reHistory->palette().color(QPalette::Text));
    cursor.insertText(QStringLiteral("HISTORIE VERZÍ PROGRAMU\n"
                                     "- šedě jsou vypsány verze programu, které nebyly vydány s tímto seriálem\n")
                          + QString(144, QLatin1Char('*')) + QStringLiteral("\n\n"),
                      plain);

    text = doc->toPlainText(); // 6.3: the heading in purple
    colour(cursor, 0, MarkedSpanFromStart(text, m_markLength), ShownTextColour(Purple, m_theme));

    m_reHistory->moveCursor(QTextCursor::Start); // 6.4
}

void TfrmHelp::btnHistoryClick()
{
    m_btnHistory->hide();
    if (height() > m_collapsedHeight) {
        setFixedSize(m_width, m_collapsedHeight);
        m_pnlHistory->hide();
    } else {
        setFixedSize(m_width, m_expandedHeight);
        m_pnlHistory->show();
    }
    FormResize();
}

void TfrmHelp::resizeEvent(QResizeEvent* event)
{
    QDialog::resizeEvent(event);
    FormResize();
}

void TfrmHelp::FormResize()
{
    const int w = width();
    const int h = height();
    if (h > m_collapsedHeight) {
        m_pnlHelp->setGeometry(0, 0, w, h - HistoryPanelHeight);
        m_pnlHistory->setGeometry(0, m_pnlHelp->height(), w, h - m_pnlHelp->height());
    } else {
        m_pnlHelp->setGeometry(0, 0, w, h);
        m_pnlHistory->setGeometry(0, h, w, HistoryPanelHeight);
    }
    m_reHelp->setGeometry(m_pnlHelp->rect());
    m_reHistory->setGeometry(m_pnlHistory->rect());
    const QScrollBar* bar = m_reHelp->verticalScrollBar();
    const int barWidth = bar->isVisible() ? bar->width() : 0;
    m_btnHistory->move(m_reHelp->width() - barWidth - m_btnHistory->width() - ButtonGap,
                       m_reHelp->height() - m_btnHistory->height() - ButtonGap);
}

void TfrmHelp::reHelpURLClick(const QString& link)
{
    ShellOpener::openAddress(link);
}

bool TfrmHelp::eventFilter(QObject* watched, QEvent* event)
{
    switch (event->type()) {
    case QEvent::KeyPress: // the form sees the keys before its controls
        if (static_cast<QKeyEvent*>(event)->key() == Qt::Key_Escape) {
            close();
            return true;
        }
        break;
    case QEvent::MouseMove: // the keyboard follows the mouse
        if (watched == m_reHistory->viewport())
            m_reHistory->setFocus(Qt::MouseFocusReason);
        else if (watched == m_reHelp->viewport() && m_btnHistory->isHidden())
            m_reHelp->setFocus(Qt::MouseFocusReason);
        break;
    case QEvent::ToolTip:
        if (!m_showHints)
            return true;
        break;
    default: break;
    }
    return QDialog::eventFilter(watched, event);
}

void TfrmHelp::mnuVersionHistoryClick(QWidget* mainWindow, bool showHints, const std::function<void()>& whenDestroyed,
                                      ReadingTheme theme)
{
    QPointer<TfrmHelp> window = new TfrmHelp(showHints, mainWindow, theme);
    window->setOnDestroy(whenDestroyed);
    window->exec();
    delete window.data();
}

} // namespace tavio
