#include "fw/application.h"

#include "fw/app_metadata.h"
#include "fw/dispatch.h"
#include "fw/testing.h"
#include "fw/window.h"

#include <QApplication>

#include <optional>
#include <utility>

namespace fw {

namespace {
Application* g_app = nullptr;
// A quit asked for before the event loop runs (an unhandled exception in a
// handler during start-up) would be lost, since exec starts afresh; the loop
// then never starts.
std::optional<int> g_quitBeforeLoop;
bool g_loopRunning = false;
} // namespace

Application::Application() = default;

Application::~Application()
{
    if (g_app == this)
        g_app = nullptr;
}

void Application::_AddMenuHandler(const QString& itemName, std::function<bool()> handler)
{
    if (!handlers_.contains(itemName))
        handlerOrder_.append(itemName);
    handlers_.insert(itemName, std::move(handler));
    testing::trace(QStringLiteral("menu handler bound: ") + itemName);
}

bool Application::hasMenuHandler(const QString& itemName) const
{
    return handlers_.contains(itemName);
}

void Application::runMenuHandler(const QString& itemName)
{
    auto it = handlers_.constFind(itemName);
    if (it == handlers_.constEnd())
        return;
    auto handler = it.value();
    dispatch([&handler]() { (void)handler(); });
}

qint32 Application::MajorVersion() const { return appMetadata().majorVersion; }
qint32 Application::MinorVersion() const { return appMetadata().minorVersion; }
qint32 Application::BugVersion() const { return appMetadata().bugVersion; }
QString Application::ShortVersion() const { return appMetadata().shortVersion; }
QString Application::LongVersion() const { return appMetadata().longVersion; }

void Application::Quit(int code)
{
    if (!g_loopRunning)
        g_quitBeforeLoop = code;
    QCoreApplication::exit(code);
}

void Application::quitItemChosen()
{
    closeAllWindows();
    Quit(0);
}

void _RuntimeRegisterAppObject(Application* app)
{
    g_app = app;
    testing::trace(QStringLiteral("application object registered"));
}

Application* GetAppObject()
{
    return g_app;
}

void _RunFrameworkInitialization(const std::function<void()>& lateStartup)
{
    g_quitBeforeLoop.reset();
    if (g_app) {
        Application* app = g_app;
        dispatch([app]() { app->Event_Open(); });
        testing::trace(QStringLiteral("application opened"));
    }
    lateStartup();
}

int _RuntimeRun()
{
    if (g_quitBeforeLoop)
        return *std::exchange(g_quitBeforeLoop, std::nullopt);
    g_loopRunning = true;
    const int code = QApplication::exec();
    g_loopRunning = false;
    return code;
}

} // namespace fw
