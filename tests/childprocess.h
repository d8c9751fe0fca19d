// Child processes for the tests that kill saves: this program started again
// with other arguments, on either system.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

// A process id, or a process handle on Windows.
using Child = std::intptr_t;

// Starts `program` with `arguments` and returns once the child has written a
// byte to its standard output (so that a kill counts from the child's work,
// not from its start-up); 0 when it could not be started or ended first.
Child StartChild(const std::string &program, const std::vector<std::string> &arguments);

// Kills the child at once (SIGKILL, TerminateProcess) and waits for its end:
// true when the kill ended it, false when it had ended by itself.
bool KillChild(Child child);

// Writes the byte that StartChild waits for.
bool SayReady();

// Makes this process run as the user `name`; false when it cannot (or the
// system has no such thing).
bool BecomeUser(const char *name);
