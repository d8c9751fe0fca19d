// Focus-change validation for a Win32 window: before the focus leaves a field
// that has a check for another control of the window (a mouse press, Tab or
// Shift+Tab), the check runs; when it refuses, the focus stays and the
// control that was pressed gets neither the focus nor the press.
#pragma once

#include <windows.h>

#include <functional>
#include <vector>

namespace brinevar::win {

class FocusGate {
public:
    // `refuses(field)`: runs the check of `field`, if it has one, showing its
    // message; true keeps the focus in the field.
    using Check = std::function<bool(HWND field)>;

    // `order`: the window's controls that take the focus, in focus order.
    FocusGate(HWND window, std::vector<HWND> order, Check refuses);

    // For the message loop, before a message is dispatched: true when the
    // gate has dealt with it and it must not be dispatched.
    bool PreTranslate(const MSG &message);

    // Whether the focus may move from where it is to `target`, running the
    // check of the field being left. Commands that a refusal would stop ask
    // this too, whatever way they came.
    bool MayMoveTo(HWND target);

    // Moves the focus to `target` as Tab does (the whole text of a field
    // selected), after the check.
    void MoveTo(HWND target);

    // Keeps the control that had the focus while the window was inactive.
    void Remember(HWND focus);
    void Restore();

private:
    HWND Control(HWND hwnd) const;
    HWND Neighbour(HWND from, bool backwards) const;

    HWND window_;
    std::vector<HWND> order_;
    Check refuses_;
    HWND remembered_ = nullptr;
};

} // namespace brinevar::win
