// The controls of the about box: where each one stands and what it says.
#pragma once

#include "controlrow.h"

#include <span>
#include <string>

namespace brinevar {

// The labels and buttons of frmAbout, in twips. lblTitle and lblVersion carry
// no text here: the load step gives them theirs.
std::span<const ControlRow> AboutLayout();

// A line drawn on the box itself, below every control, from (x1, y1) to
// (x2, y2) in twips.
struct LineRow {
    std::string_view name;
    int index;
    int x1, y1, x2, y2;
    Rgb colour;
    int width; // pixels
};

// The etched separator between the texts and the buttons: a grey line with a
// white one just below it.
std::span<const LineRow> AboutLines();

// The box's caption, and the text of lblVersion, as the load step sets them.
std::string AboutCaption();
std::string VersionText();

// The box's client area, and where it stands on the screen, in twips.
inline constexpr int kAboutWidth = 5730;
inline constexpr int kAboutHeight = 3555;
inline constexpr int kAboutLeft = 2340;
inline constexpr int kAboutTop = 1935;

} // namespace brinevar
