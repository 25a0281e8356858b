#pragma once

#include "ProfileId.h"

#include <QString>
#include <QStringView>

#include <functional>

// The texts of the description and version history window: the placeholders of the
// description filled from the profile, and the character counts of the history marks.
namespace tavio {

using ProfileLookup = std::function<QString(ProfileId)>;

// The description's placeholders filled in their fixed order, each step working on
// the result of the one before. Steps 7 to 12 replace only the first occurrence and
// ignore case, which is what keeps "%NextSoft01_URL" intact for step 10.
QString FillDescription(QString text, const ProfileLookup& value);

// How many characters of text a mark of `count` covers, taken from the start or from
// the end, when every line break ('\n') counts as two (CR LF). A line break that the
// count reaches is covered whole. Never more than the text holds.
qsizetype MarkedSpanFromStart(QStringView text, int count);
qsizetype MarkedSpanFromEnd(QStringView text, int count);

} // namespace tavio
