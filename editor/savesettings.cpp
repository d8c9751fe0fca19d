#include "savesettings.h"

#include "inplacewrite.h"
#include "savelock.h"
#include "settingsfile.h"
#include "storabletexts.h"
#include "updatesfolder.h"

#include <optional>
#include <vector>

namespace brinevar {
namespace {

constexpr std::string_view kSettingsCopyName = "tanks.ini";
constexpr std::string_view kNoUserFolder = "There is no per-user folder to keep tanks.ini in.";

std::string Shown(const std::filesystem::path &file)
{
    return PathToUtf8(std::filesystem::path(file).make_preferred());
}

Result CouldNot(std::string_view verb, const std::filesystem::path &file, const std::string &reason)
{
    return Result::Failure(DescribeFailure(verb, file, reason));
}

// Whatever goes wrong, the user learns which file and why; the window stays.
template <typename Step>
Result Guarded(std::string_view verb, const std::filesystem::path &file, Step step)
{
    try {
        step();
        return {};
    } catch (const FileError &error) {
        return CouldNot(verb, error.file(), error.reason().message());
    } catch (const std::system_error &error) {
        return CouldNot(verb, file, error.code().message());
    } catch (const std::exception &error) {
        return CouldNot(verb, file, error.what());
    }
}

} // namespace

std::filesystem::path GameFilePath(const std::string &ztPath)
{
    std::string name = UpdatesFolderOnThisSystem(ztPath);
    if (!name.empty() && !name.ends_with('\\') && !name.ends_with('/'))
        name += char(std::filesystem::path::preferred_separator);
    return PathFromUtf8(name + std::string(kGameFileName));
}

Result SaveSettingsFiles(const std::string &ztPath, const TankSettings &settings,
                         const Places &places)
{
    if (Result storable = RefuseUnstorableTexts(settings); !storable)
        return storable;
    std::filesystem::path gameFile = PathFromUtf8(ztPath + std::string(kGameFileName));
    Result outcome = Guarded("save", gameFile, [&] { gameFile = GameFilePath(ztPath); });
    if (!outcome)
        return outcome;
    if (places.settingsCopy.empty())
        return CouldNot("save", gameFile, std::string(kNoUserFolder));
    // Two copies of the program saving at once must not leave a pair of
    // files from different saves. Where the per-user folder cannot be made,
    // the lock lies beside tanks.ini, where this save must be able to write
    // anyway.
    std::filesystem::path lockFile = places.saveLock;
    std::optional<SaveLock> lock;
    lock.emplace(lockFile, kSaveLockWait);
    if (!lock->held() && !lock->timedOut()) {
        lockFile = SaveLockBeside(places.settingsCopy);
        lock.emplace(lockFile, kSaveLockWait);
    }
    if (lock->timedOut())
        return CouldNot("save", gameFile,
                        "Another copy of Brinevar is saving and has not finished. Nothing was "
                        "saved; try again.");
    // What a killed save left half-way is cleared up while no other save runs.
    std::filesystem::path journal;
    if (lock->held()) {
        journal = SaveJournal(lockFile);
        UndoInterruptedOverwrite(journal, {gameFile, places.settingsCopy});
    }
    for (const auto &file : {gameFile, places.settingsCopy}) {
        outcome = Guarded("save", file, [&] {
            if (lock->held())
                RemoveLeftOverTemporaries(file);
            WriteSettingsFile(file, settings, journal);
        });
        if (!outcome) {
            if (file == places.settingsCopy)
                return Result::Failure(outcome.message() + "\n\n" + Shown(gameFile) +
                                       " was saved.");
            return outcome;
        }
    }
    return {};
}

void UndoInterruptedSave(const std::string &ztPath, const Places &places)
{
    if (places.settingsCopy.empty())
        return;
    for (const auto &lockFile : {places.saveLock, SaveLockBeside(places.settingsCopy)}) {
        std::error_code ignored;
        if (lockFile.empty() || !std::filesystem::exists(SaveJournal(lockFile), ignored))
            continue; // as at nearly every start
        std::vector<std::filesystem::path> files{places.settingsCopy};
        std::filesystem::path gameFile;
        if (Guarded("save", gameFile, [&] { gameFile = GameFilePath(ztPath); }))
            files.push_back(gameFile);
        // A journal that another copy's save is using is that copy's to remove.
        if (const SaveLock lock(lockFile, std::chrono::milliseconds(0)); lock.held())
            UndoInterruptedOverwrite(SaveJournal(lockFile), files);
    }
}

Result LoadSettingsCopy(const std::filesystem::path &copy, TankSettings &settings)
{
    if (copy.empty())
        return CouldNot("read", PathFromUtf8(kSettingsCopyName), std::string(kNoUserFolder));
    try {
        ReadSettingsFile(copy, settings);
    } catch (const FileError &error) {
        if (error.reason() == std::errc::no_such_file_or_directory)
            return {};
        return CouldNot("read", error.file(), error.reason().message());
    } catch (const std::exception &error) {
        return CouldNot("read", copy, error.what());
    }
    return {};
}

std::string DescribeFailure(std::string_view verb, const std::filesystem::path &file,
                            const std::string &reason)
{
    return "Could not " + std::string(verb) + " " + Shown(file) + ":\n" + reason;
}

} // namespace brinevar
