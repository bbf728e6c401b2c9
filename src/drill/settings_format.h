#pragma once

#include <QByteArray>
#include <QString>

// The content of the settings file "sumwise.txt": three lines, the sound switch
// ("True" or "False"), the selected operation and the selected level, each the
// name of its radio button. Reading and writing the file is the window's.
namespace drill {

struct SavedSettings {
    bool soundOn = false;
    QString operation; // "Add", "Subtract", "Multiply", "Divide", "Algebra", "Roman", or "" for none
    QString level;     // "Easy", "Medium", "Hard", or "" for none
};

// Only this much of the file is looked at: the three lines we write take some
// 20 bytes, and a longer prefix could only hold lines that match nothing.
inline constexpr qsizetype kSettingsPrefixLength = 4096;

// Reads the first three lines (ending at LF, CRLF or CR; a UTF-8 byte-order
// mark at the start is dropped). Line 1 equal to "True" switches the sounds on,
// anything else (a missing line too) off. Lines 2 and 3 give the canonical name
// of the first operation and level they equal, "" when none. Letter case is
// ignored as in every text comparison of the program.
SavedSettings parseSettings(const QByteArray& content);

// "True" or "False", then the operation line and the level line, each ending in
// LF. An empty operation or level, or a name that is not one of the buttons',
// writes no line.
QByteArray formatSettings(bool soundOn, const QString& operation, const QString& level);

// What a missing file is created with: sounds on, Add, Easy.
QByteArray defaultSettings();

} // namespace drill
