#include "filetest.h"

#include "ansicodepage.h"

#ifdef _WIN32
#define WIN32_LEAN_AND_MEAN
#include <windows.h>
#else
#include <filesystem>
#endif

namespace brinevar {

#ifdef _WIN32

bool IsOrdinaryFile(const std::string &name)
{
    const DWORD attributes = GetFileAttributesW(Utf8ToWide(name).c_str());
    constexpr DWORD kNotOrdinary = FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_HIDDEN |
                                   FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_DEVICE;
    return !name.empty() && attributes != INVALID_FILE_ATTRIBUTES &&
           (attributes & kNotOrdinary) == 0;
}

#else

// Files here carry no hidden or system marks; a regular file (or a link to
// one) is an ordinary file.
bool IsOrdinaryFile(const std::string &name)
{
    std::error_code error;
    return std::filesystem::is_regular_file(name, error);
}

#endif

} // namespace brinevar
