// How long Brinevar takes from exec to its main window shown and painted, and
// how much memory it takes at its peak, next to a bare Qt Widgets program that
// shows one empty window of the same size (barewindow, built with the same
// flags and linked the same way), and next to that window holding one line of
// text (barewindow --text), which tells what drawing any text costs.
//
//   startup_bench [--runs N] [--platform offscreen|xcb]... [--brinevar EXE] [--bare EXE]
//
// Without --platform it measures offscreen, and under X as well when DISPLAY is
// set (run it under xvfb-run for that). Each program runs as a whole process,
// in turn with the others, in a sandbox: a temporary home and XDG folders with
// a stored Updates folder, and a program folder holding copies of the
// executables and a tanks.ini, so the real user's store and the build folder
// are never touched. The programs quit on their first paint when
// BRINEVAR_EXIT_AFTER_FIRST_PAINT is set, and print that moment. Peak memory
// is the child's max RSS from wait4().
#include "settingsfile.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <stdexcept>
#include <string>
#include <vector>

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

extern char **environ;

namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;
constexpr int kTimeoutMs = 20000;

struct Outcome {
    double paint = 0; // ms from spawn to the first paint the program reported
    double end = 0;   // ms from spawn to the end of the process
    double cpu = 0;   // ms of user and system time: what other load inflates least
    double rss = 0;   // MiB, peak resident memory
};

// A home, XDG folders and a program folder of their own, with the Updates
// folder stored and a tanks.ini beside the executables.
struct Sandbox {
    fs::path root, brinevar, bare;

    Sandbox(const fs::path &brinevarExe, const fs::path &bareExe)
        : root(fs::temp_directory_path() / ("brinevar-startup-" + std::to_string(getpid())))
    {
        for (const char *dir :
             {"home", "config/Brinevar", "data", "cache", "runtime", "program", "updates"})
            fs::create_directories(root / dir);
        fs::permissions(root / "runtime", fs::perms::owner_all, fs::perm_options::replace);
        std::ofstream(root / "config/Brinevar/Brinevar.conf")
            << "[MZTPath]\nPath=" << (root / "updates").string() << "/\n";
        brinevar::WriteSettingsFile(root / "program/tanks.ini", brinevar::DefaultTexts());
        brinevar = root / "program/brinevar";
        bare = root / "program/barewindow";
        fs::copy_file(brinevarExe, brinevar);
        fs::copy_file(bareExe, bare);
    }
    ~Sandbox() { fs::remove_all(root); }

    std::vector<std::string> environment(const std::string &platform) const
    {
        std::vector<std::string> env;
        for (char **e = environ; *e; ++e) {
            const std::string var = *e;
            if (!var.starts_with("HOME=") && !var.starts_with("XDG_") && !var.starts_with("QT_"))
                env.push_back(var);
        }
        env.push_back("HOME=" + (root / "home").string());
        env.push_back("XDG_CONFIG_HOME=" + (root / "config").string());
        env.push_back("XDG_DATA_HOME=" + (root / "data").string());
        env.push_back("XDG_CACHE_HOME=" + (root / "cache").string());
        env.push_back("XDG_RUNTIME_DIR=" + (root / "runtime").string());
        env.push_back("QT_QPA_PLATFORM=" + platform);
        env.push_back("BRINEVAR_EXIT_AFTER_FIRST_PAINT=1");
        return env;
    }
};

double Ms(Clock::duration d)
{
    return std::chrono::duration<double, std::milli>(d).count();
}

// Reads the child's output to its end; false when it takes too long.
bool ReadAll(int fd, std::string &out, Clock::time_point deadline)
{
    char buffer[4096];
    for (;;) {
        const auto left =
            std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now());
        pollfd p{fd, POLLIN, 0};
        if (left.count() <= 0 || poll(&p, 1, int(left.count())) <= 0)
            return false;
        const ssize_t n = read(fd, buffer, sizeof buffer);
        if (n <= 0)
            return true;
        out.append(buffer, std::size_t(n));
    }
}

Outcome Run(const std::vector<std::string> &args, const std::vector<std::string> &env)
{
    std::vector<char *> envp;
    for (const auto &var : env)
        envp.push_back(const_cast<char *>(var.c_str()));
    envp.push_back(nullptr);
    std::vector<char *> argv;
    for (const auto &arg : args)
        argv.push_back(const_cast<char *>(arg.c_str()));
    argv.push_back(nullptr);
    const std::string &name = args[0];

    int pipeFds[2];
    if (pipe2(pipeFds, O_CLOEXEC) != 0)
        throw std::runtime_error("pipe failed");
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, pipeFds[1], STDOUT_FILENO);

    const auto start = Clock::now();
    pid_t pid = 0;
    const int error = posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), envp.data());
    posix_spawn_file_actions_destroy(&actions);
    close(pipeFds[1]);
    if (error != 0) {
        close(pipeFds[0]);
        throw std::runtime_error("cannot start " + name + ": " + std::strerror(error));
    }
    std::string output;
    const bool ended = ReadAll(pipeFds[0], output, start + std::chrono::milliseconds(kTimeoutMs));
    close(pipeFds[0]);
    if (!ended)
        kill(pid, SIGKILL);
    int status = 0;
    rusage usage{};
    wait4(pid, &status, 0, &usage);
    const auto end = Clock::now();
    if (!ended)
        throw std::runtime_error(name + " showed no window within 20 s (did it ask for a path?)");
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0)
        throw std::runtime_error(name + " failed");

    const auto mark = output.find("first-paint-ns ");
    if (mark == std::string::npos)
        throw std::runtime_error(name + " reported no paint");
    const Clock::time_point painted{std::chrono::nanoseconds(std::stoll(output.substr(mark + 15)))};
    auto ms = [](const timeval &t) { return double(t.tv_sec) * 1e3 + double(t.tv_usec) / 1e3; };
    return {Ms(painted - start), Ms(end - start), ms(usage.ru_utime) + ms(usage.ru_stime),
            double(usage.ru_maxrss) / 1024};
}

double Median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    const std::size_t n = values.size();
    return n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

double Median(const std::vector<Outcome> &outcomes, double Outcome::*figure)
{
    std::vector<double> values;
    for (const auto &outcome : outcomes)
        values.push_back(outcome.*figure);
    return Median(values);
}

void Measure(const Sandbox &sandbox, const std::string &platform, int runs)
{
    const auto env = sandbox.environment(platform);
    // The goal compares Brinevar with the empty window; the window with one
    // line of text shows how much of the difference any text costs.
    const std::vector<std::string> programs[] = {
        {sandbox.bare.string()}, {sandbox.bare.string(), "--text"}, {sandbox.brinevar.string()}};
    constexpr int kCount = 3, kBare = 0, kText = 1, kBrinevar = 2;
    std::vector<Outcome> outcomes[kCount];
    for (int i = -3; i < runs; ++i) { // three rounds to warm the page cache and font caches
        // Rotate which goes first, so that none always follows another.
        for (int k = 0; k < kCount; ++k) {
            const int p = (i + 3 + k) % kCount;
            const Outcome outcome = Run(programs[p], env);
            if (i >= 0)
                outcomes[p].push_back(outcome);
        }
    }

    std::printf("platform %s: medians of %d runs each, in turn; goal: Brinevar / bare at most "
                "1.10\n",
                platform.c_str(), runs);
    std::printf("                              bare window  bare + text     Brinevar   Brinevar / "
                "bare  / bare + text\n");
    const struct {
        const char *what;
        double Outcome::*figure;
        const char *unit;
    } rows[] = {{"exec to first paint", &Outcome::paint, "ms "},
                {"exec to process end", &Outcome::end, "ms "},
                {"CPU time, user + system", &Outcome::cpu, "ms "},
                {"peak memory (max RSS)", &Outcome::rss, "MiB"}};
    for (const auto &row : rows) {
        double m[kCount];
        for (int p = 0; p < kCount; ++p)
            m[p] = Median(outcomes[p], row.figure);
        std::printf("  %-24s %7.1f %s  %7.1f %s  %7.1f %s  %8.2f  %12.2f\n", row.what, m[kBare],
                    row.unit, m[kText], row.unit, m[kBrinevar], row.unit, m[kBrinevar] / m[kBare],
                    m[kBrinevar] / m[kText]);
    }
}

fs::path Option(int &i, int argc, char **argv)
{
    if (i + 1 >= argc)
        throw std::invalid_argument(argv[i]);
    return argv[++i];
}

} // namespace

int main(int argc, char **argv)
{
    try {
        int runs = 30;
        fs::path brinevar = BRINEVAR_EXE, bare = BARE_WINDOW_EXE;
        std::vector<std::string> platforms;
        for (int i = 1; i < argc; ++i) {
            const std::string arg = argv[i];
            if (arg == "--runs")
                runs = std::stoi(Option(i, argc, argv).string());
            else if (arg == "--platform")
                platforms.push_back(Option(i, argc, argv).string());
            else if (arg == "--brinevar")
                brinevar = Option(i, argc, argv);
            else if (arg == "--bare")
                bare = Option(i, argc, argv);
            else
                throw std::invalid_argument(arg);
        }
        if (platforms.empty()) {
            platforms.push_back("offscreen");
            if (std::getenv("DISPLAY"))
                platforms.push_back("xcb");
        }

        const Sandbox sandbox(brinevar, bare);
        for (const auto &platform : platforms)
            Measure(sandbox, platform, runs);
        // A child's max RSS starts from its parent's, which this keeps well below.
        rusage self{};
        getrusage(RUSAGE_SELF, &self);
        std::printf("(this program's own peak memory: %.1f MiB)\n", double(self.ru_maxrss) / 1024);
        return 0;
    } catch (const std::invalid_argument &) {
        std::cerr << "usage: startup_bench [--runs N] [--platform offscreen|xcb]... "
                     "[--brinevar EXE] [--bare EXE]\n";
        return 2;
    } catch (const std::exception &error) {
        std::cerr << "startup_bench: " << error.what() << '\n';
        return 1;
    }
}
