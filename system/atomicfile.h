// A file replaced as a whole or not at all: the new content goes to a
// temporary file in the same folder, which then takes the target's name in one
// step. Until commit() succeeds the former file stays exactly as it was.
//
// What the user set up on the former file is kept: its permission bits, its
// owner and group, and a symbolic link stays a link while the file it points
// to is replaced. A file the user may not write is not replaced. A file the
// user may write but cannot replace as it was (in a folder the user may not
// write, or owned by another user) is overwritten in place at commit(): a
// failure leaves the old text whole, and after a kill the journal puts it
// back (see OverwriteInPlace).
#pragma once

#include "result.h"

#include <filesystem>
#include <string>
#include <string_view>
#include <system_error>

namespace brinevar {

// "Could not <verb> <file>:" and the reason, for a message box.
std::string DescribeFailure(std::string_view verb, const std::filesystem::path &file,
                            const std::string &reason);
// The same as a Result that keeps the system's reason as its cause.
Result FileFailure(std::string_view verb, const std::filesystem::path &file,
                   std::error_code reason);
// A file name as the user reads it: UTF-8, the system's own separators.
std::string ShownPath(const std::filesystem::path &file);

// What can be wrong with a file that the system has no error code for.
enum class FileProblem { NotOrdinaryFile = 1 };
std::error_code make_error_code(FileProblem problem);

class AtomicFile {
public:
    // Touches nothing yet. A file written in place keeps its old text in
    // `journal` meanwhile (see OverwriteInPlace).
    explicit AtomicFile(std::filesystem::path target, std::filesystem::path journal = {});
    // Without a commit the temporary file is removed and the target untouched.
    ~AtomicFile();
    AtomicFile(const AtomicFile &) = delete;
    AtomicFile &operator=(const AtomicFile &) = delete;

    // Checks the target and creates the temporary file. Each step fails with
    // "Could not save <target>:" and the reason, the reason as its cause.
    Result open();
    Result write(std::string_view bytes);
    // Flushes to disk and puts the new file in place of the target.
    Result commit();

private:
    Result fail(std::error_code reason) const;

    std::filesystem::path named_;  // as given, for messages
    std::filesystem::path target_; // the file really written: links followed
    std::filesystem::path temporary_;
    std::filesystem::path journal_;
    int fd_ = -1;
    bool inPlace_ = false;
    std::string pending_; // what an in-place write puts there at commit()
};

// Removes the temporary files of `target` (links followed) that saves killed
// half-way left behind. Only while no other save of it can be running.
void RemoveLeftOverTemporaries(const std::filesystem::path &target);

} // namespace brinevar

template <> struct std::is_error_code_enum<brinevar::FileProblem> : std::true_type {
};
