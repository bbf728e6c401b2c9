#include "app/aboutbox.h"

#include "app/app.h"
#include "build_constants.h"
#include "fw/dialogs.h"

namespace app {

void AboutBox::Layout()
{
    applyProperties({.Title = QStringLiteral("About..."),
                     .Width = 289,
                     .Height = 322,
                     .Frame = 0,
                     .CloseButton = true,
                     .MinimizeButton = false,
                     .MaximizeButton = false,
                     .Resizeable = false,
                     .Visible = true});
}

void AboutBox::CreateControls()
{
    _CreateControls0();
}

void AboutBox::_CreateControls0()
{
    // The program was written and tested by its own team, which drew the icon too.
    const QString credits = QStringLiteral("Developed by\rSumwise team\r\rSr. Beta Tester\rSumwise team");
    addPushButton(QStringLiteral("PushButton1"), 0,
                  {.Left = 84, .Top = 183, .Width = 120, .Height = 21, .Caption = QStringLiteral("Email Author"),
                   .Bold = true, .TabIndex = 0},
                  [this] { PushButton1_Action(); });
    addPushButton(QStringLiteral("PushButton2"), 0,
                  {.Left = 84, .Top = 220, .Width = 120, .Height = 21, .Caption = QStringLiteral("Visit Web Site"),
                   .Bold = true, .TabIndex = 1},
                  [this] { PushButton2_Action(); });
    // The credits are kept with CR line breaks; a Qt label breaks at LF.
    addLabel(QStringLiteral("StaticText2"), 0,
             {.Left = 92, .Top = 89, .Width = 104, .Height = 87, .Text = QString(credits).replace(u'\r', u'\n'),
              .TextAlign = 1, .Multiline = true, .TabIndex = 2});
    addLabel(QStringLiteral("StaticText1"), 30,
             {.Left = 33, .Top = 20, .Width = 224, .Height = 45, .Text = QStringLiteral("Sumwise"),
              .TextFont = QStringLiteral("Arial"), .Bold = true, .TextAlign = 1, .TabIndex = 3});
    addLabel(QStringLiteral("StaticText3"), 12,
             {.Left = 89, .Top = 63, .Width = 56, .Height = 20, .Text = QStringLiteral("Version:"),
              .TextFont = QStringLiteral("Arial"), .Bold = true, .TextAlign = 0, .TabIndex = 4});
    addLabel(QStringLiteral("StaticText4"), 12,
             {.Left = 142, .Top = 63, .Width = 57, .Height = 20, .Text = QStringLiteral("3.3.0 Intel"),
              .TextFont = QStringLiteral("Arial"), .Bold = true, .TextAlign = 2, .TabIndex = 5},
             [this] { StaticText4_Open(); });
    addPushButton(QStringLiteral("SupportButton"), 0,
                  {.Left = 84, .Top = 257, .Width = 120, .Height = 21, .Caption = QStringLiteral("Support Halvex"),
                   .Bold = true, .Default = true, .TabIndex = 6},
                  [this] { SupportButton_Action(); });
    addLabel(QStringLiteral("StaticText5"), 0,
             {.Left = 15, .Top = 290, .Width = 260, .Height = 20,
              .Text = QStringLiteral("Icon drawn by the Sumwise team"), .TextAlign = 0,
              .TabIndex = 7});
}

QString AboutBox::mailAddress()
{
    return QStringLiteral("mailto:") + QLatin1String(build::kAuthorEmail);
}

QString AboutBox::webSiteAddress()
{
    return QStringLiteral("http://") + QLatin1String(build::kMakerHost);
}

QString AboutBox::orderPageAddress()
{
    return QStringLiteral("http://") + QLatin1String(build::kStoreHost) + QStringLiteral("/?")
           + QLatin1String(build::kStoreProduct) + QStringLiteral("&lang=en");
}

void AboutBox::PushButton1_Action()
{
    fw::ShowURL(mailAddress());
}

void AboutBox::PushButton2_Action()
{
    fw::ShowURL(webSiteAddress());
}

void AboutBox::StaticText4_Open()
{
    StaticText4()->setText(::App()->LongVersion());
}

void AboutBox::SupportButton_Action()
{
    fw::ShowURL(orderPageAddress());
}

} // namespace app

app::AboutBox* AboutBox()
{
    return fw::implicitWindow<app::AboutBox>();
}
