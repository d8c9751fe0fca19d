#include "childprocess.h"

#include <csignal>
#include <cstdlib>

#include <pwd.h>
#include <sys/wait.h>
#include <unistd.h>

Child StartChild(const std::string &program, const std::vector<std::string> &arguments)
{
    int ready[2], input[2];
    if (pipe(ready) != 0)
        return {};
    if (pipe(input) != 0) {
        close(ready[0]);
        close(ready[1]);
        return {};
    }
    std::vector<char *> argv{const_cast<char *>(program.c_str())};
    for (const std::string &argument : arguments)
        argv.push_back(const_cast<char *>(argument.c_str()));
    argv.push_back(nullptr);
    const pid_t child = fork();
    if (child == 0) {
        dup2(input[0], STDIN_FILENO);
        dup2(ready[1], STDOUT_FILENO);
        for (const int fd : {ready[0], ready[1], input[0], input[1]})
            close(fd);
        execv(program.c_str(), argv.data());
        _exit(127);
    }
    close(ready[1]);
    close(input[0]);
    char byte = 0;
    const bool started = child > 0 && read(ready[0], &byte, 1) == 1;
    close(ready[0]);
    Child started_child{child, input[1]};
    if (!started) {
        if (child > 0)
            WaitForChild(started_child);
        close(input[1]);
        return {};
    }
    return started_child;
}

bool LetGo(Child &child)
{
    const bool written = write(int(child.input), "!", 1) == 1;
    close(int(child.input));
    child.input = -1;
    return written;
}

int WaitForChild(Child &child)
{
    if (child.input >= 0)
        close(int(child.input));
    child.input = -1;
    int status = 0;
    if (waitpid(pid_t(child.process), &status, 0) != pid_t(child.process))
        return -2;
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

bool KillChild(Child &child)
{
    kill(pid_t(child.process), SIGKILL);
    return WaitForChild(child) == -1;
}

bool SayReady()
{
    return write(STDOUT_FILENO, "!", 1) == 1;
}

bool WaitToGo()
{
    char byte = 0;
    return read(STDIN_FILENO, &byte, 1) == 1;
}

bool BecomeUser(const char *name)
{
    const passwd *user = getpwnam(name);
    return user && setgid(user->pw_gid) == 0 && setuid(user->pw_uid) == 0;
}

bool IsSuperuser()
{
    return geteuid() == 0;
}

void SetEnvironment(const char *name, const char *value)
{
    setenv(name, value, 1);
}
