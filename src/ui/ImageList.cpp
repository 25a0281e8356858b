#include "ImageList.h"

#include <QFile>
#include <QHash>

namespace tavio {

QString ImageList::nameOf(int index)
{
    switch (index) {
    case 0: return QStringLiteral("chapter");
    case 1: return QStringLiteral("folder-closed");
    case 5: return QStringLiteral("folder-open");
    case 20: return QStringLiteral("unmark-folder");
    case 21: return QStringLiteral("mark-folder");
    case 22: return QStringLiteral("folder-marked-closed");
    case 23: return QStringLiteral("folder-marked-open");
    case 26: return QStringLiteral("bookmark-add");
    case 35: return QStringLiteral("bookmark-edit");
    case 37: return QStringLiteral("bookmark-import");
    case 38: return QStringLiteral("bookmark-export");
    default: return {};
    }
}

QIcon ImageList::icon(int index)
{
    const QString name = nameOf(index);
    return name.isEmpty() ? QIcon() : named(name);
}

QIcon ImageList::named(const QString& name)
{
    static QHash<QString, QIcon> cache;
    const auto it = cache.constFind(name);
    if (it != cache.cend())
        return *it;
    const QString path = QStringLiteral(":/art/icons/") + name + QStringLiteral(".svg");
    QIcon icon = QFile::exists(path) ? QIcon(path) : QIcon();
    cache.insert(name, icon);
    return icon;
}

} // namespace tavio
