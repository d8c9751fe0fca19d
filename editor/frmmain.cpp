#include "frmmain.h"

#include "dialogs.h"
#include "programfolder.h"
#include "savesettings.h"
#include "settingsfile.h"
#include "settingsstore.h"
#include "updatesfolder.h"
#include "version.h"

#include <QLineEdit>

using namespace brinevar;

frmMain::frmMain(QWidget *parent) : QWidget(parent)
{
    setWindowTitle(QString::fromUtf8(kProgramTitle));
    const auto &catalogue = Catalogue();
    for (std::size_t i = 0; i < catalogue.size(); ++i) {
        fields_[i] = new QLineEdit(QString::fromUtf8(catalogue[i].initialText), this);
        fields_[i]->setObjectName(QString::fromUtf8(catalogue[i].field));
        fields_[i]->move(10, 10 + int(i) * 25);
    }
    Form_Load();
}

TankSettings frmMain::texts() const
{
    TankSettings texts;
    for (std::size_t i = 0; i < texts.size(); ++i)
        texts[i] = fields_[i]->text().toStdString();
    return texts;
}

void frmMain::setTexts(const TankSettings &texts)
{
    for (std::size_t i = 0; i < texts.size(); ++i)
        fields_[i]->setText(QString::fromStdString(texts[i]));
}

void frmMain::Form_Load()
{
    LoadUpdatesFolder();
    LoadSettingsCopy();
}

void frmMain::LoadUpdatesFolder()
{
    ZTPath = GetSetting(kStoreApp, kStoreSection, kStoreKey, kNoPathSet);
    if (ZTPath == kNoPathSet) {
        ZTPath = Dialogs::current().input(this, kFolderPrompt, kFolderPromptTitle,
                                          DefaultUpdatesFolder());
        SaveSetting(kStoreApp, kStoreSection, kStoreKey, ZTPath);
    }
}

void frmMain::LoadSettingsCopy()
{
    TankSettings settings = texts();
    try {
        ReadSettingsFile(ToFileSystemPath(SettingsCopyPath()), settings);
    } catch (const FileError &error) {
        // No copy yet is the normal first start; anything else is worth saying.
        if (error.reason() != std::errc::no_such_file_or_directory)
            MsgBox(this, DescribeFileError(QStringLiteral("read"), error));
        return;
    }
    setTexts(settings);
}

void frmMain::cmdDefault_Click() { SetToDefault(); }

void frmMain::SetToDefault() { setTexts(DefaultTexts()); }

void frmMain::Command3_Click()
{
    // A failed save keeps the window and the edits, so the user can retry.
    if (const auto failure = SaveSettingsFiles(ZTPath, texts())) {
        MsgBox(this, *failure);
        return;
    }
    close();
}

void frmMain::Label41_Click() { MsgBox(this, ZTPath); }

void frmMain::Label43_Click() {}
