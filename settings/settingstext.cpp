#include "settingstext.h"

#include <algorithm>

namespace brinevar {
namespace {

constexpr std::string_view kLineEnd = "\r\n";

// No setting name is longer, so a longer key can be given up at once.
const std::size_t kLongestName =
    std::ranges::max(Catalogue(), {}, [](const Setting &s) { return s.name.size(); }).name.size();

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

SettingsReader::SettingsReader(TankSettings &settings, DecodeValue decode)
    : settings_(settings), decode_(decode)
{
}

void SettingsReader::feed(std::string_view chunk)
{
    for (const char c : chunk)
        take(c);
}

void SettingsReader::finish()
{
    endLine();
    afterCr_ = false;
}

// A line is its characters up to a CR, a LF or a CR LF. The key is what
// stands before its first "=", the value what follows; both lose the blanks
// at their ends, and only the blank (code 32) counts as one.
void SettingsReader::take(char c)
{
    if (c == '\n' && afterCr_) {
        afterCr_ = false;
        return;
    }
    afterCr_ = c == '\r';
    if (c == '\r' || c == '\n') {
        endLine();
        return;
    }

    if (!afterEquals_) {
        if (c == '=') {
            afterEquals_ = true;
            const auto found = key_.empty() || keyTooLong_ ? std::nullopt : FindSetting(key_);
            named_ = found.has_value();
            setting_ = found.value_or(0);
            blanks_ = 0;
        } else if (c == ' ') {
            blanks_ += key_.empty() ? 0 : 1;
        } else if (key_.size() + blanks_ + 1 > kLongestName) {
            keyTooLong_ = true; // can name no setting; only the "=" still matters
        } else {
            key_.append(blanks_, ' ') += c;
            blanks_ = 0;
        }
        return;
    }
    if (!named_)
        return;
    if (c == ' ') {
        blanks_ += value_.empty() ? 0 : 1;
    } else {
        value_.append(blanks_, ' ') += c;
        blanks_ = 0;
    }
}

void SettingsReader::endLine()
{
    // An empty value leaves its setting as it was.
    if (named_ && !value_.empty())
        settings_[setting_] = decode_(value_);
    afterEquals_ = keyTooLong_ = named_ = false;
    key_.clear();
    value_.clear();
    blanks_ = 0;
    setting_ = 0;
}

void ReadSettingsText(std::string_view text, TankSettings &settings, DecodeValue decode)
{
    SettingsReader reader(settings, decode);
    reader.feed(text);
    reader.finish();
}

} // namespace brinevar
