#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include "Desk.h"
#include "Text.h"

using namespace revlane;
using namespace revlane::test;

namespace {

const QString kCfgHint = "[ insert values separated by one or more spaces or tabs and click Apply ]";

struct Leaving {
    const char* how;  // file, game, browse, run, exit
    bool edited;
    MsgAnswer answer;
    bool saveFails;
};

}  // namespace

Q_DECLARE_METATYPE(Leaving)

// Leaving a file, and the commands that change or write it, through the real window: every way of
// leaving asks first, and a failure keeps what the user had; Save, Reload, express import, restore.
class TestLeaving : public QObject {
    Q_OBJECT
private slots:
    // Every way of leaving a file with unsaved changes asks first. Cancel, or a save the user asked
    // for that failed, keeps the file open with its changes, as though nothing had been asked.
    void leavingWithUnsavedChanges_data()
    {
        QTest::addColumn<Leaving>("l");
        for (const char* how : {"file", "game", "browse", "run", "exit"}) {
            QTest::addRow("%s, yes", how) << Leaving{how, true, MsgAnswer::Yes, false};
            QTest::addRow("%s, no", how) << Leaving{how, true, MsgAnswer::No, false};
            if (QByteArray(how) != "game" && QByteArray(how) != "browse")
                QTest::addRow("%s, cancel", how) << Leaving{how, true, MsgAnswer::Cancel, false};
            QTest::addRow("%s, yes, the save fails", how) << Leaving{how, true, MsgAnswer::Yes, true};
        }
        QTest::newRow("run, nothing changed") << Leaving{"run", false, MsgAnswer::OK, false};
        QTest::newRow("exit, nothing changed") << Leaving{"exit", false, MsgAnswer::OK, false};
    }
    void leavingWithUnsavedChanges()
    {
        QFETCH(Leaving, l);
        const QByteArray how = l.how;
        Desk desk;
        const QString vice = desk.InstallGame(Game::ViceCity);
        const QString gta3 = desk.Ready(FileKind::DefaultIde), ide = Desk::DataFile(gta3, "default.ide");
        // Where the save goes ahead, the value is still in the editor when the user leaves: it counts.
        if (l.edited && l.answer == MsgAnswer::Yes && !l.saveFails) {
            desk.Select(1, 7);
            QTest::keyClicks(desk.Grid(), "3");
        } else if (l.edited) {
            desk.Edit(1, 7, "3");
        }
        if (l.saveFails)
            desk.files.faults.push_back({FaultyFileSystem::Op::Write, {}, ENOSPC});
        desk.messages.answers.push_back(l.answer);
        desk.picker.answers.push_back(vice);
        desk.Click(how == "file" ? "optHandling" : how == "game" ? "optVice" : how == "browse" ? "cmdBrowse" : how == "run" ? "cmdRun" : "cmdExit");

        // Asked once, first.
        QCOMPARE(desk.messages.Texts().filter("Save changes to ").size(), int(l.edited));
        if (l.edited) {
            QCOMPARE(desk.messages.Texts().value(0), "Save changes to " + ide + "?");
            QCOMPARE(desk.messages.shown[0].buttons, how == "game" || how == "browse" ? MsgButtons::YesNo : MsgButtons::YesNoCancel);
        }
        QCOMPARE(ReadBytes(ide).contains("poorfamily,\t3,"), l.answer == MsgAnswer::Yes && !l.saveFails);
        QCOMPARE(desk.errors.reports.size(), size_t(l.saveFails));
        if (l.answer == MsgAnswer::Cancel || l.saveFails) {
            QVERIFY(desk.w->isVisible() && desk.launcher.starts.empty());
            QVERIFY(desk.Checked("optDefault") && !desk.Checked("optHandling") && desk.Checked("optGta3") && !desk.Checked("optVice"));
            QCOMPARE(desk.Find<QLineEdit>("txtPath")->text(), gta3);
            QCOMPARE(desk.CellText(1, 7), std::string("3"));
            // Once the disk takes it again, the same file is saved where it was read.
            desk.files.faults.clear();
            desk.Click("cmdSave");
            QVERIFY(ReadBytes(ide).contains("poorfamily,\t3,"));
            return;
        }
        if (how == "file") {
            QVERIFY(desk.Checked("optHandling") && desk.CellText(0, 0) == "LANDSTAL");
        } else if (how == "game" || how == "browse") {
            QVERIFY(desk.Checked("optVice") && desk.Grid()->model()->rowCount() == 0 && !desk.Grid()->isEnabled());
            QVERIFY(!desk.Checked("optDefault") && !desk.Checked("optHandling"));  // no file is open
            QCOMPARE(desk.Find<QLineEdit>("txtPath")->text(), vice);
        } else {
            QVERIFY(!desk.w->isVisible());
            QCOMPARE(desk.Stored("General/LastUsed"), QString("GTA3"));
        }
        QCOMPARE(desk.launcher.starts.size(), size_t(how == "run"));
        if (how == "run")
            QVERIFY(desk.launcher.starts[0].executable == gta3 + QDir::separator() + "gta3.exe" && desk.launcher.starts[0].workingFolder == gta3);
    }

    // A file that cannot be opened leaves its option clear, so that a second click tries again.
    // One that is there but cannot be read leaves no file open at all, and nothing that could save.
    void failedOpen_data()
    {
        QTest::addColumn<QString>("how");
        QTest::addColumn<bool>("reload");  // the file fails on Reload, rather than on a switch to it
        QTest::newRow("missing") << "missing" << false;
        QTest::newRow("permission denied") << "denied" << false;
        QTest::newRow("a folder where the file should be") << "folder" << false;
        QTest::newRow("a folder, on reload") << "folder" << true;
    }
    void failedOpen()
    {
        QFETCH(QString, how);
        QFETCH(bool, reload);
        Desk desk;
        const QString cfg = Desk::DataFile(desk.Ready(reload ? FileKind::HandlingCfg : FileKind::DefaultIde), "handling.cfg");
        const std::string shown = desk.CellText(0, 1);
        const QByteArray bytes = ReadBytes(cfg);
        if (how == "denied")
            desk.files.faults.push_back({FaultyFileSystem::Op::Read, FsPath(cfg), EACCES});
        else
            QVERIFY(QFile::remove(cfg) && (how == "missing" || QDir().mkdir(cfg)));
        desk.Click(reload ? "cmdReload" : "optHandling");

        const bool missing = how == "missing";
        QVERIFY(!desk.Checked("optDefault") && !desk.Checked("optHandling"));
        QVERIFY(desk.Enabled("optDefault") && desk.Enabled("optHandling"));
        QCOMPARE(desk.messages.Texts().mid(reload), missing ? QStringList{"The file " + cfg + " was not found."} : QStringList{});
        QCOMPARE(desk.errors.reports.size(), size_t(!missing));
        QCOMPARE(desk.Find<QLineEdit>("txtImport")->text(), reload && !missing ? QString() : kCfgHint);
        // A missing file leaves the open one in view; one that cannot be read leaves none.
        QCOMPARE(desk.Grid()->model()->rowCount() > 0, missing);
        if (missing)
            QCOMPARE(desk.CellText(0, 1), shown);
        for (const char* name : {"cmdSave", "cmdReload", "cmdRun", "txtImport", "cmdPaste", "comRestore", "cmdRestore"})
            QVERIFY2(desk.Enabled(name) == missing, name);
        // Once it is there, the same option opens it.
        desk.files.faults.clear();
        QVERIFY(how != "folder" || QDir().rmdir(cfg));
        WriteBytes(cfg, bytes);
        desk.Open(FileKind::HandlingCfg);
        QVERIFY(desk.Checked("optHandling") && desk.Enabled("cmdSave"));
    }

    // Reload always asks; OK reads the file from the disk again, whatever was changed since, and
    // starts again at its first vehicle.
    void reload_data()
    {
        QTest::addColumn<bool>("edited");
        QTest::addColumn<int>("answer");
        QTest::newRow("edited, OK") << true << int(MsgAnswer::OK);
        QTest::newRow("edited, Cancel") << true << int(MsgAnswer::Cancel);
        QTest::newRow("unchanged, OK rereads the disk") << false << int(MsgAnswer::OK);
    }
    void reload()
    {
        QFETCH(bool, edited);
        QFETCH(int, answer);
        Desk desk;
        const QString ide = Desk::DataFile(desk.Ready(FileKind::DefaultIde), "default.ide");
        if (edited)
            desk.Edit(0, 2, "z");
        else
            WriteBytes(ide, QByteArray(kSmallIde).replace("landstal, landstal", "landstal, outside"));
        desk.Select(2, 11);
        desk.messages.answers.push_back(MsgAnswer(answer));
        desk.Click("cmdReload");
        QCOMPARE(desk.messages.Texts(), QStringList{"Discard changes and reload default.ide?"});
        QCOMPARE(desk.messages.shown[0].buttons, MsgButtons::OKCancel);
        const bool reloaded = answer == int(MsgAnswer::OK);
        QCOMPARE(desk.Modified(), edited && !reloaded);
        QCOMPARE(desk.CellText(0, 2), std::string(!reloaded ? "z" : edited ? "landstal" : "outside"));
        // Read again, it starts at the first value after the fixed columns.
        QCOMPARE(desk.Current(), reloaded ? desk.Index(0, 2) : desk.Index(2, 11));
        QCOMPARE(desk.Grid()->horizontalScrollBar()->value() == 0, reloaded);
    }

    // The first save tells where it keeps the file as it was. Where another program changed the
    // file since, Save asks first: No leaves that program's file as it is and the changes in the grid.
    void saveAsks()
    {
        Desk desk;
        const QString ide = Desk::DataFile(desk.Ready(FileKind::DefaultIde), "default.ide");
        desk.Edit(0, 7, "3");
        desk.Click("cmdSave");
        QCOMPARE(desk.messages.Texts(), QStringList{"Backup copy created at: \r\n" + ide + ".bak\r\n\r\nA backup copy will be created only when it does not exist."});
        desk.Edit(0, 7, "4");
        WriteBytes(ide, "theirs");
        desk.messages.answers = {MsgAnswer::No};
        desk.Click("cmdSave");
        QCOMPARE(desk.messages.Texts().value(1), "The file " + ide + " has been changed by another program since Revlane read it. Save your changes over it?");
        QVERIFY(ReadBytes(ide) == "theirs" && desk.Modified());
        desk.Click("cmdSave");
        QVERIFY(ReadBytes(ide).contains("richfamily,\t4,") && !desk.Modified());
    }

    // Paste takes the real clipboard's text; the line names its vehicle, Apply and Restore change
    // its row; the restore controls work only with more than two vehicles to choose from.
    void importAndRestore()
    {
        Desk desk;
        desk.Ready(FileKind::HandlingCfg);
        QVERIFY(!desk.Enabled("cmdImport"));
        QGuiApplication::clipboard()->clear();
        desk.Click("cmdPaste");
        QCOMPARE(desk.messages.Texts(), QStringList{"Clipboard does not have text at this moment."});
        auto* vehicle = desk.Find<QLineEdit>("txtImportv");
        QGuiApplication::clipboard()->setText("idaho 1800.0\t3.0");
        desk.Click("cmdPaste");
        QCOMPARE(vehicle->text(), QString("IDAHO"));
        QGuiApplication::clipboard()->setText("idaho 1800.0 3.0😀");  // never stored as "?": refused, and named
        desk.Click("cmdPaste");
        QVERIFY(vehicle->text().isEmpty() && !desk.Enabled("cmdImport") && desk.Find<QLabel>("lblStatus")->text().contains("\"😀\" (U+1F600)"));
        QGuiApplication::clipboard()->setText("idaho\t1800.0   3.0");
        desk.Click("cmdPaste");
        QCOMPARE(vehicle->text(), QString());  // a tab is no separator for the lookup
        QGuiApplication::clipboard()->setText("idaho 1800.0\t3.0");
        desk.Click("cmdPaste");
        QVERIFY(vehicle->text() == "IDAHO" && !desk.Find("lblStatus")->isVisible());
        desk.Click("cmdImport");
        QVERIFY(desk.CellText(3, 0) == "IDAHO" && desk.CellText(3, 2) == "3.0" && desk.Modified());
        // LANDSTAL's stock line comes back after the question.
        QCOMPARE(desk.Find<QComboBox>("comRestore")->count(), 3);
        desk.messages.answers.push_back(MsgAnswer::OK);
        desk.Click("cmdRestore");
        QVERIFY(desk.CellText(0, 31) == "1" && desk.CellText(0, 29) == "C00B");
    }
};

QTEST_MAIN(TestLeaving)
#include "test_leaving.moc"
