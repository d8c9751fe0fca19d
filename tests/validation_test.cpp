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
    void everyLocaleSignIsJudgedAsTheNumberItIs();
};

void ValidationTest::leavingAField_data()
{
    // clang-format off
    QTest::addColumn<QString>("field");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("way");
    QTest::addColumn<QString>("message"); // empty: the text passes

    // What each text gets is the checks' (rangecheck_test, mainwindow_test);
    // here each checked field holds the focus, whichever way it is left.
    QTest::newRow("Text7 by Tab") << "Text7" << "18" << "Tab" << kTerrainRefusal;
    QTest::newRow("Text8 by Shift+Tab") << "Text8" << "-1" << "Shift+Tab" << kShowTerrainRefusal;
    QTest::newRow("Text12 by click") << "Text12" << "2" << "click" << kFillStateRefusal;
    QTest::newRow("passing Text7 by click") << "Text7" << "17" << "click" << "";
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
