// What both systems share: reading UTF-8 and finding what a code page cannot
// hold. The conversions themselves are in ansicodepageposix.cpp and
// ansicodepagewindows.cpp.
#include "ansicodepage.h"

#include "utf8decode.h"

namespace brinevar {

char32_t NextUtf8(std::string_view text, std::size_t &pos)
{
    const auto lead = static_cast<unsigned char>(text[pos++]);
    if (lead < 0x80)
        return lead;
    const int extra = lead >= 0xF0 && lead < 0xF5 ? 3 : lead >= 0xE0 ? 2 : lead >= 0xC2 ? 1 : -1;
    if (extra < 0 || lead >= 0xF5 || pos + std::size_t(extra) > text.size())
        return kMalformedUtf8;
    char32_t c = lead & (0x3F >> extra);
    for (int i = 0; i < extra; ++i) {
        const auto next = static_cast<unsigned char>(text[pos + std::size_t(i)]);
        if ((next & 0xC0) != 0x80)
            return kMalformedUtf8;
        c = (c << 6) | (next & 0x3F);
    }
    constexpr char32_t kSmallest[] = {0, 0x80, 0x800, 0x10000};
    if (c < kSmallest[extra] || (c >= 0xD800 && c <= 0xDFFF) || c > 0x10FFFF)
        return kMalformedUtf8;
    pos += std::size_t(extra);
    return c;
}

void AppendUtf8(std::string &out, char32_t c)
{
    if (c < 0x80) {
        out += char(c);
    } else if (c < 0x800) {
        out += char(0xC0 | (c >> 6));
        out += char(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        out += char(0xE0 | (c >> 12));
        out += char(0x80 | ((c >> 6) & 0x3F));
        out += char(0x80 | (c & 0x3F));
    } else {
        out += char(0xF0 | (c >> 18));
        out += char(0x80 | ((c >> 12) & 0x3F));
        out += char(0x80 | ((c >> 6) & 0x3F));
        out += char(0x80 | (c & 0x3F));
    }
}

std::string Utf8Of(char32_t c)
{
    std::string out;
    AppendUtf8(out, c);
    return out;
}

std::u32string UnstorableCharacters(std::string_view utf8, unsigned codePage)
{
    std::u32string found;
    for (std::size_t pos = 0; pos < utf8.size();) {
        char32_t c = NextUtf8(utf8, pos);
        if (c == kMalformedUtf8)
            c = U'\uFFFD';
        else if (CanStore(c, codePage))
            continue;
        if (found.find(c) == std::u32string::npos)
            found += c;
    }
    return found;
}

} // namespace brinevar
