// The main window of the Windows program, frmMain: draws the shared layout
// with Win32 controls and forwards presses and the focus leaving a field to
// the toolkit-free MainWindow.
#pragma once

#include "accessibility.h"
#include "focusgate.h"
#include "form.h"
#include "frmabout.h"
#include "mainwindow.h"
#include "windowaccessible.h"

#include <windows.h>

#include <array>
#include <memory>
#include <optional>
#include <string>

class frmMain final : public brinevar::MainWindowHost {
public:
    frmMain(HINSTANCE instance, const brinevar::MainServices &services,
            brinevar::SysInfoMachine machine);
    frmMain(const frmMain &) = delete;
    frmMain &operator=(const frmMain &) = delete;

    // Loads the window (the Updates folder, then tanks.ini), shows it and runs
    // its messages until it is gone; returns the program's exit code.
    int Run(int show);

    // What the window does for MainWindow.
    std::string FieldText(std::size_t setting) const override;
    void SetFieldText(std::size_t setting, const std::string &text) override;
    void MsgBox(const std::string &text) override;
    bool AskSaveAsAdministrator(const std::string &text) override;
    std::string InputBox(std::string_view prompt, std::string_view title,
                         const std::string &defaultAnswer) override;
    std::unique_ptr<brinevar::ModalBox> CreateAbout() override;
    void Close() override;

private:
    static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT Handle(UINT message, WPARAM wParam, LPARAM lParam);
    // Creates the controls, at `dpi`.
    void BuildLayout(int dpi);
    // The frame, at the window's DPI, around the layout's client area.
    SIZE FrameSize() const;
    // The frame at `dpi` where the shared rule puts it on the work area of
    // `monitor`, around the layout drawn at `layoutDpi`: `dpi`, or smaller
    // where the frame would not fit.
    static RECT PlannedFrame(HMONITOR monitor, int dpi, int &layoutDpi);
    // Lays the form out for `dpi` on `monitor`; returns the frame.
    RECT FitMonitor(HMONITOR monitor, int dpi);
    void Command(int id, int code, HWND control);
    // Whether `message` would edit a field that holds a value too long to
    // edit (see SetFieldText); if so, it says why instead.
    bool RefuseEdit(const MSG &message);
    // Puts the texts kept for the fields into them, as the window is first
    // shown.
    void ShowFieldTexts();

    HWND window_ = nullptr;
    brinevar::SysInfoMachine machine_;
    brinevar::MainWindow behaviour_;
    brinevar::win::Form form_;
    brinevar::win::AccessibleTexts accessible_;
    brinevar::win::WindowAccessible captions_;
    std::unique_ptr<brinevar::win::FocusGate> gate_;
    std::array<HWND, brinevar::kSettingCount> fields_{};
    // The longest value a field edits, and how much of a longer one it shows,
    // in UTF-16 units.
    static constexpr std::size_t kLongestEdited = 1 << 15, kLongestShown = 1000;
    // The whole of each value too long for its field to edit (see
    // SetFieldText); empty for the others. Until the window is first shown,
    // every field's text: under Wine each text put into an edit control costs
    // a round of messages and server calls, and loading replaces the initial
    // texts at once, so each field is given its text once, as it appears.
    std::array<std::optional<std::string>, brinevar::kSettingCount> wholeValues_;
    bool textsShown_ = false;  // the fields hold their texts
    bool settingText_ = false; // the program, not the user, changes a field
};
