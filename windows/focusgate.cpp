#include "focusgate.h"

#include <algorithm>
#include <utility>

namespace brinevar::win {

FocusGate::FocusGate(HWND window, std::vector<HWND> order, Check refuses)
    : window_(window), order_(std::move(order)), refuses_(std::move(refuses))
{
}

HWND FocusGate::Control(HWND hwnd) const
{
    // A list box's or field's own child windows count as the control.
    for (HWND h = hwnd; h && h != window_; h = GetParent(h)) {
        if (std::find(order_.begin(), order_.end(), h) != order_.end())
            return h;
    }
    return nullptr;
}

HWND FocusGate::Neighbour(HWND from, bool backwards) const
{
    if (order_.empty())
        return nullptr;
    const auto found = std::find(order_.begin(), order_.end(), from);
    const std::ptrdiff_t count = std::ssize(order_);
    std::ptrdiff_t i = found == order_.end() ? (backwards ? 0 : -1) : found - order_.begin();
    // Skips controls that are disabled or hidden, as dialogs do.
    for (std::ptrdiff_t step = 0; step < count; ++step) {
        i = (i + (backwards ? count - 1 : 1)) % count;
        HWND candidate = order_[std::size_t(i)];
        if (IsWindowEnabled(candidate) && IsWindowVisible(candidate))
            return candidate;
    }
    return nullptr;
}

bool FocusGate::MayMoveTo(HWND target)
{
    HWND focus = Control(GetFocus());
    if (!focus || focus == target)
        return true;
    if (!refuses_(focus))
        return true;
    // The message box took the focus; it goes back to the refused field.
    SetFocus(focus);
    return false;
}

void FocusGate::MoveTo(HWND target)
{
    if (!target || !MayMoveTo(target))
        return;
    SetFocus(target);
    wchar_t className[16] = {};
    GetClassNameW(target, className, 16);
    if (lstrcmpiW(className, L"Edit") == 0)
        SendMessageW(target, EM_SETSEL, 0, -1);
}

bool FocusGate::PreTranslate(const MSG &message)
{
    if (message.hwnd != window_ && !IsChild(window_, message.hwnd))
        return false;
    switch (message.message) {
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
    case WM_MBUTTONDOWN:
    case WM_RBUTTONDOWN: {
        HWND target = Control(message.hwnd);
        // A press on a control that takes the focus; captions and the window
        // itself take none and run no check.
        return target && !MayMoveTo(target);
    }
    case WM_KEYDOWN:
        if (message.wParam == VK_TAB) {
            if (!(GetKeyState(VK_CONTROL) & 0x8000))
                MoveTo(Neighbour(Control(GetFocus()), GetKeyState(VK_SHIFT) & 0x8000));
            return true;
        }
        if (message.wParam == VK_RETURN) {
            // Enter presses the focused button; the check ran when the focus
            // came to it.
            HWND focus = Control(GetFocus());
            if (focus && (SendMessageW(focus, WM_GETDLGCODE, 0, 0) &
                          (DLGC_DEFPUSHBUTTON | DLGC_UNDEFPUSHBUTTON)))
                SendMessageW(focus, BM_CLICK, 0, 0);
            return focus != nullptr;
        }
        return false;
    default:
        return false;
    }
}

void FocusGate::Remember(HWND focus)
{
    if (Control(focus))
        remembered_ = focus;
}

void FocusGate::Restore()
{
    if (remembered_ && IsWindow(remembered_))
        SetFocus(remembered_);
}

} // namespace brinevar::win
