#include "savesettings.h"

#include "programfolder.h"
#include "settingsfile.h"
#include "updatesfolder.h"

#include <QDir>

namespace brinevar {

QString GameFilePath(const QString &ztPath)
{
    if (ztPath.isEmpty() || ztPath.endsWith('\\') || ztPath.endsWith('/'))
        return ztPath + kGameFileName;
    return ztPath + QDir::separator() + kGameFileName;
}

QString SettingsCopyPath()
{
    return SettingsCopyFile(kSettingsCopyName);
}

std::optional<QString> SaveSettingsFiles(const QString &ztPath, const TankSettings &settings)
{
    for (const QString &file : {GameFilePath(ztPath), SettingsCopyPath()}) {
        try {
            WriteSettingsFile(ToFileSystemPath(file), settings);
        } catch (const FileError &error) {
            return DescribeFileError(QStringLiteral("save"), error);
        }
    }
    return std::nullopt;
}

QString DescribeFileError(const QString &verb, const FileError &error)
{
    const QString file = QDir::toNativeSeparators(FromFileSystemPath(error.file()));
    return QStringLiteral("Could not %1 %2:\n%3")
        .arg(verb, file, QString::fromLocal8Bit(error.reason().message()));
}

} // namespace brinevar
