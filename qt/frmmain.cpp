#include "frmmain.h"

#include "accessibletext.h"
#include "dialogs.h"
#include "focusgate.h"
#include "formbuilder.h"
#include "formfont.h"
#include "frmabout.h"
#include "linklabel.h"
#include "mainlayout.h"
#include "settingsstore.h"
#include "version.h"

#include <QGuiApplication>
#include <QLineEdit>
#include <QListWidget>
#include <QLocale>
#include <QPushButton>
#include <QScreen>
#include <QStyle>

using namespace brinevar;

namespace {
QString Utf8(std::string_view text)
{
    return QString::fromUtf8(text.data(), qsizetype(text.size()));
}
} // namespace

frmMain::frmMain(Dialogs &dialogs, QWidget *parent) : QWidget(parent), dialogs_(dialogs)
{
    setWindowTitle(QString::fromStdString(ProgramTitle()));
    BuildLayout();
    PlaceOnScreen();
    ConnectCommands();
    ConnectChecksAndHelp();
}

void frmMain::BuildLayout()
{
    // Sizable, but with no maximize box: the layout is fixed and would only
    // gain empty space.
    setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                   Qt::WindowCloseButtonHint);
    ApplyFormFont(this);

    const auto rows = MainLayout();
    BuildControls(this, rows);
    Command3 = findChild<QPushButton *>(QStringLiteral("Command3"));
    cmdDefault = findChild<QPushButton *>(QStringLiteral("cmdDefault"));
    Label41 = findChild<LinkLabel *>(QStringLiteral("Label41"));
    Label43 = findChild<LinkLabel *>(QStringLiteral("Label43"));
    List1 = findChild<QListWidget *>(QStringLiteral("List1"));
    SetListColumns(List1, kTerrainListColumns);

    const auto &catalogue = Catalogue();
    for (std::size_t i = 0; i < catalogue.size(); ++i) {
        const Setting &setting = catalogue[i];
        fields_[i] = findChild<QLineEdit *>(QString::fromUtf8(setting.field));
        fields_[i]->setText(QString::fromUtf8(setting.initialText));
    }
    for (const AccessibleText &text : MainAccessibleTexts()) {
        const QString control = QString::fromUtf8(text.control);
        QWidget *widget =
            text.index < 0 ? findChild<QWidget *>(control) : helpButton(control, text.index);
        widget->setAccessibleName(QString::fromStdString(text.name));
        widget->setAccessibleDescription(QString::fromStdString(text.description));
        widget->setToolTip(QString::fromStdString(text.toolTip));
    }

    resize(TwipsToPixels(kMainWidth), TwipsToPixels(kMainHeight));
    fields_[0]->setFocus();
}

// Centred on the screen, with the whole frame, title bar included, in the
// screen's free area, drawn smaller where it would not fit; where it still
// does not, its top-left corner first, so that the title bar can always be
// reached. The frame is not known before the
// window manager has framed the window: the style's title bar stands in.
void frmMain::PlaceOnScreen()
{
    const QScreen *screen = QGuiApplication::primaryScreen();
    if (!screen)
        return;
    const int border = style()->pixelMetric(QStyle::PM_MdiSubWindowFrameWidth, nullptr, this);
    const int titleBar = style()->pixelMetric(QStyle::PM_TitleBarHeight, nullptr, this);
    const QRect area = screen->availableGeometry();
    // A layout too big for the screen (a high scale on a small screen) is
    // drawn smaller, so that every control can be reached.
    const int dpi = FittingDpi(kLogicalDpi, 2 * border, titleBar + border,
                               {area.x(), area.y(), area.width(), area.height()});
    if (dpi != kLogicalDpi) {
        ApplyFormFont(this, dpi);
        PlaceControls(this, MainLayout(), dpi);
        SetListColumns(List1, kTerrainListColumns);
        resize(TwipsToPixels(kMainWidth, dpi), TwipsToPixels(kMainHeight, dpi));
    }
    const QSize frame = size() + QSize(2 * border, titleBar + border);
    const auto [left, top] = FramePlacement(frame.width(), frame.height(),
                                            {area.x(), area.y(), area.width(), area.height()});
    // A window's position is that of its frame.
    move(left, top);
}

QPushButton *frmMain::helpButton(const QString &array, int index) const
{
    if (index < 0 || (array != u"Command1" && array != u"Command2"))
        return nullptr;
    return qobject_cast<QPushButton *>(FindControl(this, array, index));
}

void frmMain::Form_Load()
{
    ZTPath = brinevar::FormLoad(*this);
}

void frmMain::ConnectCommands()
{
    connect(Label41, &LinkLabel::clicked, this, &frmMain::Label41_Click);
    connect(Label43, &LinkLabel::clicked, this, &frmMain::Label43_Click);
}

void frmMain::cmdDefault_Click()
{
    SetToDefault();
}

void frmMain::SetToDefault()
{
    brinevar::SetToDefault(*this);
}

void frmMain::Command3_Click()
{
    // A failed save keeps the window and the edits, so the user can retry.
    if (SaveAndExit(*this, ZTPath))
        close();
}

void frmMain::Label41_Click()
{
    MsgBox(ZTPath);
}

void frmMain::Label43_Click()
{
    // One about box for the run; it loads afresh at every showing.
    if (!about_)
        about_ = new frmAbout(this, dialogs_);
    about_->exec();
}

// Range checks and help buttons.

// The catalogue says which fields are checked and which "?" buttons there are.
void frmMain::ConnectChecksAndHelp()
{
    auto *gate = new FocusGate(this);
    // Buttons run their commands, however pressed, only past the focused field's check.
    gate->connectCommand(cmdDefault, [this] { cmdDefault_Click(); });
    gate->connectCommand(Command3, [this] { Command3_Click(); });
    for (std::size_t i = 0; i < Catalogue().size(); ++i) {
        const Setting &setting = Catalogue()[i];
        if (setting.check) {
            gate->setValidate(fields_[i], [this, field = setting.field](bool &Cancel) {
                Cancel = ValidateField(*this, field);
            });
        }
        if (setting.help) {
            const HelpButton &help = *setting.help;
            gate->connectCommand(helpButton(Utf8(help.array), help.index), [this, &help] {
                if (help.array == "Command1")
                    Command1_Click(help.index);
                else
                    Command2_Click(help.index);
            });
        }
    }
}

void frmMain::Command1_Click(int Index)
{
    ShowHelp(*this, "Command1", Index);
}

void frmMain::Command2_Click(int Index)
{
    ShowHelp(*this, "Command2", Index);
}

// What the toolkit-free window needs of this one.

std::string frmMain::FieldText(std::size_t setting) const
{
    return fields_[setting]->text().toStdString();
}

void frmMain::SetFieldText(std::size_t setting, const std::string &text)
{
    fields_[setting]->setText(QString::fromStdString(text));
}

void frmMain::MsgBox(const std::string &text)
{
    dialogs_.message(this, QString::fromStdString(text));
}

std::string frmMain::InputBox(std::string_view prompt, std::string_view title,
                              const std::string &defaultAnswer)
{
    return dialogs_.input(this, Utf8(prompt), Utf8(title), QString::fromStdString(defaultAnswer))
        .toStdString();
}

std::string frmMain::GetSetting(std::string_view appName, std::string_view section,
                                std::string_view key, std::string_view defaultText)
{
    return brinevar::GetSetting(Utf8(appName), Utf8(section), Utf8(key), Utf8(defaultText))
        .toStdString();
}

std::string frmMain::SaveSetting(std::string_view appName, std::string_view section,
                                 std::string_view key, const std::string &text)
{
    return brinevar::SaveSetting(Utf8(appName), Utf8(section), Utf8(key),
                                 QString::fromStdString(text))
        .toStdString();
}

NumberFormat frmMain::UserNumberFormat() const
{
    return NumberFormatOf(QLocale());
}

NumberFormat brinevar::NumberFormatOf(const QLocale &locale)
{
    return {locale.decimalPoint().toStdString(), locale.positiveSign().toStdString(),
            locale.negativeSign().toStdString()};
}
