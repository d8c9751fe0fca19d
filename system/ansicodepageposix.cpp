// The code pages off Windows, where the system has none to ask: Windows-1252
// by its table, and 65001 as UTF-8 made well-formed the way Windows does.
#include "ansicodepage.h"

#include "utf8decode.h"

#include <array>
#include <optional>

namespace brinevar {
namespace {

// Windows-1252 bytes 0x80..0x9F; the five unassigned bytes map to the C1
// controls of the same value, as Windows itself does.
constexpr std::array<char16_t, 32> kHigh{
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

char32_t ByteToChar(unsigned char byte)
{
    return byte >= 0x80 && byte < 0xA0 ? char32_t(kHigh[byte - 0x80]) : char32_t(byte);
}

std::optional<char> CharToByte(char32_t c)
{
    if (c < 0x80 || (c >= 0xA0 && c <= 0xFF))
        return char(c);
    for (std::size_t i = 0; i < kHigh.size(); ++i)
        if (kHigh[i] == c)
            return char(0x80 + i);
    return std::nullopt;
}

// Malformed sequences become U+FFFD, as Windows' own conversion makes them.
std::string WellFormedUtf8(std::string_view text)
{
    std::string out;
    out.reserve(text.size());
    for (std::size_t pos = 0; pos < text.size();) {
        const char32_t c = NextUtf8(text, pos);
        AppendUtf8(out, c == kMalformedUtf8 ? U'\uFFFD' : c);
    }
    return out;
}

} // namespace

unsigned AnsiCodePage()
{
    return kWindows1252;
}

bool CanStore(char32_t c, unsigned codePage)
{
    return codePage == kUtf8CodePage || CharToByte(c).has_value();
}

std::string ToCodePage(std::string_view utf8, unsigned codePage)
{
    if (codePage == kUtf8CodePage)
        return WellFormedUtf8(utf8);
    std::string out;
    out.reserve(utf8.size());
    for (std::size_t pos = 0; pos < utf8.size();)
        out += CharToByte(NextUtf8(utf8, pos)).value_or('?');
    return out;
}

std::string FromCodePage(std::string_view bytes, unsigned codePage)
{
    if (codePage == kUtf8CodePage)
        return WellFormedUtf8(bytes);
    std::string out;
    out.reserve(bytes.size());
    for (char byte : bytes)
        AppendUtf8(out, ByteToChar(static_cast<unsigned char>(byte)));
    return out;
}

} // namespace brinevar
