// The folder rules on Linux and other POSIX systems.
#include "folderrules.h"
#include "homefolder.h"
#include "programfolder.h"

#include <cstdlib>

#include <pwd.h>
#include <unistd.h>

namespace brinevar {

bool SameFolder(const std::filesystem::path &a, const std::filesystem::path &b)
{
    return Resolved(a) == Resolved(b);
}

bool InSystemProgramFolders(const std::filesystem::path &)
{
    return false; // the install folder of the build is the one that counts
}

bool IsWritableFolder(const std::filesystem::path &folder)
{
    return access(folder.c_str(), W_OK) == 0;
}

std::filesystem::path ExecutablePath()
{
    std::error_code error;
    return std::filesystem::read_symlink("/proc/self/exe", error);
}

std::filesystem::path UserApplicationData()
{
    if (const char *data = std::getenv("XDG_DATA_HOME"); data && *data == '/')
        return data;
    const std::filesystem::path home = HomeFolder();
    return home.empty() ? home : home / ".local/share";
}

std::filesystem::path HomeFolder()
{
    if (const char *home = std::getenv("HOME"); home && *home)
        return home;
    if (const passwd *account = getpwuid(getuid());
        account && account->pw_dir && *account->pw_dir == '/')
        return account->pw_dir;
    return {};
}

// No system here redirects a program's writes; Wine, which runs the game,
// does not either.
std::filesystem::path VirtualStoreFolder()
{
    return {};
}

std::filesystem::path PathFromUtf8(std::string_view utf8)
{
    return std::filesystem::path(std::string(utf8));
}

std::string PathToUtf8(const std::filesystem::path &path)
{
    return path.native();
}

} // namespace brinevar
