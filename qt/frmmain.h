// The main window: the twenty settings of tanks.cfg as text fields, and the
// commands that save them. What the window does lives in the toolkit-free
// editor library; this class draws it with Qt and wires the events.
#pragma once

#include "catalogue.h"
#include "mainwindow.h"

#include <QString>
#include <QWidget>

#include <array>

class QLineEdit;
class frmAbout;
class QListWidget;
class QPushButton;

namespace brinevar {
class Dialogs;
class LinkLabel;
} // namespace brinevar

class QLocale;

namespace brinevar {
// How `locale` writes numbers, for the range checks.
NumberFormat NumberFormatOf(const QLocale &locale);
} // namespace brinevar

class frmMain : public QWidget, private brinevar::MainWindowHost {
    Q_OBJECT

public:
    // Creates the window with its controls and their initial texts; it asks
    // its questions through `dialogs`, which must outlive it.
    explicit frmMain(brinevar::Dialogs &dialogs, QWidget *parent = nullptr);

    // The load step, before the window is first shown: the Updates folder,
    // then tanks.ini.
    void Form_Load();

private:
    // The window's commands.
    void cmdDefault_Click();
    void Command3_Click();
    void Label41_Click();
    void Label43_Click();
    // The "?" buttons: one handler per array, given the member's index.
    void Command1_Click(int Index);
    void Command2_Click(int Index);

    void BuildLayout();
    void PlaceOnScreen();
    void SetToDefault();
    void ConnectCommands();
    void ConnectChecksAndHelp();

    // What the toolkit-free window needs of this one.
    std::string FieldText(std::size_t setting) const override;
    void SetFieldText(std::size_t setting, const std::string &text) override;
    void MsgBox(const std::string &text) override;
    std::string InputBox(std::string_view prompt, std::string_view title,
                         const std::string &defaultAnswer) override;
    std::string GetSetting(std::string_view appName, std::string_view section, std::string_view key,
                           std::string_view defaultText) override;
    std::string SaveSetting(std::string_view appName, std::string_view section,
                            std::string_view key, const std::string &text) override;
    brinevar::NumberFormat UserNumberFormat() const override;

    // The "?" button `index` of the array "Command1" or "Command2"; nullptr
    // for an index the array does not have.
    QPushButton *helpButton(const QString &array, int index) const;

    brinevar::Dialogs &dialogs_;
    std::string ZTPath;
    std::array<QLineEdit *, brinevar::kSettingCount> fields_{};
    QPushButton *Command3 = nullptr;
    QPushButton *cmdDefault = nullptr;
    brinevar::LinkLabel *Label41 = nullptr;
    brinevar::LinkLabel *Label43 = nullptr;
    QListWidget *List1 = nullptr;
    frmAbout *about_ = nullptr;
};
