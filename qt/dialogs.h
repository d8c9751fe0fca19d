// Every modal question the program asks goes through one Dialogs object, so
// that tests can install their own and answer without a user.
#pragma once

#include <QString>

class QWidget;

namespace brinevar {

class Dialogs {
public:
    virtual ~Dialogs() = default;

    // A modal message box: the text, one OK button, no icon, the program's title.
    virtual void message(QWidget *parent, const QString &text);

    // A modal input box; OK returns the answer, Cancel or closing the empty text.
    virtual QString input(QWidget *parent, const QString &prompt, const QString &title,
                          const QString &defaultAnswer);

    // The Dialogs in use; the plain Qt ones unless a test installed others.
    static Dialogs &current();
    // Installs `dialogs` (not owned); nullptr restores the plain Qt ones.
    static void install(Dialogs *dialogs);
};

// Shows a message box through the current Dialogs.
void MsgBox(QWidget *parent, const QString &text);

} // namespace brinevar
