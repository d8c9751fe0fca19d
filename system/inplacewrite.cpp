#include "inplacewrite.h"

#include "atomicfile.h"
#include "descriptor.h"
#include "programfolder.h"

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

// The content of an ordinary file; nothing when there is none to read.
std::optional<std::string> ReadWhole(const fs::path &file)
{
    const int fd = OpenForReading(file);
    if (fd < 0)
        return std::nullopt;
    std::optional<std::string> text;
    if (OrdinaryFileSize(fd)) {
        text.emplace();
        char buffer[1 << 14];
        long long got;
        while ((got = ReadSome(fd, buffer, sizeof buffer)) > 0)
            text->append(buffer, std::size_t(got));
        if (got < 0)
            text.reset();
    }
    Close(fd);
    return text;
}

// What a journal holds: a line that gives the sizes, then the file's name,
// its old text and its new text.
constexpr std::string_view kJournalMark = "brinevar overwrite";

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
    if (!(header >> name >> former >> fresh))
        return std::nullopt;
    const std::size_t start = end + 1;
    if (text.size() - start != name + former + fresh)
        return std::nullopt;
    return Overwriting{PathFromUtf8(std::string_view(text).substr(start, name)),
                       text.substr(start + name, former), text.substr(start + name + former)};
}

bool WriteJournal(const fs::path &journal, const Overwriting &entry)
{
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

} // namespace

std::error_code OverwriteInPlace(const fs::path &file, const std::string &text,
                                 const fs::path &journal)
{
    std::optional<std::string> former;
    if (!journal.empty())
        former = ReadWhole(file);
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
    const std::optional<std::string> text = ReadWhole(journal);
    if (!text)
        return;
    if (const auto entry = ReadJournal(*text); entry && IsOneOf(entry->file, files)) {
        const std::optional<std::string> now = ReadWhole(entry->file);
        if (now && *now != entry->former && *now != entry->fresh &&
            Overwrite(entry->file, entry->former))
            return;
    }
    std::error_code ignored;
    fs::remove(journal, ignored);
}

} // namespace brinevar
