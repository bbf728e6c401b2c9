#include "update/update_window.h"

#include "app/app.h"
#include "build_constants.h"
#include "fw/build_constant.h"
#include "fw/dialogs.h"
#include "fw/dispatch.h"
#include "fw/http_parse.h"
#include "fw/text.h"
#include "update/self_test.h"
#include "update/tags.h"
#include "update/update_file.h"
#include "update/version_compare.h"

namespace update {

QString updateWindow::updateAddress()
{
    return fw::buildConstant(QStringLiteral("kUpdateUrl"), QString::fromUtf8(build::kUpdateUrl));
}

QString updateWindow::makerSiteAddress()
{
    const QString url = updateAddress();
    const int schemeEnd = fw::InStr(url, QStringLiteral("://"));
    const QString scheme = schemeEnd > 0 ? fw::Mid(url, 1, schemeEnd - 1) : QStringLiteral("http");
    return scheme + QStringLiteral("://") + fw::http::splitUrl(url).hostHeader;
}

void updateWindow::Layout()
{
    applyProperties({.Title = QStringLiteral("Update"),
                     .Width = 300,
                     .Height = 120,
                     .Frame = 1,
                     .CloseButton = true,
                     .MinimizeButton = true,
                     .MaximizeButton = false,
                     .Resizeable = false,
                     .Visible = true});
}

void updateWindow::CreateControls()
{
    _CreateControls0();
}

void updateWindow::_CreateControls0()
{
    addLabel(QStringLiteral("StaticText1"), 0,
             {.Left = 20, .Top = 19, .Width = 266, .Height = 20, .Text = QStringLiteral("Checking for updates..."),
              .Bold = false, .TextAlign = 0, .TabIndex = 0});
    addProgressBar(QStringLiteral("ProgressBar1"), {.Left = 20, .Top = 46, .Width = 260, .Height = 12, .Value = 0,
                                                    .Maximum = 100});
    auto* socket = new fw::HTTPSocket;
    addObject(QStringLiteral("hp"), socket);
    connect(socket, &fw::HTTPSocket::PageReceived, this,
            [this](const QString& url, int status, const fw::InternetHeaders& headers, const QByteArray& content) {
                const QString text = QString::fromUtf8(content);
                fw::dispatch([&] { hp_PageReceived(url, status, headers, text); });
            });
    connect(socket, &fw::HTTPSocket::Error, this, [this](int code) { fw::dispatch([&] { hp_Error(code); }); });
    addPushButton(QStringLiteral("PushButton1"), 0,
                  {.Left = 208, .Top = 80, .Width = 72, .Height = 20, .Caption = QStringLiteral("Cancel"),
                   .Bold = false, .Default = true, .Cancel = true, .TabIndex = 3},
                  [this] { PushButton1_Action(); });
}

void updateWindow::Event_Open()
{
    ProgressBar1()->setMaximum(0);
    hp()->Get(updateAddress());
    // Only the version window that is open: making one just to close it would flash.
    if (selfTest* version = fw::openWindow<selfTest>())
        version->Close();
}

void updateWindow::PushButton1_Action()
{
    Close();
}

void updateWindow::hp_Error(int code)
{
    fw::Beep();
    fw::MsgBox(QStringLiteral("There was a communication error ") + QStringLiteral("with the website. Please try ")
               + QStringLiteral("again later. (Code: ") + fw::Str(code) + QStringLiteral(")"));
    Close();
}

QString updateWindow::startTag(const QString& tag) const
{
    return update::startTag(tag);
}

QString updateWindow::endTag(const QString& tag) const
{
    return update::endTag(tag);
}

QString updateWindow::returnValue(const QString& text, const QString& tag) const
{
    return update::returnValue(text, tag);
}

void updateWindow::hp_PageReceived(const QString&, int status, const fw::InternetHeaders&, const QString& content)
{
    if (content.isEmpty()) {
        Close();
        return;
    }
    // An error page or a guest network's login page would otherwise offer an
    // upgrade to a version with no number: the check failed, and says so the
    // way a failed connection does.
    if (!isUpdateFile(content)) {
        hp_Error(notAnUpdateFileCode(status));
        return;
    }
    const QString newVersion = returnValue(content, QStringLiteral("CurrentVersion"));
    const QString descriptionText = returnValue(content, QStringLiteral("Description"));
    const bool isFree = isFreeUpgrade(returnValue(content, QStringLiteral("Free")));
    ProgressBar1()->setVisible(false);
    app::App* a = ::App();
    if (versionsAgree(newVersion, a->MajorVersion(), a->MinorVersion(), a->BugVersion())) {
        StaticText1()->setText(QStringLiteral("This version is current."));
        StaticText1()->Refresh(true);
        if (!automaticCheck)
            fw::MsgBox(QStringLiteral("You are using the current version. No update is available."));
        Close();
        return;
    }
    // The update file names no download address: the maker's site is where
    // the download is, so the action button never opens an empty address.
    askUpgrade(newVersion, descriptionText, makerSiteAddress(), isFree);
}

void updateWindow::askUpgrade(const QString& newVersion, const QString& descriptionText, const QString& downloadURL,
                              bool isFree)
{
    fw::MessageDialog d;
    d.Title = QStringLiteral("New version available!");
    d.Message = QStringLiteral("Version ") + cutForDisplay(newVersion) + QStringLiteral(" is now available. ");
    d.Message += QStringLiteral("(You are using version ") + ::App()->ShortVersion() + QStringLiteral(".) ");
    if (isFree)
        d.Message += QStringLiteral("This is a free upgrade. ") + QStringLiteral("Would you like to automatically download ")
                     + QStringLiteral("this update (using your web browser)?");
    else
        d.Message += QStringLiteral("This is a paid upgrade. ") + QStringLiteral("Would you like to automatically download ")
                     + QStringLiteral("the trial version (using your web browser)?");
    d.Explanation = cutForDisplay(descriptionText);
    d.CancelButton.Visible = true;
    d.AlternateActionButton.Caption = QStringLiteral("Go to Website");
    d.AlternateActionButton.Visible = true;
    d.Icon = 3;

    fw::MessageDialogButton* b = d.ShowModal();
    if (b == &d.CancelButton) {
        Close();
    } else if (b == &d.ActionButton) {
        fw::ShowURL(downloadURL);
        Close();
    } else if (b == &d.AlternateActionButton) {
        fw::ShowURL(makerSiteAddress());
    }
}

} // namespace update

update::updateWindow* updateWindow()
{
    return fw::implicitWindow<update::updateWindow>();
}
