#include "Comparer.h"

#include <QAction>
#include <QUndoStack>

#include "CompareCommands.h"
#include "ComparePort.h"
#include "GridView.h"
#include "QtPorts.h"
#include "Text.h"
#include "VehicleTableModel.h"

namespace revlane::ui {

namespace {

QString Counted(int count, const char* one, const char* many)
{
    return QString::number(count) + QLatin1Char(' ') + QLatin1String(count == 1 ? one : many);
}

}  // namespace

Comparer::Comparer(Parts parts, QObject* parent) : QObject(parent), parts_(std::move(parts))
{
    setObjectName(QStringLiteral("comparer"));
    auto* separator = new QAction(&parts_.grid);
    separator->setSeparator(true);
    parts_.grid.addAction(separator);
    Add("mnuCompare", "Compare &with...", QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_D), [this] { Choose(); });
    needed_ = {
        Add("mnuNextDifference", "&Next difference", QKeySequence(Qt::ALT | Qt::Key_Down), [this] { Next(true); }),
        Add("mnuPreviousDifference", "P&revious difference", QKeySequence(Qt::ALT | Qt::Key_Up), [this] { Next(false); }),
        Add("mnuTakeValues", "&Take their values", QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_T), [this] { TakeValues(); }),
        Add("mnuTakeVehicles", "Take their &vehicles...", {}, [this] { TakeVehicles(); }),
        stop_ = Add("mnuStopComparing", "St&op comparing", {}, [this] {
            const QString name = Name();
            Stop();
            parts_.status(QStringLiteral("Stopped comparing with %1.").arg(name), false);
        }),
    };
    Enable();
}

Comparer::~Comparer() = default;

QAction* Comparer::Add(const char* name, const char* text, const QKeySequence& keys, std::function<void()> run)
{
    auto* action = new QAction(QString::fromLatin1(text), &parts_.grid);
    action->setObjectName(QLatin1String(name));
    action->setShortcut(keys);
    // The keys work in the grid; in the cell editor they are the editor's own.
    action->setShortcutContext(Qt::WidgetShortcut);
    connect(action, &QAction::triggered, this, std::move(run));
    parts_.grid.addAction(action);
    return action;
}

void Comparer::Enable()
{
    for (QAction* action : needed_)
        action->setEnabled(Comparing());
    // Escape opens the cell's editor unless it has a comparison to stop.
    stop_->setShortcut(Comparing() ? QKeySequence(Qt::Key_Escape) : QKeySequence());
}

QString Comparer::Name() const
{
    return comparison_ ? QString::fromStdString(comparison_->Name()) : QString();
}

void Comparer::Choose()
{
    const Document& document = parts_.document;
    if (!document.IsOpen() || !parts_.commit())
        return;
    // The open file's backup, where there is one, is chosen at first: what changed since it is
    // what is most often asked.
    const std::filesystem::path backup = Document::BackupPathFor(document.Path());
    const std::filesystem::path start = parts_.ports.files.Exists(backup) ? backup : document.Path().parent_path();
    const QString file = document.IsIde() ? QStringLiteral("default.ide") : QStringLiteral("handling.cfg");
    const QString filter = document.IsIde() ? QStringLiteral("Vehicle models (*.ide *.bak *.txt);;All files (*)")
                                            : QStringLiteral("Handling files (*.cfg *.bak *.txt);;All files (*)");
    const std::optional<QString> chosen = parts_.port.PickFile(parts_.grid.window(), QStringLiteral("Compare %1 with").arg(file),
                                                               PathQString(start), filter);
    if (chosen)
        CompareWith(FsPathOf(*chosen));
}

void Comparer::CompareWith(const std::filesystem::path& path)
{
    std::string why;
    std::unique_ptr<Comparison> made = Comparison::Make(parts_.document, path, parts_.ports, parts_.stock, why);
    if (!made) {
        if (!why.empty())
            parts_.status(QString::fromStdString(why), true);
        return;
    }
    // The marks go over to the new comparison before the old one goes.
    parts_.table.ShowComparison(made.get());
    comparison_ = std::move(made);
    Enable();
    parts_.status(QString::fromStdString(CompareSummary(comparison_->Name(), comparison_->Counts())), false);
}

void Comparer::Stop()
{
    if (!comparison_)
        return;
    parts_.table.ShowComparison(nullptr);
    comparison_.reset();
    Enable();
}

void Comparer::Next(bool forward)
{
    if (!comparison_ || !parts_.commit())
        return;
    const QModelIndex current = parts_.grid.currentIndex();
    const std::optional<std::pair<int, int>> next =
        comparison_->Next(current.isValid() ? current.row() : 0, current.isValid() ? current.column() : -1, forward);
    if (!next) {
        parts_.status(QStringLiteral("No value here differs from %1.").arg(Name()), false);
        return;
    }
    parts_.grid.MoveTo(next->first, next->second);
}

void Comparer::TakeValues()
{
    const QRect range = parts_.grid.SelectedRange();
    if (!comparison_ || !parts_.document.IsOpen() || range.isEmpty() || !parts_.commit())
        return;
    RangeWork work = comparison_->TakeValues({range.top(), range.left(), range.bottom(), range.right()});
    if (work.edits.empty()) {
        parts_.status(QStringLiteral("No selected value differs from %1: nothing was taken.").arg(Name()), false);
        return;
    }
    const int taken = static_cast<int>(work.edits.size());
    parts_.undo.push(new TakeValuesCommand(parts_.document, std::move(work.edits),
                                           QStringLiteral("Take %1 from %2").arg(LinesCommand::Values(taken), Name())));
    QString text = LinesCommand::Values(taken) + QStringLiteral(" taken from ") + Name();
    if (work.leftOut > 0)
        text += QStringLiteral("; %1 left as they are (the same there, not there, or they would leave a gap)").arg(work.leftOut);
    if (work.decimalCommas > 0)
        text += QStringLiteral("; ") + DecimalCommasText(work.decimalCommas);
    parts_.status(text + QLatin1Char('.'), false);
}

void Comparer::TakeVehicles()
{
    if (!comparison_ || !parts_.document.IsOpen() || !parts_.commit())
        return;
    const std::vector<TheirRecord> records = comparison_->OnlyThere();
    if (records.empty()) {
        parts_.status(QStringLiteral("Every vehicle of %1 is here already: nothing to take.").arg(Name()), false);
        return;
    }
    QStringList names;
    for (const TheirRecord& record : records)
        names << FromBytes(record.name)
                     + (record.kind == RecordKind::Vehicle ? QString() : QStringLiteral(" (%1)").arg(QLatin1String(RecordKindName(record.kind))));
    const std::optional<std::vector<int>> chosen =
        parts_.port.PickVehicles(parts_.grid.window(), QStringLiteral("Take vehicles from %1").arg(Name()), names);
    if (!chosen || chosen->empty())
        return;
    // One group for each kind, in the order of kinds, each in the other file's order.
    std::vector<RecordLines> groups;
    for (const int i : *chosen) {
        const TheirRecord& record = records.at(static_cast<size_t>(i));
        if (groups.empty() || groups.back().kind != record.kind)
            groups.push_back({record.kind, {}});
        groups.back().lines.push_back(record.line);
    }
    const int count = static_cast<int>(chosen->size());
    const size_t kinds = groups.size();
    const QString what = count == 1 ? FromBytes(records[static_cast<size_t>(chosen->front())].name) : Counted(count, "vehicle", "vehicles");
    auto* step = new TakeVehiclesCommand(parts_.document, std::move(groups), QStringLiteral("Take %1 from %2").arg(what, Name()));
    const int steps = parts_.undo.index();
    parts_.undo.push(step);
    // A step that could not put its lines in is dropped at once.
    if (parts_.undo.index() == steps) {
        parts_.status(QStringLiteral("The vehicles of %1 could not be put in: the file has no cars section.").arg(Name()), true);
        return;
    }
    // The first of them is shown, in its kind's records.
    if (step->View() >= 0) {
        parts_.document.ShowView(step->View());
        parts_.grid.MoveTo(step->FirstRow(), parts_.grid.FixedColumns());
    }
    const QString where = count == 1 ? QStringLiteral("its kind's records")
                          : kinds == 1 ? QStringLiteral("their kind's records")
                                       : QStringLiteral("their kinds' records");
    parts_.status(QStringLiteral("%1 taken from %2, at the end of %3.").arg(what, Name(), where), false);
}

}  // namespace revlane::ui
