#pragma once

#include <filesystem>
#include <memory>

#include "Document.h"
#include "Files.h"
#include "Views.h"

class QAbstractItemView;
class QAction;
class QPushButton;
class QString;
class QRadioButton;
class QWidget;

namespace revlane::platform {
class Settings;
}
namespace revlane::ui {
class GridView;
class MainWindow;
class NumberPort;
}

namespace revlane::bench {

// Runs the event loop until it is idle: nothing posted, nothing due, nothing left to delete. Where
// a user's wait after a gesture ends, and where every clock of a window stops, value and floor alike.
void UntilIdle();
// Marks every widget of a window for painting and paints it whole at once; the time it took, in ms.
double PaintWhole(QWidget* window);
// Ctrl+End in a grid, to its last row, and a value typed into the cell there: its first
// character opens the cell's editor, Enter ends the edit.
void EditLast(QWidget* grid, const QString& value);
// Selects every row of a grid's column, its first cell current, as a drag down the column does.
void SelectColumn(QAbstractItemView* grid, int col);
// The line box that has the keyboard, a cell's editor; an error where none has.
QWidget* FocusedEditor();

// The real main window on an installation, started as a user starts it on remembered settings
// (kept in the work folder, never the user's own), with a user who answers every question with
// OK or Yes, and with 1.1 to a question for a number. Its file layer is the program's own.
class BenchWindow {
public:
    BenchWindow(const BenchInstall& install, const std::filesystem::path& work);
    ~BenchWindow();

    // The file the window has open.
    const Document& File() const;
    QRadioButton* Option(FileKind kind) const;
    QPushButton* SaveButton() const;
    QWidget* Window() const;
    ui::GridView* Grid() const;
    // One of the grid's menu commands, by its name.
    QAction* Action(const char* name) const;
    // A control the window made, by its name; an error where it has none.
    QWidget* Control(const char* name) const;
    // Clicks the option of a file kind, as the user does to open that file.
    void Click(FileKind kind) const;
    // Checks the rest of the open file for the game at once, as F8 does, and goes back to its first
    // cell: a large file's check otherwise runs in slices for its first seconds, and a slice that
    // falls in a gesture's time is none of the gesture's cost (the check has figures of its own).
    void FinishCheck() const;

private:
    QuietMessages messages_;
    LoudErrors errors_;
    FixedClock clock_;
    std::unique_ptr<ui::NumberPort> numbers_;
    std::unique_ptr<platform::Settings> settings_;
    std::unique_ptr<ui::MainWindow> window_;
};

// The grid's shape in the window, for the peer to show as many cells.
struct GridShape;
GridShape ShapeOf(const BenchWindow& window);

}  // namespace revlane::bench
