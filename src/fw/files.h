#pragma once

#include <QByteArray>
#include <QString>

#include <optional>

namespace fw {

// The user's preferences folder (the XDG configuration folder, so
// XDG_CONFIG_HOME is honoured). It may not exist yet.
QString PreferencesFolder();

// At most maxBytes from the start of the file at path, or nullopt when path is
// not a readable regular file (missing, a folder, a pipe, no permission).
std::optional<QByteArray> readTextFilePrefix(const QString& path, qsizetype maxBytes);

// Replaces the file at path with content: the content goes to a temporary file
// in the same folder, which is then renamed over the old one, so either the old
// or the new file survives whole. Creates the folder when it is missing. A
// symbolic link is written through: what it leads to is replaced, or created
// when its folder exists, and the link stays. Anything but a regular file at
// the end (a folder, a device, a pipe, a socket, a link loop) is left as it
// is. On any failure returns false and leaves the old file as it was.
bool writeTextFileAtomically(const QString& path, const QByteArray& content);

namespace testing {
// Replaces PreferencesFolder's answer; an empty path removes the override.
void setPreferencesFolder(const QString& folder);
// The next writeTextFileAtomically fails after writing its temporary file and
// before putting it in place, as a full disk or a crash at that moment would.
void failNextCommit();
} // namespace testing

} // namespace fw
