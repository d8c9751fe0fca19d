#include "savesettings.h"

#include "programfolder.h"
#include "settingsfile.h"

namespace brinevar {

std::filesystem::path GameFilePath(const std::string &ztPath)
{
    std::string name = ztPath;
    if (!name.empty() && !name.ends_with('\\') && !name.ends_with('/'))
        name += char(std::filesystem::path::preferred_separator);
    return PathFromUtf8(name + std::string(kGameFileName));
}

std::filesystem::path SettingsCopyPath()
{
    return SettingsCopyFolder() / PathFromUtf8(kSettingsCopyName);
}

std::optional<std::string> SaveSettingsFiles(const std::string &ztPath,
                                             const TankSettings &settings)
{
    for (const auto &file : {GameFilePath(ztPath), SettingsCopyPath()}) {
        try {
            WriteSettingsFile(file, settings);
        } catch (const FileError &error) {
            return DescribeFileError("save", error);
        }
    }
    return std::nullopt;
}

std::string DescribeFileError(std::string_view verb, const FileError &error)
{
    return "Could not " + std::string(verb) + " " +
           PathToUtf8(std::filesystem::path(error.file()).make_preferred()) + ":\n" +
           error.reason().message();
}

} // namespace brinevar
