// The system's folder picker (Windows Vista and later), for the folder prompt.
#pragma once

#include "result.h"

#include <windows.h>

#include <filesystem>
#include <optional>

namespace brinevar::win {

// Shows the picker over `owner`, opened at `start` where that is a folder.
// `picked` is the chosen folder, or empty after Cancel. Fails, with the
// message for the user, only where Windows cannot show the picker.
Result PickFolder(HWND owner, const std::filesystem::path &start,
                  std::optional<std::filesystem::path> &picked);

} // namespace brinevar::win
