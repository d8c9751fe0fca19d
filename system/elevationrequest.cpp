#include "elevationrequest.h"

#include "file.h"
#include "programfolder.h"
#include "settingsfile.h"

#include <algorithm>
#include <charconv>

namespace brinevar {
namespace {

namespace fs = std::filesystem;

constexpr std::string_view kHeader = "brinevar elevated save 1\n";
constexpr std::string_view kEnd = "end\n";
// How a file is put in: over any file of its name, or only where there is none.
constexpr std::string_view kReplace = "replace";
constexpr std::string_view kOnlyIfMissing = "new";

// No request holds more than its three files and a folder's name.
constexpr std::uintmax_t kMaxRequestSize = 4 * kMaxSettingsFileSize;

void PutPiece(std::string &text, std::string_view piece)
{
    text += std::to_string(piece.size());
    text += '\n';
    text += piece;
    text += '\n';
}

// Takes "<length>\n<bytes>\n" off the front of `text`.
bool TakePiece(std::string_view &text, std::string &piece)
{
    std::size_t length = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), length);
    const auto digits = std::size_t(end - text.data());
    if (error != std::errc() || digits == 0 || digits >= text.size() || text[digits] != '\n')
        return false;
    text.remove_prefix(digits + 1);
    if (length >= text.size() || text[length] != '\n')
        return false;
    piece.assign(text.substr(0, length));
    text.remove_prefix(length + 1);
    return true;
}

Result Refused(const std::string &why)
{
    return Result::Failure("The request to save with administrator rights was refused:\n" + why);
}

} // namespace

fs::path ElevationRequestFile(const fs::path &userFolder)
{
    return userFolder / "elevated-save.request";
}

std::string FormatElevationRequest(const ElevationRequest &request)
{
    std::string text(kHeader);
    PutPiece(text, PathToUtf8(request.folder));
    for (const FileText &file : request.files) {
        PutPiece(text, file.name);
        PutPiece(text, file.onlyIfMissing ? kOnlyIfMissing : kReplace);
        PutPiece(text, file.bytes);
    }
    text += kEnd;
    return text;
}

Result ParseElevationRequest(std::string_view text, ElevationRequest &request)
{
    const Result malformed =
        Refused("It is not a request that Brinevar wrote, or it was cut short.");
    if (!text.starts_with(kHeader))
        return malformed;
    text.remove_prefix(kHeader.size());
    ElevationRequest read;
    std::string folder;
    if (!TakePiece(text, folder))
        return malformed;
    read.folder = PathFromUtf8(folder);
    if (folder.empty() || !read.folder.is_absolute())
        return Refused("The folder " + folder + " is not a full path.");
    while (text != kEnd) {
        FileText file;
        std::string how;
        if (!TakePiece(text, file.name) || !TakePiece(text, how) ||
            (how != kReplace && how != kOnlyIfMissing) || !TakePiece(text, file.bytes))
            return malformed;
        file.onlyIfMissing = how == kOnlyIfMissing;
        if (std::find(kElevatedFileNames.begin(), kElevatedFileNames.end(), file.name) ==
            kElevatedFileNames.end())
            return Refused("It names the file " + file.name +
                           ", and only tanks.cfg and its kept copies may be written.");
        if (std::any_of(read.files.begin(), read.files.end(),
                        [&](const FileText &earlier) { return earlier.name == file.name; }))
            return Refused("It names " + file.name + " twice.");
        read.files.push_back(std::move(file));
    }
    request = std::move(read);
    return {};
}

Result CarryOutElevationRequest(const fs::path &requestFile, StepWriter &writer, std::size_t &done)
{
    done = 0;
    if (!requestFile.is_absolute())
        return Refused(ShownPath(requestFile) + " is not a full path.");
    std::string text;
    if (Result read = ReadPrivateFile(requestFile, kMaxRequestSize, text); !read)
        return Refused(read.message());
    ElevationRequest request;
    if (Result parsed = ParseElevationRequest(text, request); !parsed)
        return parsed;
    // Every file is checked before the first is written, so that a refusal
    // leaves the folder as it was.
    std::vector<SaveStep> steps;
    for (FileText &file : request.files) {
        steps.push_back({request.folder / PathFromUtf8(file.name), std::move(file.bytes)});
        steps.back().onlyIfMissing = file.onlyIfMissing;
        if (Result plain = RefuseLinksAndDevices(steps.back().file); !plain)
            return plain;
    }
    return writer.Write(steps, done);
}

} // namespace brinevar
