// Draws Revlane's windows into PNG files, for the README:
//   revlane-screenshot <gta3|vc> <installation folder> <default.ide|handling.cfg> <out.png> [row col [max]]
//                      [--compare=<file>]
//   revlane-screenshot about <out.png>
// Run it under a real display or Xvfb (xvfb-run) to get the platform's own look.
#include <QApplication>
#include <QDir>
#include <QPixmap>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QTest>

#include <cstdio>

#include "AboutDialog.h"
#include "Comparer.h"
#include "GridView.h"
#include "MainWindow.h"
#include "QtPorts.h"
#include "Settings.h"

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    QStringList args = QCoreApplication::arguments();
    // The file the open one is compared with, wherever it is given.
    QString compareWith;
    for (qsizetype i = args.size() - 1; i > 0; --i)
        if (args[i].startsWith(QLatin1String("--compare="))) {
            compareWith = args[i].mid(10);
            args.removeAt(i);
        }
    if (args.size() == 3 && args[1] == QLatin1String("about")) {
        revlane::ui::AboutDialog about;
        about.show();
        (void)QTest::qWaitForWindowExposed(&about);
        QTest::qWait(300);
        return about.grab().save(args[2]) ? 0 : 1;
    }
    if (args.size() < 5) {
        std::fprintf(stderr, "usage: %s <gta3|vc> <folder> <default.ide|handling.cfg> <out.png> [row col [max]] [--compare=<file>]\n"
                             "       %s about <out.png>\n",
                     argv[0], argv[0]);
        return 2;
    }
    // Settings of its own, naming the installation, so that the user's are neither read nor written.
    const bool vice = args[1] == QLatin1String("vc");
    const QString folder = QDir::toNativeSeparators(QDir(args[2]).absolutePath());
    // The games' data folders come without their executables: let a data file stand in for it.
    const QString exe = QDir::toNativeSeparators(QDir(args[2]).absoluteFilePath(QStringLiteral("data/default.ide")));
    QTemporaryDir settingsDir;
    revlane::platform::Settings settings(QSettings::IniFormat, settingsDir.filePath(QStringLiteral("Revlane.conf")));
    settings.Write(revlane::platform::setting::LastUsed, vice ? QStringLiteral("ViceCity") : QStringLiteral("GTA3"));
    settings.Write(vice ? revlane::platform::setting::VicePath : revlane::platform::setting::Gta3Path, folder);
    settings.Write(vice ? revlane::platform::setting::ViceExe : revlane::platform::setting::Gta3Exe, exe);
    revlane::ui::MainWindow::Services services;
    services.settings = &settings;
    revlane::ui::MainWindow w(services);
    if (args.size() >= 8 && args[7] == QLatin1String("max"))
        w.showMaximized();
    else
        w.show();
    (void)QTest::qWaitForWindowExposed(&w);
    const char* option = args[3] == QLatin1String("default.ide") ? "optDefault" : "optHandling";
    QTest::mouseClick(w.findChild<QRadioButton*>(QLatin1String(option)), Qt::LeftButton);
    if (!compareWith.isEmpty())
        w.findChild<revlane::ui::Comparer*>(QStringLiteral("comparer"))->CompareWith(revlane::ui::FsPathOf(QDir(compareWith).absolutePath()));
    if (args.size() >= 7)
        w.findChild<revlane::ui::GridView*>(QStringLiteral("Grid1"))->MoveTo(args[5].toInt(), args[6].toInt());
    QTest::qWait(300);
    return w.grab().save(args[4]) ? 0 : 1;
}
