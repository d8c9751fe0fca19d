// The floor of the Windows start-up benchmark: the least a Win32 program does
// to show the editor's window with the same 32 standard controls (20 edits,
// 11 buttons, the list with its 18 items) where the layout table puts them,
// in the system's GUI font. No labels, no font fit, no settings, no files.
// Built and linked like brinevar.exe, with the same resources and manifest.
#include "mainlayout.h"

#include <windows.h>

#include <string>
#include <string_view>

using namespace brinevar;

namespace {

LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_DESTROY) {
        PostQuitMessage(0);
        return 0;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

std::wstring Wide(std::string_view text)
{
    return {text.begin(), text.end()}; // the layout's control texts are ASCII
}

} // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int show)
{
    WNDCLASSW windowClass{};
    windowClass.lpfnWndProc = WindowProc;
    windowClass.hInstance = instance;
    windowClass.hCursor = LoadCursorW(nullptr, MAKEINTRESOURCEW(32512));
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    windowClass.lpszClassName = L"BareWindow";
    RegisterClassW(&windowClass);

    const HDC screen = GetDC(nullptr);
    const int dpi = GetDeviceCaps(screen, LOGPIXELSY);
    ReleaseDC(nullptr, screen);
    RECT frame{0, 0, TwipsToPixels(kMainWidth, dpi), TwipsToPixels(kMainHeight, dpi)};
    const DWORD style = WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN;
    AdjustWindowRectEx(&frame, style, FALSE, 0);
    HWND window = CreateWindowExW(0, L"BareWindow", L"Bare Window", style, CW_USEDEFAULT,
                                  CW_USEDEFAULT, frame.right - frame.left, frame.bottom - frame.top,
                                  nullptr, nullptr, instance, nullptr);
    const auto font = reinterpret_cast<WPARAM>(GetStockObject(DEFAULT_GUI_FONT));
    for (const ControlRow &row : MainLayout()) {
        const wchar_t *kind = row.kind == ControlKind::TextField       ? L"EDIT"
                              : row.kind == ControlKind::CommandButton ? L"BUTTON"
                              : row.kind == ControlKind::ListBox       ? L"LISTBOX"
                                                                       : nullptr;
        if (!kind)
            continue;
        const bool list = row.kind == ControlKind::ListBox;
        HWND control =
            CreateWindowExW(row.kind == ControlKind::CommandButton ? 0 : WS_EX_CLIENTEDGE, kind,
                            list ? L"" : Wide(row.text).c_str(),
                            WS_CHILD | WS_VISIBLE | WS_TABSTOP |
                                (list ? LBS_MULTICOLUMN | LBS_NOINTEGRALHEIGHT : 0),
                            TwipsToPixels(row.left, dpi), TwipsToPixels(row.top, dpi),
                            TwipsToPixels(row.width, dpi), TwipsToPixels(row.height, dpi), window,
                            nullptr, instance, nullptr);
        SendMessageW(control, WM_SETFONT, font, FALSE);
        for (std::string_view items = list ? row.text : ""; !items.empty();) {
            const auto end = items.find('\n');
            SendMessageW(control, LB_ADDSTRING, 0,
                         reinterpret_cast<LPARAM>(Wide(items.substr(0, end)).c_str()));
            items = end == std::string_view::npos ? std::string_view() : items.substr(end + 1);
        }
    }
    ShowWindow(window, show);
    MSG message;
    while (GetMessageW(&message, nullptr, 0, 0) > 0) {
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
    return 0;
}
