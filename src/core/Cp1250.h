#pragma once

#include <QByteArray>
#include <QString>

#include <array>

// Windows-1250 is the encoding of every text the program reads or writes.
namespace tavio::cp1250 {

QString toUnicode(QByteArrayView bytes);
// Characters the code page cannot hold become '?'.
QByteArray fromUnicode(QStringView text);

// Upper-case mapping of the code page's bytes, taken from the code page itself:
// a letter maps to its capital when the code page holds that capital, otherwise it
// stays as it is. Accents remain (e never becomes É), as the Czech ANSI upper-casing does.
const std::array<uchar, 256>& upperTable();
QByteArray toUpper(QByteArray bytes);

} // namespace tavio::cp1250
