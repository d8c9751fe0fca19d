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
    MainWindowSession session;
    auto &[sandbox, dialogs, window] = session;
    window.show();
    Field(window, "saltWater")->setText("2.75");
    Field(window, "tankTerrain")->setText("25"); // a text the range check would refuse, never left
    Field(window, "waterPurityDecayTime")->setText("");
    Find<QPushButton>(window, "Command3")->click();

    auto expected = InitialTexts();
    TextOf(expected, "saltWater") = "2.75";
    TextOf(expected, "tankTerrain") = "25";
    TextOf(expected, "waterPurityDecayTime") = "";
    QCOMPARE(sandbox.read(sandbox.updatesFolder() + "tanks.cfg"), ExpectedFile(expected));
    QCOMPARE(sandbox.read(sandbox.programFolder() + "/tanks.ini"), ExpectedFile(expected));
    QVERIFY(dialogs.messages.isEmpty());
    QVERIFY(!window.isVisible());

    // The next start shows what was saved, except the empty text it passes over.
    frmMain next(dialogs);
    next.Form_Load();
    TankSettings initial = InitialTexts();
    TextOf(expected, "waterPurityDecayTime") = TextOf(initial, "waterPurityDecayTime");
    QCOMPARE(Texts(next), expected);
}

void CommandsTest::defaultsThenSaveGiveTheDefaultFile()
{
    Sandbox sandbox;
    sandbox.storePath(sandbox.updatesFolder());
    FakeDialogs dialogs;
    frmMain window(dialogs);
    window.Form_Load();
    Find<QPushButton>(window, "cmdDefault")->click();
    Find<QPushButton>(window, "Command3")->click();
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
    frmMain window(dialogs);
    window.Form_Load();
    window.show();
    QVERIFY(QTest::qWaitForWindowActive(&window));
    Field(window, "initialHeight")->setFocus();
    QCOMPARE(Field(window, "tankTerrainShow")->text(), QStringLiteral("99"));
    Find<QPushButton>(window, "cmdDefault")->click();
    QCOMPARE(Texts(window), DefaultTexts());
    QVERIFY(dialogs.messages.isEmpty());
    QCOMPARE(window.focusWidget(), Field(window, "initialHeight"));
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
    frmMain window(dialogs);
    window.Form_Load();
    window.show();
    Field(window, "freshWater")->setText("edited");
    const auto before = Texts(window);
    Find<QPushButton>(window, "Command3")->click();

    QCOMPARE(dialogs.messages.size(), 1);
    QVERIFY(dialogs.messages[0].contains("tanks.cfg"));
    QVERIFY(dialogs.messages[0].contains("no such folder"));
    QVERIFY(window.isVisible());
    QCOMPARE(Texts(window), before);
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
    frmMain window(dialogs);
    window.Form_Load();
    Find<QPushButton>(window, "Command3")->click();
    QDir::setCurrent(former);
    QCOMPARE(sandbox.read(working.path() + "/tanks.cfg"), ExpectedFile(InitialTexts()));
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
        frmMain window(dialogs);
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
        frmMain window(dialogs);
        window.Form_Load();
        Field(window, "wallHeightPriceDivisor")->setText("7");
        Find<QPushButton>(window, "Command3")->click();
        QVERIFY(dialogs.messages.isEmpty());
    }
    QVERIFY(QFile::exists(copy));
    frmMain next(dialogs);
    next.Form_Load();
    QCOMPARE(Field(next, "wallHeightPriceDivisor")->text(), QStringLiteral("7"));
    qunsetenv("XDG_DATA_HOME");
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
