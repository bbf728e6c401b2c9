#pragma once

#include "fw/window.h"

namespace app {

// "About...": the product's name, the running version, the credits and three
// buttons to the developer's mail, the maker's site and the order page.
class AboutBox : public fw::Window {
    Q_OBJECT
public:
    void Layout() override;
    void CreateControls() override;

    fw::PushButton* PushButton1() const { return control<fw::PushButton>(QStringLiteral("PushButton1")); }
    fw::PushButton* PushButton2() const { return control<fw::PushButton>(QStringLiteral("PushButton2")); }
    fw::Label* StaticText2() const { return control<fw::Label>(QStringLiteral("StaticText2")); }
    fw::Label* StaticText1() const { return control<fw::Label>(QStringLiteral("StaticText1")); }
    fw::Label* StaticText3() const { return control<fw::Label>(QStringLiteral("StaticText3")); }
    fw::Label* StaticText4() const { return control<fw::Label>(QStringLiteral("StaticText4")); }
    fw::PushButton* SupportButton() const { return control<fw::PushButton>(QStringLiteral("SupportButton")); }
    fw::Label* StaticText5() const { return control<fw::Label>(QStringLiteral("StaticText5")); }

    void PushButton1_Action();
    void PushButton2_Action();
    void StaticText4_Open();
    void SupportButton_Action();

    // The addresses the three buttons open.
    static QString mailAddress();
    static QString webSiteAddress();
    static QString orderPageAddress();

private:
    void _CreateControls0();
};

} // namespace app

app::AboutBox* AboutBox();
