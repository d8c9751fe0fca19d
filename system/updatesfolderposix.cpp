// Where the game's Updates folder is off Windows: in a Wine prefix.
#include "updatesfolder.h"
#include "updatesfolderrules.h"

#include "asciicase.h"
#include <filesystem>

namespace brinevar {

namespace fs = std::filesystem;

namespace {

std::string WinePrefix(const LookSources &sources)
{
    if (const std::string wine = sources.variable("WINEPREFIX"); !wine.empty())
        return wine;
    return sources.home.native() + "/.wine"; // as Wine finds it
}

// The entry of `folder` that `name` names on a drive without case: the
// exact name when it exists, else the first one that differs only in case.
std::string EntryNamed(const fs::path &folder, const std::string &name)
{
    std::error_code error;
    if (fs::exists(folder / name, error))
        return name;
    for (fs::directory_iterator entry(folder, error), end; !error && entry != end;
         entry.increment(error)) {
        const std::string found = entry->path().filename().native();
        if (SameIgnoringAsciiCase(found, name))
            return found;
    }
    return name;
}

} // namespace

// Without the game, where a game would go: a 64-bit prefix installs 32-bit
// games under "Program Files (x86)".
std::string StandardUpdatesFolder(const LookSources &sources)
{
    const std::string drive = WinePrefix(sources) + "/drive_c/";
    std::error_code error;
    const bool wow64 = fs::is_directory(drive + "Program Files (x86)", error);
    return drive + (wow64 ? "Program Files (x86)" : "Program Files") +
           "/Microsoft Games/Zoo Tycoon/Updates/";
}

std::string FolderAsAnswer(const fs::path &folder)
{
    const std::string answer = folder.native();
    return answer.ends_with('/') ? answer : answer + '/';
}

std::string UpdatesFolderOnThisSystem(const std::string &ztPath)
{
    const bool endsInSeparator = ztPath.ends_with('\\') || ztPath.ends_with('/');
    const auto drivePath = ReadDrivePath(ztPath);
    if (!drivePath) {
        if (ztPath.ends_with('\\'))
            return ztPath.substr(0, ztPath.size() - 1) + '/';
        return ztPath;
    }
    const std::string prefix = WinePrefix(MachineLookSources());
    // Wine names its drive links in small letters.
    const char letter = char(AsciiUpper(drivePath->letter) - 'A' + 'a');
    fs::path folder = fs::path(prefix) / "dosdevices" / (std::string(1, letter) + ":");
    std::error_code error;
    if (letter == 'c' && !fs::exists(folder, error))
        folder = fs::path(prefix) / "drive_c";
    // Read as Windows reads it (ReadDrivePath), the path stays inside the
    // prefix.
    for (const std::string &name : drivePath->names)
        folder /= EntryNamed(folder, name);
    return folder.native() + (endsInSeparator ? "/" : "");
}

} // namespace brinevar
