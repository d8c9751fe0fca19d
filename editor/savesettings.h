// Where "Save and Exit" puts the settings, and the writing of both files.
#pragma once

#include "catalogue.h"
#include "savelock.h"

#include <chrono>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <system_error>

namespace brinevar {

class FileError;

inline constexpr std::string_view kGameFileName = "tanks.cfg";
inline constexpr std::string_view kSettingsCopyName = "tanks.ini";

// The game's file in the Updates folder, as this system names that folder
// (UpdatesFolderOnThisSystem). The folder is meant to end with a separator;
// when it does not, one is put in rather than letting the file name run on
// into the folder's own name. An empty folder leaves the file in the working
// folder.
std::filesystem::path GameFilePath(const std::string &ztPath);

// The program's own copy, read at the next start.
std::filesystem::path SettingsCopyPath();

// Writes the game's file and then the program's copy, each replaced whole or
// not at all, and nothing when a text cannot be written exactly, under the save lock (waiting up to `lockWait` for another
// copy's save). Stops at the first failure of any kind and returns what to
// tell the user: the file, the reason, and whether the game's file was saved.
std::optional<std::string> SaveSettingsFiles(const std::string &ztPath,
                                             const TankSettings &settings,
                                             std::chrono::milliseconds lockWait = kSaveLockWait);

// "Could not <verb> <file>:" and the reason, for a message box.
std::string DescribeFailure(std::string_view verb, const std::filesystem::path &file,
                            const std::string &reason);
std::string DescribeFileError(std::string_view verb, const FileError &error);

} // namespace brinevar
