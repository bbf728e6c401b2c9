// The three settings kept between runs: read when the window opens, written
// when it closes.
#include "drill/window1.h"

#include "app/module1.h"
#include "drill/settings_file.h"
#include "drill/settings_format.h"
#include "fw/application.h"

namespace drill {

void Window1::Event_Open()
{
    getPlist();
    // Selecting a button by code runs no handler, and the generators need the
    // range a handler sets: present the restored selection as a click would.
    presentSelection();
}

void Window1::Event_Close()
{
    savePlist();
    fw::Application::Quit(0);
}

void Window1::getPlist()
{
    const SavedSettings saved = parseSettings(readSettingsFileCreatingDefaults());
    if (saved.soundOn) {
        Module1::SoundFlag = true;
        SoundOn()->setChecked(true);
        SoundOff()->setChecked(false);
    } else {
        Module1::SoundFlag = false;
        SoundOn()->setChecked(false);
        SoundOff()->setChecked(true);
    }
    // The stored values are the buttons' names; the operation comes first.
    if (!saved.operation.isEmpty())
        control<fw::RadioButton>(saved.operation)->setValue(true);
    if (!saved.level.isEmpty())
        control<fw::RadioButton>(saved.level)->setValue(true);
}

void Window1::savePlist()
{
    QString operation;
    for (fw::RadioButton* b : {Add(), Subtract(), Multiply(), Divide(), Algebra(), Roman()})
        if (b->Value()) {
            operation = b->objectName();
            break;
        }
    QString level;
    for (fw::RadioButton* b : {Easy(), Medium(), Hard()})
        if (b->Value()) {
            level = b->objectName();
            break;
        }
    writeSettingsFile(formatSettings(Module1::SoundFlag, operation, level));
}

} // namespace drill
