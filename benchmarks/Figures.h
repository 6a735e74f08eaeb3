#pragma once

#include <filesystem>
#include <string>

#include "Catalogue.h"
#include "Files.h"
#include "Measure.h"

// Each function measures one figure and its floor in turns and adds the figure to the table.
namespace revlane::bench {

class BenchWindow;

std::string FigureName(const std::string& what, const BenchInstall& install, FileKind kind);

// Document::Open against reading the same file with std::ifstream and std::getline.
void ModelOpenFigure(Table& table, const BenchInstall& install, FileKind kind, const CaptionTable& captions,
                     double limit, Rounds rounds);

// A click on the file's option until the whole window has painted once, against the model's
// open of the same file plus one paint of the whole window; where `getlineFloor`, against what
// any program pays for the file's lines (std::getline) plus that paint.
void WindowOpenFigure(Table& table, BenchWindow& window, const BenchInstall& install, FileKind kind,
                      const CaptionTable& captions, double limit, bool getlineFloor, Rounds rounds);

// Ctrl+End to the last vehicle of the window's handling.cfg, a value typed into it and Enter, and
// a paint of the whole window, against that paint alone.
void EditFigure(Table& table, BenchWindow& window, const BenchInstall& install, double limit, Rounds rounds);

// A click on Save against writing the same bytes to a temporary file, fsync and rename.
void SaveFigure(Table& table, BenchWindow& window, const BenchInstall& install, FileKind kind, double limit,
                Rounds rounds);

// The peak memory of the program with the large file open, edited and saved, beyond the same program
// started empty, against the file's size. Both are measured in child processes.
void PeakMemoryFigure(Table& table, const BenchInstall& install, const std::filesystem::path& work,
                      const std::filesystem::path& self, double limit);
// The child's side: starts the window on the installation, opens its handling.cfg, edits its
// last vehicle and saves it unless `empty`, and prints its peak memory.
int PeakMemoryChild(const std::filesystem::path& folder, const std::filesystem::path& work, bool empty);

// Start-up to the first painted frame, and peak memory, of revlane against the bare program,
// each started with an empty settings folder, on one Qt platform ("offscreen" or "xcb").
void StartupFigures(Table& table, const std::filesystem::path& revlane, const std::filesystem::path& bare,
                    const std::filesystem::path& work, const std::string& platform, double timeLimit,
                    double memoryLimit, Rounds rounds);

}  // namespace revlane::bench
