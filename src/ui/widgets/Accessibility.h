#pragma once

#include <QString>

class QWidget;

// What a screen reader needs from every window: each control that takes the keyboard
// focus has a name. Most controls carry one already (a button its text); the rest get
// the words a sighted user reads for them: their label, their hover text, the text
// shown in them while empty, the title of the group around them.
namespace tavio::accessibility {

// The name a screen reader announces for w, as the toolkit's accessibility layer
// reports it; empty when it has none.
QString announcedName(QWidget* w);

// An editor where Tab is typed text rather than a move to the next control.
bool keepsTab(const QWidget* w);

// The name w would be given from what is shown around it; empty when nothing fits.
QString derivedName(const QWidget* w);

// Names each control of window that takes the focus and has no name of its own.
// A name given here is renewed when the text it came from changes; a name set by
// the program is kept. An editor where Tab is typed text goes last in the Tab order.
void nameControls(QWidget* window);

// Runs nameControls on every window of the application as it is shown; once is enough.
void install();

} // namespace tavio::accessibility
