#include "systemlibrary.h"

#include <string>

namespace brinevar::win {

bool CanSearchSystemFolderOnly()
{
    static const bool can =
        GetProcAddress(GetModuleHandleW(L"kernel32.dll"), "AddDllDirectory") != nullptr;
    return can;
}

HMODULE LoadSystemLibrary(const wchar_t *name, bool searchSystemFolderOnly)
{
    if (searchSystemFolderOnly)
        return LoadLibraryExW(name, nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32);
    wchar_t folder[MAX_PATH];
    const UINT length = GetSystemDirectoryW(folder, MAX_PATH);
    if (length == 0 || length >= MAX_PATH)
        return nullptr;
    const std::wstring path = std::wstring(folder, length) + L'\\' + name;
    return LoadLibraryExW(path.c_str(), nullptr, LOAD_WITH_ALTERED_SEARCH_PATH);
}

} // namespace brinevar::win
