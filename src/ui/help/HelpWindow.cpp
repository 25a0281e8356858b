#include "HelpWindow.h"

#include "Profile.h"

#include <QGuiApplication>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QScreen>
#include <QSplitter>
#include <QTextBrowser>
#include <QTreeWidget>

namespace tavio {

namespace {
constexpr int ContextRole = Qt::UserRole;
} // namespace

HelpWindow::HelpWindow(QWidget* parent)
    : QWidget(parent, Qt::Window)
{
    setObjectName(QStringLiteral("frmHelpTopics"));
    setWindowTitle(P(ProfileId::ApplicationTitle) + QStringLiteral(" - nápověda"));
    resize(680, 460);

    auto* splitter = new QSplitter(this);
    m_trwTopics = new QTreeWidget(splitter);
    m_trwTopics->setObjectName(QStringLiteral("trwTopics"));
    m_trwTopics->setHeaderHidden(true);
    m_trwTopics->setRootIsDecorated(true);
    m_reTopic = new QTextBrowser(splitter);
    m_reTopic->setObjectName(QStringLiteral("reTopic"));
    m_reTopic->setOpenLinks(false);
    splitter->setStretchFactor(0, 2);
    splitter->setStretchFactor(1, 3);
    splitter->setSizes({240, 440});
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(4, 4, 4, 4);
    layout->addWidget(splitter);

    connect(m_trwTopics, &QTreeWidget::currentItemChanged, this, [this](QTreeWidgetItem* current) { render(current); });
    // Related topics are linked by their context number in the fragment.
    connect(m_reTopic, &QTextBrowser::anchorClicked, this, [this](const QUrl& url) {
        bool ok = false;
        const int context = url.fragment().toInt(&ok);
        if (ok)
            showTopic(context);
    });

    if (const QScreen* screen = parent ? parent->screen() : QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());
}

void HelpWindow::setHelpFile(const HelpFile& file)
{
    const int shown = currentContext();
    m_file = file;
    m_trwTopics->clear();
    QTreeWidgetItem* group = nullptr;
    QString groupName;
    for (const HelpTopic& topic : m_file.topics()) {
        QTreeWidgetItem* item = nullptr;
        if (topic.section.isEmpty()) {
            item = new QTreeWidgetItem(m_trwTopics);
        } else {
            if (!group || topic.section != groupName) {
                group = new QTreeWidgetItem(m_trwTopics, {topic.section});
                QFont bold = group->font(0);
                bold.setBold(true);
                group->setFont(0, bold);
                group->setData(0, ContextRole, 0);
                group->setExpanded(true);
                groupName = topic.section;
            }
            item = new QTreeWidgetItem(group);
        }
        item->setText(0, topic.title);
        item->setData(0, ContextRole, topic.context);
    }
    if (shown > 0)
        showTopic(shown);
}

void HelpWindow::showContents()
{
    for (QTreeWidgetItemIterator it(m_trwTopics); *it; ++it) {
        if ((*it)->data(0, ContextRole).toInt() > 0) {
            m_trwTopics->setCurrentItem(*it);
            break;
        }
    }
    m_trwTopics->setFocus();
}

bool HelpWindow::showTopic(int context)
{
    QTreeWidgetItem* item = itemOf(context);
    if (!item)
        return false;
    m_trwTopics->setCurrentItem(item);
    m_trwTopics->scrollToItem(item);
    render(item);
    return true;
}

int HelpWindow::currentContext() const
{
    const QTreeWidgetItem* item = m_trwTopics->currentItem();
    return item ? item->data(0, ContextRole).toInt() : 0;
}

QTreeWidgetItem* HelpWindow::itemOf(int context) const
{
    for (QTreeWidgetItemIterator it(m_trwTopics); *it; ++it) {
        if ((*it)->data(0, ContextRole).toInt() == context)
            return *it;
    }
    return nullptr;
}

void HelpWindow::render(QTreeWidgetItem* item)
{
    if (!item) {
        m_reTopic->clear();
        return;
    }
    const int context = item->data(0, ContextRole).toInt();
    if (const HelpTopic* topic = m_file.topic(context)) {
        m_reTopic->setHtml(topicHtml(*topic, m_file, true));
        return;
    }
    // A group: the list of its topics.
    QString html = QStringLiteral("<h3>") + item->text(0).toHtmlEscaped() + QStringLiteral("</h3><ul>");
    for (int i = 0; i < item->childCount(); ++i) {
        const QTreeWidgetItem* child = item->child(i);
        html += QStringLiteral("<li><a href=\"#%1\">").arg(child->data(0, ContextRole).toInt())
            + child->text(0).toHtmlEscaped() + QStringLiteral("</a></li>");
    }
    m_reTopic->setHtml(html + QStringLiteral("</ul>"));
}

QString HelpWindow::topicHtml(const HelpTopic& topic, const HelpFile& file, bool withLinks)
{
    QString html = QStringLiteral("<h3>") + topic.title.toHtmlEscaped() + QStringLiteral("</h3>");
    for (const QString& p : topic.paragraphs)
        html += QStringLiteral("<p>") + p.toHtmlEscaped() + QStringLiteral("</p>");
    if (withLinks && !topic.seeAlso.isEmpty()) {
        QStringList links;
        for (int see : topic.seeAlso) {
            if (const HelpTopic* other = file.topic(see))
                links.append(QStringLiteral("<a href=\"#%1\">").arg(see) + other->title.toHtmlEscaped()
                             + QStringLiteral("</a>"));
        }
        html += QStringLiteral("<p><b>Viz také:</b> ") + links.join(QStringLiteral(", ")) + QStringLiteral("</p>");
    }
    return html;
}

void HelpWindow::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Escape) {
        close();
        return;
    }
    QWidget::keyPressEvent(event);
}

} // namespace tavio
