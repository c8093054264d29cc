#pragma once
// What the clubs dialog's grids share: their columns laid out from a table, and rows bound to the record
// elements they show. A row keeps the element itself in its cell's object, never a position in a list
// that a save in the middle could shift, so an edit lands in the record the row shows.
#include "foundation/controls/Extstrgr.h"

#include <QString>

#include <initializer_list>
#include <utility>

class TDataElement;

// One column: heading, width, and how it takes text.
struct TKlubColumn {
    const char16_t* Text;
    int Width;
    bool UpperCase = false;
    bool ReadOnly = false;
    bool RightAligned = false;
    int MaxLength = 0;
};

// Lays the grid out with a heading row and the columns; no fixed column.
void SetupKlubGrid(TExtStringGrid& grid, std::initializer_list<TKlubColumn> columns);

// The element a cell of the row is bound to; null when none.
template <typename Element>
Element* Bound(const TExtStringGrid& grid, int col, int row) {
    return reinterpret_cast<Element*>(grid.Objects(col, row));
}
// Binds the cell to the element (null: to none).
void Bind(TExtStringGrid& grid, int col, int row, const TDataElement* element);

// The cell's text without leading and trailing blanks.
QString TrimmedCell(const TExtStringGrid& grid, int col, int row);

// Suspends a grid's rules while the dialog itself fills the grid or moves its cursor.
class TQuietRules {
public:
    explicit TQuietRules(bool& quiet)
        : quiet_(quiet)
        , before_(std::exchange(quiet, true)) {}
    ~TQuietRules() { quiet_ = before_; }
    TQuietRules(const TQuietRules&) = delete;
    TQuietRules& operator=(const TQuietRules&) = delete;

private:
    bool& quiet_;
    bool before_;
};
