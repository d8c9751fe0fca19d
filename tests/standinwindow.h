// A stand-in for the main window and the settings store, and one copy of
// the program over test folders, with windows made over them as main makes
// them: for the tests that drive MainWindow as a front end does.
#pragma once

#include "mainlayout.h"
#include "mainwindow.h"
#include "testfolder.h"

#include <gtest/gtest.h>

#include <map>
#include <optional>
#include <string>
#include <vector>

namespace standin {

using namespace brinevar;

class StandInWindow : public brinevar::MainWindowHost {
public:
    std::string FieldText(std::size_t setting) const override { return fields[setting]; }
    void SetFieldText(std::size_t setting, const std::string &text) override
    {
        fields[setting] = text;
    }
    void MsgBox(const std::string &text) override { messages.push_back(text); }
    bool AskSaveAsAdministrator(const std::string &text) override
    {
        offers.push_back(text);
        return saveAsAdministrator;
    }
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
    std::vector<std::string> offers; // of saving as administrator
    bool saveAsAdministrator = false;
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
inline std::string FoundUpdatesFolder()
{
    return "/home/player/Games/zoo/drive_c/Program Files/Microsoft Games/Zoo Tycoon/Updates/";
}

inline NumberFormat English()
{
    return {};
}

// One copy of the program: its folder, its user's folder, an Updates folder
// and the store, with windows made over them as main makes them.
struct Machine {
    TestFolder program, user, updates;
    MemoryStore store;
    ElevatedRunner runElevated = nullptr;

    std::string updatesFolder() const { return PathToUtf8(updates.path()) + "/"; }
    MainServices services(const std::filesystem::path &programFolder = {})
    {
        return {store, English, FoundUpdatesFolder,
                PlacesOf(programFolder.empty() ? program.path() : programFolder,
                         user.path() / "Brinevar"),
                runElevated};
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

} // namespace standin

using standin::English;
using standin::FoundUpdatesFolder;
using standin::Machine;
using standin::MemoryStore;
using standin::Session;
using standin::StandInWindow;
