// The file descriptor calls on Linux and other POSIX systems.
#include "descriptor.h"

#include <cerrno>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace brinevar {

int OpenForReading(const std::filesystem::path &path)
{
    return open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
}

int OpenNew(const std::filesystem::path &path)
{
    return open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
}

int OpenExisting(const std::filesystem::path &path)
{
    return open(path.c_str(), O_WRONLY | O_CLOEXEC | O_NOCTTY);
}

long long ReadSome(int fd, char *into, std::size_t size)
{
    ssize_t got;
    do
        got = read(fd, into, size);
    while (got < 0 && errno == EINTR);
    return got;
}

bool WriteAll(int fd, std::string_view bytes)
{
    while (!bytes.empty()) {
        const ssize_t put = write(fd, bytes.data(), bytes.size());
        if (put < 0 && errno == EINTR)
            continue;
        if (put <= 0)
            return false;
        bytes.remove_prefix(std::size_t(put));
    }
    return true;
}

bool WriteAllAt(int fd, std::string_view bytes, std::uintmax_t offset)
{
    while (!bytes.empty()) {
        const ssize_t put = pwrite(fd, bytes.data(), bytes.size(), off_t(offset));
        if (put < 0 && errno == EINTR)
            continue;
        if (put <= 0)
            return false;
        bytes.remove_prefix(std::size_t(put));
        offset += std::uintmax_t(put);
    }
    return true;
}

bool Truncate(int fd, std::size_t size)
{
    return ftruncate(fd, off_t(size)) == 0;
}

bool Sync(int fd)
{
    return fsync(fd) == 0;
}

bool Close(int fd)
{
    return close(fd) == 0;
}

std::optional<std::uintmax_t> OrdinaryFileSize(int fd)
{
    struct stat status;
    if (fstat(fd, &status) != 0 || !S_ISREG(status.st_mode))
        return std::nullopt;
    return std::uintmax_t(status.st_size);
}

void ClearFailure()
{
    errno = 0;
}

std::error_code LastFailure(int fallback)
{
    return {errno ? errno : fallback, std::generic_category()};
}

std::error_code FolderInTheWay()
{
    return std::make_error_code(std::errc::is_a_directory);
}

} // namespace brinevar
