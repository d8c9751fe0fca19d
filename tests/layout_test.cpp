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

    void controls_data();
    void controls();
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

void LayoutTest::controls_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<int>("index");
    QTest::addColumn<QString>("kind");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QRect>("rect");
    QTest::addColumn<QString>("accessibleName");

    // A field is named by its caption's words, as a sighted player reads them.
    auto field = [](const char *name, const char *words, const char *text, int left, int top) {
        QTest::newRow(name) << name << -1 << "QLineEdit" << text << Twips(left, top, 615, 285)
                            << words;
    };
    auto help = [](const char *array, int index, const char *words, int left, int top) {
        QTest::addRow("%s(%d)", array, index)
            << array << index << "QPushButton"
            << "?" << Twips(left, top, 375, 255) << QStringLiteral("Help on %1").arg(words);
    };
    auto label = [](const char *name, const char *text, int left, int top, int width, int height) {
        const bool link = qstrcmp(name, "Label41") == 0 || qstrcmp(name, "Label43") == 0;
        QTest::newRow(name) << name << -1 << (link ? "brinevar::LinkLabel" : "QLabel") << text
                            << Twips(left, top, width, height) << QString();
    };

    // clang-format off
    // Fields: 615 by 285, with the initial texts of their settings.
    field("Text1", "saltwater", "1.5", 2280, 1200);
    field("Text17", "freshwater", "1.0", 2280, 2160);
    field("Text18", "wallHeightPriceDivisor", "5", 2280, 3600);
    field("Text19", "initialSink", "2", 2280, 4800);
    field("Text20", "initialHeight", "5", 2280, 5760);
    field("Text9", "initialSinkShow", "8", 2280, 6720);
    field("Text10", "initialHeightShow", "9", 2280, 7680);
    field("Text11", "initialWaterLevel", "0", 5880, 1560);
    field("Text12", "initialFillState", "1", 5880, 2520);
    field("Text13", "initialSalinity", "100", 5880, 3480);
    field("Text15", "initialTempature", "0", 5880, 4440);
    field("Text16", "maximumTankHeight", "20", 6000, 5400);
    field("Text14", "waterOffset", "-1", 6000, 6480);
    field("Text7", "tankTerrain", "2", 8640, 5520);
    field("Text8", "tankTerrainShow", "2", 10920, 5520);
    field("Text2", "initialWaterPurity", "100", 6000, 7440);
    field("Text3", "murkyWaterPurity", "60", 9720, 1560);
    field("Text4", "veryMurkyWaterPurity", "20", 9720, 2520);
    field("Text5", "extremelyMurkyWaterPurity", "1", 9960, 3480);
    field("Text6", "waterPurityDecayTime", "300", 9720, 4440);
    // "?" buttons: 375 by 255, named after the field they help with.
    help("Command1", 0, "saltwater", 3000, 1200);
    help("Command1", 1, "freshwater", 3000, 2160);
    help("Command1", 2, "wallHeightPriceDivisor", 3000, 3600);
    help("Command1", 5, "initialFillState", 6600, 2520);
    help("Command1", 9, "initialSalinity", 6600, 3480);
    help("Command2", 9, "initialTempature", 6600, 4440);
    help("Command2", 5, "maximumTankHeight", 6720, 5400);
    help("Command2", 3, "waterOffset", 6720, 6480);
    help("Command2", 0, "waterPurityDecayTime", 10440, 4440);
    // Labels; texts exact, trailing blanks included.
    label("Label1", "Purity point at which the heavy scum images are drawn.", 7560, 2040, 4215, 255);
    label("Label2", "veryMurkyWaterPurity = ", 7920, 2520, 1815, 255);
    label("Label3", "Purity point for the very heavy scum that cant be seen through.", 7560, 3000, 4095, 495);
    label("Label4", "initialWaterPurity = ", 4560, 7440, 1455, 255);
    label("Label5", "Initial water purity point.", 4080, 6960, 2175, 255);
    label("Label6", "waterOffset = ", 4920, 6480, 1095, 255);
    label("Label7", "maximumTankHeight = ", 4200, 5400, 1815, 255);
    label("Label8", "Maximum tank height.", 4080, 4920, 1815, 255);
    label("Label9", "Initial height of show tank on creation.", 240, 7200, 3135, 255);
    label("Label10", "initialHeightShow = ", 840, 7680, 1575, 255);
    label("Label11", "initialSinkShow = ", 960, 6720, 1335, 255);
    label("Label12", "Initial fill state -- 0 = emptying; 1 = filling.", 4080, 2040, 2895, 255);
    label("Label13", "initialHeight = ", 1200, 5760, 1095, 255);
    label("Label14", "Initial height of tank on creation.", 240, 5280, 2415, 255);
    label("Label15", "initialSink = ", 1320, 4800, 975, 255);
    label("Label16", "Number of subtiles to sink the tank in the ground on creation", 240, 4200, 3375, 375);
    label("Label17", "murkyWaterPurity = ", 8160, 1560, 1455, 255);
    label("Label18", "extremelyMurkyWaterPurity = ", 7800, 3480, 2175, 255);
    label("Label19", "Time in ms before the water purity drops one point.", 7560, 3960, 3735, 255);
    label("Label20", "waterPurityDecayTime = ", 7800, 4440, 1935, 255);
    label("Label21", "Terrain type of tank bottoms.", 8400, 5040, 2415, 255);
    label("Label22", "tankTerrain = ", 7560, 5520, 1215, 255);
    label("Label23", "Purity point at which the light scum images are drawn.", 7560, 1080, 3855, 255);
    label("Label24", "This number represents the space in z from the top of the tank.", 4080, 5880, 3015, 375);
    label("Label25", "Initial water level of tank on creation.", 4080, 1080, 2655, 255);
    label("Label26", "initialWaterLevel = ", 4440, 1560, 1335, 255);
    label("Label27", "initialFillState = ", 4680, 2520, 1215, 255);
    label("Label28", "Initial salinity on creation.", 4080, 3000, 2655, 255);
    label("Label29", "initialSalinity = ", 4800, 3480, 1095, 255);
    label("Label30", "Initial temperature on creation.", 4080, 3960, 2775, 255);
    label("Label31", "initialTempature = ", 4440, 4440, 1455, 255);
    label("Label32", "Number of subtiles to sink the show tank on creation.", 240, 6240, 3255, 255);
    label("Label33", "This program lets you change the setting of the Tank.cfg file to reflect what you would "
          "like the tanks to do.  ", 240, 240, 8415, 375);
    label("Label34", "saltwater = ", 1320, 1200, 855, 255);
    label("Label35", "*This is the price of 1 cubic unit of salt water. ", 240, 840, 3255, 255);
    label("Label36", "This will replace any tanks.cfg file in your updates folder.", 240, 480, 4215, 255);
    label("Label37", "*This is the price of 1 cubic unit of fresh water.", 240, 1680, 3375, 255);
    label("Label38", "freshwater = ", 1200, 2160, 975, 255);
    label(
        "Label39", "Factor to calculate tank wall adjustment.  Price to raise wall = price of wall / "
        "wallHeightPriceDivisor.  If wallHeightPriceDivisor = 0, then raising tank height is free.", 240, 2640, 3375, 855);
    label("Label40", "wallHeightPriceDivisor = ", 360, 3600, 2055, 375);
    label("Label41", "View ZT Path", 9480, 0, 1095, 255);
    label("Label42", "tankTerrainShow = ", 9480, 5520, 1455, 255);
    label("Label43", "About", 11040, 0, 495, 255);
    // clang-format on
    // The commands and the terrain list.
    QTest::newRow("cmdDefault") << "cmdDefault" << -1 << "QPushButton"
                                << "Set To Default" << Twips(8400, 360, 1575, 495) << QString();
    QTest::newRow("Command3") << "Command3" << -1 << "QPushButton"
                              << "Save and Exit" << Twips(10320, 360, 1455, 495) << QString();
    QTest::newRow("List1") << "List1" << -1 << "QListWidget" << QString()
                           << Twips(7560, 6000, 4095, 2010) << "Terrain type of tank bottoms.";
}

void LayoutTest::controls()
{
    QFETCH(QString, name);
    QFETCH(int, index);
    QFETCH(QString, kind);
    QFETCH(QString, text);
    QFETCH(QRect, rect);
    QFETCH(QString, accessibleName);

    QWidget *control = nullptr;
    for (QWidget *candidate : session_->window.findChildren<QWidget *>(name)) {
        const QVariant property = candidate->property("index");
        if (property.isValid() ? property.toInt() == index : index < 0) {
            QVERIFY2(!control, "two controls with one name and index");
            control = candidate;
        }
    }
    QVERIFY(control);
    QCOMPARE(control->parentWidget(), &session_->window);
    QCOMPARE(control->metaObject()->className(), kind);
    QCOMPARE(control->geometry(), rect);
    if (auto *field = qobject_cast<QLineEdit *>(control))
        QCOMPARE(field->text(), text);
    else if (auto *label = qobject_cast<QLabel *>(control))
        QCOMPARE(label->text(), text);
    else if (auto *button = qobject_cast<QPushButton *>(control))
        QCOMPARE(button->text(), text);
    if (!accessibleName.isEmpty())
        QCOMPARE(control->accessibleName(), accessibleName);
    if (index >= 0)
        QCOMPARE(Find<QPushButton>(session_->window, name, index), control);
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
