// What screen readers and tooltips say of the main window's controls, the
// same in both front ends: a control with a caption is named by the
// caption's words, as a sighted player reads them, a field is described by
// its setting's meaning, and a "?" button is help on the field beside it.
#pragma once

#include "controlrow.h"

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

// The words of a caption's text: as shown, without the blanks and the equals
// sign that end a field's caption ("initialTempature = ": "initialTempature").
std::string CaptionWords(std::string_view text);

} // namespace brinevar
