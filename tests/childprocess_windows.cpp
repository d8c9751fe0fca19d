#include "childprocess.h"

#define WIN32_LEAN_AND_MEAN
#include <windows.h>

#include <cstdlib>

namespace {

constexpr UINT kKilled = 0xdead;

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

void CloseInput(Child &child)
{
    if (child.input != -1)
        CloseHandle(HANDLE(child.input));
    child.input = -1;
}

} // namespace

Child StartChild(const std::string &program, const std::vector<std::string> &arguments)
{
    SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
    HANDLE readyRead = nullptr, readyWrite = nullptr, inputRead = nullptr, inputWrite = nullptr;
    if (!CreatePipe(&readyRead, &readyWrite, &inherit, 0))
        return {};
    if (!CreatePipe(&inputRead, &inputWrite, &inherit, 0)) {
        CloseHandle(readyRead);
        CloseHandle(readyWrite);
        return {};
    }
    SetHandleInformation(readyRead, HANDLE_FLAG_INHERIT, 0);
    SetHandleInformation(inputWrite, HANDLE_FLAG_INHERIT, 0);
    std::wstring commandLine = Quoted(program);
    for (const std::string &argument : arguments)
        commandLine += L" " + Quoted(argument);
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdInput = inputRead;
    startup.hStdOutput = readyWrite;
    startup.hStdError = GetStdHandle(STD_ERROR_HANDLE);
    PROCESS_INFORMATION process{};
    const bool created = CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, TRUE, 0,
                                        nullptr, nullptr, &startup, &process);
    CloseHandle(readyWrite);
    CloseHandle(inputRead);
    char byte = 0;
    DWORD got = 0;
    const bool started = created && ReadFile(readyRead, &byte, 1, &got, nullptr) && got == 1;
    CloseHandle(readyRead);
    Child child{created ? std::intptr_t(process.hProcess) : 0, std::intptr_t(inputWrite)};
    if (created)
        CloseHandle(process.hThread);
    if (!started) {
        if (created)
            WaitForChild(child);
        CloseInput(child);
        return {};
    }
    return child;
}

bool LetGo(Child &child)
{
    DWORD put = 0;
    const bool written = WriteFile(HANDLE(child.input), "!", 1, &put, nullptr) && put == 1;
    CloseInput(child);
    return written;
}

int WaitForChild(Child &child)
{
    CloseInput(child);
    const HANDLE process = HANDLE(child.process);
    DWORD status = 0;
    const bool ended = WaitForSingleObject(process, INFINITE) == WAIT_OBJECT_0 &&
                       GetExitCodeProcess(process, &status);
    CloseHandle(process);
    child.process = 0;
    if (!ended)
        return -2;
    return status == kKilled ? -1 : int(status);
}

bool KillChild(Child &child)
{
    TerminateProcess(HANDLE(child.process), kKilled);
    return WaitForChild(child) == -1;
}

bool SayReady()
{
    DWORD put = 0;
    return WriteFile(GetStdHandle(STD_OUTPUT_HANDLE), "!", 1, &put, nullptr) && put == 1;
}

bool WaitToGo()
{
    char byte = 0;
    DWORD got = 0;
    return ReadFile(GetStdHandle(STD_INPUT_HANDLE), &byte, 1, &got, nullptr) && got == 1;
}

bool BecomeUser(const char *)
{
    return false;
}

bool IsSuperuser()
{
    return false;
}

void SetEnvironment(const char *name, const char *value)
{
    _putenv_s(name, value);
}
