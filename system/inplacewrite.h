// Writing a file over its old content, for a file the user may write but not
// replace (one in a folder the user may not write, or another user's file),
// and the journal that lets the next start undo such a write cut short.
#pragma once

#include "file.h"

#include <filesystem>
#include <string>
#include <system_error>
#include <vector>

namespace brinevar {

// Puts `text` in place of the content of the ordinary file `file`. A failure
// (a full disk) leaves the old text exactly as it was; a kill half-way leaves
// what UndoInterruptedOverwrite recognises as torn.
std::error_code Overwrite(const std::filesystem::path &file, const std::string &text);

// What a journal holds while `file` is overwritten: its old text and the new.
// std::errc::file_too_large for texts or a name longer than any save writes:
// no such journal is ever followed (see UndoInterruptedOverwrite).
Outcome<std::string> JournalText(const std::filesystem::path &file, const std::string &former,
                                 const std::string &fresh);

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
