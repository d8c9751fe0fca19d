#include "settingsfile.h"

#include "ansicodepage.h"
#include "settingstext.h"

#include <cerrno>
#include <optional>
#include <vector>

#include <fcntl.h>
#include <sys/stat.h>
#ifdef _WIN32
#include <io.h>
#else
#include <unistd.h>
#endif

namespace brinevar {
namespace {

std::error_code Errno(int fallback)
{
    return {errno ? errno : fallback, std::generic_category()};
}

// A descriptor that closes itself.
class ReadOnlyFile {
public:
    explicit ReadOnlyFile(const std::filesystem::path &path)
    {
        errno = 0;
#ifdef _WIN32
        fd_ = _wopen(path.c_str(), _O_RDONLY | _O_BINARY);
#else
        // Non-blocking, so that opening a pipe nobody writes to returns at once.
        fd_ = open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
#endif
    }
    ~ReadOnlyFile()
    {
        if (fd_ >= 0)
#ifdef _WIN32
            _close(fd_);
#else
            close(fd_);
#endif
    }
    ReadOnlyFile(const ReadOnlyFile &) = delete;
    ReadOnlyFile &operator=(const ReadOnlyFile &) = delete;

    int fd() const
    {
        return fd_;
    }

    // The size of an ordinary file; nothing for a folder, device or pipe.
    std::optional<std::uintmax_t> ordinaryFileSize() const
    {
#ifdef _WIN32
        struct _stat64 status;
        if (_fstat64(fd_, &status) != 0 || (status.st_mode & _S_IFMT) != _S_IFREG)
            return std::nullopt;
#else
        struct stat status;
        if (fstat(fd_, &status) != 0 || !S_ISREG(status.st_mode))
            return std::nullopt;
#endif
        return std::uintmax_t(status.st_size);
    }

    long long read(char *into, std::size_t size)
    {
        errno = 0;
#ifdef _WIN32
        return _read(fd_, into, unsigned(size));
#else
        ssize_t got;
        do
            got = ::read(fd_, into, size);
        while (got < 0 && errno == EINTR);
        return got;
#endif
    }

private:
    int fd_ = -1;
};

} // namespace

void WriteSettingsFile(const std::filesystem::path &path, const TankSettings &settings)
{
    AtomicFile file(path);
    file.write(ToAnsi(FormatSettingsText(settings)));
    file.commit();
}

void ReadSettingsFile(const std::filesystem::path &path, TankSettings &settings)
{
    ReadOnlyFile file(path);
    if (file.fd() < 0)
        throw FileError(path, Errno(ENOENT));
    const auto size = file.ordinaryFileSize();
    if (!size)
        throw FileError(path, make_error_code(FileProblem::NotOrdinaryFile));
    const auto tooLarge = std::make_error_code(std::errc::file_too_large);
    if (*size > kMaxSettingsFileSize)
        throw FileError(path, tooLarge);

    // Decoded into a copy, so that a read that fails half-way changes nothing.
    TankSettings read = settings;
    SettingsReader reader(read, &FromAnsi);
    std::vector<char> buffer(std::size_t(1) << 16);
    std::uintmax_t total = 0;
    for (;;) {
        const long long got = file.read(buffer.data(), buffer.size());
        if (got < 0)
            throw FileError(path, Errno(EIO));
        if (got == 0)
            break;
        total += std::uintmax_t(got);
        // A file that grows while it is read, or one whose size says nothing.
        if (total > kMaxSettingsFileSize)
            throw FileError(path, tooLarge);
        reader.feed({buffer.data(), std::size_t(got)});
    }
    reader.finish();
    settings = std::move(read);
}

} // namespace brinevar
