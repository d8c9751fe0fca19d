#include "gamefilecopies.h"

#include "file.h"
#include "settingsfile.h"
#include "updatesfolder.h"

namespace brinevar {
namespace {

namespace fs = std::filesystem;

fs::path WithSuffix(const fs::path &file, const char *suffix)
{
    fs::path named = file;
    named += suffix;
    return named;
}

} // namespace

fs::path VirtualStoreCopy(const fs::path &virtualStore, const std::string &ztPath)
{
    // "c:\..." or "c:" alone; "c:Updates\" is relative to that drive's
    // working folder.
    const auto drivePath = ReadDrivePath(ztPath);
    if (virtualStore.empty() || !drivePath ||
        (ztPath.size() > 2 && ztPath[2] != '\\' && ztPath[2] != '/'))
        return {};
    fs::path copy = virtualStore;
    for (const std::string &name : drivePath->names)
        copy /= PathFromUtf8(name);
    return copy / PathFromUtf8(kGameFileName);
}

Result KeepFormerTexts(std::vector<SaveStep> &steps, std::span<const fs::path> files,
                       const fs::path &settingsCopy)
{
    // Without a copy to compare, or one that cannot be read, the text is kept.
    const auto written = ReadWhole(settingsCopy, kMaxSettingsFileSize);
    std::vector<SaveStep> kept;
    for (const fs::path &file : files) {
        std::error_code error;
        // A folder, pipe or device is no text; the save's own step says why
        // it cannot be replaced.
        if (!fs::is_regular_file(fs::status(file, error)))
            continue;
        // Read as any settings file is: a file that turned into a pipe is
        // refused at once, and a huge one is never read.
        const auto text = ReadWhole(file, kMaxSettingsFileSize);
        if (!text)
            return Result::Failure(
                DescribeFailure("keep a copy of", file,
                                text.error().message() + "\n\nNothing was saved."),
                text.error());
        if (written && *written == *text)
            continue;
        // Where it cannot be told whether an .original is there, it is.
        const fs::path original = WithSuffix(file, ".original");
        const bool first = fs::symlink_status(original, error).type() == fs::file_type::not_found;
        SaveStep step{first ? original : WithSuffix(file, ".bak"), *text};
        step.onlyIfMissing = first;
        kept.push_back(std::move(step));
    }
    steps.insert(steps.begin(), kept.begin(), kept.end());
    return {};
}

} // namespace brinevar
