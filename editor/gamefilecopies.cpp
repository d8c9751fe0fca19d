#include "gamefilecopies.h"

#include "file.h"
#include "settingsfile.h"

namespace brinevar {
namespace {

namespace fs = std::filesystem;

bool IsDriveLetter(char c)
{
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

bool IsSeparator(char c)
{
    return c == '\\' || c == '/';
}

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
    if (virtualStore.empty() || ztPath.size() < 2 || !IsDriveLetter(ztPath[0]) ||
        ztPath[1] != ':' || (ztPath.size() > 2 && !IsSeparator(ztPath[2])))
        return {};
    // The folder's names as Windows takes them: "." and ".." resolved, doubled
    // separators one.
    std::vector<std::string> names;
    for (std::size_t start = 2; start <= ztPath.size();) {
        std::size_t end = start;
        while (end < ztPath.size() && !IsSeparator(ztPath[end]))
            ++end;
        const std::string name = ztPath.substr(start, end - start);
        if (name == ".." && !names.empty())
            names.pop_back();
        else if (!name.empty() && name != "." && name != "..")
            names.push_back(name);
        start = end + 1;
    }
    fs::path copy = virtualStore;
    for (const std::string &name : names)
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
