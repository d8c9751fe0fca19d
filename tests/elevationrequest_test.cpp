// The elevated copy's request: what it writes, and every request it refuses
// without writing anything.
#include "elevationrequest.h"
#include "programfolder.h"
#include "testfolder.h"

#include <gtest/gtest.h>

#ifdef _WIN32
#include <windows.h>

#include <aclapi.h>
#endif

using namespace brinevar;
namespace fs = std::filesystem;

namespace {

Result WriteFile(const fs::path &file, const std::string &text)
{
    const SaveStep step{file, text};
    std::size_t done = 0;
    return LocalWriter().Write({&step, 1}, done);
}

// Lets every user write `path`, as a folder shared with others would.
void LetEveryoneWrite(const fs::path &path)
{
#ifdef _WIN32
    EXPLICIT_ACCESSW access{};
    access.grfAccessPermissions = GENERIC_ALL;
    access.grfAccessMode = GRANT_ACCESS;
    access.grfInheritance = NO_INHERITANCE;
    access.Trustee.TrusteeForm = TRUSTEE_IS_NAME;
    access.Trustee.ptstrName = const_cast<wchar_t *>(L"EVERYONE");
    PACL dacl = nullptr;
    ASSERT_EQ(SetEntriesInAclW(1, &access, nullptr, &dacl), ERROR_SUCCESS);
    ASSERT_EQ(SetNamedSecurityInfoW(const_cast<wchar_t *>(path.c_str()), SE_FILE_OBJECT,
                                    DACL_SECURITY_INFORMATION, nullptr, nullptr, dacl, nullptr),
              ERROR_SUCCESS);
    LocalFree(dacl);
#else
    fs::permissions(path, fs::perms::all);
#endif
}

// A user's folder holding a request for the Updates folder `updates`.
struct Requester {
    TestFolder user, updates;
    fs::path request = user.path() / "Brinevar" / "elevated-save.request";
    std::vector<std::pair<fs::path, std::string>> written;

    Requester()
    {
        fs::create_directory(request.parent_path());
#ifndef _WIN32
        fs::permissions(request.parent_path(), fs::perms::owner_all);
#endif
    }

    void put(const std::string &text) const
    {
        ASSERT_TRUE(WriteFile(request, text)) << ShownPath(request);
#ifndef _WIN32
        fs::permissions(request, fs::perms::owner_read | fs::perms::owner_write);
#endif
    }
    std::string text(std::vector<FileText> files) const
    {
        return FormatElevationRequest({updates.path(), std::move(files)});
    }
    // The copy's writer, noting what it is handed.
    struct NotingWriter : LocalWriter {
        std::vector<std::pair<fs::path, std::string>> &written;
        explicit NotingWriter(std::vector<std::pair<fs::path, std::string>> &written)
            : written(written)
        {
        }
        Result Write(std::span<const SaveStep> steps, std::size_t &done) override
        {
            for (const SaveStep &step : steps)
                written.emplace_back(step.file, step.text);
            return LocalWriter::Write(steps, done);
        }
    };
    Result carryOut()
    {
        NotingWriter writer(written);
        std::size_t done = 0;
        return CarryOutElevationRequest(request, writer, done);
    }
    // The request refused with a message that says `why`, nothing written.
    void expectRefused(const std::string &why)
    {
        const Result outcome = carryOut();
        EXPECT_FALSE(outcome);
        EXPECT_NE(outcome.message().find(why), std::string::npos) << outcome.message();
        EXPECT_TRUE(written.empty());
        EXPECT_EQ(updates.entries(), 0u);
    }
};

// Bytes that a line-by-line reading would take apart: line ends, a zero, a
// byte that is no UTF-8.
constexpr char kOddBytes[] = "[Tanks]\r\nx = \n\0\xff 1\r\n";
const FileText kGameFile{"tanks.cfg", std::string(kOddBytes, sizeof kOddBytes - 1)};

} // namespace

TEST(ElevationRequest, WritesEachFileInItsFolderInOrderWithEveryByte)
{
    Requester requester;
    const std::vector<FileText> files{
        {"tanks.cfg.original", "old\n3 1\n"}, {"tanks.cfg.bak", ""}, kGameFile};
    requester.put(requester.text(files));
    ASSERT_TRUE(requester.carryOut()) << requester.carryOut().message();
    ASSERT_EQ(requester.written.size(), files.size());
    for (std::size_t i = 0; i < files.size(); ++i) {
        EXPECT_EQ(requester.written[i].first, requester.updates.path() / files[i].name);
        EXPECT_EQ(requester.updates.read(files[i].name), files[i].bytes);
    }
}

TEST(ElevationRequest, AFirstKeptCopyNeverReplacesOneThatAppeared)
{
    Requester requester;
    ASSERT_TRUE(WriteFile(requester.updates.path() / "tanks.cfg.original", "kept"));
    requester.put(requester.text({{"tanks.cfg.original", "newer", true}, kGameFile}));
    EXPECT_FALSE(requester.carryOut());
    EXPECT_EQ(requester.updates.read("tanks.cfg.original"), "kept");
    EXPECT_FALSE(fs::exists(requester.updates.path() / "tanks.cfg"));
}

TEST(ElevationRequest, RefusesAnyFileButTheGameFileAndItsCopies)
{
    for (const std::string name :
         {"tanks.ini", "TANKS.CFG", "../tanks.cfg", "sub/tanks.cfg", "tanks.cfg.tmp", ""}) {
        SCOPED_TRACE(name);
        Requester requester;
        requester.put(requester.text({kGameFile, {name, "x"}}));
        requester.expectRefused("only tanks.cfg and its kept copies");
    }
    Requester twice;
    twice.put(twice.text({kGameFile, kGameFile}));
    twice.expectRefused("twice");
}

TEST(ElevationRequest, RefusesARequestCutShortOrWithAnythingAdded)
{
    Requester requester;
    const std::string whole = requester.text({kGameFile});
    ElevationRequest read;
    ASSERT_TRUE(ParseElevationRequest(whole, read));
    for (std::size_t size = 0; size < whole.size(); ++size)
        EXPECT_FALSE(ParseElevationRequest(whole.substr(0, size), read)) << size;
    EXPECT_FALSE(ParseElevationRequest(whole + "\n", read));
    EXPECT_FALSE(
        ParseElevationRequest(FormatElevationRequest({"relative/Updates", {kGameFile}}), read));
    requester.put(whole.substr(0, whole.size() - 1));
    requester.expectRefused("cut short");
}

TEST(ElevationRequest, RefusesARequestThatCannotBeRead)
{
    Requester missing;
    missing.expectRefused(ShownPath(missing.request));
    Requester folder;
    fs::create_directory(folder.request);
    folder.expectRefused(ShownPath(folder.request));
    Requester relative;
    relative.request = "elevated-save.request";
    relative.expectRefused("not a full path");
}

TEST(ElevationRequest, RefusesARequestThatOthersMayChange)
{
    Requester shared;
    shared.put(shared.text({kGameFile}));
    LetEveryoneWrite(shared.request.parent_path());
    shared.expectRefused("may be changed by other users");

    Requester writable;
    writable.put(writable.text({kGameFile}));
    LetEveryoneWrite(writable.request);
    writable.expectRefused("may be changed by other users");
}

TEST(ElevationRequest, RefusesALinkWhereAFileBelongs)
{
    Requester requester;
    TestFolder elsewhere;
    elsewhere.write("target", "kept");
    std::error_code error;
    fs::create_symlink(elsewhere.path() / "target", requester.updates.path() / "tanks.cfg.bak",
                       error);
    if (error)
        GTEST_SKIP() << "no symbolic links here: " << error.message();
    requester.put(requester.text({{"tanks.cfg.bak", "x"}, kGameFile}));
    EXPECT_FALSE(requester.carryOut());
    EXPECT_TRUE(requester.written.empty());
    EXPECT_EQ(elsewhere.read("target"), "kept");
    EXPECT_FALSE(fs::exists(requester.updates.path() / "tanks.cfg"));
}
