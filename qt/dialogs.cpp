#include "dialogs.h"

#include "formbuilder.h"
#include "mainlayout.h"
#include "mainwindow.h"
#include "programfolder.h"
#include "updatesfolder.h"
#include "version.h"

#include <QDialogButtonBox>
#include <QDir>
#include <QFileDialog>
#include <QIcon>
#include <QInputDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QScreen>

namespace brinevar {

void Dialogs::message(QWidget *parent, const QString &text)
{
    QMessageBox box(QMessageBox::NoIcon, QString::fromStdString(ProgramTitle()), QString(),
                    QMessageBox::Ok, parent);
    // A path such as "<b>x</b>" is shown as typed, not drawn as markup.
    box.setTextFormat(Qt::PlainText);
    box.setText(text);
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
    for (QLabel *label : dialog.findChildren<QLabel *>())
        label->setTextFormat(Qt::PlainText);
    dialog.setTextValue(defaultAnswer);
    if (auto *answer = dialog.findChild<QLineEdit *>())
        KeepOnOneLine(answer);
    // Wide enough to show a whole folder path, which is what it is asked for.
    const QString sample = defaultAnswer + QString::fromLatin1(kPromptRoom);
    const QScreen *screen = dialog.screen();
    dialog.resize(PromptWidth(dialog.fontMetrics().horizontalAdvance(sample) + 40, 0,
                              screen ? screen->availableGeometry().width() : 0),
                  dialog.sizeHint().height());
    // Left of OK and Cancel, where each style puts a button that acts on the
    // box's contents rather than closing it; the box has made its buttons by
    // now, when it worked out its size.
    if (auto *buttons = dialog.findChild<QDialogButtonBox *>()) {
        QPushButton *browse = buttons->addButton(
            QString::fromUtf8(kFolderPromptBrowse.data(), qsizetype(kFolderPromptBrowse.size())),
            QDialogButtonBox::ResetRole);
        browse->setAutoDefault(false);
        QObject::connect(browse, &QPushButton::clicked, &dialog, [&dialog] {
            // The picker opens where the answer points, when that is a folder.
            const std::string typed = dialog.textValue().toStdString();
            const QString start = QString::fromStdString(UpdatesFolderOnThisSystem(typed));
            const QString picked = QFileDialog::getExistingDirectory(
                &dialog, QString(), QDir(start).exists() ? start : QString());
            if (!picked.isEmpty())
                dialog.setTextValue(QString::fromStdString(
                    FolderAsAnswer(PathFromUtf8(QDir::toNativeSeparators(picked).toStdString()))));
        });
    }
    return dialog.exec() == QDialog::Accepted ? dialog.textValue() : QString();
}

} // namespace brinevar
