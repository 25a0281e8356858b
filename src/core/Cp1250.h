#pragma once

#include <QByteArray>
#include <QString>

// Windows-1250 is the encoding of every text the program reads or writes.
namespace tavio::cp1250 {

QString toUnicode(QByteArrayView bytes);
// Characters the code page cannot hold become '?'.
QByteArray fromUnicode(QStringView text);

} // namespace tavio::cp1250
