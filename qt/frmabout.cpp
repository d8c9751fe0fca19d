#include "frmabout.h"

#include "aboutlayout.h"
#include "dialogs.h"
#include "formbuilder.h"
#include "formfont.h"
#include "qtext.h"

#include <QLabel>
#include <QPainter>
#include <QPushButton>

using namespace brinevar;

frmAbout::frmAbout(QWidget *parent, Dialogs &dialogs, SysInfoMachine machine)
    // A fixed dialog frame with a close box only; being a dialog owned by the
    // main window keeps it off the task bar.
    : QDialog(parent, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::CustomizeWindowHint |
                          Qt::WindowTitleHint | Qt::WindowCloseButtonHint),
      dialogs_(dialogs), behaviour_(*this, std::move(machine))
{
    ApplyFormFont(this);
    setFixedSize(TwipsToPixels(kAboutWidth), TwipsToPixels(kAboutHeight));
    const auto rows = AboutLayout();
    const QWidgetList widgets = BuildControls(this, rows);
    for (std::size_t i = 0; i < rows.size(); ++i) {
        const ControlRow &row = rows[i];
        if (auto *button = qobject_cast<QPushButton *>(widgets[qsizetype(i)])) {
            // A focused button answers Enter itself, so Enter on "System
            // Info..." starts the tool instead of closing.
            button->setAutoDefault(true);
            if (row.kind == ControlKind::DefaultButton)
                defaultButton_ = button;
            connect(button, &QPushButton::clicked, this, [this, &row] { behaviour_.Press(row); });
        }
    }
}

void frmAbout::ShowModal()
{
    exec();
}

void frmAbout::setVisible(bool visible)
{
    if (visible && !isVisible()) {
        // A closed box is shown as if loaded anew: at its own place on the
        // screen, wherever it was moved to, and with OK focused.
        setGeometry(TwipsToPixels(kAboutLeft), TwipsToPixels(kAboutTop), width(), height());
        defaultButton_->setFocus();
        behaviour_.Form_Load();
    }
    QDialog::setVisible(visible);
    // Qt's accessible tree lists every top-level window that has a native
    // window, shown or not: a closed box gives its own up, and the next
    // showing makes it anew.
    if (!visible && windowHandle())
        destroy();
}

void frmAbout::reject()
{
    // Esc and the close box press the default button, whose handler closes
    // the box.
    if (const ControlRow *row = DefaultRow(AboutLayout()))
        behaviour_.Press(*row);
}

void frmAbout::SetCaption(const std::string &text)
{
    setWindowTitle(QString::fromStdString(text));
}

void frmAbout::SetLabelText(std::string_view label, const std::string &text)
{
    findChild<QLabel *>(Utf8(label))->setText(QString::fromStdString(text));
}

void frmAbout::MsgBox(const std::string &text)
{
    dialogs_.message(this, QString::fromStdString(text));
}

void frmAbout::Close()
{
    accept();
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
