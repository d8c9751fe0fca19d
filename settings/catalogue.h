// The twenty settings of tanks.cfg: the one table that names them, fixes their
// order and section, ties each to its field of the main window and gives the
// texts the editor starts with and restores.
#pragma once

#include <array>
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace brinevar {

enum class Section { Cost, Tank };

// A range check run when the user leaves the field; bounds are inclusive.
struct RangeCheck {
    double lowest;
    double highest;
    std::string_view message;
};

// A "?" button: a member of one of the two button arrays beside the field.
struct HelpButton {
    std::string_view array; // "Command1" or "Command2"
    int index;
    std::string_view message;
};

struct Setting {
    std::string_view name; // as written to the file, mixed case
    Section section;
    std::string_view field; // object name of the text field in the main window
    std::string_view initialText;
    std::string_view defaultText;
    std::optional<RangeCheck> check;
    std::optional<HelpButton> help;
    std::string_view meaning;
};

inline constexpr std::size_t kSettingCount = 20;

// The settings' texts in catalogue order, UTF-8.
using TankSettings = std::array<std::string, kSettingCount>;

// All settings in file order.
const std::array<Setting, kSettingCount> &Catalogue();

// Catalogue index of the setting named `name`, ignoring ASCII case.
std::optional<std::size_t> FindSetting(std::string_view name);

// Catalogue index of the setting held by the field named `field`.
std::optional<std::size_t> FindSettingByField(std::string_view field);

TankSettings InitialTexts();
TankSettings DefaultTexts();

std::string_view SectionName(Section section);

} // namespace brinevar
