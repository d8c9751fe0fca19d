// The file calls on Windows, through the C runtime's descriptors, and the
// system's errors told in its own words. Each reads the runtime's errno and
// _doserrno at once, right after the call that set them.
#include "file.h"
#include "widetext.h"

#include <algorithm>
#include <cerrno>

#include <fcntl.h>
#include <sys/stat.h>
#define WIN32_LEAN_AND_MEAN
#include <io.h>
#include <windows.h>

#include <aclapi.h>

namespace brinevar {

namespace fs = std::filesystem;

namespace {

void ForgetFailure()
{
    errno = 0;
    _doserrno = 0;
}

// The C runtime keeps the system's error beside its own errno for it.
std::error_code RuntimeFailure()
{
    if (_doserrno)
        return SystemError(_doserrno);
    return {errno ? errno : EIO, std::generic_category()};
}

HANDLE Native(int fd)
{
    return reinterpret_cast<HANDLE>(_get_osfhandle(fd));
}

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

Outcome<File> File::Open(const fs::path &path, int flags, int mode)
{
    ForgetFailure();
    const int fd = _wopen(path.c_str(), flags | _O_BINARY, mode);
    if (fd < 0)
        return RuntimeFailure();
    return File(fd);
}

Outcome<File> File::OpenForReading(const fs::path &path)
{
    return Open(path, _O_RDONLY);
}

Outcome<File> File::CreateNew(const fs::path &path)
{
    return Open(path, _O_CREAT | _O_EXCL | _O_WRONLY, _S_IREAD | _S_IWRITE);
}

Outcome<File> File::OpenExisting(const fs::path &path)
{
    return Open(path, _O_WRONLY);
}

// Shared for deleting too, as no C runtime open is; a descriptor of its own
// then serves the calls above.
Outcome<File> File::OpenForLocking(const fs::path &path)
{
    const HANDLE handle = CreateFileW(path.c_str(), GENERIC_READ | GENERIC_WRITE,
                                      FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                      nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (handle == INVALID_HANDLE_VALUE)
        return SystemError(GetLastError());
    ForgetFailure();
    const int fd = _open_osfhandle(reinterpret_cast<intptr_t>(handle), _O_RDWR | _O_BINARY);
    if (fd < 0) {
        const std::error_code reason = RuntimeFailure();
        CloseHandle(handle);
        return reason;
    }
    return File(fd);
}

void File::Release()
{
    if (fd_ < 0)
        return;
    // Windows may keep a lock a while after its handle closes.
    if (locked_) {
        OVERLAPPED start{};
        UnlockFileEx(Native(fd_), 0, 1, 0, &start);
    }
    _close(fd_);
    fd_ = -1;
    locked_ = false;
}

Outcome<std::size_t> File::ReadSome(char *into, std::size_t size)
{
    ForgetFailure();
    const int got = _read(fd_, into, unsigned(std::min<std::size_t>(size, 1 << 30)));
    if (got < 0)
        return RuntimeFailure();
    return std::size_t(got);
}

// Straight to the system: Wine's C runtime says "Invalid argument" when a
// write fills the disk.
std::error_code File::WriteAll(std::string_view bytes)
{
    const HANDLE file = Native(fd_);
    while (!bytes.empty()) {
        DWORD put = 0;
        if (!WriteFile(file, bytes.data(), DWORD(std::min<std::size_t>(bytes.size(), 1 << 30)),
                       &put, nullptr) ||
            put == 0) {
            switch (GetLastError()) {
            case ERROR_DISK_FULL:
            case ERROR_HANDLE_DISK_FULL:
                return std::make_error_code(std::errc::no_space_on_device);
            case ERROR_ACCESS_DENIED:
                return std::make_error_code(std::errc::permission_denied);
            default:
                return std::make_error_code(std::errc::io_error);
            }
        }
        bytes.remove_prefix(std::size_t(put));
    }
    return {};
}

std::error_code File::WriteAllAt(std::string_view bytes, std::uintmax_t offset)
{
    ForgetFailure();
    if (_lseeki64(fd_, (long long)offset, SEEK_SET) < 0)
        return RuntimeFailure();
    return WriteAll(bytes);
}

std::error_code File::Truncate(std::uintmax_t size)
{
    ForgetFailure();
    if (const errno_t error = _chsize_s(fd_, (long long)size)) {
        if (_doserrno)
            return SystemError(_doserrno);
        return {error, std::generic_category()};
    }
    return {};
}

std::error_code File::Sync()
{
    ForgetFailure();
    return _commit(fd_) == 0 ? std::error_code() : RuntimeFailure();
}

std::error_code File::Close()
{
    const int fd = std::exchange(fd_, -1);
    locked_ = false;
    ForgetFailure();
    return _close(fd) == 0 ? std::error_code() : RuntimeFailure();
}

Outcome<std::uintmax_t> File::OrdinarySize() const
{
    struct _stat64 status;
    ForgetFailure();
    if (_fstat64(fd_, &status) != 0)
        return RuntimeFailure();
    if ((status.st_mode & _S_IFMT) != _S_IFREG)
        return make_error_code(FileProblem::NotOrdinaryFile);
    return std::uintmax_t(status.st_size);
}

std::error_code File::TryLock()
{
    OVERLAPPED start{};
    if (LockFileEx(Native(fd_), LOCKFILE_EXCLUSIVE_LOCK | LOCKFILE_FAIL_IMMEDIATELY, 0, 1, 0,
                   &start)) {
        locked_ = true;
        return {};
    }
    const DWORD reason = GetLastError();
    if (reason == ERROR_LOCK_VIOLATION)
        return std::make_error_code(std::errc::resource_unavailable_try_again);
    return SystemError(reason);
}

// NTFS permissions show only when writing; the read-only attribute shows here.
std::error_code MayWrite(const fs::path &file)
{
    const DWORD attributes = GetFileAttributesW(file.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY))
        return SystemError(ERROR_ACCESS_DENIED);
    return {};
}

bool KeepOwnerAndModeOf(const fs::path &, const File &)
{
    return true;
}

namespace {

// What the user set on the former file (its access rights and attributes)
// goes to the new one before the rename, so that the rename is the one step
// that changes the file. ReplaceFileW would keep them as well, but Wine's
// moves the former file away before the new one comes in (a kill between
// leaves no file) and deletes what a symbolic link points to. What cannot be
// taken over leaves the new file as the folder makes it, still the user's.
void TakeOverSetUp(const fs::path &former, const fs::path &fresh)
{
    PACL dacl = nullptr;
    PSECURITY_DESCRIPTOR descriptor = nullptr;
    if (GetNamedSecurityInfoW(former.c_str(), SE_FILE_OBJECT, DACL_SECURITY_INFORMATION, nullptr,
                              nullptr, &dacl, nullptr, &descriptor) == ERROR_SUCCESS) {
        SECURITY_DESCRIPTOR_CONTROL control = 0;
        DWORD revision = 0;
        GetSecurityDescriptorControl(descriptor, &control, &revision);
        // Inherited entries come again from the folder, which is the same.
        const SECURITY_INFORMATION which =
            DACL_SECURITY_INFORMATION |
            ((control & SE_DACL_PROTECTED) ? PROTECTED_DACL_SECURITY_INFORMATION
                                           : UNPROTECTED_DACL_SECURITY_INFORMATION);
        SetNamedSecurityInfoW(const_cast<wchar_t *>(fresh.c_str()), SE_FILE_OBJECT, which, nullptr,
                              nullptr, dacl, nullptr);
        LocalFree(descriptor);
    }
    if (const DWORD attributes = GetFileAttributesW(former.c_str());
        attributes != INVALID_FILE_ATTRIBUTES)
        SetFileAttributesW(fresh.c_str(), attributes);
}

} // namespace

std::error_code Replace(const fs::path &from, const fs::path &to)
{
    TakeOverSetUp(to, from);
    if (MoveFileExW(from.c_str(), to.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
        return {};
    return SystemError(GetLastError());
}

// Without MOVEFILE_REPLACE_EXISTING the move fails where `to` exists.
std::error_code PutNew(const fs::path &from, const fs::path &to)
{
    if (MoveFileExW(from.c_str(), to.c_str(), MOVEFILE_WRITE_THROUGH))
        return {};
    const DWORD reason = GetLastError();
    if (reason == ERROR_ALREADY_EXISTS || reason == ERROR_FILE_EXISTS)
        return std::make_error_code(std::errc::file_exists);
    return SystemError(reason);
}

// The file that a write to `path` lands in, as the system follows symbolic
// links (under Wine, Unix ones too). A link to a missing file is refused:
// replacing it by a file would undo what the user set up.
Outcome<fs::path> FollowLinks(const fs::path &path)
{
    const HANDLE file =
        CreateFileW(path.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                    nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        const DWORD reason = GetLastError();
        const DWORD attributes = GetFileAttributesW(path.c_str());
        if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_REPARSE_POINT))
            return std::error_code(int(reason), std::system_category());
        return path; // a missing file, or one that the next steps report on
    }
    std::wstring name(MAX_PATH, L'\0');
    DWORD size = GetFinalPathNameByHandleW(file, name.data(), DWORD(name.size()), 0);
    if (size >= name.size()) {
        name.resize(size);
        size = GetFinalPathNameByHandleW(file, name.data(), DWORD(name.size()), 0);
    }
    CloseHandle(file);
    if (size == 0 || size >= name.size())
        return path;
    name.resize(size);
    // "\\?\C:\..." as the user writes it.
    if (name.starts_with(L"\\\\?\\") && name.size() > 6 && name[5] == L':' && name[6] == L'\\')
        name.erase(0, 4);
    return fs::path(name);
}

void SyncFolder(const fs::path &) {}

bool OwnedByMe(const fs::path &)
{
    return true;
}

bool IsOrdinaryFile(const std::string &name)
{
    const DWORD attributes = GetFileAttributesW(Utf8ToWide(name).c_str());
    constexpr DWORD kNotOrdinary = FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_HIDDEN |
                                   FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_DEVICE;
    return !name.empty() && attributes != INVALID_FILE_ATTRIBUTES &&
           (attributes & kNotOrdinary) == 0;
}

} // namespace brinevar
