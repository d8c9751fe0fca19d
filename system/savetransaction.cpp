#include "savetransaction.h"

#include "ansicodepage.h"
#include "atomicfile.h"
#include "inplacewrite.h"
#include "settingsfile.h"

#include <thread>

namespace brinevar {
namespace {

namespace fs = std::filesystem;

using Clock = std::chrono::steady_clock;
constexpr std::chrono::milliseconds kPoll{5};

fs::path LockBeside(const fs::path &settingsCopy)
{
    fs::path name = ".";
    name += settingsCopy.filename();
    name += ".lock";
    return settingsCopy.parent_path() / name;
}

// Where the holder of the lock `lockFile` keeps the old text of a file that
// it writes in place, until the new one is whole.
fs::path JournalOf(const fs::path &lockFile)
{
    return fs::path(lockFile).replace_extension(".journal");
}

std::error_code WriteAndCommit(AtomicFile &file, std::string_view text)
{
    if (const std::error_code reason = file.write(text))
        return reason;
    return file.commit();
}

std::vector<fs::path> FilesOf(std::span<const SaveStep> steps)
{
    std::vector<fs::path> files;
    for (const SaveStep &step : steps)
        files.push_back(step.file);
    return files;
}

} // namespace

LocalWriter::LocalWriter(fs::path journal, bool clearLeftOvers)
    : journal_(std::move(journal)), clearLeftOvers_(clearLeftOvers)
{
}

Result LocalWriter::Write(std::span<const SaveStep> steps, std::size_t &done)
{
    for (done = 0; done < steps.size(); ++done) {
        const SaveStep &step = steps[done];
        if (clearLeftOvers_)
            RemoveLeftOverTemporaries(step.file);
        AtomicFile file(step.file, step.onlyIfMissing);
        std::error_code reason = file.open();
        if (!reason && file.inPlace())
            reason = WriteInPlace(file.target(), step.text);
        else if (!reason)
            reason = WriteAndCommit(file, step.text);
        if (reason)
            return FileFailure("save", step.file, reason);
    }
    return {};
}

std::error_code LocalWriter::WriteJournal(const std::string &entry)
{
    AtomicFile journal(journal_);
    if (const std::error_code reason = journal.open())
        return reason;
    if (journal.inPlace())
        return Overwrite(journal.target(), entry);
    return WriteAndCommit(journal, entry);
}

std::error_code LocalWriter::WriteInPlace(const fs::path &file, const std::string &text)
{
    bool journaled = false;
    if (!journal_.empty()) {
        // A journal that cannot be written is no reason to refuse the save:
        // the file is written all the same, as without a journal.
        const auto former = ReadWhole(file, kMaxSettingsFileSize);
        const auto entry = former ? JournalText(file, *former, text) : former;
        journaled = entry && !WriteJournal(*entry);
    }
    const std::error_code reason = Overwrite(file, text);
    if (journaled && reason) {
        UndoInterruptedOverwrite(journal_, {file}); // a failure half-way puts the old text back
    } else if (journaled) {
        std::error_code ignored; // the next save or start finds the new text whole, and removes it
        fs::remove(journal_, ignored);
    }
    return reason;
}

Outcome<File> HoldSaveLock(const fs::path &file, std::chrono::milliseconds wait)
{
    if (file.empty())
        return std::make_error_code(std::errc::invalid_argument);
    std::error_code ignored; // a folder that cannot be made fails the open below
    fs::create_directories(file.parent_path(), ignored);
    auto lock = File::OpenForLocking(file);
    if (!lock)
        return lock.error();
    const auto deadline = Clock::now() + wait;
    for (;;) {
        const std::error_code attempt = lock->TryLock();
        if (!attempt)
            return lock;
        if (attempt != std::errc::resource_unavailable_try_again)
            return attempt;
        if (Clock::now() >= deadline)
            return std::make_error_code(std::errc::timed_out);
        std::this_thread::sleep_for(kPoll);
    }
}

SaveTransaction::SaveTransaction(Places places) : places_(std::move(places)) {}

std::vector<fs::path> SaveTransaction::LockPlaces() const
{
    std::vector<fs::path> places;
    if (!places_.saveLock.empty())
        places.push_back(places_.saveLock);
    if (!places_.settingsCopy.empty())
        places.push_back(LockBeside(places_.settingsCopy));
    return places;
}

Result SaveTransaction::Prepare(const fs::path &gameFile, const TankSettings &settings)
{
    std::string bytes;
    if (Result storable = EncodeSettingsText(settings, AnsiCodePage(), bytes); !storable)
        return storable;
    if (places_.settingsCopy.empty())
        return Result::Failure(DescribeFailure("save", gameFile, std::string(kNoUserFolder)));
    steps_.push_back({gameFile, bytes, true});
    steps_.push_back({places_.settingsCopy, std::move(bytes)});
    return {};
}

Result SaveTransaction::Begin()
{
    if (begun_)
        return {};
    // Two copies of the program saving at once must not leave a pair of
    // files from different saves. A lock that cannot be had anywhere is no
    // reason to refuse the save: it then guards nothing, and the save takes
    // none of the steps that only a lock holder may.
    Outcome<File> lock = std::make_error_code(std::errc::invalid_argument);
    fs::path lockFile;
    for (const fs::path &place : LockPlaces()) {
        lock = HoldSaveLock(place, kSaveLockWait);
        if (lock.error() == std::errc::timed_out)
            return Result::Failure(DescribeFailure(
                "save", steps_.empty() ? place : steps_.front().file,
                "Another copy of Brinevar is saving and has not finished. Nothing was "
                "saved; try again."));
        if (lock) {
            lockFile = place;
            break;
        }
    }
    begun_ = true;
    // What a killed save left half-way is cleared up while no other save runs.
    if (lock) {
        lock_ = std::move(*lock);
        journal_ = JournalOf(lockFile);
        UndoInterruptedOverwrite(journal_, FilesOf(steps_));
    }
    return {};
}

Result SaveTransaction::Commit()
{
    if (steps_.empty())
        return {};
    if (Result begun = Begin(); !begun)
        return begun;
    LocalWriter local(journal_, !journal_.empty());
    for (std::size_t first = 0; first < steps_.size();) {
        // A run of steps with one writer goes to it at once.
        std::size_t end = first + 1;
        while (end < steps_.size() && steps_[end].writer == steps_[first].writer)
            ++end;
        StepWriter &writer = steps_[first].writer ? *steps_[first].writer : local;
        std::size_t done = 0;
        if (Result written = writer.Write(std::span(steps_).subspan(first, end - first), done);
            !written) {
            std::string message = written.message();
            for (std::size_t i = 0; i < first + done; ++i)
                if (steps_[i].toldWhenSaved)
                    message += "\n\n" + ShownPath(steps_[i].file) + " was saved.";
            return Result::Failure(message, written.cause());
        }
        first = end;
    }
    return {};
}

void SaveTransaction::UndoInterrupted(const std::vector<fs::path> &files) const
{
    for (const fs::path &lockFile : LockPlaces()) {
        std::error_code ignored; // a journal that cannot be seen now is looked for next time
        if (!fs::exists(JournalOf(lockFile), ignored))
            continue; // as at nearly every start
        // A journal that another copy's save is using is that copy's to remove.
        if (const auto lock = HoldSaveLock(lockFile, std::chrono::milliseconds(0)))
            UndoInterruptedOverwrite(JournalOf(lockFile), files);
    }
}

} // namespace brinevar
