#include <QClipboard>
#include <QComboBox>
#include <QGuiApplication>
#include <QLineEdit>
#include <QMimeData>
#include <QPushButton>

#include "QtPorts.h"
#include "frmMain.h"

// Express import, which replaces a vehicle's whole line with one the user types or pastes, and
// Restore defaults, which puts a vehicle's stock line back.
namespace revlane::ui {

// Every change of the import text looks its vehicle up afresh.
void frmMain::txtImport_Change()
{
    import.TextChanged(ToBytes(txtImport->text()), CurrentGame());
    ShowImportVehicle(FromBytes(import.VehicleName()));
    cmdImport->setEnabled(import.ApplyEnabled());
}

// No vehicle for the import: the box naming it empties and Apply is off.
void frmMain::ClearImport()
{
    import.ClearImport();
    ShowImportVehicle(QString());
    cmdImport->setEnabled(false);
}

// A line box lays its text out anew on every setText, even of the same text: most changes of
// the import text name no vehicle, before as after.
void frmMain::ShowImportVehicle(const QString& name)
{
    if (txtImportv->text() != name)
        txtImportv->setText(name);
}

void frmMain::cmdPaste_Click()
{
    const QMimeData* data = QGuiApplication::clipboard()->mimeData();
    if (!data || !data->hasText()) {
        messages_.ShowMessage("Clipboard does not have text at this moment.", MsgButtons::OK, MsgIcon::Critical);
        return;
    }
    txtImport->setText(data->text());
}

void frmMain::cmdImport_Click()
{
    if (!Commit())
        return;
    const int row = import.ImportRow();
    const ConfigFile::RowState before = file.RowAt(row);
    if (import.Apply())
        RecordChange(row, before, QStringLiteral("Express import"));
}

void frmMain::cmdRestore_Click()
{
    if (!Commit())
        return;
    const std::string name = ToBytes(comRestore->currentText());
    const int row = restore.VehicleRow(name);
    const ConfigFile::RowState before = file.RowAt(row);
    if (restore.Restore(name, CurrentGame()) == RestoreDefaults::Result::Restored)
        RecordChange(row, before, QStringLiteral("Restore defaults"));
}

}  // namespace revlane::ui
