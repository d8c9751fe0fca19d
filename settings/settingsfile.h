// The text of tanks.cfg and tanks.ini: written strictly (22 lines, catalogue
// order, " = " between name and text, CR LF after every line) and read
// leniently (any line whose key before the first "=" names a setting).
#pragma once

#include "atomicfile.h"
#include "catalogue.h"

#include <filesystem>
#include <string>
#include <string_view>

namespace brinevar {

// The complete file text, in the ANSI code page.
std::string FormatSettingsFile(const TankSettings &settings);

// Replaces `path` as a whole; on failure throws FileError and the former file stays.
void WriteSettingsFile(const std::filesystem::path &path, const TankSettings &settings);

// Puts the value of every recognised line into `settings`, in file order;
// settings that no line names keep the text they came in with.
// Throws FileError when the file cannot be opened or read.
void ReadSettingsFile(const std::filesystem::path &path, TankSettings &settings);

// The same rules over text that is already in memory (ANSI code page).
void ReadSettingsText(std::string_view text, TankSettings &settings);

// Reads settings text fed in pieces of any size, holding at most the line being
// read, and of it only as much as can still name a setting, plus its value.
class SettingsReader {
public:
    explicit SettingsReader(TankSettings &settings) : settings_(settings) {}

    void feed(std::string_view chunk);
    // Ends the last line when the text does not end with a line break.
    void finish();

private:
    enum class Phase { Key, Value, Skip };

    void takeLine(const char *p, const char *equals, const char *lineEnd);
    bool append(std::string &text, const char *p, const char *end, std::size_t limit);
    void nameKey();
    void endLine();

    TankSettings &settings_;
    Phase phase_ = Phase::Key;
    // The key and the value so far, without their leading blanks; blanks seen
    // after them are only counted, and kept if more of the text follows.
    std::string key_;
    std::string value_;
    std::size_t pendingBlanks_ = 0;
    std::size_t setting_ = 0; // the setting the key named, in the Value phase
};

} // namespace brinevar
