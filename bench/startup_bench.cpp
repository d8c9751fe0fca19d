// How long Brinevar takes to put its main window on an X screen, and how much
// memory it takes at its peak, next to the floor for any Qt program that shows
// text: barewindow, one window of the same size with one label, built with the
// same flags and linked the same way.
//
//   xvfb-run -s '-screen 0 1280x1024x24' bench/startup_bench [--runs N] [--brinevar EXE]...
//
// Everything is seen from outside: the time runs from spawning the program to
// the X server reporting its window mapped. Then the bench sends the close
// request a window manager sends for the close box, which the program handles
// after the first paint, and takes the process's end and its peak memory
// (max RSS from wait4). The programs take turns, in a rotating order, in a
// sandbox: a temporary home and XDG folders with a stored Updates folder, and
// a program folder with copies of the executables and a tanks.ini, so that the
// real user's store and the build folder are never touched. Several --brinevar
// executables (say, two builds of one change) are measured in the same turns.
#include "settingsfile.h"

#include <X11/Xlib.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

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
constexpr auto kTimeout = std::chrono::seconds(20);

struct Outcome {
    double mapped = 0; // ms from spawn to the window mapped
    double end = 0;    // ms from spawn to the end of the process
    double cpu = 0;    // ms of user and system time: what other load inflates least
    double rss = 0;    // MiB, peak resident memory
};

struct Program {
    std::string label, exe, title;
    std::vector<Outcome> outcomes;
};

// A home, XDG folders and a program folder of their own, with the Updates
// folder stored and a tanks.ini beside the executables.
struct Sandbox {
    fs::path root;

    Sandbox() : root(fs::temp_directory_path() / ("brinevar-startup-" + std::to_string(getpid())))
    {
        for (const char *dir : {"home", "config/Brinevar", "data", "cache", "runtime", "updates"})
            fs::create_directories(root / dir);
        fs::permissions(root / "runtime", fs::perms::owner_all, fs::perm_options::replace);
        std::ofstream(root / "config/Brinevar/Brinevar.conf")
            << "[MZTPath]\nPath=" << (root / "updates").string() << "/\n";
    }
    ~Sandbox() { fs::remove_all(root); }

    // A program folder of its own for each executable, with a tanks.ini.
    std::string install(const fs::path &exe, int number) const
    {
        const fs::path folder = root / ("program" + std::to_string(number));
        fs::create_directories(folder);
        if (const brinevar::Result saved =
                brinevar::WriteSettingsFile(folder / "tanks.ini", brinevar::DefaultTexts());
            !saved)
            throw std::runtime_error(saved.message());
        fs::copy_file(exe, folder / exe.filename());
        return (folder / exe.filename()).string();
    }

    std::vector<std::string> environment() const
    {
        std::vector<std::string> env;
        for (char **e = environ; *e; ++e) {
            const std::string var = *e;
            if (!var.starts_with("HOME=") && !var.starts_with("XDG_") && !var.starts_with("QT_"))
                env.push_back(var);
        }
        for (const auto &[name, dir] : {std::pair{"HOME", "home"},
                                        {"XDG_CONFIG_HOME", "config"},
                                        {"XDG_DATA_HOME", "data"},
                                        {"XDG_CACHE_HOME", "cache"},
                                        {"XDG_RUNTIME_DIR", "runtime"}})
            env.push_back(std::string(name) + "=" + (root / dir).string());
        env.push_back("QT_QPA_PLATFORM=xcb");
        return env;
    }
};

double Ms(Clock::duration d)
{
    return std::chrono::duration<double, std::milli>(d).count();
}

// Watches the top-level windows of the X screen being mapped.
class MapWatcher {
public:
    MapWatcher() : display_(XOpenDisplay(nullptr))
    {
        if (!display_)
            throw std::runtime_error("no X display (run under xvfb-run)");
        XSelectInput(display_, DefaultRootWindow(display_), SubstructureNotifyMask);
        XSync(display_, False);
    }
    ~MapWatcher() { XCloseDisplay(display_); }
    MapWatcher(const MapWatcher &) = delete;
    MapWatcher &operator=(const MapWatcher &) = delete;

    // Forgets what earlier runs left queued.
    void drain()
    {
        XSync(display_, False);
        XEvent event;
        while (XPending(display_))
            XNextEvent(display_, &event);
    }

    // The window titled `title` once it is mapped, and when; 0 after `deadline`.
    Window wait(const std::string &title, Clock::time_point deadline, Clock::time_point &when)
    {
        for (;;) {
            while (XPending(display_)) {
                XEvent event;
                XNextEvent(display_, &event);
                when = Clock::now();
                if (event.type == MapNotify && !event.xmap.override_redirect &&
                    name(event.xmap.window) == title)
                    return event.xmap.window;
            }
            const auto left = std::chrono::ceil<std::chrono::milliseconds>(deadline - Clock::now());
            pollfd p{ConnectionNumber(display_), POLLIN, 0};
            if (left.count() <= 0 || poll(&p, 1, int(left.count())) < 0)
                return 0;
        }
    }

    // What a window manager sends when the user clicks the close box.
    void requestClose(Window window)
    {
        XEvent event{};
        event.xclient.type = ClientMessage;
        event.xclient.window = window;
        event.xclient.message_type = XInternAtom(display_, "WM_PROTOCOLS", False);
        event.xclient.format = 32;
        event.xclient.data.l[0] = long(XInternAtom(display_, "WM_DELETE_WINDOW", False));
        event.xclient.data.l[1] = CurrentTime;
        XSendEvent(display_, window, False, NoEventMask, &event);
        XFlush(display_);
    }

private:
    std::string name(Window window)
    {
        char *text = nullptr;
        std::string result;
        if (XFetchName(display_, window, &text) && text) {
            result = text;
            XFree(text);
        }
        return result;
    }

    Display *display_;
};

Outcome Run(MapWatcher &watcher, const Program &program, const std::vector<std::string> &env)
{
    std::vector<char *> envp;
    for (const auto &var : env)
        envp.push_back(const_cast<char *>(var.c_str()));
    envp.push_back(nullptr);
    char *argv[] = {const_cast<char *>(program.exe.c_str()), nullptr};

    watcher.drain();
    const auto start = Clock::now();
    pid_t pid = 0;
    if (const int error = posix_spawn(&pid, argv[0], nullptr, nullptr, argv, envp.data()))
        throw std::runtime_error("cannot start " + program.exe + ": " + std::strerror(error));
    Clock::time_point mapped;
    const Window window = watcher.wait(program.title, start + kTimeout, mapped);
    if (window)
        watcher.requestClose(window);

    int status = 0;
    rusage usage{};
    while (wait4(pid, &status, WNOHANG, &usage) == 0) {
        if (!window || Clock::now() > start + kTimeout) {
            kill(pid, SIGKILL);
            wait4(pid, &status, 0, &usage);
            throw std::runtime_error(program.exe + ": no window \"" + program.title +
                                     "\" that closed within 20 s (did it ask for a path?)");
        }
        std::this_thread::sleep_for(std::chrono::microseconds(200));
    }
    const auto end = Clock::now();
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0)
        throw std::runtime_error(program.exe + " failed");
    auto ms = [](const timeval &t) { return double(t.tv_sec) * 1e3 + double(t.tv_usec) / 1e3; };
    return {Ms(mapped - start), Ms(end - start), ms(usage.ru_utime) + ms(usage.ru_stime),
            double(usage.ru_maxrss) / 1024};
}

double Median(const std::vector<Outcome> &outcomes, double Outcome::*figure)
{
    std::vector<double> values;
    for (const auto &outcome : outcomes)
        values.push_back(outcome.*figure);
    std::sort(values.begin(), values.end());
    const std::size_t n = values.size();
    return n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

void Measure(std::vector<Program> &programs, const std::vector<std::string> &env, int runs)
{
    MapWatcher watcher;
    const int count = int(programs.size());
    for (int i = -3; i < runs; ++i) { // three rounds to warm the page cache and font caches
        // Rotate which goes first, so that none always follows another.
        for (int k = 0; k < count; ++k) {
            Program &program = programs[std::size_t((i + 3 + k) % count)];
            const Outcome outcome = Run(watcher, program, env);
            if (i >= 0)
                program.outcomes.push_back(outcome);
        }
    }

    std::printf("medians of %d runs each, in turn; goal: at most 1.10 x the bare window\n", runs);
    const struct {
        const char *what;
        double Outcome::*figure;
        const char *unit;
    } rows[] = {{"spawn to window mapped", &Outcome::mapped, "ms "},
                {"spawn to end (closed at map)", &Outcome::end, "ms "},
                {"CPU time, user + system", &Outcome::cpu, "ms "},
                {"peak memory (max RSS)", &Outcome::rss, "MiB"}};
    std::printf("  %-30s", "");
    for (std::size_t p = 0; p < programs.size(); ++p)
        std::printf(p == 0 ? " %20s" : " %23s", programs[p].label.c_str());
    std::printf("\n");
    for (const auto &row : rows) {
        const double bare = Median(programs[0].outcomes, row.figure);
        std::printf("  %-30s %14.1f %s    ", row.what, bare, row.unit);
        for (std::size_t p = 1; p < programs.size(); ++p) {
            const double m = Median(programs[p].outcomes, row.figure);
            std::printf(" %9.1f %s (%5.3f x)", m, row.unit, m / bare);
        }
        std::printf("\n");
    }
}

} // namespace

int main(int argc, char **argv)
{
    try {
        int runs = 30;
        std::vector<fs::path> brinevars;
        for (int i = 1; i < argc; ++i) {
            const std::string arg = argv[i];
            if (i + 1 >= argc)
                throw std::invalid_argument(arg);
            if (arg == "--runs")
                runs = std::stoi(argv[++i]);
            else if (arg == "--brinevar")
                brinevars.emplace_back(argv[++i]);
            else
                throw std::invalid_argument(arg);
        }
        if (brinevars.empty())
            brinevars.emplace_back(BRINEVAR_EXE);

        const Sandbox sandbox;
        std::vector<Program> programs{
            {"bare window", sandbox.install(BARE_WINDOW_EXE, 0), "Bare Window", {}}};
        for (std::size_t i = 0; i < brinevars.size(); ++i) {
            const std::string label =
                brinevars.size() == 1 ? "Brinevar" : "Brinevar " + std::to_string(i + 1);
            programs.push_back({label, sandbox.install(brinevars[i], int(i + 1)), "Brinevar", {}});
            std::printf("%s: %s\n", label.c_str(), brinevars[i].c_str());
        }
        Measure(programs, sandbox.environment(), runs);
        return 0;
    } catch (const std::invalid_argument &) {
        std::cerr << "usage: startup_bench [--runs N] [--brinevar EXE]...\n";
        return 2;
    } catch (const std::exception &error) {
        std::cerr << "startup_bench: " << error.what() << '\n';
        return 1;
    }
}
