// Conversion between the program's UTF-8 texts and the bytes of the ANSI code
// page that the game and older tools expect in tanks.cfg: the system code page
// on Windows, Windows-1252 everywhere else.
#pragma once

#include <string>
#include <string_view>

namespace brinevar {

// A character that the code page cannot hold (or malformed UTF-8) becomes '?'.
std::string ToAnsi(std::string_view utf8);

// Every byte of Windows-1252 maps to a character, so this never fails.
std::string FromAnsi(std::string_view ansi);

#ifdef _WIN32
// The same with a given Windows code page; ToAnsi and FromAnsi pass the
// system's ANSI code page, which may be UTF-8 (65001).
std::string ToCodePage(std::string_view utf8, unsigned codePage);
std::string FromCodePage(std::string_view bytes, unsigned codePage);

// A UTF-8 text as the wide text that Windows' own functions take.
std::wstring Utf8ToWide(std::string_view utf8);
std::string WideToUtf8(const std::wstring &wide);
#endif

} // namespace brinevar
