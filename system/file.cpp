// What the file calls of both systems share.
#include "file.h"

#include "programfolder.h"

#include <vector>

namespace brinevar {

namespace fs = std::filesystem;

std::error_code make_error_code(FileProblem problem)
{
    static const class : public std::error_category {
        const char *name() const noexcept override { return "brinevar file"; }
        std::string message(int) const override { return "Not an ordinary file"; }
    } category;
    return {int(problem), category};
}

File &File::operator=(File &&other) noexcept
{
    if (this != &other) {
        Release();
        fd_ = std::exchange(other.fd_, -1);
        locked_ = other.locked_;
    }
    return *this;
}

File::~File()
{
    Release();
}

Outcome<std::string> ReadWhole(const fs::path &path, std::uintmax_t limit)
{
    auto file = File::OpenForReading(path);
    if (!file)
        return file.error();
    const auto size = file->OrdinarySize();
    if (!size)
        return size.error();
    const auto tooLarge = std::make_error_code(std::errc::file_too_large);
    if (*size > limit)
        return tooLarge;
    std::string text;
    std::vector<char> buffer(std::size_t(1) << 16);
    for (;;) {
        const auto got = file->ReadSome(buffer.data(), buffer.size());
        if (!got)
            return got.error();
        if (*got == 0)
            return text;
        // A file that grows while it is read, or one whose size says nothing.
        if (text.size() + *got > limit)
            return tooLarge;
        text.append(buffer.data(), *got);
    }
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

} // namespace brinevar
