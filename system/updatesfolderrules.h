// What updatesfolder.cpp asks each system (updatesfolderwindows.cpp,
// updatesfolderposix.cpp).
#pragma once

#include <string>

namespace brinevar {

// The game's Updates folder under `programFiles` (as this system names it),
// and the answer offered when it is under neither.
std::string GameUpdatesUnder(const std::string &programFiles);
std::string StandardUpdatesFolder();

} // namespace brinevar
