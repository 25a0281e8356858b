#pragma once

#include <QtGlobal>

#include <array>

// Tables the search shares between its source files.
namespace tavio {

// How common each byte is in chapter text (larger: more common; 0: rare). The
// searches anchor on a pattern's rarest byte.
const std::array<int, 256>& ByteCommonness();
// The bytes as the match compares them: capitals unless the case matters.
const std::array<uchar, 256>& SearchFoldTable(bool caseSensitive);

} // namespace tavio
