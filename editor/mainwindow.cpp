#include "mainwindow.h"

#include "savesettings.h"

namespace brinevar {
namespace {

TankSettings FieldTexts(const MainWindowHost &host)
{
    TankSettings texts;
    for (std::size_t i = 0; i < texts.size(); ++i)
        texts[i] = host.FieldText(i);
    return texts;
}

void SetFieldTexts(MainWindowHost &host, const TankSettings &texts)
{
    for (std::size_t i = 0; i < texts.size(); ++i)
        host.SetFieldText(i, texts[i]);
}

} // namespace

std::string DescribeStoreError(std::string_view where, std::string_view reason)
{
    return "Could not save the Updates folder in " + std::string(where) + ":\n" +
           std::string(reason) +
           "\n\nThe folder is used until the program ends and is asked for again at the next "
           "start.";
}

MainWindow::MainWindow(MainWindowHost &host, const MainServices &services)
    : host_(host), services_(services)
{
}

MainWindow::~MainWindow() = default;

void MainWindow::Form_Load()
{
    SettingsStore &store = services_.store;
    ZTPath = store.GetSetting(kStoreApp, kStoreSection, kStoreKey, kNoPathSet);
    if (ZTPath == kNoPathSet) {
        ZTPath =
            host_.InputBox(kFolderPrompt, kFolderPromptTitle, services_.defaultUpdatesFolder());
        // The answer serves this run even when it cannot be kept for the next.
        if (const Result saved = store.SaveSetting(kStoreApp, kStoreSection, kStoreKey, ZTPath);
            !saved)
            host_.MsgBox(saved.message());
    }

    UndoInterruptedSave(ZTPath, services_.places);
    TankSettings settings = FieldTexts(host_);
    // Whatever keeps the copy from being read, the window opens with its
    // initial texts.
    if (const Result loaded = LoadSettings(ZTPath, services_.places, settings); !loaded)
        host_.MsgBox(loaded.message());
    else
        SetFieldTexts(host_, settings);
}

bool MainWindow::HasCheck(const ControlRow &row)
{
    const auto setting = FindSettingByField(row.name);
    return setting && Catalogue()[*setting].check;
}

bool MainWindow::LeaveField(const ControlRow &row)
{
    const auto setting = FindSettingByField(row.name);
    return setting && Validate(*setting);
}

bool MainWindow::Validate(std::size_t setting)
{
    const auto &check = Catalogue()[setting].check;
    if (!check || Passes(host_.FieldText(setting), *check, services_.userNumberFormat()))
        return false;
    host_.MsgBox(std::string(check->message));
    return true;
}

void MainWindow::cmdDefault_Click()
{
    SetFieldTexts(host_, DefaultTexts());
}

void MainWindow::Command3_Click()
{
    // A failed save has said why and keeps the window and every edit, so
    // that the user can retry.
    const TankSettings texts = FieldTexts(host_);
    Result saved = SaveSettingsFiles(ZTPath, texts, services_.places);
    if (!saved && OffersAdministrator(saved, services_.runElevated)) {
        if (!host_.AskSaveAsAdministrator(AdministratorOffer(saved)))
            return; // Cancel, after the box said why
        saved = SaveAsAdministrator(ZTPath, texts, services_.places, services_.runElevated);
    }
    if (!saved)
        host_.MsgBox(saved.message());
    else
        host_.Close();
}

void MainWindow::Command1_Click(int Index)
{
    ShowHelp("Command1", Index);
}

void MainWindow::Command2_Click(int Index)
{
    ShowHelp("Command2", Index);
}

void MainWindow::ShowHelp(std::string_view array, int index)
{
    for (const Setting &setting : Catalogue())
        if (setting.help && setting.help->array == array && setting.help->index == index)
            host_.MsgBox(std::string(setting.help->message));
}

void MainWindow::Label41_Click()
{
    host_.MsgBox(ZTPath);
}

void MainWindow::Label43_Click()
{
    // One about box for the run; it loads afresh at every showing.
    if (!about_)
        about_ = host_.CreateAbout();
    about_->ShowModal();
}

} // namespace brinevar
