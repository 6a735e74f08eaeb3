// Draws Revlane's windows into PNG files, for the README:
//   revlane-screenshot <gta3|vc> <installation folder> <default.ide|handling.cfg> <out.png> [row col [max]]
//   revlane-screenshot about <out.png>
// Run it under a real display or Xvfb (xvfb-run) to get the platform's own look.
#include <QApplication>
#include <QDir>
#include <QPixmap>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <cstdio>
#include <filesystem>

#include "FlexGrid.h"
#include "Settings.h"
#include "frmAbout.h"
#include "frmMain.h"

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    if (argc == 3 && QByteArray(argv[1]) == "about") {
        revlane::ui::frmAbout about;
        about.show();
        (void)QTest::qWaitForWindowExposed(&about);
        QTest::qWait(300);
        return about.grab().save(QString::fromLocal8Bit(argv[2])) ? 0 : 1;
    }
    if (argc < 5) {
        std::fprintf(stderr, "usage: %s <gta3|vc> <folder> <default.ide|handling.cfg> <out.png> [row col [max]]\n"
                             "       %s about <out.png>\n",
                     argv[0], argv[0]);
        return 2;
    }
    // Settings of its own, so that the user's are neither read nor written.
    QTemporaryDir settingsDir;
    revlane::platform::Settings settings(QSettings::IniFormat, settingsDir.filePath("Revlane.conf"));
    revlane::ui::frmMain::Services services;
    services.settings = &settings;
    revlane::ui::frmMain w(services);
    const QDir folder(QString::fromLocal8Bit(argv[2]));
    w.install.ViceMode = QByteArray(argv[1]) == "vc";
    (w.install.ViceMode ? w.install.VicePath : w.install.Gta3Path) =
        std::filesystem::path(QDir::toNativeSeparators(folder.absolutePath()).toStdU16String());
    // The games' data folders come without their executables: let a data file stand in for it.
    (w.install.ViceMode ? w.install.ViceExe : w.install.Gta3Exe) =
        std::filesystem::path(folder.filePath("data/default.ide").toStdU16String());
    w.InitMain();
    if (argc >= 8 && QByteArray(argv[7]) == "max")
        w.showMaximized();
    else
        w.show();
    (void)QTest::qWaitForWindowExposed(&w);
    QTest::mouseClick(QByteArray(argv[3]) == "default.ide" ? w.optDefault : w.optHandling, Qt::LeftButton);
    if (argc >= 7)
        w.Grid1->MoveTo(QByteArray(argv[5]).toInt(), QByteArray(argv[6]).toInt());
    QTest::qWait(300);
    return w.grab().save(QString::fromLocal8Bit(argv[4])) ? 0 : 1;
}
