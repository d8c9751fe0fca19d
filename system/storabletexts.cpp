#include "storabletexts.h"

#include "settingsfile.h"

#include <cstdio>
#include <utility>

namespace brinevar {
namespace {

// Characters that show nothing, or nothing of their own, in a message box:
// controls, blanks other than the space, direction and joining marks,
// combining marks, variation selectors and tags.
bool IsInvisible(char32_t c)
{
    constexpr std::pair<char32_t, char32_t> kRanges[] = {
        {0x0000, 0x0020}, {0x007F, 0x00A0},   {0x00AD, 0x00AD},   {0x0300, 0x036F},
        {0x0483, 0x0489}, {0x0591, 0x05C7},   {0x0610, 0x061C},   {0x064B, 0x065F},
        {0x115F, 0x1160}, {0x1680, 0x1680},   {0x180B, 0x180F},   {0x2000, 0x200F},
        {0x2028, 0x202F}, {0x205F, 0x206F},   {0x20D0, 0x20FF},   {0x3000, 0x3000},
        {0x3164, 0x3164}, {0xFE00, 0xFE0F},   {0xFE20, 0xFE2F},   {0xFEFF, 0xFEFF},
        {0xFFF0, 0xFFFC}, {0x1D173, 0x1D17A}, {0xE0000, 0xE0FFF},
    };
    for (const auto &[first, last] : kRanges)
        if (c >= first && c <= last)
            return true;
    return false;
}

std::string Shown(char32_t c)
{
    if (!IsInvisible(c))
        return Utf8Of(c);
    char code[16];
    std::snprintf(code, sizeof code, "U+%04X", unsigned(c));
    return code;
}

} // namespace

Result RefuseUnstorableTexts(const TankSettings &texts, unsigned codePage)
{
    std::string message;
    for (std::size_t i = 0; i < texts.size(); ++i) {
        const std::u32string unstorable = UnstorableCharacters(texts[i], codePage);
        if (unstorable.empty())
            continue;
        if (!message.empty())
            message += '\n';
        message += std::string(Catalogue()[i].name) + " holds";
        for (const char32_t c : unstorable)
            message += ' ' + Shown(c);
        message += ", which " + std::string(kGameFileName) + " cannot store.";
    }
    if (message.empty())
        return {};
    return Result::Failure(message + "\n\nNothing was saved.");
}

} // namespace brinevar
