#pragma once

#include <fstream>
#include <string>
#include <vector>

#include "Catalogue.h"
#include "DiskFileSystem.h"
#include "Document.h"
#include "Files.h"
#include "Installation.h"

// The model alone, as the window's file commands drive it, and the floor it is measured against.
namespace revlane::bench {

struct Model {
    Installation install;
    QuietMessages messages;
    LoudErrors errors;
    FixedClock clock;
    Document file;
    Game game;

    explicit Model(const BenchInstall& where)
        : file(install, Document::Ports{messages, errors, clock, platform::Disk()}), game(where.game)
    {
        install.ViceMode = game == Game::ViceCity;
        (install.ViceMode ? install.VicePath : install.Gta3Path) = where.folder;
        install.SetUpFiles();
    }
    void Open(FileKind kind, const CaptionTable&) { file.Open(kind, game); }
};

// What any program pays to have a file's lines: the standard library's stream and getline.
inline std::vector<std::string> GetlineLines(const std::filesystem::path& path)
{
    std::ifstream in(path, std::ios::binary);
    std::vector<std::string> lines;
    std::string line;
    while (std::getline(in, line))
        lines.push_back(line);
    return lines;
}

}  // namespace revlane::bench
