// How fast ReadSettingsFile gets through a large file of mixed lines, next to
// `wc -l` on the same file, and how much memory it takes on huge files that
// hold nothing it keeps.
//
//   reader_bench [--mib N] [--runs N] [--dir DIR] [--no-memory] [--no-speed]
//   reader_bench --read FILE      (one read; the benchmark runs itself so)
//
// Both programs run as whole processes, alternately, with the file hot in the
// page cache; the figures are medians. Peak memory is the child's own high-water
// mark of resident memory (VmHWM), which it reports itself: the kernel's
// ru_maxrss of a spawned child also counts the parent it was forked from.
#include "mixedlines.h"

#include "settingsfile.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <iostream>
#include <stdexcept>
#include <string>
#include <vector>

#include <fcntl.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

extern char **environ;

namespace {

using Clock = std::chrono::steady_clock;
constexpr double kMiB = 1024.0 * 1024.0;

std::string Self()
{
    return std::filesystem::read_symlink("/proc/self/exe").string();
}

struct Outcome {
    double wall;        // seconds from start to exit
    double cpu;         // user and system seconds: what the machine's other load does not inflate
    std::string output; // the first line the program printed
};

// Runs a program to its end.
Outcome Run(const std::vector<std::string> &args)
{
    std::vector<char *> argv;
    for (const auto &arg : args)
        argv.push_back(const_cast<char *>(arg.c_str()));
    argv.push_back(nullptr);

    const auto output =
        std::filesystem::temp_directory_path() / ("brinevar-bench-out-" + std::to_string(getpid()));
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, output.c_str(),
                                     O_WRONLY | O_CREAT | O_TRUNC, 0600);

    const auto start = Clock::now();
    pid_t pid = 0;
    const int error = posix_spawnp(&pid, argv[0], &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    if (error != 0)
        throw std::runtime_error("cannot start " + args[0] + ": " + std::strerror(error));
    int status = 0;
    rusage usage{};
    if (wait4(pid, &status, 0, &usage) != pid || !WIFEXITED(status) || WEXITSTATUS(status) != 0)
        throw std::runtime_error(args[0] + " failed on " + args.back());
    const std::chrono::duration<double> wall = Clock::now() - start;
    auto seconds = [](const timeval &t) { return double(t.tv_sec) + double(t.tv_usec) / 1e6; };

    Outcome outcome{wall.count(), seconds(usage.ru_utime) + seconds(usage.ru_stime), {}};
    std::getline(std::ifstream(output), outcome.output);
    std::filesystem::remove(output);
    return outcome;
}

// Peak resident memory of a read of `file` in a fresh process.
long PeakKiB(const std::filesystem::path &file)
{
    return std::stol(Run({Self(), "--read", file.string()}).output);
}

double Median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    const std::size_t n = values.size();
    return n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

void Speed(const std::filesystem::path &dir, std::uint64_t mib, int runs)
{
    const auto file = dir / "mixed.cfg";
    const auto stats = bench::WriteMixedFile(file, mib << 20, true);
    const double size = double(stats.bytes) / kMiB;
    std::printf("file: %.1f MiB, %llu lines (%llu naming a setting), %llu long lines holding "
                "%.0f%% of the bytes\n",
                size, (unsigned long long)stats.lines, (unsigned long long)stats.settingLines,
                (unsigned long long)stats.longLines,
                100.0 * double(stats.longLineBytes) / double(stats.bytes));

    const std::vector<std::string> reader{Self(), "--read", file.string()};
    const std::vector<std::string> wc{"wc", "-l", file.string()};
    Run(wc); // into the page cache
    Run(reader);
    std::vector<Outcome> readerRuns, wcRuns;
    for (int i = 0; i < runs; ++i) {
        // Alternate which goes first, so that neither always follows the other.
        if (i % 2) {
            wcRuns.push_back(Run(wc));
            readerRuns.push_back(Run(reader));
        } else {
            readerRuns.push_back(Run(reader));
            wcRuns.push_back(Run(wc));
        }
    }

    // The same read inside this process, without a program start.
    std::vector<double> inProcess;
    for (int i = 0; i < runs; ++i) {
        brinevar::TankSettings settings = brinevar::InitialTexts();
        const auto start = Clock::now();
        brinevar::ReadSettingsFile(file, settings);
        inProcess.push_back(std::chrono::duration<double>(Clock::now() - start).count());
    }

    auto median = [](const std::vector<Outcome> &outcomes, double Outcome::*time) {
        std::vector<double> times;
        for (const auto &outcome : outcomes)
            times.push_back(outcome.*time);
        return Median(times);
    };
    std::printf("medians of %d alternating runs, whole processes; goal: ratio at least 0.50\n",
                runs);
    std::printf("                          wc -l            ReadSettingsFile   ratio\n");
    for (const auto time : {&Outcome::wall, &Outcome::cpu}) {
        const double reader = median(readerRuns, time), wc = median(wcRuns, time);
        std::printf("  %-15s %7.0f MiB/s %5.1f ms %7.0f MiB/s %5.1f ms  %.2f\n",
                    time == &Outcome::wall ? "wall clock" : "CPU time", size / wc, 1000 * wc,
                    size / reader, 1000 * reader, wc / reader);
    }
    std::printf("  reader in process (no program start): %.1f MiB/s, %.1f ms\n",
                size / Median(inProcess), 1000 * Median(inProcess));
    std::filesystem::remove(file);
}

struct MemoryCase {
    const char *what;
    void (*write)(const std::filesystem::path &);
    bool bounded; // must stay within kAllowanceKiB of the base
};

constexpr long kAllowanceKiB = 4 * 1024;
constexpr std::uint64_t kHuge = std::uint64_t(200) << 20;

const MemoryCase kMemoryCases[] = {
    {"1 GiB of lines that name no setting",
     [](const std::filesystem::path &f) {
         bench::WriteMixedFile(f, std::uint64_t(1) << 30, false);
     },
     true},
    {"a 200 MiB line without \"=\"",
     [](const std::filesystem::path &f) { bench::WriteHugeLine(f, "; ", 'x', kHuge, "\r\n"); },
     true},
    {"a 200 MiB line whose key names no setting",
     [](const std::filesystem::path &f) {
         bench::WriteHugeLine(f, "noSuchSetting = ", '7', kHuge, "\r\n");
     },
     true},
    {"a 200 MiB key of letters",
     [](const std::filesystem::path &f) { bench::WriteHugeLine(f, "", 'k', kHuge, " = 7\r\n"); },
     true},
    {"a setting name, 200 MiB of blanks, then \"= 7\"",
     [](const std::filesystem::path &f) {
         bench::WriteHugeLine(f, "saltWater", ' ', kHuge, "= 7\r\n");
     },
     true},
    {"a 64 MiB value that is kept (bounded by the value)",
     [](const std::filesystem::path &f) {
         bench::WriteHugeLine(f, "saltWater = ", '7', std::uint64_t(64) << 20, "\r\n");
     },
     false},
};

bool Memory(const std::filesystem::path &dir)
{
    const auto small = dir / "small.cfg";
    bench::WriteHugeLine(small, brinevar::FormatSettingsFile(brinevar::DefaultTexts()), ' ', 0, "");
    const long base = PeakKiB(small);
    std::filesystem::remove(small);
    std::printf("peak memory (max RSS) of one read; base, on a 467-byte file: %.1f MiB\n",
                double(base) / 1024);

    bool allWithin = true;
    for (const auto &c : kMemoryCases) {
        const auto file = dir / "huge.cfg";
        c.write(file);
        const long peak = PeakKiB(file);
        std::filesystem::remove(file);
        const bool within = peak - base <= kAllowanceKiB;
        allWithin = allWithin && (within || !c.bounded);
        std::printf("  %-52s %7.1f MiB (%+.1f)%s\n", c.what, double(peak) / 1024,
                    double(peak - base) / 1024,
                    !c.bounded ? ""
                    : within   ? "  within 4 MiB"
                               : "  OVER 4 MiB");
    }
    return allWithin;
}

int ReadOnce(const char *path)
{
    brinevar::TankSettings settings = brinevar::InitialTexts();
    brinevar::ReadSettingsFile(path, settings);
    // The high-water mark of this process alone; "kB" in the kernel's words is KiB.
    std::ifstream status("/proc/self/status");
    for (std::string line; std::getline(status, line);)
        if (line.starts_with("VmHWM:"))
            std::printf("%ld\n", std::stol(line.substr(6)));
    return 0;
}

} // namespace

int main(int argc, char **argv)
{
    try {
        if (argc == 3 && std::strcmp(argv[1], "--read") == 0)
            return ReadOnce(argv[2]);

        std::uint64_t mib = 100;
        int runs = 11;
        std::filesystem::path dir = std::filesystem::temp_directory_path();
        bool speed = true, memory = true;
        for (int i = 1; i < argc; ++i) {
            const std::string arg = argv[i];
            if (arg == "--mib" && i + 1 < argc)
                mib = std::stoull(argv[++i]);
            else if (arg == "--runs" && i + 1 < argc)
                runs = std::stoi(argv[++i]);
            else if (arg == "--dir" && i + 1 < argc)
                dir = argv[++i];
            else if (arg == "--no-memory")
                memory = false;
            else if (arg == "--no-speed")
                speed = false;
            else {
                std::cerr << "usage: reader_bench [--mib N] [--runs N] [--dir DIR] [--no-memory] "
                             "[--no-speed]\n";
                return 2;
            }
        }
        dir /= "brinevar-bench-" + std::to_string(getpid());
        std::filesystem::create_directories(dir);
        struct Cleanup {
            std::filesystem::path dir;
            ~Cleanup() { std::filesystem::remove_all(dir); }
        } cleanup{dir};

        if (speed)
            Speed(dir, mib, runs);
        return memory && !Memory(dir) ? 1 : 0;
    } catch (const std::exception &error) {
        std::cerr << "reader_bench: " << error.what() << '\n';
        return 1;
    }
}
