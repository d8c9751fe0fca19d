// What screen readers find in a window that a Form draws: the window paints
// its captions, which are no windows of their own, so its own accessible
// object lists them, as static text with their words, before its controls
// (the order of the Qt program). A caption that runs a command has it as its
// default action, and its access key as its keyboard shortcut. Screen
// readers ask through MSAA; UI Automation reads the same through its MSAA
// proxy.
#pragma once

#include "form.h"

#include <windows.h>

#include <memory>

namespace brinevar::win {

class WindowAccessible {
public:
    WindowAccessible() = default;
    WindowAccessible(const WindowAccessible &) = delete;
    WindowAccessible &operator=(const WindowAccessible &) = delete;
    ~WindowAccessible();

    // Answers for `window`, whose controls and captions `form` draws, until
    // the window is destroyed or Attach is called again. A caption's default
    // action comes to the window as a click on the caption.
    void Attach(HWND window, const Form &form);

    // What the objects handed out hold: they outlive neither window nor form.
    struct Link {
        HWND window;
        const Form *form;
    };

private:
    static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam,
                                       UINT_PTR id, DWORD_PTR data);
    void Detach();

    std::shared_ptr<Link> link_;
};

} // namespace brinevar::win
