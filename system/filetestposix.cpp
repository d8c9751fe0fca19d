#include "filetest.h"

#include <filesystem>

namespace brinevar {

// Files here carry no hidden or system marks; a regular file (or a link to
// one) is an ordinary file.
bool IsOrdinaryFile(const std::string &name)
{
    std::error_code error;
    return std::filesystem::is_regular_file(name, error);
}

} // namespace brinevar
