// libFuzzer target for the settings reader. For any text it checks that
//  - reading never crashes (AddressSanitizer and UndefinedBehaviorSanitizer
//    watch every access),
//  - the reader takes what a naive reading of its rules takes,
//  - what was read, written out and read back gives the same twenty texts:
//    the reader yields only values without line breaks or outer blanks, which
//    the writer keeps as they are, so read -> write -> read is a fixed point.
#include "naivereading.h"
#include "settingstext.h"

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

using namespace brinevar;

namespace {

// The bytes as they stand: the fuzzer judges the rules, not the code page.
std::string Identity(std::string_view bytes)
{
    return std::string(bytes);
}

void Check(bool holds, const char *what)
{
    if (!holds) {
        std::fprintf(stderr, "reader_fuzz: %s\n", what);
        std::abort();
    }
}

std::size_t Count(std::string_view text, std::string_view part)
{
    std::size_t count = 0;
    for (std::size_t at = text.find(part); at != std::string_view::npos;
         at = text.find(part, at + part.size()))
        ++count;
    return count;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const std::string_view text(reinterpret_cast<const char *>(data), size);

    TankSettings whole = InitialTexts();
    ReadSettingsText(text, whole, &Identity);
    TankSettings naive = InitialTexts();
    NaiveRead(text, naive);
    Check(whole == naive, "the reader and the naive reading of its rules differ");

    for (const auto &value : whole) {
        Check(!value.empty(), "a setting was emptied");
        Check(value.find_first_of("\r\n") == std::string::npos, "a value holds a line break");
    }

    const std::string written = FormatSettingsText(whole);
    Check(Count(written, "\r\n") == 22 && written.ends_with("\r\n"),
          "the written text is not 22 lines");
    // Starting from empty texts shows that every one of the 22 lines was read.
    TankSettings again{};
    ReadSettingsText(written, again, &Identity);
    Check(again == whole, "read, written and read again, the texts changed");
    Check(FormatSettingsText(again) == written, "writing the same texts twice differs");
    return 0;
}
