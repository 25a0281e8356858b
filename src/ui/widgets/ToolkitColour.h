#pragma once

#include <QColor>
#include <QPalette>
#include <QString>

#include <optional>

namespace tavio {

// A colour named as the toolkit names its colour constants: a fixed colour (clBlack,
// clNavy, ...; Profile's ColourFromName) or a system colour (clBtnFace, clWindowText,
// ...), which takes its value from the palette. Nothing for a name that is neither.
std::optional<QColor> ToolkitColour(const QString& name, const QPalette& palette);

} // namespace tavio
