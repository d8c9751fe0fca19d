// The per-user settings store of the Windows program: the registry under
// HKEY_CURRENT_USER\Software\<application>\<application>\<section>, where a
// Windows build of the Qt program keeps the same values.
#pragma once

#include <string>
#include <string_view>

namespace brinevar::win {

// The stored text, or `defaultText` when nothing is stored.
std::string GetSetting(std::string_view appName, std::string_view section, std::string_view key,
                       std::string_view defaultText);

// Stores `text`; an empty text on success, else what went wrong.
std::string SaveSetting(std::string_view appName, std::string_view section, std::string_view key,
                        const std::string &text);

} // namespace brinevar::win
