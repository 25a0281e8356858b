#include "StatusBar.h"

#include <QLabel>
#include <QMouseEvent>

namespace tavio {

StatusBar::StatusBar(QWidget* parent)
    : QFrame(parent)
{
    setMouseTracking(true);
    setFixedHeight(fontMetrics().height() + 8);
    for (int i = 0; i < 2; ++i) {
        auto* label = new QLabel(this);
        label->setFrameShape(QFrame::Panel);
        label->setFrameShadow(QFrame::Sunken);
        label->setTextFormat(Qt::PlainText);
        label->setMouseTracking(true);
        label->setAttribute(Qt::WA_TransparentForMouseEvents);
        label->setAlignment(i == 0 ? Qt::AlignLeft | Qt::AlignVCenter : Qt::AlignCenter);
        label->setIndent(3);
        m_panels[i] = label;
    }
}

QString StatusBar::text(int panel) const
{
    return m_panels[panel]->text();
}

void StatusBar::setText(int panel, const QString& text)
{
    m_panels[panel]->setText(text);
    if (panel == 1)
        layoutPanels();
}

int StatusBar::panel0Width() const
{
    return m_panels[0]->width();
}

void StatusBar::resizeEvent(QResizeEvent* event)
{
    QFrame::resizeEvent(event);
    layoutPanels();
}

void StatusBar::layoutPanels()
{
    // The right panel keeps its design width, or what its text needs at a larger font.
    const int w1 = std::max(Panel1Width, m_panels[1]->minimumSizeHint().width());
    const int w0 = std::max(0, width() - w1);
    m_panels[0]->setGeometry(0, 1, w0, height() - 2);
    m_panels[1]->setGeometry(w0, 1, width() - w0, height() - 2);
}

void StatusBar::mouseMoveEvent(QMouseEvent* event)
{
    emit mouseMoved(event->position().toPoint().x());
    QFrame::mouseMoveEvent(event);
}

void StatusBar::mouseDoubleClickEvent(QMouseEvent* event)
{
    emit doubleClicked(event->position().toPoint().x());
    QFrame::mouseDoubleClickEvent(event);
}

} // namespace tavio
