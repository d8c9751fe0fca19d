// One save: an ordered list of steps, each "put this text into this file",
// carried out under one lock, one at a time, stopping at the first failure.
// Made once from the places, it owns everything around the steps: the save
// lock (one place, chosen once), the one check that the texts can be stored,
// the journal of a file written in place and its undo, and the order of the
// files (tanks.cfg first, then tanks.ini). Each step names its writer, so
// that the steps for one folder can be handed to another writer.
#pragma once

#include "catalogue.h"
#include "file.h"
#include "programfolder.h"
#include "result.h"

#include <chrono>
#include <cstddef>
#include <filesystem>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace brinevar {

class StepWriter;

// How long a save waits for another copy's save to end: saves take
// milliseconds, so a longer wait means that copy hangs, and this one says so.
inline constexpr std::chrono::milliseconds kSaveLockWait{5000};

inline constexpr std::string_view kNoUserFolder =
    "There is no per-user folder to keep tanks.ini in.";

struct SaveStep {
    std::filesystem::path file; // as the user names it, for messages
    std::string text;           // the bytes the file is to hold
    // Should a later step fail, the message says that this file was saved.
    bool toldWhenSaved = false;
    // Who carries the step out; nullptr: this process, by LocalWriter.
    StepWriter *writer = nullptr;
    // A file that exists by the time it would be written is never replaced:
    // the step fails with std::errc::file_exists.
    bool onlyIfMissing = false;
};

class StepWriter {
public:
    virtual ~StepWriter() = default;
    // Carries out `steps` in order, each file replaced whole or not at all,
    // and stops at the first that fails: what to tell the user ("Could not
    // save <file>:" and the reason), `done` counting the steps before it.
    virtual Result Write(std::span<const SaveStep> steps, std::size_t &done) = 0;
};

// The steps carried out by this process's own file calls: each file
// replaced whole (see AtomicFile), or, where it must be written in place,
// overwritten with its old text kept in `journal` meanwhile (none when
// empty: a text of up to one page, as a settings file is, then goes in by
// one write that a kill cannot split). `clearLeftOvers`: no other save can
// be running, so the temporaries of killed saves are removed first.
class LocalWriter : public StepWriter {
public:
    explicit LocalWriter(std::filesystem::path journal = {}, bool clearLeftOvers = false);
    Result Write(std::span<const SaveStep> steps, std::size_t &done) override;

private:
    std::error_code WriteJournal(const std::string &entry);
    std::error_code WriteInPlace(const std::filesystem::path &file, const std::string &text);

    std::filesystem::path journal_;
    bool clearLeftOvers_;
};

// One save at a time for all copies of the program that one user runs, so
// that tanks.cfg and tanks.ini always come from the same save: the lock on
// `file` (created, and its folder, when missing), held while the returned
// file stays open. Waits up to `wait` for another copy to give it up, then
// fails with std::errc::timed_out; any other failure means the lock cannot
// be had at all.
Outcome<File> HoldSaveLock(const std::filesystem::path &file, std::chrono::milliseconds wait);

class SaveTransaction {
public:
    // Touches nothing yet.
    explicit SaveTransaction(Places places);

    // Lays out the save of `settings`: the game's file `gameFile`, then the
    // program's copy, the same bytes in each. Fails, with nothing written,
    // when a text cannot be stored exactly (see RefuseUnstorableTexts) or
    // when there is no place for the program's copy.
    Result Prepare(const std::filesystem::path &gameFile, const TankSettings &settings);

    // The steps in the order they are carried out; until Commit(), more may
    // join and any may be handed to another writer.
    std::vector<SaveStep> &Steps() { return steps_; }

    // Takes the save lock (waiting up to kSaveLockWait for another copy's
    // save) and undoes a killed save's write in place into the files of the
    // steps laid out so far. Steps that depend on what the files hold join
    // after it, while no other copy's save can change them. Fails, with
    // nothing written, when another copy's save does not end in time.
    Result Begin();

    // Begins, unless begun, and carries out the steps in order. Stops at the
    // first failure of any kind and says what to tell the user: the file,
    // the reason, and which earlier files were saved.
    Result Commit();

    // A save that was killed while it wrote a file in place leaves a journal
    // beside its lock; the file it names, one of `files`, gets its old text
    // back (see UndoInterruptedOverwrite) before the program reads or writes
    // anything. Leaves any journal that another copy's running save holds
    // alone.
    void UndoInterrupted(const std::vector<std::filesystem::path> &files) const;

private:
    // Where the lock may lie, in the order tried: the per-user folder, else
    // beside tanks.ini, where a save must be able to write anyway.
    std::vector<std::filesystem::path> LockPlaces() const;

    Places places_;
    std::vector<SaveStep> steps_;
    bool begun_ = false;
    File lock_;                     // held from Begin() to the end of the save
    std::filesystem::path journal_; // empty without a lock
};

} // namespace brinevar
