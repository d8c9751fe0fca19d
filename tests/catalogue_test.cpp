#include "catalogue.h"

#include <gtest/gtest.h>

#include <set>
#include <string>

using namespace brinevar;

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
    EXPECT_EQ(defaults[*FindSetting("freshwater")], "1.0");
    EXPECT_EQ(defaults[*FindSetting("waterOffset")], "-1");
}

TEST(Catalogue, LookupIgnoresCaseAndFindsOnlyWholeNames)
{
    EXPECT_EQ(FindSetting("saltWater"), 0u);
    EXPECT_EQ(FindSetting("SALTWATER"), 0u);
    EXPECT_EQ(FindSetting("sAlTwAtEr"), 0u);
    EXPECT_EQ(Catalogue()[*FindSetting("WATERPURITYDECAYTIME")].name, "waterPurityDecayTime");
    EXPECT_EQ(FindSetting("saltWate"), std::nullopt);
    EXPECT_EQ(FindSetting("saltWater "), std::nullopt);
    EXPECT_EQ(FindSetting(""), std::nullopt);
    EXPECT_EQ(Catalogue()[*FindSettingByField("Text8")].name, "tankTerrainShow");
    EXPECT_EQ(FindSettingByField("text8"), std::nullopt);
}
