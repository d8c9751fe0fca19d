#include "updatesfolder.h"

#include "programfolder.h"
#include "updatesfolderrules.h"

#include <filesystem>

namespace brinevar {

namespace {

// A 64-bit Windows installs the 32-bit game under the first, a 32-bit one
// under the second.
constexpr const char *kProgramFolders[] = {"Program Files (x86)", "Program Files"};

} // namespace

std::string DefaultUpdatesFolder()
{
    for (const char *programFiles : kProgramFolders) {
        const std::string folder = GameUpdatesUnder(programFiles);
        std::error_code error;
        if (std::filesystem::is_directory(PathFromUtf8(folder), error))
            return folder;
    }
    return StandardUpdatesFolder();
}

} // namespace brinevar
