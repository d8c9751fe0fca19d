// Saving where Windows lets only an administrator write the Updates folder:
// whether a failed save can be retried with administrator rights, what the
// offer says, and the retry, in which an elevated copy of the program writes
// the Updates folder's files while this copy waits and then writes tanks.ini
// itself.
#pragma once

#include "catalogue.h"
#include "programfolder.h"
#include "result.h"

#include <filesystem>
#include <string>

namespace brinevar {

// The system's way to have an elevated copy carry out the request file
// `request`: asks for the administrator's consent, starts the copy with
// kElevatedSaveArgument and the request, and returns once the copy has ended.
// Fails when the consent was refused or the copy did not save; null where the
// system has no such rights to ask for.
using ElevatedRunner = Result (*)(const std::filesystem::path &request);

// Whether the failed save `failure` is worth retrying as administrator: the
// system refused access to the game's file or its folder, and `run` can ask
// for the rights.
bool OffersAdministrator(const Result &failure, ElevatedRunner run);

// The text of the offer after `failure`, for a box whose buttons are
// kSaveAsAdministrator and Cancel.
std::string AdministratorOffer(const Result &failure);
inline constexpr std::string_view kSaveAsAdministrator = "Save as administrator";

// Saves as SaveSettingsFiles does, except that the files of the Updates
// folder go through a request in `places.elevationRequest` to an elevated
// copy run by `run`; the request is removed afterwards.
Result SaveAsAdministrator(const std::string &ztPath, const TankSettings &settings,
                           const Places &places, ElevatedRunner run);

// The elevated copy's whole run on the request file named by `argument`
// (UTF-8): its files written as a save writes them; the message to show on
// failure.
Result RunElevatedCopy(const std::string &argument);

} // namespace brinevar
