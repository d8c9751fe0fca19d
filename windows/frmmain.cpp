#include "frmmain.h"

#include "accessibletext.h"
#include "dialogs.h"
#include "elevation.h"
#include "mainlayout.h"
#include "version.h"
#include "widetext.h"

#include <windowsx.h>

using namespace brinevar;
using namespace brinevar::win;

namespace {
constexpr wchar_t kWindowClass[] = L"BrinevarMain";
// Sizable, but with no maximize box: the layout is fixed and would only gain
// empty space.
constexpr DWORD kStyle = (WS_OVERLAPPEDWINDOW & ~WS_MAXIMIZEBOX) | WS_CLIPCHILDREN;
} // namespace

frmMain::frmMain(HINSTANCE instance, const MainServices &services, SysInfoMachine machine)
    : machine_(std::move(machine)), behaviour_(*this, services)
{
    WNDCLASSEXW windowClass{};
    windowClass.cbSize = sizeof windowClass;
    windowClass.lpfnWndProc = WindowProc;
    windowClass.hInstance = instance;
    windowClass.hIcon = LoadIconW(instance, L"IDI_ICON1");
    windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    windowClass.lpszClassName = kWindowClass;
    RegisterClassExW(&windowClass);
    // A new window is drawn at the system DPI on the primary monitor, so it
    // is made there at its final size and place: moving it after would cost
    // a round of messages (and under Wine, of X requests) before it shows.
    const int dpi = SystemDpi();
    int layoutDpi = dpi;
    const RECT frame =
        PlannedFrame(MonitorFromPoint({0, 0}, MONITOR_DEFAULTTOPRIMARY), dpi, layoutDpi);
    CreateWindowExW(WS_EX_CONTROLPARENT, kWindowClass, Utf8ToWide(ProgramTitle()).c_str(), kStyle,
                    frame.left, frame.top, frame.right - frame.left, frame.bottom - frame.top,
                    nullptr, nullptr, instance, this);
    BuildLayout(layoutDpi);
    // Windows 10 and later give a window the DPI of its monitor, which is
    // not the system DPI once the user has changed the scale since logging on.
    if (const int own = DpiOf(window_); own != dpi) {
        const RECT fitted = FitMonitor(MonitorFromWindow(window_, MONITOR_DEFAULTTOPRIMARY), own);
        SetWindowPos(window_, nullptr, fitted.left, fitted.top, fitted.right - fitted.left,
                     fitted.bottom - fitted.top, SWP_NOZORDER | SWP_NOACTIVATE);
    }
}

LRESULT CALLBACK frmMain::WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_NCCREATE) {
        auto *self =
            static_cast<frmMain *>(reinterpret_cast<CREATESTRUCTW *>(lParam)->lpCreateParams);
        self->window_ = window;
        SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
    }
    auto *self = reinterpret_cast<frmMain *>(GetWindowLongPtrW(window, GWLP_USERDATA));
    return self ? self->Handle(message, wParam, lParam)
                : DefWindowProcW(window, message, wParam, lParam);
}

void frmMain::BuildLayout(int dpi)
{
    form_.Build(window_, MainLayout(), dpi, kTerrainListColumns);
    const auto &catalogue = Catalogue();
    for (std::size_t i = 0; i < catalogue.size(); ++i) {
        fields_[i] = form_.Find(catalogue[i].field);
        wholeValues_[i] = std::string(catalogue[i].initialText);
    }
    for (const AccessibleText &text : MainAccessibleTexts())
        accessible_.Attach(form_.Find(text.control, text.index), text.name, text.description,
                           text.toolTip);
    captions_.Attach(window_, form_);
    std::vector<HWND> focusOrder;
    for (const ControlRow *row : MainFocusOrder())
        focusOrder.push_back(form_.Find(row->name, row->index));
    gate_ = std::make_unique<FocusGate>(window_, std::move(focusOrder), [this](HWND field) {
        const ControlRow *row = form_.RowOf(field);
        return row && behaviour_.LeaveField(*row);
    });
}

SIZE frmMain::FrameSize() const
{
    const int dpi = form_.Dpi();
    RECT frame{0, 0, TwipsToPixels(kMainWidth, dpi), TwipsToPixels(kMainHeight, dpi)};
    AdjustFrameForDpi(frame, kStyle, WS_EX_CONTROLPARENT, DpiOf(window_));
    return {frame.right - frame.left, frame.bottom - frame.top};
}

RECT frmMain::PlannedFrame(HMONITOR monitor, int dpi, int &layoutDpi)
{
    MONITORINFO info{sizeof info, {}, {}, 0};
    GetMonitorInfoW(monitor, &info);
    const RECT &work = info.rcWork;
    const ScreenArea area{work.left, work.top, work.right - work.left, work.bottom - work.top};
    RECT border{};
    AdjustFrameForDpi(border, kStyle, WS_EX_CONTROLPARENT, dpi);
    // A layout too big for the screen is drawn smaller, so that every
    // control can be reached.
    layoutDpi = FittingDpi(dpi, border.right - border.left, border.bottom - border.top, area);
    RECT frame{0, 0, TwipsToPixels(kMainWidth, layoutDpi), TwipsToPixels(kMainHeight, layoutDpi)};
    AdjustFrameForDpi(frame, kStyle, WS_EX_CONTROLPARENT, dpi);
    const int width = frame.right - frame.left, height = frame.bottom - frame.top;
    const auto [left, top] = FramePlacement(width, height, area);
    return {left, top, left + width, top + height};
}

RECT frmMain::FitMonitor(HMONITOR monitor, int dpi)
{
    int layoutDpi = dpi;
    const RECT frame = PlannedFrame(monitor, dpi, layoutDpi);
    if (layoutDpi != form_.Dpi())
        form_.Scale(layoutDpi);
    return frame;
}

int frmMain::Run(int show)
{
    behaviour_.Form_Load();
    ShowWindow(window_, show);
    const ControlRow *first = MainFocusOrder().front();
    HWND focus = form_.Find(first->name, first->index);
    gate_->Remember(focus);
    SetFocus(focus);
    MSG message;
    while (GetMessageW(&message, nullptr, 0, 0) > 0) {
        if (gate_->PreTranslate(message) || RefuseEdit(message))
            continue;
        // A caption's access key presses it wherever the focus is in the
        // window, and leaves the focus there. It is the letter's key, whatever
        // the keyboard layout puts on it (on a Cyrillic layout, Alt+V is the
        // key that types V on an English one); once, not again while held.
        if (message.message == WM_SYSKEYDOWN && !(message.lParam & (1 << 30)) &&
            (message.hwnd == window_ || IsChild(window_, message.hwnd)))
            if (const ControlRow *caption = form_.CaptionWithAccessKey(UINT(message.wParam))) {
                behaviour_.Press(*caption);
                continue; // nor is it translated into a character that beeps
            }
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
    return int(message.wParam);
}

LRESULT frmMain::Handle(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_COMMAND:
        if (lParam)
            Command(LOWORD(wParam), HIWORD(wParam), reinterpret_cast<HWND>(lParam));
        return 0;
    case WM_PAINT: {
        PAINTSTRUCT paint;
        form_.PaintLabels(BeginPaint(window_, &paint));
        EndPaint(window_, &paint);
        return 0;
    }
    case WM_LBUTTONUP:
        // Captions take no focus, so they run no check.
        if (const ControlRow *row = form_.LabelAt({GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)}))
            behaviour_.Press(*row);
        return 0;
    case WM_SHOWWINDOW:
        if (wParam && !textsShown_)
            ShowFieldTexts();
        break;
    case WM_SETCURSOR:
        if (reinterpret_cast<HWND>(wParam) == window_ && LOWORD(lParam) == HTCLIENT) {
            POINT cursor;
            GetCursorPos(&cursor);
            ScreenToClient(window_, &cursor);
            const ControlRow *row = form_.LabelAt(cursor);
            if (row && row->kind == ControlKind::LinkLabel) {
                SetCursor(LoadCursorW(nullptr, IDC_HAND));
                return TRUE;
            }
        }
        break;
    case WM_ACTIVATE:
        // A top-level window does not keep its focused control by itself.
        if (LOWORD(wParam) == WA_INACTIVE) {
            gate_->Remember(GetFocus());
        } else {
            gate_->Restore();
            return 0;
        }
        break;
    case WM_SETFOCUS:
        gate_->Restore();
        return 0;
    case WM_GETMINMAXINFO: {
        // The whole client area, also where the frame is larger than the
        // screen, which would otherwise cut it down.
        auto *limits = reinterpret_cast<MINMAXINFO *>(lParam);
        const SIZE frame = FrameSize();
        limits->ptMaxTrackSize.x = std::max(limits->ptMaxTrackSize.x, frame.cx);
        limits->ptMaxTrackSize.y = std::max(limits->ptMaxTrackSize.y, frame.cy);
        return 0;
    }
    case WM_DPICHANGED: {
        // Fitted to the monitor that the window is moving to.
        const auto *suggested = reinterpret_cast<const RECT *>(lParam);
        const RECT frame =
            FitMonitor(MonitorFromRect(suggested, MONITOR_DEFAULTTONEAREST), HIWORD(wParam));
        SetWindowPos(window_, nullptr, suggested->left, suggested->top, frame.right - frame.left,
                     frame.bottom - frame.top, SWP_NOZORDER | SWP_NOACTIVATE);
        return 0;
    }
    case WM_DESTROY:
        PostQuitMessage(0);
        return 0;
    default:
        break;
    }
    return DefWindowProcW(window_, message, wParam, lParam);
}

void frmMain::Command(int id, int code, HWND control)
{
    // A text put in from outside (an accessibility tool) makes the field's
    // own text the value again.
    if (code == EN_CHANGE && textsShown_ && !settingText_)
        for (std::size_t i = 0; i < fields_.size(); ++i)
            if (fields_[i] == control && wholeValues_[i]) {
                wholeValues_[i].reset();
                SendMessageW(control, EM_SETREADONLY, FALSE, 0);
            }
    const ControlRow *row = form_.RowOfId(id);
    if (!row || !row->press || code != BN_CLICKED)
        return;
    // A click that reaches a button without the focus having moved to it
    // (keyboard, accessibility tools) passes the same check first.
    if (!gate_->MayMoveTo(control))
        return;
    behaviour_.Press(*row);
}

std::string frmMain::FieldText(std::size_t setting) const
{
    const auto &whole = wholeValues_[setting];
    return whole ? *whole : WindowText(fields_[setting]);
}

void frmMain::ShowFieldTexts()
{
    textsShown_ = true;
    for (std::size_t i = 0; i < fields_.size(); ++i) {
        if (wholeValues_[i]) {
            const std::string text = std::move(*wholeValues_[i]);
            SetFieldText(i, text);
        }
    }
}

void frmMain::SetFieldText(std::size_t setting, const std::string &text)
{
    if (!textsShown_) {
        wholeValues_[setting] = text;
        return;
    }
    // Under Wine the edit control lays its text out again at each key, in a
    // time that grows with the square of the text's longest run of digits:
    // 30,000 take 0.7 s, 1 MiB would take a quarter of an hour. A longer
    // value is kept whole here, and its field shows its beginning and takes
    // no edit, which would cut it (a key pressed there says why), until the
    // program gives it a shorter text.
    std::wstring shown = Utf8ToWide(text);
    const bool editable = shown.size() <= kLongestEdited;
    if (editable) {
        wholeValues_[setting].reset();
    } else {
        wholeValues_[setting] = text;
        shown.resize(kLongestShown);
        if (!shown.empty() && IS_HIGH_SURROGATE(shown.back()))
            shown.pop_back(); // not half a character
    }
    settingText_ = true;
    SendMessageW(fields_[setting], EM_SETREADONLY, !editable, 0);
    SetWindowTextW(fields_[setting], shown.c_str());
    settingText_ = false;
}

bool frmMain::RefuseEdit(const MSG &message)
{
    // Typing, deleting, pasting or cutting; copying and the keys that move
    // between controls are no edit.
    const bool edits =
        (message.message == WM_CHAR && (message.wParam >= L' ' || message.wParam == L'\b' ||
                                        message.wParam == 0x16 || message.wParam == 0x18)) ||
        (message.message == WM_KEYDOWN && message.wParam == VK_DELETE);
    if (!edits || !textsShown_)
        return false;
    for (std::size_t i = 0; i < fields_.size(); ++i) {
        if (fields_[i] == message.hwnd && wholeValues_[i]) {
            MsgBox("This value is " + std::to_string(Utf8ToWide(*wholeValues_[i]).size()) +
                   " characters long, more than its field can edit (" +
                   std::to_string(kLongestEdited) +
                   "). It is kept whole and saved as it stands; Set To Default replaces it.");
            return true;
        }
    }
    return false;
}

void frmMain::MsgBox(const std::string &text)
{
    win::MsgBox(window_, text);
}

bool frmMain::AskSaveAsAdministrator(const std::string &text)
{
    return win::AskSaveAsAdministrator(window_, text);
}

std::string frmMain::InputBox(std::string_view prompt, std::string_view title,
                              const std::string &defaultAnswer)
{
    return win::InputBox(window_, prompt, title, defaultAnswer, form_.Face());
}

std::unique_ptr<ModalBox> frmMain::CreateAbout()
{
    return std::make_unique<frmAbout>(window_, machine_);
}

void frmMain::Close()
{
    DestroyWindow(window_);
}
