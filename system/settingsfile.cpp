#include "settingsfile.h"

#include "ansicodepage.h"
#include "settingstext.h"

#include <cerrno>
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

    bool isOrdinaryFile() const
    {
#ifdef _WIN32
        struct _stat64 status;
        return _fstat64(fd_, &status) == 0 && (status.st_mode & _S_IFMT) == _S_IFREG;
#else
        struct stat status;
        return fstat(fd_, &status) == 0 && S_ISREG(status.st_mode);
#endif
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
    if (!file.isOrdinaryFile())
        throw FileError(path, make_error_code(FileProblem::NotOrdinaryFile));

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
        if (total > kMaxSettingsFileSize)
            throw FileError(path, std::make_error_code(std::errc::file_too_large));
        reader.feed({buffer.data(), std::size_t(got)});
    }
    reader.finish();
    settings = std::move(read);
}

} // namespace brinevar
