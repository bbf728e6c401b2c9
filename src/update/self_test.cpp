#include "update/self_test.h"

#include "app/app.h"
#include "update/update_window.h"

namespace update {

void selfTest::Layout()
{
    applyProperties({.Title = QStringLiteral("Self Test"),
                     .Width = 213,
                     .Height = 102,
                     .Frame = 0,
                     .CloseButton = true,
                     .MinimizeButton = false,
                     .MaximizeButton = false,
                     .Resizeable = false,
                     .Visible = true});
}

void selfTest::CreateControls()
{
    _CreateControls0();
}

void selfTest::_CreateControls0()
{
    addLabel(QStringLiteral("StaticText1"), 0,
             {.Left = 41, .Top = 19, .Width = 67, .Height = 20, .Text = QStringLiteral("Version:"), .Bold = true,
              .TextAlign = 0, .TabIndex = 0});
    addLabel(QStringLiteral("StaticText2"), 0,
             {.Left = 101, .Top = 19, .Width = 71, .Height = 20, .Text = QStringLiteral("3.3.0 Intel"),
              .Bold = false, .TextAlign = 2, .TabIndex = 1},
             [this] { StaticText2_Open(); });
    addPushButton(QStringLiteral("PushButton1"), 0,
                  {.Left = 28, .Top = 61, .Width = 157, .Height = 21, .Caption = QStringLiteral("Check for Updates"),
                   .Bold = true, .Default = true, .Cancel = false, .TabIndex = 2},
                  [this] { PushButton1_Action(); });
}

void selfTest::StaticText2_Open()
{
    StaticText2()->setText(::App()->LongVersion());
}

void selfTest::PushButton1_Action()
{
    ::updateWindow()->ShowModal();
    // Ask the registry, not the accessor, which would make a new window.
    if (selfTest* open = fw::openWindow<selfTest>())
        open->Close();
}

} // namespace update

update::selfTest* selfTest()
{
    return fw::implicitWindow<update::selfTest>();
}
