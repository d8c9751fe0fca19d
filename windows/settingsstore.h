// The services the core asks of Windows: the per-user settings store in the
// registry under HKEY_CURRENT_USER\Software\<application>\<application>\<section>,
// and how the user writes numbers.
#pragma once

#include "mainwindow.h"

namespace brinevar::win {

class RegistrySettingsStore : public SettingsStore {
public:
    std::string GetSetting(std::string_view appName, std::string_view section, std::string_view key,
                           std::string_view defaultText) override;
    // A failure names the key and the system's reason.
    Result SaveSetting(std::string_view appName, std::string_view section, std::string_view key,
                       const std::string &text) override;
};

// The user's regional number format.
NumberFormat UserNumberFormat();

} // namespace brinevar::win
