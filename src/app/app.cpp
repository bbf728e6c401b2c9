#include "app/app.h"

#include "app/aboutbox.h"
#include "app/module1.h"
#include "build_constants.h"
#include "fw/dialogs.h"
#include "fw/exceptions.h"
#include "fw/menu.h"
#include "update/self_test.h"

namespace app {

void App::Event_Open()
{
    Module1::R = std::make_unique<fw::Random>();
}

bool App::_CheckForUpdateCheckNow_Action()
{
    ::selfTest()->Show();
    return false;
}

bool App::_SoundOn_Action()
{
    Module1::SoundFlag = true;
    SoundOn()->setChecked(true);
    SoundOff()->setChecked(false);
    return false;
}

bool App::_SoundOff_Action()
{
    Module1::SoundFlag = false;
    SoundOff()->setChecked(true);
    SoundOn()->setChecked(false);
    return false;
}

bool App::_RomanNumberInfoShowWebSite_Action()
{
    fw::ShowURL(QStringLiteral("http://%1/via_romana/numbers.html").arg(QLatin1String(build::kRomanInfoHost)));
    return false;
}

bool App::_SoundAbout_Action()
{
    ::AboutBox()->Show();
    return false;
}

} // namespace app

app::App* App()
{
    fw::Application* a = fw::GetAppObject();
    if (!a)
        throw fw::NilObjectException("no application object");
    auto* app = dynamic_cast<app::App*>(a);
    if (!app)
        throw fw::IllegalCastException("the application object is not an App");
    return app;
}

namespace {
fw::MenuItem* soundItem(const char* name)
{
    fw::MenuBar* bar = App()->menuBar();
    if (!bar)
        throw fw::NilObjectException("the application has no menu bar");
    fw::MenuItem* item = bar->Lookup(QLatin1String(name));
    if (!item)
        throw fw::NilObjectException(std::string("no menu item named ") + name);
    return item;
}
} // namespace

fw::MenuItem* SoundOn() { return soundItem("SoundOn"); }
fw::MenuItem* SoundOff() { return soundItem("SoundOff"); }
