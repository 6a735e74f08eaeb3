#pragma once

#include <QObject>
#include <QString>

#include <functional>
#include <optional>

#include "Document.h"
#include "GameCheck.h"
#include "Ports.h"

class QLabel;
class QWidget;

namespace revlane::ui {

class GridView;

// The window's side of the check for the game: the count and the whole file's findings in the line
// above the grid while it has nothing else to say, F8 and Shift+F8 to the next finding and the one
// before, the question before a save that would give the game a handling.cfg it reads past its
// limits, and the check's slices through a large file between what the user does.
class GameCheckView : public QObject, private DocumentListener {
    Q_OBJECT
public:
    struct Parts {
        Document& document;
        GameCheck& check;
        GridView* grid;
        // The line's own help, which the findings take the place of.
        QLabel* line;
        MessagePort& messages;
        // Ends an edit in the grid; false where its value was refused.
        std::function<bool()> commit;
    };
    // A file of up to so many lines, ten times the games' own, is checked whole with its open; a
    // larger one from the first slice on, so that its open waits for no pass over all its lines.
    static constexpr int kOpenLines = 4'096;
    static bool CheckedWithOpen(size_t lines) { return lines <= static_cast<size_t>(kOpenLines); }

    // Listens to the document after the grid's table model; F8 and Shift+F8 work in `window`.
    GameCheckView(Parts parts, QWidget* window);

    // Before a save: whether it may go on, asked where the game would read the file past its limits.
    bool MaySave();
    // After a save, whose header changed the file's first lines.
    void Saved();
    // Checks the lines changed since, and shows what the check finds now; a large change goes on a
    // slice at a time, as the rest of a large file does.
    void Refresh();
    // Makes the next finding's cell current (the one before, going back), round the end.
    void Go(bool forward);

signals:
    // What the line above the grid says of the finding gone to.
    void told(const QString& text);
    // What a change did to the whole file, for the game: the sentences it added, for the line
    // above the grid to tell beside what it says of the change.
    void fileChanged(const QString& text);

private:
    void DocumentReset() override;
    void RowsChanged(int first, int last) override;
    // Checks the lines changed since, and more of a large file, for a short while.
    void Slice();
    // Queues the next slice of a file not checked to its end.
    void Continue();
    void Show();
    // The sentences of the whole file's findings that are new since it was last asked.
    QString NewFileFindings();

    Parts parts_;
    QString help_;
    QString shown_;
    std::vector<GameRule> fileRules_;  // the whole file's findings
    bool stepQueued_ = false;
    bool refreshQueued_ = false;
    // Where F8 went last: a finding of a whole line is at its key, which never becomes current.
    std::optional<GameCheck::Place> went_;
};

}  // namespace revlane::ui
