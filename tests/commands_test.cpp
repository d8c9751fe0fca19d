#include "frmabout.h"
#include "frmmain.h"
#include "testsupport.h"

#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QtTest>

using namespace brinevar;

class CommandsTest : public QObject {
    Q_OBJECT

private slots:
    void setToDefaultKeepsTheFocus();
    void closingWritesNothing();
    void viewPathShowsTheStoredTextInARealMessageBox();
    void aboutIsCreatedOnceAndLoadedAtEveryShowing();
};

void CommandsTest::setToDefaultKeepsTheFocus()
{
    Sandbox sandbox;
    sandbox.storePath(sandbox.updatesFolder());
    sandbox.write(sandbox.programFolder() + "/tanks.ini", "tankTerrainShow = 99\r\n");
    FakeDialogs dialogs;
    frmMain window(dialogs, sandbox.services(), Sandbox::machine());
    window.Form_Load();
    window.show();
    QVERIFY(QTest::qWaitForWindowActive(&window));
    Field(window, "initialHeight")->setFocus();
    QCOMPARE(Field(window, "tankTerrainShow")->text(), QStringLiteral("99"));
    Find<QPushButton>(window, "cmdDefault")->click();
    // Texts set by the program move no focus and run no check.
    QCOMPARE(Texts(window), DefaultTexts());
    QVERIFY(dialogs.messages.isEmpty());
    QCOMPARE(window.focusWidget(), Field(window, "initialHeight"));
}

void CommandsTest::closingWritesNothing()
{
    MainWindowSession session;
    auto &[sandbox, dialogs, window] = session;
    window.show();
    Field(window, "saltWater")->setText("3");
    QVERIFY(window.close());
    QVERIFY(QDir(sandbox.updatesFolder()).isEmpty());
    QVERIFY(!QFile::exists(sandbox.programFolder() + "/tanks.ini"));
}

void CommandsTest::viewPathShowsTheStoredTextInARealMessageBox()
{
    // A text that looks like markup is shown as it stands.
    for (const QString &stored :
         {QStringLiteral("d:\\ZT\\Updates"), QString(), QStringLiteral("<b>x</b>")}) {
        Sandbox sandbox;
        sandbox.storePath(stored);
        Dialogs dialogs;
        frmMain window(dialogs, sandbox.services(), Sandbox::machine());
        window.Form_Load();
        window.show();
        MessageBoxSeen seen;
        AnswerNextMessageBox(seen);
        QTest::mouseClick(Find(window, "Label41"), Qt::LeftButton);
        QCOMPARE(seen.text, stored);
        QCOMPARE(seen.format, Qt::PlainText);
        QCOMPARE(seen.title, QStringLiteral("Brinevar"));
        QCOMPARE(seen.buttons, 1);
        QCOMPARE(seen.icon, QMessageBox::NoIcon);
    }
}

void CommandsTest::aboutIsCreatedOnceAndLoadedAtEveryShowing()
{
    MainWindowSession session;
    auto &[sandbox, dialogs, window] = session;
    window.show();
    QVERIFY(QTest::qWaitForWindowActive(&window));
    Field(window, "wallHeightPriceDivisor")->setFocus();
    QCOMPARE(window.findChild<frmAbout *>(), nullptr);

    QList<frmAbout *> shown;
    QStringList versions;
    for (int showing = 0; showing < 2; ++showing) {
        QTimer::singleShot(0, [&] {
            QTRY_VERIFY(qobject_cast<frmAbout *>(QApplication::activeModalWidget()));
            auto *box = qobject_cast<frmAbout *>(QApplication::activeModalWidget());
            shown << box;
            versions << Find<QLabel>(*box, "lblVersion")->text();
            Find<QLabel>(*box, "lblVersion")->setText("changed while shown");
            Find<QPushButton>(*box, "cmdOK")->click();
        });
        QTest::mouseClick(Find(window, "Label43"), Qt::LeftButton);
        QVERIFY(!window.findChild<frmAbout *>()->isVisible());
    }
    QCOMPARE(shown.size(), 2);
    QCOMPARE(shown[0], shown[1]);
    QCOMPARE(shown[0], window.findChild<frmAbout *>());
    QCOMPARE(versions, QStringList({"Version 1.0.0", "Version 1.0.0"}));
    QVERIFY(dialogs.messages.isEmpty());
}

QTEST_MAIN(CommandsTest)
#include "commands_test.moc"
