// What the window tests share: dialogs answered by the test, and a sandbox of
// a fresh settings store, program folder and per-user data folder so that no
// test touches the real user's store or writes beside the real binary.
#pragma once

#include "dialogs.h"

#include <QMessageBox>
#include <QStringList>
#include <QTemporaryDir>

#include <optional>

class FakeDialogs : public brinevar::Dialogs {
public:
    FakeDialogs() { install(this); }
    ~FakeDialogs() override { install(nullptr); }

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

// Presses `button` on `target` as the platform delivers a press: to the
// target's window, at window coordinates, where the focus gate sees it.
void ClickThroughWindow(QWidget *target, Qt::MouseButton button = Qt::LeftButton);

// What a real message box showed.
struct MessageBoxSeen {
    QString title, text;
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

    // Puts `path` in the settings store as the Updates folder.
    void storePath(const QString &path) const;
    std::optional<QString> storedPath() const;

    QByteArray read(const QString &file) const;
    void write(const QString &file, const QByteArray &bytes) const;

private:
    QTemporaryDir store_, programFolder_, updatesFolder_, dataFolder_;
    QByteArray formerDataFolder_;
};
