// The main window: the twenty settings of tanks.cfg as text fields, and the
// commands that save them. What the window does lives in the toolkit-free
// MainWindow; this class draws it with Qt and forwards presses and the focus
// leaving a field.
#pragma once

#include "catalogue.h"
#include "mainwindow.h"
#include "sysinfo.h"

#include <QWidget>

#include <array>

class QLineEdit;

namespace brinevar {
class Dialogs;
} // namespace brinevar

class frmMain : public QWidget, private brinevar::MainWindowHost {
    Q_OBJECT

public:
    // Creates the window with its controls and their initial texts; it asks
    // its questions through `dialogs`, which must outlive it, and its about
    // box finds the system information tool on `machine`.
    frmMain(brinevar::Dialogs &dialogs, const brinevar::MainServices &services,
            brinevar::SysInfoMachine machine, QWidget *parent = nullptr);
    ~frmMain() override;

    // The load step, before the window is first shown: the Updates folder,
    // then tanks.ini.
    void Form_Load();

private:
    void BuildLayout();
    void PlaceOnScreen();

    // What the window does for MainWindow.
    std::string FieldText(std::size_t setting) const override;
    void SetFieldText(std::size_t setting, const std::string &text) override;
    void MsgBox(const std::string &text) override;
    std::string InputBox(std::string_view prompt, std::string_view title,
                         const std::string &defaultAnswer) override;
    std::unique_ptr<brinevar::ModalBox> CreateAbout() override;
    void Close() override;

    brinevar::Dialogs &dialogs_;
    brinevar::SysInfoMachine machine_;
    std::array<QLineEdit *, brinevar::kSettingCount> fields_{};
    brinevar::MainWindow behaviour_;
};
