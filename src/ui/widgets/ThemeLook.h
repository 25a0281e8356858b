#pragma once

#include "ReadingState.h"

#include <QColor>

class QWidget;

// How the program's own text views (the notes, the description window) show the
// reading theme. Only what is shown changes: documents keep their own colours.
namespace tavio {

// A text colour as shown: black becomes the theme's text; in the dark theme other
// dark colours turn light, keeping their hue. Light shows every colour as it is.
QColor ShownTextColour(const QColor& colour, ReadingTheme theme);
// A background as shown: white becomes the theme's page; in the dark theme other
// light colours turn dark, keeping their hue.
QColor ShownBackColour(const QColor& colour, ReadingTheme theme);

// Gives a text view the theme's page, text and link colours; panel takes the colour
// of code blocks for the page, for a view that stands apart from the text around it.
// Light gives the view back the palette it had.
void ApplyThemePalette(QWidget* view, ReadingTheme theme, bool panel = false);

} // namespace tavio
