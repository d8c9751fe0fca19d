// Where "Save and Exit" puts the settings, the writing of both files, and the
// reading of the program's copy at start.
#pragma once

#include "catalogue.h"
#include "programfolder.h"
#include "result.h"
#include "savetransaction.h"

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

// Writes the game's file, then the copy of it in the VirtualStore folder
// where Windows keeps one (see VirtualStoreCopy), then the program's copy
// (places.settingsCopy), as one SaveTransaction: each replaced whole or not
// at all, nothing when a text cannot be written exactly, under the save
// lock. A game's file whose text Brinevar did not write is kept beside it
// first (see KeepFormerTexts). Stops at the first failure of any kind and
// says what to tell the user: the file, the reason, and whether the game's
// file was saved. `gameFolder`, when given, writes every file of the Updates
// folder instead (see SaveAsAdministrator).
Result SaveSettingsFiles(const std::string &ztPath, const TankSettings &settings,
                         const Places &places, StepWriter *gameFolder = nullptr);

// Undoes what a save killed half-way left in the game's file in `ztPath`, in
// its VirtualStore copy or in the program's copy (see
// SaveTransaction::UndoInterrupted), before the program reads or writes
// anything.
void UndoInterruptedSave(const std::string &ztPath, const Places &places);

// Reads the settings that start-up shows into `settings`: the program's copy
// (places.settingsCopy); without one yet, the game's file in `ztPath`, its
// VirtualStore copy first, which the game reads in its place. No file at
// all is the normal first start and no failure, and a game's file that
// cannot be read is passed over; anything that keeps the program's copy
// from being read is a failure, and leaves `settings` as they were.
Result LoadSettings(const std::string &ztPath, const Places &places, TankSettings &settings);

} // namespace brinevar
