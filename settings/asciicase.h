// Names compared as Windows and the settings file compare them: letters
// without regard to case, in ASCII only.
#pragma once

#include <algorithm>
#include <string_view>

namespace brinevar {

constexpr char AsciiUpper(char c)
{
    return c >= 'a' && c <= 'z' ? char(c - 'a' + 'A') : c;
}

constexpr bool SameIgnoringAsciiCase(std::string_view a, std::string_view b)
{
    return a.size() == b.size() && std::ranges::equal(a, b, {}, AsciiUpper, AsciiUpper);
}

} // namespace brinevar
