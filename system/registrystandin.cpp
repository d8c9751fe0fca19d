#include "registrystandin.h"

#include "ansicodepage.h"
#include "asciicase.h"

#include <algorithm>
#include <filesystem>

namespace brinevar {
namespace {

bool IsInstalled(const std::string &program)
{
    namespace fs = std::filesystem;
    std::error_code error;
    const fs::file_status status = fs::status(program, error);
    constexpr fs::perms kAnyExecute =
        fs::perms::owner_exec | fs::perms::group_exec | fs::perms::others_exec;
    return !error && fs::is_regular_file(status) &&
           (status.permissions() & kAnyExecute) != fs::perms::none;
}

} // namespace

StandInRegistry::StandInRegistry(std::vector<std::string> programs) : programs_(std::move(programs))
{
}

Result StandInRegistry::ReadValue(HKey root, const std::string &subKey,
                                  const std::string &valueName, std::uint32_t,
                                  std::uint32_t bufferSize, RegistryValue &value)
{
    const auto found = std::ranges::find_if(programs_, IsInstalled);
    if (root != kHKeyLocalMachine || !SameIgnoringAsciiCase(subKey, kSysInfoKey) ||
        found == programs_.end() || !SameIgnoringAsciiCase(valueName, kSysInfoValue))
        return RegistryFailure(kErrorFileNotFound);
    std::string data = ToAnsi(*found) + '\0';
    if (data.size() > bufferSize)
        return RegistryFailure(kErrorMoreData);
    value = {kRegSz, std::move(data)};
    return {};
}

Registry &SystemRegistry()
{
    static StandInRegistry registry(
        {kSystemInformationPrograms.begin(), kSystemInformationPrograms.end()});
    return registry;
}

} // namespace brinevar
