// A second reading of the settings text, written straight from the reader's
// rules and as plainly as possible, that the fuzz target holds the reader to.
#pragma once

#include "catalogue.h"

#include <algorithm>
#include <cctype>
#include <string>
#include <string_view>

inline std::string_view TrimBlanks(std::string_view s)
{
    while (!s.empty() && s.front() == ' ')
        s.remove_prefix(1);
    while (!s.empty() && s.back() == ' ')
        s.remove_suffix(1);
    return s;
}

inline std::string Upper(std::string_view s)
{
    std::string upper(s);
    for (char &c : upper)
        c = char(std::toupper(static_cast<unsigned char>(c)));
    return upper;
}

// Lines end at CR LF, a lone CR or a lone LF; P is the 1-based place of the
// first "=" in the trimmed line, 0 when it holds none.
inline void NaiveRead(std::string_view text, brinevar::TankSettings &settings)
{
    for (std::size_t at = 0; at < text.size();) {
        const std::size_t end = std::min(text.find_first_of("\r\n", at), text.size());
        const std::string_view line = TrimBlanks(text.substr(at, end - at));
        at = end + (text.substr(end, 2) == "\r\n" ? 2 : 1);
        const std::size_t p = line.find('=') + 1, l = line.size();
        if (p <= 1 || p >= l || l < 3)
            continue;
        const std::string key = Upper(TrimBlanks(line.substr(0, p - 1)));
        for (std::size_t i = 0; i < settings.size(); ++i) {
            if (key == Upper(brinevar::Catalogue()[i].name))
                settings[i] = std::string(TrimBlanks(line.substr(p)));
        }
    }
}
