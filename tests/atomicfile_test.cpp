#include "atomicfile.h"
#include "testfolder.h"

#include <gtest/gtest.h>

using namespace brinevar;

TEST(AtomicFile, ReplacesTheWholeFileOnCommit)
{
    TestFolder folder;
    const auto target = folder.path() / "tanks.cfg";
    folder.write("tanks.cfg", std::string(5000, 'x'));
    {
        AtomicFile file(target);
        file.write("short");
        file.commit();
    }
    EXPECT_EQ(folder.read("tanks.cfg"), "short");
    EXPECT_EQ(folder.entries(), 1u);
}

TEST(AtomicFile, AFailureBeforeCommitLeavesTheFormerFileAndNoLitter)
{
    TestFolder folder;
    folder.write("tanks.cfg", "former text");
    try {
        AtomicFile file(folder.path() / "tanks.cfg");
        file.write("half of the new");
        throw std::runtime_error("injected fault in the middle of a write");
    } catch (const std::runtime_error &) {
    }
    EXPECT_EQ(folder.read("tanks.cfg"), "former text");
    EXPECT_EQ(folder.entries(), 1u);
}

TEST(AtomicFile, FailuresNameTheFileAndTheReason)
{
    TestFolder folder;
    const auto missing = folder.path() / "no such folder" / "tanks.cfg";
    try {
        AtomicFile file(missing);
        FAIL() << "a file in a missing folder was opened";
    } catch (const FileError &error) {
        EXPECT_EQ(error.file(), missing);
        EXPECT_EQ(error.reason(), std::errc::no_such_file_or_directory);
        EXPECT_NE(std::string(error.what()).find("tanks.cfg"), std::string::npos);
    }

    std::filesystem::create_directory(folder.path() / "a folder");
    EXPECT_THROW(AtomicFile(folder.path() / "a folder"), FileError);
    EXPECT_TRUE(std::filesystem::is_directory(folder.path() / "a folder"));
}
