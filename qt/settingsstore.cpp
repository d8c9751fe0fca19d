#include "settingsstore.h"

#include "qtext.h"

#include <QDir>
#include <QLocale>
#include <QSaveFile>
#include <QSettings>

namespace brinevar {
namespace {

QString Address(std::string_view section, std::string_view key)
{
    return Utf8(section) + '/' + Utf8(key);
}

// QSettings only says that it failed; opening the file as it does says why.
QString WhyNotWritable(const QString &fileName)
{
    QSaveFile probe(fileName);
    if (!probe.open(QIODevice::WriteOnly))
        return probe.errorString();
    probe.cancelWriting();
    return QStringLiteral("The file could not be written.");
}

} // namespace

std::string QtSettingsStore::GetSetting(std::string_view appName, std::string_view section,
                                        std::string_view key, std::string_view defaultText)
{
    // A value that is no text (a list, a rectangle, any other type the store
    // can hold) names no folder: as if none were stored.
    const QVariant value = QSettings(Utf8(appName), Utf8(appName)).value(Address(section, key));
    return value.typeId() == QMetaType::QString ? value.toString().toStdString()
                                                : std::string(defaultText);
}

Result QtSettingsStore::SaveSetting(std::string_view appName, std::string_view section,
                                    std::string_view key, const std::string &text)
{
    QSettings store(Utf8(appName), Utf8(appName));
    store.setValue(Address(section, key), QString::fromStdString(text));
    store.sync();
    if (store.status() == QSettings::NoError)
        return {};
    return Result::Failure(
        DescribeStoreError(QDir::toNativeSeparators(store.fileName()).toStdString(),
                           WhyNotWritable(store.fileName()).toStdString()));
}

NumberFormat NumberFormatOf(const QLocale &locale)
{
    return {locale.decimalPoint().toStdString(), locale.positiveSign().toStdString(),
            locale.negativeSign().toStdString()};
}

NumberFormat UserNumberFormat()
{
    return NumberFormatOf(QLocale());
}

} // namespace brinevar
