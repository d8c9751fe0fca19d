// Conversion between the program's UTF-8 texts and the bytes of the ANSI code
// page that the game and older tools expect in tanks.cfg: the system code page
// on Windows, Windows-1252 everywhere else.
#pragma once

#include <string>
#include <string_view>

namespace brinevar {

inline constexpr unsigned kWindows1252 = 1252;
inline constexpr unsigned kUtf8CodePage = 65001;

// The code page of the settings files: Windows' ANSI code page (which may be
// 65001, UTF-8), Windows-1252 elsewhere.
unsigned AnsiCodePage();

// Whether `codePage` holds `c` exactly: no best-fit look-alike, no default
// character. Off Windows only 65001 and Windows-1252 are known; any other
// number means Windows-1252.
bool CanStore(char32_t c, unsigned codePage);

// The characters of `utf8` that `codePage` cannot hold exactly, each once, in
// the order they first appear; a malformed UTF-8 sequence counts as U+FFFD.
// Empty when the text can be written exactly.
std::u32string UnstorableCharacters(std::string_view utf8, unsigned codePage = AnsiCodePage());

// A character that the code page cannot hold (or malformed UTF-8) becomes
// '?', never a look-alike; callers that must not lose anything check first
// with UnstorableCharacters. 65001 passes every well-formed text unchanged.
std::string ToCodePage(std::string_view utf8, unsigned codePage);
// Every byte of Windows-1252 maps to a character, so this never fails.
std::string FromCodePage(std::string_view bytes, unsigned codePage);

inline std::string ToAnsi(std::string_view utf8)
{
    return ToCodePage(utf8, AnsiCodePage());
}

inline std::string FromAnsi(std::string_view ansi)
{
    return FromCodePage(ansi, AnsiCodePage());
}

// One character as UTF-8.
std::string Utf8Of(char32_t c);

} // namespace brinevar
