#include "updatesfolder.h"

#include <cstdlib>
#include <filesystem>

namespace brinevar {

std::string DefaultUpdatesFolder()
{
#ifdef _WIN32
    return "c:\\Program Files\\Microsoft Games\\Zoo Tycoon\\Updates\\";
#else
    std::string prefix;
    if (const char *wine = std::getenv("WINEPREFIX"); wine && *wine)
        prefix = wine;
    else if (const char *home = std::getenv("HOME"))
        prefix = std::string(home) + "/.wine";
    const std::string drive = prefix + "/drive_c/";
    // A 64-bit prefix installs 32-bit games under "Program Files (x86)".
    std::error_code error;
    const std::string programFiles =
        std::filesystem::is_directory(drive + "Program Files (x86)", error) ? "Program Files (x86)"
                                                                            : "Program Files";
    return drive + programFiles + "/Microsoft Games/Zoo Tycoon/Updates/";
#endif
}

} // namespace brinevar
