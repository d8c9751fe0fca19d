// The text of tanks.cfg and tanks.ini: written strictly (22 lines, catalogue
// order, " = " between name and text, CR LF after every line) and read
// leniently (any line whose key before the first "=" names a setting).
// Texts here are UTF-8; turning them into the file's code page is the file
// layer's business.
#pragma once

#include "catalogue.h"

#include <cstddef>
#include <string>
#include <string_view>

namespace brinevar {

// The complete file text. A line break inside a text is written as a blank,
// so that a setting line never splits in two.
std::string FormatSettingsText(const TankSettings &settings);

// Turns the bytes of a value into the program's UTF-8 text.
using DecodeValue = std::string (*)(std::string_view bytes);

// Reads settings text fed in pieces of any size. It keeps only the start of
// the current line's key (no longer than the longest setting name) and, once
// the key names a setting, its value: memory does not grow with the file.
class SettingsReader {
public:
    SettingsReader(TankSettings &settings, DecodeValue decode);

    void feed(std::string_view chunk);
    // Ends the last line when the text does not end with a line break.
    void finish();

private:
    void take(char c);
    void endLine();

    TankSettings &settings_;
    DecodeValue decode_;
    bool afterCr_ = false; // a LF right after a CR ends no second line
    bool afterEquals_ = false;
    bool keyTooLong_ = false;
    std::string key_;         // without its leading blanks
    std::string value_;       // without its leading blanks
    std::size_t blanks_ = 0;  // blanks seen after the key or value so far, kept if more follows
    std::size_t setting_ = 0; // the setting the key named, once afterEquals_
    bool named_ = false;
};

// Reads a whole text already in memory.
void ReadSettingsText(std::string_view text, TankSettings &settings, DecodeValue decode);

} // namespace brinevar
