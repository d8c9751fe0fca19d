#include "testsupport.h"

#include "file.h"
#include "launcher.h"
#include "programfolder.h"
#include "updatesfolder.h"

#include <QAbstractButton>
#include <QFile>
#include <QLineEdit>
#include <QSettings>
#include <QTimer>
#include <QtTest>

void FakeDialogs::message(QWidget *, const QString &text)
{
    messages << text;
}

QString FakeDialogs::input(QWidget *, const QString &prompt, const QString &title,
                           const QString &defaultAnswer)
{
    prompts.append({prompt, title, defaultAnswer});
    return answer.value_or(defaultAnswer);
}

QLineEdit *Field(const QWidget &window, std::string_view setting)
{
    const auto found = brinevar::FindSetting(setting);
    if (!found)
        return nullptr;
    const std::string_view name = brinevar::Catalogue()[*found].field;
    return Find<QLineEdit>(window, QString::fromUtf8(name.data(), qsizetype(name.size())));
}

brinevar::TankSettings Texts(const QWidget &window)
{
    brinevar::TankSettings texts;
    for (std::size_t i = 0; i < texts.size(); ++i)
        texts[i] = Field(window, brinevar::Catalogue()[i].name)->text().toStdString();
    return texts;
}

void ClickThroughWindow(QWidget *target, Qt::MouseButton button)
{
    QWidget *window = target->window();
    QTest::mouseClick(window->windowHandle(), button, {},
                      target->mapTo(window, target->rect().center()));
}

void AnswerNextMessageBox(MessageBoxSeen &seen)
{
    QTimer::singleShot(0, [&seen] {
        QTRY_VERIFY(qobject_cast<QMessageBox *>(QApplication::activeModalWidget()));
        auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
        seen = {box->windowTitle(), box->text(), box->textFormat(), int(box->buttons().size()),
                box->icon()};
        ClickThroughWindow(box->button(QMessageBox::Ok));
    });
}

Sandbox::Sandbox()
{
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, store_.path());
    QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, store_.path());
}

Sandbox::~Sandbox() = default;

brinevar::MainServices Sandbox::services(const QString &programFolder) const
{
    const QString program = programFolder.isEmpty() ? programFolder_.path() : programFolder;
    return {settingsStore_, brinevar::UserNumberFormat, brinevar::MachineDefaultUpdatesFolder,
            brinevar::PlacesOf(QFile::encodeName(program).toStdString(),
                               QFile::encodeName(userFolder()).toStdString())};
}

brinevar::SysInfoMachine Sandbox::machine()
{
    return brinevar::SystemSysInfoMachine();
}

void Sandbox::storePath(const QString &path) const
{
    QSettings(QStringLiteral("Brinevar"), QStringLiteral("Brinevar"))
        .setValue("MZTPath/Path", path);
}

std::optional<QString> Sandbox::storedPath() const
{
    const QVariant value =
        QSettings(QStringLiteral("Brinevar"), QStringLiteral("Brinevar")).value("MZTPath/Path");
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

MainWindowSession::MainWindowSession()
{
    sandbox.storePath(sandbox.updatesFolder());
    window.Form_Load();
}

bool MainWindowSession::showActive()
{
    window.show();
    window.activateWindow();
    return QTest::qWaitForWindowActive(&window);
}
