#include "inplacewrite.h"

#include "atomicfile.h"
#include "descriptor.h"

#include <cerrno>

namespace brinevar {
namespace {

// Blank lines, which a reader of the settings text passes over.
std::string Padding(std::uintmax_t size)
{
    return std::string(std::size_t(size), '\n');
}

} // namespace

// Puts `text` in place of the file's content so that it never holds part of
// the new text with part of the old. The file first grows to the new length
// by blank lines after the old text, so that a full disk fails before the old
// text is touched (and the file is cut back to it). Then one write puts the
// new text over the old, padded with blank lines to the old length, so that
// a kill before the final cut leaves the new text and blank lines, never the
// new text followed by the tail of the old.
std::error_code OverwriteInPlace(int fd, const std::string &text)
{
    ClearFailure();
    const auto former = OrdinaryFileSize(fd);
    if (!former)
        return errno ? LastFailure() : make_error_code(FileProblem::NotOrdinaryFile);
    if (text.size() > *former &&
        !(WriteAllAt(fd, Padding(text.size() - *former), *former) && Sync(fd))) {
        const std::error_code reason = LastFailure();
        Truncate(fd, std::size_t(*former));
        return reason;
    }
    const bool written =
        WriteAllAt(fd, text.size() < *former ? text + Padding(*former - text.size()) : text, 0) &&
        Sync(fd) && Truncate(fd, text.size()) && Sync(fd);
    return written ? std::error_code() : LastFailure();
}

} // namespace brinevar
