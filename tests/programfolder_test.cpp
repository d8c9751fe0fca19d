// Where tanks.ini lives: beside a build or portable copy, per user for an
// installed one, also when the user (root, say) could write the install folder.
#include "programfolder.h"
#include "testsupport.h"

#include <QDir>
#include <QFile>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtTest>

using namespace brinevar;

class ProgramFolderTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanupTestCase();
    void installedCopies_data();
    void installedCopies();
    void installedCopyKeepsTheCopyPerUserEvenWhenWritable();
    void portableCopyKeepsTheCopyBesideItself();

private:
    QTemporaryDir scratch_;
};

void ProgramFolderTest::initTestCase()
{
    QStandardPaths::setTestModeEnabled(true);
    QVERIFY(scratch_.isValid());
    // The build must tell the program where it installs to.
    QVERIFY(!InstalledProgramFolder().isEmpty());
    QVERIFY(QDir::isAbsolutePath(InstalledProgramFolder()));
}

void ProgramFolderTest::cleanupTestCase()
{
    QStandardPaths::setTestModeEnabled(false);
}

void ProgramFolderTest::installedCopies_data()
{
    QTest::addColumn<QString>("folder");
    QTest::addColumn<bool>("installed");

    const QString bin = InstalledProgramFolder();
    const QString build = scratch_.path() + "/build/app";
    QDir().mkpath(build);
    QTest::newRow("build folder") << build << false;
    QTest::newRow("build folder, trailing separator") << build + '/' << false;
    QTest::newRow("folder that cannot be written") << scratch_.path() + "/missing/bin" << true;
    QTest::newRow("install folder") << bin << true;
    QTest::newRow("install folder, trailing separator") << bin + '/' << true;
    QTest::newRow("install folder, roundabout") << bin + "/../" + QDir(bin).dirName() << true;
    if (QFileInfo(bin).isDir()) {
        // Reached through a link, as /bin leads to /usr/bin.
        const QString link = scratch_.path() + "/linked-bin";
        QVERIFY(QFile::link(bin, link) || QFileInfo(link).isSymLink());
        QTest::newRow("install folder through a link") << link << true;
    }
#ifdef Q_OS_WIN
    const QString programFiles = scratch_.path() + "/Program Files";
    QDir().mkpath(programFiles + "/Brinevar");
    qputenv("ProgramFiles", QDir::toNativeSeparators(programFiles).toLocal8Bit());
    QTest::newRow("under Program Files") << programFiles + "/Brinevar" << true;
#endif
}

void ProgramFolderTest::installedCopies()
{
    QFETCH(QString, folder);
    QFETCH(bool, installed);
    QCOMPARE(IsInstalledCopy(folder), installed);
}

void ProgramFolderTest::installedCopyKeepsTheCopyPerUserEvenWhenWritable()
{
    // Running as root makes the install folder writable; the copy must still
    // not land beside the installed program.
    SetProgramFolder(InstalledProgramFolder());
    const QString perUser = QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
    QCOMPARE(SettingsCopyFolder(), perUser);
    QCOMPARE(SettingsCopyFile("tanks.ini"), QDir::toNativeSeparators(perUser + "/tanks.ini"));
    QVERIFY(QFileInfo(perUser).isDir());
    SetProgramFolder({});
}

void ProgramFolderTest::portableCopyKeepsTheCopyBesideItself()
{
    Sandbox sandbox;
    QCOMPARE(SettingsCopyFolder(), sandbox.programFolder());
    QCOMPARE(SettingsCopyFile("tanks.ini"),
             QDir::toNativeSeparators(sandbox.programFolder() + "/tanks.ini"));
}

QTEST_MAIN(ProgramFolderTest)
#include "programfolder_test.moc"
