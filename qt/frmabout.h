// The about box: the program's title and version, and a button that starts
// the system information tool.
//
// Create it once, with the main window as its parent (so that it has no task
// bar button of its own); nothing shows until exec(). Each exec() loads the
// box afresh (caption, title, version, place on the screen, focus on OK) and
// returns when OK, Enter, Esc or the close box closes it; the instance stays
// and can be shown again.
#pragma once

#include "sysinfo.h"

#include <QDialog>

#include <optional>

class QLabel;
class QPushButton;

class frmAbout : public QDialog {
    Q_OBJECT

public:
    explicit frmAbout(QWidget *parent);

    QLabel *titleLabel() const { return lblTitle; }
    QLabel *versionLabel() const { return lblVersion; }
    QPushButton *okButton() const { return cmdOK; }
    QPushButton *sysInfoButton() const { return cmdSysInfo; }

    // The registry reader over the registry the box uses.
    bool GetKeyValue(brinevar::HKey KeyRoot, const std::string &KeyName,
                     const std::string &SubKeyRef, std::string &KeyVal);
    // What "&System Info..." does: start the tool or say that it cannot.
    void StartSysInfo();

    // Lets tests stand in for the registry, the file test and the launcher.
    void useMachine(brinevar::Registry &registry,
                    std::function<bool(const std::string &)> isOrdinaryFile,
                    std::function<bool(const std::string &)> startProgram);

    // Loading happens here, so that every way of showing the box runs it.
    void setVisible(bool visible) override;

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    void Form_Load();

    std::optional<brinevar::SysInfoSystem> system_;
    QLabel *lblTitle = nullptr;
    QLabel *lblVersion = nullptr;
    QPushButton *cmdOK = nullptr;
    QPushButton *cmdSysInfo = nullptr;
};
