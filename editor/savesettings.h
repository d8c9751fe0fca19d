// Where "Save and Exit" puts the settings, and the writing of both files.
#pragma once

#include "catalogue.h"

#include <QString>

#include <optional>

namespace brinevar {

class FileError;

// The game's file in the Updates folder. The folder is meant to end with a
// separator; when it does not, one is put in rather than letting the file
// name run on into the folder's own name. An empty folder leaves the file in
// the working folder.
QString GameFilePath(const QString &ztPath);

// The program's own copy, read at the next start.
QString SettingsCopyPath();

// Writes the game's file and then the program's copy, each replaced whole or
// not at all. Stops at the first failure and returns what to tell the user.
std::optional<QString> SaveSettingsFiles(const QString &ztPath, const TankSettings &settings);

// "Could not <verb> <file>:" and the reason, for a message box.
QString DescribeFileError(const QString &verb, const FileError &error);

} // namespace brinevar
