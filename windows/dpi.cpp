#include "dpi.h"

#include "lookup.h"

namespace brinevar::win {

int SystemDpi()
{
    HDC screen = GetDC(nullptr);
    const int dpi = screen ? GetDeviceCaps(screen, LOGPIXELSY) : 0;
    ReleaseDC(nullptr, screen);
    return dpi > 0 ? dpi : USER_DEFAULT_SCREEN_DPI;
}

const DpiCalls &SystemDpiCalls()
{
    static const DpiCalls calls = [] {
        DpiCalls found;
        const HMODULE user32 = GetModuleHandleW(L"user32.dll");
        LookUp(user32, "GetDpiForWindow", found.dpiForWindow);
        LookUp(user32, "AdjustWindowRectExForDpi", found.adjustWindowRectExForDpi);
        return found;
    }();
    return calls;
}

int DpiOf(HWND window, const DpiCalls &calls)
{
    const UINT dpi = calls.dpiForWindow ? calls.dpiForWindow(window) : 0;
    return dpi ? int(dpi) : SystemDpi();
}

void AdjustFrameForDpi(RECT &client, DWORD style, DWORD exStyle, int dpi, const DpiCalls &calls)
{
    if (!calls.adjustWindowRectExForDpi ||
        !calls.adjustWindowRectExForDpi(&client, style, FALSE, exStyle, UINT(dpi)))
        AdjustWindowRectEx(&client, style, FALSE, exStyle);
}

} // namespace brinevar::win
