// Child processes for the tests that race and kill saves: this program
// started again with other arguments, on either system.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

struct Child {
    std::intptr_t process = 0; // process id, or process handle on Windows; 0: none
    std::intptr_t input = -1;  // the writing end of its standard input
};

// Starts `program` with `arguments` and returns once the child has written a
// byte to its standard output (so that what the test times counts from the
// child's work, not from its start-up); process 0 when it could not be
// started or ended first.
Child StartChild(const std::string &program, const std::vector<std::string> &arguments);

// Writes a byte to the child's standard input, which lets it go on.
bool LetGo(Child &child);

// Waits for the child's end: its exit status, -1 when it was killed.
int WaitForChild(Child &child);

// Kills the child at once (SIGKILL, TerminateProcess) and waits for its end:
// true when the kill ended it, false when it had ended by itself.
bool KillChild(Child &child);

// In the child: writes the byte that StartChild waits for.
bool SayReady();
// In the child: waits for the byte of LetGo.
bool WaitToGo();

// Makes this process run as the user `name`; false when it cannot (or the
// system has no such thing).
bool BecomeUser(const char *name);

// Whether this process may write any file, read-only ones included (root).
bool IsSuperuser();

// Sets an environment variable of this process.
void SetEnvironment(const char *name, const char *value);
