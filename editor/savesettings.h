// Where "Save and Exit" puts the settings, the writing of both files, and the
// reading of the program's copy at start.
#pragma once

#include "catalogue.h"
#include "elevationrequest.h"
#include "programfolder.h"
#include "result.h"

#include <filesystem>
#include <string>
#include <string_view>

namespace brinevar {

inline constexpr std::string_view kGameFileName = "tanks.cfg";

// The game's file in the Updates folder, as this system names that folder
// (UpdatesFolderOnThisSystem). The folder is meant to end with a separator;
// when it does not, one is put in rather than letting the file name run on
// into the folder's own name. An empty folder leaves the file in the working
// folder.
std::filesystem::path GameFilePath(const std::string &ztPath);

// Writes the game's file and then the program's copy (places.settingsCopy),
// each replaced whole or not at all, and nothing when a text cannot be
// written exactly, under the save lock (places.saveLock,
// waiting up to kSaveLockWait for another copy's save; a file written in
// place keeps its old text in the lock's SaveJournal meanwhile). Stops at the first
// failure of any kind and says what to tell the user: the file, the reason,
// and whether the game's file was saved. `gameFolder`, when given, writes
// the Updates folder's files instead (see SaveAsAdministrator).
Result SaveSettingsFiles(const std::string &ztPath, const TankSettings &settings,
                         const Places &places, const FolderWriter &gameFolder = {});

// A save that was killed while it wrote a file in place leaves a journal
// beside its lock; its file (the game's file in `ztPath`, or the program's
// copy) gets its old text back (see UndoInterruptedOverwrite) before the
// program reads or writes anything. Leaves any journal that another copy's
// running save holds alone.
void UndoInterruptedSave(const std::string &ztPath, const Places &places);

// Reads the program's copy `copy` into `settings`. No copy yet is the normal
// first start and no failure; anything else that keeps it from being read is,
// and leaves `settings` as they were.
Result LoadSettingsCopy(const std::filesystem::path &copy, TankSettings &settings);

} // namespace brinevar
