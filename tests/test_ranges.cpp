#include <QTest>

#include "CellRanges.h"
#include "ModelFakes.h"

using namespace revlane;
using namespace revlane::test;

namespace {

struct Work {
    FileKind kind;
    const char* op;  // paste, set, add, multiply, fill, copy
    CellRange range;  // for a paste, its first cell
    QByteArray text;  // the text pasted, the number as typed, the value written; for a copy, the text copied
    QString cells;    // "row,col=value" once the document took the work, apart by ";"
    QString counts;   // "values/left out/decimal commas over row,col-row,col", or the start of the refusal
};

const FileKind cfg = FileKind::HandlingCfg, ide = FileKind::DefaultIde;
// Row 3, a second name that starts with "i".
const QByteArray kIde = QByteArray(kSmallIde).replace("\r\nend", "\r\n93, ivory, ivory, car, IVORY, IVORY, normal, 10, 7, 0, 1, 0.7\r\nend");

}  // namespace

Q_DECLARE_METATYPE(Work)

// Work on many cells at once, as the model works it out: what each gesture would put in, what it
// leaves out and counts, and what refuses it whole; put in, every line it changed comes back with
// one undo. handling.cfg's rows: 0 LANDSTAL, 1 a title, 2 BIKE, 3 IDAHO; default.ide's: landstal,
// idaho, stinger, ivory.
class TestRanges : public QObject {
    Q_OBJECT
private slots:
    void work_data()
    {
        QTest::addColumn<Work>("w");
        const CellRange masses{0, 1, 3, 2};
        // Only cells that hold a number change, each keeping its decimals; titles never change.
        QTest::newRow("multiply") << Work{cfg, "multiply", masses, "1.1", "0,1=1870.0;0,2=2.2;2,1=550.0;2,2=1.1;3,1=1760.0;3,2=2.4;1,1=", "6/0/0 over 0,1-3,2"};
        QTest::newRow("a decimal comma typed") << Work{cfg, "multiply", {0, 1, 0, 1}, " 1,5 ", "0,1=2550.0", "1/0/0 over 0,1-0,1"};
        QTest::newRow("add keeps its decimals") << Work{cfg, "add", {0, 1, 0, 1}, "0.25", "0,1=1700.25", "1/0/0 over 0,1-0,1"};
        QTest::newRow("set") << Work{cfg, "set", masses, "5", "0,1=5.0;3,2=5.0;1,1=", "6/0/0 over 0,1-3,2"};
        QTest::newRow("no minus zero") << Work{cfg, "multiply", {0, 2, 0, 2}, "-0.01", "0,2=0.0", "1/0/0 over 0,2-0,2"};
        QTest::newRow("round half away") << Work{ide, "multiply", {0, 7, 2, 9}, "1.5", "0,7=15;0,8=11;0,9=0;2,8=9;2,9=2ff0", "8/1/0 over 0,7-2,9"};
        QTest::newRow("empty cells") << Work{cfg, "add", {0, 30, 0, 31}, "1", "0,30=", "0/2/0 over 0,30-0,31"};
        QTest::newRow("the key column left alone") << Work{cfg, "set", {0, 0, 0, 1}, "9", "0,0=LANDSTAL;0,1=9.0", "1/0/0 over 0,1-0,1"};
        QTest::newRow("not a number") << Work{cfg, "set", masses, "abc", "0,1=1700.0", "no number"};
        QTest::newRow("fill") << Work{cfg, "fill", {0, 1, 3, 1}, "42", "0,1=42;1,1=;2,1=42;3,1=42;3,2=2.2", "3/0/0 over 0,1-3,1"};
        QTest::newRow("fill with a decimal comma") << Work{ide, "fill", {0, 11, 1, 11}, "0,9", "0,11=0.9;1,11=0.9", "2/0/2 over 0,11-1,11"};
        // From the current cell to the right and down; what lies past the grid or on a title is counted.
        QTest::newRow("spreadsheet's 2x2") << Work{cfg, "paste", {2, 1}, "1800.0\t2.5\r\n900.0\t1.5\r\n", "2,1=1800.0;2,2=2.5;3,1=900.0;3,2=1.5;0,1=1700.0", "4/0/0 over 2,1-3,2"};
        QTest::newRow("title, past the end") << Work{cfg, "paste", {0, 1}, "1\n2\n3\n4\n5", "0,1=1;1,1=;2,1=3;3,1=4", "3/2/0 over 0,1-3,1"};
        QTest::newRow("past the last column") << Work{ide, "paste", {0, 11}, "0.9\t8\n", "0,11=0.9", "1/1/0 over 0,11-0,11"};
        QTest::newRow("lone CRs, an empty cell keeps") << Work{cfg, "paste", {0, 1}, "\t9.9\r7", "0,1=1700.0;0,2=9.9;1,1=", "1/1/0 over 0,1-1,2"};
        QTest::newRow("default.ide") << Work{ide, "paste", {1, 7}, "12\t9\n", "1,7=12;1,8=9;1,9=0", "2/0/0 over 1,7-1,8"};
        QTest::newRow("a space refuses all") << Work{cfg, "paste", {0, 1}, "1800.0\t2 5", "", "handling.cfg cannot hold a space inside a value."};
        QTest::newRow("a comma refuses all") << Work{ide, "paste", {0, 5}, "X\t1,5", "", "default.ide cannot hold a comma"};
        QTest::newRow("decimal commas") << Work{cfg, "paste", {0, 1}, "0,85\t2,1", "0,1=0.85;0,2=2.1", "2/0/2 over 0,1-0,2"};
        QTest::newRow("a decimal comma in default.ide") << Work{ide, "paste", {0, 7}, "7\t1,5", "0,7=7;0,8=1.5", "2/0/1 over 0,7-0,8"};
        // A spreadsheet quotes a cell that holds a line break or a quote; it stays one cell.
        QTest::newRow("a quoted line break refuses all") << Work{cfg, "paste", {0, 1}, "\"1.0\n2.0\"\t5\r\n", "", "handling.cfg cannot hold a line end"};
        QTest::newRow("quoted cells") << Work{cfg, "paste", {0, 1}, "\"1800.0\"\t\"\"\r\n", "0,1=1800.0;0,2=2.0", "1/0/0 over 0,1-0,2"};
        QTest::newRow("a quote inside is text") << Work{ide, "paste", {0, 5}, "a\"b\"\t\"c\"d\"", "0,5=a\"b\";0,6=\"c\"d\"", "2/0/0 over 0,5-0,6"};
        QTest::newRow("a value after the last") << Work{cfg, "paste", {2, 3}, "4.0", "2,3=4.0", "1/0/0 over 2,3-2,3"};
        QTest::newRow("a gap refuses all") << Work{cfg, "paste", {0, 30}, "7", "", "handling.cfg cannot hold a value after an empty one."};
        QTest::newRow("copy") << Work{cfg, "copy", {0, 1, 3, 2}, "1700.0\t2.0\n\t\n500.0\t1.0\n1600.0\t2.2\n", "", ""};
    }
    void work()
    {
        QFETCH(Work, w);
        OpenedFile h(w.kind, w.kind == ide ? kIde : kSmallCfg);
        const std::vector<std::string> before = h.doc.Lines();
        const QByteArray op = w.op;
        if (op == "copy") {
            QCOMPARE(QByteArray::fromStdString(CopyText(h.doc, w.range)), w.text);
            return;
        }
        RangeWork work;
        if (op == "paste") {
            work = PasteText(h.doc, w.range.top, w.range.left, w.text.toStdString());
        } else if (op == "fill") {
            work = FillRange(h.doc, w.range, w.text.toStdString());
        } else {
            const std::optional<std::string> number = ReadNumber(w.text.toStdString());
            if (!number) {
                QCOMPARE(w.counts, QString("no number"));
                return;
            }
            const NumberChange change = op == "set" ? NumberChange::Set : op == "add" ? NumberChange::Add : NumberChange::Multiply;
            work = ChangeNumbers(h.doc, w.range, change, *number);
        }
        if (!work.refusal.empty()) {
            QVERIFY2(QString::fromStdString(work.refusal).startsWith(w.counts), work.refusal.c_str());
            return;
        }
        const CellRange& c = work.covered;
        QCOMPARE(QString("%1/%2/%3 over %4,%5-%6,%7").arg(work.edits.size()).arg(work.leftOut).arg(work.decimalCommas)
                     .arg(c.top).arg(c.left).arg(c.bottom).arg(c.right), w.counts);
        std::vector<LineChange> changes = h.doc.EditCells(work.edits);
        CheckCells(h.doc, w.cells.split(';'));
        h.doc.Undo(changes);
        QCOMPARE(h.doc.Lines(), before);
    }
};

QTEST_GUILESS_MAIN(TestRanges)
#include "test_ranges.moc"
