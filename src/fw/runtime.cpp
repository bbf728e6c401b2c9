#include "fw/runtime.h"

#include "fw/app_metadata.h"
#include "fw/controls.h"

#include <QApplication>
#include <QStyleHints>

namespace fw {

void RuntimeInit()
{
    QApplication::setApplicationName(appMetadata().name);
    QApplication::setApplicationVersion(appMetadata().shortVersion);
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
