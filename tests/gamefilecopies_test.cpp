// The game's file beyond tanks.cfg: its copy in the VirtualStore folder,
// which the game reads in its place, and the game's own texts kept beside
// it before a save replaces them; and the start that shows what the game uses.
#include "file.h"
#include "gamefilecopies.h"
#include "savesettings.h"
#include "settingbyname.h"
#include "settingsfile.h"
#include "settingstext.h"
#include "testfolder.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <optional>

#ifndef _WIN32
#include "wineprefix.h"
#endif

using namespace brinevar;
namespace fs = std::filesystem;

namespace {

#ifdef _WIN32
// An Updates folder named with its drive, as the game's is.
struct DriveFolder {
    TestFolder folder;
    fs::path path() const { return folder.path(); }
    std::string ztPath() const { return PathToUtf8(folder.path()) + "\\"; }
};
#else
// The C: drive of a Wine prefix holds it here.
struct DriveFolder {
    WinePrefix wine;
    fs::path path() const { return wine.prefix.path() / "drive_c" / "Games" / "Updates"; }
    std::string ztPath() const { return "C:\\Games\\Updates\\"; }
};
#endif

// A copy of the program with its own folders, a VirtualStore folder of its
// own, and an Updates folder named with a drive.
struct Install {
    DriveFolder updates;
    TestFolder program, user, store;

    Places places() const
    {
        return PlacesOf(program.path(), user.path() / "Brinevar", store.path());
    }
    fs::path cfg() const { return updates.path() / "tanks.cfg"; }
    fs::path virtualCopy() const { return VirtualStoreCopy(store.path(), updates.ztPath()); }
    fs::path ini() const { return program.path() / "tanks.ini"; }
    Result save(const TankSettings &texts) const
    {
        return SaveSettingsFiles(updates.ztPath(), texts, places());
    }
    std::string load() const
    {
        TankSettings texts = InitialTexts();
        const Result loaded = LoadSettings(updates.ztPath(), places(), texts);
        EXPECT_TRUE(loaded) << loaded.message();
        return TextOf(texts, "saltWater");
    }
};

void Write(const fs::path &file, const std::string &bytes)
{
    fs::create_directories(file.parent_path());
    std::ofstream(file, std::ios::binary) << bytes;
}

std::string Read(const fs::path &file)
{
    std::ifstream in(file, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

fs::path With(const fs::path &file, const char *suffix)
{
    return fs::path(file) += suffix;
}

TankSettings Texts(const std::string &saltWater)
{
    TankSettings texts = DefaultTexts();
    TextOf(texts, "saltWater") = saltWater;
    return texts;
}

// A file too large for any settings file, with nothing written into it.
void MakeHuge(const fs::path &file)
{
    Write(file, "");
    fs::resize_file(file, kMaxSettingsFileSize + 1);
}

} // namespace

TEST(VirtualStoreCopy, IsTheUpdatesFolderWithoutItsDriveUnderTheVirtualStore)
{
    const fs::path store = PathFromUtf8("VirtualStore");
    const std::pair<const char *, std::vector<const char *>> rows[] = {
        {"C:\\Program Files (x86)\\Microsoft Games\\Zoo Tycoon\\Updates\\",
         {"Program Files (x86)", "Microsoft Games", "Zoo Tycoon", "Updates"}},
        {"d:/Games/Updates", {"Games", "Updates"}},
        {"c:\\Games\\\\.\\old\\..\\Updates\\", {"Games", "Updates"}},
        {"c:\\..\\Updates\\", {"Updates"}},
        {"c:", {}},
    };
    for (const auto &[ztPath, names] : rows) {
        fs::path expected = store;
        for (const char *name : names)
            expected /= name;
        EXPECT_EQ(VirtualStoreCopy(store, ztPath), expected / "tanks.cfg") << ztPath;
    }
    // Windows redirects no relative or network path.
    for (const char *ztPath :
         {"", "Updates\\", "\\Games\\Updates\\", "\\\\server\\share\\Updates\\", "c:Updates\\"})
        EXPECT_EQ(VirtualStoreCopy(store, ztPath), fs::path()) << ztPath;
    EXPECT_EQ(VirtualStoreCopy({}, rows[0].first), fs::path());
}

#ifdef _WIN32
TEST(VirtualStoreCopy, LiesInTheUsersLocalAppData)
{
    TestFolder local;
    const char *former = std::getenv("LOCALAPPDATA");
    const std::string restore = former ? former : "";
    _putenv_s("LOCALAPPDATA", PathToUtf8(local.path()).c_str());
    const fs::path copy = VirtualStoreCopy(
        VirtualStoreFolder(), "C:\\Program Files (x86)\\Microsoft Games\\Zoo Tycoon\\Updates\\");
    _putenv_s("LOCALAPPDATA", restore.c_str());
    EXPECT_EQ(copy, local.path() / "VirtualStore" / "Program Files (x86)" / "Microsoft Games" /
                        "Zoo Tycoon" / "Updates" / "tanks.cfg");
}
#else
TEST(VirtualStoreCopy, IsNoneWhereNoSystemRedirectsTheGamesWrites)
{
    setenv("LOCALAPPDATA", "/tmp", 1);
    EXPECT_EQ(VirtualStoreFolder(), fs::path());
    unsetenv("LOCALAPPDATA");
}
#endif

TEST(KeepFormerTexts, TheGamesTextIsKeptFirstAsOriginalThenAsBak)
{
    const Install install;
    const fs::path cfg = install.cfg();
    const auto kept = [&](const std::string &game, const std::string &saltWater) {
        if (!game.empty())
            Write(cfg, game);
        const Result saved = install.save(Texts(saltWater));
        EXPECT_TRUE(saved) << saved.message();
        EXPECT_EQ(Read(cfg), FormatSettingsText(Texts(saltWater)));
        EXPECT_EQ(Read(install.ini()), Read(cfg));
        return EntryNames(install.updates.path());
    };
    using Names = std::vector<std::string>;

    SCOPED_TRACE("no tanks.cfg, then one that Brinevar wrote: nothing to keep");
    EXPECT_EQ(kept("", "1"), Names{"tanks.cfg"});
    EXPECT_EQ(kept("", "2"), Names{"tanks.cfg"});

    SCOPED_TRACE("the game's text, unlike tanks.ini: kept once as .original");
    EXPECT_EQ(kept("game 1", "3"), (Names{"tanks.cfg", "tanks.cfg.original"}));
    EXPECT_EQ(Read(With(cfg, ".original")), "game 1");

    SCOPED_TRACE("later texts as .bak, each replacing the one before; .original stays");
    EXPECT_EQ(kept("game 2", "4"), (Names{"tanks.cfg", "tanks.cfg.bak", "tanks.cfg.original"}));
    EXPECT_EQ(kept("game 3", "5"), (Names{"tanks.cfg", "tanks.cfg.bak", "tanks.cfg.original"}));
    EXPECT_EQ(Read(With(cfg, ".bak")), "game 3");
    EXPECT_EQ(Read(With(cfg, ".original")), "game 1");

    SCOPED_TRACE("without a tanks.ini to compare, any text is kept");
    const std::string written = Read(cfg);
    fs::remove(install.ini());
    kept("", "6");
    EXPECT_EQ(Read(With(cfg, ".bak")), written);
    EXPECT_EQ(Read(With(cfg, ".original")), "game 1");
}

TEST(KeepFormerTexts, ATextThatCannotBeKeptStopsTheSaveBeforeAnythingIsReplaced)
{
    const Install install;
    const fs::path cfg = install.cfg();

    SCOPED_TRACE("tanks.cfg too large to read");
    MakeHuge(cfg);
    Result saved = install.save(Texts("1"));
    EXPECT_EQ(saved.message(), "Could not keep a copy of " + ShownPath(cfg) +
                                   ":\nFile too large\n\nNothing was saved.");
    EXPECT_EQ(fs::file_size(cfg), kMaxSettingsFileSize + 1);
    EXPECT_EQ(EntryNames(install.updates.path()), std::vector<std::string>{"tanks.cfg"});

    SCOPED_TRACE("the copy cannot be written: folders where .original and .bak go");
    Write(cfg, "game");
    fs::create_directory(With(cfg, ".original"));
    fs::create_directory(With(cfg, ".bak"));
    saved = install.save(Texts("1"));
    EXPECT_TRUE(
        saved.message().starts_with("Could not save " + ShownPath(With(cfg, ".bak")) + ":\n"))
        << saved.message();
    EXPECT_EQ(Read(cfg), "game");
    EXPECT_FALSE(fs::exists(install.ini()));
}

TEST(SaveSettingsFiles, TheVirtualStoreCopyGetsTheSameTextWhereOneIsAndIsMadeNowhere)
{
    const Install install;
    ASSERT_TRUE(install.save(Texts("1")));
    EXPECT_TRUE(fs::is_empty(install.store.path()));

    // The game's text there is kept beside it, as the game's file's is.
    Write(install.virtualCopy(), "game's copy");
    ASSERT_TRUE(install.save(Texts("2")));
    EXPECT_EQ(Read(install.virtualCopy()), FormatSettingsText(Texts("2")));
    EXPECT_EQ(Read(With(install.virtualCopy(), ".original")), "game's copy");
    EXPECT_EQ(Read(install.cfg()), Read(install.virtualCopy()));
    EXPECT_EQ(EntryNames(install.updates.path()), std::vector<std::string>{"tanks.cfg"});

    ASSERT_TRUE(install.save(Texts("3")));
    EXPECT_EQ(Read(install.virtualCopy()), FormatSettingsText(Texts("3")));
    EXPECT_EQ(EntryNames(install.virtualCopy().parent_path()),
              (std::vector<std::string>{"tanks.cfg", "tanks.cfg.original"}));
}

TEST(LoadSettings, WithoutTanksIniTheGamesFileShowsItsVirtualStoreCopyFirst)
{
    const Install install;
    TankSettings initialTexts = InitialTexts();
    const std::string initial = TextOf(initialTexts, "saltWater");
    EXPECT_EQ(install.load(), initial);
    Write(install.cfg(), "saltWater = 4\r\n");
    EXPECT_EQ(install.load(), "4");
    Write(install.virtualCopy(), "SALTWATER=5");
    EXPECT_EQ(install.load(), "5");

    // One that cannot be read is passed over, and says nothing.
    MakeHuge(install.virtualCopy());
    EXPECT_EQ(install.load(), "4");
    MakeHuge(install.cfg());
    EXPECT_EQ(install.load(), initial);

    // A tanks.ini, once there, is what the start shows.
    Write(install.cfg(), "saltWater = 4\r\n");
    Write(install.ini(), "saltWater = 6\r\n");
    EXPECT_EQ(install.load(), "6");
}
