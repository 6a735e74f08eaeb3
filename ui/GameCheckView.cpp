#include "GameCheckView.h"

#include <QElapsedTimer>
#include <QGuiApplication>
#include <QKeySequence>
#include <QLabel>
#include <QShortcut>
#include <QTimer>

#include <algorithm>

#include "GridView.h"
#include "Pictures.h"
#include "QtPorts.h"

namespace revlane::ui {

namespace {

// The rest of a large file, a slice at a time while the window waits for the user: short enough
// that a key pressed meanwhile is answered at once, far enough apart to take little of the
// processor while the user works.
constexpr int kSliceLines = 4096;
constexpr qint64 kSliceMs = 8;
constexpr int kSliceEveryMs = 250;

}  // namespace

GameCheckView::GameCheckView(Parts parts, QWidget* window) : QObject(window), parts_(std::move(parts))
{
    help_ = parts_.line->text();
    parts_.document.Listen(*this);
    new QShortcut(QKeySequence(Qt::Key_F8), window, [this] { Go(true); });
    new QShortcut(QKeySequence(Qt::SHIFT | Qt::Key_F8), window, [this] { Go(false); });
    Show();
}

void GameCheckView::DocumentReset()
{
    went_.reset();
    // A file of a usual size is checked before it is first painted.
    if (CheckedWithOpen(parts_.document.Lines().size()))
        parts_.check.Advance(kOpenLines);
    NewFileFindings();
    Show();
    Continue();
}

void GameCheckView::RowsChanged(int, int)
{
    went_.reset();
    // Many changes of one gesture are checked together, once the gesture is done.
    if (!refreshQueued_) {
        refreshQueued_ = true;
        QTimer::singleShot(0, this, [this] {
            refreshQueued_ = false;
            Refresh();
        });
    }
}

void GameCheckView::Refresh()
{
    // The few lines an edit changed are checked at once. The many of a gesture over a whole
    // column wait for the slices, as the rest of a large file does: no gesture waits for them.
    if (parts_.check.ToCheckAgain() <= static_cast<size_t>(kSliceLines))
        parts_.check.Update(kSliceLines);
    Show();
    // What the change did to the whole file is told with the change, not only once it is past.
    if (const QString added = NewFileFindings(); !added.isEmpty())
        emit fileChanged(added);
    Continue();
}

void GameCheckView::Slice()
{
    QElapsedTimer clock;
    clock.start();
    while (!parts_.check.Advance(kSliceLines) && clock.elapsed() < kSliceMs) {
    }
}

void GameCheckView::Continue()
{
    if (parts_.check.Complete() || stepQueued_)
        return;
    stepQueued_ = true;
    QTimer::singleShot(kSliceEveryMs, this, [this] {
        stepQueued_ = false;
        Slice();
        // What the slices find of the whole file was there before: no change of the user's made it.
        NewFileFindings();
        Show();
        Continue();
    });
}

void GameCheckView::Show()
{
    const QString summary = FromBytes(parts_.check.Summary());
    if (summary == shown_)
        return;
    shown_ = summary;
    QPalette colours = parts_.line->palette();
    colours.setColor(QPalette::WindowText, summary.isEmpty() ? parts_.line->parentWidget()->palette().color(QPalette::WindowText)
                                                             : WarningColour());
    parts_.line->setPalette(colours);
    parts_.line->setText(summary.isEmpty() ? help_ : summary);
    // The whole of it, where the line is too short for it.
    parts_.line->setToolTip(summary);
}

bool GameCheckView::MaySave()
{
    const std::string question = parts_.check.SaveQuestion(parts_.document.SaveGrowth(parts_.document.HeaderLine()));
    return question.empty() || parts_.messages.ShowMessage(question, MsgButtons::YesNo, MsgIcon::Exclamation) == MsgAnswer::Yes;
}

void GameCheckView::Saved()
{
    parts_.check.Saved();
    // A header put in above the file's lines moved them all: the check begins anew, as after a
    // read. Otherwise the two lines it took are checked again, and a large file's rest waits for
    // its slices: a save waits for no more than it wrote.
    if (!parts_.check.Started() && CheckedWithOpen(parts_.document.Lines().size()))
        parts_.check.Advance(kOpenLines);
    Show();
    Continue();
    // The header may take the file past a limit.
    if (const QString added = NewFileFindings(); !added.isEmpty())
        emit told(added);
}

QString GameCheckView::NewFileFindings()
{
    QStringList added;
    std::vector<GameRule> rules;
    for (const Finding& finding : parts_.check.FileFindings()) {
        if (std::find(fileRules_.begin(), fileRules_.end(), finding.rule) == fileRules_.end())
            added << FromBytes(finding.says);
        rules.push_back(finding.rule);
    }
    fileRules_ = rules;
    return added.join(QLatin1Char(' '));
}

void GameCheckView::Go(bool forward)
{
    if (!parts_.document.IsOpen() || !parts_.commit())
        return;
    // Where a large file is not checked to its end yet, the rest is checked now: the next finding
    // may lie anywhere in it.
    if (!parts_.check.Complete()) {
        QGuiApplication::setOverrideCursor(Qt::WaitCursor);
        parts_.check.Finish();
        QGuiApplication::restoreOverrideCursor();
        NewFileFindings();
    }
    Show();
    const QModelIndex current = parts_.grid->currentIndex();
    GameCheck::Place from{parts_.document.CurrentView(), current.row(), current.column()};
    // Where it went last, while the grid is still there: a line's finding is at its key's cell.
    if (went_ && went_->view == from.view && went_->row == from.row
        && (went_->col == from.col || (went_->col < parts_.grid->FixedColumns() && from.col == parts_.grid->FixedColumns())))
        from = *went_;
    const std::optional<GameCheck::Place> next = parts_.check.Next(from, forward);
    if (!next)
        return;
    if (next->view != parts_.document.CurrentView())
        parts_.document.ShowView(next->view);
    parts_.grid->MoveTo(next->row, next->col);
    parts_.grid->setFocus();
    went_ = next;
    QStringList said;
    for (const Finding& finding : parts_.check.At(next->row, next->col))
        said << FromBytes(finding.says);
    emit told(said.join(QLatin1Char(' ')));
}

}  // namespace revlane::ui
