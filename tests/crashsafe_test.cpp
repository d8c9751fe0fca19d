// Saves must survive the saving process being killed at any moment: a child
// process writes tanks.cfg over and over, alternating two complete texts, and
// is killed (SIGKILL, TerminateProcess) at random moments. After every kill
// the file must be one of the two texts, byte for byte; a temporary file that
// the kill left behind must never stand in its place.
#include "ansicodepage.h"
#include "childprocess.h"
#include "inplacewrite.h"
#include "savetransaction.h"
#include "settingsfile.h"
#include "settingstext.h"
#include "testfolder.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <iostream>
#include <random>
#include <thread>

#ifndef _WIN32
#include <pwd.h>
#include <unistd.h>
#endif

using namespace brinevar;

// A process start costs far more under Wine.
#ifdef _WIN32
constexpr int kKills = 200;
#else
constexpr int kKills = 600;
#endif

namespace {
// The bytes that a save puts into a file.
std::string FormatSettingsFile(const TankSettings &settings)
{
    return ToAnsi(FormatSettingsText(settings));
}
} // namespace

namespace {

using Clock = std::chrono::steady_clock;

// A text far longer than the default one, so that a save takes several
// writes, and a save in place one write that a kill can split between pages.
TankSettings LongTexts()
{
    TankSettings texts;
    for (std::size_t i = 0; i < texts.size(); ++i)
        texts[i] = std::string(3000, char('a' + i)) + " " + std::to_string(i);
    return texts;
}

// Where a save in place keeps the old text, in a folder the saver may write.
std::filesystem::path JournalOf(const std::filesystem::path &file)
{
    return file.parent_path() / "journal" / "save.journal";
}

// The program itself, run again as the saving child (see main).
const char *gProgram = nullptr;

// Each child is a program of its own, as each save of the editor is: a forked
// copy of this process would share its temporary file names with every other
// copy, which no two real processes do.
Child StartSaving(const std::filesystem::path &file, bool longFirst, bool asNobody)
{
    std::vector<std::string> arguments{"--save-forever", file.string(),
                                       longFirst ? "long" : "default"};
    if (asNobody)
        arguments.push_back("nobody");
    return StartChild(gProgram, arguments);
}

int SaveForever(const char *file, bool longFirst, const char *user)
{
    const SaveStep texts[] = {{file, FormatSettingsFile(DefaultTexts())},
                              {file, FormatSettingsFile(LongTexts())}};
    LocalWriter writer(user ? JournalOf(file) : std::filesystem::path());
    if ((user && !BecomeUser(user)) || !SayReady())
        return 1;
    std::size_t done = 0;
    for (bool useLong = longFirst;; useLong = !useLong)
        if (const Result saved = writer.Write({&texts[useLong], 1}, done); !saved) {
            std::fprintf(stderr, "save failed: %s\n", saved.message().c_str());
            return 1;
        }
}

bool IsLeftOverTemporary(const std::filesystem::path &entry)
{
    const std::string name = entry.filename().string();
    return name.starts_with(".tanks.cfg.") && name.ends_with(".tmp");
}

} // namespace

namespace {

// Kills saves into `folder`, `kills` times; `inPlace`: saves of the user
// nobody, who may write the file but not the folder, each kill followed by
// what the next start does with the journal.
void KillSavesAtRandom(const TestFolder &folder, bool inPlace, int kills)
{
    const auto file = folder.path() / "tanks.cfg";
    const TankSettings defaults = DefaultTexts();
    const TankSettings longTexts = LongTexts();
    const std::string defaultText = FormatSettingsFile(defaults);
    const std::string longText = FormatSettingsFile(longTexts);
    ASSERT_GT(longText.size(), 50000u);
    ASSERT_LT(longText.size(), 1u << 20);

    // Kill within a few save times, so that kills fall into every step of a
    // save: creating, writing, flushing to disk, renaming.
    const auto start = Clock::now();
    for (int i = 0; i < 10; ++i)
        ASSERT_EQ(WriteSettingsFile(file, i % 2 ? defaults : longTexts).message(), "");
    const auto saveTime = (Clock::now() - start) / 10;
    const auto window = std::clamp<Clock::duration>(4 * saveTime, std::chrono::microseconds(200),
                                                    std::chrono::milliseconds(50));

    std::mt19937 random(std::random_device{}());
    std::uniform_int_distribution<Clock::rep> moment(0, window.count());
    int changed = 0, sawDefault = 0, sawLong = 0, undone = 0;
    std::string before = folder.read("tanks.cfg");
    for (int kill = 0; kill < kills; ++kill) {
        // A start that fails now and then under Wine is not what is tested here.
        Child child;
        for (int start = 0; start < 3 && !child.process; ++start)
            child = StartSaving(file, kill % 2 == 0, inPlace);
        ASSERT_NE(child.process, 0) << "kill " << kill << ": the saving process did not start";
        std::this_thread::sleep_for(Clock::duration(moment(random)));
        ASSERT_TRUE(KillChild(child)) << "the saving process ended by itself: a save failed";

        if (inPlace && std::filesystem::exists(JournalOf(file))) {
            if (undone++ == 0) {
                // A journal is followed only to a file that the save writes: one
                // put in the lock's folder by somebody else must not make the
                // program overwrite what it names.
                const auto journal = folder.read("journal/save.journal");
                const auto torn = folder.read("tanks.cfg");
                UndoInterruptedOverwrite(JournalOf(file), {JournalOf(file).parent_path()});
                EXPECT_EQ(folder.read("tanks.cfg"), torn);
                EXPECT_FALSE(std::filesystem::exists(JournalOf(file)));
                folder.write("journal/save.journal", journal);
            }
            UndoInterruptedOverwrite(JournalOf(file), {file});
            EXPECT_FALSE(std::filesystem::exists(JournalOf(file)));
        }
        const std::string after = folder.read("tanks.cfg");
        const bool isDefault = after == defaultText;
        const bool isLong = after == longText;
        ASSERT_TRUE(isDefault || isLong)
            << "kill " << kill << " left a file of " << after.size() << " bytes";
        sawDefault += isDefault;
        sawLong += isLong;
        changed += after != before;
        before = after;
    }

    std::size_t leftOver = 0;
    for (const auto &entry : std::filesystem::directory_iterator(folder.path())) {
        if (entry.path() != file && entry.path() != JournalOf(file).parent_path()) {
            EXPECT_TRUE(IsLeftOverTemporary(entry.path())) << entry.path();
            ++leftOver;
        }
    }
    std::cout << kills << (inPlace ? " in-place" : "") << " kills at random within "
              << std::chrono::duration<double, std::milli>(window).count()
              << " ms of the start of saving (one save: "
              << std::chrono::duration<double, std::milli>(saveTime).count()
              << " ms); the file changed " << changed << " times; " << undone
              << " saves undone by their journal; " << leftOver << " temporary files left behind\n";

    // Kills must have landed both before and after saves completed, or the
    // test proved nothing (on a loaded machine a save can take 15 ms or more,
    // and the file then changes at fewer kills).
    EXPECT_GE(changed, 10);
    EXPECT_GT(sawDefault, 0);
    EXPECT_GT(sawLong, 0);

    // Left-over temporary files do not stand in the way of the next save.
    ASSERT_EQ(WriteSettingsFile(file, defaults).message(), "");
    EXPECT_EQ(folder.read("tanks.cfg"), defaultText);
}

} // namespace

TEST(CrashSafeSave, KilledAtRandomTheFileIsAlwaysOneWholeText)
{
    TestFolder folder;
    KillSavesAtRandom(folder, false, kKills);
}

#ifndef _WIN32
// A file the saver may write in a folder it may not is written in place,
// which must not tear either.
TEST(CrashSafeSave, KilledAtRandomAFileWrittenInPlaceIsNeverTorn)
{
    if (geteuid() != 0 || !getpwnam("nobody")) {
        std::cout << "skipped: needs root to set up a folder that another user may not write\n";
        GTEST_SKIP();
    }
    TestFolder folder;
    folder.write("tanks.cfg", "former");
    std::filesystem::permissions(folder.path() / "tanks.cfg", std::filesystem::perms(0666));
    std::filesystem::create_directory(folder.path() / "journal");
    std::filesystem::permissions(folder.path() / "journal", std::filesystem::perms(0777));
    KillSavesAtRandom(folder, true, 200);
}
#endif

int main(int argc, char **argv)
{
    if ((argc == 4 || argc == 5) && std::string_view(argv[1]) == "--save-forever")
        return SaveForever(argv[2], std::string_view(argv[3]) == "long",
                           argc == 5 ? argv[4] : nullptr);
    gProgram = argv[0];
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
