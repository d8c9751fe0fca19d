// The modal questions the program asks. The windows are given a Dialogs and
// ask through it, so that tests can pass their own and answer without a user.
#pragma once

#include <QString>

class QWidget;

namespace brinevar {

class Dialogs {
public:
    virtual ~Dialogs() = default;

    // A modal message box: the text as it stands (never read as markup), one
    // OK button, no icon, the program's title.
    virtual void message(QWidget *parent, const QString &text);

    // A modal input box; OK returns the answer, Cancel or closing the empty
    // text. The prompt too is plain text.
    virtual QString input(QWidget *parent, const QString &prompt, const QString &title,
                          const QString &defaultAnswer);
};

} // namespace brinevar
