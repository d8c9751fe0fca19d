#include "programfolder.h"

#include "elevationrequest.h"
#include "folderrules.h"

#include <system_error>

namespace brinevar {

std::filesystem::path Resolved(const std::filesystem::path &folder)
{
    std::error_code error;
    auto canonical = std::filesystem::weakly_canonical(folder, error);
    if (error)
        canonical = folder.lexically_normal();
    // "a/b/" and "a/b" name one folder.
    return canonical.has_filename() ? canonical : canonical.parent_path();
}

std::filesystem::path ProgramFolder()
{
    return ExecutablePath().parent_path();
}

std::filesystem::path InstalledProgramFolder()
{
#ifdef BRINEVAR_INSTALL_BINDIR
    return BRINEVAR_INSTALL_BINDIR;
#else
    return {};
#endif
}

bool IsInstalledCopy(const std::filesystem::path &folder)
{
    // A superuser may write anywhere, so writability alone cannot tell an
    // installed copy from a build folder.
    const auto installed = InstalledProgramFolder();
    if (!installed.empty() && SameFolder(folder, installed))
        return true;
    return InSystemProgramFolders(folder) || !IsWritableFolder(folder);
}

std::filesystem::path UserDataFolder()
{
    const auto base = UserApplicationData();
    return base.empty() ? base : base / "Brinevar";
}

Places PlacesOf(const std::filesystem::path &programFolder, const std::filesystem::path &userFolder,
                const std::filesystem::path &virtualStore)
{
    Places places;
    places.virtualStore = virtualStore;
    if (!IsInstalledCopy(programFolder)) {
        places.settingsCopy = programFolder / "tanks.ini";
    } else if (!userFolder.empty()) {
        places.settingsCopy = userFolder / "tanks.ini";
        std::error_code ignored; // a folder that cannot be made shows when the file is written
        std::filesystem::create_directories(userFolder, ignored);
    }
    if (!userFolder.empty()) {
        places.saveLock = userFolder / "save.lock";
        places.elevationRequest = ElevationRequestFile(userFolder);
    }
    return places;
}

} // namespace brinevar
