#pragma once

#include "DiskFileSystem.h"
#include "Document.h"
#include "Files.h"
#include "Installation.h"

// The model alone, as the window's file commands drive it.
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
    void Open(FileKind kind) { file.Open(kind, game); }
};

}  // namespace revlane::bench
