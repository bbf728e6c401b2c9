#pragma once

namespace fw {

// The framework's set-up once the QApplication exists: the program's name,
// version, desktop entry and window icon, its fonts, and quitting left to the
// program (closing the main window quits through its Close event; other
// windows never end the program).
void RuntimeInit();

} // namespace fw
