// Where the game's Updates folder is: the answer the folder prompt offers,
// and the folder that a typed path names on this system.
#pragma once

#include <string>

namespace brinevar {

// The game's Updates folder where it exists, under "Program Files (x86)",
// else under "Program Files"; without it the game's own default folder. On
// Windows that is "c:\Program Files\Microsoft Games\Zoo Tycoon\Updates\".
// Elsewhere the folders are those of the Wine prefix that Wine itself would
// use ($WINEPREFIX, else ~/.wine), and without the game the default goes
// under "Program Files (x86)" where the prefix has one.
std::string DefaultUpdatesFolder();

// The folder `ztPath` names here, as UTF-8. On Windows the path as typed.
// Elsewhere a path that begins with a drive letter ("c:\Games\Updates\") is
// taken to that drive of the same Wine prefix (its dosdevices link, else
// drive_c for c:), "\" read as the separator and names matched without regard
// to case, as Wine does; and a path that ends in "\" ends in a separator.
std::string UpdatesFolderOnThisSystem(const std::string &ztPath);

} // namespace brinevar
