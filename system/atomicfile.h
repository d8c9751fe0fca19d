// A file replaced as a whole or not at all: the new content goes to a
// temporary file in the same folder, which then takes the target's name in one
// step. Until commit() succeeds the former file stays exactly as it was.
//
// What the user set up on the former file is kept: its permission bits, its
// owner and group, and a symbolic link stays a link while the file it points
// to is replaced. A file the user may not write is not replaced. A file the
// user may write but cannot replace as it was (in a folder the user may not
// write, or owned by another user) is not replaced either: open() says that
// it must be written in place (see Overwrite in inplacewrite.h).
#pragma once

#include "file.h"

#include <filesystem>
#include <string_view>
#include <system_error>

namespace brinevar {

class AtomicFile {
public:
    // Touches nothing yet. `onlyIfMissing`: a file that exists, or comes to
    // exist before commit(), is never replaced; open() or commit() then
    // fails with std::errc::file_exists.
    explicit AtomicFile(std::filesystem::path target, bool onlyIfMissing = false);
    // Without a commit the temporary file is removed and the target untouched.
    ~AtomicFile();
    AtomicFile(const AtomicFile &) = delete;
    AtomicFile &operator=(const AtomicFile &) = delete;

    // Checks the target and creates the temporary file, unless the target
    // must be written in place (inPlace()); then nothing is made.
    std::error_code open();
    bool inPlace() const { return inPlace_; }
    // The file really written: links followed (once open() succeeded).
    const std::filesystem::path &target() const { return target_; }
    std::error_code write(std::string_view bytes);
    // Flushes to disk and puts the new file in place of the target.
    std::error_code commit();

private:
    std::filesystem::path named_; // as given
    std::filesystem::path target_;
    std::filesystem::path temporary_;
    File file_;
    bool onlyIfMissing_;
    bool inPlace_ = false;
};

// Removes the temporary files of `target` (links followed) that saves killed
// half-way left behind. Only while no other save of it can be running.
void RemoveLeftOverTemporaries(const std::filesystem::path &target);

} // namespace brinevar
