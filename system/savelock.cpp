#include "savelock.h"

#include "programfolder.h"

#include <thread>

#ifdef _WIN32
#define WIN32_LEAN_AND_MEAN
#include <windows.h>
#else
#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>
#endif

namespace brinevar {
namespace {

using Clock = std::chrono::steady_clock;
constexpr std::chrono::milliseconds kPoll{5};

enum class Attempt { Held, Busy, Failed };

#ifdef _WIN32
Attempt TryLock(void *handle)
{
    OVERLAPPED start{};
    if (LockFileEx(handle, LOCKFILE_EXCLUSIVE_LOCK | LOCKFILE_FAIL_IMMEDIATELY, 0, 1, 0, &start))
        return Attempt::Held;
    return GetLastError() == ERROR_LOCK_VIOLATION ? Attempt::Busy : Attempt::Failed;
}
#else
Attempt TryLock(int fd)
{
    if (flock(fd, LOCK_EX | LOCK_NB) == 0)
        return Attempt::Held;
    return errno == EWOULDBLOCK || errno == EINTR ? Attempt::Busy : Attempt::Failed;
}
#endif

} // namespace

std::filesystem::path SaveLockPath()
{
    const auto folder = UserDataFolder();
    if (folder.empty())
        return {};
    std::error_code ignored; // a folder that cannot be made leaves the save unlocked
    std::filesystem::create_directories(folder, ignored);
    return folder / "save.lock";
}

std::filesystem::path SaveLockBeside(const std::filesystem::path &settingsCopy)
{
    std::filesystem::path name = ".";
    name += settingsCopy.filename();
    name += ".lock";
    return settingsCopy.parent_path() / name;
}

// The system drops the lock of a process that dies, so a killed save never
// leaves it held.
SaveLock::SaveLock(const std::filesystem::path &file, std::chrono::milliseconds wait)
{
    if (file.empty())
        return;
#ifdef _WIN32
    const HANDLE handle = CreateFileW(file.c_str(), GENERIC_READ | GENERIC_WRITE,
                                      FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                      nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (handle == INVALID_HANDLE_VALUE)
        return;
    handle_ = handle;
#else
    fd_ = open(file.c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOCTTY, 0600);
    if (fd_ < 0)
        return;
#endif
    const auto deadline = Clock::now() + wait;
    for (;;) {
#ifdef _WIN32
        const Attempt attempt = TryLock(handle_);
#else
        const Attempt attempt = TryLock(fd_);
#endif
        if (attempt != Attempt::Busy) {
            held_ = attempt == Attempt::Held;
            return;
        }
        if (Clock::now() >= deadline) {
            timedOut_ = true;
            return;
        }
        std::this_thread::sleep_for(kPoll);
    }
}

SaveLock::~SaveLock()
{
#ifdef _WIN32
    if (handle_) {
        if (held_) {
            OVERLAPPED start{};
            UnlockFileEx(handle_, 0, 1, 0, &start);
        }
        CloseHandle(handle_);
    }
#else
    if (fd_ >= 0)
        close(fd_); // and with it the lock
#endif
}

} // namespace brinevar
