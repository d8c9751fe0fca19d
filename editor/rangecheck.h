// The range checks of the main window: the only place where a field's text is
// read as a number. A check never changes the text.
#pragma once

#include "catalogue.h"

#include <optional>
#include <string>
#include <string_view>

namespace brinevar {

// How the user's regional settings write a number (UTF-8). Some locales write
// the minus as U+2212 or the decimal separator as a comma.
struct NumberFormat {
    std::string decimalPoint = ".";
    std::string positiveSign = "+";
    std::string negativeSign = "-";
};

// When the whole text, apart from blanks at its ends, is one number as
// `format` writes it (an optional sign, digits with at most one decimal
// separator, an optional exponent: E, optional sign, digits), that number in
// plain form: "-" or nothing, digits, ".", "e" and exponent. Otherwise
// nothing. Grouping separators do not count: "1,000" is not numeric, so that
// no text that looks like a thousand passes a check as its leading 1.
std::optional<std::string> NumericForm(std::string_view text, const NumberFormat &format = {});

inline bool IsNumeric(std::string_view text, const NumberFormat &format = {})
{
    return NumericForm(text, format).has_value();
}

// The number the text begins with, blanks skipped, "." the only decimal
// point, "+" and "-" the only signs, exponent included; reading stops at the
// first character that cannot continue the number, and no number reads as 0.
// Only plain decimal forms are read: no hexadecimal, "inf" or "nan". A number
// too large for a double reads as infinity of its sign, so any range refuses
// it; one too small to tell from zero reads as the smallest double of its
// sign, so it still falls on its own side of a bound at 0.
double LeadingValue(std::string_view text);

// Whether the text passes `check`: numeric, and its value neither above the
// highest nor below the lowest, compared with no rounding. The value judged
// is the number the numeric test read, so that a locale's own minus sign or
// decimal separator cannot pass as something else. A text that the file's
// code page cannot hold exactly (a locale's U+2212 minus or U+066B separator
// in Windows-1252) never passes: the file would not hold the number judged.
bool Passes(std::string_view text, const RangeCheck &check, const NumberFormat &format = {});

} // namespace brinevar
