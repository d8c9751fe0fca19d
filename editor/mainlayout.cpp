#include "mainlayout.h"

#include "mainwindow.h"

#include <algorithm>

namespace brinevar {
namespace {

using enum ControlKind;

// What pressing each command does.
constexpr PressHandler kSaveAndExit = Handle<MainWindow, &MainWindow::Command3_Click>;
constexpr PressHandler kSetToDefault = Handle<MainWindow, &MainWindow::cmdDefault_Click>;
constexpr PressHandler kHelp1 = Handle<MainWindow, &MainWindow::Command1_Click>;
constexpr PressHandler kHelp2 = Handle<MainWindow, &MainWindow::Command2_Click>;
constexpr PressHandler kViewPath = Handle<MainWindow, &MainWindow::Label41_Click>;
constexpr PressHandler kAbout = Handle<MainWindow, &MainWindow::Label43_Click>;

// Field size, and the size of the "?" buttons beside them.
constexpr int kFieldW = 615, kFieldH = 285;
constexpr int kHelpW = 375, kHelpH = 255;

// clang-format off
constexpr ControlRow kMainLayout[] = {
    // The fields, in focus order: left column, middle, right, then terrain;
    // each is named by its caption.
    {"Text1",  -1, TextField, {}, 2280,  1200, kFieldW, kFieldH, 0, nullptr, "Label34"},
    {"Text17", -1, TextField, {}, 2280,  2160, kFieldW, kFieldH, 1, nullptr, "Label38"},
    {"Text18", -1, TextField, {}, 2280,  3600, kFieldW, kFieldH, 2, nullptr, "Label40"},
    {"Text19", -1, TextField, {}, 2280,  4800, kFieldW, kFieldH, 3, nullptr, "Label15"},
    {"Text20", -1, TextField, {}, 2280,  5760, kFieldW, kFieldH, 4, nullptr, "Label13"},
    {"Text9",  -1, TextField, {}, 2280,  6720, kFieldW, kFieldH, 5, nullptr, "Label11"},
    {"Text10", -1, TextField, {}, 2280,  7680, kFieldW, kFieldH, 6, nullptr, "Label10"},
    {"Text11", -1, TextField, {}, 5880,  1560, kFieldW, kFieldH, 7, nullptr, "Label26"},
    {"Text12", -1, TextField, {}, 5880,  2520, kFieldW, kFieldH, 8, nullptr, "Label27"},
    {"Text13", -1, TextField, {}, 5880,  3480, kFieldW, kFieldH, 9, nullptr, "Label29"},
    {"Text15", -1, TextField, {}, 5880,  4440, kFieldW, kFieldH, 10, nullptr, "Label31"},
    {"Text16", -1, TextField, {}, 6000,  5400, kFieldW, kFieldH, 11, nullptr, "Label7"},
    {"Text14", -1, TextField, {}, 6000,  6480, kFieldW, kFieldH, 12, nullptr, "Label6"},
    {"Text2",  -1, TextField, {}, 6000,  7440, kFieldW, kFieldH, 13, nullptr, "Label4"},
    {"Text3",  -1, TextField, {}, 9720,  1560, kFieldW, kFieldH, 14, nullptr, "Label17"},
    {"Text4",  -1, TextField, {}, 9720,  2520, kFieldW, kFieldH, 15, nullptr, "Label2"},
    {"Text5",  -1, TextField, {}, 9960,  3480, kFieldW, kFieldH, 16, nullptr, "Label18"},
    {"Text6",  -1, TextField, {}, 9720,  4440, kFieldW, kFieldH, 17, nullptr, "Label20"},
    {"Text7",  -1, TextField, {}, 8640,  5520, kFieldW, kFieldH, 18, nullptr, "Label22"},
    {"Text8",  -1, TextField, {}, 10920, 5520, kFieldW, kFieldH, 19, nullptr, "Label42"},

    // The commands along the top; "Save and Exit" comes first in the focus order.
    {"Command3",   -1, CommandButton, "Save and Exit",  10320, 360, 1455, 495, 20, kSaveAndExit},
    {"cmdDefault", -1, CommandButton, "Set To Default", 8400,  360, 1575, 495, 21, kSetToDefault},

    // The "?" buttons, each on the line of its field.
    {"Command1", 0, CommandButton, "?", 3000,  1200, kHelpW, kHelpH, 22, kHelp1},
    {"Command1", 1, CommandButton, "?", 3000,  2160, kHelpW, kHelpH, 23, kHelp1},
    {"Command1", 2, CommandButton, "?", 3000,  3600, kHelpW, kHelpH, 24, kHelp1},
    {"Command2", 3, CommandButton, "?", 6720,  6480, kHelpW, kHelpH, 25, kHelp2},
    {"Command1", 5, CommandButton, "?", 6600,  2520, kHelpW, kHelpH, 26, kHelp1},
    {"Command2", 5, CommandButton, "?", 6720,  5400, kHelpW, kHelpH, 27, kHelp2},
    {"Command1", 9, CommandButton, "?", 6600,  3480, kHelpW, kHelpH, 28, kHelp1},
    {"Command2", 9, CommandButton, "?", 6600,  4440, kHelpW, kHelpH, 29, kHelp2},

    // The terrain codes, for the two terrain fields above the list.
    {"List1", -1, ListBox,
     "0 Grass\n1 Savannah grass\t\n2 Sand\n3 Dirt\n4 Rainforest floor\n5 Brown stone\n"
     "6 Gray stone\n7 Gravel\n8 Snow\n9 Fresh water\n10 Salt water\n11 Deciduous floor\n"
     "12 Waterfall\n13 Coniferous floor\n14 Concrete\n15 Asphalt\n16 Trampled\n17 Gunite",
     7560, 6000, 4095, 2010, 30, nullptr, "Label21"},

    {"Command2", 0, CommandButton, "?", 10440, 4440, kHelpW, kHelpH, 31, kHelp2},

    // Captions and explanations. Later labels are drawn above earlier ones
    // (Label36 above Label33). The two links run their commands also by their
    // access keys, Alt+V and Alt+A.
    {"Label1",  -1, Label, "Purity point at which the heavy scum images are drawn.", 7560, 2040, 4215, 255},
    {"Label2",  -1, Label, "veryMurkyWaterPurity = ", 7920, 2520, 1815, 255},
    {"Label3",  -1, Label, "Purity point for the very heavy scum that cant be seen through.", 7560, 3000, 4095, 495},
    {"Label4",  -1, Label, "initialWaterPurity = ", 4560, 7440, 1455, 255},
    {"Label5",  -1, Label, "Initial water purity point.", 4080, 6960, 2175, 255},
    {"Label6",  -1, Label, "waterOffset = ", 4920, 6480, 1095, 255},
    {"Label7",  -1, Label, "maximumTankHeight = ", 4200, 5400, 1815, 255},
    {"Label8",  -1, Label, "Maximum tank height.", 4080, 4920, 1815, 255},
    {"Label9",  -1, Label, "Initial height of show tank on creation.", 240, 7200, 3135, 255},
    {"Label10", -1, Label, "initialHeightShow = ", 840, 7680, 1575, 255},
    {"Label11", -1, Label, "initialSinkShow = ", 960, 6720, 1335, 255},
    {"Label12", -1, Label, "Initial fill state -- 0 = emptying; 1 = filling.", 4080, 2040, 2895, 255},
    {"Label13", -1, Label, "initialHeight = ", 1200, 5760, 1095, 255},
    {"Label14", -1, Label, "Initial height of tank on creation.", 240, 5280, 2415, 255},
    {"Label15", -1, Label, "initialSink = ", 1320, 4800, 975, 255},
    {"Label16", -1, Label, "Number of subtiles to sink the tank in the ground on creation", 240, 4200, 3375, 375},
    {"Label17", -1, Label, "murkyWaterPurity = ", 8160, 1560, 1455, 255},
    {"Label18", -1, Label, "extremelyMurkyWaterPurity = ", 7800, 3480, 2175, 255},
    {"Label19", -1, Label, "Time in ms before the water purity drops one point.", 7560, 3960, 3735, 255},
    {"Label20", -1, Label, "waterPurityDecayTime = ", 7800, 4440, 1935, 255},
    {"Label21", -1, Label, "Terrain type of tank bottoms.", 8400, 5040, 2415, 255},
    {"Label22", -1, Label, "tankTerrain = ", 7560, 5520, 1215, 255},
    {"Label23", -1, Label, "Purity point at which the light scum images are drawn.", 7560, 1080, 3855, 255},
    {"Label24", -1, Label, "This number represents the space in z from the top of the tank.", 4080, 5880, 3015, 375},
    {"Label25", -1, Label, "Initial water level of tank on creation.", 4080, 1080, 2655, 255},
    {"Label26", -1, Label, "initialWaterLevel = ", 4440, 1560, 1335, 255},
    {"Label27", -1, Label, "initialFillState = ", 4680, 2520, 1215, 255},
    {"Label28", -1, Label, "Initial salinity on creation.", 4080, 3000, 2655, 255},
    {"Label29", -1, Label, "initialSalinity = ", 4800, 3480, 1095, 255},
    {"Label30", -1, Label, "Initial temperature on creation.", 4080, 3960, 2775, 255},
    {"Label31", -1, Label, "initialTempature = ", 4440, 4440, 1455, 255},
    {"Label32", -1, Label, "Number of subtiles to sink the show tank on creation.", 240, 6240, 3255, 255},
    {"Label33", -1, Label, "This program lets you change the setting of the Tank.cfg file to reflect "
                           "what you would like the tanks to do.  ", 240, 240, 8415, 375},
    {"Label34", -1, Label, "saltwater = ", 1320, 1200, 855, 255},
    {"Label35", -1, Label, "*This is the price of 1 cubic unit of salt water. ", 240, 840, 3255, 255},
    {"Label36", -1, Label, "This will replace any tanks.cfg file in your updates folder.", 240, 480, 4215, 255},
    {"Label37", -1, Label, "*This is the price of 1 cubic unit of fresh water.", 240, 1680, 3375, 255},
    {"Label38", -1, Label, "freshwater = ", 1200, 2160, 975, 255},
    {"Label39", -1, Label, "Factor to calculate tank wall adjustment.  Price to raise wall = price of "
                           "wall / wallHeightPriceDivisor.  If wallHeightPriceDivisor = 0, then "
                           "raising tank height is free.", 240, 2640, 3375, 855},
    {"Label40", -1, Label, "wallHeightPriceDivisor = ", 360, 3600, 2055, 375},
    {"Label41", -1, LinkLabel, "&View ZT Path", 9480, 0, 1095, 255, -1, kViewPath},
    {"Label42", -1, Label, "tankTerrainShow = ", 9480, 5520, 1455, 255},
    {"Label43", -1, LinkLabel, "&About", 11040, 0, 495, 255, -1, kAbout},
};
// clang-format on

} // namespace

std::span<const ControlRow> MainLayout()
{
    return kMainLayout;
}

std::vector<const ControlRow *> MainFocusOrder()
{
    return FocusOrder(kMainLayout);
}

FramePosition FramePlacement(int width, int height, ScreenArea area)
{
    return {area.left + std::max(0, (area.width - width) / 2),
            area.top + std::max(0, (area.height - height) / 2)};
}

int PromptWidth(int answerWidth, int least, int screenWidth)
{
    const int wanted = std::max(least, answerWidth);
    return screenWidth > 0 ? std::min(wanted, screenWidth * 4 / 5) : wanted;
}

int FittingDpi(int dpi, int borderWidth, int borderHeight, ScreenArea area)
{
    const int smallest = std::max(1, dpi / 2);
    for (int fitting = dpi; fitting > smallest; --fitting)
        if (TwipsToPixels(kMainWidth, fitting) + borderWidth <= area.width &&
            TwipsToPixels(kMainHeight, fitting) + borderHeight <= area.height)
            return fitting;
    return smallest;
}

} // namespace brinevar
