// The Windows program's entry: creates frmMain, which loads itself and runs.
#include "dialogs.h"
#include "frmmain.h"

#include <exception>

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int show)
{
    // Anything not handled where it arose ends the program with a report that
    // names it, as the platform's own error report would.
    try {
        frmMain window(instance);
        return window.Run(show);
    } catch (const std::exception &error) {
        brinevar::win::MsgBox(nullptr, error.what());
        return 1;
    }
}
