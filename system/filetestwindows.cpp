#include "filetest.h"

#include "widetext.h"

#define WIN32_LEAN_AND_MEAN
#include <windows.h>

namespace brinevar {

bool IsOrdinaryFile(const std::string &name)
{
    const DWORD attributes = GetFileAttributesW(Utf8ToWide(name).c_str());
    constexpr DWORD kNotOrdinary = FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_HIDDEN |
                                   FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_DEVICE;
    return !name.empty() && attributes != INVALID_FILE_ATTRIBUTES &&
           (attributes & kNotOrdinary) == 0;
}

} // namespace brinevar
