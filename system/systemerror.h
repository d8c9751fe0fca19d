// Windows' own error codes as std::error_code, for the Windows-only files
// (descriptorwindows.cpp holds the category).
#pragma once

#include <system_error>

namespace brinevar {

// A Windows error code, told in Windows' own words (FormatMessageW) and equal
// to the errno condition it stands for (std::errc::permission_denied, ...).
std::error_code SystemError(unsigned long code);

} // namespace brinevar
