#pragma once

#include "fw/window.h"

namespace update {

// "Self Test": the running version and the button that starts the update check.
class selfTest : public fw::Window {
    Q_OBJECT
public:
    void Layout() override;
    void CreateControls() override;

    fw::Label* StaticText1() const { return control<fw::Label>(QStringLiteral("StaticText1")); }
    fw::Label* StaticText2() const { return control<fw::Label>(QStringLiteral("StaticText2")); }
    fw::PushButton* PushButton1() const { return control<fw::PushButton>(QStringLiteral("PushButton1")); }

    void StaticText2_Open();
    void PushButton1_Action();

private:
    void _CreateControls0();
};

} // namespace update

update::selfTest* selfTest();
