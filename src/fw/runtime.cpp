#include "fw/runtime.h"

#include "fw/app_metadata.h"
#include "fw/controls.h"

#include <QApplication>
#include <QIcon>
#include <QStyleHints>

#include <cstdio>
#include <cstdlib>

// GCC says so with a macro, clang only through __has_feature.
#if defined(__SANITIZE_ADDRESS__)
#define SUMWISE_LEAK_CHECK 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define SUMWISE_LEAK_CHECK 1
#endif
#endif

#if defined(SUMWISE_LEAK_CHECK)
#include <sanitizer/lsan_interface.h>
#endif

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

void RuntimeExit(int status)
{
    // Qt Multimedia 6.4, loaded with the first sound, closes its connection
    // to the sound server at exit without holding the lock of the thread that
    // serves it, so now and then the process would abort inside libpulse
    // after everything of ours had ended well. Nothing is left that needs an
    // exit-time destructor, so none is run. Output goes first: a leak found
    // ends the process at once.
    std::fflush(nullptr);
#if defined(SUMWISE_LEAK_CHECK)
    __lsan_do_leak_check();
#endif
    std::_Exit(status);
}

} // namespace fw
