#include "programfolder.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>

namespace brinevar
{
namespace
{
QString overriddenFolder;
} // namespace

QString ProgramFolder()
{
    return overriddenFolder.isEmpty() ? QCoreApplication::applicationDirPath() : overriddenFolder;
}

void SetProgramFolder(const QString &folder)
{
    overriddenFolder = folder;
}

QString SettingsCopyFolder()
{
    const QString folder = ProgramFolder();
    if (QFileInfo(folder).isWritable())
        return folder;
    const QString data = QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
    QDir().mkpath(data);
    return data;
}

QString SettingsCopyFile(const QString &fileName)
{
    return QDir::toNativeSeparators(SettingsCopyFolder() + '/' + fileName);
}

std::filesystem::path ToFileSystemPath(const QString &name)
{
#ifdef _WIN32
    return std::filesystem::path(name.toStdWString());
#else
    return std::filesystem::path(QFile::encodeName(name).toStdString());
#endif
}

QString FromFileSystemPath(const std::filesystem::path &path)
{
#ifdef _WIN32
    return QString::fromStdWString(path.native());
#else
    return QFile::decodeName(QByteArray::fromStdString(path.native()));
#endif
}

} // namespace brinevar
