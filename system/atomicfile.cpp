#include "atomicfile.h"

#include <cerrno>
#include <chrono>
#include <random>

#ifdef _WIN32
#define WIN32_LEAN_AND_MEAN
#include <fcntl.h>
#include <io.h>
#include <sys/stat.h>
#include <windows.h>
#else
#include <unistd.h>
#endif

namespace brinevar {
namespace {

std::error_code LastError()
{
    return {errno ? errno : EIO, std::generic_category()};
}

std::filesystem::path TemporaryNameFor(const std::filesystem::path &target)
{
    static std::mt19937_64 random(
        std::random_device{}() ^
        std::uint64_t(std::chrono::steady_clock::now().time_since_epoch().count()));
    // ".tanks.cfg.<number>.tmp": hidden, and plainly this file's.
    std::filesystem::path name(".");
    name += target.filename();
    name += ".";
    name += std::to_string(random() % 1000000000);
    name += ".tmp";
    return target.parent_path() / name;
}

std::FILE *OpenForWriting(const std::filesystem::path &path)
{
#ifdef _WIN32
    // The C runtime of older Windows lacks fopen's "x" mode.
    const int fd =
        _wopen(path.c_str(), _O_CREAT | _O_EXCL | _O_WRONLY | _O_BINARY, _S_IREAD | _S_IWRITE);
    return fd < 0 ? nullptr : _fdopen(fd, "wb");
#else
    return std::fopen(path.c_str(), "wbx");
#endif
}

bool FlushToDisk(std::FILE *stream)
{
    if (std::fflush(stream) != 0)
        return false;
#ifdef _WIN32
    return _commit(_fileno(stream)) == 0;
#else
    return fsync(fileno(stream)) == 0;
#endif
}

std::error_code Replace(const std::filesystem::path &from, const std::filesystem::path &to)
{
#ifdef _WIN32
    if (MoveFileExW(from.c_str(), to.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
        return {};
    return {int(GetLastError()), std::system_category()};
#else
    std::error_code error;
    std::filesystem::rename(from, to, error);
    return error;
#endif
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

FileError::FileError(const std::filesystem::path &file, std::error_code reason)
    : std::runtime_error(file.string() + ": " + reason.message()), file_(file), reason_(reason)
{
}

AtomicFile::AtomicFile(std::filesystem::path target) : target_(std::move(target))
{
    // A target that is a folder would only fail at the final step; say so now.
    if (std::filesystem::is_directory(target_))
        throw FileError(target_, std::make_error_code(std::errc::is_a_directory));
    for (int attempt = 0; !stream_ && attempt < 16; ++attempt) {
        temporary_ = TemporaryNameFor(target_);
        errno = 0;
        stream_ = OpenForWriting(temporary_);
        if (!stream_ && errno != EEXIST)
            break;
    }
    if (!stream_)
        throw FileError(target_, LastError());
}

AtomicFile::~AtomicFile()
{
    if (stream_)
        std::fclose(stream_);
    if (!temporary_.empty()) {
        std::error_code ignored;
        std::filesystem::remove(temporary_, ignored);
    }
}

void AtomicFile::write(std::string_view bytes)
{
    errno = 0;
    if (std::fwrite(bytes.data(), 1, bytes.size(), stream_) != bytes.size())
        fail(LastError());
}

void AtomicFile::commit()
{
    errno = 0;
    const bool flushed = FlushToDisk(stream_);
    const bool closed = std::fclose(stream_) == 0;
    stream_ = nullptr;
    if (!flushed || !closed)
        fail(LastError());
    if (const auto error = Replace(temporary_, target_))
        fail(error);
    temporary_.clear();
}

void AtomicFile::fail(std::error_code reason)
{
    throw FileError(target_, reason);
}

} // namespace brinevar
