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
                         const Places &places, StepWriter *gameFolder)
{
    const std::filesystem::path gameFile = GameFilePath(ztPath);
    SaveTransaction save(places);
    if (Result prepared = save.Prepare(gameFile, settings); !prepared)
        return prepared;
    // tanks.ini is this process's to write, wherever it lies.
    for (SaveStep &step : save.Steps())
        if (step.file.parent_path() == gameFile.parent_path() && step.file != places.settingsCopy)
            step.writer = gameFolder;
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
