// Starting a program on Windows: CreateProcess with the command line as it
// stands, which searches for the program as the Windows shell's own Shell
// call does.
#include "launcher.h"

#include "file.h"
#include "widetext.h"

#define WIN32_LEAN_AND_MEAN
#include <windows.h>

namespace brinevar {

Result StartProgram(const std::string &commandLine)
{
    if (commandLine.empty())
        return CouldNotStart(commandLine, SystemError(ERROR_INVALID_PARAMETER));
    // CreateProcessW may write into the command line, so it gets its own
    // zero-terminated copy.
    std::wstring wide = Utf8ToWide(commandLine);
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESHOWWINDOW;
    startup.wShowWindow = SW_SHOWNORMAL;
    PROCESS_INFORMATION process{};
    if (!CreateProcessW(nullptr, wide.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                        &startup, &process))
        return CouldNotStart(commandLine, SystemError(GetLastError()));
    // The program runs on by itself; its handles are of no further use here.
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return {};
}

} // namespace brinevar
