// Read access to the Windows registry, one value at a time, through
// advapi32's ANSI functions. Elsewhere a stand-in answers the one entry the
// program looks for (see registrystandin.h).
#pragma once

#include "result.h"

#include <cstdint>
#include <string>
#include <string_view>

namespace brinevar {

// A predefined root key.
using HKey = std::uintptr_t;

// HKEY_LOCAL_MACHINE, sign-extended from 32 bits as Windows defines it.
inline constexpr HKey kHKeyLocalMachine = HKey(std::intptr_t(std::int32_t(0x80000002u)));

// Why a read failed, as Windows' error codes.
inline constexpr long kErrorFileNotFound = 2;
inline constexpr long kErrorAccessDenied = 5;
inline constexpr long kErrorMoreData = 234;

// A failed read, with the registry's error code as its cause.
inline Result RegistryFailure(long status)
{
    static const class : public std::error_category {
        const char *name() const noexcept override { return "registry"; }
        std::string message(int code) const override
        {
            return "registry error " + std::to_string(code);
        }
    } registryErrors;
    const std::error_code cause(int(status), registryErrors);
    return Result::Failure("The registry value cannot be read: " + cause.message() + ".", cause);
}

// Value types.
inline constexpr std::uint32_t kRegSz = 1;
inline constexpr std::uint32_t kRegExpandSz = 2;
inline constexpr std::uint32_t kRegBinary = 3;
inline constexpr std::uint32_t kRegDword = 4;

// Access rights: query value, enumerate subkeys, notify, read control.
inline constexpr std::uint32_t kKeyRead = 0x20019;

// The entries that name the system information tool, under HKEY_LOCAL_MACHINE;
// the about box reads them and the stand-in answers the first.
inline constexpr std::string_view kSysInfoKey = "SOFTWARE\\Microsoft\\Shared Tools\\MSINFO";
inline constexpr std::string_view kSysInfoValue = "PATH"; // the tool's full path
inline constexpr std::string_view kSysInfoLocationKey =
    "SOFTWARE\\Microsoft\\Shared Tools Location";
inline constexpr std::string_view kSysInfoLocationValue = "MSINFO"; // the tool's folder

// A value as the registry holds it: its type and its bytes.
struct RegistryValue {
    std::uint32_t type = 0;
    std::string data;
};

class Registry {
public:
    virtual ~Registry() = default;

    // Reads one value as RegOpenKeyExA, RegQueryValueExA and RegCloseKey do
    // it together: opens `subKey` (ANSI) below `root` with options 0 and
    // `access`, reads `valueName` (ANSI) into a buffer of `bufferSize` bytes
    // and closes the key on every path. Fails with the first failing call's
    // result as the cause (data longer than the buffer gives
    // kErrorMoreData); else the value is in `value`.
    virtual Result ReadValue(HKey root, const std::string &subKey, const std::string &valueName,
                             std::uint32_t access, std::uint32_t bufferSize,
                             RegistryValue &value) = 0;
};

// The machine's registry: advapi32 on Windows, the stand-in elsewhere.
Registry &SystemRegistry();

} // namespace brinevar
