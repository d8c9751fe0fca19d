// What frmAbout does, whatever toolkit draws it: its load step at every
// showing, and its two buttons. A front end draws AboutLayout, implements
// AboutWindowHost and forwards each press of a control (Press).
#pragma once

#include "controlrow.h"
#include "sysinfo.h"

#include <string>
#include <string_view>

namespace brinevar {

// What the window of frmAbout can do.
class AboutWindowHost {
public:
    virtual ~AboutWindowHost() = default;
    virtual void SetCaption(const std::string &text) = 0;
    // Replaces the text of the label `label`.
    virtual void SetLabelText(std::string_view label, const std::string &text) = 0;
    // A modal message box: the text, one OK button, no icon, title "Brinevar".
    virtual void MsgBox(const std::string &text) = 0;
    // Unloads the box: the showing ends, the instance stays.
    virtual void Close() = 0;
};

class AboutWindow : public FormBehaviour {
public:
    AboutWindow(AboutWindowHost &host, SysInfoMachine machine);

    // Each time the box is shown: caption, title and version line.
    void Form_Load();

    // The handlers that the layout rows name.
    void cmdOK_Click();
    void cmdSysInfo_Click();

private:
    AboutWindowHost &host_;
    SysInfoMachine machine_;
};

} // namespace brinevar
