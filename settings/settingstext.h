// The text of tanks.cfg and tanks.ini: written strictly (22 lines, catalogue
// order, " = " between name and text, CR LF after every line) and read
// leniently (any line whose key before the first "=" names a setting).
// Texts here are UTF-8; turning them into the file's code page is the file
// layer's business.
#pragma once

#include "catalogue.h"

#include <string>
#include <string_view>

namespace brinevar {

// The complete file text. A line break inside a text is written as a blank,
// so that a setting line never splits in two.
std::string FormatSettingsText(const TankSettings &settings);

// Turns the bytes of a value into the program's UTF-8 text.
using DecodeValue = std::string (*)(std::string_view bytes);

// Puts the value of every line that names a setting into `settings`, in text
// order, decoded with `decode`. A line ends at CR LF, a lone CR or a lone LF;
// its key is what stands before its first "=", its value what follows, both
// without the blanks (code 32 only) at their ends. A key names a setting
// whatever its case; an empty value leaves the setting as it was.
void ReadSettingsText(std::string_view text, TankSettings &settings, DecodeValue decode);

} // namespace brinevar
