// A file only its owner may change, on Windows: its owner and access list.
// The elevated copy may run as another account (an administrator's name typed
// into the consent prompt), so the owner may be any user; what counts is that
// nobody else may write the file or its folder.
#include "elevationrequest.h"
#include "file.h"

#define WIN32_LEAN_AND_MEAN
#include <windows.h>

#include <aclapi.h>

#include <memory>
#include <vector>

namespace brinevar {
namespace {

namespace fs = std::filesystem;

// What lets an account change a file, or a folder's list of files.
constexpr ACCESS_MASK kWriteRights = FILE_WRITE_DATA | FILE_APPEND_DATA | FILE_DELETE_CHILD |
                                     DELETE | WRITE_DAC | WRITE_OWNER | GENERIC_WRITE |
                                     GENERIC_ALL | MAXIMUM_ALLOWED;

struct Closer {
    void operator()(HANDLE handle) const { CloseHandle(handle); }
};
using Handle = std::unique_ptr<void, Closer>;

struct LocalFreer {
    void operator()(void *memory) const { LocalFree(memory); }
};

// The account this process runs as.
std::vector<BYTE> ProcessUser()
{
    HANDLE token = nullptr;
    if (!OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, &token))
        return {};
    const Handle owned(token);
    DWORD size = 0;
    GetTokenInformation(token, TokenUser, nullptr, 0, &size);
    std::vector<BYTE> user(size);
    if (size == 0 || !GetTokenInformation(token, TokenUser, user.data(), size, &size))
        return {};
    return user;
}

bool IsWellKnown(PSID sid, WELL_KNOWN_SID_TYPE type)
{
    return IsWellKnownSid(sid, type) != FALSE;
}

// Whether the access list lets anyone but the owner, the system, the
// administrators or this process's own account write.
bool OthersMayWrite(PSID owner, PACL dacl)
{
    if (!owner || !dacl)
        return true; // no access list: everyone may do anything
    const std::vector<BYTE> self = ProcessUser();
    const PSID selfSid =
        self.empty() ? nullptr
                     : reinterpret_cast<TOKEN_USER *>(const_cast<BYTE *>(self.data()))->User.Sid;
    for (DWORD i = 0; i < dacl->AceCount; ++i) {
        void *entry = nullptr;
        if (!GetAce(dacl, i, &entry))
            return true;
        const auto *header = static_cast<ACE_HEADER *>(entry);
        if (header->AceFlags & INHERIT_ONLY_ACE)
            continue; // for what is made inside, not for this
        if (header->AceType == ACCESS_DENIED_ACE_TYPE)
            continue;
        if (header->AceType != ACCESS_ALLOWED_ACE_TYPE)
            return true; // a kind of entry that is not looked into
        auto *allowed = static_cast<ACCESS_ALLOWED_ACE *>(entry);
        if ((allowed->Mask & kWriteRights) == 0)
            continue;
        const PSID sid = &allowed->SidStart;
        if (EqualSid(sid, owner) || (selfSid && EqualSid(sid, selfSid)) ||
            IsWellKnown(sid, WinLocalSystemSid) || IsWellKnown(sid, WinBuiltinAdministratorsSid) ||
            IsWellKnown(sid, WinCreatorOwnerRightsSid))
            continue;
        return true;
    }
    return false;
}

// Refuses the open `handle`, else the file `name`, when others may write it.
Result RefuseSharedWrite(HANDLE handle, const fs::path &name)
{
    PSID owner = nullptr;
    PACL dacl = nullptr;
    PSECURITY_DESCRIPTOR descriptor = nullptr;
    const SECURITY_INFORMATION which = OWNER_SECURITY_INFORMATION | DACL_SECURITY_INFORMATION;
    const DWORD error = handle ? GetSecurityInfo(handle, SE_FILE_OBJECT, which, &owner, nullptr,
                                                 &dacl, nullptr, &descriptor)
                               : GetNamedSecurityInfoW(name.c_str(), SE_FILE_OBJECT, which, &owner,
                                                       nullptr, &dacl, nullptr, &descriptor);
    if (error != ERROR_SUCCESS)
        return FileFailure("read", name, SystemError(error));
    const std::unique_ptr<void, LocalFreer> freed(descriptor);
    if (OthersMayWrite(owner, dacl))
        return Result::Failure(ShownPath(name) + " may be changed by other users.");
    return {};
}

bool IsLinkOrFolder(DWORD attributes)
{
    return attributes & (FILE_ATTRIBUTE_REPARSE_POINT | FILE_ATTRIBUTE_DIRECTORY);
}

} // namespace

Result ReadPrivateFile(const fs::path &file, std::uintmax_t limit, std::string &bytes)
{
    const auto failed = [&](std::error_code reason) { return FileFailure("read", file, reason); };
    if (Result folder = RefuseSharedWrite(nullptr, file.parent_path()); !folder)
        return folder;
    // Not through a link: the link's own attributes show, and are refused.
    const HANDLE raw = CreateFileW(file.c_str(), GENERIC_READ | READ_CONTROL, FILE_SHARE_READ,
                                   nullptr, OPEN_EXISTING, FILE_FLAG_OPEN_REPARSE_POINT, nullptr);
    if (raw == INVALID_HANDLE_VALUE)
        return failed(SystemError(GetLastError()));
    const Handle opened(raw);
    BY_HANDLE_FILE_INFORMATION information{};
    if (!GetFileInformationByHandle(opened.get(), &information))
        return failed(SystemError(GetLastError()));
    if (IsLinkOrFolder(information.dwFileAttributes) || GetFileType(opened.get()) != FILE_TYPE_DISK)
        return failed(make_error_code(FileProblem::NotOrdinaryFile));
    if (Result own = RefuseSharedWrite(opened.get(), file); !own)
        return own;
    const std::uintmax_t size =
        (std::uintmax_t(information.nFileSizeHigh) << 32) | information.nFileSizeLow;
    if (size > limit)
        return failed(std::make_error_code(std::errc::file_too_large));
    std::string text(std::size_t(size), '\0');
    DWORD got = 0;
    if (size > 0 &&
        (!ReadFile(opened.get(), text.data(), DWORD(size), &got, nullptr) || got != size))
        return failed(got == size ? SystemError(GetLastError())
                                  : std::make_error_code(std::errc::io_error));
    bytes = std::move(text);
    return {};
}

Result RefuseLinksAndDevices(const fs::path &file)
{
    const DWORD folder = GetFileAttributesW(file.parent_path().c_str());
    if (folder == INVALID_FILE_ATTRIBUTES)
        return FileFailure("save", file, SystemError(GetLastError()));
    if (!(folder & FILE_ATTRIBUTE_DIRECTORY))
        return FileFailure("save", file, SystemError(ERROR_DIRECTORY));
    if (folder & FILE_ATTRIBUTE_REPARSE_POINT)
        return Result::Failure(DescribeFailure("save", file, std::string(kLinkRefused)));
    const DWORD attributes = GetFileAttributesW(file.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES) {
        const DWORD error = GetLastError();
        return error == ERROR_FILE_NOT_FOUND ? Result()
                                             : FileFailure("save", file, SystemError(error));
    }
    if (attributes & FILE_ATTRIBUTE_REPARSE_POINT)
        return Result::Failure(DescribeFailure("save", file, std::string(kLinkRefused)));
    if (attributes & FILE_ATTRIBUTE_DIRECTORY)
        return FileFailure("save", file, make_error_code(FileProblem::NotOrdinaryFile));
    return {};
}

} // namespace brinevar
