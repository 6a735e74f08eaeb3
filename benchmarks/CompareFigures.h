#pragma once

#include <filesystem>
#include <string>

#include "Files.h"
#include "Measure.h"

namespace revlane::bench {

struct GridShape;

// The comparison of the installation's large handling.cfg with a copy of it in which every tenth
// value differs, and Take their values for a whole value column of it; every sample a fresh
// process, Revlane's window and its floors in turns.
void CompareFigures(Table& table, const BenchInstall& install, const std::filesystem::path& work,
                    const std::filesystem::path& self, const GridShape& shape, int rounds);
// The child's side: "revlane" compares in the window and takes the column, "open" opens both
// files into the model, "peer" takes the column in the peer; each prints its times, and with
// `check` the fingerprint of the lines taken.
int CompareChild(const std::string& side, const std::filesystem::path& folder, const std::filesystem::path& copy,
                 const std::filesystem::path& work, const std::string& shape, bool check);

}  // namespace revlane::bench
