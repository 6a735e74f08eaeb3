#include <QDir>
#include <QTest>

#include <stdexcept>
#include <tuple>

#include "Catalogue.h"
#include "FieldRules.h"
#include "ModelFakes.h"
#include "Text.h"

using namespace revlane;
using namespace revlane::test;

namespace {

// A game's file read whole: where its section starts, its rows, the vehicles it offers for
// restoring, and cells that tell the split went right.
struct GameFile {
    const char* file;
    FileKind kind;
    Game game;
    int firstLine;  // -1: not checked
    int rows;
    int vehicles;
    QStringList cells;  // "row,col=text"
    QString views = {};  // the views' names and counts, apart by commas, where more than the vehicles'
};

}  // namespace

Q_DECLARE_METATYPE(GameFile)

// Reading a file: where its vehicle section lies, how each line splits into its row's values, and
// the rules its columns' captions give.
class TestReading : public QObject {
    Q_OBJECT
private slots:
    void gamesFiles_data()
    {
        QTest::addColumn<GameFile>("c");
        const FileKind ide = FileKind::DefaultIde, cfg = FileKind::HandlingCfg;
        const Game g3 = Game::Gta3, vc = Game::ViceCity;
        QTest::newRow("gta3 default.ide") << GameFile{"gta3/data/default.ide", ide, g3, 60, 61, 61, {"60,1=ghost"}};
        // The game reads up to ";the end", right after BORGNINE.
        QTest::newRow("gta3 handling.cfg") << GameFile{"gta3/data/handling.cfg", cfg, g3, 65, 57, 57,
                                                       {"0,31=1", "0,29=C00B", "56,0=BORGNINE"}};
        QTest::newRow("vc default.ide") << GameFile{"vc/data/default.ide", ide, vc, 181, 107, 107, {"93,1=jetmax"}};
        QTest::newRow("vc handling.cfg") << GameFile{"vc/data/handling.cfg", cfg, vc, 81, 109, 106,
                                                     {"81,0=------ bikes", "87,0=------ boats", "91,0=RIO", "108,0=RCCOPTER"},
                                                     "Vehicles 106, Boats 11, Bikes 5, Aircraft 10"};
        // More vehicles than the games' own files hold, every one of them.
        QTest::newRow("gta3 added cars") << GameFile{"modded/gta3-added-cars_default.ide", ide, g3, 60, 70, 70, {"69,1=hotrod"}};
        QTest::newRow("gta3 added cars' handling") << GameFile{"modded/gta3-added-cars_handling.cfg", cfg, g3, -1, 66, 66, {"65,0=HOTROD"}};
        QTest::newRow("vc mod") << GameFile{"modded/vc-mod_default.ide", ide, vc, -1, 110, 110, {"109,1=timetrain"}};
        QTest::newRow("vc generated") << GameFile{"modded/vc-generated_handling.cfg", cfg, vc, -1, 106, 106,
                                                  {"0,0=LANDSTAL", "0,1=1700.0"}, "Vehicles 106, Boats 11, Bikes 5, Aircraft 10"};
        QTest::newRow("vc tabbed") << GameFile{"modded/vc-tabbed_handling.cfg", cfg, vc, 4, 103, 103, {"16,0=FBICAR", "16,1=13000.0"},
                                               "Vehicles 103, Boats 11, Bikes 5, Aircraft 10"};
    }
    void gamesFiles()
    {
        QFETCH(GameFile, c);
        REVLANE_REQUIRE_FIXTURE(c.file, path);
        const QByteArray original = ReadBytes(path);
        OpenedFile h(c.kind, original, c.game);
        const Document& d = h.doc;
        QVERIFY(h.errors.reports.empty() && !d.Modified() && d.IsOpen());
        QVERIFY(c.firstLine < 0 || d.FirstVehicleLine() == c.firstLine);
        QCOMPARE(d.RowCount(), c.rows);
        QCOMPARE(d.RestoreCount(), c.vehicles);
        QVERIFY(h.messages.shown.empty());
        CheckCells(d, c.cells);
        QStringList views;
        for (int view = 0; view < d.ViewCount(); ++view)
            views << QString("%1 %2").arg(RecordKindName(d.ViewKind(view))).arg(d.RecordCount(view));
        QCOMPARE(views.join(", "), c.views.isEmpty() ? "Vehicles " + QString::number(c.vehicles) : c.views);

        // Saved unedited, only the header lines change, after the backup of the file as it was;
        // every other byte stays, line ends included.
        QVERIFY(h.doc.Save() && h.errors.reports.empty());
        QCOMPARE(ReadBytes(h.path + ".bak"), original);
        std::vector<LineEnd> ends;
        std::vector<std::string> lines = text::SplitLines(original.toStdString(), &ends);
        const bool ide = c.kind == FileKind::DefaultIde;
        lines[0] = (ide ? "#" : ";") + std::string(kHeader);
        if (!ide)
            lines[1] = ";";
        QCOMPARE(ReadBytes(h.path), QByteArray::fromStdString(text::JoinLines(lines, ends)));

        // Every record of every view rebuilt from its values, saved again and read back shows the
        // same values; every row shows its own line.
        std::vector<std::vector<std::vector<std::string>>> cells;
        for (int view = 0; view < d.ViewCount(); ++view) {
            h.doc.ShowView(view);
            cells.push_back(Cells(d));
            for (int row = 0; row < d.RowCount(); ++row) {
                QVERIFY(d.LineAt(row).find(d.Cell(row, 0)) != std::string::npos);
                const size_t fields = d.Fields(row).size();  // a boat's line keeps its fewer fields
                QVERIFY(!d.IsVehicleRow(row) || h.Edit(row, d.Geometry().fixedCols, d.Cell(row, d.Geometry().fixedCols)));
                QCOMPARE(d.Fields(row).size(), fields);
            }
        }
        QVERIFY(h.doc.Save());
        OpenedFile again(c.kind, ReadBytes(h.path), c.game);
        QCOMPARE(again.doc.Lines().size(), d.Lines().size());
        for (int view = 0; view < d.ViewCount(); ++view) {
            again.doc.ShowView(view);
            QCOMPARE(Cells(again.doc), cells[size_t(view)]);
        }
    }

    // Which lines are rows, how each splits into its row's values (the rows' first cells, between
    // bars, a row to a line), and how many rows name a vehicle to restore. The line table keeps
    // every line as read.
    void read_data()
    {
        QTest::addColumn<FileKind>("kind");
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<QStringList>("rows");
        QTest::addColumn<int>("entries");
        const FileKind ide = FileKind::DefaultIde, cfg = FileKind::HandlingCfg;
        // Records as the game finds them: default.ide's in its cars section, handling.cfg's up to
        // ";the end"; the comments among them are rows, those above and below them are not.
        QTest::newRow("ide cars section") << ide << Lines({"# c", "cars", "# heading", "90, a", "91, b", "# last", "end", "92, c"})
                                          << QStringList{"90|a", "91|b"} << 2;
        QTest::newRow("ide without end") << ide << Lines({"cars", "90, a", "91, b"}) << QStringList{"90|a", "91|b"} << 2;
        QTest::newRow("ide a car above the first id") << ide << Lines({"cars", "200, mine", "  ", "90, a", "end"}) << QStringList{"200|mine", "90|a"} << 2;
        QTest::newRow("ide END does not end it") << ide << Lines({"cars", "90, a", "END", "# x", "91, b", "end ", "92, c"})
                                                 << QStringList{"90", "END", "# x|", "91"} << 2;
        QTest::newRow("no cars section") << ide << Lines({"90, a", "end"}) << QStringList{} << 0;
        QTest::newRow("ide indented comment") << ide << Lines({"cars", "90, a", " \t# 91, b", "92, c"}) << QStringList{"90", " \t# 91, b|", "92"} << 2;
        QTest::newRow("cfg indented comment") << cfg << Lines({"LANDSTAL 1", "\t ; IDAHO 2", "A 1"}) << QStringList{"LANDSTAL", "\t ; IDAHO 2|", "A"} << 2;
        QTest::newRow("ide tabs and spaces") << ide << Lines({"cars", "90,\t landstal\t\t, \tland\tstal\t"}) << QStringList{"90|landstal|landstal|"} << 1;
        QTest::newRow("cfg the end") << cfg << Lines({"; head", "LANDSTAL 1 2", "; A", ";", "IDAHO 3", ";the end", "LINERUN 4"})
                                     << QStringList{"LANDSTAL|1|2|", "; A|", ";|", "IDAHO|3|"} << 2;
        QTest::newRow("cfg sorted by name") << cfg << Lines({"; c", "AMBULAN 1", "BANSHEE 2", "LANDSTAL 3", "ZEBRA 4"})
                                            << QStringList{"AMBULAN", "BANSHEE", "LANDSTAL", "ZEBRA"} << 4;
        // Boats', bikes' and aircraft's records are rows of views of their own.
        QTest::newRow("cfg titles, other kinds") << cfg << Lines({"LANDSTAL 1", "% BOAT 1", ";- bikes", "IDAHO 2", "! BIKE 3"})
                                                 << QStringList{"LANDSTAL|1", " bikes|", "IDAHO|2"} << 2;
        // The game reads a handling.cfg line as tokens, however they are spaced.
        QTest::newRow("cfg mixed gaps") << cfg << Lines({"LANDSTAL       1.0 \t2.0             3.0\t\t4  "})
                                        << QStringList{"LANDSTAL|1.0|2.0|3.0|4|"} << 1;
        QTest::newRow("cfg one space, or a tab, after the identifier") << cfg << Lines({"LANDSTAL 1700.0 5.00", "IDAHO\t13000.0\t4.0"})
                                                                       << QStringList{"LANDSTAL|1700.0|5.00|", "IDAHO|13000.0|4.0|"} << 2;
        QTest::newRow("cfg control character is no gap") << cfg << Lines({"LANDSTAL       1\x01" "2 3"})
                                                        << QStringList{QString::fromLatin1("LANDSTAL|1\x01" "2|3|")} << 1;
        QTest::newRow("cfg identifier over 15 characters") << cfg << Lines({"LANDSTALXXXXXXXX 1.0"}) << QStringList{"LANDSTALXXXXXXXX|1.0|"} << 1;
    }
    void read()
    {
        QFETCH(FileKind, kind);
        QFETCH(QByteArray, content);
        QFETCH(QStringList, rows);
        QFETCH(int, entries);
        OpenedFile h(kind, content);
        QCOMPARE(h.doc.RowCount(), rows.size());
        for (int row = 0; row < h.doc.RowCount(); ++row) {
            const QStringList cells = rows[row].split('|');
            for (int col = 0; col < cells.size(); ++col)
                QCOMPARE(QString::fromLatin1(h.doc.Cell(row, col)), cells[col]);
        }
        QCOMPARE(h.doc.LineOfRow(h.doc.RowCount()), -1);  // the row below the last has no line
        QCOMPARE(h.doc.RestoreCount(), entries);
        QCOMPARE(h.doc.Lines(), text::SplitLines(content.toStdString()));
        QVERIFY(h.messages.shown.empty() && h.errors.reports.empty());
    }

    // Vice City's boats', bikes' and aircraft's records, each kind a view of its own beside the
    // vehicles': its records by their identifiers after the marker, a record with fewer values and
    // a marker without an identifier kept as read; an edit rebuilds only its own line, marker first,
    // in whichever view it is undone; every other line is saved as it was.
    void recordViews()
    {
        const QByteArray boat = "%\tSEAPLANE\t0.5\t1.2\t1.2\t50.0\t0.85\t-0.4\t20.0\t0.93\t0.998\t0.999\t0.95\t0.5\t1.0\t0.4\t9.9";
        const QByteArray content = Lines({"; head", "LANDSTAL 1700.0 2.0", ";- boats", "SEAPLANE 5000.0 1.0", "; boats",
                                          boat.constData(), "%", "% DINGHY 0.7", "!\tBIKE\t0.33\t0.15", "$ SEAPLANE 0.0032",
                                          ";the end", "! AFTER 1"});
        OpenedFile h(FileKind::HandlingCfg, content, Game::ViceCity);
        Document& d = h.doc;
        QStringList views;
        for (int view = 0; view < d.ViewCount(); ++view)
            views << QString("%1 %2 of %3").arg(RecordKindName(d.ViewKind(view))).arg(d.RecordCount(view)).arg((d.ShowView(view), d.RowCount()));
        QCOMPARE(views.join(", "), QString("Vehicles 2 of 3, Boats 2 of 3, Bikes 1 of 1, Aircraft 1 of 1"));
        QCOMPARE(d.FindRecord(RecordKind::Aircraft, "SEAPLANE"), std::optional(std::pair(3, 0)));
        d.ShowView(1);
        QCOMPARE(d.Geometry().cols, 15);
        CheckCells(d, {"0,0=SEAPLANE", "0,14=0.4", "1,0=%", "1,1=", "2,0=DINGHY", "2,2="});
        QVERIFY(d.IsVehicleRow(0) && !d.IsVehicleRow(1) && !h.Edit(2, 3, "1"));
        std::vector<LineChange> change{*d.EditCell(0, 1, "0.6")};
        QVERIFY(h.Edit(2, 2, "0.5"));
        d.ShowView(2);
        QVERIFY(h.Edit(0, 1, "0.5"));
        d.ShowView(0);
        d.Undo(change);  // undone where it was made
        QCOMPARE(d.Cell(0, 1), std::string("1700.0"));
        QVERIFY(d.Save());
        std::vector<std::string> lines = text::SplitLines(content.toStdString());
        lines[0] = ";" + std::string(kHeader);
        lines.insert(lines.begin() + 1, ";");
        lines[8] = "% DINGHY 0.7 0.5";
        lines[9] = "! BIKE 0.5 0.15";
        QCOMPARE(ReadBytes(h.path), QByteArray::fromStdString(text::JoinLines(lines)));
    }

    // A file is read in pieces: a line, or its CR LF, may be cut anywhere between two of them.
    void linesAcrossPieces_data()
    {
        QTest::addColumn<QStringList>("pieces");
        QTest::addColumn<QStringList>("lines");
        QTest::newRow("CR LF cut") << QStringList{"a\r", "\nb"} << QStringList{"a", "b"};
        QTest::newRow("CR alone at a piece's end") << QStringList{"a\r", "b", "\nc"} << QStringList{"a", "b", "c"};
        QTest::newRow("empty pieces") << QStringList{"", "a\r", "", "\n", "\n"} << QStringList{"a", ""};
    }
    void linesAcrossPieces()
    {
        QFETCH(QStringList, pieces);
        QFETCH(QStringList, lines);
        std::vector<std::string> read{"left from an earlier read", "and another"};
        text::LineSplitter split(read);
        for (const QString& piece : pieces)
            split.Feed(piece.toStdString());
        split.Finish();
        QStringList got;
        for (const std::string& line : read)
            got << QString::fromStdString(line);
        QCOMPARE(got, lines);
    }


    // Each caption's hint read as a rule; every handling.cfg column but the few without a range gets one.
    void fieldRules_data()
    {
        QTest::addColumn<QString>("hint");
        QTest::addColumn<QStringList>("kept");
        QTest::addColumn<QStringList>("refused");
        QTest::newRow("between") << "[1.0 to 50000.0]" << QStringList{"1.0", "50000", "+17.5"} << QStringList{"0.99", "50000.1", "x", "", "1e3", ".", "1.2.3"};
        // A number beyond a double's range is none, not a 0 that the range holds.
        QTest::newRow("zero to one") << "[0.0 to 1.0]" << QStringList{"0"} << QStringList{QString(310, '1'), "0." + QString(400, '0') + "1"};
        QTest::newRow("inside") << "[0.0 > x > 20.0]" << QStringList{"0.01", "19.9"} << QStringList{"0.0", "20", "-1"};
        QTest::newRow("choice") << "[F/R/4]" << QStringList{"F", "R", "4"} << QStringList{"f", "4.0", "FR", ""};
        QTest::newRow("a number") << "not [L/M/H]" << QStringList{"1.5", "-2"} << QStringList{"L", "M", ""};
        QTest::newRow("numbered choice") << "0=long, 1=small, 2=big, 3=tall" << QStringList{"0", "3"} << QStringList{"4", "long"};
        QTest::newRow("length") << "[14 characters max]" << QStringList{"ABCDEFGHIJKLMN", ""} << QStringList{"ABCDEFGHIJKLMNO"};
        QTest::newRow("a negative length is no rule") << "[-1 characters max]" << QStringList{"xy"} << QStringList{};
    }
    void fieldRules()
    {
        QFETCH(QString, hint);
        QFETCH(QStringList, kept);
        QFETCH(QStringList, refused);
        const FieldRule rule = ParseFieldRule(hint.toStdString());
        for (const QString& value : kept)
            QVERIFY2(Allows(rule, value.toStdString()), qPrintable(value));
        for (const QString& value : refused)
            QVERIFY2(!Allows(rule, value.toStdString()), qPrintable(value));
        CaptionTable captions;
        captions.Fill();
        for (const auto& [game, cols, unruled] : {std::tuple(Game::Gta3, 32, 5), std::tuple(Game::ViceCity, 33, 6)}) {
            int none = 0;
            for (int col = 0; col < cols; ++col)
                none += ParseFieldRule(captions.HandlingHeader(game, col).hint).kind == FieldRule::Kind::None;
            QCOMPARE(none, unruled);  // X, AA to AD, and Vice City's extra field
        }
        QVERIFY(captions.HandlingHeader(Game::Gta3, 32).name.empty());  // GTA III has no column AG
    }
};

QTEST_GUILESS_MAIN(TestReading)
#include "test_reading.moc"
