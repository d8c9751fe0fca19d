// Where the program lives, and where it keeps its own copy of the settings.
#pragma once

#include <QString>

#include <filesystem>

namespace brinevar {

// The folder that holds the executable, without a trailing separator.
QString ProgramFolder();
// Makes ProgramFolder() answer `folder`; an empty text restores the real one.
void SetProgramFolder(const QString &folder);

// The folder the build installs the executable to; empty when unknown.
QString InstalledProgramFolder();

// Whether `folder` holds an installed copy, which must not write beside
// itself: the folder the build installs to, a folder under Program Files, an
// app bundle, or any folder the user cannot write.
bool IsInstalledCopy(const QString &folder);

// The folder for tanks.ini: the program folder for a build or portable copy,
// else (an installed copy) the per-user application data folder.
QString SettingsCopyFolder();

// `fileName` in the settings copy folder, with the platform's separators.
QString SettingsCopyFile(const QString &fileName);

// A file name as the operating system wants it.
std::filesystem::path ToFileSystemPath(const QString &name);
QString FromFileSystemPath(const std::filesystem::path &path);

} // namespace brinevar
