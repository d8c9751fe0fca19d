// The file calls of the two systems (fileposix.cpp, filewindows.cpp; what
// they share in file.cpp): open, read, write, sync, lock, replace and the
// questions around them. Each call returns its own failure, an error_code or
// an Outcome carrying one, so that no reason waits in a global for the caller
// to read it back.
#pragma once

#include "result.h"

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <system_error>
#include <utility>

namespace brinevar {

// A value, or the reason there is none.
template <class T> class [[nodiscard]] Outcome {
public:
    Outcome(T value) : value_(std::move(value)) {}
    Outcome(std::error_code reason) : reason_(reason) {}

    explicit operator bool() const { return value_.has_value(); }
    T &operator*() { return *value_; }
    const T &operator*() const { return *value_; }
    T *operator->() { return &*value_; }
    const T *operator->() const { return &*value_; }
    std::error_code error() const { return reason_; }

private:
    std::optional<T> value_;
    std::error_code reason_;
};

// What can be wrong with a file that the system has no error code for.
enum class FileProblem { NotOrdinaryFile = 1 };
std::error_code make_error_code(FileProblem problem);

// A folder where a file should be, in the system's words where it has some.
std::error_code FolderInTheWay();

// A Windows error code, told in Windows' own words (FormatMessageW) and equal
// to the errno condition it stands for (std::errc::permission_denied, ...).
// Windows only.
std::error_code SystemError(unsigned long code);

// An open file, closed with its object.
class File {
public:
    // Without waiting: a pipe nobody writes to opens at once.
    static Outcome<File> OpenForReading(const std::filesystem::path &path);
    // A file that must not exist yet, for writing.
    static Outcome<File> CreateNew(const std::filesystem::path &path);
    // An existing file for writing, as it is.
    static Outcome<File> OpenExisting(const std::filesystem::path &path);
    // A file to lock, created when missing.
    static Outcome<File> OpenForLocking(const std::filesystem::path &path);

    File() = default;
    File(File &&other) noexcept : fd_(std::exchange(other.fd_, -1)), locked_(other.locked_) {}
    File &operator=(File &&other) noexcept;
    // A file only read or locked loses nothing by a close that fails; one
    // written is closed by Close(), whose failure is told.
    ~File();

    // Up to `size` bytes; 0 at the end.
    Outcome<std::size_t> ReadSome(char *into, std::size_t size);
    std::error_code WriteAll(std::string_view bytes);
    // Writes at `offset` from the start of the file.
    std::error_code WriteAllAt(std::string_view bytes, std::uintmax_t offset);
    std::error_code Truncate(std::uintmax_t size);
    // Flushes to the disk.
    std::error_code Sync();
    std::error_code Close();
    // The size of an ordinary file; FileProblem::NotOrdinaryFile for a
    // folder, device or pipe.
    Outcome<std::uintmax_t> OrdinarySize() const;
    // One try at the lock, without waiting: held until the file is closed;
    // std::errc::resource_unavailable_try_again while another holds it.
    std::error_code TryLock();

    // The descriptor (on Windows the C runtime's), for the calls below.
    int descriptor() const { return fd_; }

private:
    explicit File(int fd) : fd_(fd) {}
    // The system's open with these flags and, for a file it makes, mode.
    static Outcome<File> Open(const std::filesystem::path &path, int flags, int mode = 0);
    void Release();

    int fd_ = -1;
    bool locked_ = false;
};

// The content of an ordinary file of at most `limit` bytes: the open's or
// read's reason when it cannot be read, FileProblem::NotOrdinaryFile for
// what is no file, and std::errc::file_too_large for a larger one, which is
// never read (nor one that grows past `limit` while it is read).
Outcome<std::string> ReadWhole(const std::filesystem::path &path, std::uintmax_t limit);

// Why this user may not write the existing `file`; empty when they may.
std::error_code MayWrite(const std::filesystem::path &file);
// Gives the new `file` the former file's owner, group and permission bits.
// False when that would take the file from its owner.
bool KeepOwnerAndModeOf(const std::filesystem::path &former, const File &file);
// Puts `from` in place of `to` in one step.
std::error_code Replace(const std::filesystem::path &from, const std::filesystem::path &to);
// Gives `from` the name `to` only where no file has that name:
// std::errc::file_exists, `to` untouched, when one has.
std::error_code PutNew(const std::filesystem::path &from, const std::filesystem::path &to);
// The file that a write to `path` lands in, symbolic links followed.
Outcome<std::filesystem::path> FollowLinks(const std::filesystem::path &path);
// Makes a rename in `folder` last through a power cut. A folder that cannot
// be flushed leaves the rename as safe as the system keeps it anyway.
void SyncFolder(const std::filesystem::path &folder);
// Whether `file` is an ordinary file of this user's, theirs to remove.
bool OwnedByMe(const std::filesystem::path &file);
// True when `name` (UTF-8) is an ordinary file: not a folder or a device,
// and on Windows not a hidden or system file either.
bool IsOrdinaryFile(const std::string &name);

// A file name as the user reads it: UTF-8, the system's own separators.
std::string ShownPath(const std::filesystem::path &file);
// "Could not <verb> <file>:" and the reason, for a message box.
std::string DescribeFailure(std::string_view verb, const std::filesystem::path &file,
                            const std::string &reason);
// The same as a Result that keeps the system's reason as its cause.
Result FileFailure(std::string_view verb, const std::filesystem::path &file,
                   std::error_code reason);

} // namespace brinevar

template <> struct std::is_error_code_enum<brinevar::FileProblem> : std::true_type {
};
