#include "savesettings.h"

#include "gamefilecopies.h"
#include "savetransaction.h"
#include "settingsfile.h"
#include "updatesfolder.h"

namespace brinevar {

namespace fs = std::filesystem;

std::filesystem::path GameFilePath(const std::string &ztPath)
{
    std::string name = UpdatesFolderOnThisSystem(ztPath);
    if (!name.empty() && !name.ends_with('\\') && !name.ends_with('/'))
        name += char(std::filesystem::path::preferred_separator);
    return PathFromUtf8(name + std::string(kGameFileName));
}

namespace {

// The copy of the game's file in the VirtualStore folder, where there is one.
fs::path ExistingVirtualStoreCopy(const std::string &ztPath, const Places &places)
{
    const fs::path copy = VirtualStoreCopy(places.virtualStore, ztPath);
    std::error_code error; // a copy that cannot be seen is none to write
    return !copy.empty() && fs::is_regular_file(copy, error) ? copy : fs::path();
}

} // namespace

Result SaveSettingsFiles(const std::string &ztPath, const TankSettings &settings,
                         const Places &places, StepWriter *gameFolder)
{
    SaveTransaction save(places);
    const fs::path gameFile = GameFilePath(ztPath);
    if (Result prepared = save.Prepare(gameFile, settings); !prepared)
        return prepared;
    std::vector<SaveStep> &steps = save.Steps();
    // The copy the game reads in place of its file gets the same text, right
    // after it; none is made where Windows keeps none.
    std::vector<fs::path> gameFiles{gameFile};
    if (const auto copy = ExistingVirtualStoreCopy(ztPath, places); !copy.empty()) {
        steps.insert(steps.begin() + 1, SaveStep{copy, steps.front().text, true});
        gameFiles.insert(gameFiles.begin(), copy);
    }
    if (Result begun = save.Begin(); !begun)
        return begun;
    // Under the lock: [kept copy of the VirtualStore copy], [kept copy of
    // tanks.cfg], tanks.cfg, [the VirtualStore copy], tanks.ini. The steps in
    // the game's folder stay side by side. A kept copy needs no journal: cut
    // short, its text is still in the file it keeps, which the next save
    // keeps again.
    if (Result kept = KeepFormerTexts(steps, gameFiles, places.settingsCopy); !kept)
        return kept;
    // The files of the game's folder go through `gameFolder` where one is
    // given (side by side, so one hand-over takes them all); tanks.ini is
    // this process's to write, wherever it lies.
    for (SaveStep &step : steps)
        if (step.file.parent_path() == gameFile.parent_path() && step.file != places.settingsCopy)
            step.writer = gameFolder;
    return save.Commit();
}

void UndoInterruptedSave(const std::string &ztPath, const Places &places)
{
    std::vector<fs::path> files{places.settingsCopy, GameFilePath(ztPath)};
    if (const auto copy = VirtualStoreCopy(places.virtualStore, ztPath); !copy.empty())
        files.push_back(copy);
    SaveTransaction(places).UndoInterrupted(files);
}

Result LoadSettings(const std::string &ztPath, const Places &places, TankSettings &settings)
{
    const fs::path &copy = places.settingsCopy;
    if (copy.empty())
        return Result::Failure(
            DescribeFailure("read", PathFromUtf8("tanks.ini"), std::string(kNoUserFolder)));
    Result read = ReadSettingsFile(copy, settings);
    if (read.cause() != std::errc::no_such_file_or_directory)
        return read;
    // No copy of its own yet: the values the game uses. Where Windows keeps
    // a copy of the game's file, the game reads that one. A file that cannot
    // be read is passed over, and the fields keep their texts.
    for (const fs::path &file :
         {VirtualStoreCopy(places.virtualStore, ztPath), GameFilePath(ztPath)})
        if (!file.empty() && ReadSettingsFile(file, settings))
            break;
    return {};
}

} // namespace brinevar
