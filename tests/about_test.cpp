// The about box: its look, its load step at every showing, the keys that
// close it, and the System Info button wired to the launcher.
#include "frmabout.h"
#include "launcher.h"
#include "testsupport.h"

#include <QAccessible>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QTemporaryDir>
#include <QWindow>
#include <QtTest>

#include <functional>

using namespace brinevar;

namespace {

const QString kUnavailable = QStringLiteral("System Information Is Unavailable At This Time");
const std::string kTool = "C:\\Tools\\msinfo32.exe";

// The box over a machine that names kTool once nameTool() is called; starts
// are recorded, and succeed when the tool "exists".
struct AboutBox {
    explicit AboutBox(Dialogs &dialogs)
        : box(&owner, dialogs,
              {[this](std::string &commandLine) {
                   ++looks;
                   commandLine = named ? kTool : "";
                   return named ? Result() : Result::Failure("no tool");
               },
               [this](const std::string &commandLine) {
                   started << QString::fromStdString(commandLine);
                   return toolExists ? Result() : Result::Failure("no such program");
               }})
    {
    }

    QWidget owner;
    bool named = false;
    int looks = 0;
    bool toolExists = false;
    QStringList started;
    frmAbout box;

    void nameTool() { named = true; }
};

// Runs `action` once the modal box is up, then returns what exec() returned;
// a box that the action leaves open is closed after a while, so that a
// failing test cannot hang.
int ExecWith(QDialog &box, const std::function<void()> &action)
{
    QTimer::singleShot(0, &box, action);
    QTimer::singleShot(5000, &box, [&box] {
        if (box.isVisible()) {
            QTest::qFail("the box stayed open", __FILE__, __LINE__);
            box.reject();
        }
    });
    return box.exec();
}

} // namespace

class AboutTest : public QObject {
    Q_OBJECT

private slots:
    void createdWithoutShowing();
    void looksAsDesigned();
    void loadsAfreshAtEveryShowing();
    void aClosedBoxLeavesTheAccessibleTree();
    void keysThatClose_data();
    void keysThatClose();
    void enterOnSysInfoStartsTheTool();
    void unavailableToolShowsTheRealMessageBox();
    void drawsTheEtchedSeparator();
#ifndef Q_OS_WIN
    void startProgramRefuses_data();
    void startProgramRefuses();
    void startProgramDoesNotWait();
#endif
};

void AboutTest::createdWithoutShowing()
{
    Dialogs dialogs;
    AboutBox about(dialogs);
    QVERIFY(!about.box.isVisible());
    // The load step has not run either.
    QCOMPARE(Find<QLabel>(about.box, "lblVersion")->text(), QString());
}

void AboutTest::looksAsDesigned()
{
    Dialogs dialogs;
    AboutBox about(dialogs);
    about.box.show();
    QVERIFY(QTest::qWaitForWindowExposed(&about.box));
    frmAbout &box = about.box;

    QCOMPARE(box.windowTitle(), QStringLiteral("About Brinevar"));
    QCOMPARE(box.geometry(), QRect(156, 129, 382, 237));
    QCOMPARE(box.minimumSize(), QSize(382, 237));
    QCOMPARE(box.maximumSize(), QSize(382, 237));

    // A dialog owned by the main window: no task bar button of its own, a
    // close box and no minimize, maximize or help buttons.
    QCOMPARE(box.windowType(), Qt::Dialog);
    QCOMPARE(box.windowHandle()->transientParent(), about.owner.windowHandle());
    const Qt::WindowFlags flags = box.windowFlags();
    QVERIFY(flags & Qt::WindowCloseButtonHint);
    QVERIFY(flags & Qt::MSWindowsFixedSizeDialogHint);
    QVERIFY(!(flags & (Qt::WindowMinMaxButtonsHint | Qt::WindowContextHelpButtonHint)));

    QVERIFY(Find<QPushButton>(box, "cmdOK")->isDefault());
    QCOMPARE(box.focusWidget(), Find<QPushButton>(box, "cmdOK"));
    QCOMPARE(Find<QPushButton>(box, "cmdOK")->text(), QStringLiteral("OK"));
    QCOMPARE(Find<QPushButton>(box, "cmdSysInfo")->text(), QStringLiteral("&System Info..."));
    QCOMPARE(Find<QPushButton>(box, "cmdSysInfo")->geometry(), QRect(284, 205, 83, 23));
    const auto *description = box.findChild<QLabel *>(QStringLiteral("lblDescription"));
    QVERIFY(description);
    QCOMPARE(description->text(),
             QStringLiteral("To Edit the tanks.cfg file in Zoo Tycoon Marine Mania"));
}

void AboutTest::loadsAfreshAtEveryShowing()
{
    Dialogs dialogs;
    AboutBox about(dialogs);
    frmAbout &box = about.box;
    for (int showing = 0; showing < 2; ++showing) {
        const int result = ExecWith(box, [&] {
            QCOMPARE(box.windowTitle(), QStringLiteral("About Brinevar"));
            QCOMPARE(Find<QLabel>(box, "lblTitle")->text(), QStringLiteral("Brinevar"));
            QCOMPARE(Find<QLabel>(box, "lblVersion")->text(), QStringLiteral("Version 1.0.0"));
            QCOMPARE(box.geometry().topLeft(), QPoint(156, 129));
            QCOMPARE(box.focusWidget(), Find<QPushButton>(box, "cmdOK"));
            // Leave it changed, moved and with the other button focused; the
            // next showing must undo all of it.
            Find<QLabel>(box, "lblTitle")->setText(QStringLiteral("changed"));
            Find<QLabel>(box, "lblVersion")->setText(QStringLiteral("Version 9.9.9"));
            box.setWindowTitle(QStringLiteral("changed"));
            box.move(300, 300);
            Find<QPushButton>(box, "cmdSysInfo")->setFocus();
            Find<QPushButton>(box, "cmdOK")->click();
        });
        QCOMPARE(result, int(QDialog::Accepted));
        QVERIFY(!box.isVisible());
    }
}

void AboutTest::aClosedBoxLeavesTheAccessibleTree()
{
    Dialogs dialogs;
    AboutBox about(dialogs);
    auto listed = [&] {
        QAccessibleInterface *application = QAccessible::queryAccessibleInterface(qApp);
        for (int i = 0; i < application->childCount(); ++i)
            if (application->child(i)->object() == &about.box)
                return true;
        return false;
    };
    bool whileShown = false;
    ExecWith(about.box, [&] {
        whileShown = listed();
        about.box.reject();
    });
    QVERIFY(whileShown);
    QVERIFY(!listed());
}

void AboutTest::keysThatClose_data()
{
    QTest::addColumn<int>("key");
    QTest::newRow("Enter") << int(Qt::Key_Enter);
    QTest::newRow("Return") << int(Qt::Key_Return);
    QTest::newRow("Esc") << int(Qt::Key_Escape);
}

void AboutTest::keysThatClose()
{
    QFETCH(int, key);
    FakeDialogs dialogs;
    AboutBox about(dialogs);
    ExecWith(about.box, [&] { QTest::keyClick(about.box.focusWidget(), Qt::Key(key)); });
    QVERIFY(!about.box.isVisible());
    QVERIFY(dialogs.messages.isEmpty());
    QCOMPARE(about.looks, 0);
}

void AboutTest::enterOnSysInfoStartsTheTool()
{
    FakeDialogs dialogs;
    AboutBox about(dialogs);
    about.nameTool();
    about.toolExists = true;
    frmAbout &box = about.box;
    ExecWith(box, [&] {
        Find<QPushButton>(box, "cmdSysInfo")->setFocus();
        QTest::keyClick(box.focusWidget(), Qt::Key_Return);
        QCOMPARE(about.started, QStringList{QString::fromStdString(kTool)});
        QVERIFY(box.isVisible());
        box.reject();
    });
    QVERIFY(dialogs.messages.isEmpty());
}

void AboutTest::unavailableToolShowsTheRealMessageBox()
{
    Dialogs dialogs; // the tool is named but does not start
    AboutBox about(dialogs);
    about.nameTool();
    frmAbout &box = about.box;
    QString text, title;
    QStringList buttons;
    bool hadIcon = true;
    ExecWith(box, [&] {
        QTimer::singleShot(0, [&] {
            auto *message = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
            QVERIFY(message);
            text = message->text();
            title = message->windowTitle();
            for (QAbstractButton *button : message->buttons())
                buttons << button->text();
            hadIcon = message->icon() != QMessageBox::NoIcon;
            message->button(QMessageBox::Ok)->click();
        });
        Find<QPushButton>(box, "cmdSysInfo")->click(); // returns once the message is closed
        QVERIFY(box.isVisible());                      // and the box stays open
        Find<QPushButton>(box, "cmdOK")->click();
    });
    QCOMPARE(text, kUnavailable);
    QCOMPARE(title, QStringLiteral("Brinevar"));
    QCOMPARE(buttons, QStringList{QStringLiteral("OK")});
    QVERIFY(!hadIcon);
    QCOMPARE(about.started, QStringList{QString::fromStdString(kTool)});
}

void AboutTest::drawsTheEtchedSeparator()
{
    Dialogs dialogs;
    AboutBox about(dialogs);
    about.box.show();
    QVERIFY(QTest::qWaitForWindowExposed(&about.box));
    const QImage image = about.box.grab().toImage();
    // Grey on row 163 from x 6, white on rows 164 and 165 from x 7, both up to
    // x 376; the box's own background around them.
    const QColor grey(128, 128, 128), white(255, 255, 255);
    QCOMPARE(image.pixelColor(6, 163), grey);
    QCOMPARE(image.pixelColor(376, 163), grey);
    QCOMPARE(image.pixelColor(7, 164), white);
    QCOMPARE(image.pixelColor(376, 165), white);
    const QColor background = about.box.palette().color(QPalette::Window);
    QCOMPARE(image.pixelColor(5, 163), background);
    QCOMPARE(image.pixelColor(377, 164), background);
    QCOMPARE(image.pixelColor(100, 162), background);
    QCOMPARE(image.pixelColor(100, 166), background);
}

#ifndef Q_OS_WIN

void AboutTest::startProgramRefuses_data()
{
    QTest::addColumn<QString>("commandLine");
    QTest::newRow("empty") << QString();
    QTest::newRow("blanks only") << QStringLiteral("   ");
    QTest::newRow("missing program") << QStringLiteral("/nonexistent/brinevar-tool");
    QTest::newRow("a folder") << QStringLiteral("/tmp");
}

void AboutTest::startProgramRefuses()
{
    QFETCH(QString, commandLine);
    QVERIFY(!StartProgram(commandLine.toStdString()));
}

void AboutTest::startProgramDoesNotWait()
{
    QTemporaryDir folder;
    const QString marker = folder.filePath(QStringLiteral("started"));
    // Quotes group the shell's script into one argument, as a shell would.
    const QString commandLine =
        QStringLiteral("/bin/sh -c \"sleep 0.5; echo started > '%1'\"").arg(marker);
    QElapsedTimer timer;
    timer.start();
    QVERIFY(StartProgram(commandLine.toStdString()));
    QVERIFY(!QFile::exists(marker));
    QVERIFY(timer.elapsed() < 500);
    QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(marker), 5000);
}

#endif

QTEST_MAIN(AboutTest)
#include "about_test.moc"
