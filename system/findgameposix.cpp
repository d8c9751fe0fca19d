// Where the game may be off Windows: in a Wine prefix, Wine's own or a
// launcher's.
#include "findgame.h"

#include "homefolder.h"

#include <cstdlib>

namespace brinevar {

namespace fs = std::filesystem;

namespace {

// The prefixes below the home folder, in the order looked in: Lutris,
// Bottles (and its Flatpak), PlayOnLinux, CrossOver, Steam's Proton (where
// ~/.steam/steam is Steam's older link to its folder).
constexpr const char *kLauncherPrefixes[] = {
    "Games/*",
    ".local/share/bottles/bottles/*",
    ".var/app/com.usebottles.bottles/data/bottles/bottles/*",
    ".PlayOnLinux/wineprefix/*",
    ".cxoffice/*",
    ".steam/steam/steamapps/compatdata/*/pfx",
    ".local/share/Steam/steamapps/compatdata/*/pfx",
};

// A 64-bit prefix installs the 32-bit game under the first, a 32-bit one
// under the second.
constexpr const char *kProgramFolders[] = {"Program Files (x86)", "Program Files"};

} // namespace

LookSources MachineLookSources()
{
    return {HomeFolder(),
            [](const std::string &name) {
                const char *value = std::getenv(name.c_str());
                return std::string(value ? value : "");
            },
            nullptr,
            {}};
}

std::vector<fs::path> GameFolderPatterns(const LookSources &sources)
{
    // Wine's own prefix first: where `wine` itself would run the game.
    std::vector<fs::path> prefixes;
    if (const std::string wine = sources.variable("WINEPREFIX"); !wine.empty())
        prefixes.emplace_back(wine);
    if (!sources.home.empty()) {
        prefixes.push_back(sources.home / ".wine");
        for (const char *launcher : kLauncherPrefixes)
            prefixes.push_back(sources.home / launcher);
    }
    std::vector<fs::path> patterns;
    for (const fs::path &prefix : prefixes)
        for (const char *programFiles : kProgramFolders)
            patterns.push_back(prefix / "drive_c" / programFiles / "Microsoft Games/Zoo Tycoon");
    return patterns;
}

} // namespace brinevar
