#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include "FaultyFileSystem.h"
#include "ModelFakes.h"
#include "Text.h"

using namespace revlane;
using namespace revlane::test;

namespace {

QList<QByteArray> SplitCrLf(const QByteArray& bytes)
{
    QList<QByteArray> lines = bytes.split('\n');
    if (!lines.isEmpty() && lines.last().isEmpty())
        lines.removeLast();
    for (auto& line : lines)
        if (line.endsWith('\r'))
            line.chop(1);
    return lines;
}

}  // namespace

class TestSaveFile : public QObject {
    Q_OBJECT

    static QString Header(char prefix)
    {
        return QString(QChar(prefix))
               + " Config file written by Revlane v1.1.0 - Last modified on Sunday, 6 December 2026 10:15:30 UTC";
    }

private slots:
    void gamesFiles_data() { AddGameFileRows(); }
    // Saved unedited, only the header lines and the tab expansion of handling vehicle lines change;
    // every vehicle rebuilt from its cells, saved again and read back shows the same cells.
    void gamesFiles()
    {
        QFETCH(QString, file);
        QFETCH(FileKind, kind);
        QFETCH(Game, game);
        REVLANE_REQUIRE_FIXTURE(file, fixture);
        QTemporaryDir dir;
        const QString path = dir.filePath(QFileInfo(fixture).fileName());
        const QByteArray original = ReadBytes(fixture);
        WriteBytes(path, original);
        Harness h;
        h.Open(kind, game, FsPath(path));
        QVERIFY(h.file.SaveFile());
        QVERIFY(h.errors.reports.empty());
        QCOMPARE(ReadBytes(path + ".bak"), original);
        QCOMPARE(QString::fromStdString(h.messages.shown.back().text),
                 "Backup copy created at: \r\n" + QDir::toNativeSeparators(path)
                     + ".bak\r\n\r\nA backup copy will be created only when it does not exists.");
        QVERIFY(!QFile::exists(path + ".revlane-save"));

        const QByteArray saved = ReadBytes(path);
        QCOMPARE(saved.count('\n'), saved.count("\r\n"));
        const QList<QByteArray> before = SplitCrLf(original), after = SplitCrLf(saved);
        QCOMPARE(after.size(), before.size());
        const bool ide = kind == FileKind::DefaultIde;
        QCOMPARE(QString::fromLatin1(after[0]), Header(ide ? '#' : ';'));
        for (int i = 1; i < after.size(); ++i) {
            QByteArray expected = before[i];
            const int row = i - h.file.FirstVehicleLine() + h.file.FirstDataRow();
            if (!ide && i == 1)
                expected = ";";
            else if (!ide && h.file.LineOfRow(row) == i && !h.file.IsTitleRow(row))
                expected.replace("\t", "     ");
            QCOMPARE(after[i], expected);
        }

        for (int row = h.file.FirstDataRow(); row < h.file.FirstDataRow() + h.file.FilledRows(); ++row) {
            if (!h.file.IsVehicleRow(row))
                continue;
            h.grid.SetRow(row);
            h.file.UpdateLine();
        }
        const size_t messages = h.messages.shown.size();
        QVERIFY(h.file.SaveFile());
        QCOMPARE(h.messages.shown.size(), messages);  // no second backup, no second message
        QCOMPARE(ReadBytes(path + ".bak"), original);
        Harness again;
        again.Open(kind, game, FsPath(path));
        QCOMPARE(again.file.LineCount(), h.file.LineCount());
        QCOMPARE(again.file.FilledRows(), h.file.FilledRows());
        for (int row = 0; row < h.grid.Rows(); ++row)
            for (int c = 0; c < h.grid.Cols(); ++c)
                QCOMPARE(again.grid.TextMatrix(row, c), h.grid.TextMatrix(row, c));
    }

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
        QTest::newRow("vc ide short line")
            << FileKind::DefaultIde << Game::ViceCity << QByteArray("130,a,b") << 2 << QByteArray("x")
            << QByteArray("130,\ta,\t\tx,\t\t,\t,\t,\t,\t,\t,\t,\t,\t, ");
        QByteArray values;
        QByteArray rebuilt = "LANDSTAL       ";
        for (int v = 1; v <= 31; ++v) {
            values += QByteArray::number(v) + (v % 2 ? "\t " : "  ");
            rebuilt += (v == 30 ? "\t\t" : "") + QByteArray(v == 5 ? "5.5" : QByteArray::number(v)) + " ";
        }
        QTest::newRow("gta3 cfg") << FileKind::HandlingCfg << Game::Gta3 << "LANDSTAL       " + values << 5
                                  << QByteArray("5.5") << rebuilt;
        QTest::newRow("cfg 15-character identifier")
            << FileKind::HandlingCfg << Game::Gta3 << QByteArray("LANDSTALXXXXXXX1 2") << 2 << QByteArray("3")
            << "LANDSTALXXXXXXX1 3 " + QByteArray(27, ' ') + "\t\t  ";
    }
    void rebuiltLines()
    {
        QFETCH(FileKind, kind);
        QFETCH(Game, game);
        QFETCH(QByteArray, line);
        QFETCH(int, col);
        QFETCH(QByteArray, value);
        QFETCH(QByteArray, rebuilt);
        QTemporaryDir dir;
        const QString path = dir.filePath("file");
        WriteBytes(path, "# first\r\n" + line + "\r\n# after\r\n");
        Harness h;
        h.Open(kind, game, FsPath(path));
        const int row = h.file.FirstDataRow();
        h.grid.SetRow(row);
        h.grid.SetTextMatrix(row, col, value.toStdString());
        h.file.UpdateLine();
        const std::string once = h.file.FileLines()[size_t(h.file.LineOfRow(row))];
        QCOMPARE(QByteArray::fromStdString(once), rebuilt);
        QVERIFY(h.file.Modified());
        QCOMPARE(h.file.FileLines().front(), std::string("# first"));
        QCOMPARE(h.file.FileLines().back(), std::string("# after"));

        h.file.UpdateLine();  // rebuilding again changes nothing
        QCOMPARE(h.file.FileLines()[size_t(h.file.LineOfRow(row))], once);
    }

    void rowsWithoutAVehicleLineAreNeverRebuilt_data()
    {
        QTest::addColumn<FileKind>("kind");
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<int>("row");
        QTest::newRow("ide empty row below the last vehicle")
            << FileKind::DefaultIde << QByteArray("90, a\r\nend\r\nkeep me\r\n") << 2;
        QTest::newRow("cfg title row") << FileKind::HandlingCfg << QByteArray("LANDSTAL 1\r\n;- keep\r\nA 1\r\n") << 4;
        QTest::newRow("cfg empty row") << FileKind::HandlingCfg << QByteArray("LANDSTAL 1\r\n; A\r\nkeep\r\n") << 4;
    }
    void rowsWithoutAVehicleLineAreNeverRebuilt()
    {
        QFETCH(FileKind, kind);
        QFETCH(QByteArray, content);
        QFETCH(int, row);
        QTemporaryDir dir;
        const QString path = dir.filePath("file");
        WriteBytes(path, content);
        Harness h;
        h.Open(kind, Game::Gta3, FsPath(path));
        const auto lines = h.file.FileLines();
        h.grid.SetRow(row);
        h.grid.SetCol(h.grid.FixedCols());
        h.grid.SetTextMatrix(row, h.grid.FixedCols(), "x");
        h.file.UpdateLine();
        QCOMPARE(h.file.FileLines(), lines);
        QVERIFY(!h.file.Modified());
        QVERIFY(!h.file.SetVehicleLine(row, "x"));
        QCOMPARE(h.file.FileLines(), lines);
    }

    void lineEnds_data()
    {
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<int>("lineCount");
        QTest::newRow("CR LF") << QByteArray("#a\r\nb\r\nc\r\n") << 3;
        QTest::newRow("no end after the last line") << QByteArray("#a\r\nb\r\nc") << 3;
        QTest::newRow("lone LF") << QByteArray("#a\nb\nc\n") << 3;
        QTest::newRow("lone CR") << QByteArray("#a\rb\rc") << 3;
        QTest::newRow("mixed, with empty lines") << QByteArray("#a\n\r\n\rb\n\rc") << 6;
        QTest::newRow("one line") << QByteArray("#a") << 1;
        QTest::newRow("empty: the header alone") << QByteArray() << 0;
    }
    void lineEnds()
    {
        QFETCH(QByteArray, content);
        QFETCH(int, lineCount);
        QTemporaryDir dir;
        const QString path = dir.filePath("default.ide");
        WriteBytes(path, content);
        Harness h;
        h.Open(FileKind::DefaultIde, Game::Gta3, FsPath(path));
        QCOMPARE(h.file.LineCount(), lineCount);
        QVERIFY(h.file.SaveFile());
        const QByteArray saved = ReadBytes(path);
        const int written = std::max(lineCount, 1);
        QCOMPARE(saved.count("\r\n"), written);
        QCOMPARE(saved.count('\n'), written);
        QCOMPARE(saved.count('\r'), written);
        QVERIFY(saved.startsWith(Header('#').toLatin1() + "\r\n"));
        lineCount = written;
        Harness again;
        again.Open(FileKind::DefaultIde, Game::Gta3, FsPath(path));
        QCOMPARE(again.file.LineCount(), lineCount);
        QVERIFY(again.file.SaveFile());
        QCOMPARE(ReadBytes(path), saved);
    }

    // The header and handling.cfg's ";" go over the file's own comments only; every other line
    // stays, below them, and the rows keep showing their own lines, save after save.
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
        QTest::newRow("cfg two comments") << cfg << QByteArray(";c\r\n;d\r\nLANDSTAL 1") << QByteArray("@|;|LANDSTAL 1");
        QTest::newRow("cfg vehicle second") << cfg << QByteArray(";c\r\nLANDSTAL 1\r\nIDAHO 2")
                                            << QByteArray("@|;|LANDSTAL 1|IDAHO 2");
        QTest::newRow("cfg vehicles first") << cfg << QByteArray("LANDSTAL 1\r\nIDAHO 2\r\n")
                                            << QByteArray("@|;|LANDSTAL 1|IDAHO 2");
        QTest::newRow("cfg other text first") << cfg << QByteArray("x\r\n;d\r\nLANDSTAL 1")
                                              << QByteArray("@|;|x|;d|LANDSTAL 1");
        QTest::newRow("cfg one comment") << cfg << QByteArray(";c") << QByteArray("@");
    }
    void headerKeepsTheFilesLines()
    {
        QFETCH(FileKind, kind);
        QFETCH(QByteArray, content);
        QFETCH(QByteArray, saved);
        QTemporaryDir dir;
        const QString path = dir.filePath("file");
        WriteBytes(path, content);
        Harness h;
        h.Open(kind, Game::Gta3, FsPath(path));
        const auto cells = GridCells(h.grid);
        const QByteArray expected = saved.replace("@", Header(kind == FileKind::DefaultIde ? '#' : ';').toLatin1())
                                        .replace('|', "\r\n") + "\r\n";
        for (int save = 0; save < 2; ++save) {
            QVERIFY(h.file.SaveFile());
            QCOMPARE(ReadBytes(path), expected);
            for (int row = h.file.FirstDataRow(); row < h.file.FirstDataRow() + h.file.FilledRows(); ++row)
                QVERIFY(text::StartsWith(h.file.FileLines()[size_t(h.file.LineOfRow(row))], h.grid.TextMatrix(row, 0)));
            Harness again;
            again.Open(kind, Game::Gta3, FsPath(path));
            QCOMPARE(GridCells(again.grid), cells);
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
        } else if (how == "folder") {
            QVERIFY(QDir().mkpath(path + "/inside"));
        } else {
            QVERIFY(QFile::link("/dev/full", path));
        }
        Harness h(fs);
        h.file.SetModified(true);
        h.Open(FileKind::HandlingCfg, Game::Gta3, FsPath(path));
        QCOMPARE(h.errors.reports.size(), size_t(1));
        QVERIFY2(QString::fromStdString(h.errors.reports[0]).endsWith("\r\nRoutine: ReadFile\r\nOS: Test OS 1.0"),
                 h.errors.reports[0].c_str());
        QVERIFY(!h.file.IsOpen() && !h.file.Modified());
        QVERIFY(!h.grid.Enabled() && h.grid.Rows() == 0 && h.grid.Cols() == 0);
        QVERIFY(!h.view.controlsEnabled && h.view.restoreList.empty());

        QVERIFY(!h.file.SaveFile());
        QCOMPARE(h.errors.reports.size(), size_t(2));
        if (how == "denied") {
            QCOMPARE(ReadBytes(path), original);
            QCOMPARE(ReadBytes(path + ".bak"), original);
        } else {
            QVERIFY(QFileInfo(path).isDir() || QFileInfo(path).isSymLink());
        }
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Dirs | QDir::System | QDir::NoDotAndDotDot).size(),
                 how == "denied" ? 2 : 1);
    }

    // Real failures: the report names the routine, the changes stay marked, nothing is lost.
    void failedSaves_data()
    {
        QTest::addColumn<QString>("how");
        QTest::newRow("a folder where the file should be") << "folder";
        QTest::newRow("the folder has gone") << "gone";
        QTest::newRow("disk full") << "full";
    }
    void failedSaves()
    {
        QFETCH(QString, how);
        if (how == "full" && !QFile::exists("/dev/full"))
            QSKIP("this system has no /dev/full");
        QTemporaryDir dir;
        const QString folder = dir.filePath("data");
        QVERIFY(QDir().mkdir(folder));
        const QString path = folder + "/default.ide";
        const QByteArray original = "#x\r\n90, a\r\n";
        WriteBytes(path, original);
        Harness h;
        h.Open(FileKind::DefaultIde, Game::Gta3, FsPath(path));
        h.grid.SetRow(1);
        h.grid.SetTextMatrix(1, 1, "changed");
        h.file.UpdateLine();

        if (how == "folder") {
            // A backup already exists, and the file has been replaced by a folder with something in it.
            WriteBytes(path + ".bak", "old backup");
            QVERIFY(QFile::remove(path));
            QVERIFY(QDir().mkpath(path + "/inside"));
        } else if (how == "gone") {
            QVERIFY(QDir(folder).removeRecursively());
        } else {
            QVERIFY(QFile::link("/dev/full", path + ".revlane-save"));
        }

        QVERIFY(!h.file.SaveFile());
        QVERIFY(h.file.Modified());
        QCOMPARE(h.errors.reports.size(), size_t(1));
        const QString report = QString::fromStdString(h.errors.reports[0]);
        QVERIFY2(report.contains("\r\nRoutine: SaveFile\r\nOS: Test OS 1.0"), qPrintable(report));
        QVERIFY(text::StartsWith(h.file.FileLines()[1], "90,\tchanged,"));
        QVERIFY(h.messages.shown.empty());

        if (how == "folder") {
            QVERIFY(QFileInfo(path + "/inside").isDir());
            QCOMPARE(ReadBytes(path + ".bak"), QByteArray("old backup"));
        } else if (how == "gone") {
            QVERIFY(!QFile::exists(folder));
        } else {
            QCOMPARE(ReadBytes(path), original);
            QVERIFY(!QFile::exists(path + ".bak"));
        }
        QVERIFY(QFile(path + ".revlane-save").symLinkTarget().isEmpty() && !QFile::exists(path + ".revlane-save"));

        // Once the cause is gone, saving works and clears the mark.
        if (how == "gone") {
            QVERIFY(QDir().mkdir(folder));
            QVERIFY(h.file.SaveFile());
            QVERIFY(!h.file.Modified());
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
            h.grid.SetRow(2);
            h.grid.SetTextMatrix(2, 2, "new");
            h.file.UpdateLine();
            const bool saved = h.file.SaveFile();
            finished = !fs.crashed;
            QVERIFY(!finished || (saved && h.errors.reports.empty()));

            const QByteArray now = ReadBytes(path);
            const bool isNew = now.startsWith("# Config file written by Revlane") && now.contains("91,\tc,\t\tnew")
                               && now.endsWith("\r\n");
            QVERIFY2(now == original || isNew, now.constData());
            QVERIFY(!finished || isNew);
            const QByteArray backup = ReadBytes(path + ".bak");
            if (backupExists)
                QCOMPARE(backup, QByteArray("older"));
            else
                QVERIFY2(backup == original || (!finished && backup == "<missing>"), backup.constData());
        }
    }
};

QTEST_GUILESS_MAIN(TestSaveFile)
#include "test_savefile.moc"
