// Where the game's Updates folder is when the game was installed the default
// way: the answer the folder prompt offers.
#pragma once

#include <string>

namespace brinevar {

// On Windows the game's own default folder; elsewhere the same folder inside
// the Wine prefix that Wine itself would use ($WINEPREFIX, else ~/.wine).
std::string DefaultUpdatesFolder();

} // namespace brinevar
