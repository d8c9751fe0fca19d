#include "updatesfolder.h"

#include "updatesfolderrules.h"

#include "asciicase.h"

#include <algorithm>

namespace brinevar {

std::string DefaultUpdatesFolder(const LookSources &sources)
{
    if (const auto updates = FindGameUpdates(GameFolderPatterns(sources)))
        return FolderAsAnswer(*updates);
    return StandardUpdatesFolder(sources);
}

std::optional<DrivePath> ReadDrivePath(const std::string &path)
{
    if (path.size() < 2 || AsciiUpper(path[0]) < 'A' || AsciiUpper(path[0]) > 'Z' || path[1] != ':')
        return std::nullopt;
    DrivePath read{path[0], {}};
    for (std::size_t start = 2; start <= path.size();) {
        const std::size_t end = std::min(path.find_first_of("\\/", start), path.size());
        const std::string name = path.substr(start, end - start);
        if (name == "..") {
            if (!read.names.empty())
                read.names.pop_back();
        } else if (!name.empty() && name != ".") {
            read.names.push_back(name);
        }
        start = end + 1;
    }
    return read;
}

std::string MachineDefaultUpdatesFolder()
{
    return DefaultUpdatesFolder(MachineLookSources());
}

} // namespace brinevar
