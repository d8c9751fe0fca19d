#include "updatesfolder.h"

#include <QDir>
#include <QFileInfo>
#include <QProcessEnvironment>

namespace brinevar {

QString DefaultUpdatesFolder()
{
#ifdef _WIN32
    return QStringLiteral("c:\\Program Files\\Microsoft Games\\Zoo Tycoon\\Updates\\");
#else
    QString prefix = QProcessEnvironment::systemEnvironment().value(QStringLiteral("WINEPREFIX"));
    if (prefix.isEmpty())
        prefix = QDir::homePath() + QStringLiteral("/.wine");
    const QString drive = prefix + QStringLiteral("/drive_c/");
    const QString programFiles = QFileInfo(drive + QStringLiteral("Program Files (x86)")).isDir()
                                     ? QStringLiteral("Program Files (x86)")
                                     : QStringLiteral("Program Files");
    return drive + programFiles + QStringLiteral("/Microsoft Games/Zoo Tycoon/Updates/");
#endif
}

} // namespace brinevar
