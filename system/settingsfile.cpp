#include "settingsfile.h"

#include "ansicodepage.h"
#include "descriptor.h"
#include "settingstext.h"

#include <cerrno>
#include <stdexcept>
#include <vector>

namespace brinevar {
namespace {

// A descriptor that closes itself.
class ReadOnlyFile {
public:
    explicit ReadOnlyFile(const std::filesystem::path &path)
    {
        ClearFailure();
        fd_ = OpenForReading(path);
    }
    ~ReadOnlyFile()
    {
        if (fd_ >= 0)
            Close(fd_);
    }
    ReadOnlyFile(const ReadOnlyFile &) = delete;
    ReadOnlyFile &operator=(const ReadOnlyFile &) = delete;

    int fd() const { return fd_; }

private:
    int fd_ = -1;
};

} // namespace

std::string EncodeSettingsText(const TankSettings &settings, unsigned codePage)
{
    const std::string text = FormatSettingsText(settings);
    if (!UnstorableCharacters(text, codePage).empty())
        throw std::invalid_argument("A value holds a character that code page " +
                                    std::to_string(codePage) +
                                    " cannot store; nothing was written.");
    return ToCodePage(text, codePage);
}

void WriteSettingsFile(const std::filesystem::path &path, const TankSettings &settings,
                       const std::filesystem::path &journal)
{
    // Encoded before the file is touched, so that a refusal leaves it as it was.
    const std::string bytes = EncodeSettingsText(settings, AnsiCodePage());
    AtomicFile file(path, journal);
    file.write(bytes);
    file.commit();
}

void ReadSettingsFile(const std::filesystem::path &path, TankSettings &settings)
{
    ReadOnlyFile file(path);
    if (file.fd() < 0)
        throw FileError(path, LastFailure(ENOENT));
    const auto size = OrdinaryFileSize(file.fd());
    if (!size)
        throw FileError(path, make_error_code(FileProblem::NotOrdinaryFile));
    const auto tooLarge = std::make_error_code(std::errc::file_too_large);
    if (*size > kMaxSettingsFileSize)
        throw FileError(path, tooLarge);

    std::string text;
    std::vector<char> buffer(std::size_t(1) << 16);
    for (;;) {
        ClearFailure();
        const long long got = ReadSome(file.fd(), buffer.data(), buffer.size());
        if (got < 0)
            throw FileError(path, LastFailure(EIO));
        if (got == 0)
            break;
        // A file that grows while it is read, or one whose size says nothing.
        if (text.size() + std::size_t(got) > kMaxSettingsFileSize)
            throw FileError(path, tooLarge);
        text.append(buffer.data(), std::size_t(got));
    }
    // Read into a copy, so that a read that fails half-way changes nothing.
    TankSettings read = settings;
    ReadSettingsText(text, read, &FromAnsi);
    settings = std::move(read);
}

} // namespace brinevar
