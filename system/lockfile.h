// The save lock's file as each system holds it (lockfileposix.cpp,
// lockfilewindows.cpp). The system drops the lock of a process that dies, so
// a killed save never leaves it held.
#pragma once

#include <cstdint>
#include <filesystem>

namespace brinevar::lockfile {

// A descriptor or a handle; kNone when the file could not be opened.
using Handle = std::intptr_t;
inline constexpr Handle kNone = -1;

enum class Attempt { Held, Busy, Failed };

// Opens `file` for locking, created when missing.
Handle Open(const std::filesystem::path &file);
// One try, without waiting.
Attempt TryLock(Handle handle);
// Gives up the lock, if held, and the file.
void Close(Handle handle, bool held);

} // namespace brinevar::lockfile
