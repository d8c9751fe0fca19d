// What the next start does with the journal of a save in place that was cut
// short: it puts back only what the cut write can have torn.
#include "inplacewrite.h"
#include "programfolder.h"
#include "settingsfile.h"
#include "testfolder.h"

#include <gtest/gtest.h>

#include <string>

using namespace brinevar;

namespace {

// A journal as a save writes it: the sizes, the file's name, the old text and
// the new.
std::string Journal(const std::filesystem::path &file, const std::string &former,
                    const std::string &fresh)
{
    const std::string name = PathToUtf8(file);
    return "brinevar overwrite " + std::to_string(name.size()) + ' ' +
           std::to_string(former.size()) + ' ' + std::to_string(fresh.size()) + '\n' + name +
           former + fresh;
}

} // namespace

TEST(UndoInterruptedOverwrite, PutsBackATornWriteAndLeavesAnythingElseByteForByte)
{
    TestFolder folder;
    const auto file = folder.path() / "tanks.cfg";
    const auto journal = folder.path() / "save.journal";
    const std::string shorter = "saltWater = 1.5\r\n", longer = "saltWater = 1.25\r\nfresh = 1\r\n";
    struct Case {
        const char *what;
        std::string former, fresh, now;
        bool putBack;
    };
    const Case cases[] = {
        {"the new text's beginning over the old", longer, shorter,
         shorter.substr(0, 15) + longer.substr(15), true},
        {"the new text padded to the old length, not yet cut", longer, shorter,
         shorter + std::string(longer.size() - shorter.size(), '\n'), true},
        {"the old text with part of the room made for a longer new one", shorter, longer,
         shorter + "\n\n\n", true},
        {"the new text's beginning over the old text and its room", shorter, longer,
         longer.substr(0, 20) + std::string(longer.size() - 20, '\n'), true},
        {"the whole new text", shorter, longer, longer, false},
        {"the old text", shorter, longer, shorter, false},
        {"an edit by hand since", longer, shorter, "saltWater = 3\r\n", false},
        {"the old text edited by hand", longer, shorter, "saltWater = 1.75\r\nfresh = 1\r\n",
         false},
        {"the new text with a line added by hand", shorter, longer, longer + "x = 1\r\n", false},
        {"an empty file", shorter, longer, "", false},
    };
    for (const Case &c : cases) {
        ASSERT_TRUE(!c.putBack || c.now != c.former) << c.what;
        folder.write("tanks.cfg", c.now);
        folder.write("save.journal", Journal(file, c.former, c.fresh));
        UndoInterruptedOverwrite(journal, {file});
        EXPECT_EQ(folder.read("tanks.cfg"), c.putBack ? c.former : c.now) << c.what;
        EXPECT_FALSE(std::filesystem::exists(journal)) << c.what;
    }
}

TEST(UndoInterruptedOverwrite, AJournalLargerThanAnySaveWritesIsRemovedUnread)
{
    TestFolder folder;
    const auto file = folder.path() / "tanks.cfg";
    const auto journal = folder.path() / "save.journal";
    // Well formed, and the file holds what the cut write would have left, but
    // no save journals an old text longer than a settings file.
    const std::string former(std::size_t(kMaxSettingsFileSize) + 1, 'o');
    const std::string torn = "new" + former.substr(3);
    folder.write("tanks.cfg", torn);
    folder.write("save.journal", Journal(file, former, "new"));
    UndoInterruptedOverwrite(journal, {file});
    EXPECT_TRUE(folder.read("tanks.cfg") == torn); // not a megabyte of difference
    EXPECT_FALSE(std::filesystem::exists(journal));

    // One of the largest that a save writes is still followed.
    const std::string largest(std::size_t(kMaxSettingsFileSize), 'o');
    folder.write("tanks.cfg", "nnn" + largest.substr(3));
    folder.write("save.journal", Journal(file, largest, std::string(largest.size(), 'n')));
    UndoInterruptedOverwrite(journal, {file});
    EXPECT_TRUE(folder.read("tanks.cfg") == largest);
    EXPECT_FALSE(std::filesystem::exists(journal));
}
