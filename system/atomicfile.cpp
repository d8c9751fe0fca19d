#include "atomicfile.h"

#include "programfolder.h"

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

void RemoveQuietly(const fs::path &file)
{
    std::error_code ignored; // a temporary left behind is removed by the next save
    fs::remove(file, ignored);
}

} // namespace

AtomicFile::AtomicFile(fs::path target, bool onlyIfMissing)
    : named_(std::move(target)), onlyIfMissing_(onlyIfMissing)
{
}

std::error_code AtomicFile::open()
{
    auto followed = FollowLinks(named_);
    if (!followed)
        return followed.error();
    target_ = std::move(*followed);
    std::error_code error;
    const fs::file_status status = fs::status(target_, error);
    const bool exists = status.type() != fs::file_type::not_found;
    if (error && exists)
        return error;
    // A folder, device or pipe would only fail at the last step, or worse, be
    // replaced by a file; say so now.
    if (fs::is_directory(status))
        return FolderInTheWay();
    if (exists && onlyIfMissing_)
        return std::make_error_code(std::errc::file_exists);
    if (exists && !fs::is_regular_file(status))
        return make_error_code(FileProblem::NotOrdinaryFile);
    if (exists)
        if (const std::error_code refused = MayWrite(target_))
            return refused;

    std::error_code reason;
    for (int attempt = 0; attempt < 16; ++attempt) {
        temporary_ = TemporaryNameFor(target_);
        auto created = File::CreateNew(temporary_);
        if (created) {
            file_ = std::move(*created);
            break;
        }
        reason = created.error();
        if (reason != std::errc::file_exists)
            break;
    }
    if (file_.descriptor() < 0) {
        temporary_.clear();
        // No file can be made in the folder, yet the file itself may be written.
        if (exists && (reason == std::errc::permission_denied ||
                       reason == std::errc::operation_not_permitted)) {
            inPlace_ = true;
            return {};
        }
        return reason;
    }
    if (exists && !KeepOwnerAndModeOf(target_, file_)) {
        // Another user's file, which this user may write: written in place it
        // stays theirs.
        file_ = File();
        RemoveQuietly(temporary_);
        temporary_.clear();
        inPlace_ = true;
    }
    return {};
}

AtomicFile::~AtomicFile()
{
    file_ = File();
    if (!temporary_.empty())
        RemoveQuietly(temporary_);
}

std::error_code AtomicFile::write(std::string_view bytes)
{
    return file_.WriteAll(bytes);
}

std::error_code AtomicFile::commit()
{
    const std::error_code flushed = file_.Sync();
    const std::error_code closed = file_.Close();
    if (flushed || closed)
        return flushed ? flushed : closed;
    if (const auto error =
            onlyIfMissing_ ? PutNew(temporary_, target_) : Replace(temporary_, target_))
        return error;
    temporary_.clear();
    SyncFolder(target_.parent_path());
    return {};
}

void RemoveLeftOverTemporaries(const fs::path &target)
{
    // What cannot be looked through now is looked through by the next save.
    const auto file = FollowLinks(target);
    if (!file)
        return;
    const std::string prefix = TemporaryPrefix(*file);
    const fs::path folder = file->parent_path().empty() ? fs::path(".") : file->parent_path();
    std::error_code error;
    for (fs::directory_iterator entry(folder, error), end; !error && entry != end;
         entry.increment(error)) {
        const fs::path &path = entry->path();
        if (IsTemporaryName(PathToUtf8(path.filename()), prefix) && OwnedByMe(path))
            RemoveQuietly(path);
    }
}

} // namespace brinevar
