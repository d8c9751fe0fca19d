#include "dialogs.h"

#include "folderpicker.h"
#include "form.h"
#include "mainlayout.h"
#include "mainwindow.h"
#include "programfolder.h"
#include "updatesfolder.h"
#include "version.h"
#include "widetext.h"

namespace brinevar::win {

void MsgBox(HWND owner, std::string_view text)
{
    MessageBoxW(owner, Utf8ToWide(text).c_str(), Utf8ToWide(ProgramTitle()).c_str(), MB_OK);
}

INT_PTR RunDialog(HWND owner, DLGPROC procedure, LPARAM parameter)
{
    // An empty template: the dialog procedure makes and places every control.
    struct alignas(4) Template {
        DLGTEMPLATE dialog;
        WORD menu, windowClass, title;
    } blank{};
    blank.dialog.style = WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN | DS_MODALFRAME;
    return DialogBoxIndirectParamW(GetModuleHandleW(nullptr), &blank.dialog, owner, procedure,
                                   parameter);
}

void PlaceDialog(HWND dialog, int width, int height, int left, int top)
{
    const int dpi = DpiOf(dialog);
    const auto style = DWORD(GetWindowLongPtrW(dialog, GWL_STYLE));
    const auto exStyle = DWORD(GetWindowLongPtrW(dialog, GWL_EXSTYLE));
    RECT frame{0, 0, width, height};
    AdjustFrameForDpi(frame, style, exStyle, dpi);
    MONITORINFO monitor{sizeof monitor, {}, {}, 0};
    HWND owner = GetWindow(dialog, GW_OWNER);
    GetMonitorInfoW(MonitorFromWindow(owner ? owner : dialog, MONITOR_DEFAULTTOPRIMARY), &monitor);
    const RECT &work = monitor.rcWork;
    const int frameWidth = frame.right - frame.left, frameHeight = frame.bottom - frame.top;
    FramePosition place{left + frame.left, top + frame.top};
    if (left < 0)
        place =
            FramePlacement(frameWidth, frameHeight,
                           {work.left, work.top, work.right - work.left, work.bottom - work.top});
    SetWindowPos(dialog, nullptr, place.left, place.top, frameWidth, frameHeight,
                 SWP_NOZORDER | SWP_NOACTIVATE);
}

namespace {

struct Prompt {
    std::wstring prompt, title, answer;
    const wchar_t *face;
    HFONT font = nullptr;
};

constexpr int kAnswerId = 100, kBrowseId = 101;

// Sizes in pixels at 96 DPI.
constexpr int kMargin = 10, kButtonW = 75, kButtonH = 23, kFieldH = 21, kPromptH = 30;

std::wstring AnswerOf(HWND dialog)
{
    HWND answer = GetDlgItem(dialog, kAnswerId);
    std::wstring text(std::size_t(GetWindowTextLengthW(answer)) + 1, L'\0');
    text.resize(std::size_t(GetWindowTextW(answer, text.data(), int(text.size()))));
    return text;
}

// The picked folder replaces the answer; Cancel in the picker leaves it.
void Browse(HWND dialog)
{
    const std::string typed = WideToUtf8(AnswerOf(dialog));
    std::optional<std::filesystem::path> picked;
    if (const Result shown =
            PickFolder(dialog, PathFromUtf8(UpdatesFolderOnThisSystem(typed)), picked);
        !shown)
        MsgBox(dialog, shown.message());
    else if (picked)
        SetDlgItemTextW(dialog, kAnswerId, Utf8ToWide(FolderAsAnswer(*picked)).c_str());
}

INT_PTR CALLBACK PromptProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam)
{
    auto *prompt = reinterpret_cast<Prompt *>(GetWindowLongPtrW(dialog, DWLP_USER));
    switch (message) {
    case WM_INITDIALOG: {
        prompt = reinterpret_cast<Prompt *>(lParam);
        SetWindowLongPtrW(dialog, DWLP_USER, lParam);
        SetWindowTextW(dialog, prompt->title.c_str());
        const int dpi = DpiOf(dialog);
        auto px = [dpi](int pixels) { return MulDiv(pixels, dpi, 96); };
        prompt->font = CreateFormFont(dpi, false, prompt->face);
        // Wide enough to show a whole folder path, which is what it asks for.
        HDC dc = GetDC(dialog);
        const HGDIOBJ old = SelectObject(dc, prompt->font);
        SIZE text{};
        const std::wstring sample = prompt->answer + Utf8ToWide(kPromptRoom);
        GetTextExtentPoint32W(dc, sample.c_str(), int(sample.size()), &text);
        SelectObject(dc, old);
        ReleaseDC(dialog, dc);
        MONITORINFO monitor{sizeof monitor, {}, {}, 0};
        GetMonitorInfoW(MonitorFromWindow(dialog, MONITOR_DEFAULTTOPRIMARY), &monitor);
        const int width = PromptWidth(int(text.cx) + 2 * px(kMargin), px(360),
                                      monitor.rcWork.right - monitor.rcWork.left);
        const int height = px(kPromptH + kFieldH + kButtonH + 4 * kMargin);

        const auto instance = GetModuleHandleW(nullptr);
        auto add = [&](const wchar_t *kind, const wchar_t *text, DWORD style, DWORD exStyle, int id,
                       int x, int y, int w, int h) {
            HWND control =
                CreateWindowExW(exStyle, kind, text, WS_CHILD | WS_VISIBLE | style, x, y, w, h,
                                dialog, reinterpret_cast<HMENU>(INT_PTR(id)), instance, nullptr);
            SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(prompt->font), FALSE);
            return control;
        };
        const int inner = width - 2 * px(kMargin);
        add(L"STATIC", prompt->prompt.c_str(), SS_LEFT | SS_NOPREFIX, 0, -1, px(kMargin),
            px(kMargin), inner, px(kPromptH));
        HWND answer =
            add(L"EDIT", prompt->answer.c_str(), WS_TABSTOP | ES_AUTOHSCROLL, WS_EX_CLIENTEDGE,
                kAnswerId, px(kMargin), px(kPromptH + 2 * kMargin), inner, px(kFieldH));
        const int buttonsTop = px(kPromptH + kFieldH + 3 * kMargin);
        // At the row's start, apart from OK and Cancel, which close the box.
        add(L"BUTTON", Utf8ToWide(kFolderPromptBrowse).c_str(), WS_TABSTOP | BS_PUSHBUTTON, 0,
            kBrowseId, px(kMargin), buttonsTop, px(kButtonW), px(kButtonH));
        add(L"BUTTON", L"OK", WS_TABSTOP | BS_DEFPUSHBUTTON, 0, IDOK,
            width - 2 * px(kButtonW + kMargin), buttonsTop, px(kButtonW), px(kButtonH));
        add(L"BUTTON", L"Cancel", WS_TABSTOP | BS_PUSHBUTTON, 0, IDCANCEL,
            width - px(kButtonW + kMargin), buttonsTop, px(kButtonW), px(kButtonH));
        PlaceDialog(dialog, width, height);
        // A path has no length limit of its own, as the fields have none.
        SendMessageW(answer, EM_SETLIMITTEXT, 0, 0);
        SetFocus(answer);
        SendMessageW(answer, EM_SETSEL, 0, -1);
        return FALSE; // the focus is set
    }
    case WM_COMMAND:
        if (LOWORD(wParam) == IDOK) {
            prompt->answer = AnswerOf(dialog);
            EndDialog(dialog, IDOK);
            return TRUE;
        }
        if (LOWORD(wParam) == kBrowseId) {
            Browse(dialog);
            return TRUE;
        }
        if (LOWORD(wParam) == IDCANCEL) {
            EndDialog(dialog, IDCANCEL);
            return TRUE;
        }
        return FALSE;
    case WM_DESTROY:
        if (prompt && prompt->font)
            DeleteObject(prompt->font);
        return FALSE;
    default:
        return FALSE;
    }
}

} // namespace

std::string InputBox(HWND owner, std::string_view prompt, std::string_view title,
                     std::string_view defaultAnswer, const wchar_t *face)
{
    Prompt box{Utf8ToWide(prompt), Utf8ToWide(title), Utf8ToWide(defaultAnswer), face};
    if (RunDialog(owner, PromptProc, reinterpret_cast<LPARAM>(&box)) != IDOK)
        return {};
    return WideToUtf8(box.answer);
}

} // namespace brinevar::win
