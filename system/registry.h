// Read access to the Windows registry, one value at a time (registrywindows.cpp;
// there is no registry elsewhere).
#pragma once

#include "result.h"

#include <cstdint>
#include <string>
#include <string_view>

namespace brinevar {

// A predefined root key, sign-extended from 32 bits as Windows defines them.
using HKey = std::uintptr_t;
inline constexpr HKey kHKeyCurrentUser = HKey(std::intptr_t(std::int32_t(0x80000001u)));
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

// The machine's registry, through advapi32.
Registry &SystemRegistry();

// The text of the string value `valueName` of `subKey` below `root`, through
// the registry's wide functions, so that names and text (UTF-8 here) keep
// every character. Fails, with the registry's reason as the cause, when the
// key or the value is missing or the value holds no string (type 1).
Result ReadRegistryText(HKey root, const std::string &subKey, const std::string &valueName,
                        std::string &text);

} // namespace brinevar
