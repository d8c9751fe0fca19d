#include "administratorsave.h"

#include "atomicfile.h"
#include "elevationrequest.h"
#include "savesettings.h"

namespace brinevar {

bool OffersAdministrator(const Result &failure, ElevatedRunner run)
{
    return run && (failure.cause() == std::errc::permission_denied ||
                   failure.cause() == std::errc::operation_not_permitted);
}

std::string AdministratorOffer(const Result &failure)
{
    return failure.message() +
           "\n\nWindows lets only an administrator change the files in this folder. \"" +
           std::string(kSaveAsAdministrator) +
           "\" asks Windows for an administrator's consent and saves with those rights; "
           "Cancel keeps the window and your values as they are.";
}

Result SaveAsAdministrator(const std::string &ztPath, const TankSettings &settings,
                           const Places &places, ElevatedRunner run)
{
    const std::filesystem::path &requestFile = places.elevationRequest;
    if (requestFile.empty() || !run)
        return SaveSettingsFiles(ztPath, settings, places);
    const auto writeElevated = [&](const std::filesystem::path &folder,
                                   const std::vector<FileText> &files) -> Result {
        std::error_code ignored; // a folder that cannot be made shows as the request is written
        std::filesystem::create_directories(requestFile.parent_path(), ignored);
        if (Result written = WriteWholeFile(
                requestFile,
                FormatElevationRequest({std::filesystem::absolute(folder, ignored), files}));
            !written)
            return written;
        Result ran = run(requestFile);
        std::filesystem::remove(requestFile, ignored);
        return ran;
    };
    return SaveSettingsFiles(ztPath, settings, places, writeElevated);
}

Result RunElevatedCopy(const std::string &argument)
{
    return CarryOutElevationRequest(PathFromUtf8(argument),
                                    [](const std::filesystem::path &file, std::string_view bytes) {
                                        return WriteWholeFile(file, bytes);
                                    });
}

} // namespace brinevar
