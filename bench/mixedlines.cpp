#include "mixedlines.h"

#include "catalogue.h"

#include <algorithm>
#include <array>
#include <cstdio>
#include <memory>
#include <stdexcept>
#include <string_view>

namespace bench {
namespace {

constexpr std::array<std::string_view, 12> kWords{"tank",   "water", "salt",  "the", "wall",   "of",
                                                  "purity", "show",  "price", "=",   "murky!", "z"};

// Keys that come close to a setting name but name none.
constexpr std::array<std::string_view, 8> kOtherKeys{"salt",
                                                     "saltWaterX",
                                                     "x",
                                                     "tank Terrain",
                                                     "\tsaltWater",
                                                     "initialSinkShowAndMore",
                                                     "[tank] saltWater",
                                                     "noSuchSetting"};

constexpr std::array<std::string_view, 5> kHeaders{"[cost]", "[tank]", "[Tank]", " [misc] ",
                                                   "[cost][tank]"};

// Chances out of 10000 that a line is of each kind, in this order.
enum Kind { Setting, OtherKey, Header, Comment, Garbage, Empty, Long, KindCount };
constexpr std::array<std::uint64_t, KindCount> kWeights{3800, 900, 700, 1400, 1600, 1594, 6};

} // namespace

MixedLines::MixedLines(std::uint64_t seed, bool withSettings)
    : state_(seed), withSettings_(withSettings)
{
}

// splitmix64: small, fast and the same everywhere.
std::uint64_t MixedLines::next()
{
    std::uint64_t z = (state_ += 0x9E3779B97F4A7C15ull);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
    return z ^ (z >> 31);
}

void MixedLines::blanks(std::string &out, std::uint64_t most)
{
    // Mostly none or one, as people write them.
    const std::uint64_t n = below(4) == 0 ? below(most + 1) : below(2);
    out.append(n, ' ');
}

void MixedLines::settingLine(std::string &out)
{
    const auto &catalogue = brinevar::Catalogue();
    const std::string_view name = catalogue[below(catalogue.size())].name;
    blanks(out, 3);
    const std::uint64_t casing = below(4);
    for (const char c : name) {
        const bool upper = casing == 1 || (casing == 3 && below(2) == 0);
        const bool lower = casing == 2 || casing == 3;
        out += upper && c >= 'a' && c <= 'z'   ? char(c - 'a' + 'A')
               : lower && c >= 'A' && c <= 'Z' ? char(c - 'A' + 'a')
                                               : c;
    }
    blanks(out, 3);
    out += '=';
    blanks(out, 3);
    switch (below(10)) {
    case 0:
        out += "1.5";
        break;
    case 1:
        out += "-1";
        break;
    case 2:
        out += "a  b";
        break;
    case 3:
        out += "2 = 3";
        break;
    case 4:
        out += "7\t";
        break;
    case 5:
        out += "caf\xe9";
        break;
    case 6:
        break; // an empty value: passed over
    default:
        out += std::to_string(below(1000000));
        break;
    }
    blanks(out, 3);
    ++stats_.settingLines;
}

void MixedLines::otherKeyLine(std::string &out)
{
    blanks(out, 2);
    out += kOtherKeys[below(kOtherKeys.size())];
    out += " = ";
    out += std::to_string(below(1000));
}

void MixedLines::comment(std::string &out)
{
    out += below(2) ? "; " : below(2) ? "# " : "// ";
    const std::uint64_t words = 3 + below(12);
    for (std::uint64_t i = 0; i < words; ++i) {
        out += kWords[below(kWords.size())];
        out += ' ';
    }
}

void MixedLines::garbage(std::string &out, std::uint64_t length)
{
    for (std::uint64_t i = 0; i < length; ++i) {
        char c = char(1 + below(255));
        out += c == '\r' || c == '\n' ? '\t' : c;
    }
}

void MixedLines::longLine(std::string &out)
{
    // 1 KiB to 128 KiB, spread evenly over the powers of two.
    const std::uint64_t length = (std::uint64_t(1024) << below(8)) + below(1024);
    const std::size_t start = out.size();
    switch (below(4)) {
    case 0: // a comment without "="
        out += "; ";
        while (out.size() - start < length)
            out += "long comment text ";
        break;
    case 1: // a long value, kept when the key names a setting
        out += withSettings_ ? "initialSalinity = " : "noSuchSetting = ";
        if (withSettings_)
            ++stats_.settingLines;
        while (out.size() - start < length)
            out += "12345 67890 ";
        break;
    case 2: // garbage with an "=" far from its start
        garbage(out, length);
        out[start + length / 2] = '=';
        break;
    default: // a setting line behind a long run of blanks
        out.append(length, ' ');
        out += withSettings_ ? "tankTerrain = 7" : "tankTerrainX = 7";
        if (withSettings_)
            ++stats_.settingLines;
        break;
    }
    ++stats_.longLines;
    stats_.longLineBytes += out.size() - start;
}

void MixedLines::append(std::string &out)
{
    const std::size_t start = out.size();
    std::uint64_t pick = below(10000);
    int kind = 0;
    while (pick >= kWeights[kind])
        pick -= kWeights[kind++];
    switch (kind) {
    case Setting:
        if (withSettings_) {
            settingLine(out);
            break;
        }
        [[fallthrough]];
    case OtherKey:
        otherKeyLine(out);
        break;
    case Header:
        out += kHeaders[below(kHeaders.size())];
        break;
    case Comment:
        comment(out);
        break;
    case Garbage:
        garbage(out, 1 + below(120));
        break;
    case Empty:
        blanks(out, 8);
        break;
    default:
        longLine(out);
        break;
    }
    const std::uint64_t end = below(100);
    out += end < 80 ? "\r\n" : end < 93 ? "\r" : "\n";
    ++stats_.lines;
    stats_.bytes += out.size() - start;
}

namespace {

using File = std::unique_ptr<std::FILE, int (*)(std::FILE *)>;

File Create(const std::filesystem::path &path)
{
    File file(std::fopen(path.c_str(), "wb"), &std::fclose);
    if (!file)
        throw std::runtime_error("cannot create " + path.string());
    return file;
}

void Write(const File &file, std::string_view bytes)
{
    if (std::fwrite(bytes.data(), 1, bytes.size(), file.get()) != bytes.size())
        throw std::runtime_error("cannot write a benchmark file (disk full?)");
}

} // namespace

MixStats WriteMixedFile(const std::filesystem::path &path, std::uint64_t bytes, bool withSettings)
{
    const File file = Create(path);
    MixedLines lines(20240601, withSettings);
    std::string block;
    while (lines.stats().bytes < bytes) {
        block.clear();
        while (block.size() < (std::size_t(4) << 20) && lines.stats().bytes < bytes)
            lines.append(block);
        Write(file, block);
    }
    return lines.stats();
}

void WriteHugeLine(const std::filesystem::path &path, const std::string &head, char fill,
                   std::uint64_t bytes, const std::string &tail)
{
    const File file = Create(path);
    Write(file, head);
    const std::string block(std::size_t(1) << 20, fill);
    for (std::uint64_t written = 0; written < bytes; written += block.size())
        Write(file, std::string_view(block).substr(
                        0, std::min<std::uint64_t>(block.size(), bytes - written)));
    Write(file, tail);
}

} // namespace bench
