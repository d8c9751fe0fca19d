// System DLLs that the program loads while it runs, taken from the system
// folder only: a DLL of the same name beside the program or in the current
// folder is never loaded in its place.
#pragma once

#include <windows.h>

namespace brinevar::win {

// Whether LoadLibraryExW can be told to search the system folder alone: from
// Windows 8 on, and on Windows 7 with update KB2533623, which brought
// AddDllDirectory with it.
bool CanSearchSystemFolderOnly();

// The system DLL `name` (for example L"oleacc.dll"), or null. Where the
// search cannot be restricted, it is loaded by its full path in the system
// folder, and the DLLs it needs are looked for there first.
HMODULE LoadSystemLibrary(const wchar_t *name,
                          bool searchSystemFolderOnly = CanSearchSystemFolderOnly());

} // namespace brinevar::win
