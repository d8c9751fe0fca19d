#include "frmmain.h"
#include "settingsfile.h"
#include "testsupport.h"

#include <QClipboard>
#include <QInputDialog>
#include <QLabel>
#include <QLineEdit>
#include <QSettings>
#include <QtTest>

using namespace brinevar;

// What "opens at once" allows: far above a healthy start even in the
// sanitizer build on a busy machine (about 3 s there), far below the faults
// it catches (a pipe that never ends; a long value laid out in 7 to 18 s).
constexpr qint64 kOpensAtOnceMs = 6000;

namespace {
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
    void aStoredValueThatIsNoTextAsks_data();
    void aStoredValueThatIsNoTextAsks();
    void theLargestCopyReadStillOpensTheWindowAtOnce();
    void anUnwritableStoreIsReportedAndThePathServesThisRun_data();
    void anUnwritableStoreIsReportedAndThePathServesThisRun();
    void realPromptShowsItsTextAsItStands();
    void aPathPastedWithItsLineEndLosesIt();
};

void StartupTest::aStoredValueThatIsNoTextAsks_data()
{
    // Values that are no text ("Path=a, b", "@Rect(...)", "@Variant(...)")
    // mean no path, not an empty one.
    QTest::addColumn<QVariant>("stored");
    QTest::newRow("a list") << QVariant(QStringList{"a", "b"});
    QTest::newRow("a rectangle") << QVariant(QRect(1, 2, 3, 4));
    QTest::newRow("a date") << QVariant(QDate(2020, 1, 2));
}

void StartupTest::aStoredValueThatIsNoTextAsks()
{
    QFETCH(QVariant, stored);
    Sandbox sandbox;
    QSettings(QStringLiteral("Brinevar"), QStringLiteral("Brinevar"))
        .setValue("MZTPath/Path", stored);
    FakeDialogs dialogs;
    dialogs.answer = QStringLiteral("typed\\");
    frmMain window(dialogs, sandbox.services(), Sandbox::machine());
    window.Form_Load();
    QCOMPARE(dialogs.prompts.size(), 1);
    QCOMPARE(ShownPath(window, dialogs), QStringLiteral("typed\\"));
    QCOMPARE(sandbox.storedPath(), QStringLiteral("typed\\"));
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
    frmMain window(dialogs, sandbox.services(), Sandbox::machine());
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
    frmMain window(dialogs, sandbox.services(), Sandbox::machine());
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
