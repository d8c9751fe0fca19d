#include "updatesfolder.h"

#include "updatesfolderrules.h"

namespace brinevar {

std::string DefaultUpdatesFolder(const LookSources &sources)
{
    if (const auto updates = FindGameUpdates(GameFolderPatterns(sources)))
        return FolderAsAnswer(*updates);
    return StandardUpdatesFolder(sources);
}

std::string MachineDefaultUpdatesFolder()
{
    return DefaultUpdatesFolder(MachineLookSources());
}

} // namespace brinevar
