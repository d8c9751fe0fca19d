// Tests name a setting rather than count to it in the catalogue.
#pragma once

#include "catalogue.h"

#include <stdexcept>
#include <string>
#include <string_view>

// The text of the setting named `setting` (such as "waterOffset") in `texts`.
inline std::string &TextOf(brinevar::TankSettings &texts, std::string_view setting)
{
    const auto found = brinevar::FindSetting(setting);
    if (!found)
        throw std::invalid_argument("no setting named " + std::string(setting));
    return texts[*found];
}
