#pragma once

#include <QByteArray>
#include <QString>

// The disk side of the drill's settings file "sumwise.txt" in the user's
// preferences folder. What the lines mean is read and written elsewhere; here
// the file is only found, created, read and replaced.

// Full path of the settings file, or "" when there is no preferences folder.
QString settingsFilePath();

// The file's content. A missing file is first created holding the defaults
// (sounds on, Add, Easy), once. When the file still cannot be read (no folder
// that can be made, the path is a folder, no permission) the defaults are
// returned, so the program starts as it would on a first run. Only the start
// of the file is read; a line cut off at that bound is left out.
QByteArray readSettingsFileCreatingDefaults();

// Replaces the file with content; false when it could not be written, in which
// case the old file is left whole.
bool writeSettingsFile(const QByteArray& content);
