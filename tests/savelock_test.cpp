// Two copies of the program saving at once must leave tanks.cfg and tanks.ini
// from one and the same save, and a save killed half-way must leave nothing
// behind once the next save has run. Each save runs in a process of its own,
// as each copy of the editor does: this program, started again as a child.
#include "ansicodepage.h"
#include "childprocess.h"
#include "programfolder.h"
#include "savesettings.h"
#include "savetransaction.h"
#include "settingstext.h"
#include "testfolder.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <iostream>
#include <thread>

using namespace brinevar;
namespace fs = std::filesystem;

namespace {

using Clock = std::chrono::steady_clock;

// A process start costs far more under Wine.
#ifdef _WIN32
constexpr int kRounds = 100;
#else
constexpr int kRounds = 150;
#endif

// Long texts, so that a save takes several writes and two saves overlap.
TankSettings TextsOf(char variant)
{
    TankSettings texts;
    for (std::size_t i = 0; i < texts.size(); ++i)
        texts[i] = std::string(1000, char(variant + i % 3)) + std::to_string(i);
    return texts;
}

const char *gProgram = nullptr;

// The folders of one editor's world: its Updates folder, its program folder
// (tanks.ini) and its per-user data folder (the lock).
struct World {
    TestFolder updates, program, data;
    // The per-user data folder as the saves are told it.
    fs::path dataHome = data.path();

    std::string cfg() const { return updates.read("tanks.cfg"); }
    std::string ini() const { return program.read("tanks.ini"); }
    std::size_t temporaries() const
    {
        std::size_t count = 0;
        for (const TestFolder *folder : {&updates, &program})
            for (const auto &entry : fs::directory_iterator(folder->path()))
                count += entry.path().filename().string().ends_with(".tmp");
        return count;
    }
};

// A child that saves with `variant` once it is let go, or (`forever`) over
// and over; returned once it has started and waits, so that the time to a
// kill counts from the save and not from the program's start.
Child StartSaver(const World &world, char variant, bool forever)
{
    return StartChild(gProgram, {forever ? "--save-forever" : "--save-once",
                                 world.updates.path().string(), world.program.path().string(),
                                 std::string(1, variant), world.dataHome.string()});
}

int Saver(bool forever, const char *updates, const char *program, char variant,
          const char *dataHome)
{
    const Places places = PlacesOf(program, fs::path(dataHome) / "Brinevar");
    const TankSettings texts = TextsOf(variant);
    if (!SayReady() || !WaitToGo())
        return 2;
    do {
        if (const Result saved = SaveSettingsFiles(std::string(updates) + "/", texts, places);
            !saved) {
            std::cerr << saved.message() << "\n";
            return 1;
        }
    } while (forever);
    return 0;
}

} // namespace

namespace {
void SaveTwiceAtOnce(const World &world, int rounds)
{
    const std::string a = ToAnsi(FormatSettingsText(TextsOf('a')));
    const std::string b = ToAnsi(FormatSettingsText(TextsOf('n')));
    int mixed = 0, leftOver = 0, lastA = 0, lastB = 0;
    for (int round = 0; round < rounds; ++round) {
        Child first = StartSaver(world, 'a', false);
        Child second = StartSaver(world, 'n', false);
        ASSERT_NE(first.process, 0);
        ASSERT_NE(second.process, 0);
        // Both start as close together as two writes can make them.
        ASSERT_TRUE(LetGo(first));
        ASSERT_TRUE(LetGo(second));
        ASSERT_EQ(WaitForChild(first), 0);
        ASSERT_EQ(WaitForChild(second), 0);

        const std::string cfg = world.cfg();
        ASSERT_TRUE(cfg == a || cfg == b) << "round " << round;
        mixed += cfg != world.ini();
        leftOver += int(world.temporaries());
        lastA += cfg == a;
        lastB += cfg == b;
    }
    std::cout << rounds << " rounds of two processes saving at once: " << mixed << " mixed pairs, "
              << leftOver << " temporary files left; the first saver's " << lastA
              << " times last, the second's " << lastB << " times\n";
    EXPECT_EQ(mixed, 0);
    EXPECT_EQ(leftOver, 0);
}

} // namespace

TEST(SaveLock, TwoCopiesSavingAtOnceNeverMixTheirFiles)
{
    World world;
    SaveTwiceAtOnce(world, kRounds);
}

#ifndef _WIN32
// A per-user folder that cannot be made (read-only HOME, say) still leaves a
// lock that guards the pair: the one beside tanks.ini.
TEST(SaveLock, WithoutAPerUserFolderTheSavesStillNeverMix)
{
    World world;
    world.data.write("file", "");
    world.dataHome = world.data.path() / "file" / "share";
    SaveTwiceAtOnce(world, 100);
}
#endif

TEST(SaveLock, TheNextSaveRemovesWhatKilledSavesLeftBehind)
{
    World world;
    // Kills fall from a twentieth of one whole save to two saves after the
    // start, however fast or slow this build and machine make a save (the
    // sanitizers make it ten times slower).
    Child timed = StartSaver(world, 'n', false);
    ASSERT_TRUE(LetGo(timed));
    const auto start = Clock::now();
    ASSERT_EQ(WaitForChild(timed), 0);
    const auto save = Clock::now() - start;
    // Until kills have left a temporary a few times. Each save clears what
    // the kill before it left.
    int kills = 0, leaving = 0;
    for (; kills < 400 && leaving < 5; ++kills) {
        Child saver = StartSaver(world, kills % 2 ? 'a' : 'n', true);
        ASSERT_NE(saver.process, 0);
        ASSERT_TRUE(LetGo(saver));
        std::this_thread::sleep_for(save * (1 + kills % 40) / 20);
        ASSERT_TRUE(KillChild(saver)) << "the saver ended by itself: a save failed";
        leaving += world.temporaries() > 0;
    }

    Child saver = StartSaver(world, 'a', false);
    ASSERT_TRUE(LetGo(saver));
    ASSERT_EQ(WaitForChild(saver), 0);
    std::cout << kills << " saves killed, " << leaving
              << " of them leaving a temporary file; after the next save: " << world.temporaries()
              << "\n";
    EXPECT_GT(leaving, 0) << "no kill fell into a save: the test proved nothing";
    EXPECT_EQ(world.temporaries(), 0u);
    EXPECT_EQ(world.cfg(), world.ini());
}

TEST(SaveLock, ASaveThatCannotGetTheLockSaysSoAndWritesNothing)
{
    World world;
    const Places places = PlacesOf(world.program.path(), world.data.path() / "Brinevar");
    const auto other = HoldSaveLock(places.saveLock, std::chrono::milliseconds(0));
    ASSERT_TRUE(other) << other.error().message();

    const auto start = Clock::now();
    const Result saved =
        SaveSettingsFiles(world.updates.path().string() + "/", TextsOf('a'), places);
    const auto waited = Clock::now() - start;
    ASSERT_FALSE(saved);
    EXPECT_NE(saved.message().find("tanks.cfg"), std::string::npos) << saved.message();
    EXPECT_NE(saved.message().find("Another copy of Brinevar is saving"), std::string::npos)
        << saved.message();
    EXPECT_GE(waited, kSaveLockWait);
    EXPECT_LT(waited, kSaveLockWait + std::chrono::seconds(2));
    EXPECT_EQ(world.updates.entries(), 0u);
    EXPECT_EQ(world.program.entries(), 0u);
}

int main(int argc, char **argv)
{
    if (argc == 6 && (std::string_view(argv[1]) == "--save-once" ||
                      std::string_view(argv[1]) == "--save-forever"))
        return Saver(std::string_view(argv[1]) == "--save-forever", argv[2], argv[3], argv[4][0],
                     argv[5]);
    gProgram = argv[0];
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
