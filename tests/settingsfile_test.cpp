#include "ansicodepage.h"
#include "file.h"
#include "settingbyname.h"
#include "settingsfile.h"
#include "settingstext.h"
#include "testfolder.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <optional>

using namespace brinevar;

namespace {
// The bytes that WriteSettingsFile puts into a file.
std::string FormatSettingsFile(const TankSettings &settings)
{
    return ToAnsi(FormatSettingsText(settings));
}
} // namespace

namespace {

TankSettings Filled(const std::string &text)
{
    TankSettings settings;
    settings.fill(text);
    return settings;
}

std::vector<std::string> Lines(const std::string &text)
{
    std::vector<std::string> lines;
    std::size_t start = 0;
    for (std::size_t end; (end = text.find("\r\n", start)) != std::string::npos; start = end + 2)
        lines.push_back(text.substr(start, end - start));
    EXPECT_EQ(start, text.size()) << "text after the last line end";
    return lines;
}

} // namespace

TEST(WriteSettings, DefaultTextsGiveTheKnownFileByteForByte)
{
    const std::string expected = "[cost]\r\n"
                                 "saltWater = 1.5\r\n"
                                 "freshWater = 1.0\r\n"
                                 "wallHeightPriceDivisor = 5\r\n"
                                 "[tank]\r\n"
                                 "initialSink = 5\r\n"
                                 "initialHeight = 5\r\n"
                                 "initialSinkShow = 8\r\n"
                                 "initialHeightShow = 9\r\n"
                                 "initialWaterLevel = 0\r\n"
                                 "initialFillState = 1\r\n"
                                 "initialSalinity = 100\r\n"
                                 "initialTemperature = 0\r\n"
                                 "maximumTankHeight = 20\r\n"
                                 "waterOffset = -1\r\n"
                                 "tankTerrain = 2\r\n"
                                 "tankTerrainShow = 17\r\n"
                                 "initialWaterPurity = 100\r\n"
                                 "murkyWaterPurity = 60\r\n"
                                 "veryMurkyWaterPurity = 20\r\n"
                                 "extremelyMurkyWaterPurity = 1\r\n"
                                 "waterPurityDecayTime = 300\r\n";
    EXPECT_EQ(FormatSettingsFile(DefaultTexts()), expected);
    EXPECT_EQ(expected.size(), 467u);
}

TEST(WriteSettings, EmptyTextsGiveTheBare432ByteFrame)
{
    const auto text = FormatSettingsFile(Filled(""));
    EXPECT_EQ(text.size(), 432u);
    const auto lines = Lines(text);
    ASSERT_EQ(lines.size(), 22u);
    EXPECT_EQ(lines[1], "saltWater = ");
    for (const auto &line : lines)
        EXPECT_TRUE(line.front() == '[' || line.ends_with("= ")) << line;
}

TEST(WriteSettings, TextsAreWrittenAsTheyStandButAlwaysOnOneLine)
{
    TankSettings settings = DefaultTexts();
    TextOf(settings, "saltWater") = "  1e5 x ";
    TextOf(settings, "freshWater") = "a\r\nb\nc\rd";
    TextOf(settings, "wallHeightPriceDivisor") = "caf\u00e9 \u4e2d";
    const auto lines = Lines(FormatSettingsFile(settings));
    ASSERT_EQ(lines.size(), 22u);
    EXPECT_EQ(lines[1], "saltWater =   1e5 x ");
    EXPECT_EQ(lines[2], "freshWater = a b c d");
    if (AnsiCodePage() == kWindows1252) {
        EXPECT_EQ(lines[3], "wallHeightPriceDivisor = caf\xe9 ?");
    }
}

TEST(WriteSettings, ReplacesALongerFileCompletely)
{
    TestFolder folder;
    folder.write("tanks.cfg", std::string(10000, 'z'));
    ASSERT_EQ(WriteSettingsFile(folder.path() / "tanks.cfg", DefaultTexts()).message(), "");
    EXPECT_EQ(folder.read("tanks.cfg"), FormatSettingsFile(DefaultTexts()));
}

TEST(WriteSettings, AFailedWriteReportsTheFileAndLeavesNothing)
{
    TestFolder folder;
    const auto target = folder.path() / "missing" / "tanks.cfg";
    const Result error = WriteSettingsFile(target, DefaultTexts());
    EXPECT_EQ(error.cause(), std::errc::no_such_file_or_directory);
    EXPECT_TRUE(error.message().starts_with("Could not save " + ShownPath(target) + ":\n"))
        << error.message();
    EXPECT_FALSE(std::filesystem::exists(folder.path() / "missing"));
}

// What the writer makes of a typed text in each code page: its bytes, or
// a refusal naming the characters that code page cannot hold. 65001 holds
// everything and writes the UTF-8 unchanged.
struct TypedText {
    const char *name;
    std::string text;
    std::optional<std::string> in1252; // nullopt: refused
    std::u32string refused;            // what 1252 cannot hold
};

const TypedText kTypedTexts[] = {
    {"latin1", "Z\u00fcrich \u00df\u00e9\u00ff", "Z\xfcrich \xdf\xe9\xff", U""},
    {"euro", "7\u20ac\u00df", "7\x80\xdf", U""},
    {"curly quotes", "\u2018a\u2019 \u201cb\u201d",
     "\x91"
     "a\x92 \x93"
     "b\x94",
     U""},
    {"dashes and trade mark", "\u2013\u2014\u2122\u0178", "\x96\x97\x99\x9f", U""},
    {"tabs", "\t7\t5\t", "\t7\t5\t", U""},
    {"blanks", "  7  ", "  7  ", U""},
    {"empty", "", "", U""},
    {"cyrillic", "\u0436\u0436\u0436\u0436\u0436", std::nullopt, U"\u0436"},
    {"cjk", "\u4e2d\u6587", std::nullopt, U"\u4e2d\u6587"},
    {"emoji", "7\U0001F41F", std::nullopt, U"\U0001F41F"},
    {"minus sign", "\u22121", std::nullopt, U"\u2212"},
    {"arabic decimal separator", "1\u066b5", std::nullopt, U"\u066b"},
    {"direction mark and minus", "\u061c-0", std::nullopt, U"\u061c"},
    {"mixed", "\u20ac\u0436", std::nullopt, U"\u0436"},
};

void PrintTo(const TypedText &row, std::ostream *out)
{
    *out << row.name;
}

class WriteTypedText : public testing::TestWithParam<TypedText> {};

TEST_P(WriteTypedText, ExactBytesOrNothingInEachCodePage)
{
    const TypedText &row = GetParam();
    TankSettings settings = DefaultTexts();
    TextOf(settings, "saltWater") = row.text;
    const std::string frame = "[cost]\r\nsaltWater = ";
    const auto saltWaterLine = [&](const std::string &bytes) {
        EXPECT_EQ(bytes.substr(0, frame.size()), frame);
        return bytes.substr(frame.size(), bytes.find("\r\n", frame.size()) - frame.size());
    };

    EXPECT_EQ(UnstorableCharacters(row.text, kWindows1252), row.refused);
    std::string bytes = "untouched";
    const Result in1252 = EncodeSettingsText(settings, kWindows1252, bytes);
    if (row.in1252) {
        EXPECT_EQ(in1252.message(), "");
        EXPECT_EQ(saltWaterLine(bytes), *row.in1252);
    } else {
        EXPECT_TRUE(in1252.message().starts_with("saltWater holds ")) << in1252.message();
        EXPECT_TRUE(
            in1252.message().ends_with(", which tanks.cfg cannot store.\n\nNothing was saved."))
            << in1252.message();
        EXPECT_EQ(bytes, "untouched");
    }

    EXPECT_EQ(UnstorableCharacters(row.text, kUtf8CodePage), U"");
    EXPECT_EQ(EncodeSettingsText(settings, kUtf8CodePage, bytes).message(), "");
    EXPECT_EQ(saltWaterLine(bytes), row.text);
}

INSTANTIATE_TEST_SUITE_P(Texts, WriteTypedText, testing::ValuesIn(kTypedTexts),
                         [](const auto &info) {
                             std::string name = info.param.name;
                             std::replace(name.begin(), name.end(), ' ', '_');
                             return name;
                         });

TEST(WriteSettings, ATextTheCodePageCannotHoldLeavesTheFormerFile)
{
    if (AnsiCodePage() == kUtf8CodePage)
        GTEST_SKIP() << "the system code page holds every text";
    TestFolder folder;
    folder.write("tanks.cfg", "former");
    TankSettings settings = DefaultTexts();
    TextOf(settings, "initialSalinity") = "\u0436";
    EXPECT_TRUE(WriteSettingsFile(folder.path() / "tanks.cfg", settings)
                    .message()
                    .ends_with(":\ninitialSalinity holds \u0436, which tanks.cfg cannot "
                               "store.\n\nNothing was saved."));
    EXPECT_EQ(folder.read("tanks.cfg"), "former");
    EXPECT_EQ(folder.entries(), 1u);
}

// One reader rule per row: the file text, and what setting 1 (saltWater,
// coming in as "in") holds afterwards.
struct ReaderCase {
    const char *rule;
    std::string text;
    std::string saltWater;
};

void PrintTo(const ReaderCase &row, std::ostream *out)
{
    *out << row.rule;
}

class ReadSettingsRules : public testing::TestWithParam<ReaderCase> {};

TEST_P(ReadSettingsRules, SaltWaterEndsAs)
{
    TankSettings settings = Filled("in");
    ReadSettingsText(GetParam().text, settings, &FromAnsi);
    EXPECT_EQ(TextOf(settings, "saltWater"), GetParam().saltWater) << GetParam().rule;
    for (std::size_t i = 1; i < kSettingCount; ++i)
        EXPECT_EQ(settings[i], "in") << GetParam().rule << ": setting " << i;
}

INSTANTIATE_TEST_SUITE_P(
    Rules, ReadSettingsRules,
    testing::Values(
        ReaderCase{"no blanks", "saltWater=2", "2"},
        ReaderCase{"capitals and many blanks", "   SALTWATER   =    2   ", "2"},
        ReaderCase{"mixed case, one blank", "SaltWater = 2\r\n", "2"},
        ReaderCase{"value holding =", "saltWater = 2 = 3", "2 = 3"},
        ReaderCase{"inner blanks of the value stay", "saltWater =  a  b ", "a  b"},
        ReaderCase{"line starting with =", "=saltWater = 2", "in"},
        ReaderCase{"name and = only", "saltWater =", "in"},
        ReaderCase{"name, = and blanks", "saltWater =   \r\n", "in"},
        ReaderCase{"name alone", "saltWater", "in"},
        ReaderCase{"two characters ending in =", "x=", "in"},
        ReaderCase{"single-letter key", "x = 2", "in"}, ReaderCase{"empty line", "\r\n", "in"},
        ReaderCase{"empty file", "", "in"},
        ReaderCase{"header run into a line", "[tank] saltWater = 2", "in"},
        ReaderCase{"blank inside the key", "salt Water = 2", "in"},
        ReaderCase{"tab before the key", "\tsaltWater = 2", "in"},
        ReaderCase{"tab after the key", "saltWater\t= 2", "in"},
        ReaderCase{"tab at the end of the value stays", "saltWater = 2\t", "2\t"},
        ReaderCase{"later line wins", "saltWater = 1\r\nsaltWater = 2\r\n", "2"},
        ReaderCase{"empty later line does not empty it", "saltWater = 1\r\nsaltWater =\r\n", "1"},
        ReaderCase{"sections play no part", "[tank]\r\nsaltWater = 2\r\n[cost]\r\n", "2"},
        ReaderCase{"lone CR ends a line", "saltWater = 1\rsaltWater = 2", "2"},
        ReaderCase{"lone LF ends a line", "saltWater = 1\nsaltWater = 2\n", "2"},
        ReaderCase{"key longer than any name", "saltWaterXXXXXXXXXXXXXXXXXXXXXXXXXX = 2", "in"},
        ReaderCase{"prefix of a name", "salt = 2", "in"},
        ReaderCase{"= far beyond 32767 characters", "saltWater" + std::string(40000, ' ') + "= 2",
                   "2"},
        ReaderCase{"ANSI value", "saltWater = caf\xe9", "caf\u00e9"}));

TEST(ReadSettings, ASingleLineSetsOneSettingWithOrWithoutItsLineEnd)
{
    for (const std::string text : {"tankTerrainShow = 9", "tankTerrainShow = 9\r\n"}) {
        TankSettings settings = InitialTexts();
        ReadSettingsText(text, settings, &FromAnsi);
        TankSettings expected = InitialTexts();
        TextOf(expected, "tankTerrainShow") = "9";
        EXPECT_EQ(settings, expected) << text;
    }
}

TEST(ReadSettings, RoundTripRestoresTextsWithoutOuterBlanks)
{
    TestFolder folder;
    TankSettings written = DefaultTexts();
    TextOf(written, "saltWater") = "";
    TextOf(written, "freshWater") = "  padded  ";
    TextOf(written, "wallHeightPriceDivisor") = "1.5e3";
    TextOf(written, "initialSink") = "letters and = signs";
    ASSERT_EQ(WriteSettingsFile(folder.path() / "tanks.ini", written).message(), "");

    TankSettings read = Filled("before");
    ASSERT_EQ(ReadSettingsFile(folder.path() / "tanks.ini", read).message(), "");
    TankSettings expected = written;
    TextOf(expected, "saltWater") = "before"; // an empty value is passed over
    TextOf(expected, "freshWater") = "padded";
    EXPECT_EQ(read, expected);
}

TEST(ReadSettings, MissingOrUnreadableFilesAreReported)
{
    TestFolder folder;
    TankSettings settings = InitialTexts();
    EXPECT_EQ(ReadSettingsFile(folder.path() / "tanks.ini", settings).cause(),
              std::errc::no_such_file_or_directory);
    std::filesystem::create_directory(folder.path() / "tanks.ini");
    const Result folderRead = ReadSettingsFile(folder.path() / "tanks.ini", settings);
    EXPECT_FALSE(folderRead) << "a folder was read as a file";
    EXPECT_NE(folderRead.cause(), std::errc::no_such_file_or_directory);
    EXPECT_EQ(settings, InitialTexts());
}
