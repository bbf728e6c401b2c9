#pragma once

#include "fw/http_socket.h"
#include "fw/window.h"

namespace update {

// "Update": fetches the update file as it opens, then says the version is
// current, offers the upgrade, or reports that no connection could be made.
class updateWindow : public fw::Window {
    Q_OBJECT
public:
    void Layout() override;
    void CreateControls() override;

    fw::Label* StaticText1() const { return control<fw::Label>(QStringLiteral("StaticText1")); }
    fw::ProgressBar* ProgressBar1() const { return control<fw::ProgressBar>(QStringLiteral("ProgressBar1")); }
    fw::HTTPSocket* hp() const { return control<fw::HTTPSocket>(QStringLiteral("hp")); }
    fw::PushButton* PushButton1() const { return control<fw::PushButton>(QStringLiteral("PushButton1")); }

    void hp_PageReceived(const QString& url, int status, const fw::InternetHeaders& headers, const QString& content);
    void hp_Error(int code);
    void PushButton1_Action();
    void Event_Open() override;

    QString startTag(const QString& tag) const;
    QString endTag(const QString& tag) const;
    void askUpgrade(const QString& newVersion, const QString& descriptionText, const QString& downloadURL,
                    bool isFree);
    QString returnValue(const QString& text, const QString& tag) const;

    // While False the "current version" message box is shown; nothing sets it.
    bool automaticCheck = false;

    // Where the update file is fetched from, and the maker's site: the scheme
    // and server of that address, with no path.
    static QString updateAddress();
    static QString makerSiteAddress();

private:
    void _CreateControls0();
};

} // namespace update

update::updateWindow* updateWindow();
