#pragma once

#include <QHash>
#include <QString>

#include <functional>

namespace fw {

class MenuBar;

// The application object: one per process, registered at start-up. The program
// derives from it, handles its Open event, and binds menu handlers by item name.
class Application {
public:
    Application();
    virtual ~Application();
    Application(const Application&) = delete;
    Application& operator=(const Application&) = delete;

    // Raised once by the framework's initialisation, before the event loop runs.
    virtual void Event_Open() { }

    MenuBar* menuBar() const { return menuBar_; }
    void setMenuBar(MenuBar* bar) { menuBar_ = bar; }

    // Binds a handler to the menu item of that name. The handler's Boolean
    // result tells whether it handled the command; the framework does nothing
    // further either way.
    void _AddMenuHandler(const QString& itemName, std::function<bool()> handler);
    bool hasMenuHandler(const QString& itemName) const;
    void runMenuHandler(const QString& itemName);
    QStringList menuHandlerNames() const { return handlerOrder_; }

    // The application's version, from the bundle's metadata; read only.
    qint32 MajorVersion() const;
    qint32 MinorVersion() const;
    qint32 BugVersion() const;
    QString ShortVersion() const;
    QString LongVersion() const;

    // Ends the event loop; exec returns code. Asked for before the loop runs,
    // the loop does not start and _RuntimeRun returns code at once.
    static void Quit(int code = 0);
    // The File menu's quit item: closes the open windows, newest first, so each
    // runs its Close event (the main window saves its settings there), then quits.
    static void quitItemChosen();

private:
    MenuBar* menuBar_ = nullptr;
    QHash<QString, std::function<bool()>> handlers_;
    QStringList handlerOrder_;
};

// Registration of the one application object; GetAppObject() returns it (or
// nullptr before registration). The framework does not own it.
void _RuntimeRegisterAppObject(Application* app);
Application* GetAppObject();

// Runs lateStartup once, after raising the application's Open event.
void _RunFrameworkInitialization(const std::function<void()>& lateStartup);

// Runs the event loop until the application quits; returns the quit code.
int _RuntimeRun();

} // namespace fw
