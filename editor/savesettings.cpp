#include "savesettings.h"

#include "savelock.h"
#include "settingsfile.h"
#include "storabletexts.h"
#include "updatesfolder.h"

#include <optional>

namespace brinevar {
namespace {

constexpr std::string_view kSettingsCopyName = "tanks.ini";
constexpr std::string_view kNoUserFolder = "There is no per-user folder to keep tanks.ini in.";

Result CouldNot(std::string_view verb, const std::filesystem::path &file, const std::string &reason)
{
    return Result::Failure(DescribeFailure(verb, file, reason));
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
    const std::filesystem::path gameFile = GameFilePath(ztPath);
    if (places.settingsCopy.empty())
        return CouldNot("save", gameFile, std::string(kNoUserFolder));
    // Two copies of the program saving at once must not leave a pair of
    // files from different saves. Where the per-user folder cannot be made,
    // the lock lies beside tanks.ini, where this save must be able to write
    // anyway.
    std::optional<SaveLock> lock;
    lock.emplace(places.saveLock, kSaveLockWait);
    if (!lock->held() && !lock->timedOut())
        lock.emplace(SaveLockBeside(places.settingsCopy), kSaveLockWait);
    if (lock->timedOut())
        return CouldNot("save", gameFile,
                        "Another copy of Brinevar is saving and has not finished. Nothing was "
                        "saved; try again.");
    for (const auto &file : {gameFile, places.settingsCopy}) {
        if (lock->held())
            RemoveLeftOverTemporaries(file);
        if (Result written = WriteSettingsFile(file, settings); !written) {
            if (file == places.settingsCopy)
                return Result::Failure(written.message() + "\n\n" + ShownPath(gameFile) +
                                       " was saved.");
            return written;
        }
    }
    return {};
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
