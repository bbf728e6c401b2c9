#pragma once

namespace fw {

// The framework's set-up once the QApplication exists: the program's name,
// version, desktop entry and window icon, its fonts, and quitting left to the
// program (closing the main window quits through its Close event; other
// windows never end the program).
void RuntimeInit();

// Ends the process with status, once the program's own teardown is done (the
// settings written, the windows and the application object gone). No
// library's exit-time teardown runs: output is flushed and a sanitizer build
// checks for leaks, then the process ends.
[[noreturn]] void RuntimeExit(int status);

} // namespace fw
