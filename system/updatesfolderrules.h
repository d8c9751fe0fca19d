// What updatesfolder.cpp asks each system (updatesfolderwindows.cpp,
// updatesfolderposix.cpp).
#pragma once

#include "findgame.h"

#include <string>

namespace brinevar {

// The answer offered when the look finds no game.
std::string StandardUpdatesFolder(const LookSources &sources);

} // namespace brinevar
