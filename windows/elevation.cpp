#include "elevation.h"

#include "administratorsave.h"
#include "dialogs.h"
#include "elevationrequest.h"
#include "file.h"
#include "folderrules.h"
#include "lookup.h"
#include "systemlibrary.h"
#include "version.h"
#include "widetext.h"

#include <commctrl.h>
#include <shellapi.h>

#include <cstdlib>
#include <system_error>

namespace brinevar::win {
namespace {

constexpr int kSaveButton = 100;

HRESULT CALLBACK MarkElevated(HWND dialog, UINT notification, WPARAM, LPARAM, LONG_PTR)
{
    if (notification == TDN_CREATED)
        SendMessageW(dialog, TDM_SET_BUTTON_ELEVATION_REQUIRED_STATE, kSaveButton, TRUE);
    return S_OK;
}

// Waits for `process` while the windows of this thread repaint but take no
// input, as under a modal box.
DWORD WaitModally(HANDLE process)
{
    HWND owner = GetActiveWindow();
    const bool disabled = owner && !EnableWindow(owner, FALSE);
    bool quit = false;
    WPARAM quitCode = 0;
    while (MsgWaitForMultipleObjects(1, &process, FALSE, INFINITE, QS_ALLINPUT) ==
           WAIT_OBJECT_0 + 1) {
        MSG message;
        while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
            if (message.message == WM_QUIT) {
                quit = true;
                quitCode = message.wParam;
                continue;
            }
            TranslateMessage(&message);
            DispatchMessageW(&message);
        }
    }
    if (disabled) {
        EnableWindow(owner, TRUE);
        SetForegroundWindow(owner);
    }
    if (quit)
        PostQuitMessage(int(quitCode));
    DWORD code = 1;
    GetExitCodeProcess(process, &code);
    return code;
}

} // namespace

bool AskSaveAsAdministrator(HWND owner, const std::string &text)
{
    // Common controls 6, which the program's manifest asks for, have task
    // dialogs on every Windows it runs on.
    HRESULT(WINAPI * taskDialog)(const TASKDIALOGCONFIG *, int *, int *, BOOL *) = nullptr;
    LookUp(GetModuleHandleW(L"comctl32.dll"), "TaskDialogIndirect", taskDialog);
    const std::wstring content = Utf8ToWide(text), title = Utf8ToWide(ProgramTitle()),
                       save = Utf8ToWide(kSaveAsAdministrator);
    if (!taskDialog)
        return MessageBoxW(owner, content.c_str(), title.c_str(), MB_OKCANCEL | MB_ICONWARNING) ==
               IDOK;
    const TASKDIALOG_BUTTON buttons[] = {{kSaveButton, save.c_str()}};
    TASKDIALOGCONFIG config{};
    config.cbSize = sizeof config;
    config.hwndParent = owner;
    config.dwFlags = TDF_ALLOW_DIALOG_CANCELLATION | TDF_POSITION_RELATIVE_TO_WINDOW;
    config.dwCommonButtons = TDCBF_CANCEL_BUTTON;
    config.pszWindowTitle = title.c_str();
    config.pszMainIcon = TD_WARNING_ICON;
    config.pszContent = content.c_str();
    config.cButtons = UINT(std::size(buttons));
    config.pButtons = buttons;
    config.nDefaultButton = kSaveButton;
    config.pfCallback = MarkElevated;
    int pressed = IDCANCEL;
    return SUCCEEDED(taskDialog(&config, &pressed, nullptr, nullptr)) && pressed == kSaveButton;
}

Outcome<unsigned long> RunElevated(const std::filesystem::path &request)
{
    // Loaded only here: shell32 at every start would cost a good part of it.
    BOOL(WINAPI * shellExecute)(SHELLEXECUTEINFOW *) = nullptr;
    LookUp(LoadSystemLibrary(L"shell32.dll"), "ShellExecuteExW", shellExecute);
    if (!shellExecute)
        return SystemError(ERROR_PROC_NOT_FOUND);
    const std::filesystem::path program = ExecutablePath();
    // A Windows file name holds no double quote, so quoting it is enough.
    const std::wstring parameters =
        Utf8ToWide(kElevatedSaveArgument) + L" \"" + request.native() + L"\"";
    SHELLEXECUTEINFOW run{};
    run.cbSize = sizeof run;
    run.fMask = SEE_MASK_NOCLOSEPROCESS | SEE_MASK_NOASYNC | SEE_MASK_FLAG_NO_UI;
    run.hwnd = GetActiveWindow();
    run.lpVerb = L"runas";
    run.lpFile = program.c_str();
    run.lpParameters = parameters.c_str();
    run.nShow = SW_SHOWNORMAL;
    if (!shellExecute(&run)) {
        const DWORD error = GetLastError();
        if (error == ERROR_CANCELLED)
            return std::make_error_code(std::errc::operation_canceled);
        return SystemError(error);
    }
    if (!run.hProcess)
        return SystemError(ERROR_INVALID_HANDLE);
    const DWORD exitCode = WaitModally(run.hProcess);
    CloseHandle(run.hProcess);
    return (unsigned long)(exitCode);
}

bool RunAsElevatedCopy(int &exitCode)
{
    if (__argc != 3 || WideToUtf8(__wargv[1]) != kElevatedSaveArgument)
        return false;
    unsigned long code = 0;
    if (const Result saved = RunElevatedCopy(WideToUtf8(__wargv[2]), code); !saved)
        MsgBox(nullptr, saved.message());
    exitCode = int(code);
    return true;
}

} // namespace brinevar::win
