#include "MainWindow.h"

#include <QClipboard>
#include <QComboBox>
#include <QGuiApplication>
#include <QLineEdit>
#include <QMimeData>
#include <QPushButton>

#include <utility>

#include "QtPorts.h"

// Express import, which replaces a vehicle's whole line with one the user types or pastes, and
// Restore defaults, which puts a vehicle's stock line back.
namespace revlane::ui {

// Every change of the import text looks its vehicle up afresh.
void MainWindow::txtImport_Change()
{
    // A character the file cannot hold names no vehicle: Apply stays off, and the line above the
    // grid says which one, until the text can be held again.
    if (const QString why = NotLatin1(txtImport->text(), document.IsIde()); !why.isEmpty()) {
        ClearImport();
        ShowStatus(why);
        importRefused_ = true;
        return;
    }
    if (std::exchange(importRefused_, false))
        ShowStatus(QString());
    import.TextChanged(ToBytes(txtImport->text()));
    ShowImportVehicle(FromBytes(import.VehicleName()));
    cmdImport->setEnabled(import.ApplyEnabled());
}

// No vehicle for the import: the box naming it empties and Apply is off.
void MainWindow::ClearImport()
{
    import.ClearImport();
    ShowImportVehicle(QString());
    cmdImport->setEnabled(false);
}

// A line box lays its text out anew on every setText, even of the same text: most changes of
// the import text name no vehicle, before as after.
void MainWindow::ShowImportVehicle(const QString& name)
{
    if (txtImportv->text() != name)
        txtImportv->setText(name);
}

void MainWindow::cmdPaste_Click()
{
    const QMimeData* data = QGuiApplication::clipboard()->mimeData();
    if (!data || !data->hasText()) {
        messages_.ShowMessage("Clipboard does not have text at this moment.", MsgButtons::OK, MsgIcon::Critical);
        return;
    }
    txtImport->setText(data->text());
}

// The line worked out takes the vehicle's line's place, as one step of the undo stack.
void MainWindow::Replace(const QString& what, const ExpressImport::Replacement& replacement)
{
    Change(what, [this, replacement] {
        std::vector<LineChange> changes;
        if (std::optional<LineChange> change = document.ReplaceLine(replacement.row, replacement.line))
            changes.push_back(std::move(*change));
        return changes;
    });
}

void MainWindow::cmdImport_Click()
{
    if (!Commit())
        return;
    if (const std::optional<ExpressImport::Replacement> replacement = import.Apply())
        Replace(QStringLiteral("Express import"), *replacement);
}

void MainWindow::cmdRestore_Click()
{
    if (!Commit())
        return;
    const RestoreDefaults::Outcome outcome = restore.Restore(ToBytes(comRestore->currentText()));
    if (outcome.result == RestoreDefaults::Result::Restored)
        Replace(QStringLiteral("Restore defaults"), outcome.replacement);
}

}  // namespace revlane::ui
