// Whether a file exists, as the about box asks it (filetestposix.cpp,
// filetestwindows.cpp).
#pragma once

#include <string>

namespace brinevar {

// True when `name` (UTF-8) is an ordinary file: not a folder or a device,
// and on Windows not a hidden or system file either.
bool IsOrdinaryFile(const std::string &name);

} // namespace brinevar
