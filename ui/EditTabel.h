#pragma once
// The raw record editor: every record of one of the 14 record files, of every meet, as a grid row with
// one column per field; edits, new rows and deletions go straight back into the file. Only the cells the
// user changed are written, so every other byte of a record stays as it was.
#include "foundation/controls/RvkForms.h"

#include <memory>
#include <set>

class QComboBox;
class TExtStringGrid;
class TZunoDataTable;

class TEditTabelForm : public TStdRVKForm {
    Q_OBJECT
public:
    explicit TEditTabelForm(QWidget* owner = nullptr);
    ~TEditTabelForm() override;

    QComboBox* const Tabelnavn;
    TExtStringGrid* const Grid;

    // The open table; null until one is chosen.
    TZunoDataTable* Table() const { return table_.get(); }
    // The position of the record a grid row shows; 0 for a row not stored.
    quint32 RowPosition(int row) const;

    // The handlers of the list and the grid.
    void TabelnavnChange();
    void GridSelectCell(int col, int row, bool& canSelect);
    void GridLeaveCell(int col, int row, bool& allow);
    void GridLeaveRow(int row, bool& allow);
    void GridBeforeDelete(int row, bool& allow);
    // Sorts the rows on the current column: by number for the row numbers and whole-number fields,
    // else by text. A pending row is written first.
    void GridDblClick();
    // Writes the current row when any of its cells changed. Raises what the field or the file refuses;
    // the row then stays pending.
    void WritePendingRow();

public slots:
    // A pending row is written first; when that fails the reason is shown and the window stays.
    void done(int result) override;

private:
    void BuildLayout();
    void BuildHandlers();
    void OpenTabel(int index);
    void LoadGrid();
    // Each column as wide as its heading and the texts of the first rows need.
    void FitColumns();
    // The cells of row from the table's current record.
    void ShowRecord(int row);
    void WriteRow(int row);
    // The current cell's text, as it is when entered.
    void RememberCurrent();

    std::unique_ptr<TZunoDataTable> table_;
    int tabelIndex_ = -1;
    bool loading_ = false;
    QString enteredText_;
    // The fields of the current row changed since it was entered or written: the row-changed mark.
    std::set<int> changed_;
};
