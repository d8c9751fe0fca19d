#include "childprocess.h"

#define WIN32_LEAN_AND_MEAN
#include <windows.h>

namespace {
// One argument as the C runtime splits a command line again.
std::wstring Quoted(const std::string &argument)
{
    std::wstring quoted = L"\"";
    std::size_t backslashes = 0;
    for (const char c : argument) {
        if (c == '\\') {
            ++backslashes;
            continue;
        }
        quoted.append(c == '"' ? 2 * backslashes + 1 : backslashes, L'\\');
        backslashes = 0;
        quoted += wchar_t(static_cast<unsigned char>(c));
    }
    quoted.append(2 * backslashes, L'\\');
    return quoted + L"\"";
}
} // namespace

Child StartChild(const std::string &program, const std::vector<std::string> &arguments)
{
    SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
    HANDLE read = nullptr, write = nullptr;
    if (!CreatePipe(&read, &write, &inherit, 0))
        return 0;
    SetHandleInformation(read, HANDLE_FLAG_INHERIT, 0);
    std::wstring commandLine = Quoted(program);
    for (const std::string &argument : arguments)
        commandLine += L" " + Quoted(argument);
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdOutput = write;
    startup.hStdError = GetStdHandle(STD_ERROR_HANDLE);
    PROCESS_INFORMATION process{};
    const bool created = CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, TRUE, 0,
                                        nullptr, nullptr, &startup, &process);
    CloseHandle(write);
    char byte = 0;
    DWORD got = 0;
    const bool started = created && ReadFile(read, &byte, 1, &got, nullptr) && got == 1;
    CloseHandle(read);
    if (!created)
        return 0;
    CloseHandle(process.hThread);
    if (!started) {
        WaitForSingleObject(process.hProcess, INFINITE);
        CloseHandle(process.hProcess);
        return 0;
    }
    return Child(process.hProcess);
}

bool KillChild(Child child)
{
    const HANDLE process = HANDLE(child);
    constexpr UINT kKilled = 0xdead;
    TerminateProcess(process, kKilled);
    DWORD status = 0;
    const bool ended = WaitForSingleObject(process, INFINITE) == WAIT_OBJECT_0 &&
                       GetExitCodeProcess(process, &status);
    CloseHandle(process);
    return ended && status == kKilled;
}

bool SayReady()
{
    DWORD put = 0;
    return WriteFile(GetStdHandle(STD_OUTPUT_HANDLE), "!", 1, &put, nullptr) && put == 1;
}

bool BecomeUser(const char *)
{
    return false;
}
