#include <QApplication>
#include <QClipboard>
#include <QLabel>
#include <QComboBox>
#include <QLineEdit>
#include <QMouseEvent>
#include <QRegularExpression>
#include <QTest>

#include "Desk.h"
#include "Text.h"

using namespace revlane;
using namespace revlane::test;

namespace {

const QString kCfgHint = "[ insert values separated by one or more spaces or tabs and click Apply ]";

struct View {
    FileKind kind;
    Game game;
    int cols, rows, firstRow;
    QStringList cells;  // "row,col=text"
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

}  // namespace

Q_DECLARE_METATYPE(View)
Q_DECLARE_METATYPE(Gesture)

// The grid views and editing a cell in place, through the real window.
class TestGridEditing : public QObject {
    Q_OBJECT
private slots:
    // The grid paints without misusing its painter.
    void init() { QTest::failOnWarning(QRegularExpression("^QPainter")); }

    // Each view over the games' own files: its shape and headers, the import hint, the first
    // vehicle's first value current with the keys on the grid; headers and fixed columns stay in
    // view while the body scrolls.
    void views_data()
    {
        QTest::addColumn<View>("v");
        const FileKind ide = FileKind::DefaultIde, cfg = FileKind::HandlingCfg;
        QTest::newRow("gta3 default.ide") << View{ide, Game::Gta3, 12, 62, 1, {"0,0=", "0,1=Model name", "0,6=Class", "0,11=Wheel scale", "61,1=ghost"}};
        QTest::newRow("vc default.ide") << View{ide, Game::ViceCity, 13, 108, 1,
                                                {"0,6=Anims", "0,7=Class", "0,10=Comprules", "0,11=Wheel model", "0,12=Wheel scale"}};
        QTest::newRow("gta3 handling.cfg") << View{cfg, Game::Gta3, 32, 60, 3,
                                                   {"0,0=A", "1,0=vehicle identifier", "1,10=fTractionLoss", "2,26=", "1,29=flags", "3,31=1",
                                                    "2,31=0=long, 1=small, 2=big, 3=tall"}};
        QTest::newRow("vc handling.cfg") << View{cfg, Game::ViceCity, 33, 112, 3,
                                                 {"1,28=suspension bias between front and rear", "0,29=AD", "1,29=suspension anti-dive multiplier", "2,29=", "1,30=flags", "0,31=AF", "0,32=AG",
                                                  "1,31=front lights", "1,32=rear lights", "84,0=------ bikes"}};
    }
    void views()
    {
        QFETCH(View, v);
        const QString folder = v.game == Game::Gta3 ? "gta3/data/" : "vc/data/";
        REVLANE_REQUIRE_FIXTURE(folder + "default.ide", idePath);
        REVLANE_REQUIRE_FIXTURE(folder + "handling.cfg", cfgPath);
        Desk desk;
        desk.Ready(v.kind, v.game, ReadBytes(idePath), ReadBytes(cfgPath));
        ui::FlexGrid* grid = desk.Grid();
        const Grid& g = grid->model();
        QCOMPARE(g.Cols(), v.cols);
        QCOMPARE(g.Rows(), v.rows);
        for (const QString& cell : v.cells) {
            const int comma = cell.indexOf(','), equals = cell.indexOf('=');
            QCOMPARE(QString::fromStdString(g.TextMatrix(cell.left(comma).toInt(), cell.mid(comma + 1, equals - comma - 1).toInt())),
                     cell.mid(equals + 1));
        }
        const bool ide = v.kind == FileKind::DefaultIde;
        QCOMPARE(desk.Find<QLineEdit>("txtImport")->text(), ide ? "[insert comma separated values and click Apply]" : kCfgHint);
        QVERIFY(desk.Enabled("comRestore") && desk.Find<QComboBox>("comRestore")->currentIndex() == 0);
        QCOMPARE(g.Row(), v.firstRow);
        QCOMPARE(g.Col(), ide ? 2 : 1);
        QCOMPARE(QApplication::focusWidget(), grid);
        desk.ClickCell(v.firstRow + 1, g.FixedCols());  // the first value is a click away too
        QCOMPARE(std::pair(g.Row(), g.Col()), std::pair(v.firstRow + 1, ide ? 2 : 1));

        // Column widths on screen follow the twips, and the headers stay while the body scrolls.
        QCOMPARE(grid->CellRect(0, 0).width(), qRound(grid->logicalDpiX() * (ide ? 500 : 1600) / 1440.0));
        QCOMPARE(grid->CellRect(0, v.cols - 1).width(), qRound(grid->logicalDpiX() * 1200 / 1440.0));
        QCOMPARE(grid->CellRect(v.firstRow, 1).left(), grid->CellRect(v.firstRow, 0).right() + 1);
        const QRect header = grid->CellRect(0, v.cols - 1), fixed = grid->CellRect(v.rows - 1, 0);
        grid->MoveTo(v.rows - 1, v.cols - 1);
        QCOMPARE(grid->CellRect(0, v.cols - 1).top(), header.top());
        QCOMPARE(grid->CellRect(v.rows - 1, 0).left(), fixed.left());
        QVERIFY(grid->viewport()->geometry().contains(grid->CellRect(v.rows - 1, v.cols - 1).bottomRight()));
        // Scrolled as far as it goes, the view is still full: the columns before the last show too.
        grid->horizontalScrollBar()->setValue(grid->horizontalScrollBar()->maximum());
        QVERIFY(grid->CellRect(v.rows - 1, v.cols - 2).left() > fixed.right());
        // Only the current cell is drawn in the highlight colours; the click lands even on a cell's first pixel.
        grid->MoveTo(v.firstRow, v.cols - 2);
        QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, grid->CellRect(v.firstRow, v.cols - 1).topLeft() - grid->viewport()->pos());
        const QImage shot = grid->viewport()->grab().toImage();
        const auto at = [&](int row, int col) { return shot.pixelColor(grid->CellRect(row, col).center() - grid->viewport()->pos() - QPoint(0, 4)); };
        QCOMPARE(at(v.firstRow, v.cols - 1), grid->palette().color(QPalette::Highlight));
        QVERIFY(at(v.firstRow, v.cols - 2) != at(v.firstRow, v.cols - 1) && at(v.firstRow + 1, v.cols - 1) != at(v.firstRow, v.cols - 1));
        // The current cell's text is drawn in the highlight's text colour (smoothed at its edges).
        const QRect current = grid->CellRect(v.firstRow, v.cols - 1).translated(-grid->viewport()->pos());
        const int textLightness = grid->palette().color(QPalette::HighlightedText).lightness();
        bool textShown = false;
        for (int x = current.left(); x <= current.right() && !textShown; ++x)
            for (int y = current.top(); y <= current.bottom() && !textShown; ++y)
                textShown = std::abs(shot.pixelColor(x, y).lightness() - textLightness) < 40;
        QVERIFY(textShown);
        // The first pixel past the fixed column is the first body column's; the fixed column is a
        // cell too; past the cells' area there is none.
        grid->MoveTo(v.firstRow, 1);
        int row = -1, col = -1;
        QVERIFY(grid->CellAt(grid->CellRect(v.firstRow, 1).topLeft(), row, col) && row == v.firstRow && col == 1);
        QVERIFY(grid->CellAt(grid->CellRect(v.firstRow, 0).center(), row, col) && row == v.firstRow && col == 0);
        QVERIFY(!grid->CellAt(grid->viewport()->geometry().bottomRight() + QPoint(1, 1), row, col));
        // Nor is the strip below the last row a cell, where half a row's room is left.
        grid->resize(grid->width(), grid->height() + grid->RowHeightPx() / 2);
        grid->MoveTo(v.rows - 1, 1);
        const QPoint below = grid->CellRect(v.rows - 1, 1).bottomLeft() + QPoint(0, 1);
        QVERIFY(grid->viewport()->geometry().contains(below));
        QVERIFY(!grid->CellAt(below, row, col));
        // A smaller grid keeps the current cell in view.
        grid->resize(grid->width(), grid->height() - 2 * grid->RowHeightPx());
        QVERIFY(grid->viewport()->geometry().contains(grid->CellRect(grid->model().Row(), grid->model().Col())));
        // A larger font makes taller rows: fewer of them fit, and the scroll bar reaches further.
        const int reach = grid->verticalScrollBar()->maximum();
        QFont larger = grid->font();
        larger.setPointSizeF(larger.pointSizeF() * 2);
        grid->setFont(larger);
        QVERIFY(grid->verticalScrollBar()->maximum() > reach);
    }

    // Every way of opening the editor over LANDSTAL's fMass, and every way of ending the edit.
    void editingGestures_data()
    {
        QTest::addColumn<Gesture>("g");
        QTest::newRow("digit replaces") << Gesture{"7", "7", 1, "", "enter", "7", 3};
        QTest::newRow("space keeps") << Gesture{"space", "1700.0", 6, "5", "enter", "1700.05", 3};
        QTest::newRow("backspace keeps") << Gesture{"backspace", "1700.0", 6, "", "enter", "1700.0", 3};
        QTest::newRow("escape on the grid keeps") << Gesture{"escape", "1700.0", 6, "", "enter", "1700.0", 3};
        QTest::newRow("enter on the grid keeps") << Gesture{"enter", "1700.0", 6, "", "enter", "1700.0", 3};
        QTest::newRow("double-click") << Gesture{"dclick", "1700.0", 6, "1", "enter", "1700.01", 3};
        QTest::newRow("long text: caret after 15")
            << Gesture{"long", "123456789012345678", 15, "", "enter", "123456789012345678", 3};
        QTest::newRow("escape cancels") << Gesture{"7", "7", 1, "", "escape", "1700.0", 3};
        QTest::newRow("down commits, then moves") << Gesture{"space", "1700.0", 6, "9", "down", "1700.09", 4};
        QTest::newRow("up on the first row stays") << Gesture{"7", "7", 1, "", "up", "7", 3};
        QTest::newRow("click elsewhere commits") << Gesture{"7", "7", 1, "", "click", "7", 5};
        QTest::newRow("another control commits") << Gesture{"7", "7", 1, "1", "focus", "71", 3};
    }
    void editingGestures()
    {
        QFETCH(Gesture, g);
        const bool longText = QByteArray(g.open) == "long";
        Desk desk;
        desk.Ready(FileKind::HandlingCfg, Game::Gta3, kSmallIde, longText ? QByteArray(kSmallCfg).replace("1700.0", "123456789012345678") : kSmallCfg);
        const std::string before = desk.LineOf(3);
        auto* txtGrid = desk.Find<QLineEdit>("txtGrid");
        const std::map<QByteArray, Qt::Key> keys = {{"space", Qt::Key_Space}, {"backspace", Qt::Key_Backspace},
                                                    {"escape", Qt::Key_Escape}, {"enter", Qt::Key_Return},
                                                    {"long", Qt::Key_Return}, {"down", Qt::Key_Down}, {"up", Qt::Key_Up}};
        if (QByteArray(g.open) == "dclick") {
            desk.ClickCell(3, 1);
            QTest::mouseDClick(desk.Grid()->viewport(), Qt::LeftButton, {}, desk.Cell(3, 1));
        } else if (keys.count(g.open)) {
            QTest::keyClick(desk.Grid(), keys.at(g.open));
        } else {
            QTest::keyClicks(desk.Grid(), g.open);
        }
        QVERIFY(txtGrid->isVisible());
        QCOMPARE(txtGrid->text(), g.editor);
        QCOMPARE(txtGrid->cursorPosition(), g.caret);
        QCOMPARE(QString::fromStdString(desk.CellText(3, 1)), longText ? g.editor : QString("1700.0"));
        const QRect over = desk.Grid()->CellRect(3, 1).translated(desk.Grid()->pos());
        QCOMPARE(txtGrid->geometry().topLeft(), over.topLeft());
        QCOMPARE(txtGrid->width(), over.width());

        QTest::keyClicks(txtGrid, g.typed);
        if (QByteArray(g.close) == "click")
            desk.ClickCell(5, 2);
        else if (QByteArray(g.close) == "focus")
            desk.Find("txtImport")->setFocus();
        else
            QTest::keyClick(txtGrid, keys.at(g.close));

        QVERIFY(!txtGrid->isVisible());
        QCOMPARE(QString::fromStdString(desk.CellText(3, 1)), g.cell);
        const bool cancelled = QByteArray(g.close) == "escape";
        QCOMPARE(desk.Modified(), !cancelled);
        if (cancelled)
            QCOMPARE(desk.LineOf(3), before);
        else
            QVERIFY(text::StartsWith(desk.LineOf(3), "LANDSTAL       " + g.cell.toStdString() + " 2.0 5.0 "));
        QCOMPARE(desk.Grid()->model().Row(), g.row);
        QCOMPARE(desk.Grid()->model().Col(), QByteArray(g.close) == "click" ? 2 : 1);
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
        QTest::newRow("cfg pasted with its line end") << FileKind::HandlingCfg << "1650.0\r\n" << "";
    }
    void valuesTheFileCannotHold()
    {
        QFETCH(FileKind, kind);
        QFETCH(QString, pasted);
        QFETCH(QString, refused);
        Desk desk;
        desk.Ready(kind);
        const int row = kind == FileKind::DefaultIde ? 1 : 3, col = kind == FileKind::DefaultIde ? 7 : 1;
        const std::string line = desk.LineOf(row);
        desk.Select(row, col);
        QTest::keyClick(desk.Grid(), Qt::Key_Space);
        auto* editor = desk.Find<QLineEdit>("txtGrid");
        editor->selectAll();
        QApplication::clipboard()->setText(pasted);
        QTest::keySequence(editor, QKeySequence::Paste);
        QTest::keyClick(editor, Qt::Key_Return);
        auto* status = desk.Find<QLabel>("lblStatus");
        QCOMPARE(editor->isVisible(), !refused.isEmpty());
        QCOMPARE(status->isVisible(), !refused.isEmpty());
        if (refused.isEmpty()) {
            QCOMPARE(desk.CellText(row, col), std::string("1650.0"));
            return;
        }
        QVERIFY2(status->text().startsWith(refused), qPrintable(status->text()));
        desk.Find("cmdSave")->setFocus();  // nor does leaving the editor commit it
        QVERIFY(editor->hasFocus() && !desk.Modified());
        QTest::keyClick(editor, Qt::Key_Escape);
        QVERIFY(!editor->isVisible() && !status->isVisible() && !desk.Modified());
        QCOMPARE(desk.LineOf(row), line);
    }

    // Section titles and the empty rows below the last vehicle have no line of their own: no key
    // or click opens the editor there. The headers and the fixed columns never become current.
    void editorRefusesRowsWithoutAVehicleLine_data()
    {
        QTest::addColumn<int>("row");
        QTest::newRow("section title") << 4;
        QTest::newRow("empty row below the last vehicle") << 7;
        QTest::newRow("last row of the grid") << 59;
    }
    void editorRefusesRowsWithoutAVehicleLine()
    {
        QFETCH(int, row);
        Desk desk;
        desk.Ready(FileKind::HandlingCfg);
        desk.Select(row, 2);
        QTest::keyClick(desk.Grid(), '7');
        QTest::mouseDClick(desk.Grid()->viewport(), Qt::LeftButton, {}, desk.Cell(row, 2));
        QTest::keyClick(desk.Grid(), Qt::Key_Return);
        QVERIFY(!desk.Find("txtGrid")->isVisible() && !desk.Modified());
        desk.ClickCell(row, 0);  // the identifier, a fixed column
        desk.ClickCell(1, 3);    // a header
        QCOMPARE(desk.Grid()->model().Row(), row);
        QCOMPARE(desk.Grid()->model().Col(), 2);
        QTest::keyClick(desk.Grid(), Qt::Key_Home, Qt::ControlModifier);
        QCOMPARE(desk.Grid()->model().Row(), 3);
        QCOMPARE(desk.Grid()->model().Col(), 1);
        QTest::keyClick(desk.Grid(), Qt::Key_Right);
        QCOMPARE(desk.Grid()->model().Col(), 2);
    }

    // Scrolling by a click on either scroll bar neither moves nor closes an open editor, and the
    // keys typed afterwards still go to it.
    void scrollingLeavesTheEditorOpen()
    {
        Desk desk;
        desk.Ready(FileKind::HandlingCfg);
        desk.Select(5, 2);
        QTest::keyClicks(desk.Grid(), "1");
        auto* editor = desk.Find<QLineEdit>("txtGrid");
        QTest::keyClicks(editor, "2");
        const QRect geometry = editor->geometry();
        QScrollBar* across = desk.Grid()->horizontalScrollBar();
        QScrollBar* down = desk.Grid()->verticalScrollBar();
        QTest::mouseClick(across, Qt::LeftButton, {}, QPoint(across->width() - 4, across->height() / 2));
        QTest::mouseClick(down, Qt::LeftButton, {}, QPoint(down->width() / 2, down->height() - 4));
        QVERIFY(across->value() > 0 && down->value() > 0);
        QVERIFY(editor->isVisible());
        QCOMPARE(editor->geometry(), geometry);
        QTest::keyClicks(editor, "34");
        QTest::keyClick(editor, Qt::Key_Return);
        QCOMPARE(desk.CellText(5, 2), std::string("1234"));
    }

    // A value that differs from the stock one is drawn bold: more ink than the same text where
    // the game ships no vehicle to compare with.
    void changedValuesAreBold()
    {
        Desk desk;
        desk.Ready(FileKind::HandlingCfg);
        desk.Edit(3, 1, "1800");  // LANDSTAL
        desk.Edit(5, 1, "1800");  // BIKE
        desk.Select(6, 3);
        const QImage shot = desk.Grid()->viewport()->grab().toImage();
        const auto ink = [&](int row) {
            const QRect cell = desk.Grid()->CellRect(row, 1).translated(-desk.Grid()->viewport()->pos());
            int dark = 0;
            for (int y = cell.top() + 1; y < cell.bottom(); ++y)
                for (int x = cell.left() + 1; x < cell.right(); ++x)
                    dark += shot.pixelColor(x, y).lightness() < 50;  // the strokes, not their smoothed edges
            return dark;
        };
        QVERIFY2(ink(3) * 4 > ink(5) * 5 && ink(5) > 0, qPrintable(QString("%1 %2").arg(ink(3)).arg(ink(5))));
    }

    // Every header names its column in full; a drag of a header's right edge resizes the column,
    // a double-click on it fits the column to its widest text; a new view starts from the standard widths.
    void headerHelpAndResizing()
    {
        Desk desk;
        desk.Ready(FileKind::HandlingCfg);
        ui::FlexGrid* grid = desk.Grid();
        QCOMPARE(grid->ToolTipFor(1, 1), QString("B: fMass [1.0 to 50000.0]"));
        QCOMPARE(grid->ToolTipFor(0, 26), QString("AA: suspension upper limit"));
        // The headers over the columns that scroll are drawn, not the grid's backdrop.
        const QImage shot = grid->viewport()->grab().toImage();
        const QRect header = grid->CellRect(0, 1).translated(-grid->viewport()->pos());
        QVERIFY(shot.pixel(header.topLeft() + QPoint(2, 2)) != grid->palette().color(QPalette::Mid).rgb());
        const QRect fixed = grid->CellRect(0, 0).translated(-grid->viewport()->pos());
        const QPoint edge(fixed.right() + 1, fixed.center().y());
        // A move with no button held, given to the viewport itself: QTest would move the system's
        // cursor instead, and the platform tells of that whenever it gets to it.
        const auto hover = [&](QPoint at) {
            QMouseEvent move(QEvent::MouseMove, at, grid->viewport()->mapToGlobal(at), Qt::NoButton, Qt::NoButton, {});
            QApplication::sendEvent(grid->viewport(), &move);
        };
        // Each header's right edge shows that it can be dragged, the fixed column's too.
        hover(QPoint(header.right() + 1, edge.y()));
        QCOMPARE(grid->viewport()->cursor().shape(), Qt::SplitHCursor);
        QTest::mousePress(grid->viewport(), Qt::LeftButton, {}, edge);
        QTest::mouseMove(grid->viewport(), edge + QPoint(40, 0));
        QTest::mouseRelease(grid->viewport(), Qt::LeftButton, {}, edge + QPoint(40, 0));
        hover(edge + QPoint(80, 0));  // the drag ended with the button
        QCOMPARE(grid->viewport()->cursor().shape(), Qt::ArrowCursor);
        QCOMPARE(grid->ColWidthPx(0), fixed.width() + 40);
        QCOMPARE(grid->model().Row(), 3);  // the drag moved no cell
        // A double-click on a header, away from its edge, edits nothing.
        QTest::mouseDClick(grid->viewport(), Qt::LeftButton, {}, grid->CellRect(0, 1).center() - grid->viewport()->pos());
        QVERIFY(!desk.Find("txtGrid")->isVisible());
        // A fitted column holds its changed values, which are drawn bold.
        desk.Edit(3, 1, "12345678901234567890");
        QTest::mouseDClick(grid->viewport(), Qt::LeftButton, {}, QPoint(grid->CellRect(0, 1).right() + 1 - grid->viewport()->x(), edge.y()));
        QFont bold = grid->font();
        bold.setBold(true);
        const int changed = QFontMetrics(bold).horizontalAdvance("12345678901234567890");
        QVERIFY(grid->ColWidthPx(1) > changed && grid->ColWidthPx(1) < changed + 12);
        QTest::mouseDClick(grid->viewport(), Qt::LeftButton, {}, QPoint(grid->CellRect(0, 2).right() + 1 - grid->viewport()->x(), edge.y()));
        const int widest = grid->fontMetrics().horizontalAdvance("[0.0 > x > 20.0]");
        QVERIFY(grid->ColWidthPx(2) > widest && grid->ColWidthPx(2) < widest + 12);
        desk.messages.answers.push_back(MsgAnswer::No);
        desk.Open(FileKind::DefaultIde);
        QCOMPARE(grid->ToolTipFor(0, 2), QString("TXD name"));  // a header of one line is its own tip
        desk.Open(FileKind::HandlingCfg);
        QCOMPARE(grid->ColWidthPx(0), fixed.width());
        QCOMPARE(desk.Grid()->ToolTipFor(0, 1), QString("B: fMass [1.0 to 50000.0]"));
    }
};

QTEST_MAIN(TestGridEditing)
#include "test_gridediting.moc"
