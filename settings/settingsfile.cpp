#include "settingsfile.h"

#include "ansicodepage.h"

#include <algorithm>
#include <bit>
#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <memory>
#include <vector>

#if defined(__SSE2__) || defined(_M_X64)
#define BRINEVAR_SSE2 1
#include <emmintrin.h>
#endif

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

// Eight bytes at a time where the run is long enough; memcpy is how C++ reads
// a word from bytes of any alignment, and compilers make it one load.
std::uint64_t Word(const char *p)
{
    std::uint64_t word;
    std::memcpy(&word, p, sizeof word);
    return word;
}

constexpr std::uint64_t kEightBlanks = 0x2020202020202020ull;

// The first byte at or after `p` that is not a blank, or `end`. A word that
// is not all blanks has its first other byte where its lowest non-zero byte
// is after XOR with blanks (lowest address first, on little-endian machines).
const char *SkipBlanks(const char *p, const char *end)
{
    if constexpr (std::endian::native == std::endian::little) {
        for (; end - p >= 8; p += 8)
            if (const std::uint64_t other = Word(p) ^ kEightBlanks)
                return p + std::countr_zero(other) / 8;
    }
    while (p != end && *p == ' ')
        ++p;
    return p;
}

// Just past the last byte before `end` that is not a blank, or `p`.
const char *TrimBlanks(const char *p, const char *end)
{
    if constexpr (std::endian::native == std::endian::little) {
        for (; end - p >= 8; end -= 8)
            if (const std::uint64_t other = Word(end - 8) ^ kEightBlanks)
                return end - std::countl_zero(other) / 8;
    }
    while (end != p && end[-1] == ' ')
        --end;
    return end;
}

// The first byte at or after `p` that is one of `Stops`, or `end`. Most lines
// are short and each needs its own search, so this is inline rather than a
// call to memchr per character, and it checks sixteen bytes at once with SSE2
// (every x86-64 processor has it); the plain loop does the rest.
template <char... Stops> const char *FindAny(const char *p, const char *end)
{
#ifdef BRINEVAR_SSE2
    for (; end - p >= 16; p += 16) {
        const __m128i bytes = _mm_loadu_si128(reinterpret_cast<const __m128i *>(p));
        __m128i hits = _mm_setzero_si128();
        ((hits = _mm_or_si128(hits, _mm_cmpeq_epi8(bytes, _mm_set1_epi8(Stops)))), ...);
        if (const int mask = _mm_movemask_epi8(hits))
            return p + std::countr_zero(unsigned(mask));
    }
#endif
    for (; p != end; ++p)
        if (((*p == Stops) || ...))
            return p;
    return end;
}

const char *FindLineEnd(const char *p, const char *end)
{
    return FindAny<'\r', '\n'>(p, end);
}

bool IsAscii(std::string_view text)
{
    const char *p = text.data();
    const char *const end = p + text.size();
    std::uint64_t bits = 0;
    for (; end - p >= 8; p += 8)
        bits |= Word(p);
    for (; p != end; ++p)
        bits |= static_cast<unsigned char>(*p);
    return (bits & 0x8080808080808080ull) == 0;
}
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

// The reader takes a line in one or more runs of bytes: a run ends at the
// first "=" of the line, at the line end, or at the end of a chunk, and what it
// means depends on the phase the line is in: the key before the first "="
// (Key), the value after it (Value), or the rest of a line that can no longer
// name a setting (Skip). Only the key and the value are kept, trimmed of blanks
// as they come; lines are searched for their stops a run at a time.
void SettingsReader::feed(std::string_view chunk)
{
    const char *p = chunk.data();
    const char *const end = p + chunk.size();
    while (p != end) {
        // Nearly every line lies whole within its chunk: read it in place.
        if (phase_ == Phase::Key && key_.empty() && pendingBlanks_ == 0) {
            const char *const stop = FindAny<'=', '\r', '\n'>(p, end);
            const char *const lineEnd = stop != end && *stop == '=' ? FindLineEnd(stop, end) : stop;
            if (lineEnd != end) {
                if (stop != lineEnd)
                    takeLine(p, stop, lineEnd);
                p = lineEnd + 1;
                // The LF of a CR LF would only end an empty line.
                if (p != end && *p == '\n' && *lineEnd == '\r')
                    ++p;
                continue;
            }
        }
        const char *stop = nullptr;
        switch (phase_) {
        case Phase::Key:
            stop = FindAny<'=', '\r', '\n'>(p, end);
            if (!append(key_, p, stop, kLongestName)) {
                phase_ = Phase::Skip; // longer than any setting name
                p = stop;
                continue;
            }
            if (stop != end && *stop == '=') {
                nameKey();
                p = stop + 1;
                continue;
            }
            break;
        case Phase::Value:
            stop = FindLineEnd(p, end);
            append(value_, p, stop, std::string::npos);
            break;
        case Phase::Skip:
            stop = FindLineEnd(p, end);
            break;
        }
        if (stop == end)
            return; // the line goes on in the next chunk
        endLine();
        p = stop + 1;
    }
}

void SettingsReader::finish()
{
    endLine();
}

// A whole line with its first "=" at `equals`, read by the rules that the
// runs below follow piece by piece.
void SettingsReader::takeLine(const char *p, const char *equals, const char *lineEnd)
{
    const char *const key = SkipBlanks(p, equals);
    if (key == equals)
        return; // nothing before the first "="
    const auto found = FindSetting({key, TrimBlanks(key, equals)});
    if (!found)
        return;
    const char *const value = SkipBlanks(equals + 1, lineEnd);
    const char *const valueEnd = TrimBlanks(value, lineEnd);
    if (value == valueEnd)
        return; // an empty value leaves the setting as it was
    std::string &text = settings_[*found];
    if (IsAscii({value, valueEnd}))
        text.assign(value, valueEnd); // ASCII reads the same in UTF-8
    else
        text = FromAnsi({value, valueEnd});
}

// Adds the run [p, end) to the key or the value in `text`: blanks before its
// first other byte are dropped, and blanks after its last one are only counted,
// to be kept if more of the text follows. False if `text` would grow beyond `limit`.
bool SettingsReader::append(std::string &text, const char *p, const char *end, std::size_t limit)
{
    if (text.empty())
        p = SkipBlanks(p, end);
    const char *const last = TrimBlanks(p, end);
    if (last == p) {
        pendingBlanks_ += text.empty() ? 0 : std::size_t(end - p);
        return true;
    }
    if (text.size() + pendingBlanks_ + std::size_t(last - p) > limit)
        return false;
    text.append(pendingBlanks_, ' ').append(p, last);
    pendingBlanks_ = std::size_t(end - last);
    return true;
}

// At the first "=": a line with nothing before it, or whose key names no
// setting, is passed over.
void SettingsReader::nameKey()
{
    const auto found = key_.empty() ? std::nullopt : FindSetting(key_);
    phase_ = found ? Phase::Value : Phase::Skip;
    setting_ = found.value_or(0);
    pendingBlanks_ = 0;
}

void SettingsReader::endLine()
{
    // A line whose value is empty leaves its setting as it was.
    if (phase_ == Phase::Value && !value_.empty()) {
        // ASCII reads the same in UTF-8, so the text can be handed over as it is.
        if (IsAscii(value_))
            settings_[setting_].swap(value_);
        else
            settings_[setting_] = FromAnsi(value_);
    }
    phase_ = Phase::Key;
    key_.clear();
    value_.clear();
    pendingBlanks_ = 0;
}

} // namespace brinevar
