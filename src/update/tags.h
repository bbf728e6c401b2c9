#pragma once

#include <QString>

// Cutting values out of the update file. The file is read as plain text: a value
// is whatever stands between the first start tag and the first end tag after it.
namespace update {

// "<" + tag + ">".
QString startTag(const QString& tag);
// "</" + tag + ">".
QString endTag(const QString& tag);

// The text between the first start tag of tag and the first end tag at or after
// the end of it. With no start tag the search begins at position Len(tag) + 2,
// as if the start tag stood at position 0; with no end tag the value is "".
// Tags are found ignoring ASCII letter case, like every text search here.
QString returnValue(const QString& text, const QString& tag);

// Longest text from the update file shown to the user (the description, the
// version): the file is fetched from the network and may hold anything, and
// laying out a megabyte of text would freeze the dialog.
inline constexpr int kMaxShownLength = 2000;

// The text cut to at most kMaxShownLength characters, never in the middle of a
// surrogate pair.
QString cutForDisplay(const QString& text);

} // namespace update
