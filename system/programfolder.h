// Where the program lives, and where it keeps its own copy of the settings.
#pragma once

#include <filesystem>
#include <string>
#include <string_view>

namespace brinevar {

// The folder that holds the executable.
std::filesystem::path ProgramFolder();
// Makes ProgramFolder() answer `folder`; an empty path restores the real one.
void SetProgramFolder(const std::filesystem::path &folder);

// The folder the build installs the executable to; empty when unknown.
std::filesystem::path InstalledProgramFolder();

// Whether `folder` holds an installed copy, which must not write beside
// itself: the folder the build installs to, a folder under Program Files, an
// app bundle, or any folder the user cannot write.
bool IsInstalledCopy(const std::filesystem::path &folder);

// The per-user folder for the program's own data ("Brinevar" in the
// system's application data folder); empty when the system names none.
std::filesystem::path UserDataFolder();

// The folder for tanks.ini: the program folder for a build or portable copy,
// else (an installed copy) the per-user data folder, created when missing.
std::filesystem::path SettingsCopyFolder();

// File names as the program's texts (UTF-8) and as the system takes them.
std::filesystem::path PathFromUtf8(std::string_view utf8);
std::string PathToUtf8(const std::filesystem::path &path);

} // namespace brinevar
