// "Save and Exit" pressed through the real window when the save fails: one
// message box, and the window stays with every edit (and, for a text the
// file cannot hold, the focus where it was). What the message says and that
// no file changes is tested without a window (savesettings_test.cpp).
#include "frmmain.h"
#include "testsupport.h"

#include <QLineEdit>
#include <QPushButton>
#include <QtTest>

using namespace brinevar;

class SaveFailuresTest : public QObject {
    Q_OBJECT

private slots:
    void aFailedSaveKeepsTheWindowAndEveryEdit();
    void aTextTheFileCannotHoldKeepsTheWindowAndTheFocus();
};

void SaveFailuresTest::aFailedSaveKeepsTheWindowAndEveryEdit()
{
    Sandbox sandbox;
    sandbox.storePath(sandbox.updatesFolder() + "no such folder/");
    FakeDialogs dialogs;
    frmMain window(dialogs, sandbox.services(), Sandbox::machine());
    window.Form_Load();
    window.show();
    QVERIFY(QTest::qWaitForWindowActive(&window));
    Field(window, "freshWater")->setText("edited");
    const TankSettings texts = Texts(window);
    ClickThroughWindow(Find<QPushButton>(window, "Command3"));

    QCOMPARE(dialogs.messages.size(), 1);
    QVERIFY2(dialogs.messages[0].startsWith("Could not save "), qPrintable(dialogs.messages[0]));
    QVERIFY(window.isVisible());
    QCOMPARE(Texts(window), texts);
}

void SaveFailuresTest::aTextTheFileCannotHoldKeepsTheWindowAndTheFocus()
{
    MainWindowSession session;
    auto &[sandbox, dialogs, window] = session;
    QVERIFY(session.showActive());
    Field(window, "initialSalinity")->setText(u"\u0436"_qs);
    const TankSettings texts = Texts(window);
    QLineEdit *focused = Field(window, "freshWater");
    focused->setFocus();
    Find<QPushButton>(window, "Command3")->click();

    QCOMPARE(dialogs.messages.size(), 1);
    QVERIFY2(dialogs.messages[0].endsWith("Nothing was saved."), qPrintable(dialogs.messages[0]));
    QVERIFY(window.isVisible());
    QCOMPARE(Texts(window), texts);
    QCOMPARE(window.focusWidget(), focused);
}

QTEST_MAIN(SaveFailuresTest)
#include "savefailures_test.moc"
