#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include "Desk.h"

using namespace revlane;
using namespace revlane::test;

// Start-up from the remembered settings, the choice of game and installation, and what shutdown
// remembers.
class TestStartup : public QObject {
    Q_OBJECT
private slots:
    void startsFromTheSettings_data()
    {
        QTest::addColumn<QString>("lastUsed");
        QTest::addColumn<bool>("exeThere");
        QTest::addColumn<QString>("windowState");
        QTest::addColumn<int>("chosen");  // 0 none, 1 GTA III, 2 Vice City
        QTest::addColumn<bool>("filesOn");
        QTest::addColumn<int>("state");   // 0 normal, 1 minimized, 2 maximized
        QTest::addColumn<bool>("reported");
        QTest::newRow("first run") << "" << true << "" << 0 << false << 0 << false;
        QTest::newRow("GTA3") << "GTA3" << true << "0" << 1 << true << 0 << false;
        QTest::newRow("ViceCity, maximized") << "ViceCity" << true << "2" << 2 << true << 2 << false;
        QTest::newRow("minimized") << "GTA3" << true << "1" << 1 << true << 1 << false;
        QTest::newRow("gta3 is no game") << "gta3" << true << "" << 0 << false << 0 << false;
        QTest::newRow("executable gone") << "GTA3" << false << "" << 1 << false << 0 << false;
        QTest::newRow("no window state, and the rest goes on") << "ViceCity" << true << "7" << 2 << true << 0 << true;
    }
    void startsFromTheSettings()
    {
        QFETCH(QString, lastUsed);
        QFETCH(bool, exeThere);
        QFETCH(QString, windowState);
        QFETCH(int, chosen);
        QFETCH(bool, filesOn);
        QFETCH(int, state);
        QFETCH(bool, reported);
        Desk desk;
        const QString gta3 = desk.InstallGame(Game::Gta3, exeThere), vice = desk.InstallGame(Game::ViceCity);
        if (!lastUsed.isEmpty())
            desk.Store("General/LastUsed", lastUsed);
        if (!windowState.isEmpty())
            desk.Store("General/WindowState", windowState);
        ui::MainWindow& w = desk.Start();

        QCOMPARE(w.windowTitle(), QString("Revlane 1.1.0"));
        QCOMPARE(w.isMinimized(), state == 1);
        QCOMPARE(w.isMaximized(), state == 2);
        QCOMPARE(desk.errors.reports.size(), size_t(reported));
        if (reported)
            QVERIFY(QString::fromStdString(desk.errors.reports[0]).contains("\r\nRoutine: frmMain Load\r\n"));
        QCOMPARE(desk.Checked("optGta3"), chosen == 1);
        QCOMPARE(desk.Checked("optVice"), chosen == 2);
        QCOMPARE(desk.Enabled("optDefault"), filesOn);
        QCOMPARE(desk.Enabled("optHandling"), filesOn);
        QCOMPARE(desk.Find<QLineEdit>("txtPath")->text(), filesOn ? (chosen == 2 ? vice : gta3) : QString());
        QCOMPARE(desk.Find<QPushButton>("cmdRun")->text(), QString(chosen == 2 && filesOn ? "Run Vice City" : "Run GTA III"));
        QVERIFY(!desk.Enabled("cmdRun") && !desk.Enabled("cmdSave") && !desk.Grid()->isEnabled());
        if (filesOn) {
            desk.Open(FileKind::DefaultIde);
            QCOMPARE(desk.Grid()->model()->columnCount(), chosen == 2 ? 13 : 12);
            QVERIFY(desk.Enabled("cmdRun"));
        }
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
        const QString folder = desk.Install("game dir, \u00fc", exes);
        desk.Start();
        // As Qt's dialog gives it, whatever the system's separator.
        desk.picker.answers.push_back(cancel ? QString() : QDir::fromNativeSeparators(folder));
        desk.Click("cmdBrowse");
        QCOMPARE(desk.picker.calls, 1);
        QVERIFY(desk.errors.reports.empty());
        if (chosen == 0) {
            QCOMPARE(desk.messages.Texts(), cancel ? QStringList{} : QStringList{"The selected folder does not contain any valid GTA "
                                                                                  "executable file. Please select the correct GTA folder."});
            QVERIFY(desk.StoredKeys().isEmpty() && !desk.Checked("optGta3") && !desk.Checked("optVice"));
            QVERIFY(desk.Find<QLineEdit>("txtPath")->text().isEmpty());
            return;
        }
        const QString section = chosen == 1 ? "GTA3/Gta3" : "Vice/Vice";
        QCOMPARE(desk.StoredKeys(), (QStringList{section + "Exe", section + "Path"}));
        QCOMPARE(desk.Stored(section + "Path"), folder);
        QCOMPARE(desk.Stored(section + "Exe"), folder + QDir::separator() + (chosen == 1 ? "gta3.exe" : "gta-vc.exe"));
        QVERIFY(desk.Checked(chosen == 1 ? "optGta3" : "optVice"));
        QCOMPARE(desk.Find<QLineEdit>("txtPath")->text(), folder);
    }

    // A game without its installation closes the open file and offers none of its own.
    void gameWithoutInstallation()
    {
        Desk desk;
        desk.InstallChosen(Game::Gta3);
        desk.Start();
        desk.Open(FileKind::DefaultIde);
        desk.Select(0, 3);
        QTest::keyClick(desk.Grid(), 'q');  // an edit under way ends, and is asked about
        desk.messages.answers.push_back(MsgAnswer::No);
        desk.Click("optVice");
        QCOMPARE(desk.messages.shown.size(), size_t(1));
        QCOMPARE(desk.Grid()->model()->rowCount(), 0);
        QVERIFY(!desk.Grid()->isEnabled() && !desk.Editor());
        QVERIFY(desk.Find<QLineEdit>("txtImport")->text().isEmpty() && desk.Find<QLineEdit>("txtPath")->text().isEmpty());
        for (const char* name : {"optDefault", "optHandling", "cmdSave", "cmdRun", "cmdReload", "comRestore", "txtImport"})
            QVERIFY2(!desk.Enabled(name), name);
        QCOMPARE(ReadBytes(Desk::DataFile(desk.dir.filePath("gta3"), "default.ide")), kSmallIde);
    }

    void shutdownWritesTheGameAndWindowStateOnly()
    {
        Desk desk;
        desk.Install("gta3", {"gta3.exe"});
        desk.Start().close();
        QCOMPARE(desk.StoredKeys(), (QStringList{"General/LastUsed", "General/WindowState"}));
        QCOMPARE(desk.Stored("General/LastUsed"), QString("GTA3"));
        desk.Start().showMaximized();
        desk.w->close();  // the state the window closes in is the one kept
        desk.Start();
        QVERIFY(desk.Checked("optGta3") && desk.w->isMaximized());
        bool about = false;  // About... shows its box over the window
        QTimer::singleShot(0, [&about] {
            QWidget* box = QApplication::activeModalWidget();
            about = box && box->findChild<QWidget*>("cmdOK");
            if (box)
                box->close();
        });
        desk.Click("cmdAbout");
        QVERIFY(about);
    }
};

QTEST_MAIN(TestStartup)
#include "test_startup.moc"
