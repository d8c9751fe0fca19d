#include "savesettings.h"

#include "programfolder.h"
#include "settingsfile.h"
#include "storabletexts.h"
#include "updatesfolder.h"

namespace brinevar {
namespace {

std::string Shown(const std::filesystem::path &file)
{
    return PathToUtf8(std::filesystem::path(file).make_preferred());
}

std::string CouldNotSave(const std::filesystem::path &file, const std::string &reason)
{
    return DescribeFailure("save", file, reason);
}

// Whatever goes wrong, the user learns which file and why; the window stays.
std::optional<std::string> WriteOne(const std::filesystem::path &file, const TankSettings &settings)
{
    try {
        WriteSettingsFile(file, settings);
        return std::nullopt;
    } catch (const FileError &error) {
        return DescribeFileError("save", error);
    } catch (const std::system_error &error) {
        return CouldNotSave(file, error.code().message());
    } catch (const std::exception &error) {
        return CouldNotSave(file, error.what());
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

std::filesystem::path SettingsCopyPath()
{
    return SettingsCopyFolder() / PathFromUtf8(kSettingsCopyName);
}

std::optional<std::string> SaveSettingsFiles(const std::string &ztPath,
                                             const TankSettings &settings,
                                             std::chrono::milliseconds lockWait)
{
    if (auto refusal = RefuseUnstorableTexts(settings))
        return refusal;
    std::filesystem::path gameFile = PathFromUtf8(ztPath + std::string(kGameFileName));
    try {
        gameFile = GameFilePath(ztPath);
        // Two copies of the program saving at once must not leave a pair of
        // files from different saves. Where tanks.ini goes is decided under
        // the lock too, so that both decide alike. Where the per-user folder
        // cannot be made, the lock lies beside tanks.ini, where this save
        // must be able to write anyway.
        std::optional<SaveLock> lock;
        lock.emplace(SaveLockPath(), lockWait);
        const std::filesystem::path copy = SettingsCopyPath();
        if (!lock->held() && !lock->timedOut())
            lock.emplace(SaveLockBeside(copy), lockWait);
        if (lock->timedOut())
            return CouldNotSave(gameFile, "Another copy of Brinevar is saving and has not "
                                          "finished. Nothing was saved; try again.");
        for (const auto &file : {gameFile, copy}) {
            if (lock->held())
                RemoveLeftOverTemporaries(file);
            if (auto failure = WriteOne(file, settings)) {
                if (file == copy)
                    *failure += "\n\n" + Shown(gameFile) + " was saved.";
                return failure;
            }
        }
        return std::nullopt;
    } catch (const std::exception &error) {
        return CouldNotSave(gameFile, error.what());
    }
}

std::string DescribeFailure(std::string_view verb, const std::filesystem::path &file,
                            const std::string &reason)
{
    return "Could not " + std::string(verb) + " " + Shown(file) + ":\n" + reason;
}

std::string DescribeFileError(std::string_view verb, const FileError &error)
{
    return DescribeFailure(verb, error.file(), error.reason().message());
}

} // namespace brinevar
