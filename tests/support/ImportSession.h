#pragma once

// A file opened in a document with the express import and the restore working on it, and the
// games' stock lines they compare with.

#include <string>

#include "ExpressImport.h"
#include "ModelFakes.h"
#include "Restore.h"
#include "StockLines.h"

namespace revlane::test {

inline const DefaultLines& Stock()
{
    static DefaultLines stock;
    if (stock.Entry(1).empty())
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

// A file opened in a document, with the express import and the restore working on it; what
// they work out is put in as the window puts it in.
struct Session : OpenedFile {
    ExpressImport import{doc, {messages, errors}};
    RestoreDefaults restore{doc, import, Stock(), {messages, errors}};

    Session(FileKind kind, const QByteArray& content, Game game = Game::Gta3) : OpenedFile(kind, content, game)
    {
        messages.shown.clear();
    }
    void Type(const std::string& text) { import.TextChanged(text); }
    bool Put(const std::optional<ExpressImport::Replacement>& replacement)
    {
        return replacement && doc.ReplaceLine(replacement->row, replacement->line, replacement->view).has_value();
    }
    bool Apply() { return Put(import.Apply()); }
    RestoreDefaults::Result Restore(const std::string& name)
    {
        const RestoreDefaults::Outcome outcome = restore.Restore(name);
        if (outcome.result == RestoreDefaults::Result::Restored)
            Put(outcome.replacement);
        return outcome.result;
    }
};

}  // namespace revlane::test
