// Away from Windows there is no registry and no MSINFO32.EXE. The stand-in
// answers the about box's first lookup, HKEY_LOCAL_MACHINE
// "SOFTWARE\Microsoft\Shared Tools\MSINFO" value "PATH", with the full path of
// a system information program installed here, and has no other keys, so the
// second lookup is absent. With none of the programs installed the about box
// reports that system information is unavailable, as on Windows without it.
#pragma once

#include "registry.h"

#include <array>
#include <string>
#include <string_view>
#include <vector>

namespace brinevar {

// Tried in this order; the first installed one is the answer. KDE's Info
// Center first, as the closest to the Windows tool, then HardInfo under its
// current and its older name (GNOME has no program of its own for this).
inline constexpr std::array<std::string_view, 3> kSystemInformationPrograms{
    "/usr/bin/kinfocenter", "/usr/bin/hardinfo2", "/usr/bin/hardinfo"};

class StandInRegistry : public Registry {
public:
    // `programs`: full paths to try, in order; a program counts as installed
    // when it is an ordinary file that someone may execute.
    explicit StandInRegistry(std::vector<std::string> programs);

    Result ReadValue(HKey root, const std::string &subKey, const std::string &valueName,
                     std::uint32_t access, std::uint32_t bufferSize, RegistryValue &value) override;

private:
    std::vector<std::string> programs_;
};

} // namespace brinevar
