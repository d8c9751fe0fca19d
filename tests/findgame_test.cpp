// The look for an installed game over a made-up machine: a home folder with
// Wine prefixes, or drives with Program Files folders and a registry.
#include "findgame.h"
#include "testfolder.h"
#include "updatesfolder.h"

#ifdef _WIN32
#include "ansicodepage.h"
#include "fakeregistry.h"
#include "programfolder.h"
#endif

#include <gtest/gtest.h>

#include <fstream>
#include <map>

using namespace brinevar;

namespace fs = std::filesystem;

namespace {

// A game's folder: its program and Updates folder spelled as
// given ("" leaves one out).
fs::path PlantGame(const fs::path &folder, const std::string &program = "zoo.exe",
                   const std::string &updates = "Updates")
{
    fs::create_directories(folder);
    if (!program.empty())
        std::ofstream(folder / program) << "MZ";
    if (!updates.empty())
        fs::create_directories(folder / updates);
    return folder / updates;
}

// A machine whose environment holds `variables` and nothing else.
LookSources Sources(const fs::path &home, std::map<std::string, std::string> variables = {})
{
    return {home,
            [variables](const std::string &name) {
                const auto found = variables.find(name);
                return found == variables.end() ? std::string() : found->second;
            },
            nullptr,
            {}};
}

} // namespace

TEST(FindGame, TakesTheFirstPatternThatHoldsTheGameAndOnlyItsUpdatesFolder)
{
    TestFolder tree;
    const fs::path a = tree.path() / "a", b = tree.path() / "b", c = tree.path() / "c";
    PlantGame(a / "one", "zoo.exe", "");                   // no Updates folder
    PlantGame(a / "two", "", "Updates");                   // no program
    fs::create_directories(a / "three" / "zoo.exe" / "x"); // a folder named zoo.exe
    fs::create_directories(a / "three" / "Updates");
    const fs::path found = PlantGame(b / "game", "ZOO.EXE", "updates");
    PlantGame(c / "game");
    // A drive without case (Windows) keeps the pattern's spelling.
    const auto updates =
        FindGameUpdates({a / "*", tree.path() / "missing" / "*", b / "GAME", c / "game"});
    ASSERT_TRUE(updates);
    EXPECT_TRUE(fs::equivalent(*updates, found)) << *updates;
    EXPECT_EQ(FindGameUpdates({a / "*", a / "one"}), std::nullopt);
    EXPECT_EQ(FindGameUpdates({}), std::nullopt);
}

TEST(FindGame, AStarStandsForOneLevelOfEntriesInTheOrderOfTheirNames)
{
    TestFolder tree;
    PlantGame(tree.path() / "p" / "b" / "game");
    const fs::path first = PlantGame(tree.path() / "p" / "a" / "game");
    PlantGame(tree.path() / "p" / "deeper" / "x" / "game"); // two levels down
    EXPECT_EQ(FindGameUpdates({tree.path() / "p" / "*" / "game"}), first);
    EXPECT_EQ(FindGameUpdates({tree.path() / "*" / "game"}), std::nullopt);
}

#ifndef _WIN32
TEST(FindGame, LooksInWineThenInEachLaunchersPrefixes)
{
    TestFolder home;
    const fs::path &h = home.path();
    const auto game = [](const fs::path &prefix, const char *programFiles) {
        return prefix / "drive_c" / programFiles / "Microsoft Games" / "Zoo Tycoon";
    };
    // Planted from the last place looked in to the first, each found while
    // nothing before it holds the game.
    const std::vector<fs::path> places{
        game(h / ".local/share/Steam/steamapps/compatdata/255320/pfx", "Program Files"),
        game(h / ".steam/steam/steamapps/compatdata/255320/pfx", "Program Files (x86)"),
        game(h / ".cxoffice/Zoo", "Program Files"),
        game(h / ".PlayOnLinux/wineprefix/ZooTycoon", "Program Files"),
        game(h / ".var/app/com.usebottles.bottles/data/bottles/bottles/Games", "Program Files"),
        game(h / ".local/share/bottles/bottles/Games", "Program Files (x86)"),
        game(h / "Games/zoo-tycoon", "Program Files (x86)"),
        game(h / ".wine", "Program Files"),
        game(h / ".wine", "Program Files (x86)"),
    };
    const fs::path wine = h / "elsewhere";
    const LookSources sources = Sources(h, {{"WINEPREFIX", wine.native()}});
    for (const fs::path &place : places) {
        const fs::path updates = PlantGame(place);
        EXPECT_EQ(DefaultUpdatesFolder(sources), updates.native() + "/") << place;
    }
    const fs::path own = PlantGame(game(wine, "Program Files"));
    EXPECT_EQ(DefaultUpdatesFolder(sources), own.native() + "/") << "$WINEPREFIX first";
}

TEST(FindGame, WithoutTheGameOffersWhereWineWouldInstallIt)
{
    TestFolder home, prefix;
    const fs::path drive = home.path() / ".wine/drive_c";
    PlantGame(drive / "Program Files/Microsoft Games/Zoo Tycoon", ""); // no program
    EXPECT_EQ(DefaultUpdatesFolder(Sources(home.path())),
              drive.native() + "/Program Files/Microsoft Games/Zoo Tycoon/Updates/");
    // A 64-bit prefix puts the 32-bit game under "Program Files (x86)".
    fs::create_directories(prefix.path() / "drive_c/Program Files (x86)");
    EXPECT_EQ(DefaultUpdatesFolder(Sources(home.path(), {{"WINEPREFIX", prefix.path().native()}})),
              prefix.path().native() +
                  "/drive_c/Program Files (x86)/Microsoft Games/Zoo Tycoon/Updates/");
}
#else
TEST(FindGame, LooksWhereSetupRecordedItThenInProgramFilesOnEachFixedDrive)
{
    TestFolder tree;
    const fs::path c = tree.path() / "C", d = tree.path() / "D";
    const auto game = [](const fs::path &drive, const char *programFiles) {
        return drive / programFiles / "Microsoft Games" / "Zoo Tycoon";
    };
    FakeRegistry registry;
    LookSources sources = Sources({}, {{"ProgramFiles(x86)", PathToUtf8(c / "Program Files (x86)")},
                                       {"ProgramFiles", PathToUtf8(c / "Program Files")}});
    sources.registry = &registry;
    sources.fixedDrives = [&] { return std::vector<fs::path>{c, d}; };
    EXPECT_EQ(DefaultUpdatesFolder(sources),
              "c:\\Program Files\\Microsoft Games\\Zoo Tycoon\\Updates\\");

    // Planted from the last place looked in to the first, each found while
    // nothing before it holds the game; a recorded folder without the game
    // counts for nothing, and a recorded program stands for its folder.
    const fs::path recorded = tree.path() / "Games" / "ZT";
    PlantGame(tree.path() / "Old", "");
    registry.keys["SOFTWARE\\Microsoft\\Microsoft Games\\Zoo Tycoon\\1.0"]["AppPath"] = {
        kRegSz, ToAnsi(PathToUtf8(tree.path() / "Old")) + '\0'};
    registry.keys["SOFTWARE\\WOW6432Node\\Microsoft\\Microsoft Games\\Zoo Tycoon\\1.0"]
                 ["Install Dir"] = {kRegSz, ToAnsi(PathToUtf8(recorded / "Zoo.exe")) + '\0'};
    const std::vector<fs::path> places{game(d, "Program Files"), game(d, "Program Files (x86)"),
                                       game(c, "Program Files"), game(c, "Program Files (x86)"),
                                       recorded};
    for (const fs::path &place : places) {
        const fs::path updates = PlantGame(place, place == recorded ? "Zoo.exe" : "zoo.exe");
        EXPECT_EQ(DefaultUpdatesFolder(sources), PathToUtf8(updates) + "\\") << place;
    }
}
#endif
