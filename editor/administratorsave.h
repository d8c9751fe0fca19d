// Saving where Windows lets only an administrator write the Updates folder:
// whether a failed save can be retried with administrator rights, what the
// offer says, and the retry, in which an elevated copy of the program writes
// the Updates folder's files while this copy waits and then writes tanks.ini
// itself.
#pragma once

#include "catalogue.h"
#include "file.h"
#include "programfolder.h"
#include "result.h"
#include "savetransaction.h"

#include <filesystem>
#include <string>

namespace brinevar {

// The system's way to have an elevated copy carry out the request file
// `request`: asks for the administrator's consent, starts the copy with
// kElevatedSaveArgument and the request, and gives the copy's exit code
// (see RunElevatedCopy) once it has ended; std::errc::operation_canceled when
// the consent was refused, else the system's reason the copy did not start.
// Null where the system has no such rights to ask for.
using ElevatedRunner = Outcome<unsigned long> (*)(const std::filesystem::path &request);

// Whether the failed save `failure` is worth retrying as administrator: the
// system refused access to the game's file or its folder, and `run` can ask
// for the rights.
bool OffersAdministrator(const Result &failure, ElevatedRunner run);

// The text of the offer after `failure`, for a box whose buttons are
// kSaveAsAdministrator and Cancel.
std::string AdministratorOffer(const Result &failure);
inline constexpr std::string_view kSaveAsAdministrator = "Save as administrator";

// Writes a run of a save's steps, all in one folder, through the elevated
// copy: their names and texts go into the request file `request`, which is
// removed once `run` has carried it out.
class ElevatedWriter : public StepWriter {
public:
    ElevatedWriter(std::filesystem::path request, ElevatedRunner run);
    Result Write(std::span<const SaveStep> steps, std::size_t &done) override;

private:
    std::filesystem::path request_;
    ElevatedRunner run_;
};

// Saves as SaveSettingsFiles does, except that the files of the Updates
// folder go through an ElevatedWriter on `places.elevationRequest`.
Result SaveAsAdministrator(const std::string &ztPath, const TankSettings &settings,
                           const Places &places, ElevatedRunner run);

// The elevated copy's whole run on the request file named by `argument`
// (UTF-8): its files written as any save writes them. Gives the message to
// show on failure, and the exit code into `exitCode`: 0 when every file was
// written, else one more than the files written before the failure.
Result RunElevatedCopy(const std::string &argument, unsigned long &exitCode);

} // namespace brinevar
