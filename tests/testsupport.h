// What the window tests share: dialogs answered by the test, and a sandbox of
// a fresh settings store, program folder and per-user data folder so that no
// test touches the real user's store or writes beside the real binary.
#pragma once

#include "catalogue.h"
#include "dialogs.h"
#include "formbuilder.h"
#include "frmmain.h"
#include "settingbyname.h"
#include "settingsstore.h"
#include "sysinfo.h"

#include <QMessageBox>
#include <QStringList>
#include <QTemporaryDir>

#include <optional>

class QLineEdit;

class FakeDialogs : public brinevar::Dialogs {
public:
    void message(QWidget *parent, const QString &text) override;
    QString input(QWidget *parent, const QString &prompt, const QString &title,
                  const QString &defaultAnswer) override;

    QStringList messages;
    struct Prompt {
        QString prompt, title, defaultAnswer;
    };
    QList<Prompt> prompts;
    // What the input box answers; nullopt presses OK on the default answer.
    std::optional<QString> answer;
};

// The control of `window` with the designer name `name` (and `index` for a
// member of a control array); nullptr when there is none.
template <typename Control = QWidget>
Control *Find(const QWidget &window, const QString &name, int index = -1)
{
    return qobject_cast<Control *>(brinevar::FindControl(&window, name, index));
}

// The text field of the setting named `setting`, such as "waterOffset".
QLineEdit *Field(const QWidget &window, std::string_view setting);

// The twenty field texts, in catalogue order.
brinevar::TankSettings Texts(const QWidget &window);

// Presses `button` on `target` as the platform delivers a press: to the
// target's window, at window coordinates, where the focus gate sees it.
void ClickThroughWindow(QWidget *target, Qt::MouseButton button = Qt::LeftButton);

// What a real message box showed.
struct MessageBoxSeen {
    QString title, text;
    Qt::TextFormat format = Qt::AutoText;
    int buttons = 0;
    QMessageBox::Icon icon = QMessageBox::Warning;
};

// Answers the next real message box by pressing its OK button through its own
// window, and records in `seen` what it showed.
void AnswerNextMessageBox(MessageBoxSeen &seen);

class Sandbox {
public:
    Sandbox();
    ~Sandbox();

    QString programFolder() const { return programFolder_.path(); }
    QString updatesFolder() const { return updatesFolder_.path() + '/'; }
    // The user's own folder for the program's data.
    QString userFolder() const { return dataFolder_.path() + "/Brinevar"; }

    // Puts `path` in the settings store as the Updates folder.
    void storePath(const QString &path) const;
    std::optional<QString> storedPath() const;

    QByteArray read(const QString &file) const;
    void write(const QString &file, const QByteArray &bytes) const;

    // What main would pass a window of a copy in `programFolder` (by default
    // this sandbox's) whose user keeps data in the sandbox.
    brinevar::MainServices services(const QString &programFolder = {}) const;
    // The system information tool of this machine, as main passes it.
    static brinevar::SysInfoMachine machine();

private:
    QTemporaryDir store_, programFolder_, updatesFolder_, dataFolder_;
    mutable brinevar::QtSettingsStore settingsStore_;
};

// A loaded main window over a fresh sandbox whose Updates folder is stored,
// asking the test's dialogs.
struct MainWindowSession {
    MainWindowSession();
    // Shows the window and waits until it has the keyboard.
    bool showActive();

    Sandbox sandbox;
    FakeDialogs dialogs;
    frmMain window{dialogs, sandbox.services(), Sandbox::machine()};
};
