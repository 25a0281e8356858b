#pragma once

#include <QString>

// The scripts HtmlView runs in the shown document. They run in the application's own
// script world, so that a page's scripts can neither see nor redefine what they use.
namespace tavio::pagescripts {

// A JavaScript string literal holding the text, whatever it holds.
QString literal(const QString& text);
// The script with its %1 replaced by the text as a JavaScript string literal.
QString fill(const char16_t* script, const QString& text);
// Appends the fragment to the end of the body; gives nothing.
QString appendToBody(const QString& fragment);
// Sets the border style of the body; gives nothing.
QString bodyBorder(const QString& style);
// Wraps every match of the phrase in the highlight span, scrolls the first match to the
// top of the view and gives the number of matches.
QString highlight(const QString& phrase, bool wholeWords, bool matchCase);
// Selects the next match of the phrase after the selection (backward: the one before
// it), from the other end of the page when there is none, scrolls it into sight and
// gives its rectangle in the view as [left, top, width, height], or null without a match.
QString findOnPage(const QString& phrase, bool wholeWords, bool matchCase, bool backward);
// Reports the links the user follows out of the document as console messages
// beginning with marker (see HtmlView).
QString linkFollower(const QString& marker);
// Lays a box over every match of the phrase (the one the selection holds in a colour of
// its own) without touching the document's text, and gives [current, total]; an empty
// phrase clears the boxes.
QString markAllMatches(const QString& phrase, bool wholeWords, bool matchCase);
// Reports the reading position ("pos <share>") and the end of the document shown
// ("end") as console messages beginning with marker.
QString scrollReporter(const QString& marker);
// A "Kopírovat" button over the code block under the pointer that reports "copy <text>"
// with marker, and the block the pop-up menu was opened on, for menuBlockText().
QString codeCopier(const QString& marker);
QString menuBlockText();
// Scrolls to the share (0 top, 1 end) of the scroll range.
QString scrollToShare(double share);
// Puts the style sheet into the document (or takes it out, for an empty one), also
// when run before the document has any content.
QString themeSheet(const QString& css);
// The reading theme's style sheet: 0 light (none), 1 sepia, 2 dark.
QString themeCss(int theme);
// The theme's page colour, "#rrggbb".
QString themePageColour(int theme);

} // namespace tavio::pagescripts
