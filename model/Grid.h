#pragma once

#include <string>
#include <string_view>
#include <vector>

#if defined(_MSC_VER)
#define REVLANE_ALWAYS_INLINE __forceinline
#else
#define REVLANE_ALWAYS_INLINE [[gnu::always_inline]] inline
#endif

namespace revlane {

// Told about every change of a Grid, so that a widget can show it.
class GridObserver {
public:
    virtual ~GridObserver() = default;
    // Row or column counts, fixed rows or columns or widths changed, or every cell was cleared.
    virtual void GridLayoutChanged() = 0;
    virtual void GridCellChanged(int row, int col) = 0;
    // Any number of cells changed in one batch (see Grid::Batch).
    virtual void GridCellsChanged() = 0;
    virtual void GridCurrentCellChanged() = 0;
    virtual void GridEnabledChanged() = 0;
};

// The grid as the logic sees it: cell texts by row and column, the counts, the fixed
// header rows and columns, column widths in twips and the current cell. Everything
// that reads or writes the open file's rows goes through here, so it runs without a display.
class Grid {
public:
    int Rows() const { return rows_; }
    int Cols() const { return cols_; }
    // Changing a count keeps the texts of the cells that remain.
    void SetRows(int rows);
    void SetCols(int cols);
    // Both counts at once: the cells are moved once, not once for each.
    void SetSize(int rows, int cols);

    int FixedRows() const { return fixedRows_; }
    int FixedCols() const { return fixedCols_; }
    void SetFixedRows(int n);
    void SetFixedCols(int n);

    // Out-of-range cells read as empty text; writing one throws std::out_of_range.
    const std::string& TextMatrix(int row, int col) const;
    void SetTextMatrix(int row, int col, std::string text);
    // The same from a piece of a line: the bytes go straight into the cell's own string. Reading
    // fills thousands of cells this way, and the compilers would rather call it than inline it
    // into the loops that split a line: the call costs a fifth of the split.
    REVLANE_ALWAYS_INLINE void FillCell(int row, int col, std::string_view text)
    {
        if (!InRange(row, col))
            ThrowNoCell(row, col);
        std::string& cell = cells_[static_cast<size_t>(row) * static_cast<size_t>(cols_) + static_cast<size_t>(col)];
        // A file read again mostly finds its cells as they were: those stay untouched and unannounced.
        // Fields are a few characters long, shorter than a call to compare them would be.
        if (cell.size() == text.size()) {
            size_t i = 0;
            while (i < text.size() && cell[i] == text[i])
                ++i;
            if (i == text.size())
                return;
        }
        cell.assign(text);
        NotifyCell(row, col);
    }

    // Width in twips (1/1440 inch); a column never given a width reads as DefaultColWidth.
    int ColWidth(int col) const;
    void SetColWidth(int col, int twips);
    static constexpr int DefaultColWidth = 960;

    // The current cell. It never lies in a fixed row or column while the grid has others.
    int Row() const { return row_; }
    int Col() const { return col_; }
    void SetRow(int row);
    void SetCol(int col);

    bool Enabled() const { return enabled_; }
    void SetEnabled(bool enabled);

    // Empties every cell; counts, widths and the current cell stay.
    void Clear();
    // Empties a row's cells from a column on.
    void EmptyCells(int row, int fromCol);

    void SetObserver(GridObserver* observer) { observer_ = observer; }

    // Tells the observer now of the changes that the open batches have gathered so far: before
    // the user is asked anything, the grid on the screen shows what the grid holds.
    void SendPending();

    // While a batch lasts, the observer hears nothing; when the outermost one ends, it hears
    // once of each kind of change made: filling thousands of cells is one notice, not thousands.
    class Batch {
    public:
        explicit Batch(Grid& grid) : grid_(grid) { ++grid_.batchDepth_; }
        ~Batch() { grid_.EndBatch(); }
        Batch(const Batch&) = delete;
        Batch& operator=(const Batch&) = delete;

    private:
        Grid& grid_;
    };

private:
    [[noreturn]] static void ThrowNoCell(int row, int col);
    void Resize(int rows, int cols);
    void MoveCells(int rows, int cols);
    void ClampCurrent();
    bool InRange(int row, int col) const { return row >= 0 && row < rows_ && col >= 0 && col < cols_; }
    void NotifyLayout();
    void NotifyCell(int row, int col);
    void NotifyCurrent();
    void NotifyEnabled();
    void EndBatch();

    int rows_ = 0;
    int cols_ = 0;
    int fixedRows_ = 0;
    int fixedCols_ = 0;
    int row_ = 0;
    int col_ = 0;
    bool enabled_ = false;
    std::vector<std::string> cells_;  // row-major, rows_ * cols_
    std::vector<int> widths_;
    GridObserver* observer_ = nullptr;
    int batchDepth_ = 0;
    struct Pending {
        bool layout = false;
        bool cells = false;
        bool current = false;
        bool enabled = false;
    } pending_;
};

}  // namespace revlane
