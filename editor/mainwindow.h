// What frmMain does, whatever toolkit draws it: start-up, the commands, the
// range checks and the help buttons. A front end draws the layout, implements
// MainWindowHost, and forwards two events: a control was pressed (Press, with
// its layout row) and the focus wants to leave a field (LeaveField).
#pragma once

#include "administratorsave.h"
#include "catalogue.h"
#include "controlrow.h"
#include "programfolder.h"
#include "rangecheck.h"
#include "result.h"

#include <memory>
#include <string>
#include <string_view>

namespace brinevar {

// The per-user store's address of the Updates folder, and the stored text
// that means no folder has been given yet.
inline constexpr std::string_view kStoreApp = "Brinevar";
inline constexpr std::string_view kStoreSection = "MZTPath";
inline constexpr std::string_view kStoreKey = "Path";
inline constexpr std::string_view kNoPathSet = "0";

inline constexpr std::string_view kFolderPrompt =
    "Please enter the path of your Zoo Tycoon Update Folder!";
inline constexpr std::string_view kFolderPromptTitle = "Folder Path";
// The prompt's button that opens the system's folder picker; the picked
// folder becomes the answer as FolderAsAnswer writes it.
inline constexpr std::string_view kFolderPromptBrowse = "Browse\u2026";

// A modal box that can be shown again and again.
class ModalBox {
public:
    virtual ~ModalBox() = default;
    // Shows the box; returns when the user has closed it.
    virtual void ShowModal() = 0;
};

// What the window of frmMain can do.
class MainWindowHost {
public:
    virtual ~MainWindowHost() = default;

    // The text of the field that holds the setting at catalogue index `setting`.
    virtual std::string FieldText(std::size_t setting) const = 0;
    // Replaces that text as the program does: no check runs.
    virtual void SetFieldText(std::size_t setting, const std::string &text) = 0;

    // A modal message box: the text, one OK button, no icon, title "Brinevar".
    virtual void MsgBox(const std::string &text) = 0;
    // A modal input box; OK returns the answer, Cancel or closing the empty text.
    virtual std::string InputBox(std::string_view prompt, std::string_view title,
                                 const std::string &defaultAnswer) = 0;

    // A modal box with `text` and the buttons kSaveAsAdministrator and Cancel:
    // true for the first. Only asked where MainServices::runElevated is set.
    virtual bool AskSaveAsAdministrator(const std::string &text)
    {
        MsgBox(text);
        return false;
    }

    // Creates the about box over this window, not yet shown.
    virtual std::unique_ptr<ModalBox> CreateAbout() = 0;

    // Closes the window, which ends the program.
    virtual void Close() = 0;
};

// The per-user settings store, addressed by application, section and key.
class SettingsStore {
public:
    virtual ~SettingsStore() = default;
    // The stored text, or `defaultText` when none is stored.
    virtual std::string GetSetting(std::string_view appName, std::string_view section,
                                   std::string_view key, std::string_view defaultText) = 0;
    virtual Result SaveSetting(std::string_view appName, std::string_view section,
                               std::string_view key, const std::string &text) = 0;
};

// What SaveSetting says when the store cannot keep the Updates folder: where
// it is kept (`where`, a file or registry key) and why not.
std::string DescribeStoreError(std::string_view where, std::string_view reason);

// What main hands the window: the services of the machine and the places of
// this copy of the program.
struct MainServices {
    SettingsStore &store;
    NumberFormat (*userNumberFormat)(); // how the user's regional settings write numbers
    // The folder prompt's answer (see DefaultUpdatesFolder); asked only when
    // the prompt is shown.
    std::string (*defaultUpdatesFolder)();
    Places places;
    ElevatedRunner runElevated = nullptr; // null: the system has no rights to ask for
};

class MainWindow : public FormBehaviour {
public:
    MainWindow(MainWindowHost &host, const MainServices &services);
    ~MainWindow() override;

    // The load step, before the window is first shown: the Updates folder
    // (asked for when none is stored), then the fields from tanks.ini, or
    // without one from the game's tanks.cfg (see LoadSettings).
    void Form_Load();

    // The focus wants to leave the field of `row`: true (Cancel) keeps it
    // there, after the field's check has said why. A field without a check
    // always lets it go.
    bool LeaveField(const ControlRow &row);
    // Whether leaving the field of `row` runs a check at all.
    static bool HasCheck(const ControlRow &row);

    // The handlers that the layout rows name.
    void cmdDefault_Click();
    void Command3_Click();
    void Command1_Click(int Index);
    void Command2_Click(int Index);
    void Label41_Click();
    void Label43_Click();
    // The check of the field holding setting `setting`: true (Cancel) when
    // its text is refused, after its message.
    bool Validate(std::size_t setting);

private:
    void ShowHelp(std::string_view array, int index);

    MainWindowHost &host_;
    MainServices services_;
    std::string ZTPath;
    std::unique_ptr<ModalBox> about_; // one for the run, made at the first "About"
};

} // namespace brinevar
