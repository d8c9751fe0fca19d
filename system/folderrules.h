// What the folder rules of programfolder.cpp ask each system
// (folderswindows.cpp, foldersposix.cpp).
#pragma once

#include <filesystem>

namespace brinevar {

// A folder as the file system sees it: links resolved while it exists, so
// that /bin and /usr/bin, or a trailing separator, make no difference.
std::filesystem::path Resolved(const std::filesystem::path &folder);

// Whether two folders are one, as this system compares names.
bool SameFolder(const std::filesystem::path &a, const std::filesystem::path &b);

// Whether `folder` lies where this system installs programs for everyone.
bool InSystemProgramFolders(const std::filesystem::path &folder);

// Whether this user may create files in `folder`.
bool IsWritableFolder(const std::filesystem::path &folder);

// The full name of the running executable.
std::filesystem::path ExecutablePath();

// The system's per-user application data folder; empty when it names none.
std::filesystem::path UserApplicationData();

} // namespace brinevar
