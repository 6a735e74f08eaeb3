#include <QCloseEvent>
#include <QComboBox>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>

#include "FlexGrid.h"
#include "FolderPicker.h"
#include "GameLauncher.h"
#include "Desk.h"
#include "ModelFakes.h"
#include "Settings.h"
#include "frmMain.h"

using namespace revlane;
using namespace revlane::test;
using revlane::ui::frmMain;


class TestStartup : public QObject {
    Q_OBJECT
private slots:
    void firstRun()
    {
        Desk desk;
        frmMain& w = desk.Start();
        QCOMPARE(w.windowTitle(), QString("Revlane 1.1.0"));
        QVERIFY(!w.isMaximized() && !w.isMinimized());
        QVERIFY(!w.optGta3->isChecked() && !w.optVice->isChecked());
        QVERIFY(w.txtPath->text().isEmpty());
        QVERIFY(!w.cmdRun->isEnabled());
        QCOMPARE(w.cmdRun->text(), QString("Run GTA III"));
        QVERIFY(!w.optDefault->isEnabled() && !w.optHandling->isEnabled());
        QCOMPARE(w.grid.Rows(), 0);
        QVERIFY(desk.errors.reports.empty());
        // Tab order: the grid first, the game options last.
        QList<QWidget*> order;
        order << w.Grid1 << w.cmdBrowse << w.txtPath << w.txtImport << w.cmdPaste << w.cmdImport << w.cmdSave
              << w.cmdRun << w.cmdExit << w.comRestore << w.cmdRestore << w.cmdAbout << w.txtImportv << w.cmdReload
              << w.txtGrid << w.optHandling << w.optDefault << w.optGta3 << w.optVice;
        QList<QWidget*> chain;
        for (QWidget* next = w.Grid1; chain.size() < order.size(); next = next->nextInFocusChain())
            if (order.contains(next) && !chain.contains(next))
                chain << next;
        QCOMPARE(chain, order);
    }

    void rememberedGame_data()
    {
        QTest::addColumn<QString>("lastUsed");
        QTest::addColumn<bool>("exeThere");
        QTest::addColumn<int>("chosen");  // 0 none, 1 GTA III, 2 Vice City
        QTest::addColumn<bool>("filesOn");
        QTest::newRow("GTA3") << "GTA3" << true << 1 << true;
        QTest::newRow("ViceCity") << "ViceCity" << true << 2 << true;
        QTest::newRow("gta3 is no game") << "gta3" << true << 0 << false;
        QTest::newRow("Vice City is no game") << "Vice City" << true << 0 << false;
        QTest::newRow("executable gone") << "GTA3" << false << 1 << false;
    }
    void rememberedGame()
    {
        QFETCH(QString, lastUsed);
        QFETCH(bool, exeThere);
        QFETCH(int, chosen);
        QFETCH(bool, filesOn);
        Desk desk;
        const QString gta3 = desk.Install("gta3", exeThere ? QStringList{"gta3.exe"} : QStringList{});
        const QString vice = desk.Install("vice", {"gta-vc.exe"});
        desk.Store("General/LastUsed", lastUsed);
        desk.Store("GTA3/Gta3Path", gta3);
        desk.Store("GTA3/Gta3Exe", gta3 + QDir::separator() + "gta3.exe");
        desk.Store("Vice/VicePath", vice);
        desk.Store("Vice/ViceExe", vice + QDir::separator() + "gta-vc.exe");
        frmMain& w = desk.Start();
        QCOMPARE(w.optGta3->isChecked(), chosen == 1);
        QCOMPARE(w.optVice->isChecked(), chosen == 2);
        QCOMPARE(w.optDefault->isEnabled(), filesOn);
        QCOMPARE(w.txtPath->text(), filesOn ? (chosen == 2 ? vice : gta3) : QString());
        QCOMPARE(w.imgGame->pixmap().isNull(), chosen == 0);
        QCOMPARE(w.cmdRun->text(), QString(chosen == 2 ? "Run Vice City" : "Run GTA III"));
        if (filesOn) {
            QTest::mouseClick(w.optDefault, Qt::LeftButton);
            QCOMPARE(w.grid.Rows(), chosen == 2 ? 108 : 62);
            QVERIFY(w.cmdRun->isEnabled());
        }
    }

    void badWindowStateIsReported()
    {
        Desk desk;
        desk.Store("General/WindowState", "7");
        desk.Store("General/LastUsed", "ViceCity");
        frmMain& w = desk.Start();
        QCOMPARE(desk.errors.reports.size(), size_t(1));
        QVERIFY(QString::fromStdString(desk.errors.reports[0]).contains("\r\nRoutine: frmMain Load\r\n"));
        QVERIFY(w.optVice->isChecked());  // start-up went on
    }

    void browse_data()
    {
        QTest::addColumn<QStringList>("exes");
        QTest::addColumn<bool>("cancel");
        QTest::addColumn<int>("chosen");
        QTest::newRow("gta3.exe") << QStringList{"gta3.exe"} << false << 1;
        QTest::newRow("gta-vc.exe") << QStringList{"gta-vc.exe"} << false << 2;
        QTest::newRow("both: GTA III wins") << QStringList{"gta-vc.exe", "gta3.exe"} << false << 1;
        QTest::newRow("neither") << QStringList{} << false << 0;
        QTest::newRow("cancelled") << QStringList{"gta3.exe"} << true << 0;
    }
    void browse()
    {
        QFETCH(QStringList, exes);
        QFETCH(bool, cancel);
        QFETCH(int, chosen);
        Desk desk;
        const QString folder = desk.Install("game dir", exes);
        frmMain& w = desk.Start();
        desk.picker.answers.push_back(cancel ? QString() : folder);
        QTest::mouseClick(w.cmdBrowse, Qt::LeftButton);
        QCOMPARE(desk.picker.calls, 1);
        QVERIFY(desk.errors.reports.empty());
        if (chosen == 0) {
            QCOMPARE(desk.messages.shown.size(), size_t(cancel ? 0 : 1));
            if (!cancel) {
                QCOMPARE(desk.messages.shown[0].text, std::string("The selected folder does not contain any valid GTA "
                                                                  "executable file. Please select the correct GTA folder."));
                QCOMPARE(desk.messages.shown[0].icon, MsgIcon::Critical);
            }
            QVERIFY(desk.StoredKeys().isEmpty());
            QVERIFY(!w.optGta3->isChecked() && !w.optVice->isChecked() && w.txtPath->text().isEmpty());
            return;
        }
        const QString section = chosen == 1 ? "GTA3/Gta3" : "Vice/Vice";
        const QString exe = folder + QDir::separator() + (chosen == 1 ? "gta3.exe" : "gta-vc.exe");
        QCOMPARE(desk.StoredKeys(), (QStringList{section + "Exe", section + "Path"}));
        QCOMPARE(desk.Stored(section + "Path"), folder);
        QCOMPARE(desk.Stored(section + "Exe"), exe);
        QVERIFY((chosen == 1 ? w.optGta3 : w.optVice)->isChecked());
        QCOMPARE(w.txtPath->text(), folder);
        QVERIFY(w.optDefault->isEnabled() && w.optHandling->isEnabled());
    }

    void layoutPass()
    {
        Desk desk;
        frmMain& w = desk.Start();
        QCOMPARE(w.Grid1->size(), QSize(w.Px(8860), w.Px(2025)));
        QCOMPARE(w.picBottom->y(), w.Px(3775));
        QCOMPARE(w.Linea[2]->geometry().right(), w.Grid1->geometry().right());
        const QRect normalGrid = w.Grid1->geometry();

        w.resize(w.Px(14000), w.Px(11000));  // as a maximized window gets
        QCOMPARE(w.Grid1->width(), w.Px(14000 + 90 - 380));
        QCOMPARE(w.picBottom->y(), w.Px(11000 + 375 - 3350));
        QCOMPARE(w.Linea[2]->geometry().right(), w.Grid1->geometry().right());
        QCOMPARE(w.Grid1->pos(), normalGrid.topLeft());

        w.showMinimized();
        w.showNormal();
        w.resize(w.Px(9150), w.Px(6750));
        QCOMPARE(w.Grid1->geometry(), normalGrid);
    }

    void shutdownWritesTheGameAndWindowStateOnly()
    {
        Desk desk;
        desk.Install("gta3", {"gta3.exe"});
        {
            frmMain& w = desk.Start();
            w.grid.SetRows(3);  // nothing of the view is remembered
            w.close();
        }
        QCOMPARE(desk.StoredKeys(), (QStringList{"General/LastUsed", "General/WindowState"}));
        QCOMPARE(desk.Stored("General/LastUsed"), QString("GTA3"));
        QCOMPARE(desk.Stored("General/WindowState"), QString("0"));
        desk.Store("General/WindowState", "2");
        frmMain& again = desk.Start();
        QVERIFY(again.optGta3->isChecked());
        QVERIFY(again.isMaximized());
    }
};

QTEST_MAIN(TestStartup)
#include "test_startup.moc"
