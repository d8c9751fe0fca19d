// What atomicfile.cpp asks each system around a replace
// (atomicfilewindows.cpp, atomicfileposix.cpp).
#pragma once

#include <filesystem>
#include <system_error>

namespace brinevar {

// Why this user may not write the existing `file`; empty when they may.
std::error_code MayWrite(const std::filesystem::path &file);

// Gives the new file open as `fd` the former file's owner, group and
// permission bits. False when that would take the file from its owner.
bool KeepOwnerAndModeOf(const std::filesystem::path &former, int fd);

// Puts `from` in place of `to` in one step.
std::error_code Replace(const std::filesystem::path &from, const std::filesystem::path &to);

// The file that a write to `path` lands in, symbolic links followed.
std::filesystem::path FollowLinks(const std::filesystem::path &path, std::error_code &error);

// Makes a rename in `folder` last through a power cut.
void SyncFolder(const std::filesystem::path &folder);

// Whether `file` is an ordinary file of this user's, theirs to remove.
bool OwnedByMe(const std::filesystem::path &file);

} // namespace brinevar
