// Saving both files where something stands in the way: one message that
// names the file and the reason, every file left as it was and nothing made
// anywhere else; the game's texts kept beside it, and its copy in the
// VirtualStore folder; and the game's file that a typed Updates folder names.
#include "ansicodepage.h"
#include "childprocess.h"
#include "file.h"
#include "savesettings.h"
#include "settingbyname.h"
#include "settingstext.h"
#include "testfolder.h"

#include <gtest/gtest.h>

#include <functional>
#include <vector>

#ifndef _WIN32
#include "unsetvariables.h"
#include "wineprefix.h"

#include <cstdlib>

#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

using namespace brinevar;
namespace fs = std::filesystem;

namespace {

// A program folder, a per-user folder, an Updates folder, and a working
// folder of the test's own, where a save must put nothing.
struct Saver {
    TestFolder program, user, updates, working;
    fs::path formerWorkingFolder = fs::current_path();

    Saver() { fs::current_path(working.path()); }
    ~Saver() { fs::current_path(formerWorkingFolder); }

    std::string updatesFolder() const { return PathToUtf8(updates.path()) + "/"; }
    Result save(const std::string &ztPath, const TankSettings &texts = DefaultTexts()) const
    {
        return SaveSettingsFiles(ztPath, texts, PlacesOf(program.path(), user.path() / "Brinevar"));
    }
};

struct Failure {
    const char *name;
    std::function<void(const fs::path &updates)> setup;
    std::string ztPath; // after the Updates folder
    std::error_condition reason;
    bool asUser; // needs a user to whom read-only means something
};

const auto kNothing = [](const fs::path &) {};

#ifdef _WIN32
const Failure kFailures[] = {
    {"missing folder", kNothing, "no such folder/", std::errc::no_such_file_or_directory, false},
};
#else
const Failure kFailures[] = {
    {"path too long", kNothing,
     [] {
         std::string deep;
         for (int i = 0; i < 2100; ++i)
             deep += "d/";
         return deep;
     }(),
     std::errc::filename_too_long, false},
    {"folder name over 255 bytes", kNothing, std::string(300, 'n') + "/",
     std::errc::filename_too_long, false},
    {"missing folder", kNothing, "no such folder/", std::errc::no_such_file_or_directory, false},
    {"symlink loop", [](const fs::path &updates) { fs::create_symlink("loop", updates / "loop"); },
     "loop/", std::errc::too_many_symbolic_link_levels, false},
    {"tanks.cfg linked to itself",
     [](const fs::path &updates) { fs::create_symlink("tanks.cfg", updates / "tanks.cfg"); }, "",
     std::errc::too_many_symbolic_link_levels, false},
    {"tanks.cfg a pipe",
     [](const fs::path &updates) { ASSERT_EQ(mkfifo((updates / "tanks.cfg").c_str(), 0644), 0); },
     "", make_error_code(FileProblem::NotOrdinaryFile).default_error_condition(), false},
    {"a file as the folder, backslash",
     [](const fs::path &updates) { std::ofstream(updates / "file") << "not a folder"; }, "file\\",
     std::errc::not_a_directory, false},
    {"folder the user cannot open",
     [](const fs::path &updates) {
         fs::create_directory(updates / "closed");
         fs::permissions(updates / "closed", fs::perms::none);
     },
     "closed/Updates/", std::errc::permission_denied, true},
    {"read-only tanks.cfg",
     [](const fs::path &updates) {
         std::ofstream(updates / "tanks.cfg") << "former";
         fs::permissions(updates / "tanks.cfg", fs::perms::owner_read);
     },
     "", std::errc::permission_denied, true},
};
#endif

void ExpectTheOneMessageAndNothingChanged(const Failure &failure)
{
    Saver saver;
    failure.setup(saver.updates.path());
    const std::vector<std::string> before = EntryNames(saver.updates.path());
    const std::string ztPath = saver.updatesFolder() + failure.ztPath;

    // A game's text is kept before its file is tried, and stays kept.
    const bool former = fs::is_regular_file(fs::symlink_status(saver.updates.path() / "tanks.cfg"));
    std::vector<std::string> after = before;
    if (former)
        after.push_back("tanks.cfg.original");

    const Result saved = saver.save(ztPath);
    EXPECT_EQ(saved.cause(), failure.reason) << saved.message();
    EXPECT_EQ(saved.message(), "Could not save " + ShownPath(GameFilePath(ztPath)) + ":\n" +
                                   saved.cause().message());
    EXPECT_EQ(EntryNames(saver.updates.path()), after);
    EXPECT_TRUE(fs::is_empty(saver.program.path()));
    EXPECT_TRUE(fs::is_empty(saver.working.path()));
    if (fs::exists(saver.updates.path() / "closed"))
        fs::permissions(saver.updates.path() / "closed", fs::perms::owner_all);
    if (former) {
        EXPECT_EQ(saver.updates.read("tanks.cfg"), "former");
        EXPECT_EQ(saver.updates.read("tanks.cfg.original"), "former");
        fs::permissions(saver.updates.path() / "tanks.cfg", fs::perms::owner_all);
    }
}

} // namespace

TEST(SaveSettingsFiles, EveryFailureIsTheOneMessageAndChangesNothing)
{
    for (const Failure &failure : kFailures) {
        SCOPED_TRACE(failure.name);
        if (!failure.asUser)
            ExpectTheOneMessageAndNothingChanged(failure);
    }
}

// Run as nobody by editor_tests_unprivileged when the tests run as root.
TEST(SaveSettingsFilesAsUser, EveryRefusalIsTheOneMessageAndChangesNothing)
{
    if (IsSuperuser())
        GTEST_SKIP() << "root may open and write anything; editor_tests_unprivileged runs this "
                        "as nobody";
    for (const Failure &failure : kFailures) {
        SCOPED_TRACE(failure.name);
        if (failure.asUser)
            ExpectTheOneMessageAndNothingChanged(failure);
    }
}

TEST(SaveSettingsFiles, ACopyFailingAfterTheGameFileSaysTheGameFileWasSaved)
{
    Saver saver;
    fs::create_directory(saver.program.path() / "tanks.ini"); // a folder in place of the file
    const Result saved = saver.save(saver.updatesFolder());
    EXPECT_TRUE(saved.message().starts_with("Could not save " +
                                            ShownPath(saver.program.path() / "tanks.ini") + ":\n"))
        << saved.message();
    EXPECT_TRUE(saved.message().ends_with("\n\n" + ShownPath(saver.updates.path() / "tanks.cfg") +
                                          " was saved."))
        << saved.message();
    EXPECT_EQ(saver.updates.read("tanks.cfg"), FormatSettingsText(DefaultTexts()));
}

TEST(SaveSettingsFiles, ATextTheFileCannotHoldIsRefusedBeforeAnythingIsWritten)
{
    if (AnsiCodePage() != kWindows1252)
        GTEST_SKIP() << "the texts below are chosen for Windows-1252";
    Saver saver;
    saver.updates.write("tanks.cfg", "former cfg");
    saver.program.write("tanks.ini", "former ini");
    TankSettings texts = DefaultTexts();
    TextOf(texts, "saltWater") = "a\u200f\u0436\U0001F41F\u0436";
    TextOf(texts, "initialSalinity") = "\u0436";
    TextOf(texts, "initialTemperature") = "7\u20ac\u00df"; // 1252 holds these
    EXPECT_EQ(saver.save(saver.updatesFolder(), texts).message(),
              "saltWater holds U+200F \u0436 \U0001F41F, which tanks.cfg cannot store.\n"
              "initialSalinity holds \u0436, which tanks.cfg cannot store.\n\n"
              "Nothing was saved.");
    EXPECT_EQ(saver.updates.read("tanks.cfg"), "former cfg");
    EXPECT_EQ(saver.program.read("tanks.ini"), "former ini");
    EXPECT_EQ(EntryNames(saver.updates.path()), std::vector<std::string>{"tanks.cfg"});
}

#ifdef _WIN32
TEST(GameFilePath, IsTheFolderAsTypedWithTheFileName)
{
    const std::pair<std::string, std::string> rows[] = {
        {"c:\\Games\\Updates\\", "c:\\Games\\Updates\\tanks.cfg"},
        {"c:\\Games\\Updates", "c:\\Games\\Updates\\tanks.cfg"},
        {"c:/Games/Updates/", "c:\\Games\\Updates\\tanks.cfg"},
        {"", "tanks.cfg"},
        {"0", "0\\tanks.cfg"},
    };
    for (const auto &[ztPath, file] : rows)
        EXPECT_EQ(ShownPath(GameFilePath(ztPath)), file) << ztPath;
}
#else
TEST(GameFilePath, ADriveLetterIsAFolderOfTheWinePrefix)
{
    const WinePrefix wine;
    const std::pair<std::string, std::string> rows[] = {
        {"/games/Updates/", "/games/Updates/tanks.cfg"},
        {"/games/Updates", "/games/Updates/tanks.cfg"},
        {"/games/Updates\\", "/games/Updates/tanks.cfg"},
        {"", "tanks.cfg"},
        {"0", "0/tanks.cfg"},
        {"C:\\GAMES\\updates\\", "<prefix>/drive_c/Games/Updates/tanks.cfg"},
        {"c:/Games/Updates", "<prefix>/drive_c/Games/Updates/tanks.cfg"},
        {"c:", "<prefix>/drive_c/tanks.cfg"},
        {"D:\\ZT\\", "<prefix>/dosdevices/d:/ZT/tanks.cfg"},
        {"q:\\x\\", "<prefix>/dosdevices/q:/x/tanks.cfg"},
        {"C:\\..\\..\\..\\tmp\\x\\", "<prefix>/drive_c/tmp/x/tanks.cfg"},
        {"c:\\Games\\.\\old\\..\\Updates\\", "<prefix>/drive_c/Games/Updates/tanks.cfg"},
    };
    for (auto [ztPath, file] : rows) {
        if (file.starts_with("<prefix>"))
            file.replace(0, 8, wine.prefix.path().string());
        EXPECT_EQ(PathToUtf8(GameFilePath(ztPath)), file) << ztPath;
    }
}

TEST(GameFilePath, WithoutWineprefixOrHomeTheAccountsOwnPrefixServes)
{
    const fs::path file = [] {
        const UnsetVariables unset{"HOME", "WINEPREFIX"};
        return GameFilePath("C:\\Brinevar Test\\");
    }();
    const passwd *account = getpwuid(getuid());
    ASSERT_NE(account, nullptr);
    // Through its C: link or its drive_c folder, whichever the prefix has.
    const std::string prefix = (fs::path(account->pw_dir) / ".wine/").string();
    EXPECT_TRUE(file.string().starts_with(prefix)) << file;
    EXPECT_TRUE(file.string().ends_with("/Brinevar Test/tanks.cfg")) << file;
}

TEST(SaveSettingsFiles, AWindowsPathSavesIntoTheWinePrefix)
{
    const WinePrefix wine;
    Saver saver;
    EXPECT_EQ(saver.save("C:\\GAMES\\updates\\").message(), "");
    const fs::path game = wine.prefix.path() / "drive_c" / "Games" / "Updates" / "tanks.cfg";
    std::ifstream in(game, std::ios::binary);
    const std::string written{std::istreambuf_iterator<char>(in), {}};
    EXPECT_EQ(written, FormatSettingsText(DefaultTexts()));
    EXPECT_EQ(saver.program.read("tanks.ini"), written);
    EXPECT_TRUE(fs::is_empty(saver.working.path()));
}
#endif
