#include <QAbstractItemModelTester>
#include <QAccessible>
#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTabBar>
#include <QTest>

#include "Desk.h"
#include "Text.h"
#include "VehicleTableModel.h"

using namespace revlane;
using namespace revlane::test;

namespace {

struct View {
    FileKind kind;
    Game game;
    int cols;
    QStringList headers;  // "col=caption", the caption's lines joined by "|"
};
struct Gesture {
    const char* open;  // how the editor is opened: a key's name, "dclick", or characters typed
    QString editor;
    int caret;
    const char* typed;  // into the editor
    const char* close;  // a key's name, "click" another cell, or "focus" another control
    QString cell;       // LANDSTAL's fMass afterwards
    int row;            // the current row afterwards
};

// How many cells named so a screen reader finds under an accessible object, and how many tables.
void Walk(QAccessibleInterface* at, const QString& name, int& cells, int& tables)
{
    if (!at)
        return;
    tables += at->role() == QAccessible::Table;
    cells += at->role() == QAccessible::Cell && at->text(QAccessible::Name) == name;
    for (int i = 0; i < at->childCount(); ++i)
        Walk(at->child(i), name, cells, tables);
}

}  // namespace

Q_DECLARE_METATYPE(View)
Q_DECLARE_METATYPE(Gesture)

// The grid and editing a cell in place, through the real window: every gesture's effect on the
// saved line, the values refused, undo and redo, and what a screen reader reads.
class TestEditing : public QObject {
    Q_OBJECT
private slots:
    // Each view over the games' own files: its columns and captions, the import hint, the first
    // vehicle's first value current with the keys on the grid; the keys stay in view while the
    // values scroll.
    void views_data()
    {
        QTest::addColumn<View>("v");
        const FileKind ide = FileKind::DefaultIde, cfg = FileKind::HandlingCfg;
        QTest::newRow("gta3 default.ide") << View{ide, Game::Gta3, 12, {"0=", "1=Model name", "11=Wheel scale"}};
        QTest::newRow("vc default.ide") << View{ide, Game::ViceCity, 13, {"6=Anims", "10=Comprules"}};
        QTest::newRow("gta3 handling.cfg") << View{cfg, Game::Gta3, 32, {"0=A|vehicle identifier|[14 characters max]", "26=AA|suspension upper limit|"}};
        QTest::newRow("vc handling.cfg") << View{cfg, Game::ViceCity, 33, {"29=AD|suspension anti-dive multiplier|", "32=AG|rear lights|0=long, 1=small, 2=big, 3=tall"}};
    }
    void views()
    {
        QFETCH(View, v);
        Desk desk;
        // Enough vehicles to scroll the grid to its end, where its top row is cut.
        QByteArray ides = QByteArray(kSmallIde).replace("90,", v.game == Game::Gta3 ? "90," : "130,"), cfg = kSmallCfg;
        for (int i = 0; i < 40; ++i) {
            ides.replace("end\r\n", "91, idaho, idaho, car, IDAHO, IDAHO, poorfamily, 10, 7, 0, 163, 0.64\r\nend\r\n");
            cfg.replace("; A end", QByteArray("IDAHO") + QByteArray::number(i) + " 1600.0 2.2\r\n; A end");
        }
        desk.Ready(v.kind, v.game, ides, cfg);
        ui::GridView* grid = desk.Grid();
        const bool ide = v.kind == FileKind::DefaultIde;
        QCOMPARE(grid->model()->columnCount(), v.cols);
        for (const QString& header : v.headers) {
            const int col = header.section('=', 0, 0).toInt();
            QCOMPARE(grid->model()->headerData(col, Qt::Horizontal).toString(), header.section('=', 1).replace('|', '\n'));
        }
        // A caption's tooltip names its column in full, on one line.
        QCOMPARE(grid->model()->headerData(1, Qt::Horizontal, Qt::ToolTipRole).toString(),
                 ide ? QString("Model name") : QString("B: fMass [1.0 to 50000.0]"));
        QCOMPARE(desk.Find<QLineEdit>("txtImport")->text(), ide ? "[insert comma separated values and click Apply]"
                                                                : "[ insert values separated by one or more spaces or tabs and click Apply ]");
        QCOMPARE(desk.Current(), desk.Index(0, ide ? 2 : 1));
        QCOMPARE(QApplication::focusWidget(), grid);
        desk.ClickCell(1, ide ? 2 : 1);  // the first value is a click away
        QCOMPARE(desk.Current(), desk.Index(1, ide ? 2 : 1));

        // The keys stay at the left edge, over the values, as far as these scroll.
        QCOMPARE(grid->FrozenView()->width(), grid->columnViewportPosition(ide ? 2 : 1));  // no value under the keys
        grid->resize(grid->width(), grid->height() + grid->rowHeight(0) / 2);
        QTest::keyClick(grid, Qt::Key_End, Qt::ControlModifier);
        QVERIFY(grid->horizontalScrollBar()->value() > 0);
        QTableView* keys = grid->FrozenView();
        QVERIFY(keys->isVisible() && keys->x() <= grid->frameWidth() && keys->model()->columnCount() == (ide ? 2 : 1));
        QVERIFY(grid->rowAt(0) > 0);
        for (const int row : {0, 1}) {  // beside each value its own vehicle's key, at the same height
            const QModelIndex key = keys->model()->index(row, 0), beside = grid->model()->index(grid->rowAt(0) + row, 0);
            QCOMPARE(key.data(), beside.data());
            QCOMPARE(keys->visualRect(key).top(), grid->visualRect(beside).top());
        }
        QVERIFY(grid->visualRect(desk.Current()).left() >= keys->width());
    }

    // The table the grid shows keeps Qt's rules for models through reads, edits, undo and closing,
    // without a window: it hears the document, and a value typed goes in through it alone, as one
    // step of the undo stack named for it; a value the file cannot hold goes nowhere.
    void tableModel()
    {
        Harness h;
        CaptionTable captions;
        captions.Fill();
        DefaultLines stock;
        CellMarks marks(h.doc, stock, captions);
        QUndoStack undo;
        ui::VehicleTableModel table(h.doc, marks, captions, undo);
        QAbstractItemModelTester tester(&table, QAbstractItemModelTester::FailureReportingMode::QtTest);
        QTemporaryDir dir;
        WriteBytes(dir.filePath("handling.cfg"), kSmallCfg);
        QVERIFY(h.Open(FileKind::HandlingCfg, Game::Gta3, FsPath(dir.filePath("handling.cfg"))) && table.rowCount() == 4);
        QSignalSpy told(&table, &ui::VehicleTableModel::told);
        QSignalSpy changed(&table, &QAbstractItemModel::dataChanged);
        QVERIFY(!table.setData(table.index(0, 1), "1 8") && !table.setData(table.index(1, 1), "7") && undo.count() == 0);
        QVERIFY(table.setData(table.index(0, 1), "1800,5"));
        QCOMPARE(table.data(table.index(0, 1)).toString(), QString("1800.5"));
        QCOMPARE(undo.undoText(), QString("Edit LANDSTAL fMass"));
        QCOMPARE(told.value(0).value(0).toString(), QString("1 decimal comma written as a point."));
        undo.undo();
        QCOMPARE(table.data(table.index(0, 1)).toString(), QString("1700.0"));
        QCOMPARE(changed.size(), 2);
        h.doc.Close();
        QCOMPARE(table.rowCount(), 0);
    }

    // Vice City's handling.cfg offers a tab for each kind of record it holds, naming its count; a
    // click, Ctrl+Tab or Ctrl+Shift+Tab shows that kind's records under their own captions, and an
    // undo goes back to the tab of its step. A file of one kind shows no tabs.
    void recordTabs()
    {
        Desk desk;
        desk.Ready(FileKind::HandlingCfg, Game::ViceCity, kSmallIde, QByteArray(kSmallCfg) + "% PREDATOR 0.79 0.5\r\n!\tBIKE\t0.33\t0.15\r\n");
        auto* tabs = desk.Find<QTabBar>("tabRecords");
        QStringList texts;
        for (int i = 0; i < tabs->count(); ++i)
            texts << tabs->tabText(i);
        QVERIFY(tabs->isVisible() && desk.Grid()->geometry().top() >= tabs->geometry().bottom());
        QCOMPARE(texts, QStringList({"Vehicles (3)", "Boats (1)", "Bikes (1)"}));
        QTest::keySequence(desk.Grid(), QKeySequence("Ctrl+Tab"));
        QCOMPARE(desk.CellText(0, 0), std::string("PREDATOR"));
        QCOMPARE(desk.Grid()->model()->headerData(1, Qt::Horizontal).toString(), QString("B\nThrustY"));
        QTest::mouseClick(tabs, Qt::LeftButton, {}, tabs->tabRect(2).center());
        desk.Edit(0, 1, "0.5");
        QCOMPARE(desk.LineOf(0), std::string("! BIKE 0.5 0.15"));
        QTest::keySequence(desk.Grid(), QKeySequence("Ctrl+Shift+Tab"));
        QTest::keySequence(desk.Grid(), QKeySequence("Ctrl+Shift+Tab"));
        QCOMPARE(std::pair(tabs->currentIndex(), desk.CellText(0, 0)), std::pair(0, std::string("LANDSTAL")));
        QTest::keySequence(desk.Grid(), QKeySequence("Ctrl+Z"));
        QCOMPARE(tabs->currentIndex(), 2);
        QCOMPARE(desk.Find<QLabel>("lblStatus")->text(), QString("Undone: Edit BIKE LeanFwdCOM"));
        QCOMPARE(desk.LineOf(0), std::string("!\tBIKE\t0.33\t0.15"));
        desk.Open(FileKind::DefaultIde);
        QVERIFY(!tabs->isVisible());
    }

    // Every way of opening the editor over LANDSTAL's fMass, and every way of ending the edit.
    void editingGestures_data()
    {
        QTest::addColumn<Gesture>("g");
        QTest::newRow("digit replaces") << Gesture{"7", "7", 1, "5", "enter", "75", 0};
        QTest::newRow("space keeps") << Gesture{"space", "1700.0", 6, "5", "enter", "1700.05", 0};
        QTest::newRow("escape on the grid keeps") << Gesture{"escape", "1700.0", 6, "", "enter", "1700.0", 0};
        QTest::newRow("double-click") << Gesture{"dclick", "1700.0", 6, "1", "enter", "1700.01", 0};
        QTest::newRow("long text: caret after 15")
            << Gesture{"long", "123456789012345678", 15, "", "enter", "123456789012345678", 0};
        QTest::newRow("escape cancels") << Gesture{"7", "7", 1, "", "escape", "1700.0", 0};
        QTest::newRow("down commits, then moves") << Gesture{"space", "1700.0", 6, "9", "down", "1700.09", 1};
        QTest::newRow("up on the first row stays") << Gesture{"7", "7", 1, "", "up", "7", 0};
        QTest::newRow("click elsewhere commits") << Gesture{"7", "7", 1, "", "click", "7", 2};
        QTest::newRow("another control commits") << Gesture{"7", "7", 1, "1", "focus", "71", 0};
    }
    void editingGestures()
    {
        QFETCH(Gesture, g);
        const bool longText = QByteArray(g.open) == "long";
        Desk desk;
        desk.Ready(FileKind::HandlingCfg, Game::Gta3, kSmallIde, longText ? QByteArray(kSmallCfg).replace("1700.0", "123456789012345678") : kSmallCfg);
        const std::string before = desk.LineOf(0);
        const std::map<QByteArray, Qt::Key> keys = {{"space", Qt::Key_Space}, {"backspace", Qt::Key_Backspace},
                                                    {"escape", Qt::Key_Escape}, {"enter", Qt::Key_Return},
                                                    {"long", Qt::Key_Return}, {"down", Qt::Key_Down}, {"up", Qt::Key_Up}};
        if (QByteArray(g.open) == "dclick") {
            desk.ClickCell(0, 1);
            QTest::mouseDClick(desk.Grid()->viewport(), Qt::LeftButton, {}, desk.Cell(0, 1));
        } else if (keys.count(g.open)) {
            QTest::keyClick(desk.Grid(), keys.at(g.open));
        } else {
            QTest::keyClicks(desk.Grid(), g.open);
        }
        QLineEdit* editor = desk.Editor();
        QVERIFY(editor && editor->isVisible());
        QCOMPARE(editor->text(), g.editor);
        QCOMPARE(editor->cursorPosition(), g.caret);
        QVERIFY(!editor->hasSelectedText());

        QTest::keyClicks(editor, g.typed);
        if (QByteArray(g.close) == "click")
            desk.ClickCell(2, 2);
        else if (QByteArray(g.close) == "focus")
            desk.Find("txtImport")->setFocus();
        else
            QTest::keyClick(editor, keys.at(g.close));

        QTRY_VERIFY(!desk.Editor());
        QCOMPARE(QString::fromStdString(desk.CellText(0, 1)), g.cell);
        const bool cancelled = QByteArray(g.close) == "escape";
        QCOMPARE(desk.Modified(), !cancelled);
        if (cancelled)
            QCOMPARE(desk.LineOf(0), before);
        else
            QVERIFY(text::StartsWith(desk.LineOf(0), "LANDSTAL       " + g.cell.toStdString() + " 2.0 5.0 "));
        QCOMPARE(desk.Current(), desk.Index(g.row, QByteArray(g.close) == "click" ? 2 : 1));
        QCOMPARE(QApplication::focusWidget(), QByteArray(g.close) == "focus" ? desk.Find("txtImport") : desk.Grid());
    }

    // A value the file cannot hold inside one field is not committed: the editor stays open with
    // it and the line above the grid says why, until Escape leaves the line as it was. A value
    // pasted with a spreadsheet's line end loses that one.
    void valuesTheFileCannotHold_data()
    {
        QTest::addColumn<FileKind>("kind");
        QTest::addColumn<QString>("pasted");
        QTest::addColumn<QString>("refused");  // the line above the grid; empty: committed
        QTest::newRow("cfg space") << FileKind::HandlingCfg << "18 00" << "handling.cfg cannot hold a space";
        QTest::newRow("ide comma") << FileKind::DefaultIde << "10,5" << "default.ide cannot hold a comma";
        QTest::newRow("cfg line end inside") << FileKind::HandlingCfg << "16\n50" << "handling.cfg cannot hold a line end";
        QTest::newRow("ide emoji") << FileKind::DefaultIde << "1😀" << "default.ide cannot hold the character \"😀\" (U+1F600)";
        QTest::newRow("cfg empty before others") << FileKind::HandlingCfg << "" << "handling.cfg cannot hold an empty value";
        QTest::newRow("cfg pasted with its line end") << FileKind::HandlingCfg << "1650.0\r\n" << "";
    }
    void valuesTheFileCannotHold()
    {
        QFETCH(FileKind, kind);
        QFETCH(QString, pasted);
        QFETCH(QString, refused);
        Desk desk;
        desk.Ready(kind);
        const int col = kind == FileKind::DefaultIde ? 6 : 1;
        const std::string line = desk.LineOf(0);
        desk.Select(0, col);
        QTest::keyClick(desk.Grid(), Qt::Key_Space);
        QLineEdit* editor = desk.Editor();
        editor->selectAll();
        QApplication::clipboard()->setText(pasted);
        QTest::keySequence(editor, QKeySequence::Paste);
        QTest::keyClick(editor, Qt::Key_Return);
        auto* status = desk.Find<QLabel>("lblStatus");
        QVERIFY((desk.Editor() != nullptr) == !refused.isEmpty() && status->isVisible() == !refused.isEmpty());
        if (refused.isEmpty()) {
            QCOMPARE(desk.CellText(0, col), std::string("1650.0"));
            return;
        }
        QVERIFY2(status->text().startsWith(refused), qPrintable(status->text()));
        desk.Click("cmdSave");  // nor does leaving the editor commit it, nor does Save go ahead
        desk.ClickCell(1, col);  // and its cell stays the current one
        QVERIFY(editor->hasFocus() && !desk.Modified() && desk.messages.shown.empty());
        QCOMPARE(desk.Current(), desk.Index(0, col));
        QTest::keyClick(editor, Qt::Key_Escape);
        QVERIFY(!desk.Editor() && !status->isVisible() && !desk.Modified());
        QCOMPARE(desk.LineOf(0), line);
    }

    // A section title or a comment takes no editor; a key column or a caption never becomes current.
    void onlyValuesAreEdited()
    {
        Desk desk;
        desk.Ready(FileKind::HandlingCfg, Game::Gta3, kSmallIde, QByteArray(kSmallCfg).replace("IDAHO", ";\tcomment\r\nIDAHO"));
        for (const int row : {3, 1}) {  // the comment, the title
            desk.Select(row, 2);
            QTest::keyClick(desk.Grid(), '7');
            QTest::mouseDClick(desk.Grid()->viewport(), Qt::LeftButton, {}, desk.Cell(row, 2));
            QTest::keyClick(desk.Grid(), Qt::Key_Return);
            QVERIFY(!desk.Editor() && !desk.Modified());
        }
        QTest::mouseClick(desk.Grid()->FrozenView()->viewport(), Qt::LeftButton, {}, desk.Cell(3, 0));
        QTest::mouseClick(desk.Grid()->horizontalHeader()->viewport(), Qt::LeftButton, {},
                          QPoint(desk.Grid()->columnViewportPosition(3) + 5, 5));
        QCOMPARE(desk.Current(), desk.Index(1, 2));
        QTest::keyClick(desk.Grid(), Qt::Key_Home, Qt::ControlModifier);
        QTest::keyClick(desk.Grid(), Qt::Key_Left);
        QCOMPARE(desk.Current(), desk.Index(0, 1));
    }

    // Scrolling by a click on either scroll bar does not close an open editor, and the keys typed
    // afterwards still go to it.
    void scrollingLeavesTheEditorOpen()
    {
        Desk desk;
        desk.Ready(FileKind::HandlingCfg);
        desk.Select(2, 2);
        QTest::keyClicks(desk.Grid(), "1");
        QTest::keyClicks(desk.Editor(), "2");
        QScrollBar* across = desk.Grid()->horizontalScrollBar();
        QTest::mouseClick(across, Qt::LeftButton, {}, QPoint(across->width() - 4, across->height() / 2));
        QVERIFY(across->value() > 0 && desk.Editor() && desk.Editor()->hasFocus());
        QTest::keyClicks(desk.Editor(), "34");
        QTest::keyClick(desk.Editor(), Qt::Key_Return);
        QCOMPARE(desk.CellText(2, 2), std::string("1234"));
    }

    // To a screen reader the grid is one table: each cell's text is its name, each column's
    // caption its header, a marked cell's tooltip its description, and the current cell is told
    // as it moves. The keys laid over the values are not read twice.
    void screenReader()
    {
        Desk desk;
        desk.Ready(FileKind::HandlingCfg);
        desk.Edit(0, 1, "1800");
        QAccessibleInterface* grid = QAccessible::queryAccessibleInterface(desk.Grid());
        QVERIFY(grid && grid->role() == QAccessible::Table && grid->tableInterface());
        QAccessibleTableInterface* table = grid->tableInterface();
        QVERIFY(table->rowCount() == 4 && table->columnCount() == 32);
        QAccessibleInterface* mass = table->cellAt(0, 1);
        QCOMPARE(mass->text(QAccessible::Name), QString("1800"));
        QCOMPARE(mass->text(QAccessible::Description), QString("Stock value: 1700.0"));
        QCOMPARE(table->cellAt(1, 0)->text(QAccessible::Name), QString(" bikes"));
        const QList<QAccessibleInterface*> headers = mass->tableCellInterface()->columnHeaderCells();
        QVERIFY(headers.size() == 1 && headers[0]->text(QAccessible::Name).contains("fMass"));
        for (QAccessibleInterface* header : headers)  // made for the caller, who owns them
            QAccessible::deleteAccessibleInterface(QAccessible::registerAccessibleInterface(header));
        int named = 0, tables = 0;
        Walk(QAccessible::queryAccessibleInterface(desk.w.get()), "LANDSTAL", named, tables);
        QCOMPARE(std::pair(named, tables), std::pair(1, 1));

        QTest::keyClick(desk.Grid(), Qt::Key_Right);  // the cell the focus moves to is the one read
        QCOMPARE(grid->focusChild()->text(QAccessible::Name), QString("2.0"));
    }

    // Undo and redo of an edit, an import and a restore put each line back byte for byte; unsaved
    // changes follow the undo stack from the file as read or last saved; the marks follow each
    // change; the shortcuts act as the buttons do.
    void undoRedoAndShortcuts()
    {
        Desk desk;
        const QString cfg = Desk::DataFile(desk.Ready(FileKind::HandlingCfg), "handling.cfg");
        const auto tip = [&](int row, int col) { return desk.Grid()->model()->data(desk.Index(row, col), Qt::ToolTipRole).toString(); };
        const std::vector<std::string> read = desk.w->File().Lines();
        desk.Edit(0, 1, "1800");
        QCOMPARE(tip(0, 1), QString("Stock value: 1700.0"));
        desk.Find<QLineEdit>("txtImport")->setText("IDAHO 1 2");
        desk.Click("cmdImport");
        desk.Edit(3, 2, "3");
        desk.messages.answers.push_back(MsgAnswer::OK);
        desk.Click("cmdRestore");  // LANDSTAL back to stock
        const std::vector<std::string> changed = desk.w->File().Lines();
        const auto keys = [&](const QString& sequence, int times = 1) {
            for (int i = 0; i < times; ++i)
                QTest::keySequence(desk.Grid(), QKeySequence(sequence));
        };
        const auto said = [&] { return desk.Find<QLabel>("lblStatus")->text(); };
        desk.Select(2, 3);
        keys("Ctrl+Z");  // the restore undone: its row becomes current, and the step is named
        QCOMPARE(desk.Current().row(), 0);
        QCOMPARE(said(), QString("Undone: Restore LANDSTAL"));
        keys("Ctrl+Z", 3);
        QCOMPARE(said(), QString("Undone: Edit LANDSTAL fMass"));
        QCOMPARE(desk.w->File().Lines(), read);
        QVERIFY(!desk.Modified() && tip(0, 1).isEmpty());
        keys("Ctrl+Y", 2);
        QCOMPARE(said(), QString("Redone: Import IDAHO"));
        keys("Ctrl+Shift+Z", 2);
        QCOMPARE(desk.w->File().Lines(), changed);
        keys("Ctrl+Z", 3);
        QCOMPARE(tip(0, 1), QString("Stock value: 1700.0"));
        keys("Ctrl+S");
        QVERIFY(!desk.Modified() && ReadBytes(cfg).contains("LANDSTAL       1800 2.0 5.0"));
        keys("Ctrl+Z");
        QVERIFY(desk.Modified());
        desk.messages.answers.push_back(MsgAnswer::OK);
        keys("F5");
        const std::vector<std::string> reread = desk.w->File().Lines();
        keys("Ctrl+Z");  // a file read afresh has nothing to undo
        QVERIFY(!desk.Modified() && desk.w->File().Lines() == reread);
    }
};

QTEST_MAIN(TestEditing)
#include "test_editing.moc"
