#include "lockfile.h"

#include <cerrno>

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

namespace brinevar::lockfile {

Handle Open(const std::filesystem::path &file)
{
    const int fd = open(file.c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOCTTY, 0600);
    return fd < 0 ? kNone : fd;
}

Attempt TryLock(Handle handle)
{
    if (flock(int(handle), LOCK_EX | LOCK_NB) == 0)
        return Attempt::Held;
    return errno == EWOULDBLOCK || errno == EINTR ? Attempt::Busy : Attempt::Failed;
}

void Close(Handle handle, bool)
{
    close(int(handle)); // and with it the lock
}

} // namespace brinevar::lockfile
