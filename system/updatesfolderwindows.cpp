// Where the game's Updates folder is on Windows.
#include "updatesfolder.h"
#include "updatesfolderrules.h"

namespace brinevar {

std::string GameUpdatesUnder(const std::string &programFiles)
{
    return "c:\\" + programFiles + "\\Microsoft Games\\Zoo Tycoon\\Updates\\";
}

// The game's own default, the text this prompt has always offered.
std::string StandardUpdatesFolder()
{
    return GameUpdatesUnder("Program Files");
}

std::string UpdatesFolderOnThisSystem(const std::string &ztPath)
{
    return ztPath;
}

} // namespace brinevar
