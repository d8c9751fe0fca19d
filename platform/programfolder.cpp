#include "programfolder.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>

namespace brinevar {
namespace {
QString overriddenFolder;

constexpr Qt::CaseSensitivity kFileNameCase =
#if defined(Q_OS_WIN) || defined(Q_OS_MACOS)
    Qt::CaseInsensitive;
#else
    Qt::CaseSensitive;
#endif

// A folder as the file system sees it: links resolved while it exists, so
// that /bin and /usr/bin, or a trailing separator, make no difference.
QString Resolved(const QString &folder)
{
    const QString canonical = QFileInfo(folder).canonicalFilePath();
    return canonical.isEmpty() ? QDir::cleanPath(QDir::fromNativeSeparators(folder)) : canonical;
}

bool SameFolder(const QString &a, const QString &b)
{
    return Resolved(a).compare(Resolved(b), kFileNameCase) == 0;
}

#ifdef Q_OS_WIN
bool IsUnderProgramFiles(const QString &folder)
{
    const QString path = Resolved(folder) + '/';
    for (const char *name : {"ProgramFiles", "ProgramFiles(x86)", "ProgramW6432"}) {
        const QString root = qEnvironmentVariable(name);
        if (!root.isEmpty() && path.startsWith(Resolved(root) + '/', kFileNameCase))
            return true;
    }
    return false;
}
#endif
} // namespace

QString ProgramFolder()
{
    return overriddenFolder.isEmpty() ? QCoreApplication::applicationDirPath() : overriddenFolder;
}

void SetProgramFolder(const QString &folder)
{
    overriddenFolder = folder;
}

QString InstalledProgramFolder()
{
#ifdef BRINEVAR_INSTALL_BINDIR
    return QStringLiteral(BRINEVAR_INSTALL_BINDIR);
#else
    return {};
#endif
}

bool IsInstalledCopy(const QString &folder)
{
    // A superuser may write anywhere, so writability alone cannot tell an
    // installed copy from a build folder.
    const QString installed = InstalledProgramFolder();
    if (!installed.isEmpty() && SameFolder(folder, installed))
        return true;
#ifdef Q_OS_WIN
    // Qt does not consult NTFS permissions by default, so Program Files would
    // pass for writable.
    if (IsUnderProgramFiles(folder))
        return true;
#endif
#ifdef Q_OS_MACOS
    // Writing into an app bundle would break its signature.
    if (Resolved(folder).endsWith(QStringLiteral(".app/Contents/MacOS"), kFileNameCase))
        return true;
#endif
    return !QFileInfo(folder).isWritable();
}

QString SettingsCopyFolder()
{
    const QString folder = ProgramFolder();
    if (!IsInstalledCopy(folder))
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
