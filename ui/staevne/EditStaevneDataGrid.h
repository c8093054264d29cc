#pragma once
// One grid of the settings window over one of the meet's tables (classes, venues, goods groups, goods),
// with its "Flyt op" and "Flyt ned" buttons. Each row holds its record as its object (0: a new row not yet
// stored). Leaving a cell of a record writes it (a code is put back: it never changes); leaving a new row
// that holds anything adds its record; Ctrl+Delete marks a record deleted. The table's rules decide, and a
// refusal keeps the cursor where it is, with the reason shown.
#include "model/D_StaevneDataTabel.h"

#include <QObject>
#include <QStringList>

#include <memory>
#include <vector>

class QPushButton;
class QWidget;
class TExtStringGrid;

class TStaevneDataGrid : public QObject {
    Q_OBJECT
public:
    // Makes the grid and the buttons as children of parent, named prefix + "Grid", prefix + "FlytOp" and
    // prefix + "FlytNed".
    TStaevneDataGrid(QWidget* parent, const QString& prefix);
    ~TStaevneDataGrid() override;

    // Shows the table's records anew, one row each (one empty row for none). Also after the lists were
    // read again: no row keeps a record it held before.
    void Bind(std::unique_ptr<TStaevneDataTabel> tabel);
    // The open cell and a new row in it go where leaving them would take them; false when refused.
    bool Commit();
    // The records in the rows' order.
    std::vector<TDataElement*> Records() const;
    // The codes of the rows in their order, new rows included.
    QStringList Koder() const;

    void FlytOpClick();
    void FlytNedClick();

    // The grid with its buttons below it.
    QWidget* const Panel;
    TExtStringGrid* const Grid;
    QPushButton* const FlytOp;
    QPushButton* const FlytNed;

private:
    TDataElement* Record(int row) const;
    void LeaveCell(int col, int row);
    // A new row that holds anything becomes a record.
    void LeaveRow(int row);
    void BeforeDelete(int row);
    // The records' sort codes after the rows' order, and "#" shown anew.
    void Nummerer();
    void Flyt(int by);

    std::unique_ptr<TStaevneDataTabel> tabel_;
    bool binding_ = false;
};
