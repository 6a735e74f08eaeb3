#pragma once

#include <filesystem>
#include <map>
#include <string>
#include <vector>

#include "Files.h"
#include "Measure.h"

// Each function measures one figure and its floor in turns and adds the figure to the table. A
// floor is the least any program pays for the same work, measured in the same run under the same
// conditions: the same allocator and kind of process, a window's clock stopped when its event
// loop is idle. Where Qt sets the cost, the peer (Peer.h) is that program.
namespace revlane::bench {

class BenchWindow;
class PeerWindow;
struct GridShape;

std::string FigureName(const std::string& what, const BenchInstall& install, FileKind kind);

// A first open, into a new document, against reading the file into new strings and finding its
// rows, in this process: for the stock files, whose few pages the heap keeps either way.
void ModelOpenFigure(Table& table, const BenchInstall& install, FileKind kind, double limit, Rounds rounds);
// The same for a large handling.cfg, each sample in a fresh process: both sides pay for the
// pages their lines take, as a user's first open does.
void ModelOpenChildFigure(Table& table, const BenchInstall& install, const std::filesystem::path& work,
                          const std::filesystem::path& self, double limit, int rounds);
// The child's side: opens the installation's handling.cfg once, in Revlane's model ("revlane")
// or the floor's way, and prints the time it took.
int OpenChild(const std::string& side, const std::filesystem::path& folder);

// A reload, the file read again into the same document, against reading it again into the
// strings the floor read it into before: both keep their pages.
void ModelReloadFigure(Table& table, const BenchInstall& install, FileKind kind, double limit, Rounds rounds);

// A click on the file's option, with the other file open, until the event loop is idle, against
// the peer opening the same file with the other open. Each is judged by its cost beyond a paint
// of its whole window: Revlane's may be at most the peer's.
void WindowOpenFigure(Table& table, BenchWindow& window, PeerWindow& peer, const BenchInstall& install, FileKind kind,
                      Rounds rounds);

// The first save, which keeps the backup, and a later one: a click on Save until the event loop
// is idle, against writing the same bytes as any save must.
void SaveFigures(Table& table, BenchWindow& window, const BenchInstall& install, FileKind kind, double limit,
                 Rounds rounds);

// The peak memory of the program with the large file open, edited and saved, beyond the same program
// started empty, against the file's size. Both are measured in child processes.
void PeakMemoryFigure(Table& table, const BenchInstall& install, const std::filesystem::path& work,
                      const std::filesystem::path& self, double limit);
// The child's side: starts the window on the installation, opens its handling.cfg, edits its
// last vehicle and saves it unless `empty`, and prints its peak memory.
int PeakMemoryChild(const std::filesystem::path& folder, const std::filesystem::path& work, bool empty);

// A session with the installation's large handling.cfg, Revlane's window against the peer, each
// sample a fresh process: the window open, Multiply by 1.1, Ctrl+Enter fill, its Ctrl+Z and Ctrl+Y,
// Ctrl+C of a whole value column, a paste after the undone fill against the same paste on a
// fresh history, a find of a name that is not there, the last vehicle edited, and the peak memory
// of the whole-column changes.
void GestureFigures(Table& table, const BenchInstall& install, const std::filesystem::path& work,
                    const std::filesystem::path& self, bool judged, const GridShape& shape, int rounds);
// The child's side: one sequence ("multiply", "fill" or "plain") in Revlane's window ("revlane")
// or the peer, printing each gesture's time; with `check`, fingerprints of the lines it made too.
int GestureChild(const std::string& side, const std::string& sequence, const std::filesystem::path& folder,
                 const std::filesystem::path& work, const std::string& shape, bool check);

// Starts the bench itself as a child with offscreen windows, and gives what it printed, by name.
// A child that fails fails the run, with what it said.
std::map<std::string, std::string> RunChild(const std::vector<std::string>& args, const std::filesystem::path& work);

// Start-up to the first painted frame, and peak memory, of revlane against the bare program,
// each started with an empty settings folder, on one Qt platform ("offscreen" or "xcb").
void StartupFigures(Table& table, const std::filesystem::path& revlane, const std::filesystem::path& bare,
                    const std::filesystem::path& work, const std::string& platform, double timeLimit,
                    double memoryLimit, Rounds rounds);

}  // namespace revlane::bench
