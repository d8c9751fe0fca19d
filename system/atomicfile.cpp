#include "atomicfile.h"

#include "descriptor.h"
#include "inplacewrite.h"
#include "programfolder.h"

#include <cerrno>
#include <chrono>
#include <random>

#include <fcntl.h>
#include <sys/stat.h>
#ifdef _WIN32
#define WIN32_LEAN_AND_MEAN
#include <windows.h>

#include <aclapi.h>
#else
#include <unistd.h>
#endif

namespace brinevar {
namespace {

namespace fs = std::filesystem;

// What the two systems do differently around a replace.
#ifdef _WIN32
// NTFS permissions show only when writing; the read-only attribute shows here.
std::error_code MayWrite(const fs::path &file)
{
    const DWORD attributes = GetFileAttributesW(file.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY))
        return SystemError(ERROR_ACCESS_DENIED);
    return {};
}
bool KeepOwnerAndModeOf(const fs::path &, int)
{
    return true;
}
// What the user set on the former file (its access rights and attributes)
// goes to the new one before the rename, so that the rename is the one step
// that changes the file. ReplaceFileW would keep them as well, but Wine's
// moves the former file away before the new one comes in (a kill between
// leaves no file) and deletes what a symbolic link points to.
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
std::error_code Replace(const fs::path &from, const fs::path &to)
{
    TakeOverSetUp(to, from);
    if (MoveFileExW(from.c_str(), to.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
        return {};
    return SystemError(GetLastError());
}
// The file that a write to `path` lands in, as the system follows symbolic
// links (under Wine, Unix ones too). A link to a missing file is refused:
// replacing it by a file would undo what the user set up.
fs::path FollowLinks(const fs::path &path, std::error_code &error)
{
    const HANDLE file =
        CreateFileW(path.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                    nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        const DWORD reason = GetLastError();
        const DWORD attributes = GetFileAttributesW(path.c_str());
        if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_REPARSE_POINT))
            error = {int(reason), std::system_category()};
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
    return name;
}
void SyncFolder(const fs::path &) {}
bool OwnedByMe(const fs::path &)
{
    return true;
}
#else
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
#endif

// ".tanks.cfg.<number>.tmp": hidden, and plainly this file's.
std::string TemporaryPrefix(const fs::path &target)
{
    // Appended piece by piece: "." + name + "." trips a false -Wrestrict in
    // GCC 12's MinGW build.
    std::string prefix = ".";
    prefix += PathToUtf8(target.filename());
    prefix += '.';
    return prefix;
}

fs::path TemporaryNameFor(const fs::path &target)
{
    static std::mt19937_64 random(
        std::random_device{}() ^
        std::uint64_t(std::chrono::steady_clock::now().time_since_epoch().count()));
    return target.parent_path() /
           PathFromUtf8(TemporaryPrefix(target) + std::to_string(random() % 1000000000) + ".tmp");
}

bool IsTemporaryName(std::string_view name, std::string_view prefix)
{
    if (!name.starts_with(prefix) || !name.ends_with(".tmp"))
        return false;
    const std::string_view number = name.substr(prefix.size(), name.size() - prefix.size() - 4);
    return !number.empty() && number.find_first_not_of("0123456789") == std::string_view::npos;
}

} // namespace

std::error_code make_error_code(FileProblem problem)
{
    static const class : public std::error_category {
        const char *name() const noexcept override { return "brinevar file"; }
        std::string message(int) const override { return "Not an ordinary file"; }
    } category;
    return {int(problem), category};
}

FileError::FileError(const fs::path &file, std::error_code reason)
    : std::runtime_error(PathToUtf8(file) + ": " + reason.message()), file_(file), reason_(reason)
{
}

AtomicFile::AtomicFile(fs::path target, fs::path journal)
    : named_(std::move(target)), journal_(std::move(journal))
{
    std::error_code error;
    target_ = FollowLinks(named_, error);
    if (error)
        fail(error);
    const fs::file_status status = fs::status(target_, error);
    const bool exists = status.type() != fs::file_type::not_found;
    if (error && exists)
        fail(error);
    // A folder, device or pipe would only fail at the last step, or worse, be
    // replaced by a file; say so now.
    if (fs::is_directory(status))
        fail(FolderInTheWay());
    if (exists && !fs::is_regular_file(status))
        fail(make_error_code(FileProblem::NotOrdinaryFile));
    if (exists)
        if (const std::error_code refused = MayWrite(target_))
            fail(refused);

    for (int attempt = 0; fd_ < 0 && attempt < 16; ++attempt) {
        temporary_ = TemporaryNameFor(target_);
        ClearFailure();
        fd_ = OpenNew(temporary_);
        if (fd_ < 0 && errno != EEXIST)
            break;
    }
    if (fd_ < 0) {
        const std::error_code reason = LastFailure();
        temporary_.clear();
        // No file can be made in the folder, yet the file itself may be written.
        if (exists && (reason == std::errc::permission_denied ||
                       reason == std::errc::operation_not_permitted)) {
            inPlace_ = true;
            return;
        }
        fail(reason);
    }
    if (exists && !KeepOwnerAndModeOf(target_, fd_)) {
        // Another user's file, which this user may write: written in place it
        // stays theirs.
        Close(fd_);
        fd_ = -1;
        std::error_code ignored;
        fs::remove(temporary_, ignored);
        temporary_.clear();
        inPlace_ = true;
    }
}

AtomicFile::~AtomicFile()
{
    if (fd_ >= 0)
        Close(fd_);
    if (!temporary_.empty()) {
        std::error_code ignored;
        fs::remove(temporary_, ignored);
    }
}

void AtomicFile::write(std::string_view bytes)
{
    if (inPlace_) {
        pending_ += bytes;
        return;
    }
    ClearFailure();
    if (!WriteAll(fd_, bytes))
        fail(LastFailure());
}

void AtomicFile::commit()
{
    ClearFailure();
    if (inPlace_) {
        if (const std::error_code reason = OverwriteInPlace(target_, pending_, journal_))
            fail(reason);
        return;
    }
    const bool flushed = Sync(fd_);
    const std::error_code reason = LastFailure();
    const bool closed = Close(fd_);
    fd_ = -1;
    if (!flushed || !closed)
        fail(flushed ? LastFailure() : reason);
    if (const auto error = Replace(temporary_, target_))
        fail(error);
    temporary_.clear();
    SyncFolder(target_.parent_path());
}

void AtomicFile::fail(std::error_code reason) const
{
    throw FileError(named_, reason);
}

void RemoveLeftOverTemporaries(const fs::path &target)
{
    std::error_code error;
    const fs::path file = FollowLinks(target, error);
    if (error)
        return;
    const std::string prefix = TemporaryPrefix(file);
    const fs::path folder = file.parent_path().empty() ? fs::path(".") : file.parent_path();
    for (fs::directory_iterator entry(folder, error), end; !error && entry != end;
         entry.increment(error)) {
        const fs::path &path = entry->path();
        std::error_code ignored;
        if (IsTemporaryName(PathToUtf8(path.filename()), prefix) && OwnedByMe(path))
            fs::remove(path, ignored);
    }
}

} // namespace brinevar
