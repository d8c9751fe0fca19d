#include "inplacewrite.h"

#include "programfolder.h"
#include "settingsfile.h"

#include <algorithm>
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
std::error_code Overwrite(File &file, const std::string &text)
{
    const auto former = file.OrdinarySize();
    if (!former)
        return former.error();
    if (text.size() > *former) {
        std::error_code reason = file.WriteAllAt(Padding(text.size() - *former), *former);
        if (!reason)
            reason = file.Sync();
        if (reason) {
            // Cut back to the old text; should that fail too, blank lines
            // after it are all that is left, which a reader passes over.
            (void)file.Truncate(*former);
            return reason;
        }
    }
    std::error_code reason =
        file.WriteAllAt(text.size() < *former ? text + Padding(*former - text.size()) : text, 0);
    if (!reason)
        reason = file.Sync();
    if (!reason)
        reason = file.Truncate(text.size());
    if (!reason)
        reason = file.Sync();
    return reason;
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

Outcome<Overwriting> ReadJournal(const std::string &text)
{
    const auto malformed = std::make_error_code(std::errc::invalid_argument);
    const std::size_t end = text.find('\n');
    if (end == std::string::npos || !text.starts_with(kJournalMark))
        return malformed;
    std::istringstream header(text.substr(kJournalMark.size(), end - kJournalMark.size()));
    std::size_t name = 0, former = 0, fresh = 0;
    if (!(header >> name >> former >> fresh) || name > kLongestJournaledName ||
        former > kLongestJournaledText || fresh > kLongestJournaledText)
        return malformed;
    const std::size_t start = end + 1;
    if (text.size() - start != name + former + fresh)
        return malformed;
    return Overwriting{PathFromUtf8(std::string_view(text).substr(start, name)),
                       text.substr(start + name, former), text.substr(start + name + former)};
}

bool IsOneOf(const fs::path &file, const std::vector<fs::path> &files)
{
    std::error_code ignored; // a file that cannot be compared is not one to write over
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

std::error_code Overwrite(const fs::path &file, const std::string &text)
{
    auto opened = File::OpenExisting(file);
    if (!opened)
        return opened.error();
    return Overwrite(*opened, text);
}

Outcome<std::string> JournalText(const fs::path &file, const std::string &former,
                                 const std::string &fresh)
{
    const std::string name = PathToUtf8(file);
    if (former.size() > kLongestJournaledText || fresh.size() > kLongestJournaledText ||
        name.size() > kLongestJournaledName)
        return std::make_error_code(std::errc::file_too_large);
    std::ostringstream text;
    text << kJournalMark << ' ' << name.size() << ' ' << former.size() << ' ' << fresh.size()
         << '\n'
         << name << former << fresh;
    return std::move(text).str();
}

void UndoInterruptedOverwrite(const fs::path &journal, const std::vector<fs::path> &files)
{
    const auto text = ReadWhole(journal, kLargestJournal);
    // No journal, as at nearly every start, or one that cannot be read now:
    // that one stays for the next try.
    if (!text && text.error() != std::errc::file_too_large)
        return;
    if (const auto entry = text ? ReadJournal(*text) : Outcome<Overwriting>(text.error());
        entry && IsOneOf(entry->file, files)) {
        // What is neither the old text nor the new one nor a mix of the two
        // that a killed write leaves (the user's own edit since, say) stays.
        const auto now =
            ReadWhole(entry->file, std::max(entry->former.size(), entry->fresh.size()));
        if (now && *now != entry->former && *now != entry->fresh && IsTornOverwrite(*now, *entry) &&
            Overwrite(entry->file, entry->former))
            return; // the journal stays for the next try
    }
    std::error_code ignored; // a journal that stays is looked at again at the next start
    fs::remove(journal, ignored);
}

} // namespace brinevar
