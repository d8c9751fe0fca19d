// The modal boxes of the Windows program.
#pragma once

#include <windows.h>

#include <string>
#include <string_view>

namespace brinevar::win {

// A message box: the text, one OK button, no icon, the program's title.
void MsgBox(HWND owner, std::string_view text);

// The input prompt: the prompt text, an answer prefilled with
// `defaultAnswer`, OK and Cancel. OK gives the answer; Cancel and the close
// box give the empty text. Drawn in the font face `face`.
std::string InputBox(HWND owner, std::string_view prompt, std::string_view title,
                     std::string_view defaultAnswer, const wchar_t *face);

// Runs a modal dialog box with no controls of its own: `procedure` gets
// WM_INITDIALOG with `parameter` and creates them. Returns EndDialog's result.
INT_PTR RunDialog(HWND owner, DLGPROC procedure, LPARAM parameter);

// Gives a dialog the client size `width` x `height` pixels and places its
// client area's top-left corner at `left`, `top` on the screen; centred on
// the owner's monitor when `left` is negative.
void PlaceDialog(HWND dialog, int width, int height, int left = -1, int top = -1);

} // namespace brinevar::win
