#include "aboutlayout.h"

#include "aboutwindow.h"
#include "version.h"

namespace brinevar {
namespace {

using enum ControlKind;

constexpr PressHandler kClose = Handle<AboutWindow, &AboutWindow::cmdOK_Click>;
constexpr PressHandler kSysInfo = Handle<AboutWindow, &AboutWindow::cmdSysInfo_Click>;

// The title and the description are black, whatever the platform's colours.
constexpr Rgb kBlack{0, 0, 0};

// clang-format off
constexpr ControlRow kAboutLayout[] = {
    {"lblTitle",       -1, Label, {},                                                      1050, 240,  3885, 480, -1, nullptr, {}, kBlack},
    {"lblVersion",     -1, Label, {},                                                      1050, 780,  3885, 225},
    {"lblDescription", -1, Label, "To Edit the tanks.cfg file in Zoo Tycoon Marine Mania", 1050, 1125, 3885, 330, -1, nullptr, {}, kBlack},
    // Label2 comes later, so it is drawn above Label1, which it overlaps.
    {"Label1",         -1, Label, "Thanks to:",                                        1080, 1680, 4455, 255},
    {"Label2",         -1, Label, "Everyone who beta tested for me!!",                 2400, 1680, 2655, 255},
    {"cmdOK",          -1, DefaultButton, "OK",                                        4245, 2625, 1260, 345, 0, kClose},
    {"cmdSysInfo",     -1, CommandButton, "&System Info...",                           4260, 3075, 1245, 345, 1, kSysInfo},
};

constexpr LineRow kAboutLines[] = {
    {"Line1", 1, 90,  2445, 5654, 2445, Rgb{128, 128, 128}, 1},
    {"Line1", 0, 105, 2460, 5654, 2460, Rgb{255, 255, 255}, 2},
};
// clang-format on

} // namespace

std::span<const ControlRow> AboutLayout()
{
    return kAboutLayout;
}

std::string AboutCaption()
{
    return "About " + ProgramTitle();
}

std::string VersionText()
{
    return "Version " + ProgramVersion();
}

std::span<const LineRow> AboutLines()
{
    return kAboutLines;
}

} // namespace brinevar
