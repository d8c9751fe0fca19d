#include "frmmain.h"

#include "dialogs.h"
#include "focusgate.h"
#include "formfont.h"
#include "frmabout.h"
#include "linklabel.h"
#include "mainlayout.h"
#include "programfolder.h"
#include "rangecheck.h"
#include "savesettings.h"
#include "settingsfile.h"
#include "settingsstore.h"
#include "updatesfolder.h"
#include "version.h"

#include <QGuiApplication>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QScreen>
#include <QStyle>

using namespace brinevar;

frmMain::frmMain(QWidget *parent) : QWidget(parent)
{
    setWindowTitle(ProgramTitle());
    BuildLayout();
    ConnectCommands();
    ConnectChecksAndHelp();
    Form_Load();
}

void frmMain::BuildLayout()
{
    // Sizable, but with no maximize box: the layout is fixed and would only
    // gain empty space.
    setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                   Qt::WindowCloseButtonHint);
    ApplyFormFont(this);

    const auto rows = MainLayout();
    const QWidgetList controls = BuildControls(this, rows);
    focusOrder_ = FocusOrder(rows, controls);
    Command3 = findChild<QPushButton *>(QStringLiteral("Command3"));
    cmdDefault = findChild<QPushButton *>(QStringLiteral("cmdDefault"));
    Label41 = findChild<LinkLabel *>(QStringLiteral("Label41"));
    Label43 = findChild<LinkLabel *>(QStringLiteral("Label43"));
    List1 = findChild<QListWidget *>(QStringLiteral("List1"));
    SetListColumns(List1, kTerrainListColumns);

    const auto &catalogue = Catalogue();
    for (std::size_t i = 0; i < catalogue.size(); ++i) {
        const Setting &setting = catalogue[i];
        const QString name = QString::fromUtf8(setting.name);
        fields_[i] = findChild<QLineEdit *>(QString::fromUtf8(setting.field));
        fields_[i]->setText(QString::fromUtf8(setting.initialText));
        fields_[i]->setAccessibleName(name);
        fields_[i]->setToolTip(QString::fromUtf8(setting.meaning));
        if (setting.help) {
            helpButton(QString::fromUtf8(setting.help->array), setting.help->index)
                ->setAccessibleName(QStringLiteral("Help on %1").arg(name));
        }
    }

    const QSize client(TwipsToPixels(kMainWidth), TwipsToPixels(kMainHeight));
    resize(client);
    if (const QScreen *screen = QGuiApplication::primaryScreen())
        setGeometry(QStyle::alignedRect(Qt::LeftToRight, Qt::AlignCenter, client,
                                        screen->availableGeometry()));
    fields_[0]->setFocus();
}

QPushButton *frmMain::helpButton(const QString &array, int index) const
{
    if (index < 0 || (array != u"Command1" && array != u"Command2"))
        return nullptr;
    return qobject_cast<QPushButton *>(FindControl(this, array, index));
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

void frmMain::ConnectCommands()
{
    connect(cmdDefault, &QPushButton::clicked, this, &frmMain::cmdDefault_Click);
    connect(Command3, &QPushButton::clicked, this, &frmMain::Command3_Click);
    connect(Label41, &LinkLabel::clicked, this, &frmMain::Label41_Click);
    connect(Label43, &LinkLabel::clicked, this, &frmMain::Label43_Click);
}

void frmMain::cmdDefault_Click()
{
    SetToDefault();
}

void frmMain::SetToDefault()
{
    setTexts(DefaultTexts());
}

void frmMain::Command3_Click()
{
    // A failed save keeps the window and the edits, so the user can retry.
    if (const auto failure = SaveSettingsFiles(ZTPath, texts())) {
        MsgBox(this, *failure);
        return;
    }
    close();
}

void frmMain::Label41_Click()
{
    MsgBox(this, ZTPath);
}

void frmMain::Label43_Click()
{
    // One about box for the run; it loads afresh at every showing.
    if (!about_)
        about_ = new frmAbout(this);
    about_->exec();
}

// Range checks and help buttons.

void frmMain::ConnectChecksAndHelp()
{
    auto *gate = new FocusGate(this);
    auto field = [this](const char *name) { return findChild<QLineEdit *>(name); };
    gate->setValidate(field("Text7"), [this](bool &Cancel) { Text7_Validate(Cancel); });
    gate->setValidate(field("Text8"), [this](bool &Cancel) { Text8_Validate(Cancel); });
    gate->setValidate(field("Text12"), [this](bool &Cancel) { Text12_Validate(Cancel); });

    for (QPushButton *button : findChildren<QPushButton *>(QStringLiteral("Command1")))
        connect(button, &QPushButton::clicked, this,
                [this, button] { Command1_Click(button->property("index").toInt()); });
    for (QPushButton *button : findChildren<QPushButton *>(QStringLiteral("Command2")))
        connect(button, &QPushButton::clicked, this,
                [this, button] { Command2_Click(button->property("index").toInt()); });
}

void frmMain::Text7_Validate(bool &Cancel)
{
    CheckRange("Text7", Cancel);
}

void frmMain::Text8_Validate(bool &Cancel)
{
    CheckRange("Text8", Cancel);
}

void frmMain::Text12_Validate(bool &Cancel)
{
    CheckRange("Text12", Cancel);
}

// Refuses the field's text, as it stands, with the message of its check.
void frmMain::CheckRange(std::string_view field, bool &Cancel)
{
    const std::size_t setting = *FindSettingByField(field);
    const RangeCheck &check = *Catalogue()[setting].check;
    if (Passes(fields_[setting]->text(), check))
        return;
    MsgBox(this, QString::fromUtf8(check.message));
    Cancel = true;
}

void frmMain::Command1_Click(int Index)
{
    ShowHelp("Command1", Index);
}

void frmMain::Command2_Click(int Index)
{
    ShowHelp("Command2", Index);
}

// The advice of the member `Index` of `array`; an index without one shows nothing.
void frmMain::ShowHelp(std::string_view array, int Index)
{
    for (const Setting &setting : Catalogue())
        if (setting.help && setting.help->array == array && setting.help->index == Index)
            MsgBox(this, QString::fromUtf8(setting.help->message));
}
