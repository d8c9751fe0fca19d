#include "application.h"
#include "testsupport.h"

#include <QtTest>

#include <stdexcept>

namespace {
// A handler that fails the way an unguarded file operation would.
class Failing : public QObject {
public:
    bool event(QEvent *e) override
    {
        if (e->type() == QEvent::User)
            throw std::runtime_error("tanks.cfg: Permission denied");
        return QObject::event(e);
    }
};
} // namespace

class ErrorReportTest : public QObject {
    Q_OBJECT

public:
    // What the application showed: the test's answers to its modal boxes.
    explicit ErrorReportTest(FakeDialogs &dialogs) : dialogs(dialogs) {}

private slots:
    void errorEscapingAHandlerIsReportedAndEndsTheProgram()
    {
        dialogs.messages.clear();
        Failing failing;
        QCoreApplication::postEvent(&failing, new QEvent(QEvent::User));
        QTimer::singleShot(5000, [] { QCoreApplication::exit(99); });
        QCOMPARE(QCoreApplication::exec(), 1);
        QCOMPARE(dialogs.messages.size(), 1);
        QVERIFY(dialogs.messages[0].contains("tanks.cfg: Permission denied"));
    }

    void errorWhileCreatingTheWindowIsReported()
    {
        dialogs.messages.clear();
        auto *app = static_cast<brinevar::Application *>(QCoreApplication::instance());
        const int code = app->run([]() -> std::unique_ptr<QWidget> {
            throw std::runtime_error("tanks.ini: Input past end of file");
        });
        QCOMPARE(code, 1);
        QCOMPARE(dialogs.messages.size(), 1);
        QVERIFY(dialogs.messages[0].contains("Input past end of file"));
    }

private:
    FakeDialogs &dialogs;
};

int main(int argc, char *argv[])
{
    FakeDialogs dialogs;
    brinevar::Application app(argc, argv, dialogs);
    ErrorReportTest test(dialogs);
    return QTest::qExec(&test, argc, argv);
}

#include "errorreport_test.moc"
