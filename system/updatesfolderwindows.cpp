// Where the game's Updates folder is on Windows.
#include "updatesfolder.h"
#include "updatesfolderrules.h"

#include "programfolder.h"

namespace brinevar {

// The game's own default, the text this prompt has always offered.
std::string StandardUpdatesFolder(const LookSources &)
{
    return "c:\\Program Files\\Microsoft Games\\Zoo Tycoon\\Updates\\";
}

std::string FolderAsAnswer(const std::filesystem::path &folder)
{
    const std::string answer = PathToUtf8(std::filesystem::path(folder).make_preferred());
    return answer.ends_with('\\') ? answer : answer + '\\';
}

std::string UpdatesFolderOnThisSystem(const std::string &ztPath)
{
    return ztPath;
}

} // namespace brinevar
