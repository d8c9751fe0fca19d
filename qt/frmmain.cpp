#include "frmmain.h"

#include "accessibletext.h"
#include "dialogs.h"
#include "focusgate.h"
#include "formbuilder.h"
#include "formfont.h"
#include "frmabout.h"
#include "linklabel.h"
#include "mainlayout.h"
#include "qtext.h"
#include "version.h"

#include <QAbstractButton>
#include <QAccessibleWidget>
#include <QGuiApplication>
#include <QLineEdit>
#include <QListWidget>
#include <QScreen>
#include <QStyle>

using namespace brinevar;

namespace {
// A plain top-level QWidget reports itself as a client area ("filler" to
// AT-SPI); the main window is a window (a frame).
QAccessibleInterface *MainWindowAccessible(const QString &className, QObject *object)
{
    if (className == QLatin1String(frmMain::staticMetaObject.className()) && object->isWidgetType())
        return new QAccessibleWidget(static_cast<QWidget *>(object), QAccessible::Window);
    return nullptr;
}
} // namespace

frmMain::frmMain(Dialogs &dialogs, const MainServices &services, SysInfoMachine machine,
                 QWidget *parent)
    : QWidget(parent), dialogs_(dialogs), machine_(std::move(machine)), behaviour_(*this, services)
{
    static const bool roleKnown = (QAccessible::installFactory(MainWindowAccessible), true);
    (void)roleKnown;
    setWindowTitle(QString::fromStdString(ProgramTitle()));
    BuildLayout();
    PlaceOnScreen();
}

frmMain::~frmMain() = default;

void frmMain::BuildLayout()
{
    // Sizable, but with no maximize box: the layout is fixed and would only
    // gain empty space.
    setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                   Qt::WindowCloseButtonHint);
    ApplyFormFont(this);

    const auto rows = MainLayout();
    const QWidgetList widgets = BuildControls(this, rows);
    // Buttons run their commands, however pressed, only past the focused
    // field's check; captions take no focus and pass no check.
    auto *gate = new FocusGate(this);
    for (std::size_t i = 0; i < rows.size(); ++i) {
        const ControlRow &row = rows[i];
        QWidget *control = widgets[qsizetype(i)];
        const auto press = [this, &row] { behaviour_.Press(row); };
        if (auto *button = qobject_cast<QAbstractButton *>(control); button && row.press)
            gate->connectCommand(button, press);
        else if (auto *link = qobject_cast<LinkLabel *>(control); link && row.press)
            connect(link, &LinkLabel::clicked, this, press);
        else if (row.kind == ControlKind::TextField && MainWindow::HasCheck(row))
            gate->setValidate(control,
                              [this, &row](bool &Cancel) { Cancel = behaviour_.LeaveField(row); });
        else if (auto *list = qobject_cast<QListWidget *>(control))
            SetListColumns(list, kTerrainListColumns);
    }

    const auto &catalogue = Catalogue();
    for (std::size_t i = 0; i < catalogue.size(); ++i) {
        const Setting &setting = catalogue[i];
        fields_[i] = qobject_cast<QLineEdit *>(FindControl(this, Utf8(setting.field)));
        fields_[i]->setText(Utf8(setting.initialText));
    }
    for (const AccessibleText &text : MainAccessibleTexts()) {
        QWidget *widget = FindControl(this, Utf8(text.control), text.index);
        widget->setAccessibleName(QString::fromStdString(text.name));
        widget->setAccessibleDescription(QString::fromStdString(text.description));
        widget->setToolTip(QString::fromStdString(text.toolTip));
    }

    resize(TwipsToPixels(kMainWidth), TwipsToPixels(kMainHeight));
    const ControlRow *first = MainFocusOrder().front();
    FindControl(this, Utf8(first->name), first->index)->setFocus();
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
        SetListColumns(findChild<QListWidget *>(), kTerrainListColumns);
        resize(TwipsToPixels(kMainWidth, dpi), TwipsToPixels(kMainHeight, dpi));
    }
    const QSize frame = size() + QSize(2 * border, titleBar + border);
    const auto [left, top] = FramePlacement(frame.width(), frame.height(),
                                            {area.x(), area.y(), area.width(), area.height()});
    // A window's position is that of its frame.
    move(left, top);
}

void frmMain::Form_Load()
{
    behaviour_.Form_Load();
}

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

std::unique_ptr<ModalBox> frmMain::CreateAbout()
{
    return std::make_unique<frmAbout>(this, dialogs_, machine_);
}

void frmMain::Close()
{
    close();
}
