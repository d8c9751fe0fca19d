#include "testsupport.h"

#include "programfolder.h"
#include "updatesfolder.h"

#include <QFile>
#include <QSettings>

void FakeDialogs::message(QWidget *, const QString &text) { messages << text; }

QString FakeDialogs::input(QWidget *, const QString &prompt, const QString &title,
                           const QString &defaultAnswer)
{
    prompts.append({prompt, title, defaultAnswer});
    return answer.value_or(defaultAnswer);
}

Sandbox::Sandbox()
{
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, store_.path());
    QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, store_.path());
    brinevar::SetProgramFolder(programFolder_.path());
}

Sandbox::~Sandbox() { brinevar::SetProgramFolder({}); }

void Sandbox::storePath(const QString &path) const
{
    QSettings(brinevar::kStoreApp, brinevar::kStoreApp).setValue("MZTPath/Path", path);
}

std::optional<QString> Sandbox::storedPath() const
{
    const QVariant value =
        QSettings(brinevar::kStoreApp, brinevar::kStoreApp).value("MZTPath/Path");
    return value.isValid() ? std::optional(value.toString()) : std::nullopt;
}

QByteArray Sandbox::read(const QString &file) const
{
    QFile in(file);
    return in.open(QIODevice::ReadOnly) ? in.readAll() : QByteArray();
}

void Sandbox::write(const QString &file, const QByteArray &bytes) const
{
    QFile out(file);
    if (out.open(QIODevice::WriteOnly))
        out.write(bytes);
}
