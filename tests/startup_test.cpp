#include "frmmain.h"
#include "settingsfile.h"
#include "testsupport.h"
#include "updatesfolder.h"

#include <QClipboard>
#include <QInputDialog>
#include <QLabel>
#include <QLineEdit>
#include <QSettings>
#include <QtTest>

#ifndef _WIN32
#include <sys/stat.h>
#endif

using namespace brinevar;

// What "opens at once" allows: far above a healthy start even in the
// sanitizer build on a busy machine (about 3 s there), far below the faults
// it catches (a pipe that never ends; a long value laid out in 7 to 18 s).
constexpr qint64 kOpensAtOnceMs = 6000;

namespace {
QString DefaultFolder()
{
    return QString::fromStdString(DefaultUpdatesFolder());
}

// ZTPath as "View ZT Path" shows it.
QString ShownPath(const frmMain &window, FakeDialogs &dialogs)
{
    QTest::mouseClick(Find(window, "Label41"), Qt::LeftButton);
    return dialogs.messages.isEmpty() ? QStringLiteral("(nothing shown)")
                                      : dialogs.messages.takeLast();
}
} // namespace

class StartupTest : public QObject {
    Q_OBJECT

private slots:
    void firstStartAsksOnceAndStoresTheDefaultAnswer();
    void cancelStoresTheEmptyPath();
    void storedTextsDecideWhetherToAsk_data();
    void storedTextsDecideWhetherToAsk();
    void missingCopyOpensWithInitialTexts();
    void copyNamingSomeSettingsFillsOnlyThose();
    void whatIsNoSettingsFileIsReportedAndTheWindowOpensAtOnce_data();
    void whatIsNoSettingsFileIsReportedAndTheWindowOpensAtOnce();
    void theLargestCopyReadStillOpensTheWindowAtOnce();
    void anUnwritableStoreIsReportedAndThePathServesThisRun_data();
    void anUnwritableStoreIsReportedAndThePathServesThisRun();
    void defaultAnswerPointsIntoTheWinePrefix();
    void realPromptShowsItsTextAsItStands();
    void aPathPastedWithItsLineEndLosesIt();
};

void StartupTest::firstStartAsksOnceAndStoresTheDefaultAnswer()
{
    Sandbox sandbox;
    FakeDialogs dialogs;
    frmMain window(dialogs);
    window.Form_Load();
    QCOMPARE(dialogs.prompts.size(), 1);
    QCOMPARE(dialogs.prompts[0].prompt,
             QStringLiteral("Please enter the path of your Zoo Tycoon Update Folder!"));
    QCOMPARE(dialogs.prompts[0].title, QStringLiteral("Folder Path"));
    QCOMPARE(dialogs.prompts[0].defaultAnswer, DefaultFolder());
    QCOMPARE(ShownPath(window, dialogs), DefaultFolder());
    QCOMPARE(sandbox.storedPath(), DefaultFolder());

    frmMain second(dialogs);

    second.Form_Load();
    QCOMPARE(dialogs.prompts.size(), 1);
    QCOMPARE(ShownPath(second, dialogs), DefaultFolder());
}

void StartupTest::cancelStoresTheEmptyPath()
{
    Sandbox sandbox;
    FakeDialogs dialogs;
    dialogs.answer = QString();
    frmMain window(dialogs);
    window.Form_Load();
    QCOMPARE(ShownPath(window, dialogs), QString());
    QCOMPARE(sandbox.storedPath(), QString());
    frmMain second(dialogs);
    second.Form_Load();
    QCOMPARE(dialogs.prompts.size(), 1);
}

void StartupTest::storedTextsDecideWhetherToAsk_data()
{
    QTest::addColumn<QVariant>("stored");
    QTest::addColumn<bool>("asks");
    QTest::newRow("zero means no path") << QVariant("0") << true;
    QTest::newRow("zero with a blank") << QVariant("0 ") << false;
    QTest::newRow("double zero") << QVariant("00") << false;
    QTest::newRow("empty") << QVariant("") << false;
    QTest::newRow("a folder") << QVariant("d:\\Games\\ZT\\Updates\\") << false;
    // Values that are no text ("Path=a, b", "@Rect(...)", "@Variant(...)")
    // mean no path, not an empty one.
    QTest::newRow("a list") << QVariant(QStringList{"a", "b"}) << true;
    QTest::newRow("a rectangle") << QVariant(QRect(1, 2, 3, 4)) << true;
    QTest::newRow("a date") << QVariant(QDate(2020, 1, 2)) << true;
}

void StartupTest::storedTextsDecideWhetherToAsk()
{
    QFETCH(QVariant, stored);
    QFETCH(bool, asks);
    Sandbox sandbox;
    QSettings(QStringLiteral("Brinevar"), QStringLiteral("Brinevar"))
        .setValue("MZTPath/Path", stored);
    FakeDialogs dialogs;
    dialogs.answer = QStringLiteral("typed\\");
    frmMain window(dialogs);
    window.Form_Load();
    QCOMPARE(dialogs.prompts.size(), asks ? 1 : 0);
    QCOMPARE(ShownPath(window, dialogs), asks ? QStringLiteral("typed\\") : stored.toString());
    QCOMPARE(sandbox.storedPath(), asks ? QStringLiteral("typed\\") : stored.toString());
}

void StartupTest::missingCopyOpensWithInitialTexts()
{
    Sandbox sandbox;
    sandbox.storePath(sandbox.updatesFolder());
    FakeDialogs dialogs;
    frmMain window(dialogs);
    window.Form_Load();
    QCOMPARE(Texts(window), InitialTexts());
    QVERIFY(dialogs.messages.isEmpty());
}

void StartupTest::copyNamingSomeSettingsFillsOnlyThose()
{
    Sandbox sandbox;
    sandbox.storePath(sandbox.updatesFolder());
    sandbox.write(sandbox.programFolder() + "/tanks.ini",
                  "[tank]\r\nTANKTERRAIN = 25\r\nsaltWater=3.25\r\n");
    FakeDialogs dialogs;
    frmMain window(dialogs);
    window.Form_Load();
    auto expected = InitialTexts();
    TextOf(expected, "saltWater") = "3.25";
    TextOf(expected, "tankTerrain") = "25"; // out of range, loaded all the same
    QCOMPARE(Texts(window), expected);
    QCOMPARE(Field(window, "initialSink")->text(), QStringLiteral("2")); // initial, not default
    QCOMPARE(window.findChild<QLineEdit *>("Text7")->text(), QStringLiteral("25"));
}

void StartupTest::whatIsNoSettingsFileIsReportedAndTheWindowOpensAtOnce_data()
{
    // clang-format off
    QTest::addColumn<QString>("kind");
    QTest::addColumn<QString>("reason");
    QTest::newRow("a folder") << "folder" << "Not an ordinary file";
    QTest::newRow("a file over the size limit") << "huge" << "File too large";
#ifndef _WIN32
    QTest::newRow("a pipe nobody writes to") << "fifo" << "Not an ordinary file";
    QTest::newRow("a link to /dev/zero") << "zero" << "Not an ordinary file";
#endif
    // clang-format on
}

void StartupTest::whatIsNoSettingsFileIsReportedAndTheWindowOpensAtOnce()
{
    QFETCH(QString, kind);
    QFETCH(QString, reason);
    Sandbox sandbox;
    sandbox.storePath(sandbox.updatesFolder());
    const QString copy = sandbox.programFolder() + "/tanks.ini";
    if (kind == "folder")
        QVERIFY(QDir(sandbox.programFolder()).mkdir("tanks.ini"));
    if (kind == "huge") { // sparse: nothing written
        QFile file(copy);
        QVERIFY(file.open(QIODevice::WriteOnly) && file.resize(qint64(kMaxSettingsFileSize) + 1));
    }
#ifndef _WIN32
    if (kind == "fifo")
        QCOMPARE(mkfifo(QFile::encodeName(copy), 0644), 0);
    if (kind == "zero")
        QVERIFY(QFile::link("/dev/zero", copy));
#endif
    FakeDialogs dialogs;
    QElapsedTimer timer;
    timer.start();
    frmMain window(dialogs);
    window.Form_Load();
    QVERIFY2(timer.elapsed() < kOpensAtOnceMs,
             qPrintable(QString::number(timer.elapsed()) + " ms"));
    QCOMPARE(dialogs.messages,
             QStringList{"Could not read " + QDir::toNativeSeparators(copy) + ":\n" + reason});
    QCOMPARE(Texts(window), InitialTexts());
}

void StartupTest::theLargestCopyReadStillOpensTheWindowAtOnce()
{
    // One value as long as the size limit lets it be, the worst for a field.
    Sandbox sandbox;
    sandbox.storePath(sandbox.updatesFolder());
    const QByteArray key = "saltWater = ";
    const QByteArray value(qsizetype(kMaxSettingsFileSize) - key.size() - 2, 'x');
    sandbox.write(sandbox.programFolder() + "/tanks.ini", key + value + "\r\n");
    FakeDialogs dialogs;
    QElapsedTimer timer;
    timer.start();
    frmMain window(dialogs);
    window.Form_Load();
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    QVERIFY2(timer.elapsed() < kOpensAtOnceMs,
             qPrintable(QString::number(timer.elapsed()) + " ms"));
    QCOMPARE(dialogs.messages, QStringList());
    QCOMPARE(Field(window, "saltWater")->text().size(), value.size());
}

void StartupTest::anUnwritableStoreIsReportedAndThePathServesThisRun_data()
{
    QTest::addColumn<QString>("blocker"); // what stands where the store must go
    QTest::addColumn<QString>("reason");
    QTest::newRow("a folder in place of the file") << "file"
                                                   << "refers to a directory";
    QTest::newRow("a file in place of its folder") << "folder"
                                                   << "Not a directory";
}

void StartupTest::anUnwritableStoreIsReportedAndThePathServesThisRun()
{
    QFETCH(QString, blocker);
    QFETCH(QString, reason);
    Sandbox sandbox;
    const QString store = QSettings("Brinevar", "Brinevar").fileName();
    if (blocker == "file")
        QVERIFY(QDir().mkpath(store));
    else
        sandbox.write(QFileInfo(store).absolutePath(), "in the way");
    FakeDialogs dialogs;
    dialogs.answer = QStringLiteral("typed\\");
    frmMain window(dialogs);
    window.Form_Load();
    QCOMPARE(dialogs.messages.size(), 1);
    const QString message = dialogs.messages[0];
    QVERIFY2(message.startsWith("Could not save the Updates folder in " +
                                QDir::toNativeSeparators(store) + ":\n"),
             qPrintable(message));
    QVERIFY2(message.contains(reason), qPrintable(message));
    QVERIFY(!sandbox.storedPath());
    QCOMPARE(ShownPath(window, dialogs), QStringLiteral("typed\\"));
}

void StartupTest::defaultAnswerPointsIntoTheWinePrefix()
{
#ifdef _WIN32
    QCOMPARE(DefaultFolder(),
             QStringLiteral("c:\\Program Files\\Microsoft Games\\Zoo Tycoon\\Updates\\"));
#else
    QTemporaryDir prefix;
    qputenv("WINEPREFIX", prefix.path().toLocal8Bit());
    QCOMPARE(DefaultFolder(),
             prefix.path() + "/drive_c/Program Files/Microsoft Games/Zoo Tycoon/Updates/");
    QDir(prefix.path()).mkpath("drive_c/Program Files (x86)");
    QCOMPARE(DefaultFolder(),
             prefix.path() + "/drive_c/Program Files (x86)/Microsoft Games/Zoo Tycoon/Updates/");
    // Where the game is wins over where a game would go, and (x86) over the other.
    QDir(prefix.path()).mkpath("drive_c/Program Files/Microsoft Games/Zoo Tycoon/Updates");
    QCOMPARE(DefaultFolder(),
             prefix.path() + "/drive_c/Program Files/Microsoft Games/Zoo Tycoon/Updates/");
    QDir(prefix.path()).mkpath("drive_c/Program Files (x86)/Microsoft Games/Zoo Tycoon/Updates");
    QCOMPARE(DefaultFolder(),
             prefix.path() + "/drive_c/Program Files (x86)/Microsoft Games/Zoo Tycoon/Updates/");
    qunsetenv("WINEPREFIX");
    QVERIFY(DefaultFolder().startsWith(QDir::homePath() + "/.wine/drive_c/"));
#endif
}

void StartupTest::realPromptShowsItsTextAsItStands()
{
    QString shown;
    Qt::TextFormat format = Qt::AutoText;
    QTimer::singleShot(0, [&] {
        QTRY_VERIFY(qobject_cast<QInputDialog *>(QApplication::activeModalWidget()));
        auto *prompt = qobject_cast<QInputDialog *>(QApplication::activeModalWidget());
        const QLabel *label = prompt->findChild<QLabel *>();
        shown = label->text();
        format = label->textFormat();
        prompt->reject();
    });
    QCOMPARE(Dialogs().input(nullptr, "<b>x</b>", "Folder Path", "c:\\"), QString());
    QCOMPARE(shown, QStringLiteral("<b>x</b>"));
    QCOMPARE(format, Qt::PlainText);
}

void StartupTest::aPathPastedWithItsLineEndLosesIt()
{
    // A path copied from a terminal or a file manager brings its line end
    // along; kept, it would name no folder at any later start.
    QGuiApplication::clipboard()->setText("/games/Updates/\n");
    QTimer::singleShot(0, [] {
        QTRY_VERIFY(qobject_cast<QInputDialog *>(QApplication::activeModalWidget()));
        auto *prompt = qobject_cast<QInputDialog *>(QApplication::activeModalWidget());
        auto *answer = prompt->findChild<QLineEdit *>();
        answer->selectAll();
        QTest::keySequence(answer, QKeySequence::Paste);
        prompt->accept();
    });
    QCOMPARE(Dialogs().input(nullptr, "Where?", "Folder Path", "c:\\"), "/games/Updates/");
}

QTEST_MAIN(StartupTest)
#include "startup_test.moc"
