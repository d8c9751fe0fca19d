// The about box, frmAbout: the program's title and version, and the button
// that starts the system information tool. Draws the shared layout with
// Win32 controls and forwards the presses to the toolkit-free AboutWindow.
#pragma once

#include "aboutwindow.h"
#include "form.h"
#include "mainwindow.h"
#include "windowaccessible.h"

#include <windows.h>

class frmAbout final : public brinevar::ModalBox, private brinevar::AboutWindowHost {
public:
    // The box over `owner`, finding and starting the tool on `machine`.
    frmAbout(HWND owner, brinevar::SysInfoMachine machine);

    // Shows the box modally over its owner; returns when it is closed. Each
    // showing loads the box afresh.
    void ShowModal() override;

private:
    static INT_PTR CALLBACK DialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
    void Load(HWND dialog);
    void Paint();
    bool Command(int id);

    // What the box does for AboutWindow.
    void SetCaption(const std::string &text) override;
    void SetLabelText(std::string_view label, const std::string &text) override;
    void MsgBox(const std::string &text) override;
    void Close() override;

    HWND owner_;
    HWND dialog_ = nullptr;
    brinevar::AboutWindow behaviour_;
    brinevar::win::Form form_;
    brinevar::win::WindowAccessible captions_;
};
