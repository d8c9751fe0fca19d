// What the main window does, through a stand-in for the window and the
// settings store: start-up, the commands, the checks, the help buttons and
// the about box, as a front end drives them by pressing layout rows.
#include "mainlayout.h"
#include "mainwindow.h"
#include "settingbyname.h"
#include "settingsfile.h"
#include "settingstext.h"
#include "testfolder.h"
#include "updatesfolder.h"

#include <gtest/gtest.h>

#include <chrono>
#include <functional>
#include <map>
#include <optional>

#ifdef _WIN32
#include "file.h"
#else
#include <sys/stat.h>
#endif

using namespace brinevar;

namespace {

class StandInWindow : public MainWindowHost {
public:
    std::string FieldText(std::size_t setting) const override { return fields[setting]; }
    void SetFieldText(std::size_t setting, const std::string &text) override
    {
        fields[setting] = text;
    }
    void MsgBox(const std::string &text) override { messages.push_back(text); }
    std::string InputBox(std::string_view prompt, std::string_view title,
                         const std::string &defaultAnswer) override
    {
        prompts.push_back({std::string(prompt), std::string(title), defaultAnswer});
        return answer.value_or(defaultAnswer);
    }
    std::unique_ptr<ModalBox> CreateAbout() override
    {
        ++aboutsCreated;
        return std::make_unique<CountedBox>(aboutShowings);
    }
    void Close() override { closed = true; }

    struct CountedBox : ModalBox {
        explicit CountedBox(int &showings) : showings(showings) {}
        void ShowModal() override { ++showings; }
        int &showings;
    };
    struct Prompt {
        std::string prompt, title, defaultAnswer;
    };

    TankSettings fields = InitialTexts();
    std::vector<std::string> messages;
    std::vector<Prompt> prompts;
    std::optional<std::string> answer; // nullopt: OK on the default answer
    int aboutsCreated = 0, aboutShowings = 0;
    bool closed = false;
};

class MemoryStore : public SettingsStore {
public:
    std::string GetSetting(std::string_view, std::string_view section, std::string_view key,
                           std::string_view defaultText) override
    {
        const auto found = values.find(Address(section, key));
        return found == values.end() ? std::string(defaultText) : found->second;
    }
    Result SaveSetting(std::string_view, std::string_view section, std::string_view key,
                       const std::string &text) override
    {
        if (refuse)
            return Result::Failure(DescribeStoreError("the store", "refused"));
        values[Address(section, key)] = text;
        return {};
    }
    static std::string Address(std::string_view section, std::string_view key)
    {
        return std::string(section) + "/" + std::string(key);
    }
    std::optional<std::string> path() const
    {
        const auto found = values.find("MZTPath/Path");
        return found == values.end() ? std::nullopt : std::optional(found->second);
    }

    std::map<std::string, std::string> values;
    bool refuse = false;
};

// The prompt's answer of a machine whose game is in a launcher's prefix.
std::string FoundUpdatesFolder()
{
    return "/home/player/Games/zoo/drive_c/Program Files/Microsoft Games/Zoo Tycoon/Updates/";
}

NumberFormat English()
{
    return {};
}

// One copy of the program: its folder, its user's folder, an Updates folder
// and the store, with windows made over them as main makes them.
struct Machine {
    TestFolder program, user, updates;
    MemoryStore store;

    std::string updatesFolder() const { return PathToUtf8(updates.path()) + "/"; }
    MainServices services(const std::filesystem::path &programFolder = {})
    {
        return {store, English, FoundUpdatesFolder,
                PlacesOf(programFolder.empty() ? program.path() : programFolder,
                         user.path() / "Brinevar")};
    }
};

// A window over `machine`, loaded.
struct Session {
    explicit Session(Machine &machine, const std::filesystem::path &programFolder = {})
        : window(host, machine.services(programFolder))
    {
        window.Form_Load();
    }

    // Presses the row `name` (member `index` of an array) as a front end does.
    void press(std::string_view name, int index = -1)
    {
        for (const ControlRow &row : MainLayout())
            if (row.name == name && row.index == index)
                return window.Press(row);
        ADD_FAILURE() << "no row " << name << " " << index;
    }
    // What "View ZT Path" shows.
    std::string shownPath()
    {
        press("Label41");
        return host.messages.empty() ? "(nothing shown)" : host.messages.back();
    }
    // The focus leaves the field `name`: true when it stays.
    bool leave(std::string_view name)
    {
        for (const ControlRow &row : MainLayout())
            if (row.name == name)
                return window.LeaveField(row);
        ADD_FAILURE() << "no row " << name;
        return false;
    }

    StandInWindow host;
    MainWindow window;
};

std::string FileOf(const TankSettings &texts)
{
    return FormatSettingsText(texts);
}

} // namespace

TEST(MainWindowStart, FirstStartAsksOnceAndStoresTheDefaultAnswer)
{
    const std::string offered = FoundUpdatesFolder();
    Machine machine;
    Session first(machine);
    ASSERT_EQ(first.host.prompts.size(), 1u);
    EXPECT_EQ(first.host.prompts[0].prompt,
              "Please enter the path of your Zoo Tycoon Update Folder!");
    EXPECT_EQ(first.host.prompts[0].title, "Folder Path");
    EXPECT_EQ(first.host.prompts[0].defaultAnswer, offered);
    EXPECT_EQ(first.shownPath(), offered);
    EXPECT_EQ(machine.store.path(), offered);

    Session second(machine);
    EXPECT_TRUE(second.host.prompts.empty());
    EXPECT_EQ(second.shownPath(), offered);
}

TEST(MainWindowStart, StoredTextsDecideWhetherToAsk)
{
    const std::pair<std::optional<std::string>, bool> cases[] = {
        {std::nullopt, true}, {"0", true}, {"0 ", false},
        {"00", false},        {"", false}, {"d:\\Games\\ZT\\Updates\\", false},
    };
    for (const auto &[stored, asks] : cases) {
        Machine machine;
        if (stored)
            machine.store.values["MZTPath/Path"] = *stored;
        StandInWindow host;
        host.answer = "typed\\";
        MainWindow window(host, machine.services());
        window.Form_Load();
        const std::string expected = asks ? "typed\\" : *stored;
        EXPECT_EQ(host.prompts.size(), asks ? 1u : 0u) << stored.value_or("(none)");
        EXPECT_EQ(machine.store.path(), expected);
        window.Label41_Click();
        EXPECT_EQ(host.messages, std::vector<std::string>{expected});
    }
}

TEST(MainWindowStart, CancelStoresTheEmptyPathAndIsNotAskedAgain)
{
    Machine machine;
    StandInWindow host;
    host.answer = "";
    MainWindow window(host, machine.services());
    window.Form_Load();
    EXPECT_EQ(machine.store.path(), "");
    Session next(machine);
    EXPECT_TRUE(next.host.prompts.empty());
    EXPECT_EQ(next.shownPath(), "");
}

TEST(MainWindowStart, AStoreThatCannotKeepThePathSaysSoAndThePathServesThisRun)
{
    Machine machine;
    machine.store.refuse = true;
    StandInWindow host;
    host.answer = "typed\\";
    MainWindow window(host, machine.services());
    window.Form_Load();
    ASSERT_EQ(host.messages.size(), 1u);
    EXPECT_EQ(host.messages[0].rfind("Could not save the Updates folder in the store:", 0), 0u);
    window.Label41_Click();
    EXPECT_EQ(host.messages.back(), "typed\\");
}

TEST(MainWindowStart, TheCopyFillsOnlyTheFieldsItNames)
{
    Machine machine;
    machine.store.values["MZTPath/Path"] = machine.updatesFolder();
    {
        Session none(machine);
        EXPECT_EQ(none.host.fields, InitialTexts());
        EXPECT_TRUE(none.host.messages.empty());
    }
    machine.program.write("tanks.ini", "[tank]\r\nTANKTERRAIN = 25\r\nsaltWater=3.25\r\n");
    Session some(machine);
    auto expected = InitialTexts();
    TextOf(expected, "saltWater") = "3.25";
    TextOf(expected, "tankTerrain") = "25"; // out of range, loaded all the same, never reported
    EXPECT_EQ(some.host.fields, expected);
    EXPECT_EQ(TextOf(some.host.fields, "initialSink"), "2"); // initial, not default
    EXPECT_TRUE(some.host.messages.empty());
}

namespace {

// Puts what is no settings file in place of tanks.ini (made by `make`) and
// expects the start to report it with `reason` and open at once all the same.
void ExpectReportedAtOnce(const std::string &reason,
                          const std::function<void(const std::filesystem::path &)> &make)
{
    Machine machine;
    machine.store.values["MZTPath/Path"] = machine.updatesFolder();
    const auto copy = machine.program.path() / "tanks.ini";
    make(copy);
    const auto start = std::chrono::steady_clock::now();
    Session session(machine);
    // Far above a healthy start, even sanitized on a busy machine; far
    // below a read that waits on a pipe or a device.
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(6));
    EXPECT_EQ(session.host.messages,
              std::vector<std::string>{"Could not read " + PathToUtf8(copy) + ":\n" + reason});
    EXPECT_EQ(session.host.fields, InitialTexts());
}

} // namespace

TEST(MainWindowStart, WhatIsNoSettingsFileIsReportedAndTheWindowOpensAtOnce)
{
    SCOPED_TRACE("huge");
    ExpectReportedAtOnce("File too large", [](const std::filesystem::path &copy) {
        std::ofstream(copy) << ""; // sparse: nothing written
        std::filesystem::resize_file(copy, kMaxSettingsFileSize + 1);
    });
}

#ifdef _WIN32
TEST(MainWindowStart, AFolderInPlaceOfTheSettingsFileIsReportedInWindowsOwnWords)
{
    // Windows refuses to open a folder as a file at all (ERROR_ACCESS_DENIED).
    ExpectReportedAtOnce(SystemError(5).message(), [](const std::filesystem::path &copy) {
        std::filesystem::create_directory(copy);
    });
}
#else
TEST(MainWindowStart, AFolderPipeOrDeviceInPlaceOfTheSettingsFileIsNoOrdinaryFile)
{
    const std::pair<const char *, std::function<void(const std::filesystem::path &)>> kinds[] = {
        {"folder", [](const auto &copy) { std::filesystem::create_directory(copy); }},
        {"fifo", [](const auto &copy) { ASSERT_EQ(mkfifo(copy.c_str(), 0644), 0); }},
        {"zero", [](const auto &copy) { std::filesystem::create_symlink("/dev/zero", copy); }},
    };
    for (const auto &[kind, make] : kinds) {
        SCOPED_TRACE(kind);
        ExpectReportedAtOnce("Not an ordinary file", make);
    }
}
#endif

TEST(MainWindowCommands, SaveWritesBothFilesAlikeAndCloses)
{
    Machine machine;
    machine.store.values["MZTPath/Path"] = machine.updatesFolder();
    Session session(machine);
    TextOf(session.host.fields, "saltWater") = "2.75";
    TextOf(session.host.fields, "tankTerrain") = "25"; // refused by its check, but never left
    TextOf(session.host.fields, "waterPurityDecayTime") = "";
    const TankSettings saved = session.host.fields;
    session.press("Command3");
    EXPECT_EQ(machine.updates.read("tanks.cfg"), FileOf(saved));
    EXPECT_EQ(machine.program.read("tanks.ini"), FileOf(saved));
    EXPECT_TRUE(session.host.messages.empty());
    EXPECT_TRUE(session.host.closed);

    // The next start shows what was saved, except the empty text it passes over.
    Session next(machine);
    TankSettings expected = saved, initial = InitialTexts();
    TextOf(expected, "waterPurityDecayTime") = TextOf(initial, "waterPurityDecayTime");
    EXPECT_EQ(next.host.fields, expected);
}

TEST(MainWindowCommands, SetToDefaultChangesOnlyTheFields)
{
    Machine machine;
    machine.store.values["MZTPath/Path"] = machine.updatesFolder();
    machine.program.write("tanks.ini", "tankTerrainShow = 99\r\n");
    Session session(machine);
    session.press("cmdDefault");
    EXPECT_EQ(session.host.fields, DefaultTexts());
    EXPECT_TRUE(session.host.messages.empty());
    EXPECT_FALSE(session.host.closed);
    EXPECT_EQ(machine.updates.entries(), 0u);
    EXPECT_EQ(machine.program.read("tanks.ini"), "tankTerrainShow = 99\r\n");

    session.press("Command3");
    const std::string file = machine.updates.read("tanks.cfg");
    EXPECT_EQ(file.size(), 467u);
    EXPECT_NE(file.find("\r\ninitialSink = 5\r\n"), std::string::npos);
    EXPECT_NE(file.find("\r\ntankTerrainShow = 17\r\n"), std::string::npos);
    EXPECT_EQ(machine.program.read("tanks.ini"), file);
}

TEST(MainWindowCommands, AFailedSaveSaysWhyAndKeepsTheWindowAndTheFormerCopy)
{
    Machine machine;
    machine.store.values["MZTPath/Path"] = machine.updatesFolder() + "no such folder/";
    machine.program.write("tanks.ini", "saltWater = 9\r\n");
    Session session(machine);
    TextOf(session.host.fields, "freshWater") = "edited";
    const TankSettings before = session.host.fields;
    session.press("Command3");
    ASSERT_EQ(session.host.messages.size(), 1u);
    EXPECT_NE(session.host.messages[0].find("tanks.cfg"), std::string::npos);
    EXPECT_NE(session.host.messages[0].find("no such folder"), std::string::npos);
    EXPECT_FALSE(session.host.closed);
    EXPECT_EQ(session.host.fields, before);
    EXPECT_EQ(machine.program.read("tanks.ini"), "saltWater = 9\r\n");
}

TEST(MainWindowCommands, AnEmptyPathSavesIntoTheWorkingFolder)
{
    Machine machine;
    machine.store.values["MZTPath/Path"] = "";
    TestFolder working;
    const auto former = std::filesystem::current_path();
    std::filesystem::current_path(working.path());
    Session session(machine);
    session.press("Command3");
    std::filesystem::current_path(former);
    EXPECT_EQ(working.read("tanks.cfg"), FileOf(InitialTexts()));
}

TEST(MainWindowCommands, AnUnwritableProgramFolderKeepsTheCopyPerUser)
{
    Machine machine;
    machine.store.values["MZTPath/Path"] = machine.updatesFolder();
    // A program folder that cannot be written: here one that does not exist.
    const auto installed = machine.program.path() / "installed" / "bin";
    {
        Session session(machine, installed);
        TextOf(session.host.fields, "wallHeightPriceDivisor") = "7";
        session.press("Command3");
        EXPECT_TRUE(session.host.messages.empty());
    }
    EXPECT_TRUE(std::filesystem::exists(machine.user.path() / "Brinevar" / "tanks.ini"));
    Session next(machine, installed);
    EXPECT_EQ(TextOf(next.host.fields, "wallHeightPriceDivisor"), "7");
}

TEST(MainWindowCommands, TheAboutBoxIsMadeOnceAndShownAtEveryPress)
{
    Machine machine;
    machine.store.values["MZTPath/Path"] = machine.updatesFolder();
    Session session(machine);
    EXPECT_EQ(session.host.aboutsCreated, 0);
    session.press("Label43");
    session.press("Label43");
    EXPECT_EQ(session.host.aboutsCreated, 1);
    EXPECT_EQ(session.host.aboutShowings, 2);
    EXPECT_TRUE(session.host.messages.empty());
}

TEST(MainWindowChecks, LeavingAFieldRunsItsCheckOnly)
{
    Machine machine;
    machine.store.values["MZTPath/Path"] = machine.updatesFolder();
    Session session(machine);
    const std::pair<const char *, const char *> refusals[] = {
        {"Text7", "The value in Tank Terrain must be a number from 0 to 17"},
        {"Text8", "The value in Show Tank Terrain must be a number from 0 to 17"},
        {"Text12", "The value in Initial Fill State must be either 0 or 1"},
    };
    for (const auto &[field, message] : refusals) {
        const std::size_t setting = *FindSettingByField(field);
        session.host.fields[setting] = " 18x";
        session.host.messages.clear();
        EXPECT_TRUE(session.leave(field)) << field;
        EXPECT_EQ(session.host.messages, std::vector<std::string>{message});
        EXPECT_EQ(session.host.fields[setting], " 18x"); // never changed
        session.host.fields[setting] = " 1 ";
        session.host.messages.clear();
        EXPECT_FALSE(session.leave(field)) << field;
        EXPECT_TRUE(session.host.messages.empty());
    }
    // A field without a check lets any text go.
    TextOf(session.host.fields, "initialSink") = "not a number";
    EXPECT_FALSE(session.leave("Text19"));
    EXPECT_TRUE(session.host.messages.empty());
}

TEST(MainWindowChecks, EachHelpButtonShowsItsAdviceAndChangesNothing)
{
    Machine machine;
    machine.store.values["MZTPath/Path"] = machine.updatesFolder();
    Session session(machine);
    const struct {
        const char *array;
        int index;
        const char *advice;
    } buttons[] = {
        {"Command1", 0,
         "This is how much the game will charge you for each square of saltwater as you "
         "raise/lower the tank wall.  I did not test max/min numbers"},
        {"Command1", 1,
         "This is how much the game will charge you for each square of freshwater as you "
         "raise/lower the tank wall.  I did not test max/min numbers"},
        {"Command1", 2,
         "This sets how much the game will charge you to raise/lower the wall.  If you set "
         "wallHeightPriceDivisor, saltwater, freshwater all to 0 it will charge you $0.  Bonus: "
         "Set the value to a negative number (e.g. -5)"},
        {"Command1", 5, "Can only be set to 1 or 0"},
        {"Command1", 9, "The saltiness of the tank on creation"},
        {"Command2", 0,
         "This number seems to have a negative effect if greater than 100 million miliseconds"},
        {"Command2", 3,
         "Can be set to a positive number but looks funny because the water is above the tank "
         "wall also the Staff need to climb down the ladder in order to feed the fishes - i.e. "
         "no animals ever get fed"},
        {"Command2", 5,
         "I have set this number to 200 without any problems I do not know about negative "
         "numbers."},
        {"Command2", 9, "I have not messed with this number at all."},
    };
    for (const auto &button : buttons) {
        session.host.messages.clear();
        session.press(button.array, button.index);
        EXPECT_EQ(session.host.messages, std::vector<std::string>{button.advice})
            << button.array << "(" << button.index << ")";
    }
    // Members that the arrays do not have show nothing.
    session.host.messages.clear();
    session.window.Command1_Click(3);
    session.window.Command2_Click(1);
    EXPECT_TRUE(session.host.messages.empty());
    EXPECT_EQ(session.host.fields, InitialTexts());
}
