#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <filesystem>

#include "FaultyFileSystem.h"
#include "ModelFakes.h"
#include "SystemError.h"
#include "Text.h"

using namespace revlane;
using namespace revlane::test;

// Rebuilding a vehicle's line and saving the line table over the file, with its backup, and not
// over a file that another program changed unasked.
class TestSaving : public QObject {
    Q_OBJECT
private slots:
    // What a save writes: the header and handling.cfg's ";" over the file's own comments only, every
    // other line below them as it was, with the end it was read with (a line put in ends as the
    // file's first line does); an edited vehicle's line in our own layout, its fields past the
    // view's columns kept, a decimal comma in a column of numbers written as a point. A value that holds its file's separator or a line end
    // is refused, whoever asks, and so is an edit of anything but a vehicle's value. The file reads
    // back with the rows it had, save after save; an edit undone puts its line back byte for byte.
    void saved_data()
    {
        QTest::addColumn<FileKind>("kind");
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<QString>("edit");      // "row,col=value" of the open file; empty: none
        QTest::addColumn<QByteArray>("saved");  // a bar is CR LF; @ is the header; empty: the edit is refused
        const FileKind ide = FileKind::DefaultIde, cfg = FileKind::HandlingCfg;
        const QByteArray car = "90, landstal, landstal, car, LANDSTAL, LANDSTK, richfamily, 10, 7, 0, 164, 0.8";
        QTest::newRow("ide edit") << ide << "# c\r\ncars\r\n" + car + "\r\n#x" << "0,7=12"
                                  << QByteArray("@|cars|90,\tlandstal,\t\tlandstal,\t\tcar,\tLANDSTAL,\tLANDSTK,\trichfamily,\t12,\t7,\t0,\t164, 0.8|#x");
        QTest::newRow("ide fields past the last column") << ide << QByteArray("cars\r\n90,a,b,c,d,e,f,g,h,i,j,k,X1, X2") << "0,2=x"
                                                         << QByteArray("@|cars|90,\ta,\t\tx,\t\tc,\td,\te,\tf,\tg,\th,\ti,\tj, k, X1, X2");
        // A boat's line has fewer fields than the view's columns; a value typed past them adds those up to it.
        const QByteArray boat = "cars\r\n90, predator, predator, boat, PREDATOR, PREDATR, ignore, 1, 7, 0";
        QTest::newRow("ide boat, past its last field") << ide << boat << "0,11=1"
                                                       << QByteArray("@|cars|90,\tpredator,\t\tpredator,\t\tboat,\tPREDATOR,\tPREDATR,\tignore,\t1,\t7,\t0,\t, 1");
        QTest::newRow("ide boat, empty past its last field") << ide << boat << "0,10=" << QByteArray();
        QByteArray values, rebuilt = "LANDSTAL       ";
        for (int v = 1; v <= 33; ++v) {
            values += QByteArray::number(v) + (v % 2 ? "\t " : "  ");
            rebuilt += (v == 30 ? "\t\t" : "") + QByteArray(v == 5 ? "5.5" : QByteArray::number(v)) + " ";
        }
        QTest::newRow("cfg edit, values past the last column") << cfg << "; c\r\n; d\r\nLANDSTAL       " + values << "0,5=5.5" << "@|;|" + rebuilt;
        // A value never runs into the identifier, however short the gap or long the identifier.
        QTest::newRow("cfg one space after the identifier") << cfg << QByteArray("LANDSTAL 1700.0 5.00") << "0,1=1750.0"
                                                            << "@|;|LANDSTAL       1750.0 5.00 " + QByteArray(27, ' ') + "\t\t  ";
        QTest::newRow("cfg identifier over 15 characters") << cfg << QByteArray("LANDSTALXXXXXXXX\t1 2") << "0,2=3"
                                                           << "@|;|LANDSTALXXXXXXXX 1 3 " + QByteArray(27, ' ') + "\t\t  ";
        QTest::newRow("ide comma") << ide << "cars\r\n" + car << "0,2=10,5" << QByteArray();
        QTest::newRow("ide decimal comma") << ide << "cars\r\n" + car << "0,11=0,75"
                                           << QByteArray("@|cars|90,\tlandstal,\t\tlandstal,\t\tcar,\tLANDSTAL,\tLANDSTK,\trichfamily,\t10,\t7,\t0,\t164, 0.75");
        QTest::newRow("cfg decimal comma") << cfg << QByteArray("LANDSTAL 1700.0 5.00") << "0,1=1750,5"
                                           << "@|;|LANDSTAL       1750.5 5.00 " + QByteArray(27, ' ') + "\t\t  ";
        QTest::newRow("cfg space") << cfg << QByteArray("LANDSTAL 1 2") << "0,2=18 00" << QByteArray();
        QTest::newRow("cfg carriage return") << cfg << QByteArray("LANDSTAL 1 2") << "0,2=18\r" << QByteArray();
        QTest::newRow("a vehicle's key") << cfg << QByteArray("LANDSTAL 1") << "0,0=x" << QByteArray();
        QTest::newRow("past the last column") << cfg << QByteArray("LANDSTAL 1") << "0,32=x" << QByteArray();
        QTest::newRow("a title") << cfg << Lines({"LANDSTAL 1", ";- keep", "A 1"}) << "1,1=x" << QByteArray();
        QTest::newRow("a comment") << cfg << Lines({"LANDSTAL 1", "; keep", "A 1"}) << "1,1=x" << QByteArray();
        QTest::newRow("below the last vehicle") << ide << Lines({"90, a", "end", "keep"}) << "1,1=x" << QByteArray();
        // The header's place.
        QTest::newRow("ide keyword first") << ide << QByteArray("objs\r\n90, a\r\nend") << "" << QByteArray("@|objs|90, a|end");
        QTest::newRow("ide vehicles first") << ide << QByteArray("90, a\r\n91, b\r\nend") << "" << QByteArray("@|90, a|91, b|end");
        QTest::newRow("ide empty") << ide << QByteArray() << "" << QByteArray("@|");
        QTest::newRow("mixed, with empty lines") << ide << QByteArray("#a\n\r\n\rb\n\rc") << "" << QByteArray("@\n\r\n\rb\n\rc");
        // More lines than the system takes in one call, and more bytes than go in one.
        const QByteArray many = QByteArray("\r\n\rb\n").repeated(100'000) + "c";
        QTest::newRow("many lines, mixed") << ide << "#a\n" + many << "" << "@\n" + many;
        QTest::newRow("LF, an edit") << cfg << QByteArray(";c\n;d\nLANDSTAL 1 2\nIDAHO\t3\n") << "0,1=5"
                                     << "@\n;\nLANDSTAL       5 2 " + QByteArray(27, ' ') + "\t\t  \nIDAHO\t3\n";
        QTest::newRow("CR, lines put in") << cfg << QByteArray("LANDSTAL 1\rIDAHO 2\r") << "" << QByteArray("@\r;\rLANDSTAL 1\rIDAHO 2\r");
        QTest::newRow("byte-order mark stays first") << ide << QByteArray("\xEF\xBB\xBF# c\r\n90, a") << "" << QByteArray("\xEF\xBB\xBF@|90, a");
        QTest::newRow("byte-order mark, keyword first") << cfg << QByteArray("\xEF\xBB\xBFx\r\n;d") << "" << QByteArray("\xEF\xBB\xBF@|;|x|;d");
        QTest::newRow("cfg vehicle second") << cfg << QByteArray(";c\r\nLANDSTAL 1\r\nIDAHO 2") << "" << QByteArray("@|;|LANDSTAL 1|IDAHO 2");
        QTest::newRow("cfg other text first") << cfg << QByteArray("x\r\n;d\r\nLANDSTAL 1") << "" << QByteArray("@|;|x|;d|LANDSTAL 1");
        QTest::newRow("cfg two lines") << cfg << QByteArray(";c\r\n;d") << "" << QByteArray("@|;");
        QTest::newRow("cfg tabs kept") << cfg << QByteArray(";c\r\n;d\r\nLANDSTAL\t1\t 2") << "" << QByteArray("@|;|LANDSTAL\t1\t 2");
    }
    void saved()
    {
        QFETCH(FileKind, kind);
        QFETCH(QByteArray, content);
        QFETCH(QString, edit);
        QFETCH(QByteArray, saved);
        OpenedFile h(kind, content);
        const auto read = h.doc.Lines();
        const int row = edit.section(',', 0, 0).toInt(), col = edit.section('=', 0, 0).section(',', 1).toInt();
        const std::string before = h.doc.IsVehicleRow(row) ? h.LineOf(row) : "";
        std::optional<LineChange> change =
            edit.isEmpty() ? std::nullopt : h.doc.EditCell(row, col, edit.section('=', 1).toLatin1().toStdString());
        QCOMPARE(change.has_value(), !edit.isEmpty() && !saved.isEmpty());
        if (!edit.isEmpty() && saved.isEmpty()) {  // refused: nothing changes, nor is put back
            QVERIFY(!h.doc.ReplaceLine(row, h.doc.IsVehicleRow(row) ? "90, a\r\n91, b" : "x") && !h.doc.Modified());
            std::vector<LineChange> other{{row, "x"}};
            if (!h.doc.IsVehicleRow(row))
                h.doc.Undo(other);
            QCOMPARE(h.doc.Lines(), read);
            return;
        }
        const auto cells = Cells(h.doc);
        const QByteArray expected =
            saved.replace("@", (kind == FileKind::DefaultIde ? "#" : ";") + QByteArray(kHeader)).replace('|', "\r\n");
        for (int save = 0; save < 2; ++save) {
            const SaveResult result = h.doc.Save();
            QVERIFY(result && !h.doc.Modified());
            QCOMPARE(ReadBytes(h.path), expected);
            // The first save keeps the file as read; a later one leaves that copy be.
            QCOMPARE(ReadBytes(h.path + ".bak"), content);
            QCOMPARE(result.backupMade, save == 0);
            OpenedFile again(kind, ReadBytes(h.path));
            QCOMPARE(Cells(again.doc), cells);
        }
        if (change) {
            std::vector<LineChange> undo{*change};
            h.doc.Undo(undo);
            QCOMPARE(h.LineOf(row), before);
        }
    }

    // A read that could not get the file's bytes leaves no file open, and nothing to save: the
    // report is shown, the view is empty and Save writes nothing, even with a backup in place.
    void failedReadNeverReachesTheDisk_data()
    {
        QTest::addColumn<QString>("how");
        QTest::newRow("permission denied") << "denied";
        QTest::newRow("a folder where the file should be") << "folder";
        QTest::newRow("a link to a device") << "device";
    }
    void failedReadNeverReachesTheDisk()
    {
        QFETCH(QString, how);
        if (how == "device" && !QFile::exists("/dev/full"))
            QSKIP("this system has no /dev/full");
        QTemporaryDir dir;
        const QString path = dir.filePath("handling.cfg");
        const QByteArray original = "; c\r\n;\r\nLANDSTAL 1 2\r\n";
        FaultyFileSystem fs;
        if (how == "denied") {
            WriteBytes(path, original);
            WriteBytes(path + ".bak", original);
            fs.faults.push_back({FaultyFileSystem::Op::Read, FsPath(path), EACCES});
        } else {
            QVERIFY(how == "folder" ? QDir().mkpath(path + "/inside") : QFile::link("/dev/full", path));
        }
        Harness h(fs);
        h.doc.SetModified(true);
        h.Open(FileKind::HandlingCfg, Game::Gta3, FsPath(path));
        QCOMPARE(h.errors.reports.size(), size_t(1));
        // The system's own number: Windows tells a folder opened as a file as access denied.
        const int code = how == "denied" ? EACCES : SystemErrorCode(how == "folder" ? SystemFault::IsFolder : SystemFault::NotAFile);
        QVERIFY(text::StartsWith(h.errors.reports[0], "Error code # " + std::to_string(code)));
        QVERIFY(h.errors.reports[0].find("\r\nRoutine: ReadFile\r\n") != std::string::npos);
        QVERIFY(!h.doc.IsOpen() && !h.doc.Modified() && h.doc.RestoreCount() == 0 && h.doc.RowCount() == 0);

        QVERIFY(!h.doc.Save());
        QCOMPARE(h.errors.reports.size(), size_t(2));
        if (how == "denied")
            QVERIFY(ReadBytes(path) == original && ReadBytes(path + ".bak") == original);
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Dirs | QDir::System | QDir::NoDotAndDotDot).size(),
                 how == "denied" ? 2 : 1);
    }

    // A file that another program changed after it was read, or after the last save, is told from
    // one as it was, whatever the other program put back: its size, its time, or another file of
    // that size and time in its place. Revlane's own save is no such change.
    void changedOnDisk_data()
    {
        QTest::addColumn<int>("kept");  // by the other program: 1 the size and time, 2 the size, on a file system of whole seconds,
                                        // 3 the size and time, of another file put in the file's place
        QTest::newRow("changed") << 0;
        QTest::newRow("size and time put back") << 1;
        QTest::newRow("only the content tells") << 2;
        QTest::newRow("another file of that size and time put in its place") << 3;
    }
    void changedOnDisk()
    {
        QFETCH(int, kept);
        QTemporaryDir dir;
        const QString path = dir.filePath("default.ide");
        WriteBytes(path, "#x\r\ncars\r\n90, a\r\n");
        FaultyFileSystem fs;
        fs.coarseTimes = kept == 2;
        Harness h(fs);
        h.Open(FileKind::DefaultIde, Game::Gta3, FsPath(path));
        for (int save = 0; save < 2; ++save) {
            QVERIFY(!h.doc.ChangedOnDisk());
            const QByteArray theirs = "#y\r\ncars\r\n90, " + QByteArray::number(save) + "\r\n";
            const auto time = std::filesystem::last_write_time(FsPath(path));
            const QString written = kept == 3 ? path + ".new" : path;
            WriteBytes(written, kept ? theirs : theirs + "91, c\r\n");
            if (kept == 1 || kept == 3)
                std::filesystem::last_write_time(FsPath(written), time);
            if (kept == 3)
                std::filesystem::rename(FsPath(written), FsPath(path));
            QVERIFY(h.doc.ChangedOnDisk());
            h.Edit(0, 2, "b" + std::to_string(save));
            QVERIFY(h.doc.Save());
        }
        QVERIFY(!h.doc.ChangedOnDisk() && ReadBytes(path).contains("b1"));
    }

};

QTEST_GUILESS_MAIN(TestSaving)
#include "test_saving.moc"
