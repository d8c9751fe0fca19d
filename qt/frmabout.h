// The about box: the program's title and version, and a button that starts
// the system information tool.
//
// Create it once, with the main window as its parent (so that it has no task
// bar button of its own); nothing shows until exec(). Each exec() loads the
// box afresh (caption, title, version, place on the screen, focus on OK) and
// returns when OK, Enter, Esc or the close box closes it; the instance stays
// and can be shown again.
#pragma once

#include "filetest.h"
#include "launcher.h"
#include "sysinfo.h"

#include <QDialog>

class QLabel;
class QPushButton;

namespace brinevar {
class Dialogs;
}

class frmAbout : public QDialog {
    Q_OBJECT

public:
    // The box asks through `dialogs` and finds and starts the tool through
    // `registry`, `isOrdinaryFile` and `startProgram`, the machine's own
    // unless a test stands in for them.
    frmAbout(QWidget *parent, brinevar::Dialogs &dialogs,
             brinevar::Registry &registry = brinevar::SystemRegistry(),
             std::function<bool(const std::string &)> isOrdinaryFile = brinevar::IsOrdinaryFile,
             std::function<bool(const std::string &)> startProgram = brinevar::StartProgram);

    // The registry reader over the registry the box uses.
    bool GetKeyValue(brinevar::HKey KeyRoot, const std::string &KeyName,
                     const std::string &SubKeyRef, std::string &KeyVal);
    // What "&System Info..." does: start the tool or say that it cannot.
    void StartSysInfo();

    // Loading happens here, so that every way of showing the box runs it.
    void setVisible(bool visible) override;

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    void Form_Load();

    brinevar::SysInfoSystem system_;
    QLabel *lblTitle = nullptr;
    QLabel *lblVersion = nullptr;
    QPushButton *cmdOK = nullptr;
    QPushButton *cmdSysInfo = nullptr;
};
