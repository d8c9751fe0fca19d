// The folder rules on Windows.
#include "folderrules.h"

#include "asciicase.h"
#include "programfolder.h"
#include "widetext.h"

#define WIN32_LEAN_AND_MEAN
#include <windows.h>

namespace brinevar {
namespace {

// A folder that Windows names in the environment of every process
// (%ProgramFiles%, %APPDATA%, ...): asking the shell for it instead would load
// shell32 and COM at every start, a good part of the start-up under Wine.
std::filesystem::path FolderFromEnvironment(const wchar_t *name)
{
    const DWORD size = GetEnvironmentVariableW(name, nullptr, 0);
    if (size == 0)
        return {};
    std::wstring folder(size, L'\0');
    folder.resize(GetEnvironmentVariableW(name, folder.data(), size));
    return folder;
}

bool IsUnder(const std::filesystem::path &folder, const std::filesystem::path &root)
{
    const auto path = Resolved(folder);
    const auto base = Resolved(root);
    auto p = path.begin();
    for (auto r = base.begin(); r != base.end(); ++r, ++p)
        if (p == path.end() || !SameFolder(*p, *r))
            return false;
    return true;
}

} // namespace

bool SameFolder(const std::filesystem::path &a, const std::filesystem::path &b)
{
    // A case-insensitive file system: compare as the system would, in ASCII.
    return SameIgnoringAsciiCase(PathToUtf8(Resolved(a)), PathToUtf8(Resolved(b)));
}

bool InSystemProgramFolders(const std::filesystem::path &folder)
{
    // Both Program Files folders, whichever this program's own bitness sees
    // as %ProgramFiles%.
    for (const wchar_t *name : {L"ProgramFiles", L"ProgramW6432", L"ProgramFiles(x86)"})
        if (const auto root = FolderFromEnvironment(name); !root.empty() && IsUnder(folder, root))
            return true;
    return false;
}

bool IsWritableFolder(const std::filesystem::path &folder)
{
    // Access bits say nothing about NTFS permissions: try a file, under a
    // name of this process's own, so that another copy's probe or one left
    // behind does not make the folder look unwritable.
    static unsigned count = 0;
    for (int attempt = 0; attempt < 16; ++attempt) {
        const auto probe =
            folder / (L".brinevar-write-test-" + std::to_wstring(GetCurrentProcessId()) + L"-" +
                      std::to_wstring(++count));
        const HANDLE file =
            CreateFileW(probe.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                        FILE_ATTRIBUTE_TEMPORARY | FILE_FLAG_DELETE_ON_CLOSE, nullptr);
        if (file != INVALID_HANDLE_VALUE) {
            CloseHandle(file);
            return true;
        }
        if (GetLastError() != ERROR_FILE_EXISTS && GetLastError() != ERROR_ALREADY_EXISTS)
            return false;
    }
    return false;
}

std::filesystem::path ExecutablePath()
{
    std::wstring name(MAX_PATH, L'\0');
    for (;;) {
        const DWORD got = GetModuleFileNameW(nullptr, name.data(), DWORD(name.size()));
        if (got < name.size()) {
            name.resize(got);
            return name;
        }
        name.resize(name.size() * 2);
    }
}

std::filesystem::path UserApplicationData()
{
    return FolderFromEnvironment(L"APPDATA");
}

std::filesystem::path VirtualStoreFolder()
{
    const auto local = FolderFromEnvironment(L"LOCALAPPDATA");
    return local.empty() ? local : local / L"VirtualStore";
}

std::filesystem::path PathFromUtf8(std::string_view utf8)
{
    return std::filesystem::path(Utf8ToWide(utf8));
}

std::string PathToUtf8(const std::filesystem::path &path)
{
    return WideToUtf8(path.native());
}

} // namespace brinevar
