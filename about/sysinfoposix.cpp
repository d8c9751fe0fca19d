// Away from Windows there is no registry and no MSINFO32.EXE: the tool is the
// first installed of the system information programs that Linux desktops
// offer.
#include "sysinfo.h"

#include <filesystem>

namespace brinevar {
namespace {

bool IsInstalled(std::string_view program)
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

Result FindSysInfo(std::span<const std::string_view> programs, std::string &commandLine)
{
    for (const std::string_view program : programs)
        if (IsInstalled(program)) {
            commandLine = program;
            return {};
        }
    return Result::Failure(std::string(kSysInfoUnavailable));
}

Result FindSysInfo(std::string &commandLine)
{
    return FindSysInfo(kSystemInformationPrograms, commandLine);
}

} // namespace brinevar
