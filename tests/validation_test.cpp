// The range checks and help buttons of the main window, driven as a user
// drives them: presses delivered through the window, and the Tab keys.
#include "frmmain.h"
#include "testsupport.h"

#include <QAccessible>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QSignalSpy>
#include <QtTest>

#include <algorithm>

using namespace brinevar;

namespace {

const QString kTerrainRefusal = "The value in Tank Terrain must be a number from 0 to 17";
const QString kShowTerrainRefusal = "The value in Show Tank Terrain must be a number from 0 to 17";
const QString kFillStateRefusal = "The value in Initial Fill State must be either 0 or 1";

// A shown, active main window over a sandbox whose Updates folder exists.
struct Session {
    explicit Session(Dialogs &dialogs, const QByteArray &copy = {})
    {
        sandbox.storePath(sandbox.updatesFolder());
        if (!copy.isEmpty())
            sandbox.write(sandbox.programFolder() + "/tanks.ini", copy);
        window = std::make_unique<frmMain>(dialogs, sandbox.services(), Sandbox::machine());
        window->Form_Load();
        window->show();
        window->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(window.get()));
    }

    QLineEdit *field(const char *name) const { return window->findChild<QLineEdit *>(name); }
    // Puts the focus in `name` and types `text` over its text.
    QLineEdit *enter(const char *name, const QString &text) const
    {
        QLineEdit *edit = field(name);
        edit->setFocus();
        edit->selectAll();
        QTest::keyClicks(edit, text);
        if (text.isEmpty())
            QTest::keyClick(edit, Qt::Key_Delete);
        return edit;
    }
    bool saved() const
    {
        return QFile::exists(sandbox.updatesFolder() + "tanks.cfg") ||
               QFile::exists(sandbox.programFolder() + "/tanks.ini");
    }

    Sandbox sandbox;
    std::unique_ptr<frmMain> window;
};

} // namespace

class ValidationTest : public QObject {
    Q_OBJECT

private slots:
    void leavingAField_data();
    void leavingAField();
    void saveAndExitWaitsForAPassingText();
    void helpBesideTheRefusedFieldShowsTheRefusal();
    void setToDefaultRestoresNothingAfterARefusal();
    void captionsRunNoCheck();
    void outOfRangeCopyIsNeverReported();
    void helpButtons_data();
    void helpButtons();
    void refusalInARealMessageBox();
    void commandsPressedByAnAccessibilityClientWaitForAPassingText();
    void enterOnTheFocusedSaveButtonSaves();
    void everyLocaleSignIsJudgedAsTheNumberItIs();
};

void ValidationTest::leavingAField_data()
{
    // clang-format off
    QTest::addColumn<QString>("field");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("way");
    QTest::addColumn<QString>("message"); // empty: the text passes

    QTest::newRow("Text7 18 by Tab") << "Text7" << "18" << "Tab" << kTerrainRefusal;
    QTest::newRow("Text7 17.5 by Shift+Tab") << "Text7" << "17.5" << "Shift+Tab" << kTerrainRefusal;
    QTest::newRow("Text7 -1 by click") << "Text7" << "-1" << "click" << kTerrainRefusal;
    QTest::newRow("Text7 empty") << "Text7" << "" << "Tab" << kTerrainRefusal;
    QTest::newRow("Text7 letters") << "Text7" << "abc" << "click" << kTerrainRefusal;
    QTest::newRow("Text7 number then letters") << "Text7" << "5abc" << "Tab" << kTerrainRefusal;
    QTest::newRow("Text7 1e400") << "Text7" << "1e400" << "Tab" << kTerrainRefusal;
    QTest::newRow("Text7 17") << "Text7" << "17" << "Tab" << "";
    QTest::newRow("Text7 2.5") << "Text7" << "2.5" << "click" << "";
    QTest::newRow("Text7 blanks around") << "Text7" << " 5 " << "Shift+Tab" << "";
    QTest::newRow("Text8 18") << "Text8" << "18" << "click" << kShowTerrainRefusal;
    QTest::newRow("Text8 empty") << "Text8" << "" << "Shift+Tab" << kShowTerrainRefusal;
    QTest::newRow("Text8 0") << "Text8" << "0" << "Tab" << "";
    QTest::newRow("Text12 2") << "Text12" << "2" << "Tab" << kFillStateRefusal;
    QTest::newRow("Text12 -1") << "Text12" << "-1" << "click" << kFillStateRefusal;
    QTest::newRow("Text12 empty") << "Text12" << "" << "click" << kFillStateRefusal;
    QTest::newRow("Text12 0.5") << "Text12" << "0.5" << "Tab" << "";
    QTest::newRow("Text12 1") << "Text12" << "1" << "click" << "";
    // clang-format on
}

void ValidationTest::leavingAField()
{
    QFETCH(QString, field);
    QFETCH(QString, text);
    QFETCH(QString, way);
    QFETCH(QString, message);
    FakeDialogs dialogs;
    Session session(dialogs);
    QLineEdit *edit = session.enter(field.toLatin1(), text);
    QCOMPARE(edit->text(), text);

    auto leave = [&] {
        if (way == "click")
            ClickThroughWindow(session.field("Text1"));
        else
            QTest::keyClick(edit, Qt::Key_Tab, way == "Tab" ? Qt::NoModifier : Qt::ShiftModifier);
    };
    leave();
    if (message.isEmpty()) {
        QVERIFY(dialogs.messages.isEmpty());
        QVERIFY(QApplication::focusWidget() != edit);
        return;
    }
    QCOMPARE(dialogs.messages, QStringList{message});
    QCOMPARE(QApplication::focusWidget(), edit);
    QCOMPARE(edit->text(), text);
    // And again, each time, until the text passes.
    leave();
    QCOMPARE(dialogs.messages, QStringList({message, message}));
    QCOMPARE(QApplication::focusWidget(), edit);
    QCOMPARE(edit->text(), text);
}

void ValidationTest::saveAndExitWaitsForAPassingText()
{
    FakeDialogs dialogs;
    Session session(dialogs);
    QSignalSpy clicked(Find<QPushButton>(*session.window, "Command3"), &QPushButton::clicked);
    QLineEdit *edit = session.enter("Text7", "18");
    ClickThroughWindow(Find<QPushButton>(*session.window, "Command3"));
    QCOMPARE(dialogs.messages, QStringList{kTerrainRefusal});
    QCOMPARE(clicked.size(), 0);
    QVERIFY(!session.saved());
    QVERIFY(session.window->isVisible());
    QCOMPARE(QApplication::focusWidget(), edit);

    session.enter("Text7", "17");
    ClickThroughWindow(Find<QPushButton>(*session.window, "Command3"));
    QCOMPARE(dialogs.messages.size(), 1);
    QCOMPARE(clicked.size(), 1);
    const Sandbox &sandbox = session.sandbox;
    QVERIFY(
        sandbox.read(sandbox.updatesFolder() + "tanks.cfg").contains("\r\ntankTerrain = 17\r\n"));
    QCOMPARE(sandbox.read(sandbox.programFolder() + "/tanks.ini"),
             sandbox.read(sandbox.updatesFolder() + "tanks.cfg"));
    QVERIFY(!session.window->isVisible());
}

void ValidationTest::helpBesideTheRefusedFieldShowsTheRefusal()
{
    FakeDialogs dialogs;
    Session session(dialogs);
    QLineEdit *edit = session.enter("Text12", "5");
    QPushButton *help = Find<QPushButton>(*session.window, "Command1", 5);
    ClickThroughWindow(help);
    QCOMPARE(dialogs.messages, QStringList{kFillStateRefusal});
    QCOMPARE(QApplication::focusWidget(), edit);

    session.enter("Text12", "0");
    ClickThroughWindow(help);
    QCOMPARE(dialogs.messages, QStringList({kFillStateRefusal, "Can only be set to 1 or 0"}));
    QCOMPARE(QApplication::focusWidget(), help);
}

void ValidationTest::setToDefaultRestoresNothingAfterARefusal()
{
    FakeDialogs dialogs;
    Session session(dialogs);
    session.enter("Text8", "18");
    const TankSettings before = Texts(*session.window);
    ClickThroughWindow(Find<QPushButton>(*session.window, "cmdDefault"));
    QCOMPARE(dialogs.messages, QStringList{kShowTerrainRefusal});
    QCOMPARE(Texts(*session.window), before);
}

void ValidationTest::captionsRunNoCheck()
{
    FakeDialogs dialogs;
    Session session(dialogs);
    QLineEdit *edit = session.enter("Text7", "18");
    for (const char *caption : {"Label41", "Label22", "Label33"})
        ClickThroughWindow(session.window->findChild<QWidget *>(caption));
    QVERIFY(!dialogs.messages.contains(kTerrainRefusal));
    QCOMPARE(QApplication::focusWidget(), edit);
    QCOMPARE(edit->text(), QStringLiteral("18"));
    // Closing the window is no move of the focus either.
    session.window->close();
    QVERIFY(!dialogs.messages.contains(kTerrainRefusal));
    QVERIFY(!session.saved());
}

void ValidationTest::outOfRangeCopyIsNeverReported()
{
    FakeDialogs dialogs;
    Session session(dialogs,
                    "tankTerrain = 25\r\ntankTerrainShow = -3\r\ninitialFillState = x\r\n");
    QCOMPARE(session.field("Text7")->text(), QStringLiteral("25"));
    QSignalSpy clicked(Find<QPushButton>(*session.window, "Command3"), &QPushButton::clicked);
    // Walk the focus about, never leaving a checked field.
    ClickThroughWindow(session.field("Text6"));
    ClickThroughWindow(session.field("Text1"));
    QTest::keyClick(session.field("Text1"), Qt::Key_Tab);
    ClickThroughWindow(Find<QPushButton>(*session.window, "Command3"));
    QVERIFY(dialogs.messages.isEmpty());
    QCOMPARE(clicked.size(), 1);
    // Saved unchanged.
    const QByteArray file = session.sandbox.read(session.sandbox.updatesFolder() + "tanks.cfg");
    QVERIFY(file.contains("\r\ntankTerrain = 25\r\n"));
    QVERIFY(file.contains("\r\ntankTerrainShow = -3\r\n"));
    QVERIFY(file.contains("\r\ninitialFillState = x\r\n"));
}

void ValidationTest::helpButtons_data()
{
    QTest::addColumn<QString>("array");
    QTest::addColumn<int>("index");
    QTest::addColumn<QString>("message");
    QTest::newRow("Command1 0")
        << "Command1" << 0
        << "This is how much the game will charge you for each square of saltwater as you "
           "raise/lower the tank wall.  I did not test max/min numbers";
    QTest::newRow("Command1 1")
        << "Command1" << 1
        << "This is how much the game will charge you for each square of freshwater as you "
           "raise/lower the tank wall.  I did not test max/min numbers";
    QTest::newRow("Command1 2")
        << "Command1" << 2
        << "This sets how much the game will charge you to raise/lower the wall.  If you set "
           "wallHeightPriceDivisor, saltwater, freshwater all to 0 it will charge you $0.  Bonus: "
           "Set the value to a negative number (e.g. -5)";
    QTest::newRow("Command1 5") << "Command1" << 5 << "Can only be set to 1 or 0";
    QTest::newRow("Command1 9") << "Command1" << 9 << "The saltiness of the tank on creation";
    QTest::newRow("Command2 0")
        << "Command2" << 0
        << "This number seems to have a negative effect if greater than 100 million miliseconds";
    QTest::newRow("Command2 3")
        << "Command2" << 3
        << "Can be set to a positive number but looks funny because the water is above the tank "
           "wall also the Staff need to climb down the ladder in order to feed the fishes - i.e. "
           "no animals ever get fed";
    QTest::newRow("Command2 5") << "Command2" << 5
                                << "I have set this number to 200 without any problems I do not "
                                   "know about negative numbers.";
    QTest::newRow("Command2 9") << "Command2" << 9 << "I have not messed with this number at all.";
}

void ValidationTest::helpButtons()
{
    QFETCH(QString, array);
    QFETCH(int, index);
    QFETCH(QString, message);
    FakeDialogs dialogs;
    Session session(dialogs);
    const TankSettings before = Texts(*session.window);
    ClickThroughWindow(Find<QPushButton>(*session.window, array, index));
    QCOMPARE(dialogs.messages, QStringList{message});
    QCOMPARE(Texts(*session.window), before);
}

void ValidationTest::refusalInARealMessageBox()
{
    Dialogs dialogs; // the plain Qt message box
    Session session(dialogs);
    QLineEdit *edit = session.enter("Text12", "2");
    MessageBoxSeen seen;
    AnswerNextMessageBox(seen);
    QTest::keyClick(edit, Qt::Key_Tab);
    QCOMPARE(seen.title, QStringLiteral("Brinevar"));
    QCOMPARE(seen.text, kFillStateRefusal);
    QCOMPARE(seen.format, Qt::PlainText);
    QCOMPARE(seen.buttons, 1);
    QTRY_COMPARE(QApplication::activeWindow(), session.window.get());
    QCOMPARE(QApplication::focusWidget(), edit);
    QCOMPARE(edit->text(), QStringLiteral("2"));
}

void ValidationTest::commandsPressedByAnAccessibilityClientWaitForAPassingText()
{
    FakeDialogs dialogs;
    Session session(dialogs);
    frmMain &window = *session.window;
    QLineEdit *edit = session.enter("Text7", "18");
    const TankSettings before = Texts(window);
    auto press = [](QWidget *button) {
        QAccessibleInterface *control = QAccessible::queryAccessibleInterface(button);
        QVERIFY(control && control->actionInterface());
        control->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
    };
    QStringList expected;
    for (QPushButton *button :
         {Find<QPushButton>(window, "Command3"), Find<QPushButton>(window, "cmdDefault"),
          Find<QPushButton>(window, "Command1", 0)}) {
        press(button);
        expected << kTerrainRefusal;
        QTRY_COMPARE(dialogs.messages, expected); // the press clicks 100 ms later
        QCOMPARE(QApplication::focusWidget(), edit);
    }
    QCOMPARE(Texts(window), before);
    QVERIFY(!session.saved());
    QVERIFY(window.isVisible());

    session.enter("Text7", "17");
    press(Find<QPushButton>(window, "Command3"));
    QTRY_VERIFY(!window.isVisible());
    QVERIFY(session.saved());
    QCOMPARE(dialogs.messages, expected);
}

void ValidationTest::enterOnTheFocusedSaveButtonSaves()
{
    FakeDialogs dialogs;
    Session session(dialogs);
    session.enter("Text7", "17");
    Find<QPushButton>(*session.window, "Command3")->setFocus();
    QTest::keyClick(Find<QPushButton>(*session.window, "Command3"), Qt::Key_Return);
    QVERIFY(session.saved());
    QVERIFY(!session.window->isVisible());
    QVERIFY(dialogs.messages.isEmpty());
}

void ValidationTest::everyLocaleSignIsJudgedAsTheNumberItIs()
{
    // Whatever sign or decimal separator a locale writes, the bounds judge
    // the number the numeric test read.
    const RangeCheck &terrain = *Catalogue()[*FindSettingByField("Text7")].check;
    QSet<QString> seen;
    for (const QLocale &locale : QLocale::matchingLocales(QLocale::AnyLanguage, QLocale::AnyScript,
                                                          QLocale::AnyTerritory)) {
        const NumberFormat format = NumberFormatOf(locale);
        const QString minus = locale.negativeSign(), plus = locale.positiveSign(),
                      point = locale.decimalPoint();
        if (seen.contains(minus + ' ' + plus + ' ' + point))
            continue;
        seen.insert(minus + ' ' + plus + ' ' + point);
        const std::pair<QString, bool> cases[] = {
            {minus + "5", false},       {minus + "0", true},        {plus + "17", true},
            {plus + "18", false},       {"16" + point + "5", true}, {"17" + point + "5", false},
            {"1E" + plus + "2", false}, {"1E" + minus + "1", true},
        };
        for (const auto &[text, inRange] : cases) {
            const std::string utf8 = text.toStdString();
            QVERIFY2(NumericForm(utf8, format), qPrintable(locale.name() + ": " + text));
            // No locale's sign or separator beyond ASCII is one that
            // tanks.cfg can hold, and such a text is refused whatever it says.
            const bool passes = inRange && std::all_of(text.begin(), text.end(),
                                                       [](QChar c) { return c.unicode() < 0x80; });
            QVERIFY2(Passes(utf8, terrain, format) == passes,
                     qPrintable(locale.name() + ": " + text));
        }
    }
    qInfo("%lld kinds of sign and decimal separator among the locales", qsizetype(seen.size()));
}

QTEST_MAIN(ValidationTest)
#include "validation_test.moc"
