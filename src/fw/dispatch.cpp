#include "fw/dispatch.h"

#include "fw/application.h"
#include "fw/dialogs.h"
#include "fw/exceptions.h"
#include "fw/testing.h"

#include <QtGlobal>

namespace fw {

namespace {
ExceptionHelper g_helper = nullptr;
// Set once an exception went unhandled: from then on the program is only
// waiting to end, and none of its handlers may run behind the report (a timer
// would draw a problem under the "must shut down" message).
bool g_mustShutDown = false;
} // namespace

std::exception_ptr CallFunctionWithExceptionHandling(const std::function<void()>& fn)
{
    try {
        fn();
    } catch (...) {
        return std::current_exception();
    }
    return nullptr;
}

void RuntimeSetExceptionHelper(ExceptionHelper helper)
{
    g_helper = helper;
}

void dispatch(const std::function<void()>& fn) noexcept
{
    if (g_mustShutDown)
        return;
    std::exception_ptr error = g_helper ? g_helper(fn) : CallFunctionWithExceptionHandling(fn);
    if (error)
        UnhandledException(error);
}

const char* describeException(std::exception_ptr error, std::string& storage) noexcept
{
    try {
        std::rethrow_exception(error);
    } catch (const RuntimeException& e) {
        storage = std::string(e.className()) + ": " + e.what();
    } catch (const std::exception& e) {
        storage = e.what();
    } catch (...) {
        storage = "unknown exception";
    }
    return storage.c_str();
}

void UnhandledException(std::exception_ptr error) noexcept
{
    g_mustShutDown = true;
    std::string text;
    describeException(error, text);
    testing::recordUnhandledException(QString::fromStdString(text));
    qCritical("Unhandled exception: %s", text.c_str());
    try {
        MsgBox(QStringLiteral("An exception was not handled (%1). The application must shut down.")
                   .arg(QString::fromStdString(text)));
    } catch (...) {
        // Reporting must never throw back into the event loop.
    }
    Application::Quit(1);
}

namespace testing {
void clearMustShutDown() { g_mustShutDown = false; }
} // namespace testing

} // namespace fw
