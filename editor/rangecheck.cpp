#include "rangecheck.h"

#include <algorithm>
#include <charconv>
#include <limits>
#include <string>

namespace brinevar {
namespace {

// Blanks as the number readers skip them: spaces, tabs and line feeds.
bool IsBlank(QChar c)
{
    return c == u' ' || c == u'\t' || c == u'\n';
}

bool IsDigit(QChar c)
{
    return c >= u'0' && c <= u'9';
}

bool IsExponentLetter(QChar c)
{
    return c == u'E' || c == u'e';
}

// Steps over `what` when the text has it at `pos`.
bool Take(QStringView text, qsizetype &pos, QStringView what)
{
    if (what.isEmpty() || !text.mid(pos).startsWith(what))
        return false;
    pos += what.size();
    return true;
}

// The plain signs, and the locale's own where it writes others (U+2212).
bool TakeSign(QStringView text, qsizetype &pos, const QLocale &locale)
{
    return Take(text, pos, u"+") || Take(text, pos, u"-") ||
           Take(text, pos, locale.positiveSign()) || Take(text, pos, locale.negativeSign());
}

qsizetype TakeDigits(QStringView text, qsizetype &pos)
{
    const qsizetype start = pos;
    while (pos < text.size() && IsDigit(text[pos]))
        ++pos;
    return pos - start;
}

// An exponent far beyond any double, yet small enough to add lengths to.
constexpr long long kExponentCap = 1'000'000'000;

} // namespace

bool IsNumeric(const QString &text, const QLocale &locale)
{
    qsizetype begin = 0, end = text.size();
    while (begin < end && IsBlank(text[begin]))
        ++begin;
    while (end > begin && IsBlank(text[end - 1]))
        --end;
    const QStringView number = QStringView(text).mid(begin, end - begin);

    qsizetype pos = 0;
    TakeSign(number, pos, locale);
    qsizetype digits = TakeDigits(number, pos);
    if (Take(number, pos, locale.decimalPoint()))
        digits += TakeDigits(number, pos);
    if (digits == 0)
        return false;
    if (pos < number.size() && IsExponentLetter(number[pos])) {
        ++pos;
        TakeSign(number, pos, locale);
        if (TakeDigits(number, pos) == 0)
            return false;
    }
    return pos == number.size();
}

double LeadingValue(const QString &text)
{
    qsizetype pos = 0;
    // The next character that is not a blank, or a null QChar at the end.
    auto next = [&]() {
        while (pos < text.size() && IsBlank(text[pos]))
            ++pos;
        return pos < text.size() ? text[pos] : QChar();
    };
    auto digits = [&](std::string &into) {
        for (QChar c = next(); IsDigit(c); ++pos, c = next())
            into += char(c.unicode());
    };

    bool negative = false;
    if (const QChar c = next(); c == u'+' || c == u'-') {
        negative = c == u'-';
        ++pos;
    }
    std::string whole, fraction;
    digits(whole);
    if (next() == u'.') {
        ++pos;
        digits(fraction);
    }
    if (whole.empty() && fraction.empty())
        return 0;

    // The exponent only counts with a digit; "2e" and "2e+" read as 2.
    long long exponent = 0;
    if (IsExponentLetter(next())) {
        const qsizetype letter = pos++;
        bool negativeExponent = false;
        if (const QChar c = next(); c == u'+' || c == u'-') {
            negativeExponent = c == u'-';
            ++pos;
        }
        if (!IsDigit(next()))
            pos = letter;
        for (QChar c = next(); IsDigit(c); ++pos, c = next())
            exponent = std::min(exponent * 10 + (c.unicode() - u'0'), kExponentCap);
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

bool Passes(const QString &text, const RangeCheck &check, const QLocale &locale)
{
    // All three conditions, each on its own: the text as it stands is judged.
    const bool notNumeric = !IsNumeric(text, locale);
    const double value = LeadingValue(text);
    const bool tooHigh = value > check.highest;
    const bool tooLow = value < check.lowest;
    return !(notNumeric || tooHigh || tooLow);
}

} // namespace brinevar
