// The Windows program's entry.
#include <windows.h>

static LRESULT CALLBACK Proc(HWND w, UINT m, WPARAM a, LPARAM b)
{
    if (m == WM_DESTROY)
        PostQuitMessage(0);
    return DefWindowProcW(w, m, a, b);
}

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int show)
{
    WNDCLASSW windowClass{};
    windowClass.lpfnWndProc = Proc;
    windowClass.hInstance = instance;
    windowClass.hCursor = LoadCursorW(nullptr, MAKEINTRESOURCEW(32512));
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    windowClass.lpszClassName = L"frmMain";
    RegisterClassW(&windowClass);
    HWND window = CreateWindowExW(0, L"frmMain", L"Brinevar", WS_OVERLAPPEDWINDOW, CW_USEDEFAULT,
                                  CW_USEDEFAULT, 792, 544, nullptr, nullptr, instance, nullptr);
    ShowWindow(window, show);
    MSG message;
    while (GetMessageW(&message, nullptr, 0, 0) > 0) {
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
    return 0;
}
