#include "lockfile.h"

#define WIN32_LEAN_AND_MEAN
#include <windows.h>

namespace brinevar::lockfile {
namespace {
HANDLE Native(Handle handle)
{
    return reinterpret_cast<HANDLE>(handle);
}
} // namespace

Handle Open(const std::filesystem::path &file)
{
    const HANDLE handle = CreateFileW(file.c_str(), GENERIC_READ | GENERIC_WRITE,
                                      FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                      nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    return handle == INVALID_HANDLE_VALUE ? kNone : reinterpret_cast<Handle>(handle);
}

Attempt TryLock(Handle handle)
{
    OVERLAPPED start{};
    if (LockFileEx(Native(handle), LOCKFILE_EXCLUSIVE_LOCK | LOCKFILE_FAIL_IMMEDIATELY, 0, 1, 0,
                   &start))
        return Attempt::Held;
    return GetLastError() == ERROR_LOCK_VIOLATION ? Attempt::Busy : Attempt::Failed;
}

void Close(Handle handle, bool held)
{
    if (held) {
        OVERLAPPED start{};
        UnlockFileEx(Native(handle), 0, 1, 0, &start);
    }
    CloseHandle(Native(handle));
}

} // namespace brinevar::lockfile
