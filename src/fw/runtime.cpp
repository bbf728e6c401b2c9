#include "fw/runtime.h"

#include "fw/app_metadata.h"
#include "fw/controls.h"

#include <QApplication>
#include <QIcon>
#include <QStyleHints>

namespace fw {

void RuntimeInit()
{
    QApplication::setApplicationName(appMetadata().name);
    QApplication::setApplicationVersion(appMetadata().shortVersion);
    // Ties the windows to the installed desktop entry; a Wayland desktop takes
    // their icon from that entry.
    QGuiApplication::setDesktopFileName(appMetadata().desktopId);
    // Every window without an icon of its own shows the application's. Set
    // here, before the first window: loading the SVG plugin and drawing the
    // sizes a title bar asks for takes about 2 ms of a start-up near 40 ms,
    // while setting it later would show the windows without it at first.
    QApplication::setWindowIcon(QIcon(appMetadata().iconPath));
    QApplication::setQuitOnLastWindowClosed(false);
    // A steady text cursor: a blinking one would wake the program twice a
    // second for as long as the learner thinks over an answer.
    QGuiApplication::styleHints()->setCursorFlashTime(0);
    // Menus and dialogs in the same free font as the controls: narrower than
    // the platform default, so the main window's five menus fit its width.
    const QFont font = controlFont(QStringLiteral("System"), kDefaultTextPixelSize, false);
    QApplication::setFont(font);
    for (const char* className : {"QMenuBar", "QMenu", "QMessageBox", "QLabel", "QPushButton"})
        QApplication::setFont(font, className);
}

} // namespace fw
