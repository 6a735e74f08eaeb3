#include <QDir>
#include <QFile>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>

#include <optional>

#ifdef Q_OS_UNIX
#include <sys/resource.h>

#include <cerrno>
#include <csignal>
#endif
#ifdef Q_OS_WIN
#define NOMINMAX
#define WIN32_LEAN_AND_MEAN
#include <windows.h>
#endif

#include "Diagnostics.h"
#include "ErrorReport.h"
#include "GameLauncher.h"
#include "ModelFakes.h"
#include "Settings.h"
#include "Shell.h"
#include "SyncedFileSystem.h"
#include "SystemError.h"

using namespace revlane;
using namespace revlane::platform;
using namespace revlane::test;

namespace {

#ifdef Q_OS_WIN
constexpr int kPathNotFound = ERROR_PATH_NOT_FOUND;
#else
constexpr int kPathNotFound = ENOENT;
#endif

}  // namespace

// The seams to the operating system: the file layers, the settings store, starting the game, the
// system's name and memory, mail targets. The settings tests keep their store in a temporary
// folder: the user's own settings are never touched.
class TestPlatform : public QObject {
    Q_OBJECT
private slots:
    // The synced file layer writes whole files or fails, and a failure names the file: a write that
    // the system refuses part-way, as a full disk does, must fail. It writes nothing beside the file.
    void fileLayers_data()
    {
        QTest::addColumn<QString>("how");
        QTest::newRow("written") << "ok";
        QTest::newRow("refused part-way") << "limit";
        QTest::newRow("folder gone") << "gone";
    }
    void fileLayers()
    {
        QFETCH(QString, how);
        SyncedFileSystem files;
        QTemporaryDir dir;
        const QString path = dir.filePath(how == "gone" ? "gone/default.ide" : "default.ide");
        const std::string bytes = std::string("new\0\xff\r\n", 7) + std::string(8000, 'x');
        if (how != "gone")
            files.WriteAll(FsPath(path), "old\r\n");
        if (how == "ok") {
            files.WriteLines(FsPath(path), {bytes, ""});
            QCOMPARE(files.ReadAll(FsPath(path)), bytes + "\r\n\r\n");
            QCOMPARE(QDir(dir.path()).entryList(QDir::Files), QStringList{"default.ide"});
            return;
        }
#ifdef Q_OS_UNIX
        // The system's own limit on a file's size refuses the write as a full disk would. The bytes
        // fit a write buffer, so a layer that learns of the failure only when the buffer is
        // flushed must still report it.
        std::signal(SIGXFSZ, SIG_IGN);
        rlimit before{};
        getrlimit(RLIMIT_FSIZE, &before);
        rlimit small = before;
        small.rlim_cur = 4096;
        if (how == "limit")
            QVERIFY(setrlimit(RLIMIT_FSIZE, &small) == 0);
#else
        if (how == "limit")
            QSKIP("no file size limit on this system");
#endif
        QString error;
        int code = 0;
        try {
            files.WriteLines(FsPath(path), {bytes});
        } catch (const ModelError& e) {
            error = QString::fromUtf8(e.what());
            code = e.Code();
        }
#ifdef Q_OS_UNIX
        setrlimit(RLIMIT_FSIZE, &before);
#endif
        QVERIFY2(error.contains(QDir::toNativeSeparators(path)), qPrintable("no failure naming the file: " + error));
        // The cause as the system numbers and words it, read before Qt's own calls overwrite it.
        if (how == "gone") {
            QCOMPARE(code, kPathNotFound);
            QVERIFY(error.endsWith(": " + QString::fromStdString(SystemErrorText(code))));
        }
        if (how == "limit")
            QCOMPARE(QDir(dir.path()).entryList(QDir::Files), QStringList{"default.ide"});
    }

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
