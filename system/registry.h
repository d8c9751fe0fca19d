// Read access to the Windows registry through calls shaped like advapi32's
// ANSI functions, so that code written against them reads the same here.
// Windows answers them itself; elsewhere a stand-in answers the one entry the
// program looks for (see registrystandin.h). Standard C++ only.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace brinevar {

// A key handle: a predefined root or a key that OpenKeyEx opened.
using HKey = std::uintptr_t;

// HKEY_LOCAL_MACHINE, sign-extended from 32 bits as Windows defines it.
inline constexpr HKey kHKeyLocalMachine = HKey(std::intptr_t(std::int32_t(0x80000002u)));

// Results, as Windows' error codes.
inline constexpr long kErrorSuccess = 0;
inline constexpr long kErrorFileNotFound = 2;
inline constexpr long kErrorAccessDenied = 5;
inline constexpr long kErrorInvalidHandle = 6;
inline constexpr long kErrorMoreData = 234;

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

class Registry {
public:
    virtual ~Registry() = default;

    // RegOpenKeyExA: opens `subKey` (ANSI) below `key`; on success `*result`
    // is the new key's handle.
    virtual long OpenKeyEx(HKey key, const std::string &subKey, std::uint32_t options,
                           std::uint32_t samDesired, HKey *result) = 0;

    // RegQueryValueExA: reads the value `valueName` (ANSI) into `data`, which
    // holds `*dataSize` bytes. On success `*type` is the value's type and
    // `*dataSize` the bytes written; data that does not fit gives
    // kErrorMoreData with `*dataSize` the size needed.
    virtual long QueryValueEx(HKey key, const std::string &valueName, std::uint32_t *type,
                              unsigned char *data, std::uint32_t *dataSize) = 0;

    // RegCloseKey.
    virtual long CloseKey(HKey key) = 0;
};

// The machine's registry: advapi32 on Windows, the stand-in elsewhere.
Registry &SystemRegistry();

} // namespace brinevar
