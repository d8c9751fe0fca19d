#include "catalogue.h"

#include "asciicase.h"

#include <algorithm>

namespace brinevar {
namespace {

constexpr RangeCheck kTerrainCheck{0, 17,
                                   "The value in Tank Terrain must be a number from 0 to 17"};
constexpr RangeCheck kShowTerrainCheck{
    0, 17, "The value in Show Tank Terrain must be a number from 0 to 17"};
constexpr RangeCheck kFillStateCheck{0, 1, "The value in Initial Fill State must be either 0 or 1"};

constexpr std::array<Setting, kSettingCount> kCatalogue{{
    {"saltWater", Section::Cost, "Text1", "1.5", "1.5", std::nullopt,
     HelpButton{"Command1", 0,
                "This is how much the game will charge you for each square of saltwater as you "
                "raise/lower the tank wall.  I did not test max/min numbers"},
     "Price of one cubic unit of salt water when a tank wall is raised or lowered."},
    {"freshWater", Section::Cost, "Text17", "1.0", "1.0", std::nullopt,
     HelpButton{"Command1", 1,
                "This is how much the game will charge you for each square of freshwater as you "
                "raise/lower the tank wall.  I did not test max/min numbers"},
     "Price of one cubic unit of fresh water when a tank wall is raised or lowered."},
    {"wallHeightPriceDivisor", Section::Cost, "Text18", "5", "5", std::nullopt,
     HelpButton{"Command1", 2,
                "This sets how much the game will charge you to raise/lower the wall.  If you set "
                "wallHeightPriceDivisor, saltwater, freshwater all to 0 it will charge you $0.  "
                "Bonus: Set the value to a negative number (e.g. -5)"},
     "Price to raise a wall = price of the wall divided by this number."},
    {"initialSink", Section::Tank, "Text19", "2", "5", std::nullopt, std::nullopt,
     "Subtiles a new tank is sunk into the ground."},
    {"initialHeight", Section::Tank, "Text20", "5", "5", std::nullopt, std::nullopt,
     "Height of a new tank."},
    {"initialSinkShow", Section::Tank, "Text9", "8", "8", std::nullopt, std::nullopt,
     "Subtiles a new show tank is sunk into the ground."},
    {"initialHeightShow", Section::Tank, "Text10", "9", "9", std::nullopt, std::nullopt,
     "Height of a new show tank."},
    {"initialWaterLevel", Section::Tank, "Text11", "0", "0", std::nullopt, std::nullopt,
     "Water level of a new tank, as space in z below the top of the tank."},
    {"initialFillState", Section::Tank, "Text12", "1", "1", kFillStateCheck,
     HelpButton{"Command1", 5, "Can only be set to 1 or 0"}, "0 = emptying, 1 = filling."},
    {"initialSalinity", Section::Tank, "Text13", "100", "100", std::nullopt,
     HelpButton{"Command1", 9, "The saltiness of the tank on creation"}, "Salinity of a new tank."},
    {"initialTemperature", Section::Tank, "Text15", "0", "0", std::nullopt,
     HelpButton{"Command2", 9, "I have not messed with this number at all."},
     "Temperature of a new tank."},
    {"maximumTankHeight", Section::Tank, "Text16", "20", "20", std::nullopt,
     HelpButton{"Command2", 5,
                "I have set this number to 200 without any problems I do not know about negative "
                "numbers."},
     "Maximum tank height."},
    {"waterOffset", Section::Tank, "Text14", "-1", "-1", std::nullopt,
     HelpButton{"Command2", 3,
                "Can be set to a positive number but looks funny because the water is above the "
                "tank wall also the Staff need to climb down the ladder in order to feed the "
                "fishes - i.e. no animals ever get fed"},
     "Space in z from the top of the tank to the water."},
    {"tankTerrain", Section::Tank, "Text7", "2", "2", kTerrainCheck, std::nullopt,
     "Terrain type of tank bottoms (see the terrain list)."},
    {"tankTerrainShow", Section::Tank, "Text8", "2", "17", kShowTerrainCheck, std::nullopt,
     "Terrain type of show tank bottoms (see the terrain list)."},
    {"initialWaterPurity", Section::Tank, "Text2", "100", "100", std::nullopt, std::nullopt,
     "Initial water purity point."},
    {"murkyWaterPurity", Section::Tank, "Text3", "60", "60", std::nullopt, std::nullopt,
     "Purity point at which the light scum images are drawn."},
    {"veryMurkyWaterPurity", Section::Tank, "Text4", "20", "20", std::nullopt, std::nullopt,
     "Purity point at which the heavy scum images are drawn."},
    {"extremelyMurkyWaterPurity", Section::Tank, "Text5", "1", "1", std::nullopt, std::nullopt,
     "Purity point of the very heavy scum that cannot be seen through."},
    {"waterPurityDecayTime", Section::Tank, "Text6", "300", "300", std::nullopt,
     HelpButton{"Command2", 0,
                "This number seems to have a negative effect if greater than 100 million "
                "miliseconds"},
     "Time in milliseconds before the water purity drops one point."},
}};

template <typename Member> TankSettings Texts(Member member)
{
    TankSettings texts;
    for (std::size_t i = 0; i < kCatalogue.size(); ++i)
        texts[i] = std::string(kCatalogue[i].*member);
    return texts;
}

} // namespace

const std::array<Setting, kSettingCount> &Catalogue()
{
    return kCatalogue;
}

std::optional<std::size_t> FindSetting(std::string_view name)
{
    // The reader asks this for every key it reads; most keys differ in
    // length from every name, and SameIgnoringAsciiCase compares that first.
    for (std::size_t i = 0; i < kCatalogue.size(); ++i) {
        if (SameIgnoringAsciiCase(kCatalogue[i].name, name))
            return i;
    }
    return std::nullopt;
}

std::optional<std::size_t> FindSettingByField(std::string_view field)
{
    for (std::size_t i = 0; i < kCatalogue.size(); ++i)
        if (kCatalogue[i].field == field)
            return i;
    return std::nullopt;
}

TankSettings InitialTexts()
{
    return Texts(&Setting::initialText);
}
TankSettings DefaultTexts()
{
    return Texts(&Setting::defaultText);
}

std::string_view SectionName(Section section)
{
    return section == Section::Cost ? "cost" : "tank";
}

} // namespace brinevar
