// "Save and Exit" pressed through the real window onto paths that cannot be
// written: every failure is the one message naming the file and the reason,
// the window stays with every edit, and no file appears anywhere else. Off
// Windows, a Windows path is a folder of the Wine prefix.
#include "childprocess.h"
#include "frmmain.h"
#include "programfolder.h"
#include "savesettings.h"
#include "testsupport.h"

#include <QLineEdit>
#include <QPushButton>
#include <QtTest>

#ifndef _WIN32
#include <sys/stat.h>
#include <unistd.h>
#endif

using namespace brinevar;

namespace {

QStringList Entries(const QString &folder)
{
    return QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::System |
                                  QDir::NoDotAndDotDot);
}

} // namespace

class SaveFailuresTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanupTestCase();
    void everyFailureIsTheMessageAndKeepsTheWindow_data();
    void everyFailureIsTheMessageAndKeepsTheWindow();
    void copyFailingAfterTheGameFileSaysTheGameFileWasSaved();
    void aTextTheFileCannotHoldIsRefusedBeforeAnythingIsWritten();
    void gameFileName_data();
    void gameFileName();
#ifndef _WIN32
    void windowsPathSavesIntoTheWinePrefix();
#endif

private:
    QTemporaryDir prefix_, data_, working_;
    QString formerWorkingFolder_;
};

void SaveFailuresTest::initTestCase()
{
    // A Wine prefix with a C: drive and a D: link, a lock folder and a
    // working folder of the test's own.
    QVERIFY(QDir(prefix_.path()).mkpath("drive_c/Games/Updates"));
    QVERIFY(QDir(prefix_.path()).mkpath("dosdevices"));
    QVERIFY(QFile::link(data_.path(), prefix_.path() + "/dosdevices/d:"));
    qputenv("WINEPREFIX", QFile::encodeName(prefix_.path()));
    qputenv("XDG_DATA_HOME", QFile::encodeName(data_.path()));
    formerWorkingFolder_ = QDir::currentPath();
    QDir::setCurrent(working_.path());
}

void SaveFailuresTest::cleanupTestCase()
{
    QDir::setCurrent(formerWorkingFolder_);
    qunsetenv("WINEPREFIX");
    qunsetenv("XDG_DATA_HOME");
}

void SaveFailuresTest::everyFailureIsTheMessageAndKeepsTheWindow_data()
{
    // clang-format off
    QTest::addColumn<QString>("setup");
    QTest::addColumn<QString>("ztPath"); // after the Updates folder
    QTest::addColumn<QString>("reason");
    QTest::addColumn<bool>("asUser"); // needs a user other than root

    QTest::newRow("path too long") << "" << QString("d/").repeated(2100) << "File name too long" << false;
    QTest::newRow("folder name over 255 bytes") << "" << QString(300, 'n') + "/" << "File name too long" << false;
    QTest::newRow("missing folder") << "" << "no such folder/" << "No such file or directory" << false;
#ifndef _WIN32
    QTest::newRow("symlink loop") << "loop" << "loop/" << "Too many levels of symbolic links" << false;
    QTest::newRow("tanks.cfg linked to itself") << "self link" << "" << "Too many levels of symbolic links" << false;
    QTest::newRow("tanks.cfg a pipe") << "pipe" << "" << "Not an ordinary file" << false;
    QTest::newRow("a file as the folder, backslash") << "file" << "file\\" << "Not a directory" << false;
    QTest::newRow("folder the user cannot open") << "closed" << "closed/Updates/" << "Permission denied" << true;
    QTest::newRow("read-only tanks.cfg") << "read-only" << "" << "Permission denied" << true;
#endif
    // clang-format on
}

void SaveFailuresTest::everyFailureIsTheMessageAndKeepsTheWindow()
{
    QFETCH(QString, setup);
    QFETCH(QString, ztPath);
    QFETCH(QString, reason);
    QFETCH(bool, asUser);
    if (asUser && IsSuperuser())
        QSKIP("root may open and write anything; savefailures_test_unprivileged runs this as "
              "nobody");
    Sandbox sandbox;
    const QString updates = sandbox.updatesFolder();
#ifndef _WIN32
    if (setup == "loop")
        QVERIFY(QFile::link("loop", updates + "loop"));
    if (setup == "self link")
        QVERIFY(QFile::link("tanks.cfg", updates + "tanks.cfg"));
    if (setup == "pipe")
        QCOMPARE(mkfifo(QFile::encodeName(updates + "tanks.cfg"), 0644), 0);
    if (setup == "file")
        sandbox.write(updates + "file", "not a folder");
    if (setup == "closed")
        QVERIFY(QDir(updates).mkdir("closed", QFileDevice::Permissions()));
    if (setup == "read-only") {
        sandbox.write(updates + "tanks.cfg", "former");
        QVERIFY(QFile::setPermissions(updates + "tanks.cfg", QFileDevice::ReadOwner));
    }
#endif
    const QStringList before = Entries(updates);
    sandbox.storePath(updates + ztPath);
    FakeDialogs dialogs;
    frmMain window(dialogs, sandbox.services(), Sandbox::machine());
    window.Form_Load();
    window.show();
    QVERIFY(QTest::qWaitForWindowActive(&window));
    Field(window, "freshWater")->setText("edited");
    const TankSettings texts = Texts(window);
    ClickThroughWindow(Find<QPushButton>(window, "Command3"));

    QCOMPARE(dialogs.messages.size(), 1);
    const QString message = dialogs.messages[0];
    QVERIFY2(message.startsWith("Could not save " + updates), qPrintable(message));
    QVERIFY2(message.contains("tanks.cfg:\n" + reason), qPrintable(message));
    QVERIFY(!message.contains("was saved"));
    QVERIFY(window.isVisible());
    QCOMPARE(Texts(window), texts);
    QCOMPARE(Entries(updates), before);
    QVERIFY(Entries(sandbox.programFolder()).isEmpty());
    QVERIFY(Entries(working_.path()).isEmpty());
    if (setup == "read-only")
        QCOMPARE(sandbox.read(updates + "tanks.cfg"), QByteArray("former"));
    if (setup == "closed")
        QFile::setPermissions(updates + "closed", QFileDevice::ReadOwner | QFileDevice::WriteOwner |
                                                      QFileDevice::ExeOwner);
}

void SaveFailuresTest::copyFailingAfterTheGameFileSaysTheGameFileWasSaved()
{
    MainWindowSession session;
    auto &[sandbox, dialogs, window] = session;
    window.show();
    QVERIFY(QDir(sandbox.programFolder()).mkdir("tanks.ini")); // a folder in place of the file
    Find<QPushButton>(window, "Command3")->click();
    QCOMPARE(dialogs.messages.size(), 1);
    QVERIFY2(dialogs.messages[0].startsWith("Could not save " + sandbox.programFolder() +
                                            QDir::separator() + "tanks.ini:\n"),
             qPrintable(dialogs.messages[0]));
    QVERIFY2(
        dialogs.messages[0].endsWith("\n\n" + sandbox.updatesFolder() + "tanks.cfg was saved."),
        qPrintable(dialogs.messages[0]));
    QVERIFY(window.isVisible());
    QVERIFY(sandbox.read(sandbox.updatesFolder() + "tanks.cfg").startsWith("[cost]\r\n"));
}

void SaveFailuresTest::aTextTheFileCannotHoldIsRefusedBeforeAnythingIsWritten()
{
    MainWindowSession session;
    auto &[sandbox, dialogs, window] = session;
    QVERIFY(session.showActive());
    sandbox.write(sandbox.updatesFolder() + "tanks.cfg", "former cfg");
    sandbox.write(sandbox.programFolder() + "/tanks.ini", "former ini");
    Field(window, "saltWater")->setText(u"a\u200f\u0436\U0001F41F\u0436"_qs);
    Field(window, "initialSalinity")->setText(u"\u0436"_qs);
    Field(window, "initialTemperature")->setText(u"7\u20ac\u00df"_qs); // 1252 holds these
    const TankSettings texts = Texts(window);
    QLineEdit *focused = Field(window, "freshWater");
    focused->setFocus();
    Find<QPushButton>(window, "Command3")->click();

    QCOMPARE(
        dialogs.messages,
        QStringList{u"saltWater holds U+200F \u0436 \U0001F41F, which tanks.cfg cannot store.\n"
                    u"initialSalinity holds \u0436, which tanks.cfg cannot store.\n\n"
                    u"Nothing was saved."_qs});
    QVERIFY(window.isVisible());
    QCOMPARE(Texts(window), texts);
    QCOMPARE(window.focusWidget(), focused);
    QCOMPARE(sandbox.read(sandbox.updatesFolder() + "tanks.cfg"), QByteArray("former cfg"));
    QCOMPARE(sandbox.read(sandbox.programFolder() + "/tanks.ini"), QByteArray("former ini"));
    QCOMPARE(Entries(sandbox.updatesFolder()), QStringList{"tanks.cfg"});
}

void SaveFailuresTest::gameFileName_data()
{
    // clang-format off
    QTest::addColumn<QString>("ztPath");
    QTest::addColumn<QString>("file"); // <prefix>: the Wine prefix
#ifdef _WIN32
    QTest::newRow("backslash") << "c:\\Games\\Updates\\" << "c:\\Games\\Updates\\tanks.cfg";
    QTest::newRow("no separator") << "c:\\Games\\Updates" << "c:\\Games\\Updates\\tanks.cfg";
    QTest::newRow("slash") << "c:/Games/Updates/" << "c:\\Games\\Updates\\tanks.cfg";
    QTest::newRow("empty") << "" << "tanks.cfg";
    QTest::newRow("zero") << "0" << "0\\tanks.cfg";
#else
    QTest::newRow("slash") << "/games/Updates/" << "/games/Updates/tanks.cfg";
    QTest::newRow("no separator") << "/games/Updates" << "/games/Updates/tanks.cfg";
    QTest::newRow("trailing backslash") << "/games/Updates\\" << "/games/Updates/tanks.cfg";
    QTest::newRow("empty") << "" << "tanks.cfg";
    QTest::newRow("zero") << "0" << "0/tanks.cfg";
    QTest::newRow("drive C, any case") << "C:\\GAMES\\updates\\" << "<prefix>/drive_c/Games/Updates/tanks.cfg";
    QTest::newRow("drive c, slashes") << "c:/Games/Updates" << "<prefix>/drive_c/Games/Updates/tanks.cfg";
    QTest::newRow("drive c alone") << "c:" << "<prefix>/drive_c/tanks.cfg";
    QTest::newRow("drive d, a dosdevices link") << "D:\\ZT\\" << "<prefix>/dosdevices/d:/ZT/tanks.cfg";
    QTest::newRow("drive without a link") << "q:\\x\\" << "<prefix>/dosdevices/q:/x/tanks.cfg";
    QTest::newRow("no step above the drive") << "C:\\..\\..\\..\\tmp\\x\\" << "<prefix>/drive_c/tmp/x/tanks.cfg";
    QTest::newRow("steps back inside it") << "c:\\Games\\.\\old\\..\\Updates\\" << "<prefix>/drive_c/Games/Updates/tanks.cfg";
#endif
    // clang-format on
}

void SaveFailuresTest::gameFileName()
{
    QFETCH(QString, ztPath);
    QFETCH(QString, file);
    file.replace("<prefix>", prefix_.path());
    QCOMPARE(QString::fromStdString(PathToUtf8(GameFilePath(ztPath.toStdString()))), file);
}

#ifndef _WIN32
void SaveFailuresTest::windowsPathSavesIntoTheWinePrefix()
{
    Sandbox sandbox;
    sandbox.storePath("C:\\GAMES\\updates\\");
    FakeDialogs dialogs;
    frmMain window(dialogs, sandbox.services(), Sandbox::machine());
    window.Form_Load();
    QTest::mouseClick(Find(window, "Label41"), Qt::LeftButton);
    Find<QPushButton>(window, "Command3")->click();
    QCOMPARE(dialogs.messages, QStringList{"C:\\GAMES\\updates\\"}); // as stored
    const QString game = prefix_.path() + "/drive_c/Games/Updates/tanks.cfg";
    QVERIFY(sandbox.read(game).startsWith("[cost]\r\n"));
    QCOMPARE(sandbox.read(sandbox.programFolder() + "/tanks.ini"), sandbox.read(game));
    QVERIFY(Entries(working_.path()).isEmpty());
    QVERIFY(QFile::remove(game));
}
#endif

QTEST_MAIN(SaveFailuresTest)
#include "savefailures_test.moc"
