// The steps around a replace on Linux and other POSIX systems.
#include "descriptor.h"
#include "replacesteps.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace brinevar {

namespace fs = std::filesystem;

// access() asks as the real user would be asked: a superuser may write anything.
std::error_code MayWrite(const fs::path &file)
{
    return access(file.c_str(), W_OK) == 0 ? std::error_code() : LastFailure();
}

// The new file gets the former one's owner, group and permission bits. False
// when the saver may not give it that owner or group (another user's file, or
// a group the saver is not in): the file would be taken from them.
bool KeepOwnerAndModeOf(const fs::path &former, int fd)
{
    struct stat status, fresh;
    if (stat(former.c_str(), &status) != 0 || fstat(fd, &fresh) != 0)
        return true;
    if ((status.st_uid != fresh.st_uid || status.st_gid != fresh.st_gid) &&
        fchown(fd, status.st_uid, status.st_gid) != 0)
        return false;
    fchmod(fd, status.st_mode & 07777);
    return true;
}

std::error_code Replace(const fs::path &from, const fs::path &to)
{
    std::error_code error;
    fs::rename(from, to, error);
    return error;
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
fs::path FollowLinks(const fs::path &path, std::error_code &error)
{
    fs::path current = path;
    for (int hops = 0; hops < 40; ++hops) {
        const fs::file_status status = fs::symlink_status(current, error);
        if (status.type() == fs::file_type::not_found)
            error.clear();
        if (error || !fs::is_symlink(status))
            return current;
        const fs::path link = fs::read_symlink(current, error);
        if (error)
            return current;
        current = link.is_absolute() ? link : current.parent_path() / link;
    }
    error = std::make_error_code(std::errc::too_many_symbolic_link_levels);
    return current;
}

} // namespace brinevar
