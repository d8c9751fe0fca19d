// Finding and starting the system information tool for the about box: the
// registry reader GetKeyValue and the launcher StartSysInfo. Standard C++
// only, over small interfaces, so that it builds for Windows without Qt.
#pragma once

#include "registry.h"
#include "result.h"

#include <functional>
#include <string>
#include <string_view>

namespace brinevar {

inline constexpr std::string_view kSysInfoProgram = "\\MSINFO32.EXE";

inline constexpr std::string_view kSysInfoUnavailable =
    "System Information Is Unavailable At This Time";

// Only reading is needed. Asking for more (set value, create subkey, create
// link) makes Windows refuse the open to a standard user under
// HKEY_LOCAL_MACHINE, and the tool would wrongly count as not installed.
inline constexpr std::uint32_t kSysInfoKeyAccess = kKeyRead;

// How much of a value GetKeyValue reads; longer values count as unreadable.
inline constexpr std::uint32_t kKeyValueBufferSize = 1024;

// Reads the value `SubKeyRef` of the key `KeyName` below `KeyRoot` into
// `KeyVal` (UTF-8). A string (type 1) gives its text without a closing zero
// byte; a number (type 4) its unsigned decimal digits; any other type leaves
// `KeyVal` as it was. Returns false with `KeyVal` empty when the key or the
// value cannot be read (missing, refused, longer than the buffer). A value of
// size 0, not even a closing zero, is more than unreadable: it also fails
// `readable`, which the caller takes as the end of its search; otherwise
// `readable` is left as it was. The key is closed on every path.
bool GetKeyValue(Registry &registry, HKey KeyRoot, const std::string &KeyName,
                 const std::string &SubKeyRef, std::string &KeyVal, Result &readable);

// The machine's parts that find and start the tool; main passes them in.
struct SysInfoMachine {
    Registry &registry;
    std::function<bool(const std::string &)> isOrdinaryFile; // see IsOrdinaryFile
    std::function<Result(const std::string &)> startProgram; // see StartProgram
};

// What StartSysInfo needs: the machine, and a modal message box.
struct SysInfoSystem {
    SysInfoMachine machine;
    std::function<void(const std::string &)> message;
};

// Starts the tool named by the registry: the full path of the first entry, or
// else the folder of the second followed by "\MSINFO32.EXE" if that file
// exists. Every failure on the way (a first entry of size 0 included, which
// skips the second entry) ends in the one message kSysInfoUnavailable.
void StartSysInfo(const SysInfoSystem &system);

} // namespace brinevar
