#include "app/startup.h"

#include "app/app.h"
#include "app/menubar1.h"
#include "app/module1.h"
#include "drill/sounds.h"
#include "drill/window1.h"
#include "fw/runtime.h"
#include "fw/dispatch.h"
#include "fw/testing.h"
#include "fw/window.h"

#include <QApplication>

#include <memory>

namespace {
// The framework keeps the registered application object until the end.
std::unique_ptr<app::App> g_appObject;
// What the event loop returned: the process's exit status.
int g_exitCode = 0;
} // namespace

int processMain(int argc, char** argv)
{
    QApplication qtApp(argc, argv);
    fw::RuntimeInit();
    _Main();
    finalizeProgram();
    return g_exitCode;
}

void _Main()
{
    try {
        fw::RuntimeSetExceptionHelper(&fw::CallFunctionWithExceptionHandling);
        _EarlyStartup();
        fw::_RunFrameworkInitialization(&_LateStartup);
        g_exitCode = fw::_RuntimeRun();
    } catch (...) {
        g_exitCode = 1;
        fw::UnhandledException(std::current_exception());
    }
}

void _EarlyStartup()
{
    _InitFileTypes();
    _NewAppInstance();
    _ApplicationAddMenuHandlers();
}

void _InitFileTypes()
{
    // The program opens no documents.
}

void _NewAppInstance()
{
    auto appObject = std::make_unique<app::App>();
    fw::testing::trace(QStringLiteral("application object created"));
    appObject->setMenuBar(MenuBar1());
    fw::testing::trace(QStringLiteral("menu bar set"));
    fw::_RuntimeRegisterAppObject(appObject.get());
    g_appObject = std::move(appObject);
}

void _ApplicationAddMenuHandlers()
{
    app::App* a = App();
    a->_AddMenuHandler(QStringLiteral("CheckForUpdateCheckNow"), [a] { return a->_CheckForUpdateCheckNow_Action(); });
    a->_AddMenuHandler(QStringLiteral("SoundOn"), [a] { return a->_SoundOn_Action(); });
    a->_AddMenuHandler(QStringLiteral("SoundOff"), [a] { return a->_SoundOff_Action(); });
    a->_AddMenuHandler(QStringLiteral("RomanNumberInfoShowWebSite"),
                       [a] { return a->_RomanNumberInfoShowWebSite_Action(); });
    a->_AddMenuHandler(QStringLiteral("SoundAbout"), [a] { return a->_SoundAbout_Action(); });
}

void _LateStartup()
{
    _MakeDefaultView();
}

void _MakeDefaultView()
{
    (void)Window1();
}

void finalizeProgram()
{
    releaseSounds();
    fw::testing::trace(QStringLiteral("released: sounds"));
    fw::releaseAllWindows();
    fw::_RuntimeRegisterAppObject(nullptr);
    g_appObject.reset();
    fw::testing::trace(QStringLiteral("released: windows"));
    app::MenuBar1::_implicitInstance.reset();
    fw::testing::trace(QStringLiteral("released: menu bar"));
    Module1::Answer = QString();
    Module1::S = QString();
    Module1::V = QString();
    fw::testing::trace(QStringLiteral("released: texts"));
    Module1::R.reset();
    fw::testing::trace(QStringLiteral("released: random generator"));
}
