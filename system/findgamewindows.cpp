// Where the game may be on Windows: where its setup recorded it, then its
// default folder on each fixed drive.
#include "findgame.h"

#include "ansicodepage.h"
#include "asciicase.h"
#include "programfolder.h"
#include "registry.h"
#include "widetext.h"

#include <algorithm>
#include <cstdlib>

#define WIN32_LEAN_AND_MEAN
#include <windows.h>

namespace brinevar {

namespace fs = std::filesystem;

namespace {

// The game's setup records its folder here; which value it uses, sources
// disagree, so each plausible one is read. A 64-bit program sees the 32-bit
// setup's key below WOW6432Node.
constexpr const char *kSetupKeys[] = {
    "SOFTWARE\\Microsoft\\Microsoft Games\\Zoo Tycoon\\1.0",
    "SOFTWARE\\WOW6432Node\\Microsoft\\Microsoft Games\\Zoo Tycoon\\1.0",
};
constexpr const char *kSetupValues[] = {"AppPath",    "InstallPath", "Install Dir",
                                        "InstallDir", "Path",        "InstallationDirectory"};
constexpr std::uint32_t kLongestPath = 4096; // bytes: far beyond MAX_PATH

// The 64-bit system's folder for 32-bit programs first, where the 32-bit
// game goes; then a 32-bit system's only one; then the 64-bit one, which
// only this variable names to a 32-bit program.
constexpr const char *kProgramVariables[] = {"ProgramFiles(x86)", "ProgramFiles", "ProgramW6432"};
constexpr const char *kProgramFolders[] = {"\\Program Files (x86)", "\\Program Files",
                                           "\\Program Files"};

constexpr const char *kGameBelowProgramFiles = "Microsoft Games\\Zoo Tycoon";

std::vector<fs::path> RecordedFolders(Registry &registry)
{
    std::vector<fs::path> folders;
    for (const char *key : kSetupKeys)
        for (const char *name : kSetupValues) {
            RegistryValue value;
            // A missing key or value is the usual answer: the game is not
            // installed, or its setup used another name.
            if (!registry.ReadValue(kHKeyLocalMachine, key, name, kKeyRead, kLongestPath, value) ||
                (value.type != kRegSz && value.type != kRegExpandSz))
                continue;
            value.data.resize(std::min(value.data.size(), value.data.find('\0')));
            if (value.data.empty())
                continue;
            fs::path folder = PathFromUtf8(FromAnsi(value.data));
            // A value may name the program rather than its folder.
            if (SameIgnoringAsciiCase(PathToUtf8(folder.extension()), ".exe"))
                folder = folder.parent_path();
            folders.push_back(folder);
        }
    return folders;
}

} // namespace

LookSources MachineLookSources()
{
    return {{},
            [](const std::string &name) {
                const wchar_t *value = _wgetenv(Utf8ToWide(name).c_str());
                return value ? WideToUtf8(value) : std::string();
            },
            &SystemRegistry(),
            [] {
                std::vector<fs::path> drives;
                const DWORD present = GetLogicalDrives();
                for (wchar_t letter = L'A'; letter <= L'Z'; ++letter) {
                    const wchar_t root[] = {letter, L':', L'\\', L'\0'};
                    if (present & (1u << (letter - L'A')) && GetDriveTypeW(root) == DRIVE_FIXED)
                        drives.emplace_back(root);
                }
                return drives;
            }};
}

std::vector<fs::path> GameFolderPatterns(const LookSources &sources)
{
    std::vector<fs::path> patterns;
    if (sources.registry)
        patterns = RecordedFolders(*sources.registry);
    std::vector<fs::path> programFolders;
    for (std::size_t i = 0; i < std::size(kProgramVariables); ++i) {
        const std::string variable = sources.variable(kProgramVariables[i]);
        const fs::path folder =
            variable.empty() ? fs::path("C:") / kProgramFolders[i] : PathFromUtf8(variable);
        if (std::ranges::find(programFolders, folder) != programFolders.end())
            continue; // a 32-bit program's %ProgramFiles% is %ProgramFiles(x86)%
        programFolders.push_back(folder);
        if (!variable.empty())
            patterns.push_back(folder / kGameBelowProgramFiles);
    }
    // The same folders on each other fixed drive, where players also put
    // the game: each folder below the drive it is on.
    const std::vector<fs::path> drives =
        sources.fixedDrives ? sources.fixedDrives() : std::vector<fs::path>();
    std::vector<std::pair<fs::path, fs::path>> onDrive; // drive, folder below it
    for (const fs::path &folder : programFolders) {
        std::pair<fs::path, fs::path> place{folder.root_path(), folder.relative_path()};
        for (const fs::path &drive : drives)
            if (const fs::path below = folder.lexically_relative(drive);
                !below.empty() && *below.begin() != "..")
                place = {drive, below};
        onDrive.push_back(place);
    }
    for (const fs::path &drive : drives)
        for (const auto &[own, below] : onDrive)
            if (drive != own)
                patterns.push_back(drive / below / kGameBelowProgramFiles);
    return patterns;
}

} // namespace brinevar
