#include "application.h"

#include "version.h"

#include <QWidget>

namespace brinevar {
namespace {

QString Describe(const std::exception_ptr &error)
{
    try {
        std::rethrow_exception(error);
    } catch (const std::exception &e) {
        return QString::fromLocal8Bit(e.what());
    } catch (...) {
        return QStringLiteral("Unknown error");
    }
}

} // namespace

Application::Application(int &argc, char **argv, Dialogs &dialogs)
    : QApplication(argc, argv), dialogs_(dialogs)
{
    finish();
    setApplicationName(QString::fromStdString(ProgramTitle()));
    setDesktopFileName(QString::fromUtf8(kDesktopFileName));
    setApplicationVersion(QString::fromStdString(ProgramVersion()));
}

bool Application::notify(QObject *receiver, QEvent *event)
{
    try {
        return QApplication::notify(receiver, event);
    } catch (...) {
        ReportError(std::current_exception());
        exit(1);
        return false;
    }
}

int Application::run(const std::function<std::unique_ptr<QWidget>()> &create)
{
    std::unique_ptr<QWidget> window;
    try {
        window = create();
    } catch (...) {
        ReportError(std::current_exception());
        return 1;
    }
    window->show();
    return exec();
}

void Application::ReportError(const std::exception_ptr &error)
{
    dialogs_.message(nullptr, QStringLiteral("Run-time error:\n\n") + Describe(error));
}

} // namespace brinevar
