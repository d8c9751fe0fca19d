#include "catalogue.h"

#include <gtest/gtest.h>

#include <set>

using namespace brinevar;

TEST(Catalogue, FieldsFollowTheFileOrderNotTheirNumbers)
{
    const std::vector<std::string_view> expected{"Text1",  "Text17", "Text18", "Text19", "Text20",
                                                 "Text9",  "Text10", "Text11", "Text12", "Text13",
                                                 "Text15", "Text16", "Text14", "Text7",  "Text8",
                                                 "Text2",  "Text3",  "Text4",  "Text5",  "Text6"};
    std::vector<std::string_view> fields;
    for (const auto &setting : Catalogue())
        fields.push_back(setting.field);
    EXPECT_EQ(fields, expected);
}

TEST(Catalogue, NamesAndFieldsAreUniqueAndCostComesFirst)
{
    std::set<std::string> upperNames;
    std::set<std::string_view> fields;
    for (std::size_t i = 0; i < kSettingCount; ++i) {
        const auto &setting = Catalogue()[i];
        std::string upper(setting.name);
        for (auto &c : upper)
            c = char(std::toupper(static_cast<unsigned char>(c)));
        upperNames.insert(upper);
        fields.insert(setting.field);
        EXPECT_EQ(setting.section, i < 3 ? Section::Cost : Section::Tank) << setting.name;
    }
    EXPECT_EQ(upperNames.size(), kSettingCount);
    EXPECT_EQ(fields.size(), kSettingCount);
}

TEST(Catalogue, InitialAndDefaultTextsDifferOnlyWhereTheyShould)
{
    const auto initial = InitialTexts();
    const auto defaults = DefaultTexts();
    for (std::size_t i = 0; i < kSettingCount; ++i) {
        const auto name = Catalogue()[i].name;
        if (name == "initialSink") {
            EXPECT_EQ(initial[i], "2");
            EXPECT_EQ(defaults[i], "5");
        } else if (name == "tankTerrainShow") {
            EXPECT_EQ(initial[i], "2");
            EXPECT_EQ(defaults[i], "17");
        } else {
            EXPECT_EQ(initial[i], defaults[i]) << name;
        }
    }
    EXPECT_EQ(defaults[1], "1.0");
    EXPECT_EQ(defaults[12], "-1");
}

TEST(Catalogue, LookupIgnoresCaseAndFindsOnlyWholeNames)
{
    EXPECT_EQ(FindSetting("saltWater"), 0u);
    EXPECT_EQ(FindSetting("SALTWATER"), 0u);
    EXPECT_EQ(FindSetting("sAlTwAtEr"), 0u);
    EXPECT_EQ(FindSetting("waterPurityDecayTime"), 19u);
    EXPECT_EQ(FindSetting("saltWate"), std::nullopt);
    EXPECT_EQ(FindSetting("saltWater "), std::nullopt);
    EXPECT_EQ(FindSetting(""), std::nullopt);
    EXPECT_EQ(FindSettingByField("Text8"), 14u);
    EXPECT_EQ(FindSettingByField("text8"), std::nullopt);
}

TEST(Catalogue, ChecksAndHelpButtonsSitOnTheirSettings)
{
    std::vector<std::string_view> checked;
    std::set<std::pair<std::string_view, int>> buttons;
    for (const auto &setting : Catalogue()) {
        if (setting.check)
            checked.push_back(setting.field);
        if (setting.help)
            buttons.insert({setting.help->array, setting.help->index});
    }
    EXPECT_EQ(checked, (std::vector<std::string_view>{"Text12", "Text7", "Text8"}));
    const std::set<std::pair<std::string_view, int>> expected{
        {"Command1", 0}, {"Command1", 1}, {"Command1", 2}, {"Command1", 5}, {"Command1", 9},
        {"Command2", 0}, {"Command2", 3}, {"Command2", 5}, {"Command2", 9}};
    EXPECT_EQ(buttons, expected);
    EXPECT_EQ(Catalogue()[8].check->highest, 1);
    EXPECT_EQ(Catalogue()[13].check->highest, 17);
}
