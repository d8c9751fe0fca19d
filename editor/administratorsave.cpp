#include "administratorsave.h"

#include "elevationrequest.h"
#include "folderrules.h"
#include "savesettings.h"

namespace brinevar {
namespace {

// The elevated copy's exit code: 0 when every file was written, else one
// more than the files written before the failure.
unsigned long ElevatedExitCode(const Result &outcome, std::size_t done)
{
    return outcome ? 0 : (unsigned long)(done) + 1;
}

} // namespace

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

ElevatedWriter::ElevatedWriter(std::filesystem::path request, ElevatedRunner run)
    : request_(std::move(request)), run_(run)
{
}

Result ElevatedWriter::Write(std::span<const SaveStep> steps, std::size_t &done)
{
    done = 0;
    if (steps.empty())
        return {};
    std::error_code ignored; // a folder that cannot be made shows as the request is written
    ElevationRequest request{std::filesystem::absolute(steps.front().file.parent_path(), ignored),
                             {}};
    for (const SaveStep &step : steps)
        request.files.push_back({PathToUtf8(step.file.filename()), step.text, step.onlyIfMissing});
    std::filesystem::create_directories(request_.parent_path(), ignored);
    const SaveStep put{request_, FormatElevationRequest(request)};
    std::size_t written = 0;
    if (Result made = LocalWriter().Write({&put, 1}, written); !made)
        return made;
    const Outcome<unsigned long> ran = run_(request_);
    std::filesystem::remove(request_, ignored);
    const auto failed = [&](const std::string &why) {
        return Result::Failure(
            DescribeFailure("save", steps[done].file,
                            why + " The window keeps your values; tanks.ini was not saved."),
            ran ? std::error_code() : ran.error());
    };
    if (!ran && ran.error() == std::errc::operation_canceled)
        return failed("Windows did not give administrator rights.");
    if (!ran)
        return failed("Could not start " + ShownPath(ExecutablePath()) +
                      " with administrator rights: " + ran.error().message());
    if (*ran == 0) {
        done = steps.size();
        return {};
    }
    // See ElevatedExitCode; a copy that ended any other way wrote nothing known.
    if (*ran <= steps.size())
        done = std::size_t(*ran - 1);
    return failed("Saving with administrator rights failed, for the reason just shown.");
}

Result SaveAsAdministrator(const std::string &ztPath, const TankSettings &settings,
                           const Places &places, ElevatedRunner run)
{
    if (places.elevationRequest.empty() || !run)
        return SaveSettingsFiles(ztPath, settings, places);
    ElevatedWriter elevated(places.elevationRequest, run);
    return SaveSettingsFiles(ztPath, settings, places, &elevated);
}

Result RunElevatedCopy(const std::string &argument, unsigned long &exitCode)
{
    LocalWriter writer;
    std::size_t done = 0;
    Result outcome = CarryOutElevationRequest(PathFromUtf8(argument), writer, done);
    exitCode = ElevatedExitCode(outcome, done);
    return outcome;
}

} // namespace brinevar
