// The steps around a replace on Windows.
#include "replacesteps.h"
#include "systemerror.h"

#define WIN32_LEAN_AND_MEAN
#include <windows.h>

#include <aclapi.h>

namespace brinevar {

namespace fs = std::filesystem;

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

namespace {

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

} // namespace

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

} // namespace brinevar
