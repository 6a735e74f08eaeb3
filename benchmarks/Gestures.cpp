#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QLabel>
#include <QLineEdit>
#include <QTableView>
#include <QTest>

#include <cstdio>
#include <functional>
#include <stdexcept>

#include "FirstFrame.h"
#include "Figures.h"
#include "GridView.h"
#include "Peer.h"
#include "QtPorts.h"
#include "Window.h"

// A child process of the bench: a user's session with a large handling.cfg, in Revlane's window
// or in the peer, from a fresh process as a user meets it: the file opened, then one sequence of
// gestures over a whole value column. Each gesture is timed from its key or command until the
// event loop is idle; what it prints ("name value" lines) the bench reads.
namespace revlane::bench {

namespace fs = std::filesystem;

namespace {

constexpr int kColumn = 1;  // the vehicle's mass: a number in every vehicle's line
const QString kFill = QStringLiteral("1500.0");
const QString kLastValue = QStringLiteral("1000.0");
const QString kMissingName = QStringLiteral("NOSUCHCAR");

void Put(const char* name, double value)
{
    std::printf("%s %.6f\n", name, value);
}

void PutMark(const char* name, size_t value)
{
    std::printf("%s %zu\n", name, value);
}

double Timed(const std::function<void()>& gesture)
{
    const auto start = Clock::now();
    gesture();
    UntilIdle();
    return MillisecondsSince(start);
}

double PeakMiB()
{
    return static_cast<double>(ui::QuitAfterFirstFrame::PeakKiB()) / 1024.0;
}

size_t ClipboardMark()
{
    const std::string text = QGuiApplication::clipboard()->text().toLatin1().toStdString();
    return std::hash<std::string>{}(text);
}

void Keys(QWidget* widget, const char* keys)
{
    QTest::keySequence(widget, QKeySequence(QString::fromLatin1(keys)));
}

// Types a value into the current cell of a grid, and leaves the editor open on it.
QWidget* TypeIntoCell(QWidget* grid, const QString& value)
{
    QTest::keyClicks(grid, value.left(1));
    QWidget* editor = FocusedEditor();
    QTest::keyClicks(editor, value.mid(1));
    UntilIdle();
    if (static_cast<QLineEdit*>(editor)->text() != value)
        throw std::runtime_error("the cell's editor holds " + static_cast<QLineEdit*>(editor)->text().toStdString());
    return editor;
}

// 1,000 rows of 30 values, as a spreadsheet puts them on the clipboard: those of the rows below
// the ones they go into, so that every vehicle's line changes.
QString PasteText(const Document& file)
{
    QString text;
    for (int row = 1; row <= 1000; ++row) {
        for (int col = 1; col <= 30; ++col) {
            if (col > 1)
                text += '\t';
            text += ui::FromBytes(file.Cell(row, col));
        }
        text += '\n';
    }
    return text;
}

void RevlaneSide(const std::string& sequence, const BenchInstall& install, const fs::path& work, bool check)
{
    // Never given back: the child ends without it (see Child in main.cpp).
    BenchWindow& window = *new BenchWindow(install, work);
    QWidget* grid = window.Grid();
    Put("open", Timed([&] { window.Click(FileKind::HandlingCfg); }));
    Put("open-paint", PaintWhole(window.Window()));
    if (!window.File().IsOpen())
        throw std::runtime_error("the window did not open " + install.File(FileKind::HandlingCfg).string());
    const auto lines = [&] { return floor::Fingerprint(window.File().Lines()); };
    if (check)
        PutMark("lines-read", lines());
    window.FinishCheck();
    if (sequence == "multiply") {
        SelectColumn(window.Grid(), kColumn);
        UntilIdle();
        Put("multiply", Timed([&] { window.Action("mnuMultiplyValues")->trigger(); }));
        Put("multiply-peak", PeakMiB());
        if (check)
            PutMark("lines-multiplied", lines());
    } else if (sequence == "fill") {
        const QString paste = PasteText(window.File());
        SelectColumn(window.Grid(), kColumn);
        QWidget* editor = TypeIntoCell(grid, kFill);
        Put("fill", Timed([&] { QTest::keyClick(editor, Qt::Key_Return, Qt::ControlModifier); }));
        Put("fill-peak", PeakMiB());
        if (check)
            PutMark("lines-filled", lines());
        Put("undo", Timed([&] { Keys(grid, "Ctrl+Z"); }));
        if (check)
            PutMark("lines-undone", lines());
        Put("redo", Timed([&] { Keys(grid, "Ctrl+Y"); }));
        if (check)
            PutMark("lines-redone", lines());
        // Undone again, it stays on the history to be made again, until the paste.
        Keys(grid, "Ctrl+Z");
        QGuiApplication::clipboard()->setText(paste);
        window.Grid()->MoveTo(0, kColumn);
        UntilIdle();
        Put("paste", Timed([&] { Keys(grid, "Ctrl+V"); }));
        if (check)
            PutMark("lines-pasted", lines());
    } else {
        const QString paste = PasteText(window.File());
        grid->setFocus();
        Keys(grid, "Ctrl+F");
        QWidget* box = window.Control("txtFind");
        QTest::keyClicks(box, kMissingName);
        UntilIdle();
        Put("find", Timed([&] { QTest::keyClick(box, Qt::Key_Return); }));
        if (static_cast<QLabel*>(window.Control("lblFind"))->text() != QStringLiteral("Not found:"))
            throw std::runtime_error("the find box found a name that is not there");
        QTest::keyClick(box, Qt::Key_Escape);
        SelectColumn(window.Grid(), kColumn);
        UntilIdle();
        Put("copy", Timed([&] { Keys(grid, "Ctrl+C"); }));
        if (check)
            PutMark("copied", ClipboardMark());
        QGuiApplication::clipboard()->setText(paste);
        window.Grid()->MoveTo(0, kColumn);
        UntilIdle();
        Put("paste", Timed([&] { Keys(grid, "Ctrl+V"); }));
        if (check)
            PutMark("lines-pasted", lines());
        Put("edit", Timed([&] { EditLast(grid, kLastValue); }));
        Put("edit-paint", PaintWhole(window.Grid()));
    }
}

void PeerSide(const std::string& sequence, const BenchInstall& install, const GridShape& shape, bool check)
{
    PeerWindow& peer = *new PeerWindow(FileKind::HandlingCfg, Game::ViceCity, shape);
    peer.show();
    peer.activateWindow();
    UntilIdle();
    QTableView* grid = peer.View();
    Put("open", Timed([&] { peer.Open(install.File(FileKind::HandlingCfg), FileKind::HandlingCfg); }));
    Put("open-paint", PaintWhole(&peer));
    const auto lines = [&] { return floor::Fingerprint(peer.Model().Lines().text); };
    if (check)
        PutMark("lines-read", lines());
    if (sequence == "multiply") {
        SelectColumn(grid, kColumn);
        UntilIdle();
        Put("multiply", Timed([&] { peer.MultiplyAction()->trigger(); }));
        Put("multiply-peak", PeakMiB());
        if (check)
            PutMark("lines-multiplied", lines());
    } else if (sequence == "fill") {
        SelectColumn(grid, kColumn);
        QWidget* editor = TypeIntoCell(grid, kFill);
        Put("fill", Timed([&] { QTest::keyClick(editor, Qt::Key_Return, Qt::ControlModifier); }));
        Put("fill-peak", PeakMiB());
        if (check)
            PutMark("lines-filled", lines());
        Put("undo", Timed([&] { Keys(grid, "Ctrl+Z"); }));
        if (check)
            PutMark("lines-undone", lines());
        Put("redo", Timed([&] { Keys(grid, "Ctrl+Y"); }));
        if (check)
            PutMark("lines-redone", lines());
    } else {
        Keys(grid, "Ctrl+F");
        QTest::keyClicks(peer.FindBox(), kMissingName);
        UntilIdle();
        Put("find", Timed([&] { QTest::keyClick(peer.FindBox(), Qt::Key_Return); }));
        SelectColumn(grid, kColumn);
        UntilIdle();
        Put("copy", Timed([&] { Keys(grid, "Ctrl+C"); }));
        if (check)
            PutMark("copied", ClipboardMark());
        Put("edit", Timed([&] { EditLast(grid, kLastValue); }));
        Put("edit-paint", PaintWhole(grid));
    }
}

}  // namespace

int GestureChild(const std::string& side, const std::string& sequence, const fs::path& folder, const fs::path& work,
                 const std::string& shape, bool check)
{
    const BenchInstall install{"", Game::ViceCity, folder, folder / "gta-vc.exe"};
    if (side == "revlane") {
        RevlaneSide(sequence, install, work, check);
    } else {
        PeerSide(sequence, install, GridShape::FromText(shape), check);
    }
    return LoudErrors::Count() == 0 ? 0 : 1;
}

}  // namespace revlane::bench
