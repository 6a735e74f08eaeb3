// Draws the main window with a file open into a PNG, for the README:
//   revlane-screenshot <gta3|vc> <installation folder> <default.ide|handling.cfg> <out.png> [row col]
// Run it under a real display or Xvfb (xvfb-run) to get the platform's own look.
#include <QApplication>
#include <QDir>
#include <QPixmap>
#include <QRadioButton>
#include <QTest>

#include <cstdio>
#include <filesystem>

#include "FlexGrid.h"
#include "frmMain.h"

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    if (argc < 5) {
        std::fprintf(stderr, "usage: %s <gta3|vc> <folder> <default.ide|handling.cfg> <out.png> [row col]\n", argv[0]);
        return 2;
    }
    revlane::ui::frmMain w;
    const QDir folder(QString::fromLocal8Bit(argv[2]));
    w.ViceMode = QByteArray(argv[1]) == "vc";
    w.file.DefaultFile = std::filesystem::path(folder.filePath("data/default.ide").toStdU16String());
    w.file.HandlingFile = std::filesystem::path(folder.filePath("data/handling.cfg").toStdU16String());
    w.optDefault->setEnabled(true);
    w.optHandling->setEnabled(true);
    w.show();
    (void)QTest::qWaitForWindowExposed(&w);
    QTest::mouseClick(QByteArray(argv[3]) == "default.ide" ? w.optDefault : w.optHandling, Qt::LeftButton);
    if (argc >= 7)
        w.Grid1->MoveTo(QByteArray(argv[5]).toInt(), QByteArray(argv[6]).toInt());
    QTest::qWait(200);
    return w.grab().save(QString::fromLocal8Bit(argv[4])) ? 0 : 1;
}
