// Writing a file over its old content, for a file the user may write but not
// replace: one in a folder the user may not write, or another user's file.
#pragma once

#include <filesystem>
#include <string>
#include <system_error>
#include <vector>

namespace brinevar {

// Puts `text` in place of the content of the ordinary file `file`. A failure
// (a full disk) leaves the old text exactly as it was. While the file is
// written, `journal` (when not empty) keeps the old text and the new, so that
// should the program be killed half-way, UndoInterruptedOverwrite can put the
// old text back; it is removed once the new text is whole. A journal that
// cannot be written is no reason to refuse the save: a text of up to one page
// (4 KiB), as a settings file is, goes in by one write that a kill cannot
// split.
std::error_code OverwriteInPlace(const std::filesystem::path &file, const std::string &text,
                                 const std::filesystem::path &journal);

// After a save that `journal` tells was cut short, the file it names gets its
// old text back when it holds what the cut write can have left there (the
// new text's beginning over the old text); the journal is then removed. Any
// other content, such as an edit made since, stays as it is. Without a
// journal, nothing happens. Should the file not take the text, the journal
// stays for the next try. Only a journal that names one of `files` (the files
// a save may have been writing) is followed: any other is not one of ours,
// and is removed untouched, as is one larger than any save writes (a save
// journals neither an old nor a new text over kMaxSettingsFileSize).
void UndoInterruptedOverwrite(const std::filesystem::path &journal,
                              const std::vector<std::filesystem::path> &files);

} // namespace brinevar
