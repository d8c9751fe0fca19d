#include "atomicfile.h"

#include "descriptor.h"
#include "inplacewrite.h"
#include "programfolder.h"
#include "replacesteps.h"

#include <cerrno>
#include <chrono>
#include <random>

namespace brinevar {
namespace {

namespace fs = std::filesystem;

// ".tanks.cfg.<number>.tmp": hidden, and plainly this file's.
std::string TemporaryPrefix(const fs::path &target)
{
    // Appended piece by piece: "." + name + "." trips a false -Wrestrict in
    // GCC 12's MinGW build.
    std::string prefix = ".";
    prefix += PathToUtf8(target.filename());
    prefix += '.';
    return prefix;
}

fs::path TemporaryNameFor(const fs::path &target)
{
    static std::mt19937_64 random(
        std::random_device{}() ^
        std::uint64_t(std::chrono::steady_clock::now().time_since_epoch().count()));
    return target.parent_path() /
           PathFromUtf8(TemporaryPrefix(target) + std::to_string(random() % 1000000000) + ".tmp");
}

bool IsTemporaryName(std::string_view name, std::string_view prefix)
{
    if (!name.starts_with(prefix) || !name.ends_with(".tmp"))
        return false;
    const std::string_view number = name.substr(prefix.size(), name.size() - prefix.size() - 4);
    return !number.empty() && number.find_first_not_of("0123456789") == std::string_view::npos;
}

} // namespace

std::error_code make_error_code(FileProblem problem)
{
    static const class : public std::error_category {
        const char *name() const noexcept override { return "brinevar file"; }
        std::string message(int) const override { return "Not an ordinary file"; }
    } category;
    return {int(problem), category};
}

std::string ShownPath(const fs::path &file)
{
    return PathToUtf8(fs::path(file).make_preferred());
}

std::string DescribeFailure(std::string_view verb, const fs::path &file, const std::string &reason)
{
    return "Could not " + std::string(verb) + " " + ShownPath(file) + ":\n" + reason;
}

Result FileFailure(std::string_view verb, const fs::path &file, std::error_code reason)
{
    return Result::Failure(DescribeFailure(verb, file, reason.message()), reason);
}

AtomicFile::AtomicFile(fs::path target, fs::path journal)
    : named_(std::move(target)), journal_(std::move(journal))
{
}

Result AtomicFile::open()
{
    std::error_code error;
    target_ = FollowLinks(named_, error);
    if (error)
        return fail(error);
    const fs::file_status status = fs::status(target_, error);
    const bool exists = status.type() != fs::file_type::not_found;
    if (error && exists)
        return fail(error);
    // A folder, device or pipe would only fail at the last step, or worse, be
    // replaced by a file; say so now.
    if (fs::is_directory(status))
        return fail(FolderInTheWay());
    if (exists && !fs::is_regular_file(status))
        return fail(make_error_code(FileProblem::NotOrdinaryFile));
    if (exists)
        if (const std::error_code refused = MayWrite(target_))
            return fail(refused);

    for (int attempt = 0; fd_ < 0 && attempt < 16; ++attempt) {
        temporary_ = TemporaryNameFor(target_);
        ClearFailure();
        fd_ = OpenNew(temporary_);
        if (fd_ < 0 && errno != EEXIST)
            break;
    }
    if (fd_ < 0) {
        const std::error_code reason = LastFailure();
        temporary_.clear();
        // No file can be made in the folder, yet the file itself may be written.
        if (exists && (reason == std::errc::permission_denied ||
                       reason == std::errc::operation_not_permitted)) {
            inPlace_ = true;
            return {};
        }
        return fail(reason);
    }
    if (exists && !KeepOwnerAndModeOf(target_, fd_)) {
        // Another user's file, which this user may write: written in place it
        // stays theirs.
        Close(fd_);
        fd_ = -1;
        std::error_code ignored;
        fs::remove(temporary_, ignored);
        temporary_.clear();
        inPlace_ = true;
    }
    return {};
}

AtomicFile::~AtomicFile()
{
    if (fd_ >= 0)
        Close(fd_);
    if (!temporary_.empty()) {
        std::error_code ignored;
        fs::remove(temporary_, ignored);
    }
}

Result AtomicFile::write(std::string_view bytes)
{
    if (inPlace_) {
        pending_ += bytes;
        return {};
    }
    ClearFailure();
    if (!WriteAll(fd_, bytes))
        return fail(LastFailure());
    return {};
}

Result AtomicFile::commit()
{
    ClearFailure();
    if (inPlace_) {
        if (const std::error_code reason = OverwriteInPlace(target_, pending_, journal_))
            return fail(reason);
        return {};
    }
    const bool flushed = Sync(fd_);
    const std::error_code reason = LastFailure();
    const bool closed = Close(fd_);
    fd_ = -1;
    if (!flushed || !closed)
        return fail(flushed ? LastFailure() : reason);
    if (const auto error = Replace(temporary_, target_))
        return fail(error);
    temporary_.clear();
    SyncFolder(target_.parent_path());
    return {};
}

Result AtomicFile::fail(std::error_code reason) const
{
    return FileFailure("save", named_, reason);
}

void RemoveLeftOverTemporaries(const fs::path &target)
{
    std::error_code error;
    const fs::path file = FollowLinks(target, error);
    if (error)
        return;
    const std::string prefix = TemporaryPrefix(file);
    const fs::path folder = file.parent_path().empty() ? fs::path(".") : file.parent_path();
    for (fs::directory_iterator entry(folder, error), end; !error && entry != end;
         entry.increment(error)) {
        const fs::path &path = entry->path();
        std::error_code ignored;
        if (IsTemporaryName(PathToUtf8(path.filename()), prefix) && OwnedByMe(path))
            fs::remove(path, ignored);
    }
}

} // namespace brinevar
