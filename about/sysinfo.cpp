#include "sysinfo.h"

#include "launcher.h"

namespace brinevar {

SysInfoMachine SystemSysInfoMachine()
{
    return {[](std::string &commandLine) { return FindSysInfo(commandLine); }, StartProgram};
}

void StartSysInfo(const SysInfoSystem &system)
{
    std::string commandLine;
    Result started = system.machine.findSysInfo(commandLine);
    if (started)
        started = system.machine.startProgram(commandLine);
    // What went wrong (no entry, a registry value of size 0, a program that
    // would not start) is dropped on purpose: the user is told the one
    // thing that matters, that there is no system information to be had.
    if (!started)
        system.message(std::string(kSysInfoUnavailable));
}

} // namespace brinevar
