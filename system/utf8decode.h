// Reading UTF-8 one character at a time, for the code page conversions.
#pragma once

#include <string>
#include <string_view>

namespace brinevar {

// What NextUtf8 returns for a byte that starts no well-formed sequence.
inline constexpr char32_t kMalformedUtf8 = 0xFFFFFFFF;

// Decodes one UTF-8 sequence at `pos`, advancing it. Malformed input (a stray
// byte, an overlong form, a surrogate, beyond U+10FFFF) yields kMalformedUtf8
// for one byte, so that decoding always makes progress.
char32_t NextUtf8(std::string_view text, std::size_t &pos);

void AppendUtf8(std::string &out, char32_t c);

} // namespace brinevar
