#include "dialogs.h"

#include "version.h"

#include <QIcon>
#include <QInputDialog>
#include <QMessageBox>
#include <QPushButton>

namespace brinevar {
namespace {
Dialogs plainDialogs;
Dialogs *installed = nullptr;
} // namespace

void Dialogs::message(QWidget *parent, const QString &text)
{
    QMessageBox box(QMessageBox::NoIcon, QString::fromUtf8(kProgramTitle), text, QMessageBox::Ok,
                    parent);
    // Some desktop themes decorate dialog buttons with icons; the box has none.
    box.button(QMessageBox::Ok)->setIcon(QIcon());
    box.exec();
}

QString Dialogs::input(QWidget *parent, const QString &prompt, const QString &title,
                       const QString &defaultAnswer)
{
    QInputDialog dialog(parent);
    dialog.setWindowTitle(title);
    dialog.setLabelText(prompt);
    dialog.setTextValue(defaultAnswer);
    return dialog.exec() == QDialog::Accepted ? dialog.textValue() : QString();
}

Dialogs &Dialogs::current()
{
    return installed ? *installed : plainDialogs;
}

void Dialogs::install(Dialogs *dialogs)
{
    installed = dialogs;
}

void MsgBox(QWidget *parent, const QString &text)
{
    Dialogs::current().message(parent, text);
}

} // namespace brinevar
