// The application object: names the program for the settings store and the
// data folders, and turns any error that escapes an event handler into the
// program's error report instead of a silent abort.
#pragma once

#include "dialogs.h"
#include "fontwarmup.h"

#include <QApplication>

#include <exception>
#include <functional>
#include <memory>

namespace brinevar {

// FontWarmUp comes first among the bases, so that its thread starts before
// QApplication connects to the display.
class Application : private FontWarmUp, public QApplication {
public:
    // The error report is shown through `dialogs`, which must outlive the
    // application.
    Application(int &argc, char **argv, Dialogs &dialogs);

    bool notify(QObject *receiver, QEvent *event) override;

    // Creates the start-up window with `create`, shows it and runs the event
    // loop; an error while creating it is reported and ends the program.
    int run(const std::function<std::unique_ptr<QWidget>()> &create);

private:
    // The error report: a message box titled with the program's title that
    // names the error.
    void ReportError(const std::exception_ptr &error);

    Dialogs &dialogs_;
};

} // namespace brinevar
