#include "settingsstore.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSettings>

namespace brinevar {
namespace {
QString Address(const QString &section, const QString &key)
{
    return section + '/' + key;
}
} // namespace

QString GetSetting(const QString &appName, const QString &section, const QString &key,
                   const QString &defaultText)
{
    return QSettings(appName, appName).value(Address(section, key), defaultText).toString();
}

QString SaveSetting(const QString &appName, const QString &section, const QString &key,
                    const QString &text)
{
    QSettings store(appName, appName);
    store.setValue(Address(section, key), text);
    store.sync();
    if (store.status() == QSettings::NoError)
        return {};
    // QSettings only says that it failed; opening the file says why.
    QFile file(store.fileName());
    QString reason = QStringLiteral("The file could not be written.");
    if (!QDir().mkpath(QFileInfo(file).absolutePath()) || !file.open(QIODevice::Append))
        reason = file.errorString();
    return QStringLiteral("Could not save the Updates folder in %1:\n%2")
        .arg(QDir::toNativeSeparators(store.fileName()), reason);
}

} // namespace brinevar
