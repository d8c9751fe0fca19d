// A file only its owner may change, on POSIX systems: owner and mode bits.
#include "elevationrequest.h"
#include "file.h"

#include <cerrno>
#include <vector>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace brinevar {
namespace {

namespace fs = std::filesystem;

// Owned by this user or the superuser, and written by nobody else.
bool OnlyOwnerWrites(const struct stat &status)
{
    return (status.st_uid == getuid() || status.st_uid == 0) &&
           (status.st_mode & (S_IWGRP | S_IWOTH)) == 0;
}

} // namespace

Result ReadPrivateFile(const fs::path &file, std::uintmax_t limit, std::string &bytes)
{
    const auto failed = [&](std::error_code reason) { return FileFailure("read", file, reason); };
    const auto othersWrite = [&](const fs::path &which) {
        return Result::Failure(ShownPath(which) + " may be changed by other users.");
    };
    struct stat folder {};
    if (stat(file.parent_path().c_str(), &folder) != 0)
        return failed({errno, std::generic_category()});
    if (!OnlyOwnerWrites(folder))
        return othersWrite(file.parent_path());
    const int fd = open(file.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        return failed({errno, std::generic_category()});
    struct stat status {};
    Result outcome;
    if (fstat(fd, &status) != 0)
        outcome = failed({errno, std::generic_category()});
    else if (!S_ISREG(status.st_mode))
        outcome = failed(make_error_code(FileProblem::NotOrdinaryFile));
    else if (!OnlyOwnerWrites(status))
        outcome = othersWrite(file);
    else if (std::uintmax_t(status.st_size) > limit)
        outcome = failed(std::make_error_code(std::errc::file_too_large));
    std::string text;
    std::vector<char> buffer(std::size_t(1) << 16);
    while (outcome) {
        const ssize_t got = read(fd, buffer.data(), buffer.size());
        if (got < 0 && errno == EINTR)
            continue;
        if (got < 0)
            outcome = failed({errno, std::generic_category()});
        else if (got == 0)
            break;
        else if (text.size() + std::size_t(got) > limit)
            outcome = failed(std::make_error_code(std::errc::file_too_large));
        else
            text.append(buffer.data(), std::size_t(got));
    }
    close(fd);
    if (outcome)
        bytes = std::move(text);
    return outcome;
}

Result RefuseLinksAndDevices(const fs::path &file)
{
    struct stat folder {};
    if (lstat(file.parent_path().c_str(), &folder) != 0)
        return FileFailure("save", file, {errno, std::generic_category()});
    if (!S_ISDIR(folder.st_mode))
        return FileFailure("save", file, std::make_error_code(std::errc::not_a_directory));
    struct stat status {};
    if (lstat(file.c_str(), &status) != 0)
        return errno == ENOENT ? Result()
                               : FileFailure("save", file, {errno, std::generic_category()});
    if (S_ISLNK(status.st_mode))
        return Result::Failure(DescribeFailure("save", file, std::string(kLinkRefused)));
    if (!S_ISREG(status.st_mode))
        return FileFailure("save", file, make_error_code(FileProblem::NotOrdinaryFile));
    return {};
}

} // namespace brinevar
