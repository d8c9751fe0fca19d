#include "updatesfolder.h"

#include "updatesfolderrules.h"

namespace brinevar {

std::string DefaultUpdatesFolder(const LookSources &sources)
{
    if (const auto updates = FindGameUpdates(GameFolderPatterns(sources)))
        return FolderAsAnswer(*updates);
    return StandardUpdatesFolder(sources);
}

} // namespace brinevar
