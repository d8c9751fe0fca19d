#include "inplacewrite.h"

#include "atomicfile.h"
#include "descriptor.h"
#include "programfolder.h"
#include "settingsfile.h"

#include <algorithm>
#include <cerrno>
#include <optional>
#include <sstream>
#include <string_view>

namespace brinevar {
namespace {

namespace fs = std::filesystem;

// Blank lines, which a reader of the settings text passes over.
std::string Padding(std::uintmax_t size)
{
    return std::string(std::size_t(size), '\n');
}

// Puts `text` in place of the file's content so that it never holds part of
// the new text with part of the old. The file first grows to the new length
// by blank lines after the old text, so that a full disk fails before the old
// text is touched (and the file is cut back to it). Then one write puts the
// new text over the old, padded with blank lines to the old length, so that
// a kill before the final cut leaves the new text and blank lines, never the
// new text followed by the tail of the old.
std::error_code Overwrite(int fd, const std::string &text)
{
    ClearFailure();
    const auto former = OrdinaryFileSize(fd);
    if (!former)
        return errno ? LastFailure() : make_error_code(FileProblem::NotOrdinaryFile);
    if (text.size() > *former &&
        !(WriteAllAt(fd, Padding(text.size() - *former), *former) && Sync(fd))) {
        const std::error_code reason = LastFailure();
        Truncate(fd, std::size_t(*former));
        return reason;
    }
    const bool written =
        WriteAllAt(fd, text.size() < *former ? text + Padding(*former - text.size()) : text, 0) &&
        Sync(fd) && Truncate(fd, text.size()) && Sync(fd);
    return written ? std::error_code() : LastFailure();
}

std::error_code Overwrite(const fs::path &file, const std::string &text)
{
    ClearFailure();
    const int fd = OpenExisting(file);
    if (fd < 0)
        return LastFailure();
    const std::error_code reason = Overwrite(fd, text);
    Close(fd);
    return reason;
}

// The content of an ordinary file of at most `limit` bytes; nothing when
// there is none to read, and nothing, with `tooLarge` set, for a larger one,
// which is never read.
std::optional<std::string> ReadWhole(const fs::path &file, std::uintmax_t limit,
                                     bool *tooLarge = nullptr)
{
    const int fd = OpenForReading(file);
    if (fd < 0)
        return std::nullopt;
    std::optional<std::string> text;
    const auto size = OrdinaryFileSize(fd);
    if (size && *size <= limit) {
        text.emplace();
        char buffer[1 << 14];
        long long got;
        while ((got = ReadSome(fd, buffer, sizeof buffer)) > 0 && text->size() <= limit)
            text->append(buffer, std::size_t(got));
        if (got < 0 || text->size() > limit) // also one that grows while it is read
            text.reset();
    }
    if (tooLarge)
        *tooLarge = size && !text;
    Close(fd);
    return text;
}

// What a journal holds: a line that gives the sizes, then the file's name,
// its old text and its new text.
constexpr std::string_view kJournalMark = "brinevar overwrite";

// A save journals no text longer than a settings file can be, nor a name
// longer than this, so no journal it writes is larger than kLargestJournal.
constexpr std::uintmax_t kLongestJournaledText = kMaxSettingsFileSize;
constexpr std::uintmax_t kLongestJournaledName = std::uintmax_t(1) << 16;
constexpr std::uintmax_t kLargestJournal =
    kJournalMark.size() + 3 * 21 + 1 + kLongestJournaledName + 2 * kLongestJournaledText;

struct Overwriting {
    fs::path file;
    std::string former, fresh;
};

std::string JournalText(const Overwriting &entry)
{
    const std::string name = PathToUtf8(entry.file);
    std::ostringstream text;
    text << kJournalMark << ' ' << name.size() << ' ' << entry.former.size() << ' '
         << entry.fresh.size() << '\n'
         << name << entry.former << entry.fresh;
    return std::move(text).str();
}

std::optional<Overwriting> ReadJournal(const std::string &text)
{
    const std::size_t end = text.find('\n');
    if (end == std::string::npos || !text.starts_with(kJournalMark))
        return std::nullopt;
    std::istringstream header(text.substr(kJournalMark.size(), end - kJournalMark.size()));
    std::size_t name = 0, former = 0, fresh = 0;
    if (!(header >> name >> former >> fresh) || name > kLongestJournaledName ||
        former > kLongestJournaledText || fresh > kLongestJournaledText)
        return std::nullopt;
    const std::size_t start = end + 1;
    if (text.size() - start != name + former + fresh)
        return std::nullopt;
    return Overwriting{PathFromUtf8(std::string_view(text).substr(start, name)),
                       text.substr(start + name, former), text.substr(start + name + former)};
}

bool WriteJournal(const fs::path &journal, const Overwriting &entry)
{
    if (entry.fresh.size() > kLongestJournaledText ||
        PathToUtf8(entry.file).size() > kLongestJournaledName)
        return false;
    AtomicFile file(journal);
    return file.open() && file.write(JournalText(entry)) && file.commit();
}

bool IsOneOf(const fs::path &file, const std::vector<fs::path> &files)
{
    std::error_code ignored;
    for (const fs::path &candidate : files)
        if (fs::equivalent(file, candidate, ignored))
            return true;
    return false;
}

// Whether `now` is what Overwrite can leave in the file when killed as it puts
// `entry.fresh` in place of `entry.former`: the old text with part of the
// blank lines after it that make room for a longer new text, or the new text
// (with the blank lines that pad it to the old length) written part of the
// way over that.
bool IsTornOverwrite(const std::string &now, const Overwriting &entry)
{
    const std::size_t longer = std::max(entry.former.size(), entry.fresh.size());
    const std::string grown = entry.former + Padding(longer - entry.former.size());
    if (now.size() < longer)
        return now.size() >= entry.former.size() && grown.starts_with(now);
    if (now.size() > longer)
        return false;
    const std::string written = entry.fresh + Padding(longer - entry.fresh.size());
    const std::size_t same =
        std::size_t(std::mismatch(now.begin(), now.end(), written.begin()).first - now.begin());
    return now.compare(same, std::string::npos, grown, same) == 0;
}

} // namespace

std::error_code OverwriteInPlace(const fs::path &file, const std::string &text,
                                 const fs::path &journal)
{
    std::optional<std::string> former;
    if (!journal.empty())
        former = ReadWhole(file, kLongestJournaledText);
    const bool journaled = former && WriteJournal(journal, {file, *former, text});
    const std::error_code reason = Overwrite(file, text);
    std::error_code ignored;
    if (journaled && reason)
        UndoInterruptedOverwrite(journal, {file}); // a failure half-way puts the old text back
    else if (journaled)
        fs::remove(journal, ignored);
    return reason;
}

void UndoInterruptedOverwrite(const fs::path &journal, const std::vector<fs::path> &files)
{
    bool tooLarge = false;
    const std::optional<std::string> text = ReadWhole(journal, kLargestJournal, &tooLarge);
    if (!text && !tooLarge)
        return;
    if (const auto entry = text ? ReadJournal(*text) : std::nullopt;
        entry && IsOneOf(entry->file, files)) {
        // What is neither the old text nor the new one nor a mix of the two
        // that a killed write leaves (the user's own edit since, say) stays.
        const auto now =
            ReadWhole(entry->file, std::max(entry->former.size(), entry->fresh.size()));
        if (now && *now != entry->former && *now != entry->fresh && IsTornOverwrite(*now, *entry) &&
            Overwrite(entry->file, entry->former))
            return;
    }
    std::error_code ignored;
    fs::remove(journal, ignored);
}

} // namespace brinevar
