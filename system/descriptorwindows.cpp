// The file descriptor calls on Windows, through the C runtime, and the
// system's errors told in its own words.
#include "descriptor.h"
#include "systemerror.h"
#include "widetext.h"

#include <algorithm>
#include <cerrno>

#include <fcntl.h>
#include <sys/stat.h>
#define WIN32_LEAN_AND_MEAN
#include <io.h>
#include <windows.h>

namespace brinevar {

int OpenForReading(const std::filesystem::path &path)
{
    return _wopen(path.c_str(), _O_RDONLY | _O_BINARY);
}

int OpenNew(const std::filesystem::path &path)
{
    return _wopen(path.c_str(), _O_CREAT | _O_EXCL | _O_WRONLY | _O_BINARY, _S_IREAD | _S_IWRITE);
}

int OpenExisting(const std::filesystem::path &path)
{
    return _wopen(path.c_str(), _O_WRONLY | _O_BINARY);
}

long long ReadSome(int fd, char *into, std::size_t size)
{
    return _read(fd, into, unsigned(std::min<std::size_t>(size, 1 << 30)));
}

// Straight to the system: Wine's C runtime says "Invalid argument" when a
// write fills the disk.
bool WriteAll(int fd, std::string_view bytes)
{
    const HANDLE file = reinterpret_cast<HANDLE>(_get_osfhandle(fd));
    while (!bytes.empty()) {
        DWORD put = 0;
        if (!WriteFile(file, bytes.data(), DWORD(std::min<std::size_t>(bytes.size(), 1 << 30)),
                       &put, nullptr) ||
            put == 0) {
            switch (GetLastError()) {
            case ERROR_DISK_FULL:
            case ERROR_HANDLE_DISK_FULL:
                errno = ENOSPC;
                break;
            case ERROR_ACCESS_DENIED:
                errno = EACCES;
                break;
            default:
                errno = EIO;
            }
            return false;
        }
        bytes.remove_prefix(std::size_t(put));
    }
    return true;
}

bool WriteAllAt(int fd, std::string_view bytes, std::uintmax_t offset)
{
    return _lseeki64(fd, (long long)offset, SEEK_SET) >= 0 && WriteAll(fd, bytes);
}

bool Truncate(int fd, std::size_t size)
{
    if (const errno_t error = _chsize_s(fd, (long long)size)) {
        errno = error;
        return false;
    }
    return true;
}

bool Sync(int fd)
{
    return _commit(fd) == 0;
}

bool Close(int fd)
{
    return _close(fd) == 0;
}

std::optional<std::uintmax_t> OrdinaryFileSize(int fd)
{
    struct _stat64 status;
    if (_fstat64(fd, &status) != 0 || (status.st_mode & _S_IFMT) != _S_IFREG)
        return std::nullopt;
    return std::uintmax_t(status.st_size);
}

void ClearFailure()
{
    errno = 0;
    _doserrno = 0;
}

// The C runtime keeps the system's error beside its own errno for it.
std::error_code LastFailure(int fallback)
{
    if (_doserrno)
        return SystemError(_doserrno);
    return {errno ? errno : fallback, std::generic_category()};
}

namespace {

// From Windows 8 on; earlier systems have no words for it.
constexpr int kErrorDirectoryNotSupported = 336;

class WindowsErrors : public std::error_category {
public:
    const char *name() const noexcept override { return "Windows"; }
    std::string message(int code) const override
    {
        wchar_t *text = nullptr;
        const DWORD length =
            FormatMessageW(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM |
                               FORMAT_MESSAGE_IGNORE_INSERTS,
                           nullptr, DWORD(code), 0, reinterpret_cast<wchar_t *>(&text), 0, nullptr);
        std::wstring wide(text ? text : L"", length);
        LocalFree(text);
        while (!wide.empty() && (wide.back() == L'\n' || wide.back() == L'\r'))
            wide.pop_back();
        if (!wide.empty())
            return WideToUtf8(wide);
        // A system without words for it: the C library's for the same.
        const std::error_condition same = default_error_condition(code);
        if (same.category() != *this)
            return same.message();
        return "Windows error " + std::to_string(code);
    }
    std::error_condition default_error_condition(int code) const noexcept override
    {
        if (code == kErrorDirectoryNotSupported)
            return std::errc::is_a_directory;
        const std::error_condition same = std::system_category().default_error_condition(code);
        return same.category() == std::generic_category() ? same
                                                          : std::error_condition(code, *this);
    }
};

} // namespace

std::error_code SystemError(unsigned long code)
{
    static const WindowsErrors category;
    return {int(code), category};
}

std::error_code FolderInTheWay()
{
    return SystemError(kErrorDirectoryNotSupported);
}

} // namespace brinevar
