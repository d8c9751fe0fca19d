// Saving with administrator rights on Windows: the box that offers it, the
// consent prompt that starts the elevated copy, and that copy's run.
#pragma once

#include "file.h"
#include "result.h"

#include <windows.h>

#include <filesystem>
#include <string>

namespace brinevar::win {

// A box with `text`, a "Save as administrator" button with the shield and
// Cancel; true for the first. Escape and the close box are Cancel.
bool AskSaveAsAdministrator(HWND owner, const std::string &text);

// Starts this program as its elevated copy on `request` through Windows'
// consent prompt and waits for it, the active window taking no input
// meanwhile: an ElevatedRunner.
Outcome<unsigned long> RunElevated(const std::filesystem::path &request);

// When the command line makes this process the elevated copy: carries out
// the request it names, shows a message only on failure, and gives the exit
// code into `exitCode` (0: saved). False for any other command line.
bool RunAsElevatedCopy(int &exitCode);

} // namespace brinevar::win
