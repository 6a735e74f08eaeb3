#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QImage>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <functional>
#include <optional>

#include "FolderPicker.h"
#include "GameLauncher.h"
#include "GamePictures.h"
#include "Settings.h"

using namespace revlane;
using namespace revlane::platform;

namespace {

const SettingKey AllKeys[] = {setting::WindowState, setting::LastUsed, setting::Gta3Path,
                              setting::Gta3Exe,     setting::VicePath, setting::ViceExe};

// Runs `act` on the first modal dialog that comes up, as soon as it is shown.
void WhenDialogShows(std::function<void(QWidget*)> act)
{
    auto* timer = new QTimer;
    QObject::connect(timer, &QTimer::timeout, timer, [timer, act] {
        if (QWidget* dialog = QApplication::activeModalWidget()) {
            timer->stop();
            timer->deleteLater();
            act(dialog);
        }
    });
    timer->start(20);
}

}  // namespace

class TestPlatform : public QObject {
    Q_OBJECT
private slots:
    void settingsRoundTrip()
    {
        QTemporaryDir dir;
        QVERIFY(dir.isValid());
        const QString file = dir.filePath("Revlane.conf");
        const QString gta3 = QStringLiteral("C:\\Games\\Grand Theft Auto III, Steam");
        const QString vice = QStringLiteral("/home/ana/.wine/drive_c/Vice City \u00fc; \"copy\" = [x]");
        const QStringList values{"2", "ViceCity", gta3, gta3 + "\\gta3.exe", vice, vice + "/gta-vc.exe"};
        {
            Settings settings(QSettings::IniFormat, file);
            QCOMPARE(settings.Location(), file);
            for (int i = 0; i < 6; ++i) {
                QVERIFY2(settings.Read(AllKeys[i]).isEmpty(), qPrintable(AllKeys[i].key));
                QVERIFY(settings.Write(AllKeys[i], values[i]));
            }
            // Stored at once: another store sees the values while this one is still open.
            QCOMPARE(Settings(QSettings::IniFormat, file).Read(setting::Gta3Path), gta3);
        }
        Settings again(QSettings::IniFormat, file);
        for (int i = 0; i < 6; ++i)
            QCOMPARE(again.Read(AllKeys[i]), values[i]);

        // Each key in its own section.
        QSettings raw(file, QSettings::IniFormat);
        QCOMPARE(raw.childGroups(), (QStringList{"GTA3", "General", "Vice"}));
        for (const SettingKey& key : AllKeys)
            QVERIFY(raw.contains(key.section + QLatin1Char('/') + key.key));
    }

    void settingsWrittenByHand()
    {
        QTemporaryDir dir;
        QVERIFY(dir.isValid());
        const QString file = dir.filePath("Revlane.conf");
        QFile f(file);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write("[GTA3]\nGta3Path=D:\\\\Games\\\\GTA3, backup\n[Vice]\nViceExe=\n");
        f.close();
        Settings settings(QSettings::IniFormat, file);
        QCOMPARE(settings.Read(setting::Gta3Path), QStringLiteral("D:\\Games\\GTA3, backup"));
        QCOMPARE(settings.Read(setting::ViceExe), QString());
        QCOMPARE(settings.Read(setting::VicePath), QString());
    }

    void settingsThatCannotBeStored()
    {
        QTemporaryDir dir;
        QVERIFY(dir.isValid());
        QFile blocker(dir.filePath("not a folder"));
        QVERIFY(blocker.open(QIODevice::WriteOnly));
        blocker.close();
        Settings settings(QSettings::IniFormat, dir.filePath("not a folder/Revlane.conf"));
        QVERIFY(!settings.Write(setting::LastUsed, "GTA3"));
    }

    void usersStoreIsNamedRevlane()
    {
#ifdef Q_OS_WIN
        QSKIP("the user's store is the registry here; this test must not touch it");
#else
        QTemporaryDir dir;
        QVERIFY(dir.isValid());
        QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, dir.path());
        Settings settings;
        QCOMPARE(settings.Location(), dir.filePath("Revlane/Revlane.conf"));
        QVERIFY(settings.Write(setting::LastUsed, "GTA3"));
        QVERIFY(QFile::exists(dir.filePath("Revlane/Revlane.conf")));
#endif
    }

    void launchCommand_data()
    {
        QTest::addColumn<bool>("windows");
        QTest::addColumn<QString>("wine");  // what the PATH lookup finds
        QTest::addColumn<int>("kind");
        QTest::addColumn<QString>("program");
        QTest::addColumn<QStringList>("arguments");
        const QString exe = "/games/GTA III/gta3.exe";
        QTest::newRow("windows") << true << QString() << int(LaunchCommand::Kind::Direct) << exe << QStringList{};
        QTest::newRow("wine on the PATH") << false << "/usr/bin/wine" << int(LaunchCommand::Kind::Wine)
                                          << "/usr/bin/wine" << QStringList{exe};
        QTest::newRow("no wine") << false << QString() << int(LaunchCommand::Kind::DesktopOpener) << exe
                                 << QStringList{};
    }
    void launchCommand()
    {
        QFETCH(bool, windows);
        QFETCH(QString, wine);
        QFETCH(int, kind);
        QFETCH(QString, program);
        QFETCH(QStringList, arguments);
        const QString exe = "/games/GTA III/gta3.exe";
        const QString folder = "/games/GTA III";

        QStringList lookedUp;
        QStringList started;  // program, then arguments, then folder
        QStringList opened;   // file, then folder
        SystemGameLauncher::Services services;
        services.windows = windows;
        services.findExecutable = [&](const QString& name) {
            lookedUp << name;
            return wine;
        };
        services.startDetached = [&](const QString& p, const QStringList& a, const QString& f) {
            started << p << a << f;
            return true;
        };
        services.openWithDesktop = [&](const QString& file, const QString& f) {
            opened << file << f;
            return false;
        };
        SystemGameLauncher launcher(services);
        const bool handedOn = launcher.Launch(exe, folder);

        QCOMPARE(lookedUp, windows ? QStringList{} : QStringList{"wine"});
        if (kind == int(LaunchCommand::Kind::DesktopOpener)) {
            QVERIFY(started.isEmpty());
            QCOMPARE(opened, (QStringList{exe, folder}));
            QVERIFY(!handedOn);
        } else {
            QVERIFY(opened.isEmpty());
            QCOMPARE(started, QStringList{program} + arguments + QStringList{folder});
            QVERIFY(handedOn);
        }
    }

    void folderPickerCancelled()
    {
        QString title;
        WhenDialogShows([&](QWidget* dialog) {
            title = dialog->windowTitle();
            qobject_cast<QDialog*>(dialog)->reject();
        });
        DialogFolderPicker picker;
        QCOMPARE(picker.PickFolder(nullptr), std::optional<QString>());
        QCOMPARE(title, QStringLiteral("Select to the GTA installation to use..."));
    }

    void folderPickerChoosesAFolder()
    {
        QTemporaryDir dir;
        QVERIFY(dir.isValid());
        const QString chosen = dir.filePath("GTA Vice City");
        QVERIFY(QDir().mkpath(chosen));
        WhenDialogShows([&](QWidget* dialog) {
            auto* fileDialog = qobject_cast<QFileDialog*>(dialog);
            QVERIFY(fileDialog);
            fileDialog->setDirectory(chosen);
            static_cast<QDialog*>(fileDialog)->accept();  // QFileDialog hides it
        });
        DialogFolderPicker picker;
        QCOMPARE(picker.PickFolder(nullptr), std::optional<QString>(QDir::toNativeSeparators(chosen)));
    }

    void gamePictures_data()
    {
        QTest::addColumn<qreal>("ratio");
        QTest::newRow("normal") << qreal(1.0);
        QTest::newRow("dense screen") << qreal(2.0);
        QTest::newRow("fractional") << qreal(1.5);
    }
    void gamePictures()
    {
        QFETCH(qreal, ratio);
        const QImage gta3 = ui::GamePicture(Game::Gta3, ratio).toImage();
        const QImage vice = ui::GamePicture(Game::ViceCity, ratio).toImage();
        for (const QImage& image : {gta3, vice}) {
            QVERIFY(!image.isNull());
            QCOMPARE(image.deviceIndependentSize(), QSizeF(32, 32));
            QCOMPARE(image.width(), qCeil(32 * ratio));
            // Drawn to the middle, transparent in the outermost corner.
            QCOMPARE(qAlpha(image.pixel(image.width() / 2, image.height() / 2)), 255);
            QCOMPARE(qAlpha(image.pixel(0, 0)), 0);
        }
        QVERIFY(gta3 != vice);
        QCOMPARE(ui::GamePicture(Game::Gta3, ratio).toImage(), gta3);  // the same every time
    }
};

QTEST_MAIN(TestPlatform)
#include "test_platform.moc"
