// Starting a program where there is no CreateProcess: Qt splits the command
// line and starts the program detached, in its own session, so that it stays
// when this program ends.
#include "launcher.h"

#include <QProcess>
#include <QString>
#include <QStringList>

namespace brinevar {

bool StartProgram(const std::string &commandLine)
{
    QStringList arguments = QProcess::splitCommand(QString::fromStdString(commandLine));
    if (arguments.isEmpty())
        return false;
    const QString program = arguments.takeFirst();
    return QProcess::startDetached(program, arguments);
}

} // namespace brinevar
