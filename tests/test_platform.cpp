#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QImage>
#include <QImageReader>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

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

#include "FolderPicker.h"
#include "GameLauncher.h"
#include "GamePictures.h"
#include "ErrorReport.h"
#include "ModelFakes.h"
#include "Settings.h"
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

// The settings tests keep their store in a temporary folder: the user's own settings are
// never touched.
class TestPlatform : public QObject {
    Q_OBJECT
private slots:
    // Both file layers write whole files or fail, and a failure names the file: a write that the
    // system refuses part-way, as a full disk does, must fail. The synced one writes nothing beside
    // the file it was given.
    void fileLayers_data()
    {
        QTest::addColumn<bool>("synced");
        QTest::addColumn<QString>("how");
        for (const bool synced : {false, true}) {
            const char* layer = synced ? "synced" : "standard";
            QTest::addRow("%s, written", layer) << synced << "ok";
            QTest::addRow("%s, refused part-way", layer) << synced << "limit";
        }
        // The standard layer's failures are the model's tests'.
        QTest::addRow("synced, folder gone") << true << "gone";
    }
    void fileLayers()
    {
        QFETCH(bool, synced);
        QFETCH(QString, how);
        SyncedFileSystem syncedFiles;
        FileSystem& files = synced ? static_cast<FileSystem&>(syncedFiles) : StdFileSystem();
        QTemporaryDir dir;
        const QString path = dir.filePath(how == "gone" ? "gone/default.ide" : "default.ide");
        const std::string bytes = std::string("new\0\xff\r\n", 7) + std::string(8000, 'x');
        if (how != "gone")
            files.WriteAll(FsPath(path), "old\r\n");
        if (how == "ok") {
            files.WriteAll(FsPath(path), bytes);
            QCOMPARE(files.ReadAll(FsPath(path)), bytes);
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
            files.WriteAll(FsPath(path), bytes);
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

    // The Windows program's icon file: one picture per size, 256 included (which the format
    // counts as 0), each the program's icon, clear in the corner and drawn to the middle.
    void windowsIconFile()
    {
        QTemporaryDir dir;
        const QString ico = dir.filePath("revlane.ico");
        QCOMPARE(QProcess::execute(QStringLiteral(REVLANE_ICON_EXE), {ico, "16", "48", "256"}), 0);
        QImageReader reader(ico, "ico");
        QCOMPARE(reader.imageCount(), 3);
        for (const int size : {16, 48, 256}) {
            const QImage image = reader.read();
            QCOMPARE(image.size(), QSize(size, size));
            QVERIFY(qAlpha(image.pixel(0, 0)) == 0 && qAlpha(image.pixel(size / 2, size / 2)) == 255);
            reader.jumpToNextImage();
        }
        QCOMPARE(QProcess::execute(QStringLiteral(REVLANE_ICON_EXE), {dir.filePath("big.ico"), "512"}), 1);
    }
};

QTEST_MAIN(TestPlatform)
#include "test_platform.moc"
