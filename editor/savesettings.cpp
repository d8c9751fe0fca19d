#include "savesettings.h"

#include "savetransaction.h"
#include "settingsfile.h"
#include "updatesfolder.h"

namespace brinevar {

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
    SaveTransaction save(places);
    if (Result prepared = save.Prepare(GameFilePath(ztPath), settings); !prepared)
        return prepared;
    return save.Commit();
}

void UndoInterruptedSave(const std::string &ztPath, const Places &places)
{
    SaveTransaction(places).UndoInterrupted({places.settingsCopy, GameFilePath(ztPath)});
}

Result LoadSettingsCopy(const std::filesystem::path &copy, TankSettings &settings)
{
    if (copy.empty())
        return Result::Failure(
            DescribeFailure("read", PathFromUtf8("tanks.ini"), std::string(kNoUserFolder)));
    Result read = ReadSettingsFile(copy, settings);
    if (read.cause() == std::errc::no_such_file_or_directory)
        return {};
    return read;
}

} // namespace brinevar
