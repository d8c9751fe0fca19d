// The user's home folder on Linux and other POSIX systems (foldersposix.cpp).
#pragma once

#include <filesystem>

namespace brinevar {

// $HOME, else the account's own home folder, rather than none, which would
// put the user's files into whatever folder the program was started from;
// empty when neither names one.
std::filesystem::path HomeFolder();

} // namespace brinevar
