// The about box, frmAbout: the program's title and version, and the button
// that starts the system information tool.
#pragma once

#include "form.h"

#include <windows.h>

class frmAbout {
public:
    // Shows the box modally over `owner`; returns when it is closed. Each
    // showing loads the box afresh.
    void Show(HWND owner);

private:
    static INT_PTR CALLBACK DialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
    void Form_Load(HWND dialog);
    void Paint(HWND dialog);
    bool Command(HWND dialog, int id);
    void cmdSysInfo_Click(HWND dialog);

    brinevar::win::Form form_;
};
