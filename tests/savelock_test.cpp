// Two copies of the program saving at once must leave tanks.cfg and tanks.ini
// from one and the same save, and a save killed half-way must leave nothing
// behind once the next save has run. Each save runs in a process of its own,
// as each copy of the editor does: this program, started again as a child.
#include "ansicodepage.h"
#include "programfolder.h"
#include "savelock.h"
#include "savesettings.h"
#include "settingstext.h"
#include "testfolder.h"

#include <gtest/gtest.h>

#include <chrono>
#include <csignal>
#include <cstdlib>
#include <iostream>
#include <thread>

#include <sys/wait.h>
#include <unistd.h>

using namespace brinevar;
namespace fs = std::filesystem;

namespace {

using Clock = std::chrono::steady_clock;

// Long texts, so that a save takes several writes and two saves overlap.
TankSettings TextsOf(char variant)
{
    TankSettings texts;
    for (std::size_t i = 0; i < texts.size(); ++i)
        texts[i] = std::string(4000, char(variant + i % 3)) + std::to_string(i);
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

// A child that saves with `variant` once it reads a byte on its standard
// input, or (`forever`) over and over; returns its process id and the pipe
// that starts it, once the child has started and waits on that pipe, so that
// the time to a kill counts from the save and not from the program's start.
std::pair<pid_t, int> StartSaver(const World &world, char variant, bool forever)
{
    int go[2], ready[2];
    if (pipe(go) != 0 || pipe(ready) != 0)
        return {-1, -1};
    const pid_t child = fork();
    if (child == 0) {
        dup2(go[0], STDIN_FILENO);
        dup2(ready[1], STDOUT_FILENO);
        for (const int fd : {go[0], go[1], ready[0], ready[1]})
            close(fd);
        setenv("XDG_DATA_HOME", world.dataHome.c_str(), 1);
        execl(gProgram, gProgram, forever ? "--save-forever" : "--save-once",
              world.updates.path().c_str(), world.program.path().c_str(),
              std::string(1, variant).c_str(), static_cast<char *>(nullptr));
        _exit(127);
    }
    close(go[0]);
    close(ready[1]);
    char byte;
    if (read(ready[0], &byte, 1) != 1) // the child ended before it was ready
        byte = 0;
    close(ready[0]);
    return {child, go[1]};
}

int Saver(bool forever, const char *updates, const char *program, char variant)
{
    SetProgramFolder(program);
    const TankSettings texts = TextsOf(variant);
    char byte = '!';
    if (write(STDOUT_FILENO, &byte, 1) != 1 || read(STDIN_FILENO, &byte, 1) != 1)
        return 2;
    do {
        if (const auto failure = SaveSettingsFiles(std::string(updates) + "/", texts)) {
            std::cerr << *failure << "\n";
            return 1;
        }
    } while (forever);
    return 0;
}

int WaitFor(pid_t child)
{
    int status = 0;
    waitpid(child, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

} // namespace

namespace {
void SaveTwiceAtOnce(const World &world, int rounds)
{
    const std::string a = ToAnsi(FormatSettingsText(TextsOf('a')));
    const std::string b = ToAnsi(FormatSettingsText(TextsOf('n')));
    int mixed = 0, leftOver = 0, lastA = 0, lastB = 0;
    for (int round = 0; round < rounds; ++round) {
        const auto first = StartSaver(world, 'a', false);
        const auto second = StartSaver(world, 'n', false);
        ASSERT_NE(first.first, -1);
        ASSERT_NE(second.first, -1);
        // Both start as close together as two writes can make them.
        ASSERT_EQ(write(first.second, "!", 1), 1);
        ASSERT_EQ(write(second.second, "!", 1), 1);
        close(first.second);
        close(second.second);
        ASSERT_EQ(WaitFor(first.first), 0);
        ASSERT_EQ(WaitFor(second.first), 0);

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
    SaveTwiceAtOnce(world, 150);
}

// A per-user folder that cannot be made (read-only HOME, say) still leaves a
// lock that guards the pair: the one beside tanks.ini.
TEST(SaveLock, WithoutAPerUserFolderTheSavesStillNeverMix)
{
    World world;
    world.data.write("file", "");
    world.dataHome = world.data.path() / "file" / "share";
    SaveTwiceAtOnce(world, 100);
}

TEST(SaveLock, TheNextSaveRemovesWhatKilledSavesLeftBehind)
{
    World world;
    // Until kills have left a temporary a few times, however fast or slow
    // saves are. Each save clears what the kill before it left.
    int kills = 0, leaving = 0;
    for (; kills < 400 && leaving < 5; ++kills) {
        const auto saver = StartSaver(world, kills % 2 ? 'a' : 'n', true);
        ASSERT_NE(saver.first, -1);
        ASSERT_EQ(write(saver.second, "!", 1), 1);
        close(saver.second);
        std::this_thread::sleep_for(std::chrono::microseconds(500 + 97 * (kills % 40)));
        ::kill(saver.first, SIGKILL);
        ASSERT_EQ(WaitFor(saver.first), -1) << "the saver ended by itself: a save failed";
        leaving += world.temporaries() > 0;
    }

    const auto saver = StartSaver(world, 'a', false);
    ASSERT_EQ(write(saver.second, "!", 1), 1);
    close(saver.second);
    ASSERT_EQ(WaitFor(saver.first), 0);
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
    setenv("XDG_DATA_HOME", world.data.path().c_str(), 1);
    SetProgramFolder(world.program.path());
    const SaveLock other(SaveLockPath(), std::chrono::milliseconds(0));
    ASSERT_TRUE(other.held());

    const auto start = Clock::now();
    const auto failure = SaveSettingsFiles(world.updates.path().string() + "/", TextsOf('a'),
                                           std::chrono::milliseconds(200));
    const auto waited = Clock::now() - start;
    ASSERT_TRUE(failure);
    EXPECT_NE(failure->find("tanks.cfg"), std::string::npos) << *failure;
    EXPECT_NE(failure->find("Another copy of Brinevar is saving"), std::string::npos) << *failure;
    EXPECT_GE(waited, std::chrono::milliseconds(200));
    EXPECT_LT(waited, std::chrono::seconds(2));
    EXPECT_EQ(world.updates.entries(), 0u);
    EXPECT_EQ(world.program.entries(), 0u);
    SetProgramFolder({});
    unsetenv("XDG_DATA_HOME");
}

int main(int argc, char **argv)
{
    if (argc == 5 && (std::string_view(argv[1]) == "--save-once" ||
                      std::string_view(argv[1]) == "--save-forever"))
        return Saver(std::string_view(argv[1]) == "--save-forever", argv[2], argv[3], argv[4][0]);
    gProgram = argv[0];
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
