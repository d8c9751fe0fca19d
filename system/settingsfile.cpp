#include "settingsfile.h"

#include "ansicodepage.h"
#include "file.h"
#include "savetransaction.h"
#include "settingstext.h"
#include "storabletexts.h"

namespace brinevar {

Result EncodeSettingsText(const TankSettings &settings, unsigned codePage, std::string &bytes)
{
    if (Result storable = RefuseUnstorableTexts(settings, codePage); !storable)
        return storable;
    bytes = ToCodePage(FormatSettingsText(settings), codePage);
    return {};
}

Result WriteSettingsFile(const std::filesystem::path &path, const TankSettings &settings)
{
    // Encoded before the file is touched, so that a refusal leaves it as it was.
    SaveStep step{path, {}};
    if (const Result encoded = EncodeSettingsText(settings, AnsiCodePage(), step.text); !encoded)
        return Result::Failure(DescribeFailure("save", path, encoded.message()));
    LocalWriter writer;
    std::size_t done = 0;
    return writer.Write({&step, 1}, done);
}

Result ReadSettingsFile(const std::filesystem::path &path, TankSettings &settings)
{
    const auto text = ReadWhole(path, kMaxSettingsFileSize);
    if (!text)
        return FileFailure("read", path, text.error());
    ReadSettingsText(*text, settings, &FromAnsi);
    return {};
}

} // namespace brinevar
