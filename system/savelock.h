// One save at a time for all copies of the program that one user runs, so
// that tanks.cfg and tanks.ini always come from the same save.
#pragma once

#include "lockfile.h"

#include <chrono>
#include <filesystem>

namespace brinevar {

// How long a save waits for another copy's save to end: saves take
// milliseconds, so a longer wait means that copy hangs, and this one says so.
inline constexpr std::chrono::milliseconds kSaveLockWait{5000};

// The lock file for saves of `settingsCopy` beside it, for when the per-user
// folder cannot be made.
std::filesystem::path SaveLockBeside(const std::filesystem::path &settingsCopy);

// Where the holder of the lock `lockFile` keeps the old text of a file that
// it writes in place, until the new one is whole.
std::filesystem::path SaveJournal(const std::filesystem::path &lockFile);

class SaveLock {
public:
    // Waits up to `wait` for the lock on `file` (created, and its folder,
    // when missing); an empty `file` locks nothing. A lock file that cannot
    // be opened is no reason to refuse the save: the
    // lock then guards nothing, and held() says so.
    SaveLock(const std::filesystem::path &file, std::chrono::milliseconds wait);
    ~SaveLock();
    SaveLock(const SaveLock &) = delete;
    SaveLock &operator=(const SaveLock &) = delete;

    bool held() const { return held_; }
    // Another process held the lock for the whole wait.
    bool timedOut() const { return timedOut_; }

private:
    lockfile::Handle handle_ = lockfile::kNone;
    bool held_ = false;
    bool timedOut_ = false;
};

} // namespace brinevar
