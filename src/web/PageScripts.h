#pragma once

#include <QString>

// The scripts HtmlView runs in the shown document. They run in the application's own
// script world, so that a page's scripts can neither see nor redefine what they use.
namespace tavio::pagescripts {

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

} // namespace tavio::pagescripts
