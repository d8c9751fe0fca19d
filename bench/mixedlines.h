// Settings text of every kind the reader meets, in a fixed pseudo-random mix,
// so that runs and machines compare like with like.
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>

namespace bench {

// The share of the file that each kind of line took, for the report.
struct MixStats {
    std::uint64_t lines = 0;
    std::uint64_t settingLines = 0; // lines whose key names a setting
    std::uint64_t longLines = 0;
    std::uint64_t bytes = 0;
    std::uint64_t longLineBytes = 0;
};

class MixedLines {
public:
    // Without settings, no line names a setting: what the reader keeps stays empty.
    MixedLines(std::uint64_t seed, bool withSettings);

    // Appends one line and its line end (CR LF, lone CR, lone LF or, rarely, none).
    void append(std::string &out);

    const MixStats &stats() const { return stats_; }

private:
    std::uint64_t next();
    std::uint64_t below(std::uint64_t bound) { return next() % bound; }
    void blanks(std::string &out, std::uint64_t most);
    void settingLine(std::string &out);
    void otherKeyLine(std::string &out);
    void comment(std::string &out);
    void garbage(std::string &out, std::uint64_t length);
    void longLine(std::string &out);

    std::uint64_t state_;
    bool withSettings_;
    MixStats stats_;
};

// Writes `bytes` (rounded up to the end of a line) of mixed lines to `path`.
MixStats WriteMixedFile(const std::filesystem::path &path, std::uint64_t bytes, bool withSettings);

// Writes `head`, then `fill` repeated up to `bytes`, then `tail`: one huge line.
void WriteHugeLine(const std::filesystem::path &path, const std::string &head, char fill,
                   std::uint64_t bytes, const std::string &tail);

} // namespace bench
