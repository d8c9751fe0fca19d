#include "settingsstore.h"

#include "mainwindow.h"

#include <QDir>
#include <QSaveFile>
#include <QSettings>

namespace brinevar {
namespace {
QString Address(const QString &section, const QString &key)
{
    return section + '/' + key;
}

// QSettings only says that it failed; opening the file as it does says why.
QString WhyNotWritable(const QString &fileName)
{
#ifdef Q_OS_WIN
    // The native store is the registry: there is no file to open.
    Q_UNUSED(fileName);
    return QStringLiteral("The registry refused the value.");
#else
    QSaveFile probe(fileName);
    if (!probe.open(QIODevice::WriteOnly))
        return probe.errorString();
    probe.cancelWriting();
    return QStringLiteral("The file could not be written.");
#endif
}
} // namespace

QString GetSetting(const QString &appName, const QString &section, const QString &key,
                   const QString &defaultText)
{
    // A value that is no text (a list, a rectangle, any other type the store
    // can hold) names no folder: as if none were stored.
    const QVariant value = QSettings(appName, appName).value(Address(section, key));
    return value.typeId() == QMetaType::QString ? value.toString() : defaultText;
}

QString SaveSetting(const QString &appName, const QString &section, const QString &key,
                    const QString &text)
{
    QSettings store(appName, appName);
    store.setValue(Address(section, key), text);
    store.sync();
    if (store.status() == QSettings::NoError)
        return {};
    return QString::fromStdString(
        DescribeStoreError(QDir::toNativeSeparators(store.fileName()).toStdString(),
                           WhyNotWritable(store.fileName()).toStdString()));
}

} // namespace brinevar
