#include "Grid.h"

#include <algorithm>
#include <stdexcept>

namespace revlane {

namespace {
const std::string kEmpty;
}

// Out of the way of the cell writes, which reading makes by the thousand.
void Grid::ThrowNoCell(int row, int col)
{
    throw std::out_of_range("grid cell " + std::to_string(row) + ", " + std::to_string(col) + " does not exist");
}

void Grid::Resize(int rows, int cols)
{
    rows = std::max(rows, 0);
    cols = std::max(cols, 0);
    if (cols == cols_) {
        // Rows are stored one after another: the rows that remain stay where they are.
        cells_.resize(static_cast<size_t>(rows) * static_cast<size_t>(cols));
    } else {
        MoveCells(rows, cols);
    }
    rows_ = rows;
    cols_ = cols;
    widths_.resize(static_cast<size_t>(cols), DefaultColWidth);
    fixedRows_ = std::min(fixedRows_, rows_);
    fixedCols_ = std::min(fixedCols_, cols_);
    ClampCurrent();
}

void Grid::MoveCells(int rows, int cols)
{
    std::vector<std::string> cells(static_cast<size_t>(rows) * static_cast<size_t>(cols));
    for (int r = 0; r < std::min(rows, rows_); ++r)
        for (int c = 0; c < std::min(cols, cols_); ++c)
            cells[static_cast<size_t>(r) * cols + c] = std::move(cells_[static_cast<size_t>(r) * cols_ + c]);
    cells_ = std::move(cells);
}

void Grid::SetRows(int rows)
{
    Resize(rows, cols_);
    NotifyLayout();
}

void Grid::SetCols(int cols)
{
    Resize(rows_, cols);
    NotifyLayout();
}

void Grid::SetSize(int rows, int cols)
{
    Resize(rows, cols);
    NotifyLayout();
}

void Grid::SetFixedRows(int n)
{
    if (n < 0 || n > rows_)
        throw std::out_of_range("fixed rows beyond the grid's rows");
    fixedRows_ = n;
    ClampCurrent();
    NotifyLayout();
}

void Grid::SetFixedCols(int n)
{
    if (n < 0 || n > cols_)
        throw std::out_of_range("fixed columns beyond the grid's columns");
    fixedCols_ = n;
    ClampCurrent();
    NotifyLayout();
}

const std::string& Grid::TextMatrix(int row, int col) const
{
    if (!InRange(row, col))
        return kEmpty;
    return cells_[static_cast<size_t>(row) * cols_ + col];
}

void Grid::SetTextMatrix(int row, int col, std::string text)
{
    if (!InRange(row, col))
        ThrowNoCell(row, col);
    cells_[static_cast<size_t>(row) * cols_ + col] = std::move(text);
    NotifyCell(row, col);
}

int Grid::ColWidth(int col) const
{
    if (col < 0 || col >= cols_)
        return DefaultColWidth;
    return widths_[static_cast<size_t>(col)];
}

void Grid::SetColWidth(int col, int twips)
{
    if (col < 0 || col >= cols_)
        throw std::out_of_range("grid column " + std::to_string(col) + " does not exist");
    widths_[static_cast<size_t>(col)] = std::max(twips, 0);
    NotifyLayout();
}

void Grid::SetRow(int row)
{
    if (row < fixedRows_ || row >= rows_)
        throw std::out_of_range("row " + std::to_string(row) + " cannot become the current row");
    if (row_ == row)
        return;
    row_ = row;
    NotifyCurrent();
}

void Grid::SetCol(int col)
{
    if (col < fixedCols_ || col >= cols_)
        throw std::out_of_range("column " + std::to_string(col) + " cannot become the current column");
    if (col_ == col)
        return;
    col_ = col;
    NotifyCurrent();
}

void Grid::SetEnabled(bool enabled)
{
    if (enabled_ == enabled)
        return;
    enabled_ = enabled;
    NotifyEnabled();
}

void Grid::Clear()
{
    // Cells that are empty already are only looked at, not written.
    for (auto& cell : cells_)
        if (!cell.empty())
            cell.clear();
    NotifyLayout();
}

void Grid::EmptyCells(int row, int fromCol)
{
    for (int col = std::max(fromCol, 0); col < cols_ && row >= 0 && row < rows_; ++col)
        if (!TextMatrix(row, col).empty())
            FillCell(row, col, std::string_view());
}

void Grid::ClampCurrent()
{
    // A grid made only of fixed rows (or columns) keeps its current cell on the last one.
    row_ = std::clamp(row_, std::min(fixedRows_, std::max(rows_ - 1, 0)), std::max(rows_ - 1, 0));
    col_ = std::clamp(col_, std::min(fixedCols_, std::max(cols_ - 1, 0)), std::max(cols_ - 1, 0));
}

void Grid::NotifyLayout()
{
    if (batchDepth_ > 0)
        pending_.layout = true;
    else if (observer_)
        observer_->GridLayoutChanged();
}

void Grid::NotifyCell(int row, int col)
{
    if (batchDepth_ > 0)
        pending_.cells = true;
    else if (observer_)
        observer_->GridCellChanged(row, col);
}

void Grid::NotifyCurrent()
{
    if (batchDepth_ > 0)
        pending_.current = true;
    else if (observer_)
        observer_->GridCurrentCellChanged();
}

void Grid::NotifyEnabled()
{
    if (batchDepth_ > 0)
        pending_.enabled = true;
    else if (observer_)
        observer_->GridEnabledChanged();
}

void Grid::EndBatch()
{
    if (--batchDepth_ == 0)
        SendPending();
}

void Grid::SendPending()
{
    const Pending pending = pending_;
    pending_ = {};
    if (!observer_)
        return;
    // The layout first: a new layout shows every cell anew, and the current cell is brought
    // into view within it.
    if (pending.layout)
        observer_->GridLayoutChanged();
    else if (pending.cells)
        observer_->GridCellsChanged();
    if (pending.enabled)
        observer_->GridEnabledChanged();
    if (pending.current)
        observer_->GridCurrentCellChanged();
}

}  // namespace revlane
