#include "ImportBox.h"

#include <QClipboard>
#include <QComboBox>
#include <QGuiApplication>
#include <QMimeData>
#include <QSignalBlocker>

#include <utility>

#include "ControlMaker.h"
#include "QtPorts.h"
#include "ReplaceCommand.h"
#include "RestoreListModel.h"

namespace revlane::ui {

ImportBox::ImportBox(const Parts& parts, const ControlMaker& make, QWidget* parent)
    : QWidget(parent), parts_(parts), restoreList_(std::make_unique<RestoreListModel>(parts.document))
{
    make.Place(this, 0, 0, 8895, 2280);
    lblImport = make.Label(this, "Express import", true, 0, 0, 2895, 255);
    make.Line(this, 0, 240, 8880)->setObjectName(QStringLiteral("Linea3"));
    lblMisc[0] = make.Label(
        this, "To replace all parameters for a vehicle, insert its entire configuration line in the field below.",
        false, 0, 360, 8895, 495);
    txtImport = new QLineEdit(this);
    make.Place(txtImport, 0, 600, 6975, 285);
    // The import box lays its text out anew at every switch of file, whose hint it then shows; the
    // lines it takes are plain Latin text, which needs no shaping, and without it the layout takes
    // half the time.
    QFont importFont = txtImport->font();
    importFont.setStyleStrategy(QFont::PreferNoShaping);
    txtImport->setFont(importFont);
    cmdPaste = make.Button(this, "Paste", false, 7080, 600, 1815, 315);
    lblMisc[1] = make.Label(this, "The config line above will be applied to the vehicle:", false, 0, 960, 5055, 255);
    txtImportv = make.ReadOnlyBox(this, 5160, 960, 1815, 285);
    cmdImport = make.Button(this, "Apply", false, 7080, 960, 1815, 315);
    lblRestore = make.Label(this, "Restore default values", true, 0, 1320, 2895, 255);
    make.Line(this, 0, 1560, 8880)->setObjectName(QStringLiteral("Linea4"));
    lblMisc[2] = make.Label(this, "Select a vehicle to restore its original settings.", false, 0, 1680, 4215, 495);
    comRestore = new QComboBox(this);
    // The document's own names: a read replaces the whole list in one go, whatever its length.
    comRestore->setModel(restoreList_.get());
    comRestore->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    make.Place(comRestore, 5160, 1680, 1815, 315);
    cmdRestore = make.Button(this, "Restore defaults", false, 7080, 1680, 1815, 315);

    const std::pair<QWidget*, const char*> named[] = {
        {lblImport, "lblImport"},   {lblMisc[0], "lblMisc0"},   {lblMisc[1], "lblMisc1"},   {lblMisc[2], "lblMisc2"},
        {txtImport, "txtImport"},   {cmdPaste, "cmdPaste"},     {txtImportv, "txtImportv"}, {cmdImport, "cmdImport"},
        {lblRestore, "lblRestore"}, {comRestore, "comRestore"}, {cmdRestore, "cmdRestore"},
    };
    for (const auto& [widget, name] : named)
        widget->setObjectName(QLatin1String(name));

    connect(txtImport, &QLineEdit::textChanged, this, [this] { TextChanged(); });
    connect(cmdPaste, &QPushButton::clicked, this, [this] { PasteClicked(); });
    connect(cmdImport, &QPushButton::clicked, this, [this] { ImportClicked(); });
    connect(cmdRestore, &QPushButton::clicked, this, [this] { RestoreClicked(); });
    cmdImport->setEnabled(false);
    SetEnabled(false, false);
}

ImportBox::~ImportBox() = default;

void ImportBox::ShowReadFile(const QString& importText)
{
    ClearImport();
    // A hint names no vehicle, so it goes in without the look-up its change would make: the first
    // word of the handling file's hint is "[", which in a file of a million vehicles is a walk
    // over every row for a name none has. Emptying the box is no look-up either.
    {
        const QSignalBlocker quiet(txtImport);
        txtImport->setText(importText);
    }
    if (std::exchange(refused_, false))
        emit told(QString());
    SetEnabled(parts_.document.IsOpen(), parts_.document.RestoreCount() > 2);
}

void ImportBox::SetImportText(const QString& text)
{
    txtImport->setText(text);
}

void ImportBox::SetEnabled(bool enabled, bool restore)
{
    for (QWidget* w : std::initializer_list<QWidget*>{lblImport, lblRestore, txtImport, lblMisc[0], lblMisc[1], lblMisc[2], cmdPaste})
        w->setEnabled(enabled);
    const bool restoreOn = enabled && restore;
    if (restoreOn)
        comRestore->setCurrentIndex(0);
    comRestore->setEnabled(restoreOn);
    cmdRestore->setEnabled(restoreOn);
}

// Every change of the import text looks its vehicle up afresh.
void ImportBox::TextChanged()
{
    // A character the file cannot hold names no vehicle: Apply stays off, and the line above the
    // grid says which one, until the text can be held again.
    if (const QString why = NotLatin1(txtImport->text(), parts_.document.IsIde()); !why.isEmpty()) {
        ClearImport();
        refused_ = true;
        emit told(why);
        return;
    }
    if (std::exchange(refused_, false))
        emit told(QString());
    parts_.import.TextChanged(ToBytes(txtImport->text()));
    ShowImportVehicle(FromBytes(parts_.import.VehicleName()));
    cmdImport->setEnabled(parts_.import.ApplyEnabled());
}

// No vehicle for the import: the box naming it empties and Apply is off.
void ImportBox::ClearImport()
{
    parts_.import.ClearImport();
    ShowImportVehicle(QString());
    cmdImport->setEnabled(false);
}

// A line box lays its text out anew on every setText, even of the same text: most changes of
// the import text name no vehicle, before as after.
void ImportBox::ShowImportVehicle(const QString& name)
{
    if (txtImportv->text() != name)
        txtImportv->setText(name);
}

void ImportBox::PasteClicked()
{
    const QMimeData* data = QGuiApplication::clipboard()->mimeData();
    if (!data || !data->hasText()) {
        parts_.messages.ShowMessage("Clipboard does not have text at this moment.", MsgButtons::OK, MsgIcon::Critical);
        return;
    }
    txtImport->setText(data->text());
}

void ImportBox::ImportClicked()
{
    if (!parts_.commit())
        return;
    const QString vehicle = txtImportv->text();
    if (std::optional<ExpressImport::Replacement> replacement = parts_.import.Apply()) {
        // A boat's, bike's or aircraft's record is replaced where it is seen.
        parts_.document.ShowView(replacement->view);
        parts_.undo.push(new ReplaceCommand(parts_.document, replacement->view, replacement->row,
                                            std::move(replacement->line), QStringLiteral("Import ") + vehicle));
        emit replaced(replacement->row);
    }
}

void ImportBox::RestoreClicked()
{
    if (!parts_.commit())
        return;
    const QString vehicle = comRestore->currentText();
    RestoreDefaults::Outcome outcome = parts_.restore.Restore(ToBytes(vehicle));
    if (outcome.result == RestoreDefaults::Result::Restored)
        parts_.undo.push(new ReplaceCommand(parts_.document, outcome.replacement.view, outcome.replacement.row,
                                            std::move(outcome.replacement.line), QStringLiteral("Restore ") + vehicle));
}

}  // namespace revlane::ui
