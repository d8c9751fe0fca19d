#include "settingstext.h"

#include <algorithm>

namespace brinevar {
namespace {

constexpr std::string_view kLineEnd = "\r\n";

std::string_view TrimBlanks(std::string_view text)
{
    const std::size_t first = text.find_first_not_of(' ');
    if (first == std::string_view::npos)
        return {};
    return text.substr(first, text.find_last_not_of(' ') - first + 1);
}

std::string OnOneLine(std::string_view text)
{
    std::string line;
    line.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n')
            ++i; // CR LF is one break
        line += text[i] == '\r' || text[i] == '\n' ? ' ' : text[i];
    }
    return line;
}

} // namespace

std::string FormatSettingsText(const TankSettings &settings)
{
    std::string text;
    const auto &catalogue = Catalogue();
    for (std::size_t i = 0; i < catalogue.size(); ++i) {
        if (i == 0 || catalogue[i].section != catalogue[i - 1].section)
            text.append("[").append(SectionName(catalogue[i].section)).append("]").append(kLineEnd);
        text.append(catalogue[i].name)
            .append(" = ")
            .append(OnOneLine(settings[i]))
            .append(kLineEnd);
    }
    return text;
}

void ReadSettingsText(std::string_view text, TankSettings &settings, DecodeValue decode)
{
    for (std::size_t at = 0; at < text.size();) {
        const std::size_t end = std::min(text.find_first_of("\r\n", at), text.size());
        const std::string_view line = text.substr(at, end - at);
        at = end + (text.substr(end, 2) == kLineEnd ? 2 : 1);
        const std::size_t equals = line.find('=');
        if (equals == std::string_view::npos)
            continue;
        const auto setting = FindSetting(TrimBlanks(line.substr(0, equals)));
        const std::string_view value = TrimBlanks(line.substr(equals + 1));
        if (setting && !value.empty())
            settings[*setting] = decode(value);
    }
}

} // namespace brinevar
