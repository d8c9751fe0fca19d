// The range checks' reading of a text: whether it is numeric in a regional
// number format, the number it begins with, and the verdict of each check.
#include "catalogue.h"
#include "rangecheck.h"

#include <gtest/gtest.h>

#include <limits>
#include <vector>

using namespace brinevar;

namespace {
constexpr double kInf = std::numeric_limits<double>::infinity();

const NumberFormat kEnglish{".", "+", "-"};
const NumberFormat kGerman{",", "+", "-"};
// Swedish, Norwegian and Finnish write the minus as U+2212.
const NumberFormat kNordic{",", "+", "\u2212"};
// Arabic: the separator U+066B, the signs led by a direction mark.
const NumberFormat kArabic{"\u066b", "\u061c+", "\u061c-"};

const RangeCheck &CheckOf(const char *field)
{
    return *Catalogue()[*FindSettingByField(field)].check;
}

bool IsNumeric(std::string_view text, const NumberFormat &format)
{
    return NumericForm(text, format).has_value();
}

struct Reading {
    const char *name;
    std::string text;
    NumberFormat format;
    bool numeric;
    double leading;
};

} // namespace

TEST(RangeCheck, ReadsTextsAsNumbers)
{
    // clang-format off
    const Reading readings[] = {
        {"whole number", "17", kEnglish, true, 17.0},
        {"blanks around", "  5 ", kEnglish, true, 5.0},
        {"tab before", "\t5", kEnglish, true, 5.0},
        {"blank inside", "1 7", kEnglish, false, 17.0},
        {"empty", "", kEnglish, false, 0.0},
        {"blanks only", "   ", kEnglish, false, 0.0},
        {"letters", "abc", kEnglish, false, 0.0},
        {"number then letters", "5abc", kEnglish, false, 5.0},
        {"letters then number", "x5", kEnglish, false, 0.0},
        {"minus", "-1", kEnglish, true, -1.0},
        {"plus", "+3", kEnglish, true, 3.0},
        {"minus zero", "-0", kEnglish, true, 0.0},
        {"blank after sign", "- 1", kEnglish, false, -1.0},
        {"two signs", "--1", kEnglish, false, 0.0},
        {"sign only", "-", kEnglish, false, 0.0},
        {"sign after", "1-", kEnglish, false, 1.0},
        {"fraction", "2.5", kEnglish, true, 2.5},
        {"fraction 17.5", "17.5", kEnglish, true, 17.5},
        {"point first", ".5", kEnglish, true, 0.5},
        {"point last", "5.", kEnglish, true, 5.0},
        {"point only", ".", kEnglish, false, 0.0},
        {"two points", "1.2.3", kEnglish, false, 1.2},
        {"exponent", "1e3", kEnglish, true, 1000.0},
        {"capital signed exponent", "1E+2", kEnglish, true, 100.0},
        {"negative exponent", "2.5e-1", kEnglish, true, 0.25},
        {"exponent without digits", "2e", kEnglish, false, 2.0},
        {"exponent sign without digits", "2e-", kEnglish, false, 2.0},
        {"exponent without number", "e5", kEnglish, false, 0.0},
        {"D is no exponent", "1d2", kEnglish, false, 1.0},
        {"too large", "1e400", kEnglish, true, kInf},
        {"too large negative", "-1e400", kEnglish, true, -kInf},
        {"huge exponent", "1e99999999999999999999", kEnglish, true, kInf},
        {"long number", std::string(400, '9'), kEnglish, true, kInf},
        {"zero to any power", "0e99999999999", kEnglish, true, 0.0},
        {"leading zeros", "000000000000000000000017", kEnglish, true, 17.0},
        {"hexadecimal", "0x10", kEnglish, false, 0.0},
        {"basic hexadecimal", "&H10", kEnglish, false, 0.0},
        {"inf", "inf", kEnglish, false, 0.0},
        {"nan", "nan", kEnglish, false, 0.0},
        {"grouping", "1,000", kEnglish, false, 1.0},
        {"comma in English", "2,5", kEnglish, false, 2.0},
        {"comma in German", "2,5", kGerman, true, 2.0},
        {"17 comma 5 in German", "17,5", kGerman, true, 17.0},
        {"point in German", "2.5", kGerman, false, 2.5},
        {"German grouping", "1.000", kGerman, false, 1.0},
        {"German exponent", "-1,5E2", kGerman, true, -1.0},
    };
    // clang-format on
    for (const Reading &row : readings) {
        EXPECT_EQ(IsNumeric(row.text, row.format), row.numeric) << row.name;
        EXPECT_EQ(LeadingValue(row.text), row.leading) << row.name;
    }
}

TEST(RangeCheck, TinyNumbersKeepTheirSign)
{
    const double tiny = LeadingValue("1e-400");
    EXPECT_GT(tiny, 0);
    EXPECT_LT(tiny, 1e-300);
    const double negative = LeadingValue(" - 0.000001e-399");
    EXPECT_LT(negative, 0);
    EXPECT_GT(negative, -1e-300);
}

TEST(RangeCheck, JudgesTheFullValueAgainstTheBounds)
{
    struct Verdict {
        const char *field, *text;
        bool passes;
        const NumberFormat *format = &kEnglish;
    };
    std::vector<Verdict> verdicts;
    for (const char *terrain : {"Text7", "Text8"}) {
        // clang-format off
        const Verdict rows[] = {
            {terrain, "0", true}, {terrain, "17", true}, {terrain, "2.5", true},
            {terrain, "18", false}, {terrain, "17.5", false}, {terrain, "17.000000001", false},
            {terrain, "-1", false}, {terrain, "-0", true}, {terrain, "-1e-400", false},
            {terrain, "1e-400", true}, {terrain, "", false}, {terrain, " 5 ", true},
            {terrain, "abc", false}, {terrain, "5abc", false}, {terrain, "1.7E1", true},
            {terrain, "1.8e1", false}, {terrain, "1e400", false}, {terrain, "-1e400", false},
            {terrain, "17,5", false, &kGerman}, {terrain, "16,5", true, &kGerman},
            {terrain, "2.5", false, &kGerman},
        };
        // clang-format on
        verdicts.insert(verdicts.end(), std::begin(rows), std::end(rows));
    }
    // clang-format off
    const Verdict rows[] = {
        {"Text12", "0", true}, {"Text12", "1", true}, {"Text12", "0.5", true},
        {"Text12", "1.5", false}, {"Text12", "2", false}, {"Text12", "5", false},
        {"Text12", "-1", false}, {"Text12", "", false},
        // A minus of U+2212, which tanks.cfg cannot hold: the file would not
        // say the number judged, so even a value in range is refused.
        {"Text7", "\u22125", false, &kNordic}, {"Text12", "\u22121", false, &kNordic},
        {"Text7", "\u22120", false, &kNordic}, {"Text7", "0,5", true, &kNordic},
        {"Text7", "17,5", false, &kNordic}, {"Text7", "1e\u22121", false, &kNordic},
        {"Text7", "1e-1", true, &kNordic},
        {"Text7", "1\u066b5", false, &kArabic}, {"Text7", "1.5", false, &kArabic},
        {"Text7", "\u061c-0", false, &kArabic}, {"Text7", "2", true, &kArabic},
    };
    // clang-format on
    verdicts.insert(verdicts.end(), std::begin(rows), std::end(rows));
    for (const Verdict &row : verdicts)
        EXPECT_EQ(Passes(row.text, CheckOf(row.field), *row.format), row.passes)
            << row.field << " \"" << row.text << "\" with decimal point "
            << row.format->decimalPoint;
}
