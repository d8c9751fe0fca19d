// The controls of the main window: where each one stands and what it says.
#pragma once

#include "controlrow.h"

#include <span>
#include <vector>

namespace brinevar {

// Every control of frmMain, in twips. Fields carry no text here: they start
// with the initial texts of their settings from the catalogue.
std::span<const ControlRow> MainLayout();

// The rows that take the focus, in focus order.
std::vector<const ControlRow *> MainFocusOrder();

// The client area of frmMain, in twips.
inline constexpr int kMainWidth = 11880;
inline constexpr int kMainHeight = 8160;

// List1 shows its items in this many columns.
inline constexpr int kTerrainListColumns = 2;

struct ScreenArea {
    int left, top, width, height;
};
struct FramePosition {
    int left, top;
};

// Where the window's frame (`width` x `height`, title bar included) starts on
// a screen whose free area is `area`: centred, and in a direction where it
// does not fit, at the area's start, so that the title bar stays reachable.
FramePosition FramePlacement(int width, int height, ScreenArea area);

// The dots per inch to lay frmMain out at, so that its frame fits a screen
// whose free area is `area`: the system's `dpi` where the frame fits at it,
// else the largest lower value at which it fits, but not below half of
// `dpi`, where its text could no longer be read. The frame's border and title
// bar (`borderWidth` and `borderHeight` in all) keep their size.
int FittingDpi(int dpi, int borderWidth, int borderHeight, ScreenArea area);

} // namespace brinevar
