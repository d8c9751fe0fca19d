// The game's file beyond tanks.cfg itself: the copy in the VirtualStore
// folder that the game reads where Windows keeps one, and the copies of the
// game's own text that a save keeps before it replaces it.
#pragma once

#include "result.h"
#include "savetransaction.h"

#include <filesystem>
#include <span>
#include <string>
#include <vector>

namespace brinevar {

// The copy of the game's file in the Updates folder `ztPath` that Windows
// keeps under `virtualStore` (see VirtualStoreFolder): the folder's path
// without its drive, "c:\Program Files\Zoo\Updates\" giving
// <virtualStore>\Program Files\Zoo\Updates\tanks.cfg. Empty without a
// VirtualStore folder, and for a folder that names no drive (a relative or
// network path), which Windows never redirects.
std::filesystem::path VirtualStoreCopy(const std::filesystem::path &virtualStore,
                                       const std::string &ztPath);

// Before a save replaces any of `files` (the game's file and its copy in the
// VirtualStore folder) that holds a text Brinevar did not write, one that
// differs from the program's copy `settingsCopy` or with no such copy to
// compare, the save keeps that text beside it: as <file>.original the first
// time, which is never replaced, then as <file>.bak. Puts those steps in
// front of `steps`, so that every text is kept before any file is replaced.
// A file that is missing, or no ordinary file, has no text to keep. Fails,
// with "Could not keep a copy of <file>:" and the reason, when a file that
// is there cannot be read whole, so that nothing is replaced without its copy.
// Only while the save lock is held (SaveTransaction::Begin): no other copy's
// save can change what it compares.
Result KeepFormerTexts(std::vector<SaveStep> &steps, std::span<const std::filesystem::path> files,
                       const std::filesystem::path &settingsCopy);

} // namespace brinevar
