// The code pages on Windows: the system's own conversions, never allowed a
// best-fit look-alike.
#include "ansicodepage.h"
#include "widetext.h"

#define WIN32_LEAN_AND_MEAN
#include <windows.h>

namespace brinevar {
namespace {

bool IsUtf(unsigned codePage)
{
    return codePage == CP_UTF8 || codePage == CP_UTF7;
}

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
    // The UTF code pages take neither flags nor a default character: Windows
    // fails the call, and every text would come out empty, where the
    // system's ANSI code page is UTF-8 (the "Beta: Unicode UTF-8" option).
    // Elsewhere a character without an exact byte becomes '?', never what
    // Windows thinks looks like it (U+2212 as '-').
    const DWORD flags = IsUtf(codePage) ? 0 : WC_NO_BEST_FIT_CHARS;
    const char *fallback = IsUtf(codePage) ? nullptr : "?";
    const int size = WideCharToMultiByte(codePage, flags, wide.data(), int(wide.size()), nullptr, 0,
                                         fallback, nullptr);
    std::string narrow(std::size_t(size), '\0');
    WideCharToMultiByte(codePage, flags, wide.data(), int(wide.size()), narrow.data(), size,
                        fallback, nullptr);
    return narrow;
}

} // namespace

unsigned AnsiCodePage()
{
    return GetACP();
}

bool CanStore(char32_t c, unsigned codePage)
{
    // Every ANSI code page holds ASCII as it is; the UTF ones hold everything.
    if (c < 0x80 || IsUtf(codePage))
        return true;
    wchar_t units[2];
    int count = 1;
    if (c >= 0x10000) {
        units[0] = wchar_t(0xD800 + ((c - 0x10000) >> 10));
        units[1] = wchar_t(0xDC00 + ((c - 0x10000) & 0x3FF));
        count = 2;
    } else {
        units[0] = wchar_t(c);
    }
    char bytes[8];
    BOOL usedDefault = FALSE;
    const int size = WideCharToMultiByte(codePage, WC_NO_BEST_FIT_CHARS, units, count, bytes,
                                         int(sizeof bytes), nullptr, &usedDefault);
    return size > 0 && !usedDefault;
}

std::string ToCodePage(std::string_view utf8, unsigned codePage)
{
    return Narrow(Widen(utf8, CP_UTF8), codePage);
}

std::string FromCodePage(std::string_view bytes, unsigned codePage)
{
    return Narrow(Widen(bytes, codePage), CP_UTF8);
}

std::wstring Utf8ToWide(std::string_view utf8)
{
    return Widen(utf8, CP_UTF8);
}

std::string WideToUtf8(const std::wstring &wide)
{
    return Narrow(wide, CP_UTF8);
}

} // namespace brinevar
