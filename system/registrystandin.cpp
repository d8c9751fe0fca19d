#include "registrystandin.h"

#include "ansicodepage.h"
#include "asciicase.h"

#include <algorithm>
#include <cstring>
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

long StandInRegistry::OpenKeyEx(HKey key, const std::string &subKey, std::uint32_t, std::uint32_t,
                                HKey *result)
{
    if (key != kHKeyLocalMachine || !SameIgnoringAsciiCase(subKey, kSysInfoKey))
        return kErrorFileNotFound;
    const auto found = std::ranges::find_if(programs_, IsInstalled);
    if (found == programs_.end())
        return kErrorFileNotFound;
    *result = nextHandle_++;
    openKeys_[*result] = ToAnsi(*found) + '\0';
    return kErrorSuccess;
}

long StandInRegistry::QueryValueEx(HKey key, const std::string &valueName, std::uint32_t *type,
                                   unsigned char *data, std::uint32_t *dataSize)
{
    const auto open = openKeys_.find(key);
    if (open == openKeys_.end())
        return kErrorInvalidHandle;
    if (!SameIgnoringAsciiCase(valueName, kSysInfoValue))
        return kErrorFileNotFound;
    const std::string &value = open->second;
    const auto needed = std::uint32_t(value.size());
    const bool fits = needed <= *dataSize;
    *type = kRegSz;
    *dataSize = needed;
    if (!fits)
        return kErrorMoreData;
    std::memcpy(data, value.data(), value.size());
    return kErrorSuccess;
}

long StandInRegistry::CloseKey(HKey key)
{
    return openKeys_.erase(key) ? kErrorSuccess : kErrorInvalidHandle;
}

Registry &SystemRegistry()
{
    static StandInRegistry registry(
        {kSystemInformationPrograms.begin(), kSystemInformationPrograms.end()});
    return registry;
}

} // namespace brinevar
