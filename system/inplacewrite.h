// Writing a file over its old content, for a file the user may write but not
// replace: one in a folder the user may not write, or another user's file.
#pragma once

#include <string>
#include <system_error>

namespace brinevar {

// Puts `text` in place of the content of the ordinary file open for writing
// as `fd`. A failure (a full disk) leaves the old text exactly as it was.
std::error_code OverwriteInPlace(int fd, const std::string &text);

} // namespace brinevar
