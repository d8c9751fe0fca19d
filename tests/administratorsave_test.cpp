// The offer to save as administrator after a save that the system refused,
// as an ordinary user whose Updates folder only an administrator may write.
// No consent prompt can be answered here: what stands in for it runs the
// elevated copy's work in this process, with the folder made writable while
// it runs as the administrator's rights would make it.
#include "administratorsave.h"
#include "elevationrequest.h"
#include "folderrules.h"
#include "settingsfile.h"
#include "settingstext.h"
#include "standinwindow.h"

#include <gtest/gtest.h>

using namespace brinevar;
namespace fs = std::filesystem;

namespace {

// What the stand-in for the consent prompt was asked, and answers.
struct Consent {
    bool given = false;
    bool rights = true; // false: the copy gets no more rights than this user
    fs::path updates;
    std::vector<ElevationRequest> requests;
};
Consent *consent = nullptr;

Outcome<unsigned long> StandInForTheConsentPrompt(const fs::path &request)
{
    std::string text;
    EXPECT_TRUE(ReadPrivateFile(request, 1 << 22, text)) << ShownPath(request);
    ElevationRequest read;
    EXPECT_TRUE(ParseElevationRequest(text, read));
    consent->requests.push_back(read);
    if (!consent->given)
        return std::make_error_code(std::errc::operation_canceled);
    if (consent->rights)
        fs::permissions(consent->updates, fs::perms::owner_all);
    unsigned long exitCode = 0;
    (void)RunElevatedCopy(PathToUtf8(request), exitCode);
    fs::permissions(consent->updates, fs::perms::owner_read | fs::perms::owner_exec);
    return exitCode;
}

// An ordinary user's machine whose Updates folder the user may not write,
// its window loaded with one field edited.
struct Protected {
    Machine machine;
    Consent answers;
    std::optional<Session> session;

    Protected(bool canAsk = true)
    {
        answers.updates = machine.updates.path();
        consent = &answers;
        if (canAsk)
            machine.runElevated = StandInForTheConsentPrompt;
        machine.store.values["MZTPath/Path"] = machine.updatesFolder();
        fs::permissions(answers.updates, fs::perms::owner_read | fs::perms::owner_exec);
        session.emplace(machine);
        session->host.fields[4] = "9";
    }
    ~Protected()
    {
        fs::permissions(answers.updates, fs::perms::owner_all);
        consent = nullptr;
    }
    bool protectedFolder() const { return !IsWritableFolder(answers.updates); }
    StandInWindow &host() { return session->host; }
    fs::path gameFile() const { return answers.updates / "tanks.cfg"; }
    fs::path copy() const { return machine.program.path() / "tanks.ini"; }
    // Nothing was written and the window keeps the edit.
    void expectNothingSaved()
    {
        EXPECT_FALSE(host().closed);
        EXPECT_EQ(host().fields[4], "9");
        EXPECT_FALSE(fs::exists(gameFile()));
        EXPECT_FALSE(fs::exists(copy()));
        EXPECT_FALSE(fs::exists(machine.user.path() / "Brinevar" / "elevated-save.request"));
    }
};

constexpr const char *kNotProtected =
    "this user may write the folder anyway (root, or Wine as root); "
    "editor_tests_unprivileged runs this as nobody";

} // namespace

TEST(SaveAsAdministratorAsUser, AnAccessDeniedSaveOffersItAndCancelKeepsEverything)
{
    Protected machine;
    if (!machine.protectedFolder())
        GTEST_SKIP() << kNotProtected;
    machine.session->press("Command3");
    ASSERT_EQ(machine.host().offers.size(), 1u);
    const std::string &offer = machine.host().offers[0];
    EXPECT_TRUE(offer.starts_with("Could not save " + ShownPath(machine.gameFile()) + ":\n"))
        << offer;
    EXPECT_NE(offer.find("only an administrator"), std::string::npos) << offer;
    EXPECT_TRUE(machine.host().messages.empty()); // the offer said why, once
    EXPECT_TRUE(machine.answers.requests.empty());
    machine.expectNothingSaved();

    // Where the system has no such rights, the failure is told as ever.
    Protected noRights(false);
    noRights.session->press("Command3");
    EXPECT_TRUE(noRights.host().offers.empty());
    ASSERT_EQ(noRights.host().messages.size(), 1u);
    noRights.expectNothingSaved();
}

TEST(SaveAsAdministratorAsUser, ARefusedConsentKeepsTheWindowAndWritesNothing)
{
    Protected machine;
    if (!machine.protectedFolder())
        GTEST_SKIP() << kNotProtected;
    machine.host().saveAsAdministrator = true;
    machine.session->press("Command3");
    EXPECT_EQ(machine.answers.requests.size(), 1u);
    ASSERT_EQ(machine.host().messages.size(), 1u);
    const std::string &message = machine.host().messages[0];
    EXPECT_TRUE(message.starts_with("Could not save " + ShownPath(machine.gameFile()) + ":\n"))
        << message;
    EXPECT_NE(message.find("did not give administrator rights"), std::string::npos) << message;
    machine.expectNothingSaved();

    // A copy that fails has told why itself; the program says which file.
    Protected failing;
    failing.host().saveAsAdministrator = true;
    failing.answers.given = true;
    failing.answers.rights = false;
    failing.session->press("Command3");
    ASSERT_EQ(failing.host().messages.size(), 1u);
    EXPECT_EQ(failing.host().messages[0],
              "Could not save " + ShownPath(failing.gameFile()) +
                  ":\nSaving with administrator rights failed, for the reason just shown. The "
                  "window keeps your values; tanks.ini was not saved.");
    failing.expectNothingSaved();
}

TEST(SaveAsAdministratorAsUser, TheElevatedCopyWritesTheGameFileThenTheProgramItsCopy)
{
    Protected machine;
    if (!machine.protectedFolder())
        GTEST_SKIP() << kNotProtected;
    machine.host().saveAsAdministrator = true;
    machine.answers.given = true;
    machine.session->press("Command3");
    EXPECT_TRUE(machine.host().messages.empty()) << machine.host().messages[0];
    EXPECT_TRUE(machine.host().closed);
    ASSERT_EQ(machine.answers.requests.size(), 1u);
    const ElevationRequest &request = machine.answers.requests[0];
    EXPECT_TRUE(SameFolder(request.folder, machine.answers.updates)) << ShownPath(request.folder);
    ASSERT_EQ(request.files.size(), 1u);
    EXPECT_EQ(request.files[0].name, "tanks.cfg");
    TankSettings saved = InitialTexts();
    ASSERT_TRUE(ReadSettingsFile(machine.gameFile(), saved));
    EXPECT_EQ(saved, machine.host().fields);
    const auto bytes = [](const fs::path &file) {
        std::ifstream in(file, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), {});
    };
    EXPECT_EQ(bytes(machine.gameFile()), bytes(machine.copy()));
    EXPECT_FALSE(fs::exists(machine.machine.user.path() / "Brinevar" / "elevated-save.request"));
}
