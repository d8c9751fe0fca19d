// What the program asks of its elevated copy, the copy of brinevar.exe that
// Windows starts with administrator rights where the Updates folder is
// protected: the folder, and the files to put into it with their texts. The
// program writes the request into a folder that only its user may write; the
// elevated copy trusts nothing in it that it has not checked.
#pragma once

#include "result.h"
#include "savetransaction.h"

#include <array>
#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace brinevar {

// The only files an elevated copy writes: the game's file and the copies of
// its former text kept beside it.
inline constexpr std::array<std::string_view, 3> kElevatedFileNames = {
    "tanks.cfg", "tanks.cfg.original", "tanks.cfg.bak"};

// The argument that makes brinevar.exe the elevated copy; the request's full
// name follows it.
inline constexpr std::string_view kElevatedSaveArgument = "--elevated-save";

// One step of a save: the file's name in its folder, and all its bytes.
struct FileText {
    std::string name;
    std::string bytes;
    bool onlyIfMissing = false; // see SaveStep
};

struct ElevationRequest {
    std::filesystem::path folder; // absolute
    std::vector<FileText> files;  // written in this order
};

// The request's file in the per-user folder `userFolder`.
std::filesystem::path ElevationRequestFile(const std::filesystem::path &userFolder);

// The request as its file holds it: every piece told by its length first, so
// that no byte of a text is taken for anything else.
std::string FormatElevationRequest(const ElevationRequest &request);

// Reads back what FormatElevationRequest made. Refuses a text that is cut
// short or has anything else in it, a folder that is not absolute, a file
// that is not one of kElevatedFileNames, and a file named twice.
Result ParseElevationRequest(std::string_view text, ElevationRequest &request);

// The bytes of `file`, refused unless it is an ordinary file (no link, no
// device) that only its owner may write, in a folder that only its owner
// may write, owned by this user or the system's administrators (the
// rules of each system: privatefileposix.cpp, privatefilewindows.cpp), and
// no larger than `limit`.
Result ReadPrivateFile(const std::filesystem::path &file, std::uintmax_t limit, std::string &bytes);

inline constexpr std::string_view kLinkRefused =
    "It is a link, which is not followed with administrator rights.";

// Whether `file` may be written by an elevated copy: missing, or an ordinary
// file that is no link, in a folder that is no link.
Result RefuseLinksAndDevices(const std::filesystem::path &file);

// The elevated copy's work: reads the request at `requestFile`, checks it,
// and hands its files, each in the request's folder, to `writer` in order
// (the same LocalWriter as any save), which stops at the first failure;
// `done` counts the files written before it. Writes nothing when the
// request is refused.
Result CarryOutElevationRequest(const std::filesystem::path &requestFile, StepWriter &writer,
                                std::size_t &done);

} // namespace brinevar
