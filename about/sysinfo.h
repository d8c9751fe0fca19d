// Finding and starting the system information tool for the about box.
// StartSysInfo asks FindSysInfo, which each system answers its own way, where
// the tool is, and starts it. Standard C++ only, so that it builds for
// Windows without Qt.
#pragma once

#include "registry.h"
#include "result.h"

#include <array>
#include <functional>
#include <span>
#include <string>
#include <string_view>

namespace brinevar {

inline constexpr std::string_view kSysInfoUnavailable =
    "System Information Is Unavailable At This Time";

// Where the tool is and how to start it; main passes them in.
struct SysInfoMachine {
    std::function<Result(std::string &)> findSysInfo;        // see FindSysInfo
    std::function<Result(const std::string &)> startProgram; // see StartProgram
};

// This machine's: FindSysInfo and StartProgram.
SysInfoMachine SystemSysInfoMachine();

// What StartSysInfo needs: the machine, and a modal message box.
struct SysInfoSystem {
    SysInfoMachine machine;
    std::function<void(const std::string &)> message;
};

// Starts the tool where findSysInfo says it is. A tool that cannot be found
// or started, for whatever reason, ends in the one message
// kSysInfoUnavailable.
void StartSysInfo(const SysInfoSystem &system);

// Where this machine's system information tool is: the command line that
// starts it goes into `commandLine`. Fails when there is none. Windows'
// (sysinfowindows.cpp) asks the registry, the others' (sysinfoposix.cpp)
// look for the programs installed.
Result FindSysInfo(std::string &commandLine);

// Windows (sysinfowindows.cpp) ----------------------------------------------

// The entries that name the tool, under HKEY_LOCAL_MACHINE, tried in order.
inline constexpr std::string_view kSysInfoKey = "SOFTWARE\\Microsoft\\Shared Tools\\MSINFO";
inline constexpr std::string_view kSysInfoValue = "PATH"; // the tool's full path
inline constexpr std::string_view kSysInfoLocationKey =
    "SOFTWARE\\Microsoft\\Shared Tools Location";
inline constexpr std::string_view kSysInfoLocationValue = "MSINFO"; // the tool's folder
inline constexpr std::string_view kSysInfoProgram = "\\MSINFO32.EXE";

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

// FindSysInfo over `registry`: the full path of the first entry, used as it
// stands, or else the folder of the second followed by kSysInfoProgram if
// `isOrdinaryFile` says that file exists. A first entry of size 0 ends the
// search without the second.
Result FindSysInfo(Registry &registry,
                   const std::function<bool(const std::string &)> &isOrdinaryFile,
                   std::string &commandLine);

// Elsewhere (sysinfoposix.cpp) -----------------------------------------------

// Tried in this order. KDE's Info Center first, as the closest to the Windows
// tool, then HardInfo under its current and its older name (GNOME has no
// program of its own for this).
inline constexpr std::array<std::string_view, 3> kSystemInformationPrograms{
    "/usr/bin/kinfocenter", "/usr/bin/hardinfo2", "/usr/bin/hardinfo"};

// FindSysInfo over `programs` (full paths): the first installed, that is an
// ordinary file that someone may execute.
Result FindSysInfo(std::span<const std::string_view> programs, std::string &commandLine);

} // namespace brinevar
