// tanks.cfg and tanks.ini on disk: the settings text in the system's ANSI
// code page.
#pragma once

#include "catalogue.h"
#include "result.h"

#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>

namespace brinevar {

inline constexpr std::string_view kGameFileName = "tanks.cfg";

// A settings file is half a kilobyte; reading stops with an error long before
// a file that never ends (or is wrongly huge) could hold the program up. What
// is read may end up in one field, which lays a long text out far more slowly
// than it is read: a value of 1 MiB still shows in a fraction of a second.
inline constexpr std::uintmax_t kMaxSettingsFileSize = std::uintmax_t(1) << 20;

// Puts into `bytes` the settings file in `codePage`, each text exactly as
// held. Fails, with what RefuseUnstorableTexts tells, when a text holds a
// character that the code page cannot store: no look-alike or '?' is ever
// written in its place.
Result EncodeSettingsText(const TankSettings &settings, unsigned codePage, std::string &bytes);

// Replaces `path` as a whole with the text in the ANSI code page, as a save
// writes each file (see SaveTransaction); on failure ("Could not save
// <path>:" and the reason) the former file stays.
Result WriteSettingsFile(const std::filesystem::path &path, const TankSettings &settings);

// Puts the value of every recognised line into `settings`, in file order;
// settings that no line names keep the text they came in with. Only an
// ordinary file is read: a folder, device or pipe at `path` fails at once, as
// does a file larger than kMaxSettingsFileSize, and so does any failure to
// open or read ("Could not read <path>:" and the reason, the system's reason
// as the cause); a failure leaves `settings` as they were.
Result ReadSettingsFile(const std::filesystem::path &path, TankSettings &settings);

} // namespace brinevar
