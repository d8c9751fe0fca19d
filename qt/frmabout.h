// The about box: the program's title and version, and a button that starts
// the system information tool. What it does lives in the toolkit-free
// AboutWindow; this class draws it with Qt and forwards the presses.
//
// Create it once, with the main window as its parent (so that it has no task
// bar button of its own); nothing shows until exec(). Each exec() loads the
// box afresh (caption, title, version, place on the screen, focus on OK) and
// returns when OK, Enter, Esc or the close box closes it; the instance stays
// and can be shown again.
#pragma once

#include "aboutwindow.h"
#include "mainwindow.h"

#include <QDialog>

class QPushButton;

namespace brinevar {
class Dialogs;
}

class frmAbout : public QDialog, public brinevar::ModalBox, private brinevar::AboutWindowHost {
    Q_OBJECT

public:
    // The box asks through `dialogs` and finds and starts the tool on `machine`.
    frmAbout(QWidget *parent, brinevar::Dialogs &dialogs, brinevar::SysInfoMachine machine);

    void ShowModal() override;

    // Loading happens here, so that every way of showing the box runs it.
    void setVisible(bool visible) override;
    void reject() override;

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    // What the box does for AboutWindow.
    void SetCaption(const std::string &text) override;
    void SetLabelText(std::string_view label, const std::string &text) override;
    void MsgBox(const std::string &text) override;
    void Close() override;

    brinevar::Dialogs &dialogs_;
    brinevar::AboutWindow behaviour_;
    QPushButton *defaultButton_ = nullptr;
};
