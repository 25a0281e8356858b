#pragma once

#include <QIcon>
#include <QString>

// The main image list: the pictures of the trees, toolbars, menus and logs, by
// index where other code stores an index, by name everywhere else.
namespace tavio {

class ImageList final
{
public:
    static QIcon icon(int index);
    static QIcon named(const QString& name);
    // The name of the picture at an index; empty for an unused index.
    static QString nameOf(int index);
};

} // namespace tavio
