// The controls of the main window: where each one stands and what it says.
#pragma once

#include "formbuilder.h"

#include <span>

namespace brinevar {

// Every control of frmMain, in twips. Fields carry no text here: they start
// with the initial texts of their settings from the catalogue.
std::span<const ControlRow> MainLayout();

// The client area of frmMain, in twips.
inline constexpr int kMainWidth = 11880;
inline constexpr int kMainHeight = 8160;

// List1 shows its items in this many columns.
inline constexpr int kTerrainListColumns = 2;

} // namespace brinevar
