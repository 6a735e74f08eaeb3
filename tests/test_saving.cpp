#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include "FaultyFileSystem.h"
#include "ModelFakes.h"
#include "SystemError.h"
#include "Text.h"

using namespace revlane;
using namespace revlane::test;

// Rebuilding a vehicle's line and saving the line table over the file, with its backup.
class TestSaving : public QObject {
    Q_OBJECT
private slots:
    // One cell changed: the row's line comes back in our own layout, and only that line changes.
    void rebuiltLines_data()
    {
        QTest::addColumn<FileKind>("kind");
        QTest::addColumn<Game>("game");
        QTest::addColumn<QByteArray>("line");
        QTest::addColumn<int>("col");
        QTest::addColumn<QByteArray>("value");
        QTest::addColumn<QByteArray>("rebuilt");
        QTest::newRow("gta3 ide")
            << FileKind::DefaultIde << Game::Gta3
            << QByteArray("90, landstal, landstal, car, LANDSTAL, LANDSTK, richfamily, 10, 7, 0, 164, 0.8") << 7
            << QByteArray("12")
            << QByteArray("90,\tlandstal,\t\tlandstal,\t\tcar,\tLANDSTAL,\tLANDSTK,\trichfamily,\t12,\t7,\t0,\t164, 0.8");
        QTest::newRow("vc ide short line") << FileKind::DefaultIde << Game::ViceCity << QByteArray("130,a,b") << 2
                                           << QByteArray("x") << QByteArray("130,\ta,\t\tx,\t\t,\t,\t,\t,\t,\t,\t,\t,\t, ");
        // Fields past the view's last column stay, after it.
        QTest::newRow("ide fields past the last column") << FileKind::DefaultIde << Game::Gta3 << QByteArray("90,a,b,c,d,e,f,g,h,i,j,k,X1, X2")
                                                         << 2 << QByteArray("x") << QByteArray("90,\ta,\t\tx,\t\tc,\td,\te,\tf,\tg,\th,\ti,\tj, k, X1, X2");
        QByteArray values, rebuilt = "LANDSTAL       ";
        for (int v = 1; v <= 33; ++v) {
            values += QByteArray::number(v) + (v % 2 ? "\t " : "  ");
            rebuilt += (v == 30 ? "\t\t" : "") + QByteArray(v == 5 ? "5.5" : QByteArray::number(v)) + " ";
        }
        QTest::newRow("gta3 cfg, values past the last column") << FileKind::HandlingCfg << Game::Gta3 << "LANDSTAL       " + values << 5
                                                               << QByteArray("5.5") << rebuilt;
        // A value never runs into the identifier, however short the gap or long the identifier.
        QTest::newRow("cfg one space after the identifier")
            << FileKind::HandlingCfg << Game::Gta3 << QByteArray("LANDSTAL 1700.0 5.00") << 1 << QByteArray("1750.0")
            << "LANDSTAL       1750.0 5.00 " + QByteArray(27, ' ') + "\t\t  ";
        QTest::newRow("cfg identifier over 15 characters")
            << FileKind::HandlingCfg << Game::Gta3 << QByteArray("LANDSTALXXXXXXXX\t1 2") << 2 << QByteArray("3")
            << "LANDSTALXXXXXXXX 1 3 " + QByteArray(27, ' ') + "\t\t  ";
    }
    void rebuiltLines()
    {
        QFETCH(FileKind, kind);
        QFETCH(Game, game);
        QFETCH(QByteArray, line);
        QFETCH(int, col);
        QFETCH(QByteArray, value);
        QFETCH(QByteArray, rebuilt);
        OpenedFile h(kind, "# first\r\n" + line + "\r\n# after\r\n", game);
        const std::optional<LineChange> change = h.doc.EditCell(0, col, value.toStdString());
        QVERIFY(change && change->before == line.toStdString() && change->after == h.LineOf(0));
        const std::string once = h.LineOf(0);
        QCOMPARE(QByteArray::fromStdString(once), rebuilt);
        QVERIFY(h.doc.Modified());
        QCOMPARE(h.doc.Lines(), (std::vector<std::string>{"# first", once, "# after"}));
        QVERIFY(h.Edit(0, col, value.toStdString()));  // rebuilding again changes nothing
        QCOMPARE(h.LineOf(0), once);
        // Undone, the line is back byte for byte; redone, the rebuilt one.
        h.doc.Undo(*change);
        QCOMPARE(h.LineOf(0), line.toStdString());
        h.doc.Redo(*change);
        QCOMPARE(h.LineOf(0), once);
    }

    // A value that holds its file's separator or a line end would move every later value of the
    // line, or split it in two: refused, whoever asks.
    void valuesTheFileCannotHold_data()
    {
        QTest::addColumn<FileKind>("kind");
        QTest::addColumn<QByteArray>("value");
        QTest::newRow("ide comma") << FileKind::DefaultIde << QByteArray("10,5");
        QTest::newRow("ide line end") << FileKind::DefaultIde << QByteArray("10\n");
        QTest::newRow("cfg space") << FileKind::HandlingCfg << QByteArray("18 00");
        QTest::newRow("cfg tab") << FileKind::HandlingCfg << QByteArray("18\t00");
        QTest::newRow("cfg carriage return") << FileKind::HandlingCfg << QByteArray("1800\r");
    }
    void valuesTheFileCannotHold()
    {
        QFETCH(FileKind, kind);
        QFETCH(QByteArray, value);
        OpenedFile h(kind, kind == FileKind::DefaultIde ? "90, a, b\r\n" : "LANDSTAL 1 2\r\n");
        const auto lines = h.doc.Lines();
        QVERIFY(!h.Edit(0, 2, value.toStdString()));
        QVERIFY(!h.doc.ReplaceLine(0, "90, a\r\n91, b"));  // nor a line holding a line end
        QCOMPARE(h.doc.Lines(), lines);
        QVERIFY(!h.doc.Modified());
    }

    // Rows that show no vehicle line of their own never overwrite a line of the file: nor do a
    // vehicle's key, nor a change undone onto a title.
    void rowsWithoutAVehicleLineAreNeverRebuilt_data()
    {
        QTest::addColumn<FileKind>("kind");
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<int>("row");
        QTest::addColumn<int>("col");
        QTest::newRow("ide row below the last vehicle") << FileKind::DefaultIde << Lines({"90, a", "end", "keep"}) << 1 << 1;
        QTest::newRow("cfg title row") << FileKind::HandlingCfg << Lines({"LANDSTAL 1", ";- keep", "A 1"}) << 1 << 1;
        QTest::newRow("cfg row below the last") << FileKind::HandlingCfg << Lines({"LANDSTAL 1", "; A", "keep"}) << 1 << 1;
        QTest::newRow("no row") << FileKind::HandlingCfg << Lines({"LANDSTAL 1", "keep"}) << -1 << 1;
        QTest::newRow("a vehicle's key") << FileKind::HandlingCfg << Lines({"LANDSTAL 1", "keep"}) << 0 << 0;
        QTest::newRow("past the last column") << FileKind::HandlingCfg << Lines({"LANDSTAL 1", "keep"}) << 0 << 32;
    }
    void rowsWithoutAVehicleLineAreNeverRebuilt()
    {
        QFETCH(FileKind, kind);
        QFETCH(QByteArray, content);
        QFETCH(int, row);
        QFETCH(int, col);
        OpenedFile h(kind, content);
        const auto lines = h.doc.Lines();
        QVERIFY(!h.Edit(row, col, "x"));
        if (row != 0) {  // no vehicle: nothing replaces its line, nor puts one back there
            QVERIFY(!h.doc.ReplaceLine(row, "x"));
            h.doc.Undo({row, "x", "y"});
            h.doc.Redo({row, "x", "y"});
        }
        QCOMPARE(h.doc.Lines(), lines);
        QVERIFY(!h.doc.Modified());
    }

    // The header and handling.cfg's ";" go over the file's own comments only; every other line
    // stays, below them. Whatever ends the lines read, the saved ones end in CR LF, and the file
    // reads back with the rows it had, save after save.
    void headerKeepsTheFilesLines_data()
    {
        QTest::addColumn<FileKind>("kind");
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<QByteArray>("saved");  // @ stands for the header line
        const FileKind ide = FileKind::DefaultIde, cfg = FileKind::HandlingCfg;
        QTest::newRow("ide comment first") << ide << QByteArray("# c\r\n90, a\r\nend") << QByteArray("@|90, a|end");
        QTest::newRow("ide keyword first") << ide << QByteArray("objs\r\n90, a\r\nend") << QByteArray("@|objs|90, a|end");
        QTest::newRow("ide vehicles first") << ide << QByteArray("90, a\r\n91, b\r\nend") << QByteArray("@|90, a|91, b|end");
        QTest::newRow("ide empty line first") << ide << QByteArray("\r\n90, a") << QByteArray("@||90, a");
        QTest::newRow("ide empty") << ide << QByteArray() << QByteArray("@");
        QTest::newRow("ide one byte") << ide << QByteArray("x") << QByteArray("@|x");
        QTest::newRow("lone LF") << ide << QByteArray("#a\nb\nc\n") << QByteArray("@|b|c");
        QTest::newRow("lone CR") << ide << QByteArray("#a\rb\rc") << QByteArray("@|b|c");
        QTest::newRow("mixed, with empty lines") << ide << QByteArray("#a\n\r\n\rb\n\rc") << QByteArray("@|||b||c");
        QTest::newRow("cfg two comments") << cfg << QByteArray(";c\r\n;d\r\nLANDSTAL 1") << QByteArray("@|;|LANDSTAL 1");
        QTest::newRow("cfg vehicle second") << cfg << QByteArray(";c\r\nLANDSTAL 1\r\nIDAHO 2")
                                            << QByteArray("@|;|LANDSTAL 1|IDAHO 2");
        QTest::newRow("cfg vehicles first") << cfg << QByteArray("LANDSTAL 1\r\nIDAHO 2\r\n")
                                            << QByteArray("@|;|LANDSTAL 1|IDAHO 2");
        QTest::newRow("cfg other text first") << cfg << QByteArray("x\r\n;d\r\nLANDSTAL 1")
                                              << QByteArray("@|;|x|;d|LANDSTAL 1");
        QTest::newRow("cfg one comment") << cfg << QByteArray(";c") << QByteArray("@");
        QTest::newRow("cfg two lines") << cfg << QByteArray(";c\r\n;d") << QByteArray("@|;");
        QTest::newRow("cfg tabs kept") << cfg << QByteArray(";c\r\n;d\r\nLANDSTAL\t1\t 2") << QByteArray("@|;|LANDSTAL\t1\t 2");
    }
    void headerKeepsTheFilesLines()
    {
        QFETCH(FileKind, kind);
        QFETCH(QByteArray, content);
        QFETCH(QByteArray, saved);
        OpenedFile h(kind, content);
        for (int row = 0; row < h.doc.RowCount(); ++row)
            QVERIFY(h.doc.IsVehicleRow(row));  // a vehicle on the file's first line too
        const auto cells = Cells(h.doc);
        const QByteArray expected =
            saved.replace("@", (kind == FileKind::DefaultIde ? "#" : ";") + QByteArray(kHeader)).replace('|', "\r\n") + "\r\n";
        for (int save = 0; save < 2; ++save) {
            QVERIFY(h.doc.Save());
            QCOMPARE(ReadBytes(h.path), expected);
            for (int row = 0; row < h.doc.RowCount(); ++row)
                QVERIFY(text::StartsWith(h.LineOf(row), h.doc.Cell(row, 0)));
            Harness again;
            again.Open(kind, Game::Gta3, FsPath(h.path));
            QCOMPARE(Cells(again.doc), cells);
            QCOMPARE(again.doc.Lines().size(), h.doc.Lines().size());
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

    // A save that fails reports it under its routine's name, keeps the changes marked and loses
    // nothing: no half-made file or backup is left behind.
    void failedSaves_data()
    {
        QTest::addColumn<QString>("how");
        QTest::addColumn<bool>("backup");  // the backup exists after the failure
        QTest::newRow("a folder where the file should be") << "folder" << true;
        QTest::newRow("the folder has gone") << "gone" << false;
        QTest::newRow("disk full") << "full" << false;
        QTest::newRow("neither a link nor a copy for the backup") << "nobackup" << false;
        QTest::newRow("the new file cannot take the name") << "rename" << true;
    }
    void failedSaves()
    {
        QFETCH(QString, how);
        QFETCH(bool, backup);
        if (how == "full" && !QFile::exists("/dev/full"))
            QSKIP("this system has no /dev/full");
        QTemporaryDir dir;
        const QString folder = dir.filePath("data"), path = folder + "/default.ide";
        QVERIFY(QDir().mkdir(folder));
        const QByteArray original = "#x\r\n90, a\r\n";
        WriteBytes(path, original);
        FaultyFileSystem fs;
        Harness h(fs);
        h.Open(FileKind::DefaultIde, Game::Gta3, FsPath(path));
        h.Edit(0, 1, "changed");
        if (how == "folder") {
            // A backup already exists, and the file has been replaced by a folder with something in it.
            WriteBytes(path + ".bak", "old backup");
            QVERIFY(QFile::remove(path) && QDir().mkpath(path + "/inside"));
        } else if (how == "gone") {
            QVERIFY(QDir(folder).removeRecursively());
        } else if (how == "full") {
            QVERIFY(QFile::link("/dev/full", path + ".revlane-save"));
        } else if (how == "nobackup") {
            fs.faults = {{FaultyFileSystem::Op::Link, {}, EPERM}, {FaultyFileSystem::Op::Write, FsPath(path + ".bak.revlane-save"), ENOSPC}};
        } else {
            fs.faults = {{FaultyFileSystem::Op::Rename, FsPath(path + ".revlane-save"), EXDEV}};
        }

        QVERIFY(!h.doc.Save());
        QVERIFY(h.doc.Modified());
        QCOMPARE(h.errors.reports.size(), size_t(1));
        QVERIFY2(h.errors.reports[0].find("\r\nRoutine: SaveFile\r\nOS: Test OS 1.0") != std::string::npos,
                 h.errors.reports[0].c_str());
        QVERIFY(text::StartsWith(h.doc.Lines()[1], "90,\tchanged,"));
        // The backup made is told; a file that is not the one read is asked about (Yes) first.
        QCOMPARE(h.messages.shown.size(), size_t(backup && how != "folder") + (how == "folder" || how == "gone"));
        QCOMPARE(ReadBytes(path + ".bak"), how == "folder" ? QByteArray("old backup") : backup ? original : "<missing>");
        if (how != "folder" && how != "gone")
            QCOMPARE(ReadBytes(path), original);
        QVERIFY(!QFileInfo(path + ".revlane-save").isSymLink() && !QFile::exists(path + ".revlane-save"));
        QVERIFY(!QFile::exists(path + ".bak.revlane-save"));

        // Once the cause is gone, saving works and clears the mark.
        if (how == "gone") {
            QVERIFY(QDir().mkdir(folder));
            QVERIFY(h.doc.Save() && !h.doc.Modified());
        }
    }

    // A file that another program changed after it was read, or after the last save, is not
    // written over unasked; No keeps it as it is, and the changes unsaved.
    void changedOnDisk_data()
    {
        QTest::addColumn<bool>("sameSizeAndTime");
        QTest::addColumn<MsgAnswer>("answer");
        QTest::newRow("Yes") << false << MsgAnswer::Yes;
        QTest::newRow("No") << false << MsgAnswer::No;
        QTest::newRow("only the content tells, No") << true << MsgAnswer::No;
    }
    void changedOnDisk()
    {
        QFETCH(bool, sameSizeAndTime);
        QFETCH(MsgAnswer, answer);
        // A file system of whole seconds, which tells no change within one from its times.
        const auto coarse = [&](const QString& path, QDateTime time) {
            QFile file(path);
            QVERIFY(file.open(QIODevice::ReadWrite) && file.setFileTime(time, QFileDevice::FileModificationTime));
        };
        QTemporaryDir dir;
        const QString path = dir.filePath("default.ide");
        WriteBytes(path, "#x\r\n90, a\r\n");
        if (sameSizeAndTime)
            coarse(path, QDateTime::fromSecsSinceEpoch(QDateTime::currentSecsSinceEpoch()));
        Harness h;
        h.Open(FileKind::DefaultIde, Game::Gta3, FsPath(path));
        for (int save = 0; save < 2; ++save) {
            h.Edit(0, 2, "b" + std::to_string(save));
            const QByteArray theirs = "#y\r\n90, " + QByteArray::number(save) + "\r\n";
            const QDateTime time = QFileInfo(path).lastModified();
            WriteBytes(path, sameSizeAndTime ? theirs : theirs + "91, c\r\n");
            if (sameSizeAndTime)
                coarse(path, time);
            h.messages.shown.clear();
            h.messages.answers = {answer};
            QCOMPARE(h.doc.Save(), answer == MsgAnswer::Yes);
            QCOMPARE(QString::fromStdString(h.messages.shown.at(0).text),
                     "The file " + QDir::toNativeSeparators(path)
                         + " has been changed by another program since Revlane read it. Save your changes over it?");
            QCOMPARE(h.messages.shown[0].buttons, MsgButtons::YesNo);
            QCOMPARE(ReadBytes(path).contains("b" + QByteArray::number(save)), answer == MsgAnswer::Yes);
            QCOMPARE(h.doc.Modified(), answer != MsgAnswer::Yes);
            QVERIFY(h.errors.reports.empty());
            if (answer == MsgAnswer::Yes) {  // saved: only a later change asks again
                h.messages.shown.clear();
                QVERIFY(h.doc.Save() && h.messages.shown.empty());
            }
        }
    }

    // A save killed at any moment leaves a whole file under the file's name, the old one or the new
    // one, and the first save's backup is the old file or not there at all.
    void crashAtAnyMoment_data()
    {
        QTest::addColumn<bool>("backupExists");
        QTest::addColumn<bool>("linksRefused");
        QTest::newRow("first save") << false << false;
        QTest::newRow("first save, backup by copy") << false << true;
        QTest::newRow("later save") << true << false;
    }
    void crashAtAnyMoment()
    {
        QFETCH(bool, backupExists);
        QFETCH(bool, linksRefused);
        const QByteArray original = "#x\r\n90, a, b\r\n91, c, d\r\n";
        bool finished = false;
        for (int crashAt = 0; !finished; ++crashAt) {
            QVERIFY(crashAt < 20);
            QTemporaryDir dir;
            const QString path = dir.filePath("default.ide");
            WriteBytes(path, original);
            if (backupExists)
                WriteBytes(path + ".bak", "older");
            FaultyFileSystem fs;
            fs.crashAt = crashAt;
            if (linksRefused)
                fs.faults.push_back({FaultyFileSystem::Op::Link, {}, EPERM});
            Harness h(fs);
            h.Open(FileKind::DefaultIde, Game::Gta3, FsPath(path));
            h.Edit(1, 2, "new");
            const bool saved = h.doc.Save();
            finished = !fs.crashed;
            QVERIFY(!finished || (saved && h.errors.reports.empty()));

            const QByteArray now = ReadBytes(path), backup = ReadBytes(path + ".bak");
            const bool isNew = now.startsWith("# Config") && now.contains("91,\tc,\t\tnew") && now.endsWith("\r\n");
            QVERIFY2(now == original || isNew, now.constData());
            QVERIFY(!finished || isNew);
            if (backupExists)
                QCOMPARE(backup, QByteArray("older"));
            else
                QVERIFY2(backup == original || (!finished && backup == "<missing>"), backup.constData());
        }
    }

    // The saved lines go to the disk in pieces of at most the piece's size, each line with its CR LF;
    // a line longer than a piece goes on its own, and no empty piece is written.
    void linesInPieces_data()
    {
        QTest::addColumn<int>("pieceSize");
        QTest::addColumn<QStringList>("lines");
        QTest::addColumn<QStringList>("pieces");
        QTest::newRow("exact fit") << 5 << QStringList{"abc", "d"} << QStringList{"abc\r\n", "d\r\n"};
        QTest::newRow("one byte over") << 5 << QStringList{"abcd", "e"} << QStringList{"abcd", "\r\n", "e\r\n"};
        QTest::newRow("several to a piece") << 8 << QStringList{"a", "b", "c", "", "dddddd"}
                                            << QStringList{"a\r\nb\r\n", "c\r\n\r\n", "dddddd\r\n"};
        QTest::newRow("no lines") << 4 << QStringList{} << QStringList{};
    }
    void linesInPieces()
    {
        QFETCH(int, pieceSize);
        QFETCH(QStringList, lines);
        QFETCH(QStringList, pieces);
        std::vector<std::string> table;
        for (const QString& line : lines)
            table.push_back(line.toStdString());
        QStringList written;
        text::WriteLinesCrLf(table, static_cast<size_t>(pieceSize),
                             [&](std::string_view piece) { written << QString::fromLatin1(piece.data(), qsizetype(piece.size())); });
        QCOMPARE(written, pieces);
    }
};

QTEST_GUILESS_MAIN(TestSaving)
#include "test_saving.moc"
