#include "settingsstore.h"

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

void SaveSetting(const QString &appName, const QString &section, const QString &key,
                 const QString &text)
{
    QSettings store(appName, appName);
    store.setValue(Address(section, key), text);
    store.sync();
}

} // namespace brinevar
