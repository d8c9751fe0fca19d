#include "settingsfile.h"

#include "ansicodepage.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <memory>
#include <vector>

namespace brinevar {
namespace {

constexpr std::string_view kLineEnd = "\r\n";

// No setting name is longer, so a longer key can be passed over at once.
const std::size_t kLongestName =
    std::ranges::max(Catalogue(), {}, [](const Setting &s) { return s.name.size(); }).name.size();

// A line break inside a text would split its setting line in two.
std::string OnOneLine(std::string_view text)
{
    std::string line;
    line.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\r' || text[i] == '\n') {
            if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n')
                ++i;
            line += ' ';
        } else {
            line += text[i];
        }
    }
    return line;
}

bool IsLineEnd(char c) { return c == '\r' || c == '\n'; }

} // namespace

std::string FormatSettingsFile(const TankSettings &settings)
{
    std::string text;
    const auto &catalogue = Catalogue();
    for (std::size_t i = 0; i < catalogue.size(); ++i) {
        if (i == 0 || catalogue[i].section != catalogue[i - 1].section)
            text.append("[").append(SectionName(catalogue[i].section)).append("]").append(kLineEnd);
        text.append(catalogue[i].name).append(" = ");
        text.append(ToAnsi(OnOneLine(settings[i]))).append(kLineEnd);
    }
    return text;
}

void WriteSettingsFile(const std::filesystem::path &path, const TankSettings &settings)
{
    AtomicFile file(path);
    file.write(FormatSettingsFile(settings));
    file.commit();
}

void ReadSettingsFile(const std::filesystem::path &path, TankSettings &settings)
{
    errno = 0;
#ifdef _WIN32
    std::unique_ptr<std::FILE, int (*)(std::FILE *)> stream(_wfopen(path.c_str(), L"rb"),
                                                            &std::fclose);
#else
    std::unique_ptr<std::FILE, int (*)(std::FILE *)> stream(std::fopen(path.c_str(), "rb"),
                                                            &std::fclose);
#endif
    if (!stream)
        throw FileError(path, {errno ? errno : ENOENT, std::generic_category()});

    SettingsReader reader(settings);
    std::vector<char> buffer(std::size_t(1) << 16);
    for (;;) {
        errno = 0;
        const std::size_t got = std::fread(buffer.data(), 1, buffer.size(), stream.get());
        reader.feed({buffer.data(), got});
        if (got < buffer.size()) {
            if (std::ferror(stream.get()))
                throw FileError(path, {errno ? errno : EIO, std::generic_category()});
            break;
        }
    }
    reader.finish();
}

void ReadSettingsText(std::string_view text, TankSettings &settings)
{
    SettingsReader reader(settings);
    reader.feed(text);
    reader.finish();
}

void SettingsReader::feed(std::string_view chunk)
{
    const char *p = chunk.data();
    const char *const end = p + chunk.size();
    while (p != end) {
        if (phase_ == Phase::Skip) {
            p = std::find_if(p, end, IsLineEnd);
            if (p == end)
                return;
        }
        const char c = *p++;
        if (IsLineEnd(c)) {
            endLine();
            continue;
        }
        switch (phase_) {
        case Phase::Start:
            if (c == '=')
                phase_ = Phase::Skip; // nothing before the first "="
            else if (c != ' ') {
                key_ = c;
                phase_ = Phase::Key;
            }
            break;
        case Phase::Key:
            if (c == ' ') {
                ++pendingBlanks_;
            } else if (c == '=') {
                const auto found = FindSetting(key_);
                phase_ = found ? Phase::Value : Phase::Skip;
                setting_ = found.value_or(0);
                pendingBlanks_ = 0;
            } else if (key_.size() + pendingBlanks_ + 1 > kLongestName) {
                phase_ = Phase::Skip;
            } else {
                key_.append(pendingBlanks_, ' ') += c;
                pendingBlanks_ = 0;
            }
            break;
        case Phase::Value:
            if (c == ' ') {
                // Leading blanks of the value are dropped, inner ones kept.
                pendingBlanks_ += value_.empty() ? 0 : 1;
            } else {
                value_.append(pendingBlanks_, ' ') += c;
                pendingBlanks_ = 0;
            }
            break;
        case Phase::Skip:
            break;
        }
    }
}

void SettingsReader::finish() { endLine(); }

void SettingsReader::endLine()
{
    // A line whose value is empty leaves its setting as it was.
    if (phase_ == Phase::Value && !value_.empty())
        settings_[setting_] = FromAnsi(value_);
    phase_ = Phase::Start;
    key_.clear();
    value_.clear();
    pendingBlanks_ = 0;
}

} // namespace brinevar
