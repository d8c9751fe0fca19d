// A file replaced as a whole or not at all: the new content goes to a
// temporary file in the same folder, which then takes the target's name in one
// step. Until commit() succeeds the former file stays exactly as it was.
#pragma once

#include <cstdio>
#include <filesystem>
#include <stdexcept>
#include <string>
#include <string_view>
#include <system_error>

namespace brinevar {

// A file that could not be read or written; what() names the file and the reason.
class FileError : public std::runtime_error {
public:
    FileError(const std::filesystem::path &file, std::error_code reason);

    const std::filesystem::path &file() const { return file_; }
    std::error_code reason() const { return reason_; }

private:
    std::filesystem::path file_;
    std::error_code reason_;
};

// What can be wrong with a file that the system has no error code for.
enum class FileProblem { NotOrdinaryFile = 1 };
std::error_code make_error_code(FileProblem problem);

class AtomicFile {
public:
    // Creates the temporary file; throws FileError when it cannot.
    explicit AtomicFile(std::filesystem::path target);
    // Without a commit the temporary file is removed and the target untouched.
    ~AtomicFile();
    AtomicFile(const AtomicFile &) = delete;
    AtomicFile &operator=(const AtomicFile &) = delete;

    void write(std::string_view bytes);
    // Flushes to disk and puts the new file in place of the target.
    void commit();

    const std::filesystem::path &temporaryPath() const { return temporary_; }

private:
    [[noreturn]] void fail(std::error_code reason);

    std::filesystem::path target_;
    std::filesystem::path temporary_;
    std::FILE *stream_ = nullptr;
};

} // namespace brinevar

template <> struct std::is_error_code_enum<brinevar::FileProblem> : std::true_type {
};
