// What another program's windows show, for the window tests under Wine, where
// X sees a window's client area but neither its controls nor their texts.
// For each shown top-level window titled TITLE, one line per shown control:
//
//   window<TAB>class<TAB>text<TAB>x<TAB>y
//
// window tells the top-level windows apart, the text is the control's own
// (asked of its program, so an edit gives what it holds now, with line breaks
// as blanks), and x, y is the middle of the control on the screen.
//
//   windowtexts TITLE
#include "widetext.h"

#define WIN32_LEAN_AND_MEAN
#include <windows.h>

#include <cstdio>
#include <string>

namespace {

struct Search {
    std::wstring title;
    HWND top = nullptr;
};

std::wstring TextOf(HWND window)
{
    // WM_GETTEXT, unlike GetWindowText, reaches the control's own text in
    // another process.
    DWORD_PTR length = 0;
    if (!SendMessageTimeoutW(window, WM_GETTEXTLENGTH, 0, 0, SMTO_ABORTIFHUNG, 2000, &length))
        return L"?";
    std::wstring text(length + 1, L'\0');
    DWORD_PTR copied = 0;
    SendMessageTimeoutW(window, WM_GETTEXT, text.size(), LPARAM(text.data()), SMTO_ABORTIFHUNG,
                        2000, &copied);
    text.resize(copied);
    for (wchar_t &letter : text)
        if (letter == L'\r' || letter == L'\n' || letter == L'\t')
            letter = L' ';
    return text;
}

BOOL CALLBACK PrintControl(HWND control, LPARAM data)
{
    if (!IsWindowVisible(control))
        return TRUE;
    const Search &search = *reinterpret_cast<const Search *>(data);
    wchar_t className[64] = L"";
    GetClassNameW(control, className, int(std::size(className)));
    RECT box{};
    GetWindowRect(control, &box);
    std::printf("%p\t%s\t%s\t%ld\t%ld\n", static_cast<void *>(search.top),
                brinevar::WideToUtf8(className).c_str(),
                brinevar::WideToUtf8(TextOf(control)).c_str(), (box.left + box.right) / 2,
                (box.top + box.bottom) / 2);
    return TRUE;
}

BOOL CALLBACK PrintWindow(HWND window, LPARAM data)
{
    Search &search = *reinterpret_cast<Search *>(data);
    if (IsWindowVisible(window) && TextOf(window) == search.title) {
        search.top = window;
        EnumChildWindows(window, PrintControl, data);
    }
    return TRUE;
}

} // namespace

int wmain(int argc, wchar_t *argv[])
{
    if (argc != 2) {
        std::fputs("usage: windowtexts TITLE\n", stderr);
        return 2;
    }
    Search search{argv[1]};
    EnumWindows(PrintWindow, LPARAM(&search));
    return 0;
}
