// The file descriptor calls of the two systems, for the code that reads and
// writes the settings files. Each sets errno when it fails.
#pragma once

#include <cerrno>
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string_view>
#include <system_error>

namespace brinevar {

// Opens for reading without waiting: a pipe nobody writes to opens at once.
int OpenForReading(const std::filesystem::path &path);
// Creates a file that must not exist yet, for writing.
int OpenNew(const std::filesystem::path &path);
// Opens an existing file for writing, as it is.
int OpenExisting(const std::filesystem::path &path);

// Up to `size` bytes; 0 at the end, -1 on failure.
long long ReadSome(int fd, char *into, std::size_t size);
bool WriteAll(int fd, std::string_view bytes);
// Writes at `offset` from the start of the file.
bool WriteAllAt(int fd, std::string_view bytes, std::uintmax_t offset);
bool Truncate(int fd, std::size_t size);
// Flushes to the disk.
bool Sync(int fd);
bool Close(int fd);

// The size of an ordinary file; nothing for a folder, device or pipe.
std::optional<std::uintmax_t> OrdinaryFileSize(int fd);

// Forgets the last failure, before a call whose failure is to be told.
void ClearFailure();
// Why the calls above failed since ClearFailure: on Windows the system's own
// error where the system refused (SystemError), else errno; `fallback` when
// neither is set.
std::error_code LastFailure(int fallback = EIO);
// A folder where a file should be, in the system's words where it has some.
std::error_code FolderInTheWay();

} // namespace brinevar
