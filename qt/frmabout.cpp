#include "frmabout.h"

#include "aboutlayout.h"
#include "dialogs.h"
#include "formbuilder.h"
#include "formfont.h"
#include "version.h"

#include <QLabel>
#include <QPainter>
#include <QPushButton>

using namespace brinevar;

frmAbout::frmAbout(QWidget *parent, Dialogs &dialogs, Registry &registry,
                   std::function<bool(const std::string &)> isOrdinaryFile,
                   std::function<bool(const std::string &)> startProgram)
    // A fixed dialog frame with a close box only; being a dialog owned by the
    // main window keeps it off the task bar.
    : QDialog(parent, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::CustomizeWindowHint |
                          Qt::WindowTitleHint | Qt::WindowCloseButtonHint),
      system_{registry, std::move(isOrdinaryFile), std::move(startProgram),
              [this, &dialogs](const std::string &text) {
                  dialogs.message(this, QString::fromStdString(text));
              }}
{
    ApplyFormFont(this);
    setFixedSize(TwipsToPixels(kAboutWidth), TwipsToPixels(kAboutHeight));
    BuildControls(this, AboutLayout());
    lblTitle = findChild<QLabel *>(QStringLiteral("lblTitle"));
    lblVersion = findChild<QLabel *>(QStringLiteral("lblVersion"));
    cmdOK = findChild<QPushButton *>(QStringLiteral("cmdOK"));
    cmdSysInfo = findChild<QPushButton *>(QStringLiteral("cmdSysInfo"));

    for (const char *name : {"lblTitle", "lblDescription"}) {
        QWidget *label = findChild<QLabel *>(QString::fromLatin1(name));
        QPalette palette = label->palette();
        palette.setColor(QPalette::WindowText, Qt::black);
        label->setPalette(palette);
    }

    // OK answers Enter and Esc; a focused button answers Enter itself, so
    // Enter on "System Info..." starts the tool instead of closing.
    cmdOK->setAutoDefault(true);
    cmdOK->setDefault(true);
    cmdSysInfo->setAutoDefault(true);
    connect(cmdOK, &QPushButton::clicked, this, &QDialog::accept);
    connect(cmdSysInfo, &QPushButton::clicked, this, &frmAbout::StartSysInfo);
}

bool frmAbout::GetKeyValue(HKey KeyRoot, const std::string &KeyName, const std::string &SubKeyRef,
                           std::string &KeyVal)
{
    return brinevar::GetKeyValue(system_.registry, KeyRoot, KeyName, SubKeyRef, KeyVal);
}

void frmAbout::StartSysInfo()
{
    brinevar::StartSysInfo(system_);
}

void frmAbout::setVisible(bool visible)
{
    if (visible && !isVisible()) {
        // A closed box is shown as if loaded anew: at its own place on the
        // screen, wherever it was moved to, and with OK focused.
        setGeometry(TwipsToPixels(kAboutLeft), TwipsToPixels(kAboutTop), width(), height());
        cmdOK->setFocus();
        Form_Load();
    }
    QDialog::setVisible(visible);
}

void frmAbout::Form_Load()
{
    setWindowTitle(QString::fromStdString(AboutCaption()));
    lblVersion->setText(QString::fromStdString(VersionText()));
    lblTitle->setText(QString::fromStdString(ProgramTitle()));
}

void frmAbout::paintEvent(QPaintEvent *)
{
    // The lines lie under every control, so the box paints them itself. Each
    // covers whole pixel rows from its start to just before its end, as the
    // Windows pen does.
    QPainter painter(this);
    for (const LineRow &line : AboutLines()) {
        const QPoint from(TwipsToPixels(line.x1), TwipsToPixels(line.y1));
        const QPoint to(TwipsToPixels(line.x2), TwipsToPixels(line.y2));
        painter.fillRect(QRect(from, QPoint(to.x() - 1, to.y() + line.width - 1)),
                         ToQColor(line.colour));
    }
}
