// What screen readers and tooltips say of the main window's controls, the
// same in both front ends: a field is named after its setting and described
// by the setting's meaning, a "?" button is help on that setting, and the
// terrain list is named by its caption.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace brinevar {

struct AccessibleText {
    std::string_view control; // object name and index, as in the layout
    int index;
    std::string name;
    std::string description;
    std::string toolTip; // empty for none
};

const std::vector<AccessibleText> &MainAccessibleTexts();

} // namespace brinevar
