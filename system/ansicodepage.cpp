#include "ansicodepage.h"

#include <array>
#include <cstdint>

#ifdef _WIN32
#define WIN32_LEAN_AND_MEAN
#include <windows.h>
#endif

namespace brinevar {

#ifdef _WIN32

namespace {
std::wstring Widen(std::string_view text, unsigned codePage)
{
    if (text.empty())
        return {};
    const int size = MultiByteToWideChar(codePage, 0, text.data(), int(text.size()), nullptr, 0);
    std::wstring wide(std::size_t(size), L'\0');
    MultiByteToWideChar(codePage, 0, text.data(), int(text.size()), wide.data(), size);
    return wide;
}

std::string Narrow(const std::wstring &wide, unsigned codePage)
{
    if (wide.empty())
        return {};
    // The UTF code pages take no default character: Windows fails the call,
    // and every text would come out empty, where the system's ANSI code page
    // is UTF-8 (the "Beta: Unicode UTF-8" option).
    const char *fallback = codePage == CP_UTF8 || codePage == CP_UTF7 ? nullptr : "?";
    const int size = WideCharToMultiByte(codePage, 0, wide.data(), int(wide.size()), nullptr, 0,
                                         fallback, nullptr);
    std::string narrow(std::size_t(size), '\0');
    WideCharToMultiByte(codePage, 0, wide.data(), int(wide.size()), narrow.data(), size, fallback,
                        nullptr);
    return narrow;
}
} // namespace

std::wstring Utf8ToWide(std::string_view utf8)
{
    return Widen(utf8, CP_UTF8);
}

std::string WideToUtf8(const std::wstring &wide)
{
    return Narrow(wide, CP_UTF8);
}

std::string ToCodePage(std::string_view utf8, unsigned codePage)
{
    return Narrow(Widen(utf8, CP_UTF8), codePage);
}

std::string FromCodePage(std::string_view bytes, unsigned codePage)
{
    return Narrow(Widen(bytes, codePage), CP_UTF8);
}

std::string ToAnsi(std::string_view utf8)
{
    return ToCodePage(utf8, GetACP());
}

std::string FromAnsi(std::string_view ansi)
{
    return FromCodePage(ansi, GetACP());
}

#else

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

char CharToByte(char32_t c)
{
    if (c < 0x80 || (c >= 0xA0 && c <= 0xFF))
        return char(c);
    for (std::size_t i = 0; i < kHigh.size(); ++i)
        if (kHigh[i] == c)
            return char(0x80 + i);
    return '?';
}

void AppendUtf8(std::string &out, char32_t c)
{
    if (c < 0x80) {
        out += char(c);
    } else if (c < 0x800) {
        out += char(0xC0 | (c >> 6));
        out += char(0x80 | (c & 0x3F));
    } else {
        out += char(0xE0 | (c >> 12));
        out += char(0x80 | ((c >> 6) & 0x3F));
        out += char(0x80 | (c & 0x3F));
    }
}

// Decodes one UTF-8 sequence at `pos`, advancing it; malformed input yields
// U+FFFD for one byte so that decoding always makes progress.
char32_t NextUtf8(std::string_view text, std::size_t &pos)
{
    const auto lead = static_cast<unsigned char>(text[pos++]);
    if (lead < 0x80)
        return lead;
    int extra = lead >= 0xF0 && lead < 0xF5 ? 3 : lead >= 0xE0 ? 2 : lead >= 0xC2 ? 1 : -1;
    if (extra < 0 || lead >= 0xF5 || pos + std::size_t(extra) > text.size())
        return 0xFFFD;
    char32_t c = lead & (0x3F >> extra);
    for (int i = 0; i < extra; ++i) {
        const auto next = static_cast<unsigned char>(text[pos + std::size_t(i)]);
        if ((next & 0xC0) != 0x80)
            return 0xFFFD;
        c = (c << 6) | (next & 0x3F);
    }
    pos += std::size_t(extra);
    constexpr char32_t kSmallest[] = {0, 0x80, 0x800, 0x10000};
    return c < kSmallest[extra] ? 0xFFFD : c;
}

} // namespace

std::string ToAnsi(std::string_view utf8)
{
    std::string out;
    out.reserve(utf8.size());
    for (std::size_t pos = 0; pos < utf8.size();)
        out += CharToByte(NextUtf8(utf8, pos));
    return out;
}

std::string FromAnsi(std::string_view ansi)
{
    std::string out;
    out.reserve(ansi.size());
    for (char byte : ansi)
        AppendUtf8(out, ByteToChar(static_cast<unsigned char>(byte)));
    return out;
}

#endif

} // namespace brinevar
