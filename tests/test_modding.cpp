#include <QApplication>
#include <QClipboard>
#include <QLabel>
#include <QMenu>
#include <QTest>

#include "Desk.h"

using namespace revlane;
using namespace revlane::test;

namespace {

struct Range {
    int top, left, bottom, right;
};
struct Gesture {
    FileKind kind;
    Range range;     // selected before; for a paste, the current cell and what is selected after
    QString action;  // a command's object name, "fill" for Ctrl+Enter, "paste" or "copy" for the keys, "find" and its key
    QString text;    // the number asked for (empty: cancelled), the value typed, the clipboard's text, the name found
    QString cells;   // "row,col=value" afterwards, apart by ";"; "7" typed where a name was found; empty: none found
    QString status;  // the start of the line above the grid; empty: nothing said
    QString step;    // what the line above the grid says the undo undid; empty: no step
};

const FileKind cfg = FileKind::HandlingCfg, ide = FileKind::DefaultIde;
// Row 3, a second name that starts with "i".
const QByteArray kIde = QByteArray(kSmallIde).replace("\r\nend", "\r\n93, ivory, ivory, car, IVORY, IVORY, normal, 10, 7, 0, 1, 0.7\r\nend");

void SelectRange(Desk& desk, const Range& r)
{
    desk.Select(r.top, r.left);
    for (int row = r.top; row < r.bottom; ++row)
        QTest::keyClick(desk.Grid(), Qt::Key_Down, Qt::ShiftModifier);
    for (int col = r.left; col < r.right; ++col)
        QTest::keyClick(desk.Grid(), Qt::Key_Right, Qt::ShiftModifier);
}

}  // namespace

Q_DECLARE_METATYPE(Gesture)

// A modder's gestures on many values at once, through the real window, each one step of the undo
// stack named for what it did: the clipboard's ranges, the changes of the selected values, finding
// a vehicle by name. What each works out is the model's, tested in its own tables.
// handling.cfg's rows: 0 LANDSTAL, 1 a title, 2 BIKE, 3 IDAHO; default.ide's: landstal, idaho, stinger, ivory.
class TestModding : public QObject {
    Q_OBJECT
private slots:
    void manyValues_data()
    {
        QTest::addColumn<Gesture>("g");
        const Range masses{0, 1, 3, 2};
        QTest::newRow("multiply") << Gesture{cfg, masses, "mnuMultiplyValues", "1.1", "0,1=1870.0;3,2=2.4;1,1=", "6 values changed.", "Multiply 6 values by 1.1"};
        QTest::newRow("add") << Gesture{ide, {0, 7, 2, 9}, "mnuAddValues", "1", "0,7=11;2,9=2ff0", "8 values changed; 1 left as they are (no number).", "Add 1 to 8 values"};
        QTest::newRow("not a number") << Gesture{cfg, masses, "mnuSetValues", "abc", "0,1=1700.0", "\"abc\" is not a number", ""};
        QTest::newRow("cancelled") << Gesture{cfg, masses, "mnuSetValues", "", "0,1=1700.0", "", ""};
        QTest::newRow("Ctrl+Enter") << Gesture{cfg, {0, 1, 3, 1}, "fill", "42", "0,1=42;1,1=;2,1=42;3,1=42;3,2=2.2", "", "Fill 3 values with 42"};
        // Ctrl+V from the current cell to the right and down, Ctrl+C of a range; what was pasted stays selected.
        QTest::newRow("spreadsheet's 2x2") << Gesture{cfg, {2, 1, 3, 2}, "paste", "1800.0\t2.5\r\n900.0\t1.5\r\n", "2,1=1800.0;3,2=1.5", "4 values pasted.", "Paste 4 values"};
        QTest::newRow("title, past the end") << Gesture{cfg, {0, 1, 3, 1}, "paste", "1\n2\n3\n4\n5", "0,1=1;3,1=4", "3 values pasted; 2 left out (past the grid's edge, or on rows that take no values).", "Paste 3 values"};
        QTest::newRow("decimal commas") << Gesture{cfg, {0, 1, 0, 2}, "paste", "0,85\t2,1", "0,1=0.85;0,2=2.1", "2 values pasted; 2 decimal commas written as points.", "Paste 2 values"};
        QTest::newRow("a space refuses all") << Gesture{cfg, {0, 1, 0, 1}, "paste", "1800.0\t2 5", "0,1=1700.0", "Nothing was pasted: handling.cfg cannot hold a space inside a value.", ""};
        QTest::newRow("past Latin-1 refuses all") << Gesture{cfg, {0, 1, 0, 1}, "paste", "1800.0\t2Ж", "0,1=1700.0", "Nothing was pasted: handling.cfg cannot hold the character \"Ж\" (U+0416)", ""};
        QTest::newRow("no text") << Gesture{cfg, {0, 1, 0, 1}, "paste", "", "0,1=1700.0", "The clipboard holds no text to paste.", ""};
        // Ctrl+F, a name and Enter make its next vehicle current, in the same column, round the end;
        // typing then edits it. F3 and Shift+F3 find the next and the one before. A name that names
        // no vehicle is said in the box, and Escape closes it.
        QTest::newRow("find") << Gesture{ide, {0, 7, 0, 7}, "find Return", "i", "1,7=7", "", "Edit idaho Frq"};
        QTest::newRow("find any case, round the end") << Gesture{ide, {2, 7, 2, 7}, "find Return", "iD", "1,7=7", "", "Edit idaho Frq"};
        QTest::newRow("find F3") << Gesture{ide, {0, 7, 0, 7}, "find F3", "i", "1,7=7", "", "Edit idaho Frq"};
        QTest::newRow("find Shift+F3") << Gesture{ide, {0, 8, 0, 8}, "find Shift+F3", "i", "3,8=7", "", "Edit ivory Lvl"};
        QTest::newRow("find an identifier") << Gesture{cfg, {3, 1, 3, 1}, "find Return", "landstal", "0,1=7", "", "Edit LANDSTAL fMass"};
        QTest::newRow("find no title") << Gesture{cfg, {0, 1, 0, 1}, "find Return", "bikes", "", "", ""};
        QTest::newRow("copy, paste back") << Gesture{cfg, {2, 1, 3, 2}, "copy", "500.0\t1.0\n1600.0\t2.2\n", "0,2=500.0;0,3=1.0;1,2=;2,2=1.0", "2 values pasted; 2 left out", "Paste 2 values"};
    }
    void manyValues()
    {
        QFETCH(Gesture, g);
        Desk desk;
        desk.Ready(g.kind, Game::Gta3, kIde);
        const std::vector<std::string> before = desk.w->File().Lines();
        if (g.action == "paste") {
            QApplication::clipboard()->setText(g.text);
            desk.Select(g.range.top, g.range.left);
            QTest::keySequence(desk.Grid(), QKeySequence::Paste);
            QCOMPARE(desk.Grid()->SelectedRange(), QRect(QPoint(g.range.left, g.range.top), QPoint(g.range.right, g.range.bottom)));
        } else if (g.action == "copy") {
            SelectRange(desk, g.range);
            QTest::keySequence(desk.Grid(), QKeySequence::Copy);
            QCOMPARE(QApplication::clipboard()->text(), g.text);
            desk.Select(0, 2);
            QTest::keySequence(desk.Grid(), QKeySequence::Paste);
        } else if (g.action.startsWith("find")) {
            desk.Select(g.range.top, g.range.left);
            QTest::keySequence(desk.Grid(), QKeySequence("Ctrl+F"));
            QTest::keyClicks(desk.Find("txtFind"), g.text);
            QTest::keySequence(desk.Find("txtFind"), QKeySequence(g.action.mid(5)));
            QCOMPARE(desk.Find<QLabel>("lblFind")->text(), QString(g.cells.isEmpty() ? "Not found:" : "Find:"));
            if (g.cells.isEmpty()) {
                QTest::keyClick(desk.Find("txtFind"), Qt::Key_Backspace);  // a changed name is no longer marked
                QCOMPARE(desk.Find<QLabel>("lblFind")->text(), QString("Find:"));
            }
            QTest::keyClick(g.cells.isEmpty() ? desk.Find("txtFind") : desk.Grid(), g.cells.isEmpty() ? Qt::Key_Escape : Qt::Key_7);
            QVERIFY(desk.Grid()->hasFocus() || (desk.Editor() && desk.Editor()->hasFocus()));
            QCOMPARE(desk.Find("picFind")->isVisible(), !g.cells.isEmpty());
            if (desk.Editor()) {  // Up commits, then moves
                QTest::keyClick(desk.Editor(), Qt::Key_Up);
                QCOMPARE(desk.Current().row(), std::max(0, g.cells.section(',', 0, 0).toInt() - 1));
            }
        } else if (SelectRange(desk, g.range); g.action == "fill") {
            QTest::keyClicks(desk.Grid(), g.text.left(1));
            QTest::keyClicks(desk.Editor(), g.text.mid(1));
            QTest::keyClick(desk.Editor(), Qt::Key_Return, Qt::ControlModifier);
        } else {
            if (!g.text.isEmpty())
                desk.numbers.answers.push_back(g.text);
            desk.w->findChild<QAction*>(g.action)->trigger();
            QCOMPARE(desk.numbers.asked, 1);
        }
        for (const QString& cell : g.cells.split(';', Qt::SkipEmptyParts)) {
            const QStringList at = cell.section('=', 0, 0).split(',');
            QCOMPARE(QString::fromStdString(desk.CellText(at[0].toInt(), at[1].toInt())), cell.section('=', 1));
        }
        const QString said = desk.Find<QLabel>("lblStatus")->text();
        QVERIFY2(g.status.isEmpty() ? said.isEmpty() : said.startsWith(g.status), qPrintable(said));
        QTest::keySequence(desk.Grid(), QKeySequence("Ctrl+Z"));  // one step puts every line back, and is named
        QVERIFY(desk.w->File().Lines() == before && !desk.Modified());
        if (!g.step.isEmpty())
            QCOMPARE(desk.Find<QLabel>("lblStatus")->text(), "Undone: " + g.step);
    }

    // The right button, the Menu key and Shift+F10 open the menu of those commands over the cells.
    void contextMenu()
    {
        Desk desk;
        desk.Ready(cfg);
        QStringList texts;
        for (QAction* action : desk.Grid()->Menu()->actions())
            texts << action->text();
        QCOMPARE(texts, QStringList({"&Copy", "&Paste", "", "&Set selected values to...", "&Add to selected values...", "&Multiply selected values by...",
                                     "", "Compare &with...", "&Next difference", "P&revious difference", "&Take their values",
                                     "Take their &vehicles...", "St&op comparing"}));
        QContextMenuEvent click(QContextMenuEvent::Mouse, desk.Cell(0, 2), desk.Grid()->viewport()->mapToGlobal(desk.Cell(0, 2)));
        for (const int key : {int(Qt::Key_F10), int(Qt::Key_Menu), 0}) {
            desk.Select(0, 1);
            if (key)
                QTest::keyClick(desk.Grid(), Qt::Key(key), key == Qt::Key_F10 ? Qt::ShiftModifier : Qt::NoModifier);
            else
                QApplication::sendEvent(desk.Grid()->viewport(), &click);
            QVERIFY(desk.Grid()->Menu()->isVisible());
            desk.Grid()->Menu()->hide();
        }
    }
};

QTEST_MAIN(TestModding)
#include "test_modding.moc"
