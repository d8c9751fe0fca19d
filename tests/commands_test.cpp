#include "frmabout.h"
#include "frmmain.h"
#include "linklabel.h"
#include "programfolder.h"
#include "settingsfile.h"
#include "testsupport.h"

#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QStandardPaths>
#include <QtTest>

using namespace brinevar;

namespace {

// The file text expected for `texts`, written here from the format itself.
QByteArray ExpectedFile(const TankSettings &texts)
{
    QByteArray text = "[cost]\r\n";
    for (std::size_t i = 0; i < kSettingCount; ++i) {
        if (i == 3)
            text += "[tank]\r\n";
        text += QByteArray(Catalogue()[i].name.data(), qsizetype(Catalogue()[i].name.size())) +
                " = " + QByteArray::fromStdString(texts[i]) + "\r\n";
    }
    return text;
}

} // namespace

class CommandsTest : public QObject {
    Q_OBJECT

private slots:
    void saveWritesBothFilesAlikeAndCloses();
    void defaultsThenSaveGiveTheDefaultFile();
    void setToDefaultDoesNothingElse();
    void failedSaveKeepsTheWindowAndTheFormerFile();
    void emptyPathSavesIntoTheWorkingFolder();
    void closingWritesNothing();
    void viewPathShowsTheStoredTextInARealMessageBox();
    void unwritableProgramFolderKeepsTheCopyPerUser();
    void aboutIsCreatedOnceAndLoadedAtEveryShowing();
};

void CommandsTest::saveWritesBothFilesAlikeAndCloses()
{
    Sandbox sandbox;
    sandbox.storePath(sandbox.updatesFolder());
    FakeDialogs dialogs;
    frmMain window;
    window.show();
    window.field(0)->setText("2.75");
    window.field(13)->setText("25"); // a text the range check would refuse, never left
    window.field(19)->setText("");
    window.saveAndExitButton()->click();

    auto expected = InitialTexts();
    expected[0] = "2.75";
    expected[13] = "25";
    expected[19] = "";
    QCOMPARE(sandbox.read(sandbox.updatesFolder() + "tanks.cfg"), ExpectedFile(expected));
    QCOMPARE(sandbox.read(sandbox.programFolder() + "/tanks.ini"), ExpectedFile(expected));
    QVERIFY(dialogs.messages.isEmpty());
    QVERIFY(!window.isVisible());

    // The next start shows what was saved, except the empty text it passes over.
    frmMain next;
    expected[19] = Catalogue()[19].initialText;
    QCOMPARE(next.texts(), expected);
}

void CommandsTest::defaultsThenSaveGiveTheDefaultFile()
{
    Sandbox sandbox;
    sandbox.storePath(sandbox.updatesFolder());
    FakeDialogs dialogs;
    frmMain window;
    window.setToDefaultButton()->click();
    window.saveAndExitButton()->click();
    const QByteArray file = sandbox.read(sandbox.updatesFolder() + "tanks.cfg");
    QCOMPARE(file.size(), 467);
    QVERIFY(file.contains("\r\ninitialSink = 5\r\n"));
    QVERIFY(file.contains("\r\ntankTerrainShow = 17\r\n"));
    QCOMPARE(sandbox.read(sandbox.programFolder() + "/tanks.ini"), file);
}

void CommandsTest::setToDefaultDoesNothingElse()
{
    Sandbox sandbox;
    sandbox.storePath(sandbox.updatesFolder());
    sandbox.write(sandbox.programFolder() + "/tanks.ini", "tankTerrainShow = 99\r\n");
    FakeDialogs dialogs;
    frmMain window;
    window.show();
    QVERIFY(QTest::qWaitForWindowActive(&window));
    window.field(4)->setFocus();
    QCOMPARE(window.field(14)->text(), QStringLiteral("99"));
    window.setToDefaultButton()->click();
    QCOMPARE(window.texts(), DefaultTexts());
    QVERIFY(dialogs.messages.isEmpty());
    QCOMPARE(window.focusWidget(), window.field(4));
    QVERIFY(QDir(sandbox.updatesFolder()).isEmpty());
    QCOMPARE(sandbox.read(sandbox.programFolder() + "/tanks.ini"),
             QByteArray("tankTerrainShow = 99\r\n"));
}

void CommandsTest::failedSaveKeepsTheWindowAndTheFormerFile()
{
    Sandbox sandbox;
    const QString missing = sandbox.updatesFolder() + "no such folder/";
    sandbox.storePath(missing);
    sandbox.write(sandbox.programFolder() + "/tanks.ini", "saltWater = 9\r\n");
    FakeDialogs dialogs;
    frmMain window;
    window.show();
    window.field(1)->setText("edited");
    const auto before = window.texts();
    window.saveAndExitButton()->click();

    QCOMPARE(dialogs.messages.size(), 1);
    QVERIFY(dialogs.messages[0].contains("tanks.cfg"));
    QVERIFY(dialogs.messages[0].contains("no such folder"));
    QVERIFY(window.isVisible());
    QCOMPARE(window.texts(), before);
    // Nothing further was written: the copy is still the former one.
    QCOMPARE(sandbox.read(sandbox.programFolder() + "/tanks.ini"), QByteArray("saltWater = 9\r\n"));
}

void CommandsTest::emptyPathSavesIntoTheWorkingFolder()
{
    Sandbox sandbox;
    sandbox.storePath("");
    QTemporaryDir working;
    const QString former = QDir::currentPath();
    QDir::setCurrent(working.path());
    FakeDialogs dialogs;
    frmMain window;
    window.saveAndExitButton()->click();
    QDir::setCurrent(former);
    QCOMPARE(sandbox.read(working.path() + "/tanks.cfg"), ExpectedFile(InitialTexts()));
}

void CommandsTest::closingWritesNothing()
{
    Sandbox sandbox;
    sandbox.storePath(sandbox.updatesFolder());
    FakeDialogs dialogs;
    frmMain window;
    window.show();
    window.field(0)->setText("3");
    QVERIFY(window.close());
    QVERIFY(QDir(sandbox.updatesFolder()).isEmpty());
    QVERIFY(!QFile::exists(sandbox.programFolder() + "/tanks.ini"));
}

void CommandsTest::viewPathShowsTheStoredTextInARealMessageBox()
{
    for (const QString &stored : {QStringLiteral("d:\\ZT\\Updates"), QString()}) {
        Sandbox sandbox;
        sandbox.storePath(stored);
        frmMain window;
        window.show();
        MessageBoxSeen seen;
        AnswerNextMessageBox(seen);
        QTest::mouseClick(window.viewZTPathLabel(), Qt::LeftButton);
        QCOMPARE(seen.text, stored);
        QCOMPARE(seen.title, QStringLiteral("Brinevar"));
        QCOMPARE(seen.buttons, 1);
        QCOMPARE(seen.icon, QMessageBox::NoIcon);
        QCOMPARE(window.zTPath(), stored);
    }
}

void CommandsTest::unwritableProgramFolderKeepsTheCopyPerUser()
{
    Sandbox sandbox;
    sandbox.storePath(sandbox.updatesFolder());
    // A program folder that cannot be written: here one that does not exist.
    SetProgramFolder((sandbox.programFolder() + "/installed/bin").toStdString());
    QTemporaryDir data;
    qputenv("XDG_DATA_HOME", QFile::encodeName(data.path()));
    const QString copy = data.path() + "/Brinevar/tanks.ini";
    FakeDialogs dialogs;
    {
        frmMain window;
        window.field(2)->setText("7");
        window.saveAndExitButton()->click();
        QVERIFY(dialogs.messages.isEmpty());
    }
    QVERIFY(QFile::exists(copy));
    frmMain next;
    QCOMPARE(next.field(2)->text(), QStringLiteral("7"));
    qunsetenv("XDG_DATA_HOME");
}

void CommandsTest::aboutIsCreatedOnceAndLoadedAtEveryShowing()
{
    Sandbox sandbox;
    sandbox.storePath(sandbox.updatesFolder());
    FakeDialogs dialogs;
    frmMain window;
    window.show();
    QVERIFY(QTest::qWaitForWindowActive(&window));
    window.field(2)->setFocus();
    QCOMPARE(window.aboutBox(), nullptr);

    QList<frmAbout *> shown;
    QStringList versions;
    for (int showing = 0; showing < 2; ++showing) {
        QTimer::singleShot(0, [&] {
            QTRY_VERIFY(qobject_cast<frmAbout *>(QApplication::activeModalWidget()));
            auto *box = qobject_cast<frmAbout *>(QApplication::activeModalWidget());
            shown << box;
            versions << box->versionLabel()->text();
            box->versionLabel()->setText("changed while shown");
            box->okButton()->click();
        });
        QTest::mouseClick(window.aboutLabel(), Qt::LeftButton);
        QVERIFY(!window.aboutBox()->isVisible());
    }
    QCOMPARE(shown.size(), 2);
    QCOMPARE(shown[0], shown[1]);
    QCOMPARE(shown[0], window.aboutBox());
    QCOMPARE(versions, QStringList({"Version 1.0.0", "Version 1.0.0"}));
    QVERIFY(dialogs.messages.isEmpty());
}

QTEST_MAIN(CommandsTest)
#include "commands_test.moc"
