#include "VehicleTableModel.h"

#include <QBrush>
#include <QFont>
#include <QGuiApplication>
#include <QPalette>

#include <algorithm>

#include "Compare.h"
#include "EditCommand.h"
#include "Pictures.h"
#include "QtPorts.h"
#include "Text.h"

namespace revlane::ui {

VehicleTableModel::VehicleTableModel(Document& document, const CellMarks& marks, const CaptionTable& captions,
                                     QUndoStack& undo, QObject* parent)
    : QAbstractTableModel(parent), document_(document), marks_(marks), captions_(captions), undo_(undo)
{
    document_.Listen(*this);
    TakeCounts();
}

void VehicleTableModel::DocumentResetting()
{
    beginResetModel();
}

void VehicleTableModel::DocumentReset()
{
    TakeCounts();
    endResetModel();
}

void VehicleTableModel::TakeCounts()
{
    const bool open = document_.IsOpen();
    rows_ = open ? document_.RowCount() : 0;
    cols_ = open ? document_.Columns() : 0;
}

void VehicleTableModel::RowsChanged(int first, int last)
{
    first = std::max(first, 0);
    last = std::min(last, rows_ - 1);
    if (first <= last && cols_ > 0)
        emit dataChanged(index(first, 0), index(last, cols_ - 1));
}

int VehicleTableModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : rows_;
}

int VehicleTableModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : cols_;
}

QString VehicleTableModel::MarksText(int row, int col) const
{
    const CellMarks::Mark& mark = marks_.At(row, col);
    QStringList lines;
    if (mark.stock)
        lines << QStringLiteral("Stock value: ") + FromBytes(*mark.stock);
    if (mark.outside)
        lines << QStringLiteral("Outside the range of ") + FromBytes(marks_.RuleText(col));
    if (const std::string* theirs = comparison_ ? comparison_->Theirs(row, col) : nullptr)
        lines << QStringLiteral("In %1: %2").arg(QString::fromStdString(comparison_->Name()),
                                                  theirs->empty() ? QStringLiteral("(no value)") : FromBytes(*theirs));
    if (check_)
        for (const Finding& finding : check_->At(row, col))
            lines << FromBytes(finding.says);
    return lines.join(QLatin1Char('\n'));
}

void VehicleTableModel::ShowComparison(const Comparison* comparison)
{
    comparison_ = comparison;
    if (rows_ > 0 && cols_ > 0)
        emit dataChanged(index(0, 0), index(rows_ - 1, cols_ - 1));
}

QVariant VehicleTableModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || index.row() >= rows_ || index.column() >= cols_)
        return {};
    const int row = index.row(), col = index.column();
    switch (role) {
    case Qt::DisplayRole:
    case Qt::EditRole: return FromBytes(document_.Cell(row, col));
    case Qt::ToolTipRole:
    case Qt::AccessibleDescriptionRole: return MarksText(row, col);
    case Qt::FontRole:
        if (marks_.At(row, col).stock) {
            // Only the weight: the rest comes from the view's own font.
            QFont bold;
            bold.setBold(true);
            return bold;
        }
        return {};
    case Qt::BackgroundRole:
        if (marks_.At(row, col).stock) {
            // A tint of the highlight colour: changed from stock, and still plainly not the current cell.
            const QPalette palette = QGuiApplication::palette();
            const QColor base = palette.color(QPalette::Base), tint = palette.color(QPalette::Highlight);
            return QBrush(QColor::fromRgbF(base.redF() * 0.8f + tint.redF() * 0.2f, base.greenF() * 0.8f + tint.greenF() * 0.2f,
                                           base.blueF() * 0.8f + tint.blueF() * 0.2f));
        }
        return {};
    case Qt::ForegroundRole:
        if (marks_.At(row, col).outside || (check_ && !check_->At(row, col).empty()))
            return QBrush(WarningColour());
        return {};
    case Qt::DecorationRole:
        // Beside the value, so that the stock and range marks show as well.
        if (comparison_ && comparison_->Theirs(row, col))
            return DifferenceMark();
        return {};
    default: return {};
    }
}

// The caption as the header shows it: handling.cfg's letter, field name and range hint on three lines.
QString VehicleTableModel::Caption(int col) const
{
    if (document_.IsIde())
        return FromBytes(DefaultCaption(document_.GameOf(), col));
    if (document_.Record() != RecordKind::Vehicle) {
        const RecordCaption caption = RecordColumnCaption(document_.Record(), col);
        return FromBytes(std::string(caption.letter)) + QLatin1Char('\n') + FromBytes(std::string(caption.name));
    }
    const CaptionTable::Header header = captions_.HandlingHeader(document_.GameOf(), col);
    return FromBytes(std::string(header.letter)) + QLatin1Char('\n') + FromBytes(std::string(header.name))
           + QLatin1Char('\n') + FromBytes(std::string(header.hint));
}

// The column's whole caption on one line: its letter, then the field's name and range hint.
QString VehicleTableModel::WholeCaption(int col) const
{
    QStringList parts;
    for (const QString& part : Caption(col).split(QLatin1Char('\n')))
        if (!part.trimmed().isEmpty())
            parts << part.trimmed();
    const QString letter = parts.value(0);
    return parts.size() > 1 ? letter + QStringLiteral(": ") + parts.mid(1).join(QLatin1Char(' ')) : letter;
}

QVariant VehicleTableModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || section < 0 || section >= cols_)
        return QAbstractTableModel::headerData(section, orientation, role);
    switch (role) {
    case Qt::DisplayRole: return Caption(section);
    case Qt::ToolTipRole: return WholeCaption(section);
    case Qt::TextAlignmentRole: return QVariant::fromValue(Qt::AlignLeft | Qt::AlignVCenter);
    default: return {};
    }
}

Qt::ItemFlags VehicleTableModel::flags(const QModelIndex& index) const
{
    if (!index.isValid())
        return Qt::NoItemFlags;
    Qt::ItemFlags flags = Qt::ItemIsEnabled | Qt::ItemIsSelectable;
    // A vehicle's key, its model name and a section title are never edited in place.
    if (index.column() >= document_.Geometry().fixedCols && document_.IsVehicleRow(index.row()))
        flags |= Qt::ItemIsEditable;
    return flags;
}

bool VehicleTableModel::setData(const QModelIndex& index, const QVariant& value, int role)
{
    const QString text = value.toString();
    if (role != Qt::EditRole || !(flags(index) & Qt::ItemIsEditable) || !Refusal(index, text).isEmpty())
        return false;
    const int row = index.row(), col = index.column();
    const std::string bytes = ToBytes(text);
    const int commas = document_.DecimalCommas({{row, col, bytes}});
    undo_.push(new EditCommand(document_, row, col, bytes, What(row, col)));
    if (commas > 0)
        emit told(DecimalCommasText(commas) + QLatin1Char('.'));
    return true;
}

QString VehicleTableModel::Refusal(const QModelIndex& index, const QString& value) const
{
    if (const QString why = NotLatin1(value, document_.IsIde()); !why.isEmpty())
        return why;
    return FromBytes(document_.Refusal({{index.row(), index.column(), ToBytes(value)}}));
}

QString VehicleTableModel::What(int row, int col) const
{
    const std::string vehicle = document_.IsIde() ? document_.Cell(row, 1) : std::string(document_.Key(row));
    const std::string field = document_.IsIde() ? DefaultCaption(document_.GameOf(), col)
                              : document_.Record() != RecordKind::Vehicle ? std::string(RecordColumnCaption(document_.Record(), col).name)
                                                                          : std::string(captions_.HandlingHeader(document_.GameOf(), col).name);
    return FromBytes(vehicle) + QLatin1Char(' ') + FromBytes(field);
}

QString DecimalCommasText(int count)
{
    return count == 1 ? QStringLiteral("1 decimal comma written as a point")
                      : QStringLiteral("%1 decimal commas written as points").arg(count);
}

}  // namespace revlane::ui
