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
    // Qt's arguments, not argv: on Windows argv holds the user's code page, which cannot name a
    // folder in another script.
    const QStringList args = QCoreApplication::arguments();
    if (args.size() == 3 && args[1] == QLatin1String("about")) {
        revlane::ui::frmAbout about;
        about.show();
        (void)QTest::qWaitForWindowExposed(&about);
        QTest::qWait(300);
        return about.grab().save(args[2]) ? 0 : 1;
    }
    if (args.size() < 5) {
        std::fprintf(stderr, "usage: revlane-screenshot <gta3|vc> <folder> <default.ide|handling.cfg> <out.png>"
                             " [row col [max]]\n"
                             "       revlane-screenshot about <out.png>\n");
        return 2;
    }
    // Settings of its own, so that the user's are neither read nor written.
    QTemporaryDir settingsDir;
    revlane::platform::Settings settings(QSettings::IniFormat, settingsDir.filePath("Revlane.conf"));
    revlane::ui::frmMain::Services services;
    services.settings = &settings;
    revlane::ui::frmMain w(services);
    const QDir folder(args[2]);
    w.install.ViceMode = args[1] == QLatin1String("vc");
    (w.install.ViceMode ? w.install.VicePath : w.install.Gta3Path) =
        std::filesystem::path(QDir::toNativeSeparators(folder.absolutePath()).toStdU16String());
    // The games' data folders come without their executables: let a data file stand in for it.
    (w.install.ViceMode ? w.install.ViceExe : w.install.Gta3Exe) =
        std::filesystem::path(QDir::toNativeSeparators(folder.filePath("data/default.ide")).toStdU16String());
    w.InitMain();
    if (args.size() >= 8 && args[7] == QLatin1String("max"))
        w.showMaximized();
    else
        w.show();
    (void)QTest::qWaitForWindowExposed(&w);
    QTest::mouseClick(args[3] == QLatin1String("default.ide") ? w.optDefault : w.optHandling, Qt::LeftButton);
    if (args.size() >= 7)
        w.Grid1->MoveTo(args[5].toInt(), args[6].toInt());
    QTest::qWait(300);
    return w.grab().save(args[4]) ? 0 : 1;
}
