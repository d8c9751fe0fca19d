#include "folderpicker.h"

#include "lookup.h"
#include "systemlibrary.h"

#include <shobjidl.h>

#include <cstdio>

namespace brinevar::win {

namespace {

// COM and the shell are loaded when the picker is first asked for, not at
// every start, where they would cost a good part of the start-up.
struct ShellCalls {
    HRESULT(WINAPI *initialize)(LPVOID, DWORD) = nullptr;
    void(WINAPI *uninitialize)() = nullptr;
    HRESULT(WINAPI *create)(REFCLSID, LPUNKNOWN, DWORD, REFIID, LPVOID *) = nullptr;
    void(WINAPI *freeMemory)(LPVOID) = nullptr;
    HRESULT(WINAPI *itemFromName)(PCWSTR, IBindCtx *, REFIID, void **) = nullptr;
};

const ShellCalls &Calls()
{
    static const ShellCalls calls = [] {
        ShellCalls found;
        const HMODULE ole32 = LoadSystemLibrary(L"ole32.dll");
        LookUp(ole32, "CoInitializeEx", found.initialize);
        LookUp(ole32, "CoUninitialize", found.uninitialize);
        LookUp(ole32, "CoCreateInstance", found.create);
        LookUp(ole32, "CoTaskMemFree", found.freeMemory);
        LookUp(LoadSystemLibrary(L"shell32.dll"), "SHCreateItemFromParsingName",
               found.itemFromName);
        return found;
    }();
    return calls;
}

Result NoPicker(HRESULT status)
{
    char code[16];
    std::snprintf(code, sizeof code, "0x%08lX", static_cast<unsigned long>(status));
    return Result::Failure(std::string("Windows cannot show its folder picker (error ") + code +
                           "). Type the folder's path instead.");
}

Result Pick(const ShellCalls &calls, HWND owner, const std::filesystem::path &start,
            std::optional<std::filesystem::path> &picked)
{
    IFileOpenDialog *dialog = nullptr;
    HRESULT status =
        calls.create(CLSID_FileOpenDialog, nullptr, CLSCTX_INPROC_SERVER, IID_PPV_ARGS(&dialog));
    if (FAILED(status))
        return NoPicker(status);
    FILEOPENDIALOGOPTIONS options = 0;
    dialog->GetOptions(&options);
    dialog->SetOptions(options | FOS_PICKFOLDERS | FOS_FORCEFILESYSTEM | FOS_PATHMUSTEXIST);
    IShellItem *folder = nullptr;
    std::error_code error;
    if (calls.itemFromName && std::filesystem::is_directory(start, error) &&
        SUCCEEDED(calls.itemFromName(start.c_str(), nullptr, IID_PPV_ARGS(&folder)))) {
        dialog->SetFolder(folder);
        folder->Release();
    }
    status = dialog->Show(owner);
    IShellItem *chosen = nullptr;
    if (SUCCEEDED(status) && SUCCEEDED(dialog->GetResult(&chosen))) {
        PWSTR name = nullptr;
        if (SUCCEEDED(chosen->GetDisplayName(SIGDN_FILESYSPATH, &name))) {
            picked = std::filesystem::path(name);
            calls.freeMemory(name);
        }
        chosen->Release();
    }
    dialog->Release();
    // Cancel is no failure; any other refusal to show is.
    if (FAILED(status) && status != HRESULT_FROM_WIN32(ERROR_CANCELLED))
        return NoPicker(status);
    return {};
}

} // namespace

Result PickFolder(HWND owner, const std::filesystem::path &start,
                  std::optional<std::filesystem::path> &picked)
{
    picked.reset();
    const ShellCalls &calls = Calls();
    if (!calls.initialize || !calls.uninitialize || !calls.create || !calls.freeMemory)
        return NoPicker(HRESULT_FROM_WIN32(ERROR_PROC_NOT_FOUND));
    // The picker needs a single-threaded apartment on this thread; a thread
    // that already has one keeps it.
    const HRESULT joined =
        calls.initialize(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE);
    if (FAILED(joined) && joined != RPC_E_CHANGED_MODE)
        return NoPicker(joined);
    const Result result = Pick(calls, owner, start, picked);
    if (SUCCEEDED(joined))
        calls.uninitialize();
    return result;
}

} // namespace brinevar::win
