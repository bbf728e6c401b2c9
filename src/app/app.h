#pragma once

#include "fw/application.h"

namespace fw {
class MenuItem;
}

namespace app {

// The application object. Its Open event makes the one random generator; its
// five menu handlers are bound to menu item names at start-up.
class App : public fw::Application {
public:
    App() { Constructor(); }

    void Event_Open() override;

    bool _CheckForUpdateCheckNow_Action();
    bool _SoundOn_Action();
    bool _SoundOff_Action();
    bool _RomanNumberInfoShowWebSite_Action();
    bool _SoundAbout_Action();

private:
    void Constructor() { }
};

} // namespace app

// The registered application object (checked cast).
app::App* App();
// The Sound menu's two items, found by name in the application's menu bar.
fw::MenuItem* SoundOn();
fw::MenuItem* SoundOff();
