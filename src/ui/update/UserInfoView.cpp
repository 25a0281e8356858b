#include "UserInfoView.h"

#include "ShellOpener.h"

#include <QKeyEvent>
#include <QRegularExpression>
#include <QScrollBar>
#include <QUrl>

namespace tavio {

namespace {

constexpr auto TextColour = "#800000";   // dark red
constexpr auto VisitedColour = "#0000FF"; // blue

const QRegularExpression& addressPattern()
{
    // Web addresses with a scheme or beginning "www.", mail addresses with or without
    // "mailto:". What follows an address up to the next blank belongs to it, except
    // closing punctuation of the sentence.
    static const QRegularExpression re(
        QStringLiteral("(?:(?:https?|ftp)://|www\\.|mailto:)[^\\s<>\"]+|[\\w.+-]+@[\\w-]+(?:\\.[\\w-]+)+"),
        QRegularExpression::CaseInsensitiveOption | QRegularExpression::UseUnicodePropertiesOption);
    return re;
}

QString trimTail(QString address)
{
    while (!address.isEmpty() && QStringLiteral(".,;:!?)]}'").contains(address.back()))
        address.chop(1);
    return address;
}

// The address a link opens.
QString target(const QString& address)
{
    if (address.contains(QLatin1String("://")) || address.startsWith(QLatin1String("mailto:"), Qt::CaseInsensitive))
        return address;
    if (address.startsWith(QLatin1String("www."), Qt::CaseInsensitive))
        return QStringLiteral("http://") + address;
    return QStringLiteral("mailto:") + address;
}

} // namespace

UserInfoView::UserInfoView(QWidget* parent)
    : QTextBrowser(parent)
{
    setOpenLinks(false);
    setOpenExternalLinks(false);
    setReadOnly(true);
    setTextInteractionFlags(Qt::LinksAccessibleByMouse);
    setLineWrapMode(QTextEdit::WidgetWidth);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    setMouseTracking(true);
    QFont font(QStringLiteral("Courier New"));
    font.setStyleHint(QFont::TypeWriter);
    font.setFixedPitch(true);
    setFont(font);
    document()->setDefaultStyleSheet(QStringLiteral("a { text-decoration: underline; }"));
    connect(this, &QTextBrowser::anchorClicked, this, [this](const QUrl& url) { openLink(url.toString()); });
}

void UserInfoView::setLines(const QStringList& lines)
{
    m_lines = lines;
    render();
}

void UserInfoView::clearLines()
{
    m_lines.clear();
    render();
}

QStringList UserInfoView::links() const
{
    QStringList found;
    for (const QString& line : m_lines) {
        auto it = addressPattern().globalMatch(line);
        while (it.hasNext()) {
            const QString address = trimTail(it.next().captured());
            if (!address.isEmpty())
                found.append(target(address));
        }
    }
    return found;
}

void UserInfoView::openLink(const QString& address)
{
    ShellOpener::open(QUrl(address));
    m_visited.insert(address);
    render();
}

void UserInfoView::render()
{
    const int scroll = verticalScrollBar() ? verticalScrollBar()->value() : 0;
    QString html = QStringLiteral("<html><body style=\"color:%1; white-space: pre-wrap;\">").arg(QLatin1String(TextColour));
    for (qsizetype n = 0; n < m_lines.size(); ++n) {
        const QString& line = m_lines[n];
        qsizetype at = 0;
        auto it = addressPattern().globalMatch(line);
        while (it.hasNext()) {
            const auto m = it.next();
            const QString address = trimTail(m.captured());
            if (address.isEmpty())
                continue;
            const QString link = target(address);
            html += line.mid(at, m.capturedStart() - at).toHtmlEscaped();
            const QString colour = QLatin1String(m_visited.contains(link) ? VisitedColour : TextColour);
            html += QStringLiteral("<a href=\"%1\" style=\"color:%2;\">%3</a>")
                        .arg(link.toHtmlEscaped(), colour, address.toHtmlEscaped());
            at = m.capturedStart() + address.size();
        }
        html += line.mid(at).toHtmlEscaped();
        if (n + 1 < m_lines.size())
            html += QStringLiteral("<br>");
    }
    html += QStringLiteral("</body></html>");
    setHtml(html);
    if (verticalScrollBar())
        verticalScrollBar()->setValue(scroll);
}

void UserInfoView::keyPressEvent(QKeyEvent* event)
{
    switch (event->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
        emit enterPressed();
        return;
    case Qt::Key_Escape:
        emit escapePressed();
        return;
    default:
        QTextBrowser::keyPressEvent(event);
    }
}

void UserInfoView::mouseMoveEvent(QMouseEvent* event)
{
    setFocus(Qt::MouseFocusReason);
    QTextBrowser::mouseMoveEvent(event);
}

} // namespace tavio
