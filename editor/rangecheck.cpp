#include "rangecheck.h"

#include "ansicodepage.h"

#include <algorithm>
#include <charconv>
#include <limits>

namespace brinevar {
namespace {

// Blanks as the number readers skip them: spaces, tabs and line feeds.
bool IsBlank(char c)
{
    return c == ' ' || c == '\t' || c == '\n';
}

bool IsDigit(char c)
{
    return c >= '0' && c <= '9';
}

bool IsExponentLetter(char c)
{
    return c == 'E' || c == 'e';
}

// Steps over `what` when the text has it at `pos`.
bool Take(std::string_view text, std::size_t &pos, std::string_view what)
{
    if (what.empty() || !text.substr(pos).starts_with(what))
        return false;
    pos += what.size();
    return true;
}

// The plain signs and the format's own; "-" for a minus, "" for a plus or none.
std::string TakeSign(std::string_view text, std::size_t &pos, const NumberFormat &format)
{
    if (Take(text, pos, "-") || Take(text, pos, format.negativeSign))
        return "-";
    if (!Take(text, pos, "+"))
        Take(text, pos, format.positiveSign);
    return "";
}

std::string TakeDigits(std::string_view text, std::size_t &pos)
{
    const std::size_t start = pos;
    while (pos < text.size() && IsDigit(text[pos]))
        ++pos;
    return std::string(text.substr(start, pos - start));
}

// An exponent far beyond any double, yet small enough to add lengths to.
constexpr long long kExponentCap = 1'000'000'000;

} // namespace

std::optional<std::string> NumericForm(std::string_view text, const NumberFormat &format)
{
    std::size_t begin = 0, end = text.size();
    while (begin < end && IsBlank(text[begin]))
        ++begin;
    while (end > begin && IsBlank(text[end - 1]))
        --end;
    const std::string_view number = text.substr(begin, end - begin);

    std::size_t pos = 0;
    std::string form = TakeSign(number, pos, format);
    const std::string whole = TakeDigits(number, pos);
    std::string fraction;
    if (Take(number, pos, format.decimalPoint))
        fraction = TakeDigits(number, pos);
    if (whole.empty() && fraction.empty())
        return std::nullopt;
    form += (whole.empty() ? "0" : whole) + "." + (fraction.empty() ? "0" : fraction);
    if (pos < number.size() && IsExponentLetter(number[pos])) {
        ++pos;
        const std::string sign = TakeSign(number, pos, format);
        const std::string exponent = TakeDigits(number, pos);
        if (exponent.empty())
            return std::nullopt;
        form += "e" + sign + exponent;
    }
    if (pos != number.size())
        return std::nullopt;
    return form;
}

double LeadingValue(std::string_view text)
{
    std::size_t pos = 0;
    // The next character that is not a blank, or a null character at the end.
    auto next = [&]() {
        while (pos < text.size() && IsBlank(text[pos]))
            ++pos;
        return pos < text.size() ? text[pos] : '\0';
    };
    auto digits = [&](std::string &into) {
        for (char c = next(); IsDigit(c); ++pos, c = next())
            into += c;
    };

    bool negative = false;
    if (const char c = next(); c == '+' || c == '-') {
        negative = c == '-';
        ++pos;
    }
    std::string whole, fraction;
    digits(whole);
    if (next() == '.') {
        ++pos;
        digits(fraction);
    }
    if (whole.empty() && fraction.empty())
        return 0;

    // The exponent only counts with a digit; "2e" and "2e+" read as 2.
    long long exponent = 0;
    if (IsExponentLetter(next())) {
        const std::size_t letter = pos++;
        bool negativeExponent = false;
        if (const char c = next(); c == '+' || c == '-') {
            negativeExponent = c == '-';
            ++pos;
        }
        if (!IsDigit(next()))
            pos = letter;
        for (char c = next(); IsDigit(c); ++pos, c = next())
            exponent = std::min(exponent * 10 + (c - '0'), kExponentCap);
        if (negativeExponent)
            exponent = -exponent;
    }

    // from_chars reads plain decimals only and ignores the C locale.
    const std::string number = (whole.empty() ? std::string("0") : whole) +
                               (fraction.empty() ? std::string() : "." + fraction) + "e" +
                               std::to_string(exponent);
    double value = 0;
    const auto [end, error] = std::from_chars(number.data(), number.data() + number.size(), value);
    if (error == std::errc::result_out_of_range) {
        // Too large or too small for a double: tell which by the position of
        // the first significant digit.
        const auto wholeZeros = whole.find_first_not_of('0');
        const long long order = wholeZeros != std::string::npos
                                    ? (long long)(whole.size() - wholeZeros) + exponent
                                    : exponent - (long long)fraction.find_first_not_of('0');
        value = order > 0 ? std::numeric_limits<double>::infinity()
                          : std::numeric_limits<double>::denorm_min();
    }
    return negative ? -value : value;
}

bool Passes(std::string_view text, const RangeCheck &check, const NumberFormat &format)
{
    // All three conditions, each on its own: the text as it stands is judged.
    const std::optional<std::string> number = NumericForm(text, format);
    const double value = LeadingValue(number.value_or(std::string(text)));
    const bool notNumeric = !number;
    const bool tooHigh = value > check.highest;
    const bool tooLow = value < check.lowest;
    // A sign or separator that the file cannot hold would reach the game as
    // something else than the number judged here.
    const bool notStorable = !UnstorableCharacters(text).empty();
    return !(notNumeric || tooHigh || tooLow || notStorable);
}

} // namespace brinevar
