// Starting another program, as the about box starts the system information
// tool: the program runs on its own, and nobody waits for it.
#pragma once

#include "result.h"

#include <string>

namespace brinevar {

// Runs `commandLine` (UTF-8) as a new process with its window in the normal
// state, and returns at once. Fails, with the system's reason, when it could
// not be started; an empty command line starts nothing and is such a failure.
//
// On Windows the command line goes to CreateProcess as it stands. Elsewhere it
// is split into program and arguments the way a shell would split it (blanks
// separate, double quotes group, no other shell syntax); nothing is handed to
// a shell.
Result StartProgram(const std::string &commandLine);

// "Could not start <command line>:" and the reason.
inline Result CouldNotStart(const std::string &commandLine, std::error_code reason)
{
    return Result::Failure("Could not start " + commandLine + ":\n" + reason.message(), reason);
}

} // namespace brinevar
