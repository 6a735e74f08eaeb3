#pragma once

// A file opened in a harness with the express import and the restore working on it, and the
// games' stock lines they compare with.

#include <memory>
#include <string>
#include <vector>

#include "ExpressImport.h"
#include "ModelFakes.h"
#include "Restore.h"
#include "StockLines.h"

namespace revlane::test {

inline const DefaultLines& Stock()
{
    static DefaultLines stock;
    if (!stock.Loaded())
        stock.Load();
    return stock;
}

// A GTA III file of its first two stock vehicles and the vehicle lines given.
inline QByteArray StockContent(FileKind kind, const QStringList& more = {})
{
    const bool ide = kind == FileKind::DefaultIde;
    QStringList lines{ide ? "cars" : ";"};
    for (const int key : {ide ? 1 : 70, ide ? 2 : 71})
        lines << QString::fromStdString(Stock().Entry(key));
    lines << more << (ide ? "end" : "; A");
    return (lines.join("\r\n") + "\r\n").toLatin1();
}

// A file opened in a harness, with the express import and the restore working on it.
struct Session : OpenedFile {
    Game game;
    ExpressImport import{grid, file, {messages, errors}};
    RestoreDefaults restore{grid, file, import, Stock(), {messages, errors}};

    Session(FileKind kind, const QByteArray& content, Game g = Game::Gta3) : OpenedFile(kind, content, g), game(g)
    {
        messages.shown.clear();
    }
    void Type(const std::string& text) { import.TextChanged(text, game); }
    RestoreDefaults::Result Restore(const std::string& name) { return restore.Restore(name, game); }
    std::vector<std::vector<std::string>> Cells() const { return GridCells(grid); }
    // Edits one cell the way the in-place editor does.
    void Edit(int row, int col, const std::string& text) { file.SetCell(row, col, text); }
};

}  // namespace revlane::test
