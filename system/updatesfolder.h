// Where the game's Updates folder is: the answer the folder prompt offers,
// and the folder that a typed path names on this system.
#pragma once

#include "findgame.h"

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace brinevar {

// The folder prompt's answer: the Updates folder of the game that the look
// (findgame.h) finds over `sources`, as FolderAsAnswer writes it. Without
// the game, the game's own default folder: on Windows
// "c:\Program Files\Microsoft Games\Zoo Tycoon\Updates\"; elsewhere that
// folder in the Wine prefix that Wine itself would use ($WINEPREFIX, else
// ~/.wine), under "Program Files (x86)" where the prefix has one.
std::string DefaultUpdatesFolder(const LookSources &sources);
// DefaultUpdatesFolder over this machine's own sources.
std::string MachineDefaultUpdatesFolder();

// A path that begins with a drive letter ("c:\Games\..\Updates\"), read as
// Windows reads it: the drive's letter, and the names of the folders below
// the drive's root, "\" or "/" between them, "." and empty names dropped, and
// ".." a step back but never above the root ("C:\.." is "C:\").
struct DrivePath {
    char letter;
    std::vector<std::string> names;
};
// Nothing for a path without a drive letter.
std::optional<DrivePath> ReadDrivePath(const std::string &path);

// `folder` as the prompt's answer, ending in the separator that a typed
// answer needs, since "tanks.cfg" is appended to it.
std::string FolderAsAnswer(const std::filesystem::path &folder);

// The folder `ztPath` names here, as UTF-8. On Windows the path as typed.
// Elsewhere a path that begins with a drive letter ("c:\Games\Updates\") is
// taken to that drive of the same Wine prefix (its dosdevices link, else
// drive_c for c:), "\" read as the separator and names matched without regard
// to case, as Wine does; and a path that ends in "\" ends in a separator.
std::string UpdatesFolderOnThisSystem(const std::string &ztPath);

} // namespace brinevar
