// What frmMain does, whatever toolkit draws it: start-up, the commands, the
// range checks and the help buttons. A front end implements MainWindowHost
// (the field texts, its modal boxes, its per-user store) and calls these from
// the window's event handlers.
#pragma once

#include "catalogue.h"
#include "rangecheck.h"

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

    // The per-user store: the stored text, or `defaultText` when none is stored.
    virtual std::string GetSetting(std::string_view appName, std::string_view section,
                                   std::string_view key, std::string_view defaultText) = 0;
    // Stores `text`; returns an empty text on success, else what went wrong.
    virtual std::string SaveSetting(std::string_view appName, std::string_view section,
                                    std::string_view key, const std::string &text) = 0;

    // How the user's regional settings write numbers.
    virtual NumberFormat UserNumberFormat() const = 0;
};

TankSettings FieldTexts(const MainWindowHost &host);
void SetFieldTexts(MainWindowHost &host, const TankSettings &texts);

// What SaveSetting returns when the store cannot keep the Updates folder:
// where it is kept (`where`, a file or registry key) and why not.
std::string DescribeStoreError(std::string_view where, std::string_view reason);

// The load step: the Updates folder (asked for when none is stored), then the
// fields from tanks.ini. Returns the Updates folder for this run, `ZTPath`.
std::string FormLoad(MainWindowHost &host);

// "Set To Default": every field gets its default text.
void SetToDefault(MainWindowHost &host);

// "Save and Exit": writes tanks.cfg and tanks.ini. True when both were
// written and the window should close; on failure the message has been shown
// and the window stays with every edit.
bool SaveAndExit(MainWindowHost &host, const std::string &ztPath);

// The check of the field `field` ("Text7", "Text8", "Text12"), run before the
// focus leaves it: true (Cancel) when the text is refused, after its message.
// A field without a check always passes.
bool ValidateField(MainWindowHost &host, std::string_view field);

// A "?" button: the advice of member `index` of `array` ("Command1" or
// "Command2"); an index without one shows nothing.
void ShowHelp(MainWindowHost &host, std::string_view array, int index);

} // namespace brinevar
