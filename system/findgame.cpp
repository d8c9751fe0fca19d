#include "findgame.h"

#include "asciicase.h"
#include "programfolder.h"

#include <algorithm>

namespace brinevar {

namespace fs = std::filesystem;

namespace {

bool SameName(const fs::path &entry, std::string_view name)
{
    return SameIgnoringAsciiCase(PathToUtf8(entry.filename()), name);
}

// The entries of `folder` that `name` names: each entry for "*" (in the
// order of their names, so that the look does the same on every run), else
// the entry spelled so or, failing that, one spelled so in another case.
std::vector<fs::path> Matching(const fs::path &folder, const fs::path &name)
{
    std::error_code error;
    if (name != "*" && fs::exists(folder / name, error))
        return {folder / name};
    std::vector<fs::path> found;
    for (fs::directory_iterator entry(folder, error), end; !error && entry != end;
         entry.increment(error))
        if (name == "*" ? entry->is_directory(error) : SameName(entry->path(), PathToUtf8(name)))
            found.push_back(entry->path());
    std::ranges::sort(found);
    return found;
}

std::optional<fs::path> UpdatesOfGame(const fs::path &folder)
{
    std::optional<fs::path> updates;
    bool program = false;
    std::error_code error;
    for (fs::directory_iterator entry(folder, error), end; !error && entry != end;
         entry.increment(error)) {
        if (SameName(entry->path(), "zoo.exe") && entry->is_regular_file(error))
            program = true;
        else if (SameName(entry->path(), "Updates") && entry->is_directory(error))
            updates = entry->path();
    }
    return program ? updates : std::nullopt;
}

} // namespace

std::optional<fs::path> FindGameUpdates(const std::vector<fs::path> &patterns)
{
    for (const fs::path &pattern : patterns) {
        if (pattern.empty())
            continue;
        std::vector<fs::path> folders{pattern.root_path()};
        for (const fs::path &name : pattern.relative_path()) {
            if (name.empty()) // after a trailing separator
                continue;
            std::vector<fs::path> deeper;
            for (const fs::path &folder : folders)
                std::ranges::move(Matching(folder, name), std::back_inserter(deeper));
            folders = std::move(deeper);
        }
        for (const fs::path &folder : folders)
            if (auto updates = UpdatesOfGame(folder))
                return updates;
    }
    return std::nullopt;
}

} // namespace brinevar
