#include "PublisherLogo.h"

#include "ShellOpener.h"
#include "library/Publisher.h"

#include <QIcon>
#include <QMouseEvent>

namespace tavio {

PublisherLogo::PublisherLogo(QWidget* parent)
    : QLabel(parent)
{
    setPixmap(QIcon(QStringLiteral(":/art/publisher.svg")).pixmap(QSize(88, 31)));
    setCursor(Qt::PointingHandCursor);
    setToolTip(publisher::address());
    setStatusTip(publisher::address());
    setContentsMargins(4, 0, 4, 0);
}

void PublisherLogo::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint()))
        ShellOpener::openAddress(publisher::address());
    QLabel::mouseReleaseEvent(event);
}

} // namespace tavio
