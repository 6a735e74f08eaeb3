#include <QDir>
#include <QFile>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>

#include <optional>

#include "Diagnostics.h"
#include "ErrorReport.h"
#include "GameLauncher.h"
#include "ModelFakes.h"
#include "Settings.h"
#include "Shell.h"
#include "SystemError.h"

using namespace revlane;
using namespace revlane::platform;
using namespace revlane::test;

// The seams to the operating system: the settings store, starting the game, the
// system's name and memory, mail targets. The settings tests keep their store in a temporary
// folder: the user's own settings are never touched.
class TestPlatform : public QObject {
    Q_OBJECT
private slots:
    void settings()
    {
        QTemporaryDir dir;
        const QString file = dir.filePath("Revlane.conf");
        // Written by hand, unquoted: the comma would make the value a list.
        test::WriteBytes(file, "[GTA3]\nGta3Path=D:\\\\Games\\\\GTA3, backup\n");
        Settings settings(QSettings::IniFormat, file);
        QCOMPARE(settings.Read(setting::Gta3Path), QStringLiteral("D:\\Games\\GTA3, backup"));
        const QString vice = "/home/ana/Vice City \u00fc, 2; \"copy\" = [x]/gta-vc.exe";
        QVERIFY(settings.Write(setting::ViceExe, vice));
        QVERIFY(settings.Write(setting::LastUsed, "ViceCity"));
        // Stored at once, as the program may end right after: another store reads them now.
        QCOMPARE(Settings(QSettings::IniFormat, file).Read(setting::ViceExe), vice);
        QCOMPARE(QSettings(file, QSettings::IniFormat).childGroups(), (QStringList{"GTA3", "General", "Vice"}));

        // A store that cannot be written says so.
        test::WriteBytes(dir.filePath("not a folder"), "");
        Settings blocked(QSettings::IniFormat, dir.filePath("not a folder/Revlane.conf"));
        QVERIFY(!blocked.Write(setting::LastUsed, "GTA3"));
    }

    void launch_data()
    {
        QTest::addColumn<bool>("windows");
        QTest::addColumn<QString>("wine");  // what the PATH lookup finds
        QTest::addColumn<QStringList>("calls");
        QTest::newRow("windows") << true << "/usr/bin/wine" << QStringList{"start /GTA 3/gta3.exe | /GTA 3"};
        QTest::newRow("wine on the PATH") << false << "/usr/bin/wine"
                                          << QStringList{"find wine", "start /usr/bin/wine | /GTA 3/gta3.exe | /GTA 3"};
        QTest::newRow("no wine") << false << QString()
                                 << QStringList{"find wine", "open /GTA 3/gta3.exe | /GTA 3"};
    }
    void launch()
    {
        QFETCH(bool, windows);
        QFETCH(QString, wine);
        QFETCH(QStringList, calls);
        QStringList made;  // what the launcher asked of the system, in turn
        const auto record = [&made](const QString& call, const QStringList& parts) {
            made << call + " " + parts.join(" | ");
        };
        SystemGameLauncher launcher(
            {windows, [&](const QString& name) { record("find", {name}); return wine; },
             [&](const QString& program, const QStringList& arguments, const QString& folder) {
                 record("start", QStringList{program} + arguments + QStringList{folder});
                 return true;
             },
             [&](const QString& file, const QString& folder) { record("open", {file, folder}); return false; }});
        // Launch returns the outcome of the start it chose.
        QCOMPARE(launcher.Launch("/GTA 3/gta3.exe", "/GTA 3"), calls.last().startsWith("start"));
        QCOMPARE(made, calls);
    }


    void windowsVersionNames_data()
    {
        QTest::addColumn<QList<int>>("call");  // known, major, minor version, build
        QTest::addColumn<QString>("name");
        // Not known wins over whatever the numbers say.
        // Windows 11 is still 10.0: its builds begin at 22000.
        QTest::newRow("10, last build") << QList<int>{1, 10, 0, 19045} << "Windows 10";
        QTest::newRow("11, first build") << QList<int>{1, 10, 0, 22000} << "Windows 11";
    }
    void windowsVersionNames()
    {
        QFETCH(QList<int>, call);
        QFETCH(QString, name);
        QCOMPARE(GetWinVersion(call[0] != 0, call[1], call[2], call[3]), name);
    }

    void mailTargets_data()
    {
        QTest::addColumn<QString>("subject");
        QTest::addColumn<QString>("body");
        QTest::addColumn<QString>("query");
        // A "#" left as it is would end the body early.
        QTest::newRow("error report")
            << "Revlane 1.1.0 error report" << "Error code # 53\r\n\r\nRoutine:  SaveFile"
            << "?subject=Revlane%201.1.0%20error%20report&body=Error%20code%20%23%2053%0A%0ARoutine:%20%20SaveFile";
        // "&" and "%" are escaped too; nothing else is.
        QTest::newRow("path") << "a=b" << "'C:\\Mods & Cars\\100%\\a=b?c/d'"
                              << "?subject=a=b&body='C:\\Mods%20%26%20Cars\\100%25\\a=b?c/d'";
    }
    void mailTargets()
    {
        QFETCH(QString, subject);
        QFETCH(QString, body);
        QFETCH(QString, query);
        const QString target = MailTarget("maker@example.org", subject, body);
        QCOMPARE(target, "mailto:maker@example.org" + query);
    }
};

QTEST_MAIN(TestPlatform)
#include "test_platform.moc"
