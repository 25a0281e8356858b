#include "BalloonHint.h"

#include <QCursor>
#include <QEvent>
#include <QFrame>
#include <QGridLayout>
#include <QLabel>
#include <QToolButton>
#include <QWidget>

namespace tavio {

BalloonHint::BalloonHint(QWidget* owner)
    : QObject(owner)
    , m_owner(owner)
{
}

BalloonHint::~BalloonHint()
{
    delete m_balloon.data();
}

void BalloonHint::setEnabled(bool on)
{
    m_enabled = on;
    if (!on)
        hide();
}

void BalloonHint::watch(QWidget* control)
{
    control->installEventFilter(this);
}

QFrame* BalloonHint::balloon() const
{
    return m_balloon && m_balloon->isVisible() ? m_balloon.data() : nullptr;
}

QString BalloonHint::shownText() const
{
    return balloon() ? m_textLabel->text() : QString();
}

void BalloonHint::showFor(QWidget* control)
{
    if (!m_balloon) {
        // A window of its own, so that it may reach beyond the owner's edges.
        m_balloon = new QFrame(m_owner, Qt::ToolTip | Qt::FramelessWindowHint);
        m_balloon->setObjectName(QStringLiteral("bhUpdateBalloon"));
        m_balloon->setFrameShape(QFrame::Box);
        m_balloon->setStyleSheet(
            QStringLiteral("QFrame#bhUpdateBalloon { background: #FFFFE1; border: 1px solid #767676; border-radius: 6px; }"));
        m_headerLabel = new QLabel(m_balloon);
        QFont bold = m_headerLabel->font();
        bold.setBold(true);
        m_headerLabel->setFont(bold);
        m_textLabel = new QLabel(m_balloon);
        m_textLabel->setTextFormat(Qt::PlainText);
        auto* close = new QToolButton(m_balloon);
        close->setText(QStringLiteral("×"));
        close->setAutoRaise(true);
        connect(close, &QToolButton::clicked, this, &BalloonHint::hide);
        auto* layout = new QGridLayout(m_balloon);
        layout->setContentsMargins(8, 4, 4, 8);
        layout->addWidget(m_headerLabel, 0, 0);
        layout->addWidget(close, 0, 1, Qt::AlignRight | Qt::AlignTop);
        layout->addWidget(m_textLabel, 1, 0, 1, 2);
    }
    m_control = control;
    m_headerLabel->setText(m_header);
    QString text = control->toolTip();
    text.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    m_textLabel->setText(text);
    m_balloon->adjustSize();
    m_balloon->move(QCursor::pos() + QPoint(4, 16));
    m_balloon->show();
}

void BalloonHint::hide()
{
    if (m_balloon)
        m_balloon->hide();
    m_control = nullptr;
}

bool BalloonHint::eventFilter(QObject* watched, QEvent* event)
{
    auto* control = qobject_cast<QWidget*>(watched);
    if (!control)
        return false;
    switch (event->type()) {
    case QEvent::ToolTip:
        if (m_enabled && !control->toolTip().isEmpty())
            showFor(control);
        return true; // the plain tooltip never shows
    case QEvent::Leave:
    case QEvent::Hide:
    case QEvent::MouseButtonPress:
        if (m_control == control)
            hide();
        break;
    default:
        break;
    }
    return false;
}

} // namespace tavio
