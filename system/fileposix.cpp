// The file calls on Linux and other POSIX systems. Each reads errno at once,
// right after the call that set it.
#include "file.h"

#include <cerrno>

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace brinevar {

namespace fs = std::filesystem;

namespace {

std::error_code Errno()
{
    return {errno ? errno : EIO, std::generic_category()};
}

} // namespace

Outcome<File> File::Open(const fs::path &path, int flags, int mode)
{
    const int fd = open(path.c_str(), flags | O_CLOEXEC, mode);
    if (fd < 0)
        return Errno();
    return File(fd);
}

Outcome<File> File::OpenForReading(const fs::path &path)
{
    return Open(path, O_RDONLY | O_NONBLOCK | O_NOCTTY);
}

Outcome<File> File::CreateNew(const fs::path &path)
{
    return Open(path, O_WRONLY | O_CREAT | O_EXCL, 0666);
}

Outcome<File> File::OpenExisting(const fs::path &path)
{
    return Open(path, O_WRONLY | O_NOCTTY);
}

Outcome<File> File::OpenForLocking(const fs::path &path)
{
    return Open(path, O_RDWR | O_CREAT | O_NOCTTY, 0600);
}

// The lock goes with the descriptor.
void File::Release()
{
    if (fd_ >= 0)
        close(fd_);
    fd_ = -1;
    locked_ = false;
}

Outcome<std::size_t> File::ReadSome(char *into, std::size_t size)
{
    for (;;) {
        const ssize_t got = read(fd_, into, size);
        if (got >= 0)
            return std::size_t(got);
        if (errno != EINTR)
            return Errno();
    }
}

std::error_code File::WriteAll(std::string_view bytes)
{
    while (!bytes.empty()) {
        const ssize_t put = write(fd_, bytes.data(), bytes.size());
        if (put < 0 && errno == EINTR)
            continue;
        if (put <= 0)
            return Errno();
        bytes.remove_prefix(std::size_t(put));
    }
    return {};
}

std::error_code File::WriteAllAt(std::string_view bytes, std::uintmax_t offset)
{
    while (!bytes.empty()) {
        const ssize_t put = pwrite(fd_, bytes.data(), bytes.size(), off_t(offset));
        if (put < 0 && errno == EINTR)
            continue;
        if (put <= 0)
            return Errno();
        bytes.remove_prefix(std::size_t(put));
        offset += std::uintmax_t(put);
    }
    return {};
}

std::error_code File::Truncate(std::uintmax_t size)
{
    return ftruncate(fd_, off_t(size)) == 0 ? std::error_code() : Errno();
}

std::error_code File::Sync()
{
    return fsync(fd_) == 0 ? std::error_code() : Errno();
}

std::error_code File::Close()
{
    const int fd = std::exchange(fd_, -1);
    locked_ = false;
    return close(fd) == 0 ? std::error_code() : Errno();
}

Outcome<std::uintmax_t> File::OrdinarySize() const
{
    struct stat status;
    if (fstat(fd_, &status) != 0)
        return Errno();
    if (!S_ISREG(status.st_mode))
        return make_error_code(FileProblem::NotOrdinaryFile);
    return std::uintmax_t(status.st_size);
}

std::error_code File::TryLock()
{
    if (flock(fd_, LOCK_EX | LOCK_NB) == 0) {
        locked_ = true;
        return {};
    }
    if (errno == EWOULDBLOCK || errno == EINTR)
        return std::make_error_code(std::errc::resource_unavailable_try_again);
    return Errno();
}

std::error_code FolderInTheWay()
{
    return std::make_error_code(std::errc::is_a_directory);
}

// access() asks as the real user would be asked: a superuser may write anything.
std::error_code MayWrite(const fs::path &file)
{
    return access(file.c_str(), W_OK) == 0 ? std::error_code() : Errno();
}

// The new file gets the former one's owner, group and permission bits. False
// when the saver may not give it that owner or group (another user's file, or
// a group the saver is not in): the file would be taken from them.
bool KeepOwnerAndModeOf(const fs::path &former, const File &file)
{
    struct stat status, fresh;
    const int fd = file.descriptor();
    if (stat(former.c_str(), &status) != 0 || fstat(fd, &fresh) != 0)
        return true;
    if ((status.st_uid != fresh.st_uid || status.st_gid != fresh.st_gid) &&
        fchown(fd, status.st_uid, status.st_gid) != 0)
        return false;
    // The mode of a file just made, and its owner's, cannot be refused.
    fchmod(fd, status.st_mode & 07777);
    return true;
}

std::error_code Replace(const fs::path &from, const fs::path &to)
{
    std::error_code error;
    fs::rename(from, to, error);
    return error;
}

// A second name, which link() refuses to give over an existing file, and
// the first taken away: no moment in which an existing file could be
// replaced. A file system without links (FAT) gets a look, then a rename:
// between the two only a process outside the save lock could make the file.
std::error_code PutNew(const fs::path &from, const fs::path &to)
{
    if (link(from.c_str(), to.c_str()) == 0) {
        unlink(from.c_str()); // a name left behind is a temporary the next save removes
        return {};
    }
    if (errno != EPERM && errno != EOPNOTSUPP && errno != ENOSYS)
        return Errno();
    struct stat status;
    if (lstat(to.c_str(), &status) == 0)
        return std::make_error_code(std::errc::file_exists);
    return Replace(from, to);
}

// So that the new name survives a power cut as well as the new bytes.
void SyncFolder(const fs::path &folder)
{
    const int fd = open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd >= 0) {
        fsync(fd);
        close(fd);
    }
}

// Another user's save of a shared folder is not ours to judge.
bool OwnedByMe(const fs::path &file)
{
    struct stat status;
    return lstat(file.c_str(), &status) == 0 && S_ISREG(status.st_mode) &&
           status.st_uid == geteuid();
}

// The file that a write to `path` lands in: symbolic links followed to the
// end, a missing file included (a dangling link names the file to create).
Outcome<fs::path> FollowLinks(const fs::path &path)
{
    fs::path current = path;
    for (int hops = 0; hops < 40; ++hops) {
        std::error_code error;
        const fs::file_status status = fs::symlink_status(current, error);
        if (status.type() == fs::file_type::not_found)
            return current;
        if (error)
            return error;
        if (!fs::is_symlink(status))
            return current;
        const fs::path link = fs::read_symlink(current, error);
        if (error)
            return error;
        current = link.is_absolute() ? link : current.parent_path() / link;
    }
    return std::make_error_code(std::errc::too_many_symbolic_link_levels);
}

// Files here carry no hidden or system marks; a regular file (or a link to
// one) is an ordinary file.
bool IsOrdinaryFile(const std::string &name)
{
    std::error_code error;
    return fs::is_regular_file(name, error);
}

} // namespace brinevar
