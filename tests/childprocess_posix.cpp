#include "childprocess.h"

#include <csignal>

#include <pwd.h>
#include <sys/wait.h>
#include <unistd.h>

Child StartChild(const std::string &program, const std::vector<std::string> &arguments)
{
    int ready[2];
    if (pipe(ready) != 0)
        return 0;
    std::vector<char *> argv{const_cast<char *>(program.c_str())};
    for (const std::string &argument : arguments)
        argv.push_back(const_cast<char *>(argument.c_str()));
    argv.push_back(nullptr);
    const pid_t child = fork();
    if (child == 0) {
        dup2(ready[1], STDOUT_FILENO);
        close(ready[0]);
        close(ready[1]);
        execv(program.c_str(), argv.data());
        _exit(127);
    }
    close(ready[1]);
    char byte = 0;
    const bool started = child > 0 && read(ready[0], &byte, 1) == 1;
    close(ready[0]);
    if (child > 0 && !started)
        waitpid(child, nullptr, 0);
    return started ? Child(child) : 0;
}

bool KillChild(Child child)
{
    kill(pid_t(child), SIGKILL);
    int status = 0;
    return waitpid(pid_t(child), &status, 0) == pid_t(child) && WIFSIGNALED(status) &&
           WTERMSIG(status) == SIGKILL;
}

bool SayReady()
{
    return write(STDOUT_FILENO, "!", 1) == 1;
}

bool BecomeUser(const char *name)
{
    const passwd *user = getpwnam(name);
    return user && setgid(user->pw_gid) == 0 && setuid(user->pw_uid) == 0;
}
