#include "mainwindow.h"

#include "programfolder.h"
#include "savesettings.h"
#include "settingsfile.h"
#include "updatesfolder.h"

namespace brinevar {

TankSettings FieldTexts(const MainWindowHost &host)
{
    TankSettings texts;
    for (std::size_t i = 0; i < texts.size(); ++i)
        texts[i] = host.FieldText(i);
    return texts;
}

void SetFieldTexts(MainWindowHost &host, const TankSettings &texts)
{
    for (std::size_t i = 0; i < texts.size(); ++i)
        host.SetFieldText(i, texts[i]);
}

namespace {

std::string LoadUpdatesFolder(MainWindowHost &host)
{
    std::string path = host.GetSetting(kStoreApp, kStoreSection, kStoreKey, kNoPathSet);
    if (path == kNoPathSet) {
        path = host.InputBox(kFolderPrompt, kFolderPromptTitle, DefaultUpdatesFolder());
        // The answer serves this run even when it cannot be kept for the next.
        if (const std::string error = host.SaveSetting(kStoreApp, kStoreSection, kStoreKey, path);
            !error.empty())
            host.MsgBox(error);
    }
    return path;
}

void LoadSettingsCopy(MainWindowHost &host)
{
    TankSettings settings = FieldTexts(host);
    std::filesystem::path copy = kSettingsCopyName;
    try {
        copy = SettingsCopyPath();
        ReadSettingsFile(copy, settings);
    } catch (const FileError &error) {
        // No copy yet is the normal first start; anything else is worth saying.
        if (error.reason() != std::errc::no_such_file_or_directory)
            host.MsgBox(DescribeFileError("read", error));
        return;
    } catch (const std::exception &error) {
        // Whatever it is, the window opens with its initial texts.
        host.MsgBox(DescribeFailure("read", copy, error.what()));
        return;
    }
    SetFieldTexts(host, settings);
}

} // namespace

std::string DescribeStoreError(std::string_view where, std::string_view reason)
{
    return "Could not save the Updates folder in " + std::string(where) + ":\n" +
           std::string(reason) +
           "\n\nThe folder is used until the program ends and is asked for again at the next "
           "start.";
}

std::string FormLoad(MainWindowHost &host)
{
    std::string ztPath = LoadUpdatesFolder(host);
    LoadSettingsCopy(host);
    return ztPath;
}

void SetToDefault(MainWindowHost &host)
{
    SetFieldTexts(host, DefaultTexts());
}

bool SaveAndExit(MainWindowHost &host, const std::string &ztPath)
{
    if (const auto failure = SaveSettingsFiles(ztPath, FieldTexts(host))) {
        host.MsgBox(*failure);
        return false;
    }
    return true;
}

bool ValidateField(MainWindowHost &host, std::string_view field)
{
    const auto setting = FindSettingByField(field);
    if (!setting || !Catalogue()[*setting].check)
        return false;
    const RangeCheck &check = *Catalogue()[*setting].check;
    if (Passes(host.FieldText(*setting), check, host.UserNumberFormat()))
        return false;
    host.MsgBox(std::string(check.message));
    return true;
}

void ShowHelp(MainWindowHost &host, std::string_view array, int index)
{
    for (const Setting &setting : Catalogue())
        if (setting.help && setting.help->array == array && setting.help->index == index)
            host.MsgBox(std::string(setting.help->message));
}

} // namespace brinevar
