#include "accessibletext.h"
#include "catalogue.h"
#include "frmmain.h"
#include "linklabel.h"
#include "mainlayout.h"
#include "testsupport.h"

#include <QClipboard>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QScreen>
#include <QtTest>

using namespace brinevar;

namespace {

// 15 twips to a logical pixel.
QRect Twips(int left, int top, int width, int height)
{
    return QRect(left / 15, top / 15, width / 15, height / 15);
}

// Whether a screen's free area holds the form at its full 792 x 544 (the
// offscreen platform draws no frame).
bool HoldsFullSize(const QRect &area)
{
    return area.width() >= 800 && area.height() >= 600;
}

} // namespace

class LayoutTest : public QObject {
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void controls();
    void asDesigned();
    void windowHoldsNothingElse();
    void window();
    void formFitsTheScreen();
    void fittingDpi();
    void oneFontEverywhere();
    void labelsAndButtons();
    void noLabelIsCut();

private:
    std::unique_ptr<MainWindowSession> session_;
};

void LayoutTest::init()
{
    session_ = std::make_unique<MainWindowSession>();
}

void LayoutTest::cleanup()
{
    session_.reset();
}

// The one control named `name` (member `index` of an array, -1 outside one).
QWidget *Control(QWidget &window, const QString &name, int index)
{
    QWidget *control = nullptr;
    for (QWidget *candidate : window.findChildren<QWidget *>(name)) {
        const QVariant property = candidate->property("index");
        if (property.isValid() ? property.toInt() == index : index < 0) {
            if (control)
                return nullptr; // two controls with one name and index
            control = candidate;
        }
    }
    return control;
}

QString Utf8Text(std::string_view text)
{
    return QString::fromUtf8(text.data(), qsizetype(text.size()));
}

void LayoutTest::controls()
{
    // Every row stands drawn as its kind, at its twips, with its text.
    const auto className = [](ControlKind kind) {
        switch (kind) {
        case ControlKind::TextField:
            return "QLineEdit";
        case ControlKind::Label:
            return "QLabel";
        case ControlKind::LinkLabel:
            return "brinevar::LinkLabel";
        case ControlKind::ListBox:
            return "QListWidget";
        default:
            return "QPushButton";
        }
    };
    for (const ControlRow &row : MainLayout()) {
        const QString name = Utf8Text(row.name);
        QWidget *control = Control(session_->window, name, row.index);
        QVERIFY2(control, qPrintable(name));
        QCOMPARE(control->parentWidget(), &session_->window);
        QCOMPARE(QString(control->metaObject()->className()), QString(className(row.kind)));
        QCOMPARE(control->geometry(), Twips(row.left, row.top, row.width, row.height));
        const QString shown = Utf8Text(ShownText(row.text));
        if (auto *field = qobject_cast<QLineEdit *>(control))
            QCOMPARE(field->text(), Utf8Text(InitialTexts()[*FindSettingByField(row.name)]));
        else if (auto *label = qobject_cast<QLabel *>(control))
            QCOMPARE(label->text(), shown);
        else if (auto *button = qobject_cast<QPushButton *>(control))
            QCOMPARE(button->text(), shown);
    }
    for (const AccessibleText &text : MainAccessibleTexts())
        QCOMPARE(Control(session_->window, Utf8Text(text.control), text.index)->accessibleName(),
                 QString::fromStdString(text.name));
}

void LayoutTest::asDesigned()
{
    // A few of the window's controls as players know them: where they stand,
    // what they say, and how a screen reader names them.
    struct Expected {
        const char *name;
        int index;
        QRect rect;
        QString text, accessibleName;
    };
    const Expected controls[] = {
        {"Text7", -1, Twips(8640, 5520, 615, 285), "2", "tankTerrain"},
        {"Text1", -1, Twips(2280, 1200, 615, 285), "1.5", "saltwater"},
        {"Command1", 5, Twips(6600, 2520, 375, 255), "?", "Help on initialFillState"},
        {"Command3", -1, Twips(10320, 360, 1455, 495), "Save and Exit", {}},
        {"Label33",
         -1,
         Twips(240, 240, 8415, 375),
         "This program lets you change the setting of the Tank.cfg file to reflect what you "
         "would like the tanks to do.  ",
         {}},
        {"List1", -1, Twips(7560, 6000, 4095, 2010), {}, "Terrain type of tank bottoms."},
    };
    for (const Expected &expected : controls) {
        QWidget *control = Control(session_->window, expected.name, expected.index);
        QVERIFY2(control, expected.name);
        QCOMPARE(control->geometry(), expected.rect);
        if (auto *field = qobject_cast<QLineEdit *>(control))
            QCOMPARE(field->text(), expected.text);
        else if (auto *label = qobject_cast<QLabel *>(control))
            QCOMPARE(label->text(), expected.text);
        else if (auto *button = qobject_cast<QPushButton *>(control))
            QCOMPARE(button->text(), expected.text);
        if (!expected.accessibleName.isEmpty())
            QCOMPARE(control->accessibleName(), expected.accessibleName);
    }
}

void LayoutTest::windowHoldsNothingElse()
{
    QCOMPARE(session_->window.findChildren<QWidget *>(Qt::FindDirectChildrenOnly).size(), 75);
    // Only the indexes of the table exist.
    for (const char *array : {"Command1", "Command2"})
        QCOMPARE(session_->window.findChildren<QPushButton *>(array).size(),
                 qstrcmp(array, "Command1") == 0 ? 5 : 4);
    QVERIFY(!Find<QPushButton>(session_->window, "Command1", 3));
    QVERIFY(!Find<QPushButton>(session_->window, "Command2", 1));
    QVERIFY(!Find<QPushButton>(session_->window, "Command3", 0));
    // Each field explains its setting in a tooltip.
    for (const Setting &setting : Catalogue())
        QCOMPARE(Field(session_->window, setting.name)->toolTip(),
                 QString::fromUtf8(setting.meaning));
}

void LayoutTest::window()
{
    QCOMPARE(session_->window.windowTitle(), "Brinevar");
    const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
    if (HoldsFullSize(screen))
        QCOMPARE(session_->window.size(), QSize(792, 544));
    const Qt::WindowFlags flags = session_->window.windowFlags();
    QVERIFY(flags & Qt::WindowMinimizeButtonHint);
    QVERIFY(!(flags & Qt::WindowMaximizeButtonHint));
    QVERIFY(flags & Qt::WindowCloseButtonHint);
    QVERIFY(session_->window.minimumSize() != session_->window.maximumSize());
    // The whole frame lies centred on the screen's free area (give or take
    // the title bar, which is not known before the window is framed).
    const QRect area = QGuiApplication::primaryScreen()->availableGeometry();
    const QRect frame = session_->window.frameGeometry();
    QVERIFY(area.contains(frame));
    QVERIFY((frame.center() - area.center()).manhattanLength() <= 40);
    QVERIFY(session_->showActive());
    const QRect field = Field(session_->window, "saltWater")->geometry();
    const QRect list = Find<QListWidget>(session_->window, "List1")->geometry();
    session_->window.resize(1000, 700);
    QTRY_COMPARE(session_->window.size(), QSize(1000, 700));
    QCOMPARE(Field(session_->window, "saltWater")->geometry(), field);
    QCOMPARE(Find<QListWidget>(session_->window, "List1")->geometry(), list);
    session_->window.resize(300, 200);
    QTRY_COMPARE(session_->window.size(), QSize(300, 200));
    QCOMPARE(Find<QListWidget>(session_->window, "List1")->geometry(), list);
}

// Where the frame would not fit the screen (layout_test_small_screen: twice
// the scale on a 1024 x 768 screen), the whole form is drawn smaller in its
// own proportions, its font with it.
void LayoutTest::formFitsTheScreen()
{
    const QRect area = QGuiApplication::primaryScreen()->availableGeometry();
    const QSize size = session_->window.size();
    if (HoldsFullSize(area))
        QSKIP("the screen holds the form at full size");
    QVERIFY(size.width() < 792 && size.width() >= 792 / 2);
    QVERIFY(qAbs(size.height() - size.width() * 544 / 792) <= 2);
    const QRect list = Find<QListWidget>(session_->window, "List1")->geometry();
    QVERIFY(QRect(QPoint(), size).contains(list));
    QVERIFY(qAbs(list.right() - size.width() * 11655 / 11880) <= 3);
    QVERIFY(session_->window.font().pixelSize() < 11);
}

// The rule both front ends draw the form by: the largest DPI at which the
// frame fits, never more than the system's nor less than half of it.
void LayoutTest::fittingDpi()
{
    QCOMPARE(FittingDpi(96, 10, 30, {0, 0, 1280, 1024}), 96);
    QCOMPARE(FittingDpi(192, 16, 40, {0, 0, 640, 480}), 96);
    const ScreenArea area{100, 50, 1024, 738};
    const int dpi = FittingDpi(192, 16, 40, area);
    QVERIFY(dpi < 192);
    QVERIFY(TwipsToPixels(kMainWidth, dpi) + 16 <= area.width);
    QVERIFY(TwipsToPixels(kMainHeight, dpi) + 40 <= area.height);
    QVERIFY(TwipsToPixels(kMainWidth, dpi + 1) + 16 > area.width ||
            TwipsToPixels(kMainHeight, dpi + 1) + 40 > area.height);
}

void LayoutTest::oneFontEverywhere()
{
    for (QWidget *control : session_->window.findChildren<QWidget *>(Qt::FindDirectChildrenOnly)) {
        const QFontInfo font(control->font());
        QCOMPARE(font.family(), "Liberation Sans Narrow");
        QCOMPARE(font.pixelSize(), 11);
        QVERIFY(!font.bold() && !font.italic());
        const bool link = qobject_cast<LinkLabel *>(control);
        QCOMPARE(font.underline(), link);
        if (qobject_cast<QLabel *>(control)) {
            const QColor text = control->palette().color(QPalette::WindowText);
            QCOMPARE(text == QColor(0, 0, 192), link);
        }
    }
}

void LayoutTest::labelsAndButtons()
{
    // Later siblings are drawn above earlier ones.
    const QObjectList stack = session_->window.children();
    qsizetype highestLabel = -1, lowestOther = stack.size();
    for (qsizetype i = 0; i < stack.size(); ++i) {
        if (qobject_cast<QLabel *>(stack[i]))
            highestLabel = i;
        else if (stack[i]->isWidgetType())
            lowestOther = std::min(lowestOther, i);
    }
    QVERIFY(highestLabel < lowestOther);
    QVERIFY(stack.indexOf(session_->window.findChild<QLabel *>("Label36")) >
            stack.indexOf(session_->window.findChild<QLabel *>("Label33")));

    for (QLabel *label : session_->window.findChildren<QLabel *>()) {
        QCOMPARE(label->focusPolicy(), Qt::NoFocus);
        QVERIFY(label->wordWrap());
        QCOMPARE(label->alignment(), Qt::AlignLeft | Qt::AlignTop);
        QVERIFY(label->autoFillBackground()); // so that Label36 hides Label33
    }
    for (QPushButton *button : session_->window.findChildren<QPushButton *>())
        QVERIFY(!button->autoDefault() && !button->isDefault());
}

void LayoutTest::noLabelIsCut()
{
    // Every line of every text stands in its rectangle, wrapped where the
    // rectangle is taller than a line; at most the descenders of a last line
    // may be cut, as the rectangles two lines high were drawn. Also run at
    // twice the scale.
    for (QLabel *label : session_->window.findChildren<QLabel *>()) {
        const int descent = label->fontMetrics().descent();
        QVERIFY2(label->heightForWidth(label->width()) - descent <= label->height(),
                 qPrintable(label->objectName()));
    }
}

QTEST_MAIN(LayoutTest)
#include "layout_test.moc"
