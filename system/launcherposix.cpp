// Starting a program where there is no CreateProcess: the command line is
// split into words and the program runs in a session of its own, so that it
// stays when this program ends and nobody has to wait for it.
#include "launcher.h"

#include <cerrno>
#include <vector>

#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

namespace brinevar {
namespace {

// Blanks separate words, double quotes group them; nothing else is special.
std::vector<std::string> SplitCommand(const std::string &commandLine)
{
    std::vector<std::string> words;
    std::string word;
    bool inWord = false, quoted = false;
    for (const char c : commandLine) {
        if (c == '"') {
            quoted = !quoted;
            inWord = true;
        } else if ((c == ' ' || c == '\t') && !quoted) {
            if (inWord)
                words.push_back(std::move(word));
            word.clear();
            inWord = false;
        } else {
            word += c;
            inWord = true;
        }
    }
    if (inWord)
        words.push_back(std::move(word));
    return words;
}

} // namespace

Result StartProgram(const std::string &commandLine)
{
    std::vector<std::string> words = SplitCommand(commandLine);
    if (words.empty())
        return CouldNotStart(commandLine, std::make_error_code(std::errc::invalid_argument));
    std::vector<char *> argv;
    for (std::string &word : words)
        argv.push_back(word.data());
    argv.push_back(nullptr);

    // The grandchild reports a failed exec through a pipe that closes on a
    // successful one; the child only forks it and leaves, so no zombie stays.
    int report[2];
    if (pipe(report) != 0)
        return CouldNotStart(commandLine, {errno, std::generic_category()});
    fcntl(report[1], F_SETFD, FD_CLOEXEC);
    const pid_t child = fork();
    if (child < 0) {
        const int error = errno;
        close(report[0]);
        close(report[1]);
        return CouldNotStart(commandLine, {error, std::generic_category()});
    }
    if (child == 0) {
        setsid();
        const pid_t grandchild = fork();
        if (grandchild <= 0) {
            if (grandchild == 0)
                execvp(argv[0], argv.data());
            const int error = errno;
            (void)!write(report[1], &error, sizeof error);
        }
        _exit(0);
    }
    close(report[1]);
    int status = 0;
    while (waitpid(child, &status, 0) < 0 && errno == EINTR) {
    }
    int error = 0;
    ssize_t got;
    do
        got = read(report[0], &error, sizeof error);
    while (got < 0 && errno == EINTR);
    close(report[0]);
    if (got == 0)
        return {};
    return CouldNotStart(commandLine, {got == sizeof error ? error : EIO, std::generic_category()});
}

} // namespace brinevar
