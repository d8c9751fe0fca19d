#include "settingsfile.h"

#include "ansicodepage.h"
#include "descriptor.h"
#include "elevationrequest.h"
#include "settingstext.h"

#include <cerrno>
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

Result EncodeSettingsText(const TankSettings &settings, unsigned codePage, std::string &bytes)
{
    const std::string text = FormatSettingsText(settings);
    if (!UnstorableCharacters(text, codePage).empty())
        return Result::Failure("A value holds a character that code page " +
                               std::to_string(codePage) + " cannot store; nothing was written.");
    bytes = ToCodePage(text, codePage);
    return {};
}

Result WriteSettingsFile(const std::filesystem::path &path, const TankSettings &settings,
                         const std::filesystem::path &journal)
{
    // Encoded before the file is touched, so that a refusal leaves it as it was.
    std::string bytes;
    if (const Result encoded = EncodeSettingsText(settings, AnsiCodePage(), bytes); !encoded)
        return Result::Failure(DescribeFailure("save", path, encoded.message()));
    return WriteWholeFile(path, bytes, journal);
}

Result ReadSettingsFile(const std::filesystem::path &path, TankSettings &settings)
{
    const auto failed = [&](std::error_code reason) { return FileFailure("read", path, reason); };
    ReadOnlyFile file(path);
    if (file.fd() < 0)
        return failed(LastFailure(ENOENT));
    const auto size = OrdinaryFileSize(file.fd());
    if (!size)
        return failed(make_error_code(FileProblem::NotOrdinaryFile));
    const auto tooLarge = std::make_error_code(std::errc::file_too_large);
    if (*size > kMaxSettingsFileSize)
        return failed(tooLarge);

    std::string text;
    std::vector<char> buffer(std::size_t(1) << 16);
    for (;;) {
        ClearFailure();
        const long long got = ReadSome(file.fd(), buffer.data(), buffer.size());
        if (got < 0)
            return failed(LastFailure(EIO));
        if (got == 0)
            break;
        // A file that grows while it is read, or one whose size says nothing.
        if (text.size() + std::size_t(got) > kMaxSettingsFileSize)
            return failed(tooLarge);
        text.append(buffer.data(), std::size_t(got));
    }
    ReadSettingsText(text, settings, &FromAnsi);
    return {};
}

} // namespace brinevar
