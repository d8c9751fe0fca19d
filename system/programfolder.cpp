#include "programfolder.h"

#include "ansicodepage.h"
#include "asciicase.h"

#include <cstdlib>
#include <stdexcept>
#include <system_error>

#ifdef _WIN32
#define WIN32_LEAN_AND_MEAN
#include <windows.h>
#else
#include <pwd.h>
#include <unistd.h>
#endif
#ifdef __APPLE__
#include <mach-o/dyld.h>
#endif

namespace brinevar {
namespace {

std::filesystem::path &OverriddenFolder()
{
    static std::filesystem::path folder;
    return folder;
}

// A folder as the file system sees it: links resolved while it exists, so
// that /bin and /usr/bin, or a trailing separator, make no difference.
std::filesystem::path Resolved(const std::filesystem::path &folder)
{
    std::error_code error;
    auto canonical = std::filesystem::weakly_canonical(folder, error);
    if (error)
        canonical = folder.lexically_normal();
    // "a/b/" and "a/b" name one folder.
    return canonical.has_filename() ? canonical : canonical.parent_path();
}

bool SameFolder(const std::filesystem::path &a, const std::filesystem::path &b)
{
#if defined(_WIN32) || defined(__APPLE__)
    // Case-insensitive file systems: compare as the system would, in ASCII.
    return SameIgnoringAsciiCase(PathToUtf8(Resolved(a)), PathToUtf8(Resolved(b)));
#else
    return Resolved(a) == Resolved(b);
#endif
}

#ifdef _WIN32
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
#endif

bool IsWritableFolder(const std::filesystem::path &folder)
{
#ifdef _WIN32
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
#else
    return access(folder.c_str(), W_OK) == 0;
#endif
}

std::filesystem::path ExecutablePath()
{
#ifdef _WIN32
    std::wstring name(MAX_PATH, L'\0');
    for (;;) {
        const DWORD got = GetModuleFileNameW(nullptr, name.data(), DWORD(name.size()));
        if (got < name.size()) {
            name.resize(got);
            return name;
        }
        name.resize(name.size() * 2);
    }
#elif defined(__APPLE__)
    std::uint32_t size = 0;
    _NSGetExecutablePath(nullptr, &size);
    std::string name(size, '\0');
    if (_NSGetExecutablePath(name.data(), &size) != 0)
        return {};
    return std::filesystem::path(name.c_str());
#else
    std::error_code error;
    return std::filesystem::read_symlink("/proc/self/exe", error);
#endif
}

} // namespace

std::filesystem::path ProgramFolder()
{
    if (!OverriddenFolder().empty())
        return OverriddenFolder();
    static const std::filesystem::path folder = ExecutablePath().parent_path();
    return folder;
}

void SetProgramFolder(const std::filesystem::path &folder)
{
    OverriddenFolder() = folder;
}

std::filesystem::path InstalledProgramFolder()
{
#ifdef BRINEVAR_INSTALL_BINDIR
    return BRINEVAR_INSTALL_BINDIR;
#else
    return {};
#endif
}

bool IsInstalledCopy(const std::filesystem::path &folder)
{
    // A superuser may write anywhere, so writability alone cannot tell an
    // installed copy from a build folder.
    const auto installed = InstalledProgramFolder();
    if (!installed.empty() && SameFolder(folder, installed))
        return true;
#ifdef _WIN32
    // Both Program Files folders, whichever this program's own bitness sees
    // as %ProgramFiles%.
    for (const wchar_t *name : {L"ProgramFiles", L"ProgramW6432", L"ProgramFiles(x86)"})
        if (const auto root = FolderFromEnvironment(name); !root.empty() && IsUnder(folder, root))
            return true;
#endif
#ifdef __APPLE__
    // Writing into an app bundle would break its signature.
    const std::string path = PathToUtf8(Resolved(folder));
    if (path.ends_with(".app/Contents/MacOS"))
        return true;
#endif
    return !IsWritableFolder(folder);
}

std::filesystem::path UserDataFolder()
{
#ifdef _WIN32
    const auto base = FolderFromEnvironment(L"APPDATA");
#elif defined(__APPLE__)
    const char *home = std::getenv("HOME");
    const auto base = home && *home ? std::filesystem::path(home) / "Library/Application Support"
                                    : std::filesystem::path();
#else
    std::filesystem::path base;
    if (const char *data = std::getenv("XDG_DATA_HOME"); data && *data == '/')
        base = data;
    else if (const char *home = std::getenv("HOME"); home && *home)
        base = std::filesystem::path(home) / ".local/share";
    // Without HOME the account's own home folder, rather than none, which
    // would put tanks.ini into whatever folder the program was started from.
    else if (const passwd *account = getpwuid(getuid());
             account && account->pw_dir && *account->pw_dir == '/')
        base = std::filesystem::path(account->pw_dir) / ".local/share";
#endif
    return base.empty() ? base : base / "Brinevar";
}

std::filesystem::path SettingsCopyFolder()
{
    const auto folder = ProgramFolder();
    if (!IsInstalledCopy(folder))
        return folder;
    const auto data = UserDataFolder();
    if (data.empty())
        throw std::runtime_error("There is no per-user folder to keep tanks.ini in.");
    std::error_code ignored; // a folder that cannot be made shows when the file is written
    std::filesystem::create_directories(data, ignored);
    return data;
}

std::filesystem::path PathFromUtf8(std::string_view utf8)
{
#ifdef _WIN32
    return std::filesystem::path(Utf8ToWide(utf8));
#else
    return std::filesystem::path(std::string(utf8));
#endif
}

std::string PathToUtf8(const std::filesystem::path &path)
{
#ifdef _WIN32
    return WideToUtf8(path.native());
#else
    return path.native();
#endif
}

} // namespace brinevar
