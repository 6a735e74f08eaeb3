#pragma once

#include <filesystem>
#include <memory>

#include "Document.h"
#include "Files.h"
#include "Views.h"

class QPushButton;
class QString;
class QRadioButton;

namespace revlane::platform {
class Settings;
}
namespace revlane::ui {
class MainWindow;
}

namespace revlane::bench {

// The real main window on an installation, started as a user starts it on remembered settings
// (kept in the work folder, never the user's own), with a user who answers every question with
// OK or Yes. Its file layer is the program's own.
class BenchWindow {
public:
    BenchWindow(const BenchInstall& install, const std::filesystem::path& work);
    ~BenchWindow();

    // The file the window has open.
    const Document& File() const;
    QRadioButton* Option(FileKind kind) const;
    QPushButton* SaveButton() const;
    // Clicks the option of a file kind, as the user does to open that file.
    void Click(FileKind kind) const;
    // Marks every widget of the window for painting, so that the next paint paints it whole:
    // a paint of the window alone leaves out the widgets that are not marked (the grid's cells).
    void MarkAllForPainting() const;
    // Paints the window at once, into what the window system shows.
    void PaintWhole() const;
    // Makes the grid's first, or last, vehicle current with the keys a user presses (Ctrl+Home,
    // Ctrl+End), scrolling the grid there.
    void GoToEnd(bool last) const;
    // Types a value into the current cell, as a user does: a key opens the editor, Enter commits.
    void TypeValue(const QString& value) const;
    // Handles whatever is pending, so that the next measurement starts from quiet.
    static void Settle();

private:
    QuietMessages messages_;
    LoudErrors errors_;
    FixedClock clock_;
    std::unique_ptr<platform::Settings> settings_;
    std::unique_ptr<ui::MainWindow> window_;
};

}  // namespace revlane::bench
