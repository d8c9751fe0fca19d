// Where "Save and Exit" puts the settings, the writing of both files, and the
// reading of the program's copy at start.
#pragma once

#include "catalogue.h"
#include "programfolder.h"
#include "result.h"

#include <filesystem>
#include <string>
#include <string_view>

namespace brinevar {

// The game's file in the Updates folder, as this system names that folder
// (UpdatesFolderOnThisSystem). The folder is meant to end with a separator;
// when it does not, one is put in rather than letting the file name run on
// into the folder's own name. An empty folder leaves the file in the working
// folder.
std::filesystem::path GameFilePath(const std::string &ztPath);

// Writes the game's file and then the program's copy (places.settingsCopy)
// as one SaveTransaction: each replaced whole or not at all, nothing when a
// text cannot be written exactly, under the save lock. Stops at the first
// failure of any kind and says what to tell the user: the file, the reason,
// and whether the game's file was saved.
Result SaveSettingsFiles(const std::string &ztPath, const TankSettings &settings,
                         const Places &places);

// Undoes what a save killed half-way left in the game's file in `ztPath` or
// in the program's copy (see SaveTransaction::UndoInterrupted), before the
// program reads or writes anything.
void UndoInterruptedSave(const std::string &ztPath, const Places &places);

// Reads the program's copy `copy` into `settings`. No copy yet is the normal
// first start and no failure; anything else that keeps it from being read is,
// and leaves `settings` as they were.
Result LoadSettingsCopy(const std::filesystem::path &copy, TankSettings &settings);

} // namespace brinevar
