#include "Peer.h"

#include <QAction>
#include <QClipboard>
#include <QGuiApplication>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QShortcut>
#include <QTableView>

#include <charconv>
#include <cstdio>
#include <stdexcept>
#include <cstring>

#include "LineSplit.h"
#include "Pictures.h"

namespace revlane::bench {

namespace {

QString Latin1(std::string_view text)
{
    return QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size()));
}

}  // namespace

std::string GridShape::Text() const
{
    return std::to_string(width) + "," + std::to_string(height) + "," + std::to_string(rowHeight);
}

GridShape GridShape::FromText(const std::string& text)
{
    GridShape shape;
    if (std::sscanf(text.c_str(), "%d,%d,%d", &shape.width, &shape.height, &shape.rowHeight) != 3)
        throw std::runtime_error("no grid shape in " + text);
    return shape;
}

void PeerModel::Open(const std::filesystem::path& path, FileKind kind)
{
    beginResetModel();
    kind_ = kind;
    history_.clear();
    done_ = 0;
    floor::Read(path, kind, game_, lines_);
    endResetModel();
}

int PeerModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : static_cast<int>(lines_.rows.size());
}

int PeerModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : Columns();
}

QVariant PeerModel::data(const QModelIndex& index, int role) const
{
    if (role != Qt::DisplayRole && role != Qt::EditRole)
        return {};
    const floor::Lines::Row& row = lines_.rows[static_cast<size_t>(index.row())];
    const std::string_view line = lines_.text[static_cast<size_t>(row.line)];
    if (!row.vehicle) {
        // A title shows its text, a comment its whole line, in the first column.
        if (index.column() > 0)
            return QString();
        return Latin1(line.substr(0, 2) == ";-" ? line.substr(2) : line);
    }
    return Latin1(kind_ == FileKind::HandlingCfg ? floor::HandlingField(line, index.column())
                                                 : floor::DefaultField(line, index.column()));
}

Qt::ItemFlags PeerModel::flags(const QModelIndex& index) const
{
    const bool value = index.column() > 0 && lines_.rows[static_cast<size_t>(index.row())].vehicle;
    return Qt::ItemIsEnabled | Qt::ItemIsSelectable | (value ? Qt::ItemIsEditable : Qt::NoItemFlags);
}

bool PeerModel::setData(const QModelIndex& index, const QVariant& value, int role)
{
    const std::string text = value.toString().toLatin1().toStdString();
    if (role != Qt::EditRole || kind_ != FileKind::HandlingCfg || CharacterNotAllowed(text, false) || text.size() > 400)
        return false;
    ChangeColumn(index.row(), index.row(), index.column(), [&](std::string_view, char* out, size_t& length) {
        std::memcpy(out, text.data(), text.size());
        length = text.size();
        return true;
    });
    return true;
}

void PeerModel::Push(floor::Step step)
{
    // A change made after undoing drops what could have been made again.
    history_.erase(history_.begin() + static_cast<std::ptrdiff_t>(done_), history_.end());
    history_.push_back(std::move(step));
    done_ = history_.size();
    Changed();
}

void PeerModel::Undo()
{
    if (done_ == 0)
        return;
    history_[--done_].Swap(lines_.text);
    Changed();
}

void PeerModel::Redo()
{
    if (done_ == history_.size())
        return;
    history_[done_++].Swap(lines_.text);
    Changed();
}

void PeerModel::Changed()
{
    // One signal for all: the view repaints what it shows of them.
    emit dataChanged(index(0, 0), index(rowCount() - 1, Columns() - 1));
}

bool PeerDelegate::eventFilter(QObject* watched, QEvent* event)
{
    auto* editor = qobject_cast<QLineEdit*>(watched);
    if (editor && fill && event->type() == QEvent::KeyPress) {
        const auto* key = static_cast<QKeyEvent*>(event);
        if ((key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) && (key->modifiers() & Qt::ControlModifier)) {
            const QString value = editor->text();
            emit closeEditor(editor, NoHint);
            fill(value);
            return true;
        }
    }
    return QStyledItemDelegate::eventFilter(watched, event);
}

PeerWindow::PeerWindow(FileKind kind, Game game, const GridShape& shape)
    : view_(new QTableView(this)), model_(new PeerModel(kind, game, this)), status_(new QLabel(this)), shape_(shape)
{
    auto* delegate = new PeerDelegate(view_);
    delegate->fill = [this](const QString& value) { Fill(value); };
    view_->setItemDelegate(delegate);
    view_->verticalHeader()->hide();
    view_->verticalHeader()->setMinimumSectionSize(shape.rowHeight);
    view_->verticalHeader()->setDefaultSectionSize(shape.rowHeight);
    view_->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    view_->setModel(model_);
    view_->setGeometry(0, 0, shape.width, shape.height);
    status_->setGeometry(0, shape.height + 4, shape.width / 2, 20);
    resize(shape.width, shape.height + 28);

    auto* copy = new QAction(QStringLiteral("Copy"), view_);
    copy->setShortcut(QKeySequence::Copy);
    copy->setShortcutContext(Qt::WidgetShortcut);
    connect(copy, &QAction::triggered, this, [this] { CopyCells(); });
    view_->addAction(copy);
    multiply_ = new QAction(QStringLiteral("Multiply selected values by..."), view_);
    connect(multiply_, &QAction::triggered, this, [this] { Multiply(QStringLiteral("1.1")); });
    view_->addAction(multiply_);
    new QShortcut(QKeySequence(Qt::CTRL | Qt::Key_Z), this, [this] { model_->Undo(); });
    new QShortcut(QKeySequence(Qt::CTRL | Qt::Key_Y), this, [this] { model_->Redo(); });
    new QShortcut(QKeySequence(Qt::CTRL | Qt::Key_F), this, [this] { OpenFind(); });
}

void PeerWindow::Open(const std::filesystem::path& path, FileKind kind)
{
    // The widths Revlane gives a file's columns, set before the rows come.
    const ViewGeometry geometry = GeometryFor(kind, model_->GameOf());
    view_->horizontalHeader()->setDefaultSectionSize(ui::TwipsToPixels(geometry.otherWidth, logicalDpiX()));
    view_->horizontalHeader()->setMinimumHeight(shape_.rowHeight * geometry.headerLines);
    model_->Open(path, kind);
    view_->horizontalHeader()->resizeSection(0, ui::TwipsToPixels(geometry.col0Width, logicalDpiX()));
}

QRect PeerWindow::SelectedRange() const
{
    QRect range;
    for (const QItemSelectionRange& part : view_->selectionModel()->selection())
        range |= QRect(QPoint(part.left(), part.top()), QPoint(part.right(), part.bottom()));
    return range;
}

void PeerWindow::Multiply(const QString& by)
{
    const QRect range = SelectedRange();
    const std::string number = by.toLatin1().toStdString();
    double factor = 0;
    if (range.isEmpty() || std::from_chars(number.data(), number.data() + number.size(), factor).ec != std::errc())
        return;
    // The grid's commands take one column here: the gestures measured change one.
    const int changed = model_->ChangeColumn(range.top(), range.bottom(), range.left(), [factor](std::string_view value, char* out, size_t& length) {
        return floor::MultiplyDecimal(value, factor, out, length);
    });
    Say(QStringLiteral("%1 values changed.").arg(changed));
}

void PeerWindow::Fill(const QString& value)
{
    const QRect range = SelectedRange();
    const std::string text = value.toLatin1().toStdString();
    // The one value is looked at once, not once for every cell.
    if (range.isEmpty() || CharacterNotAllowed(text, false) || text.size() > 400) {
        Say(QStringLiteral("Nothing was changed."));
        return;
    }
    model_->ChangeColumn(range.top(), range.bottom(), range.left(), [&text](std::string_view, char* out, size_t& length) {
        std::memcpy(out, text.data(), text.size());
        length = text.size();
        return true;
    });
}

void PeerWindow::CopyCells()
{
    const QRect range = SelectedRange();
    if (!range.isEmpty())
        QGuiApplication::clipboard()->setText(Latin1(floor::ColumnText(model_->Lines(), range.top(), range.bottom(), range.left())));
}

void PeerWindow::OpenFind()
{
    if (!find_) {
        findLabel_ = new QLabel(QStringLiteral("Find:"), this);
        findLabel_->setGeometry(shape_.width / 2, shape_.height + 4, 80, 20);
        find_ = new QLineEdit(this);
        find_->setGeometry(shape_.width / 2 + 80, shape_.height + 4, shape_.width / 2 - 80, 20);
        connect(find_, &QLineEdit::returnPressed, this, [this] { FindNext(); });
    }
    findLabel_->show();
    find_->show();
    find_->setFocus(Qt::ShortcutFocusReason);
    find_->selectAll();
}

void PeerWindow::FindNext()
{
    const QModelIndex current = view_->currentIndex();
    const int row = floor::FindVehicle(model_->Lines(), find_->text().toLatin1().toStdString(), current.isValid() ? current.row() : -1);
    findLabel_->setText(row < 0 ? QStringLiteral("Not found:") : QStringLiteral("Find:"));
    if (row >= 0) {
        view_->setCurrentIndex(model_->index(row, current.isValid() ? current.column() : 0));
        view_->setFocus(Qt::ShortcutFocusReason);
    }
}

void PeerWindow::Say(const QString& text)
{
    status_->setText(text);
}

}  // namespace revlane::bench
