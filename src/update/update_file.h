#pragma once

#include <QString>

// Telling the update file from whatever else a web server may answer with: an
// error page, a guest network's login page, a file whose version is missing.
namespace update {

// Shown as the communication error's code for a page that is no update file
// and carries no HTTP error status of its own; above the socket's codes.
inline constexpr int kNotAnUpdateFile = 105;

// Whether the page has a CurrentVersion element (start tag present, as the
// tag search finds it) whose value holds something other than white space.
bool isUpdateFile(const QString& page);

// The code shown when a page is no update file: its HTTP status when that is
// a final status other than 200 (404 for a page not found), else
// kNotAnUpdateFile.
int notAnUpdateFileCode(int httpStatus);

} // namespace update
