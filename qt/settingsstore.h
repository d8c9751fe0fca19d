// The per-user settings store, addressed by application, section and key.
#pragma once

#include <QString>

namespace brinevar {

QString GetSetting(const QString &appName, const QString &section, const QString &key,
                   const QString &defaultText);
// Returns an empty text when the value was stored, else a message that names
// the store and the reason.
QString SaveSetting(const QString &appName, const QString &section, const QString &key,
                    const QString &text);

} // namespace brinevar
