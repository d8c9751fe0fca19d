// The window's DPI and the frame around a client area at that DPI. Windows 10
// (version 1607) and later answer per window, so a window moved to another
// monitor is drawn at that monitor's DPI; earlier versions lack those calls,
// and there the system DPI serves. The calls are looked up when first needed,
// so that the program still starts on Windows 7.
#pragma once

#include <windows.h>

namespace brinevar::win {

// The per-window calls the program uses, where the system has them.
struct DpiCalls {
    UINT(WINAPI *dpiForWindow)(HWND) = nullptr;
    BOOL(WINAPI *adjustWindowRectExForDpi)(RECT *, DWORD, BOOL, DWORD, UINT) = nullptr;
};

// This system's calls; null where it lacks them.
const DpiCalls &SystemDpiCalls();

// The system DPI: the primary monitor's when the user logged on, and where a
// new window is first drawn.
int SystemDpi();

// The window's DPI: its own where the system tells, else the system DPI.
int DpiOf(HWND window, const DpiCalls &calls = SystemDpiCalls());

// Grows `client` to the window frame of `style` and `exStyle` at `dpi`. Where
// the system cannot size a frame for another DPI, its metrics are those of
// the system DPI, which is then also every window's DPI.
void AdjustFrameForDpi(RECT &client, DWORD style, DWORD exStyle, int dpi,
                       const DpiCalls &calls = SystemDpiCalls());

} // namespace brinevar::win
