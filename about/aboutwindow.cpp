#include "aboutwindow.h"

#include "aboutlayout.h"
#include "version.h"

namespace brinevar {

AboutWindow::AboutWindow(AboutWindowHost &host, SysInfoMachine machine)
    : host_(host), machine_(std::move(machine))
{
}

void AboutWindow::Form_Load()
{
    host_.SetCaption(AboutCaption());
    host_.SetLabelText("lblVersion", VersionText());
    host_.SetLabelText("lblTitle", ProgramTitle());
}

void AboutWindow::cmdOK_Click()
{
    host_.Close();
}

void AboutWindow::cmdSysInfo_Click()
{
    StartSysInfo({machine_, [this](const std::string &text) { host_.MsgBox(text); }});
}

} // namespace brinevar
