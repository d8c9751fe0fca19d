#include "elevation.h"

#include "administratorsave.h"
#include "dialogs.h"
#include "elevationrequest.h"
#include "folderrules.h"
#include "launcher.h"
#include "systemerror.h"
#include "systemlibrary.h"
#include "version.h"
#include "widetext.h"

#include <commctrl.h>
#include <shellapi.h>

#include <cstdlib>

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
    using TaskDialogCall = HRESULT(WINAPI *)(const TASKDIALOGCONFIG *, int *, int *, BOOL *);
    const auto taskDialog = reinterpret_cast<TaskDialogCall>(reinterpret_cast<void (*)()>(
        GetProcAddress(GetModuleHandleW(L"comctl32.dll"), "TaskDialogIndirect")));
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

Result RunElevated(const std::filesystem::path &request)
{
    // Loaded only here: shell32 at every start would cost a good part of it.
    using ShellExecuteCall = BOOL(WINAPI *)(SHELLEXECUTEINFOW *);
    const HMODULE shell = LoadSystemLibrary(L"shell32.dll");
    const auto shellExecute = reinterpret_cast<ShellExecuteCall>(
        reinterpret_cast<void (*)()>(shell ? GetProcAddress(shell, "ShellExecuteExW") : nullptr));
    const std::filesystem::path program = ExecutablePath();
    const std::string shown = PathToUtf8(program);
    if (!shellExecute)
        return CouldNotStart(shown, SystemError(ERROR_PROC_NOT_FOUND));
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
            return Result::Failure("Windows did not give administrator rights, so nothing was "
                                   "saved. The window keeps your values.",
                                   SystemError(error));
        return CouldNotStart(shown, SystemError(error));
    }
    if (!run.hProcess)
        return CouldNotStart(shown, SystemError(ERROR_INVALID_HANDLE));
    const DWORD exitCode = WaitModally(run.hProcess);
    CloseHandle(run.hProcess);
    if (exitCode != 0)
        return Result::Failure("Saving with administrator rights failed, for the reason just "
                               "shown. tanks.ini was not saved either; the window keeps your "
                               "values.");
    return {};
}

bool RunAsElevatedCopy(int &exitCode)
{
    if (__argc != 3 || WideToUtf8(__wargv[1]) != kElevatedSaveArgument)
        return false;
    const Result saved = RunElevatedCopy(WideToUtf8(__wargv[2]));
    if (!saved)
        MsgBox(nullptr, saved.message());
    exitCode = saved ? 0 : 1;
    return true;
}

} // namespace brinevar::win
