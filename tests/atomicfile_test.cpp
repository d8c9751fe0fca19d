#include "atomicfile.h"
#include "childprocess.h"
#include "settingsfile.h"
#include "testfolder.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <cstring>
#include <fstream>
#include <iostream>
#include <set>

#ifdef _WIN32
#define WIN32_LEAN_AND_MEAN
#include <windows.h>
#else
#include <pwd.h>
#include <sys/mount.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#endif

using namespace brinevar;

TEST(AtomicFile, ReplacesTheWholeFileOnCommit)
{
    TestFolder folder;
    const auto target = folder.path() / "tanks.cfg";
    folder.write("tanks.cfg", std::string(5000, 'x'));
    {
        AtomicFile file(target);
        ASSERT_EQ(file.open(), std::error_code());
        ASSERT_EQ(file.write("short"), std::error_code());
        ASSERT_EQ(file.commit(), std::error_code());
    }
    EXPECT_EQ(folder.read("tanks.cfg"), "short");
    EXPECT_EQ(folder.entries(), 1u);
}

TEST(AtomicFile, AFailureBeforeCommitLeavesTheFormerFileAndNoLitter)
{
    TestFolder folder;
    folder.write("tanks.cfg", "former text");
    {
        AtomicFile file(folder.path() / "tanks.cfg");
        ASSERT_EQ(file.open(), std::error_code());
        ASSERT_EQ(file.write("half of the new"), std::error_code());
        // A fault in the middle of a write: the file goes without a commit.
    }
    EXPECT_EQ(folder.read("tanks.cfg"), "former text");
    EXPECT_EQ(folder.entries(), 1u);
}

TEST(AtomicFile, FailuresNameTheFileAndTheReason)
{
    TestFolder folder;
    const auto missing = folder.path() / "no such folder" / "tanks.cfg";
    const Result error = WriteSettingsFile(missing, DefaultTexts());
    EXPECT_EQ(error.cause(), std::errc::no_such_file_or_directory);
    EXPECT_EQ(error.message(),
              "Could not save " + ShownPath(missing) + ":\n" + error.cause().message());

    std::filesystem::create_directory(folder.path() / "a folder");
    EXPECT_TRUE(AtomicFile(folder.path() / "a folder").open());
    EXPECT_TRUE(std::filesystem::is_directory(folder.path() / "a folder"));
}

TEST(AtomicFile, OnlyIfMissingNeverReplacesAFileNotEvenOneMadeMeanwhile)
{
    TestFolder folder;
    const auto target = folder.path() / "tanks.cfg.original";
    folder.write("tanks.cfg.original", "kept");
    EXPECT_EQ(AtomicFile(target, true).open(), std::errc::file_exists);
    std::filesystem::remove(target);
    {
        AtomicFile file(target, true);
        ASSERT_EQ(file.open(), std::error_code());
        ASSERT_EQ(file.write("new"), std::error_code());
        folder.write("tanks.cfg.original", "made meanwhile");
        EXPECT_EQ(file.commit(), std::errc::file_exists);
    }
    EXPECT_EQ(folder.read("tanks.cfg.original"), "made meanwhile");
    EXPECT_EQ(folder.entries(), 1u);
}

// What the user set up on the former file survives the replace.

namespace {
namespace fs = std::filesystem;

// A superuser may write any file, so read-only cases run as another user
// (tests/as-nobody.sh runs them so under CTest).
bool SkipAsSuperuser()
{
    if (!IsSuperuser())
        return false;
    std::cout << "skipped as root: no file is read-only to root; "
                 "the *_unprivileged test runs this as nobody\n";
    return true;
}

// Gives `folder` its permissions back when the test ends, so that it can be removed.
struct Restore {
    fs::path folder;
    ~Restore() { fs::permissions(folder, fs::perms::owner_all); }
};
} // namespace

#ifdef _WIN32
TEST(AtomicFile, KeepsTheFormerFilesAttributes)
{
    TestFolder folder;
    folder.write("tanks.cfg", "former");
    const auto target = folder.path() / "tanks.cfg";
    ASSERT_TRUE(SetFileAttributesW(target.c_str(), FILE_ATTRIBUTE_HIDDEN));
    ASSERT_EQ(WriteSettingsFile(target, DefaultTexts()).message(), "");
    EXPECT_EQ(folder.read("tanks.cfg").size(), 467u);
    EXPECT_TRUE(GetFileAttributesW(target.c_str()) & FILE_ATTRIBUTE_HIDDEN);
    EXPECT_EQ(folder.entries(), 1u);
}

// A refused save is told in Windows' words (a folder where words exist),
// and still compares as the C library's condition.
TEST(AtomicFile, RefusalsAreToldInTheSystemsOwnWords)
{
    TestFolder folder;
    folder.write("read-only.cfg", "former");
    const auto readOnly = folder.path() / "read-only.cfg";
    ASSERT_TRUE(SetFileAttributesW(readOnly.c_str(), FILE_ATTRIBUTE_READONLY));
    fs::create_directory(folder.path() / "tanks.ini");
    const struct {
        fs::path target;
        std::errc condition;
        bool windowsWordsOnWine;
    } cases[] = {
        {folder.path() / "missing" / "tanks.cfg", std::errc::no_such_file_or_directory, true},
        {readOnly, std::errc::permission_denied, true},
        {folder.path() / "tanks.ini", std::errc::is_a_directory, false},
    };
    for (const auto &test : cases) {
        const Result error = WriteSettingsFile(test.target, DefaultTexts());
        ASSERT_FALSE(error) << test.target << " was written";
        const std::string words = error.cause().message();
        EXPECT_EQ(error.cause(), test.condition) << words;
        EXPECT_FALSE(words.empty() || words.ends_with('\n')) << words;
        EXPECT_EQ(words.find("Permission denied"), std::string::npos) << words;
        if (test.windowsWordsOnWine) {
            EXPECT_NE(words, std::make_error_code(test.condition).message());
        }
    }
    SetFileAttributesW(readOnly.c_str(), FILE_ATTRIBUTE_NORMAL);
    EXPECT_EQ(folder.read("read-only.cfg"), "former");
}
#else
TEST(AtomicFile, KeepsThePermissionBits)
{
    TestFolder folder;
    for (const fs::perms mode : {fs::perms(0600), fs::perms(0640), fs::perms(0755)}) {
        folder.write("tanks.cfg", "former");
        fs::permissions(folder.path() / "tanks.cfg", mode);
        ASSERT_EQ(WriteSettingsFile(folder.path() / "tanks.cfg", DefaultTexts()).message(), "");
        EXPECT_EQ(fs::status(folder.path() / "tanks.cfg").permissions(), mode);
        EXPECT_EQ(folder.read("tanks.cfg").size(), 467u);
    }
}

namespace {
const passwd *Nobody()
{
    const passwd *nobody = getpwnam("nobody");
    if (geteuid() != 0 || !nobody) {
        std::cout << "skipped: needs root to set up files that another user saves\n";
        return nullptr;
    }
    return nobody;
}

// Saves `texts` as `user` in a process of its own: 0, or the errno value of
// the failure's cause (255 for any other failure).
int SaveAs(const passwd *user, const fs::path &file, const TankSettings &texts)
{
    const pid_t saver = fork();
    if (saver == 0) {
        int status = 255;
        if (setgid(user->pw_gid) == 0 && setuid(user->pw_uid) == 0) {
            const Result saved = WriteSettingsFile(file, texts);
            if (saved)
                status = 0;
            else if (saved.cause().category() == std::generic_category())
                status = saved.cause().value() & 255;
        }
        _exit(status);
    }
    int status = -1;
    if (saver < 0 || waitpid(saver, &status, 0) != saver || !WIFEXITED(status))
        return 255;
    return WEXITSTATUS(status);
}
} // namespace

TEST(AtomicFile, AnotherUsersFileKeepsItsOwner)
{
    // Root sets up a file of its own that another user may write, in a folder
    // everyone may write; that user saves it.
    const passwd *nobody = Nobody();
    if (!nobody)
        GTEST_SKIP();
    TestFolder folder;
    fs::permissions(folder.path(), fs::perms(0777));
    folder.write("tanks.cfg", "former");
    fs::permissions(folder.path() / "tanks.cfg", fs::perms(0666));
    EXPECT_EQ(SaveAs(nobody, folder.path() / "tanks.cfg", DefaultTexts()), 0);
    struct stat saved;
    ASSERT_EQ(stat((folder.path() / "tanks.cfg").c_str(), &saved), 0);
    EXPECT_EQ(saved.st_uid, 0u) << "the file now belongs to the user who saved it";
    EXPECT_EQ(saved.st_gid, 0u);
    EXPECT_EQ(saved.st_mode & 07777, 0666u);
    EXPECT_EQ(folder.read("tanks.cfg").size(), 467u);
    EXPECT_EQ(folder.entries(), 1u);
}

TEST(AtomicFile, OnAFullDiskAnInPlaceSaveLeavesTheFormerTextWhole)
{
    // A file the saver may write in a folder it may not: written in place,
    // on a small disk of its own that is full.
    const passwd *nobody = Nobody();
    if (!nobody)
        GTEST_SKIP();
    TestFolder folder;
    const fs::path disk = folder.path() / "disk";
    fs::create_directory(disk);
    if (mount("tmpfs", disk.c_str(), "tmpfs", 0, "size=64k,mode=0755") != 0) {
        std::cout << "skipped: no small disk to fill (mount: " << std::strerror(errno) << ")\n";
        GTEST_SKIP();
    }
    const struct Unmount {
        fs::path disk;
        ~Unmount() { umount2(disk.c_str(), MNT_DETACH); }
    } unmount{disk};
    const fs::path file = disk / "tanks.cfg";
    std::ofstream(file, std::ios::binary) << std::string(2000, '#') << "\r\n";
    fs::permissions(file, fs::perms(0666));
    {
        std::ofstream filler(disk / "filler", std::ios::binary);
        while (filler.write(std::string(512, 'f').data(), 512) && filler.flush()) {
        }
    }
    TankSettings longer;
    for (std::size_t i = 0; i < longer.size(); ++i)
        longer[i] = std::string(300, 'a');

    // A shorter text needs no room: it is saved, and no blank line is left over.
    ASSERT_EQ(SaveAs(nobody, file, DefaultTexts()), 0);
    const std::string saved = folder.read("disk/tanks.cfg");
    EXPECT_EQ(saved.size(), 467u);
    EXPECT_EQ(saved.find("\n\n"), std::string::npos);
    // A longer one does not fit: the file keeps every byte of its text.
    EXPECT_EQ(SaveAs(nobody, file, longer), ENOSPC);
    EXPECT_EQ(folder.read("disk/tanks.cfg"), saved);
    EXPECT_EQ(fs::file_size(file), 467u);
    // With room again it is saved whole.
    fs::remove(disk / "filler");
    EXPECT_EQ(SaveAs(nobody, file, longer), 0);
    EXPECT_GT(folder.read("disk/tanks.cfg").size(), 6000u);
    EXPECT_EQ(std::distance(fs::directory_iterator(disk), {}), 1);
}

TEST(AtomicFile, ALinkStaysALinkAndTheFileItPointsToIsReplaced)
{
    TestFolder folder;
    fs::create_directories(folder.path() / "game" / "real");
    folder.write("game/real/tanks.cfg", "former");
    // A relative link to a relative link.
    fs::create_symlink("real/tanks.cfg", folder.path() / "game" / "middle.cfg");
    fs::create_symlink("game/middle.cfg", folder.path() / "tanks.cfg");
    // And a link whose file does not exist yet.
    fs::create_symlink("game/new.ini", folder.path() / "tanks.ini");

    for (const char *name : {"tanks.cfg", "tanks.ini"})
        ASSERT_EQ(WriteSettingsFile(folder.path() / name, DefaultTexts()).message(), "");

    EXPECT_TRUE(fs::is_symlink(folder.path() / "tanks.cfg"));
    EXPECT_TRUE(fs::is_symlink(folder.path() / "game" / "middle.cfg"));
    EXPECT_TRUE(fs::is_symlink(folder.path() / "tanks.ini"));
    EXPECT_EQ(folder.read("game/real/tanks.cfg").size(), 467u);
    EXPECT_EQ(folder.read("game/new.ini"), folder.read("game/real/tanks.cfg"));
    // No temporary left beside the links or their files.
    EXPECT_EQ(folder.entries(), 3u);
    EXPECT_EQ(std::distance(fs::directory_iterator(folder.path() / "game"), {}), 3);
}

TEST(AtomicFile, WhatIsNoFileOrCannotBeOneFailsAndStaysAsItWas)
{
    TestFolder folder;
    const fs::path base = folder.path();
    fs::create_symlink("tanks.cfg", base / "tanks.cfg");
    fs::create_symlink("loop", base / "loop");
    fs::create_symlink("/dev/null", base / "null.cfg");
    ASSERT_EQ(mkfifo((base / "fifo.cfg").c_str(), 0644), 0);
    folder.write("file", "x");
    const struct {
        fs::path target;
        std::error_code reason;
    } cases[] = {
        {base / "tanks.cfg", std::make_error_code(std::errc::too_many_symbolic_link_levels)},
        {base / "loop" / "tanks.cfg",
         std::make_error_code(std::errc::too_many_symbolic_link_levels)},
        {base / "null.cfg", make_error_code(FileProblem::NotOrdinaryFile)},
        {base / "fifo.cfg", make_error_code(FileProblem::NotOrdinaryFile)},
        {base / "file" / "tanks.cfg", std::make_error_code(std::errc::not_a_directory)},
        {base / std::string(256, 'n') / "tanks.cfg",
         std::make_error_code(std::errc::filename_too_long)},
        {base /
             [] {
                 std::string deep;
                 for (int i = 0; i < 2100; ++i)
                     deep += "d/";
                 return deep;
             }() /
             "tanks.cfg",
         std::make_error_code(std::errc::filename_too_long)},
    };
    for (const auto &test : cases) {
        const Result error = WriteSettingsFile(test.target, DefaultTexts());
        EXPECT_EQ(error.cause(), test.reason) << test.target;
        // The file as the user named it, not where its links lead.
        EXPECT_TRUE(error.message().starts_with("Could not save " + ShownPath(test.target) + ":"))
            << error.message();
    }
    EXPECT_TRUE(fs::is_fifo(base / "fifo.cfg"));
    EXPECT_TRUE(fs::is_character_file("/dev/null"));
    EXPECT_EQ(folder.entries(), 5u);
}
#endif

TEST(AtomicFileAsUser, AFileTheUserMayNotWriteIsNotReplaced)
{
    if (SkipAsSuperuser())
        GTEST_SKIP();
    TestFolder folder;
    folder.write("tanks.cfg", "former");
    fs::permissions(folder.path() / "tanks.cfg", fs::perms::owner_read);
    EXPECT_EQ(WriteSettingsFile(folder.path() / "tanks.cfg", DefaultTexts()).cause(),
              std::errc::permission_denied);
    EXPECT_EQ(folder.read("tanks.cfg"), "former");
    EXPECT_EQ(folder.entries(), 1u);
    fs::permissions(folder.path() / "tanks.cfg", fs::perms::owner_all);
}

#ifndef _WIN32
TEST(AtomicFileAsUser, AWritableFileInAFolderTheUserMayNotWriteIsWrittenInPlace)
{
    if (SkipAsSuperuser())
        GTEST_SKIP();
    TestFolder folder;
    folder.write("tanks.cfg", std::string(5000, 'x')); // longer than the new text
    fs::permissions(folder.path() / "tanks.cfg", fs::perms(0640));
    fs::permissions(folder.path(), fs::perms(0555));
    const Restore restore{folder.path()};
    ASSERT_EQ(WriteSettingsFile(folder.path() / "tanks.cfg", DefaultTexts()).message(), "");
    EXPECT_EQ(folder.read("tanks.cfg").size(), 467u);
    EXPECT_EQ(fs::status(folder.path() / "tanks.cfg").permissions(), fs::perms(0640));

    // A new file cannot be made there: the folder's reason is given.
    EXPECT_EQ(WriteSettingsFile(folder.path() / "tanks.ini", DefaultTexts()).cause(),
              std::errc::permission_denied);
}

TEST(AtomicFileAsUser, AFolderTheUserMayNotOpenIsRefused)
{
    if (SkipAsSuperuser())
        GTEST_SKIP();
    TestFolder folder;
    fs::create_directory(folder.path() / "closed");
    fs::permissions(folder.path() / "closed", fs::perms::none);
    const Restore restore{folder.path() / "closed"};
    EXPECT_EQ(WriteSettingsFile(folder.path() / "closed" / "Updates" / "tanks.cfg", DefaultTexts())
                  .cause(),
              std::errc::permission_denied);
}
#endif

TEST(AtomicFile, LeftOverTemporariesOfTheFileAreRemovedAndNothingElse)
{
    TestFolder folder;
    for (const char *name :
         {".tanks.cfg.12345.tmp", ".tanks.cfg.7.tmp", ".tanks.cfg..tmp", ".tanks.cfg.1x.tmp",
          ".tanks.ini.12.tmp", "tanks.cfg.1.tmp", "tanks.cfg"})
        folder.write(name, "x");
    RemoveLeftOverTemporaries(folder.path() / "tanks.cfg");
    std::set<std::string> left;
    for (const auto &entry : fs::directory_iterator(folder.path()))
        left.insert(entry.path().filename().string());
    EXPECT_EQ(left, (std::set<std::string>{".tanks.cfg..tmp", ".tanks.cfg.1x.tmp",
                                           ".tanks.ini.12.tmp", "tanks.cfg.1.tmp", "tanks.cfg"}));
}
