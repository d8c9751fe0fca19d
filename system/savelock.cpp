#include "savelock.h"

#include <thread>

namespace brinevar {
namespace {

using Clock = std::chrono::steady_clock;
constexpr std::chrono::milliseconds kPoll{5};

} // namespace

std::filesystem::path SaveLockBeside(const std::filesystem::path &settingsCopy)
{
    std::filesystem::path name = ".";
    name += settingsCopy.filename();
    name += ".lock";
    return settingsCopy.parent_path() / name;
}

std::filesystem::path SaveJournal(const std::filesystem::path &lockFile)
{
    return std::filesystem::path(lockFile).replace_extension(".journal");
}

SaveLock::SaveLock(const std::filesystem::path &file, std::chrono::milliseconds wait)
{
    if (file.empty())
        return;
    std::error_code ignored; // a folder that cannot be made leaves the save unlocked
    std::filesystem::create_directories(file.parent_path(), ignored);
    handle_ = lockfile::Open(file);
    if (handle_ == lockfile::kNone)
        return;
    const auto deadline = Clock::now() + wait;
    for (;;) {
        const lockfile::Attempt attempt = lockfile::TryLock(handle_);
        if (attempt != lockfile::Attempt::Busy) {
            held_ = attempt == lockfile::Attempt::Held;
            return;
        }
        if (Clock::now() >= deadline) {
            timedOut_ = true;
            return;
        }
        std::this_thread::sleep_for(kPoll);
    }
}

SaveLock::~SaveLock()
{
    if (handle_ != lockfile::kNone)
        lockfile::Close(handle_, held_);
}

} // namespace brinevar
