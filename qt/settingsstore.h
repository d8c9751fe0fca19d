// The services the core asks of Qt: the per-user settings store, addressed
// by application, section and key, and how the user writes numbers.
#pragma once

#include "mainwindow.h"

class QLocale;

namespace brinevar {

class QtSettingsStore : public SettingsStore {
public:
    std::string GetSetting(std::string_view appName, std::string_view section, std::string_view key,
                           std::string_view defaultText) override;
    // A failure names the store and the reason.
    Result SaveSetting(std::string_view appName, std::string_view section, std::string_view key,
                       const std::string &text) override;
};

// How `locale` writes numbers, for the range checks.
NumberFormat NumberFormatOf(const QLocale &locale);
// How the user's own locale writes them.
NumberFormat UserNumberFormat();

} // namespace brinevar
