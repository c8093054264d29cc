#include "ui/klub/EditKlubGrid.h"

#include "foundation/LxString.h"

void SetupKlubGrid(TExtStringGrid& grid, std::initializer_list<TKlubColumn> columns) {
    grid.SetFixedRows(1);
    grid.SetFixedCols(0);
    TExtColumns& descriptions = grid.Columns();
    descriptions.BeginUpdate();
    descriptions.Clear();
    for (const TKlubColumn& column : columns) {
        TExtColumn& description = descriptions.Add();
        description.SetText(QString::fromUtf16(column.Text));
        description.CharCase = column.UpperCase ? QStringLiteral("U") : QString();
        description.ReadOnly = column.ReadOnly;
        description.MaxLength = column.MaxLength;
        if (column.RightAligned)
            description.SetAlignment(TAlignment::taRightJustify);
    }
    descriptions.EndUpdate();
    int col = 0;
    for (const TKlubColumn& column : columns)
        grid.SetColWidths(col++, column.Width);
    grid.SetRowCount(2);
}

void Bind(TExtStringGrid& grid, int col, int row, const TDataElement* element) {
    grid.SetObjects(col, row, reinterpret_cast<qintptr>(element));
}

QString TrimmedCell(const TExtStringGrid& grid, int col, int row) {
    return TrimBlanks(grid.Cells(col, row));
}
