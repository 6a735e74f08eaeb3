#pragma once

#include <filesystem>
#include <string>

#include "Files.h"
#include "Measure.h"

// The check for the game on a large handling.cfg: the whole file checked after its open, against
// the model's open of the same file, each sample a fresh process; and the check after one edit in
// the window, its update and a paint of the grid, against the paint alone.
namespace revlane::bench {

void GameCheckFigures(Table& table, const BenchInstall& install, const std::filesystem::path& work,
                      const std::filesystem::path& self, int rounds);
// The child's side: "open" times the model's open of the installation's handling.cfg, "check" the
// check of the whole file after it, "edit" the samples after one edit in the window.
int GameCheckChild(const std::string& side, const std::filesystem::path& folder, const std::filesystem::path& work);

}  // namespace revlane::bench
