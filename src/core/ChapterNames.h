#pragma once

#include <QString>

#include <optional>

// The series names its chapter files NNNN.htm for a chapter in one file and
// NNNN-PP.htm for its parts, counted from 01. The previous and the next chapter
// follow from the name alone; a candidate counts only when its file exists.
namespace tavio {

std::optional<QString> NextChapterFile(const QString& path);
std::optional<QString> PreviousChapterFile(const QString& path);

} // namespace tavio
