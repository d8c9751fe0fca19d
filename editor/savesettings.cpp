#include "savesettings.h"

#include "ansicodepage.h"
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

Result CouldNot(std::string_view verb, const std::filesystem::path &file, const std::string &reason)
{
    return Result::Failure(DescribeFailure(verb, file, reason));
}

// The game's file handed to `writer`, which writes its folder's files.
Result WriteGameFileThrough(const FolderWriter &writer, const std::filesystem::path &gameFile,
                            const TankSettings &settings)
{
    std::string bytes;
    if (const Result encoded = EncodeSettingsText(settings, AnsiCodePage(), bytes); !encoded)
        return CouldNot("save", gameFile, encoded.message());
    return writer(gameFile.parent_path(), {{std::string(kGameFileName), std::move(bytes)}});
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
                         const Places &places, const FolderWriter &gameFolder)
{
    if (Result storable = RefuseUnstorableTexts(settings); !storable)
        return storable;
    const std::filesystem::path gameFile = GameFilePath(ztPath);
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
        if (lock->held())
            RemoveLeftOverTemporaries(file);
        if (Result written = gameFolder && file == gameFile
                                 ? WriteGameFileThrough(gameFolder, file, settings)
                                 : WriteSettingsFile(file, settings, journal);
            !written) {
            if (file == places.settingsCopy)
                return Result::Failure(written.message() + "\n\n" + ShownPath(gameFile) +
                                       " was saved.");
            return written;
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
        const std::vector<std::filesystem::path> files{places.settingsCopy, GameFilePath(ztPath)};
        // A journal that another copy's save is using is that copy's to remove.
        if (const SaveLock lock(lockFile, std::chrono::milliseconds(0)); lock.held())
            UndoInterruptedOverwrite(SaveJournal(lockFile), files);
    }
}

Result LoadSettingsCopy(const std::filesystem::path &copy, TankSettings &settings)
{
    if (copy.empty())
        return CouldNot("read", PathFromUtf8(kSettingsCopyName), std::string(kNoUserFolder));
    Result read = ReadSettingsFile(copy, settings);
    if (read.cause() == std::errc::no_such_file_or_directory)
        return {};
    return read;
}

} // namespace brinevar
